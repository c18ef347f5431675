#pragma once
// The system-cleanup page (dialog 150): eight system-trace boxes stored in
// the cleanup section, and a list of custom directories that lives only as
// long as the page and is removed by Run Now.

#include <string>
#include <vector>

#include "settings/CSettings.h"
#include "wizard/CWizBoxPageModel.h"
#include "wizard/CWizCleaningRun.h"
#include "wizard/CWizEntryList.h"

namespace wizard {

class CWizSysCleanupModel : public CWizBoxPageModel {
public:
    CWizSysCleanupModel();

    // Box 1040 ("Custom Directories.").
    void SetCustomBox(bool checked);
    bool CustomBox() const { return customBox_; }
    CWizEntryList& Directories() { return directories_; }

    // Add with the text the add dialog gave: trimmed; a text that is not
    // empty enables Edit and Remove, then must not hold the root's own
    // folders, must name something that exists ("Invalid Directory"
    // otherwise) and is appended unless a line begins with it. True when
    // appended.
    bool AddDirectory(const std::string& text);
    // Edit with the dialog's text: no trimming and no existence test; the
    // root's own folders are refused as by Add.
    bool EditDirectory(std::size_t index, const std::string& text);
    void RemoveDirectory(std::size_t index) { directories_.AskRemove(index); }
    // The list's selection changed.
    void SelectionChanged(bool hasSelection);

    // The checked operations, then, with box 1040 checked, every listed
    // directory removed silently.
    void RunNow(CTraceSweeper& sweeper, ICleaningStatus& status) const;

    static const SCleaningPlan& Plan();

private:
    // Run Now removes the listed directories whole: one that holds the
    // root's registry/ or program/ folder is refused with a message.
    static bool RefuseRootFolders(const std::string& directory);

    bool customBox_ = false;
    CWizEntryList directories_;
};

}  // namespace wizard
