#pragma once
// The proxy page (dialog 181): whether the relay connects through a proxy
// chain and on which port it listens. The chain box starts cleared whatever
// is stored; the listener port is stored on every Next and Back.

#include <string>

#include "settings/CSettings.h"

namespace wizard {

class CWizProxyModel {
public:
    // Which controls can be used; at start as the page's template has them.
    struct SEnabled {
        bool port = false;
        bool radios = false;
        bool updateEvery = true;
        bool interval = true;
        bool updateAtStartup = true;
        bool how = true;
        bool advanced = false;
    };

    void Load(const CSettings& s);
    // Reads portText as a whole number from 1 to 65535 (other text brings
    // the integer or the range message and keeps the last number), then the
    // chain flag and the port into the privacy section. Writes nothing to
    // the registry.
    void Store(CSettings& s, const std::string& portText);

    void SetChainBox(bool checked);
    void ChooseOneProxy();
    void ChooseMultipleProxies();
    void SetUpdateEvery(bool checked);
    void SetUpdateAtStartup(bool checked);
    // What the advanced dialog gave back on OK.
    void TakeChainFlag(int chainFlag);

    int ChainFlag() const { return chainFlag_; }
    bool ChainBox() const { return chainBox_; }
    bool SingleProxy() const { return singleProxy_; }
    bool UpdateEvery() const { return updateEvery_; }
    bool UpdateAtStartup() const { return updateAtStartup_; }
    platform::DWORD Port() const { return port_; }
    const SEnabled& Enabled() const { return enabled_; }

    // The data exchange of a whole-number edit: surrounding blanks and one
    // sign allowed, the value must fit an int.
    static bool ParseInteger(const std::string& text, long& value);
    // ParseInteger within min..max, or false after "Please enter an
    // integer." or, for a number outside the range, "Please enter an
    // integer between <min> and <max>.".
    static bool ReadInteger(const std::string& text, platform::DWORD& number, long min, long max);

    static constexpr long kMinPort = 1;
    static constexpr long kMaxPort = 65535;

private:
    void FollowChainBox();

    int chainFlag_ = 0;
    bool chainBox_ = false;
    bool singleProxy_ = true;
    bool updateEvery_ = true;
    bool updateAtStartup_ = false;
    platform::DWORD port_ = 0;
    SEnabled enabled_;
};

}  // namespace wizard
