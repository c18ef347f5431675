// The response side of CFiltrationManager.

#include "relay/filter/CFiltrationManager.h"

#include <algorithm>

#include "relay/filter/FilterCounts.h"
#include "relay/filter/FilterText.h"

using filtertext::npos;

namespace {

constexpr std::string_view kScriptOpen = "<script";
constexpr std::string_view kScriptClose = "</script>";
constexpr std::string_view kPopUp = "window.open";
constexpr std::string_view kPopUpReplacement = "1;''.concat(";

}  // namespace

int CFiltrationManager::FilterResponse(char* text, int& length, CScriptFilterState& state) {
    const std::size_t size = filtertext::Visible(text, length).size();
    if (size == 0 || !mSettings.mInFiltration.getEnable()) return 1;
    if (IsScriptsBlocker() && !ForseEnableScript({text, size}, state)) BlockScriptsResponse(text, size, state);

    using Step = void (CFiltrationManager::*)(char*, std::size_t);
    struct ResponseStep {
        bool on;
        Step step;
    };
    const CAdvancedFiltration& advanced = mSettings.mAdvancedFiltration;
    const ResponseStep steps[] = {
        {IsPopUpBlocker() != 0, &CFiltrationManager::BlockPopUpsRequest},
        {IsPageTitleBlock() != 0, &CFiltrationManager::RemovePageTitleResponse},
        {advanced.mDisableTimerScripts != 0, &CFiltrationManager::DisableTimerBasedProcessingResponse},
        {advanced.mDisableWndCloseupEvents != 0, &CFiltrationManager::DisableWindowCloseupEventProcessingResponse},
        {advanced.mRemoveStatusModifier != 0, &CFiltrationManager::RemoveStatusBarModifiersResponse},
        {advanced.mRemoveContextMenu != 0, &CFiltrationManager::RemoveContextMenuDisablersResponse},
    };
    for (const ResponseStep& s : steps) {
        if (s.on) (this->*s.step)(text, size);
    }
    return 1;
}

bool CFiltrationManager::ForseEnableScript(std::string_view response, CScriptFilterState& state) const {
    constexpr std::string_view kLocation = "Location:";
    const std::size_t at = filtertext::Find(response, kLocation);
    const std::size_t lf = at == npos ? npos : response.find('\n', at);
    if (lf == npos) return state.mScriptExempt;
    const std::string_view value = response.substr(at + kLocation.size(), lf - at - kLocation.size());
    state.mScriptExempt = std::any_of(mAllowedScriptSites.begin(), mAllowedScriptSites.end(),
                                      [value](const std::string& site) { return filtertext::Find(value, site) != npos; });
    return state.mScriptExempt;
}

void CFiltrationManager::BlockScriptsResponse(char* text, std::size_t size, CScriptFilterState& state) {
    const std::string_view view(text, size);
    std::size_t open = filtertext::Find(view, kScriptOpen);
    std::size_t close = filtertext::Find(view, kScriptClose);
    if (close == npos) {
        if (open != npos) {
            state.mInsideScript = true;
            filtertext::Blank(text, size, open, size);
        } else if (state.mInsideScript) {
            filtertext::Blank(text, size, 0, size);
        }
        return;
    }
    // A close without an open before it ends a script that began earlier:
    // everything before it is script.
    while (close != npos) {
        state.mInsideScript = false;
        const std::size_t closeEnd = std::min(close + kScriptClose.size(), size);
        filtertext::Blank(text, size, open < close ? open : 0, closeEnd);
        open = filtertext::Find(view, kScriptOpen, closeEnd);
        close = filtertext::Find(view, kScriptClose, closeEnd);
    }
    if (open != npos) {
        state.mInsideScript = true;
        filtertext::Blank(text, size, open, size);
    }
}

void CFiltrationManager::BlockPopUpsRequest(char* text, std::size_t size) {
    const std::string_view view(text, size);
    int count = 0;
    for (std::size_t at = filtertext::Find(view, kPopUp); at != npos; ) {
        ++count;
        // The replacement is one character longer than the name: it takes
        // the character after it (normally the "("), never a byte past the
        // end.
        const std::size_t written = filtertext::Write(text, size, at, kPopUpReplacement);
        at = filtertext::Find(view, kPopUp, at + written);
    }
    filtercounts::Count(filtercounts::eBlocked::PopUps, count);
}

void CFiltrationManager::RemovePageTitleResponse(char* text, std::size_t size) {
    const std::string_view view(text, size);
    const std::size_t open = filtertext::Find(view, "<title");
    if (open == npos) return;
    const std::size_t gt = view.find('>', open);
    if (gt == npos) return;
    const std::size_t close = filtertext::Find(view, "</title>", gt + 1);
    if (close == npos) return;
    const std::size_t oldLength = close - (gt + 1);
    const std::string_view title = mSettings.mInFiltration.getBlockTitle();
    const std::size_t written = filtertext::Write(text, close, gt + 1, title.substr(0, oldLength));
    filtertext::Blank(text, close, gt + 1 + written, close);
}

void CFiltrationManager::DisableTimerBasedProcessingResponse(char* text, std::size_t size) {
    CommentResponse(text, size, "window.settimeout");
    CommentResponse(text, size, "window.setinterval");
}

void CFiltrationManager::DisableWindowCloseupEventProcessingResponse(char* text, std::size_t size) {
    CommentResponse(text, size, "window.onclose");
    CommentResponse(text, size, "window.onunload");
}

void CFiltrationManager::RemoveStatusBarModifiersResponse(char* text, std::size_t size) {
    const int count = CommentResponse(text, size, "window.status") + CommentResponse(text, size, "window.defaultstatus");
    filtercounts::Count(filtercounts::eBlocked::StatusBars, count);
}

void CFiltrationManager::RemoveContextMenuDisablersResponse(char* text, std::size_t size) {
    const int count = CommentResponse(text, size, "document.oncontextmenu") +
                      CommentResponse(text, size, "document.onmousedown");
    filtercounts::Count(filtercounts::eBlocked::ContextMenuDisablers, count);
}

int CFiltrationManager::CommentResponse(char* text, std::size_t size, std::string_view pattern) {
    return filtertext::CommentOut(text, size, pattern);
}

int CFiltrationManager::CopyPktForBigTitleToNewString(char* text, int size, int& titleStart, int& titleEnd) const {
    const std::string_view view = filtertext::Visible(text, size);
    if (titleStart < 0 || titleEnd < titleStart || static_cast<std::size_t>(titleEnd) > view.size()) return -1;
    const std::string_view title = mSettings.mInFiltration.getBlockTitle();
    std::string rebuilt(view.substr(0, static_cast<std::size_t>(titleStart)));
    rebuilt += title;
    rebuilt += view.substr(static_cast<std::size_t>(titleEnd));
    const std::size_t room = static_cast<std::size_t>(std::min(size, kWorkBufferSize));
    if (rebuilt.size() + 1 > room) return -1;
    std::copy(rebuilt.begin(), rebuilt.end(), text);
    text[rebuilt.size()] = '\0';
    titleEnd = titleStart + static_cast<int>(title.size());
    return static_cast<int>(rebuilt.size());
}
