#pragma once
// The Advanced Proxy Settings dialog (183): the chain length and the
// connection time-out. It opens with the proxy page's chain flag; OK stores
// the three values and saves the whole settings object at once; Cancel
// changes nothing, and the page keeps its own flag.

#include <string>

#include "settings/CSettings.h"

namespace wizard {

class CWizAdvProxyModel {
public:
    CWizAdvProxyModel(const CSettings& s, int pageChainFlag);

    // The box flips the flag; both edits follow it.
    void ToggleChain() { chainFlag_ = chainFlag_ ? 0 : 1; }
    bool ChainChecked() const { return chainFlag_ != 0; }
    bool EditsEnabled() const { return chainFlag_ != 0; }
    platform::DWORD ChainLength() const { return chainLength_; }
    platform::DWORD ChainTimer() const { return chainTimer_; }

    // Reads both edits (an invalid one keeps its number), stores the chain
    // length, the time-out and the flag, then writes every section to the
    // registry. Returns the flag the page takes.
    int Ok(CSettings& s, const std::string& lengthText, const std::string& timerText);

private:
    int chainFlag_;
    platform::DWORD chainLength_;
    platform::DWORD chainTimer_;
};

}  // namespace wizard
