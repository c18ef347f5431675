#pragma once
// The protection page (dialog 153): the outgoing protections and the two
// cookie boxes. "Disable all Cookies." is the outgoing filter's
// disable-cookies flag; "Disable Unsafe Cookies." and "Browser Shielding"
// have no field and are stored nowhere.

#include "settings/CSettings.h"
#include "wizard/CWizBoxTable.h"

namespace wizard {

class CWizProtectionModel {
public:
    CWizProtectionModel();

    void Load(const CSettings& s) { boxes_.Load(s); }
    void Store(CSettings& s) const { boxes_.Store(s); }
    CWizBoxTable& Boxes() { return boxes_; }
    const CWizBoxTable& Boxes() const { return boxes_; }

private:
    CWizBoxTable boxes_;
};

}  // namespace wizard
