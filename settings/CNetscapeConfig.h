#pragma once
// Netscape/Mozilla 7: the proxy lines of the user's prefs.js, found below
// [AppData]\Mozilla\Profiles\default; backup [backup folder]\prefs.js.

#include <string>

#include "common/eProxyType.h"
#include "settings/CCnfRegUtil.h"

class CNetscapeConfig : public CCnfRegUtil {
public:
    virtual ~CNetscapeConfig() = default;

    // Puts the proxy block in place of the first proxy line of prefs.js (or
    // at its end when it has none) and drops the other proxy lines; every
    // other byte stays. The file is replaced whole through a temporary file.
    // E_FAIL when Netscape is not installed; 1 when prefs.js is not found,
    // cannot be read or cannot be replaced (it is then untouched).
    long SetToKV(eProxyType type, const char* address, unsigned long port);
    // An exact copy of prefs.js (configfiles::BackUpFile) and its way back.
    // 1 when prefs.js is not found or either cannot be done.
    long Backup();
    long Restore();
    int IsInstalled();
    void SetBkupFileName();
    void SetJSFileName();

    // Appends the proxy block for the listener type to out, each line ended
    // by "\r\n".
    static void WriteProxyConfSection(std::string& out, eProxyType type, const char* address,
                                      unsigned long port);

private:
    std::string m_BkupFileName;
    std::string m_JSFileName;
};
