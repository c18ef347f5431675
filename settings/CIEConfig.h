#pragma once
// The system browser's proxy options for the LAN connection
// (platform/InternetOptions.h). The browser's own options are taken when the
// object is made and put back by SetToIE.
//
// While the browser is pointed at the relay, its own options are also kept
// in HKCU\Software\Kavelin Ver 2.0\Auto\BackUp\IE and the program is marked
// applied (CAppliedMarks): a configurator made while that mark stands (after
// a run that never restored) takes the kept options as the browser's own and
// puts them back at once, instead of taking the relay's.

#include "common/eProxyType.h"
#include "platform/InternetOptions.h"

class CIEConfig {
public:
    CIEConfig();
    CIEConfig(const CIEConfig&) = default;
    CIEConfig& operator=(const CIEConfig&) = default;
    ~CIEConfig();

    // Points the browser at address:port (the type is not used: only HTTP and
    // general listeners get here). False when the options cannot be set.
    bool SetToKV(eProxyType type, const char* address, unsigned int port);
    // Puts the options taken at construction back. False when they cannot
    // be set.
    bool SetToIE();
    // Forgets the saved options: an empty five-option list.
    void Cleanup();

private:
    void QueryIE();
    bool SetOptions(platform::InternetPerConnOptionList& list);
    void KeepOwnOptions() const;
    bool TakeKeptOptions();

    platform::InternetPerConnOptionList m_OptionList;
};
