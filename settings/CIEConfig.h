#pragma once
// The system browser's proxy options for the LAN connection
// (platform/InternetOptions.h), and with them the desktop's proxy setting
// (platform/DesktopProxy.h), which the desktop's browsers follow where it is
// installed.
//
// Pointing the browser at the relay first keeps its own options and the
// desktop's values in HKCU\Software\Kavelin Ver 2.0\Auto\BackUp\IE (the
// desktop's below it, in "Desktop") and marks the browser applied
// (CAppliedMarks), all in one registry save, and only then changes them.
// SetToIE puts exactly those back and removes the mark; a browser that is not
// marked is left as it is. A run that ended without SetToIE (a crash) leaves
// the mark: the next start keeps the kept values, and the next SetToIE puts
// them back. Making the object changes and reads nothing.

#include "common/eProxyType.h"
#include "platform/InternetOptions.h"

class CIEConfig {
public:
    CIEConfig();
    CIEConfig(const CIEConfig&) = default;
    CIEConfig& operator=(const CIEConfig&) = default;
    ~CIEConfig();

    // Points the browser (and the desktop's setting, for the listener type)
    // at address:port. False, with nothing changed, when the browser's own
    // options cannot be read or kept; false also when they cannot be set.
    bool SetToKV(eProxyType type, const char* address, unsigned int port);
    // Puts the browser's own options (and the desktop's values) back when it
    // is pointed at the relay. False when they cannot be set (the mark then
    // stays for the next try).
    bool SetToIE();
    // Forgets the saved options: an empty five-option list.
    void Cleanup();

private:
    bool QueryIE();
    bool SetOptions(platform::InternetPerConnOptionList& list);
    bool KeepOwnOptions() const;
    bool TakeKeptOptions();

    platform::InternetPerConnOptionList m_OptionList;
};
