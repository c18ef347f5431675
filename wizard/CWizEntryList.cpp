#include "wizard/CWizEntryList.h"

#include <algorithm>
#include <cctype>

#include "platform/MessageBox.h"
#include "wizard/WizTexts.h"

namespace wizard {
namespace {

char Lower(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }

bool LessNoCase(const std::string& a, const std::string& b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [](char x, char y) { return Lower(x) < Lower(y); });
}

std::string Format(const std::string& pattern, const std::string& line) {
    const auto at = pattern.find("%s");
    if (at == std::string::npos) return pattern;
    return pattern.substr(0, at) + line + pattern.substr(at + 2);
}

}  // namespace

void CWizEntryList::Load(const std::vector<std::string>& lines) {
    lines_.clear();
    for (const std::string& line : lines) {
        lines_.insert(std::upper_bound(lines_.begin(), lines_.end(), line, LessNoCase), line);
    }
}

void CWizEntryList::SetBoxChecked(bool checked) {
    const bool lines = checked && !lines_.empty();
    state_ = {.list = checked, .add = checked, .edit = lines, .remove = lines};
}

bool CWizEntryList::HasLineBeginningWith(const std::string& text) const {
    return std::any_of(lines_.begin(), lines_.end(), [&](const std::string& line) {
        return line.size() >= text.size() &&
               std::equal(text.begin(), text.end(), line.begin(), [](char a, char b) { return Lower(a) == Lower(b); });
    });
}

bool CWizEntryList::Append(const std::string& text) {
    if (HasLineBeginningWith(text)) return false;
    lines_.insert(std::upper_bound(lines_.begin(), lines_.end(), text, LessNoCase), text);
    return true;
}

bool CWizEntryList::Replace(std::size_t index, const std::string& text) {
    if (index >= lines_.size() || text.empty() || HasLineBeginningWith(text)) return false;
    lines_[index] = text;
    return true;
}

void CWizEntryList::AskRemove(std::size_t index) {
    if (index >= lines_.size()) return;
    if (platform::MessageBox(nullptr, Format(removeQuestion_, lines_[index]), text::kCaption,
                             platform::MB_YESNO | platform::MB_ICONQUESTION) == platform::IDYES) {
        lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(index));
    }
    state_.edit = false;
    state_.remove = false;
}

void CWizEntryList::EnableEditAndRemove() {
    state_.edit = true;
    state_.remove = true;
}

std::string CWizEntryList::Trim(const std::string& text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

}  // namespace wizard
