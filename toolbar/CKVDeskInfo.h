#pragma once
// The control panel program as the toolbar knows it, and which switches the
// toolbar offers.

#include <string>

class CKVDeskInfo {
public:
    std::string mFileName = "KVDesk";
    std::string mSlashFileName = "/KVDesk";
    bool mEnableFilterSwitches = true;
    bool mEnablePrivacySwitch = true;
};
