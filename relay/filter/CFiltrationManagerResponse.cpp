// The response side of CFiltrationManager: one pass over a body, each
// marker handled by its step, state carried from one piece to the next.

#include "relay/filter/CFiltrationManager.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "relay/engine/HttpHeadFields.h"
#include "relay/filter/CProbeScan.h"
#include "relay/filter/FilterCounts.h"
#include "relay/filter/FilterText.h"

using filtertext::npos;

namespace {

using eBody = CScriptFilterState::eBody;

constexpr std::string_view kScriptOpen = "<script";
constexpr std::string_view kScriptClose = "</script>";
constexpr std::string_view kTitleOpen = "<title";
constexpr std::string_view kTitleClose = "</title>";
constexpr std::string_view kPopUpReplacement = "1;''.concat(";
// A title whose close ends further than this from its open stays as it is
// (so a page without a close is never held back whole).
constexpr std::size_t kMaxTitleSpan = 8192;

// The steps a marker starts, each switched by its own flag.
enum class eStep {
    BlockScripts,
    RemovePageTitle,
    BlockPopUps,
    DisableTimerBasedProcessing,
    DisableWindowCloseupEventProcessing,
    RemoveStatusBarModifiers,
    RemoveContextMenuDisablers,
};

enum class eMark { ScriptOpen, ScriptClose, Title, PopUp, Statement };

struct Marker {
    std::string_view text;  // lower case
    eMark mark;
    eStep step;
};

constexpr Marker kMarkers[] = {
    {kScriptOpen, eMark::ScriptOpen, eStep::BlockScripts},
    {kScriptClose, eMark::ScriptClose, eStep::BlockScripts},
    {kTitleOpen, eMark::Title, eStep::RemovePageTitle},
    {"window.open", eMark::PopUp, eStep::BlockPopUps},
    {"window.settimeout", eMark::Statement, eStep::DisableTimerBasedProcessing},
    {"window.setinterval", eMark::Statement, eStep::DisableTimerBasedProcessing},
    {"window.onclose", eMark::Statement, eStep::DisableWindowCloseupEventProcessing},
    {"window.onunload", eMark::Statement, eStep::DisableWindowCloseupEventProcessing},
    {"window.status", eMark::Statement, eStep::RemoveStatusBarModifiers},
    {"window.defaultstatus", eMark::Statement, eStep::RemoveStatusBarModifiers},
    {"document.oncontextmenu", eMark::Statement, eStep::RemoveContextMenuDisablers},
    {"document.onmousedown", eMark::Statement, eStep::RemoveContextMenuDisablers},
};

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// text begins with lower, a lower-case marker, in any case.
bool EqualsLowered(const char* text, std::string_view lower) {
    for (std::size_t i = 0; i < lower.size(); ++i) {
        if (Lower(text[i]) != lower[i]) return false;
    }
    return true;
}

constexpr std::size_t LongestMarker() {
    std::size_t longest = 0;
    for (const Marker& m : kMarkers) longest = std::max(longest, m.text.size());
    return longest;
}
constexpr std::size_t kLongestMarker = LongestMarker();

// How many probes the markers make (their first bytes, told apart).
constexpr std::size_t DistinctProbes() {
    std::size_t distinct = 0;
    for (std::size_t i = 0; i < std::size(kMarkers); ++i) {
        bool seen = false;
        for (std::size_t j = 0; j < i; ++j) {
            seen = seen || kMarkers[j].text.substr(0, CProbeScan::kProbeSize) ==
                               kMarkers[i].text.substr(0, CProbeScan::kProbeSize);
        }
        if (!seen) ++distinct;
    }
    return distinct;
}
static_assert(DistinctProbes() <= CProbeScan::kMostProbes);
static_assert(std::all_of(std::begin(kMarkers), std::end(kMarkers),
                          [](const Marker& m) { return m.text.size() >= CProbeScan::kProbeSize; }));

// How many bytes at the end of text begin pattern (fewer than all of it).
std::size_t PartialTail(std::string_view text, std::string_view pattern) {
    for (std::size_t k = std::min(text.size(), pattern.size() - 1); k > 0; --k) {
        if (httphead::EqualNoCase(text.substr(text.size() - k), pattern.substr(0, k))) return k;
    }
    return 0;
}

std::string_view MediaType(std::string_view contentType) {
    std::string_view type = contentType.substr(0, contentType.find(';'));
    while (!type.empty() && (type.back() == ' ' || type.back() == '\t')) type.remove_suffix(1);
    return type;
}

}  // namespace

bool CFiltrationManager::StepOn(int step, const CScriptFilterState& state) const {
    const CAdvancedFiltration& advanced = mSettings.mAdvancedFiltration;
    const bool page = state.mBody == eBody::Html;
    switch (static_cast<eStep>(step)) {
    case eStep::BlockScripts:
        return page && IsScriptsBlocker() && !state.mScriptExempt;
    case eStep::RemovePageTitle:
        return page && IsPageTitleBlock() && !state.mTitleDone;
    case eStep::BlockPopUps:
        return IsPopUpBlocker() != 0;
    case eStep::DisableTimerBasedProcessing:
        return advanced.mDisableTimerScripts != 0;
    case eStep::DisableWindowCloseupEventProcessing:
        return advanced.mDisableWndCloseupEvents != 0;
    case eStep::RemoveStatusBarModifiers:
        return advanced.mRemoveStatusModifier != 0;
    case eStep::RemoveContextMenuDisablers:
        return advanced.mRemoveContextMenu != 0;
    }
    return false;
}

bool CFiltrationManager::FilterResponseHead(std::string_view head, CScriptFilterState& state) {
    if (!mSettings.mInFiltration.getEnable()) return false;
    ForseEnableScript(head, state);
    const std::optional<std::string_view> type = httphead::FieldValue(head, "content-type");
    if (!type) return false;
    const std::string_view media = MediaType(*type);
    constexpr std::string_view kPages[] = {"text/html", "application/xhtml+xml"};
    constexpr std::string_view kScripts[] = {"application/javascript", "text/javascript", "application/x-javascript",
                                             "application/ecmascript", "text/ecmascript", "text/jscript"};
    const auto named = [media](std::string_view t) { return httphead::EqualNoCase(media, t); };
    if (std::any_of(std::begin(kPages), std::end(kPages), named)) {
        state.StartBody(eBody::Html);
    } else if (std::any_of(std::begin(kScripts), std::end(kScripts), named)) {
        state.StartBody(eBody::Script);
    } else {
        return false;
    }
    return std::any_of(std::begin(kMarkers), std::end(kMarkers),
                       [&](const Marker& m) { return StepOn(static_cast<int>(m.step), state); });
}

int CFiltrationManager::FilterResponse(char* text, int& length, CScriptFilterState& state, bool last) {
    if (!text || length <= 0 || !mSettings.mInFiltration.getEnable() || state.mBinary) return 1;
    const std::size_t size = static_cast<std::size_t>(length);
    const void* nul = std::memchr(text, '\0', size);
    if (nul) {
        // Not text after all: what comes before the NUL is decided, the rest
        // of the body passes.
        ScanBody(text, static_cast<std::size_t>(static_cast<const char*>(nul) - text), true, state);
        state.mBinary = true;
        return 1;
    }
    length = static_cast<int>(ScanBody(text, size, last, state));
    return 1;
}

std::size_t CFiltrationManager::ScanBody(char* text, std::size_t size, bool last, CScriptFilterState& state) {
    const std::string_view view(text, size);
    // The active markers, and their first bytes as probes: the body is
    // walked once, sixteen bytes at a time, and only the places where a
    // probe stands are compared in full.
    std::array<const Marker*, std::size(kMarkers)> active{};
    std::size_t count = 0;
    CProbeScan probes;
    const auto refresh = [&] {
        count = 0;
        probes.Clear();
        for (const Marker& m : kMarkers) {
            if (!StepOn(static_cast<int>(m.step), state)) continue;
            active[count++] = &m;
            probes.Add(m.text);
        }
    };
    refresh();
    // The marker that begins at at; partial when one may begin there but
    // the piece ends before it is whole.
    const auto matchAt = [&](std::size_t at, bool& partial) -> const Marker* {
        partial = false;
        const std::size_t rest = size - at;
        const char first = Lower(text[at]);
        const char second = rest > 1 ? Lower(text[at + 1]) : '\0';
        for (std::size_t i = 0; i < count; ++i) {
            const std::string_view m = active[i]->text;
            // Most candidates differ in their first two bytes.
            if (m[0] != first || (rest > 1 && m[1] != second)) continue;
            if (rest >= m.size()) {
                if (EqualsLowered(text + at, m)) return active[i];
            } else if (!last && EqualsLowered(text + at, m.substr(0, rest))) {
                partial = true;
            }
        }
        return nullptr;
    };
    // The first place at or after from, near the end, where a marker may
    // begin that this piece cuts short.
    const auto firstPartial = [&](std::size_t from) {
        if (last) return npos;
        for (std::size_t at = std::max(from, size > kLongestMarker ? size - kLongestMarker : 0); at < size; ++at) {
            bool partial = false;
            if (!matchAt(at, partial) && partial) return at;
        }
        return npos;
    };
    int popUps = 0;
    int statusBars = 0;
    int contextMenus = 0;
    std::size_t pos = 0;
    std::size_t decided = size;
    while (pos < size) {
        if (state.mInsideScript) {
            pos = BlockScriptsResponse(text, size, pos, last, state);
            if (state.mInsideScript) {
                decided = pos;
                break;
            }
            continue;
        }
        if (state.mCommenting) {
            pos = CommentResponse(text, size, pos, state);
            continue;
        }
        // The next place a marker may begin.
        const std::size_t at = probes.Next(view, pos);
        if (at == npos || at + kLongestMarker >= size) {
            const std::size_t cut = firstPartial(pos);
            if (cut < at) {
                decided = cut;
                break;
            }
        }
        if (at == npos) break;
        bool partial = false;
        const Marker* found = matchAt(at, partial);
        if (partial) {
            decided = at;
            break;
        }
        if (!found) {
            pos = at + 1;
            continue;
        }
        std::size_t next = at + found->text.size();
        switch (found->mark) {
        case eMark::ScriptOpen:
            state.mInsideScript = true;
            next = at;
            break;
        case eMark::ScriptClose:
            // A close without an open is no script: only the tag goes.
            filtertext::Blank(text, size, at, next);
            break;
        case eMark::Title:
            next = RemovePageTitleResponse(text, size, at, last, state);
            refresh();
            break;
        case eMark::PopUp:
            next = BlockPopUpsRequest(text, size, at, last);
            if (next != npos) ++popUps;
            break;
        case eMark::Statement:
            filtertext::Blank(text, size, at, next);
            state.mCommenting = true;
            if (found->step == eStep::RemoveStatusBarModifiers) ++statusBars;
            if (found->step == eStep::RemoveContextMenuDisablers) ++contextMenus;
            break;
        }
        if (next == npos) {
            decided = at;
            break;
        }
        pos = next;
    }
    filtercounts::Count(filtercounts::eBlocked::PopUps, popUps);
    filtercounts::Count(filtercounts::eBlocked::StatusBars, statusBars);
    filtercounts::Count(filtercounts::eBlocked::ContextMenuDisablers, contextMenus);
    return decided;
}

bool CFiltrationManager::ForseEnableScript(std::string_view head, CScriptFilterState& state) const {
    const std::optional<std::string_view> location = httphead::FieldValue(head, "location");
    if (!location) return state.mScriptExempt;
    const std::string_view value = *location;
    state.mScriptExempt = std::any_of(mAllowedScriptSites.begin(), mAllowedScriptSites.end(),
                                      [value](const std::string& site) { return filtertext::Find(value, site) != npos; });
    return state.mScriptExempt;
}

std::size_t CFiltrationManager::BlockScriptsResponse(char* text, std::size_t size, std::size_t from, bool last,
                                                     CScriptFilterState& state) {
    const std::string_view view(text, size);
    const std::size_t close = filtertext::Find(view, kScriptClose, from);
    if (close != npos) {
        const std::size_t end = close + kScriptClose.size();
        filtertext::Blank(text, size, from, end);
        state.mInsideScript = false;
        return end;
    }
    // Still inside; a close may be starting at the end.
    const std::size_t until = last ? size : size - PartialTail(view.substr(from), kScriptClose);
    filtertext::Blank(text, size, from, until);
    return until;
}

std::size_t CFiltrationManager::BlockPopUpsRequest(char* text, std::size_t size, std::size_t at, bool last) {
    // The replacement is one character longer than the name: it takes the
    // character after it (normally the "("), never a byte past the end.
    if (size - at < kPopUpReplacement.size() && !last) return npos;
    return at + filtertext::Write(text, size, at, kPopUpReplacement);
}

std::size_t CFiltrationManager::RemovePageTitleResponse(char* text, std::size_t size, std::size_t at, bool last,
                                                        CScriptFilterState& state) {
    const std::string_view view(text, size);
    const std::size_t span = std::min(size, at + kMaxTitleSpan);
    const std::size_t gt = view.substr(0, span).find('>', at);
    const std::size_t close = gt == npos ? npos : filtertext::Find(view.substr(0, span), kTitleClose, gt + 1);
    if (close == npos) {
        if (!last && size - at < kMaxTitleSpan) return npos;
        // No close near enough: the title stays.
        state.mTitleDone = true;
        return at + kTitleOpen.size();
    }
    // The replacement from the old title's start: cut to its length, or
    // padded with blanks to the close.
    const std::string_view title = mSettings.mInFiltration.getBlockTitle();
    const std::size_t written = filtertext::Write(text, close, gt + 1, title.substr(0, close - (gt + 1)));
    filtertext::Blank(text, close, gt + 1 + written, close);
    state.mTitleDone = true;
    return close + kTitleClose.size();
}

std::size_t CFiltrationManager::CommentResponse(char* text, std::size_t size, std::size_t from,
                                                CScriptFilterState& state) {
    const void* semicolon = std::memchr(text + from, ';', size - from);
    const std::size_t end = semicolon ? static_cast<std::size_t>(static_cast<const char*>(semicolon) - text) + 1 : size;
    filtertext::Blank(text, size, from, end);
    if (semicolon) state.mCommenting = false;
    return end;
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
