#pragma once
// The stop-list page (dialog 215): the outgoing filter's server stop list,
// and the custom server list of a hidden group, which the page only carries
// through unchanged.

#include <string>
#include <vector>

#include "settings/CSettings.h"
#include "wizard/CWizEntryList.h"

namespace wizard {

class CWizStopListModel {
public:
    // "Server Stop List." checked: the list and Add enabled, Edit and
    // Remove not.
    CWizStopListModel();

    void Load(const CSettings& s);
    // Both lists in list order; an empty list stores an empty array.
    void Store(CSettings& s) const;

    void SetStopListBox(bool checked);
    bool StopListBox() const { return stopListBox_; }
    CWizEntryList& Servers() { return servers_; }
    const std::vector<std::string>& CustomLines() const { return custom_; }

    // Add with the add dialog's text: trimmed; one that is not empty enables
    // Edit and Remove and is appended unless a line begins with it.
    bool AddServer(const std::string& text);
    bool EditServer(std::size_t index, const std::string& text) { return servers_.Replace(index, text); }
    void RemoveServer(std::size_t index) { servers_.AskRemove(index); }

private:
    bool stopListBox_ = true;
    CWizEntryList servers_;
    std::vector<std::string> custom_;
};

}  // namespace wizard
