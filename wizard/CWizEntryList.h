#pragma once
// The list of a page's list box with its Add, Edit and Remove buttons (the
// custom directories of page 150, the server stop list of page 215): which
// controls are enabled, and the rules that keep one line per entry. A new
// entry goes where the sorted list box puts it; an edited one stays at its
// line.

#include <string>
#include <vector>

namespace wizard {

class CWizEntryList {
public:
    struct SState {
        bool list = false;
        bool add = false;
        bool edit = false;
        bool remove = false;
    };

    // removeQuestion holds one %s for the line.
    explicit CWizEntryList(std::string removeQuestion) : removeQuestion_(std::move(removeQuestion)) {}

    void Load(const std::vector<std::string>& lines);
    const std::vector<std::string>& Lines() const { return lines_; }
    const SState& State() const { return state_; }
    void SetState(const SState& state) { state_ = state; }

    // The box that enables the group: checked enables the list and Add, and
    // Edit and Remove when the list has lines; cleared disables all four.
    void SetBoxChecked(bool checked);
    // True when a line of the list begins with text (case-insensitive).
    bool HasLineBeginningWith(const std::string& text) const;
    // Inserts text in sorted order unless a line begins with it; true when added.
    bool Append(const std::string& text);
    // Puts text in place of the line at index, unless it is empty or a line
    // begins with it; true when replaced.
    bool Replace(std::size_t index, const std::string& text);
    // Asks the remove question; on Yes deletes the line. Whatever the
    // answer, Edit and Remove are disabled afterwards.
    void AskRemove(std::size_t index);
    void EnableEditAndRemove();

    static std::string Trim(const std::string& text);

private:
    std::string removeQuestion_;
    std::vector<std::string> lines_;
    SState state_;
};

}  // namespace wizard
