#pragma once
// The protection page (dialog 153): the outgoing protections and the two
// cookie boxes. "Disable all Cookies." is the outgoing filter's
// disable-cookies flag; "Disable Unsafe Cookies." and "Browser Shielding"
// have no field and are stored nowhere.

#include "settings/CSettings.h"
#include "wizard/CWizBoxPageModel.h"

namespace wizard {

class CWizProtectionModel : public CWizBoxPageModel {
public:
    CWizProtectionModel();
};

}  // namespace wizard
