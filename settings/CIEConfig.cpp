#include "settings/CIEConfig.h"

#include <cstdio>
#include <optional>
#include <string>

#include "platform/DesktopProxy.h"
#include "platform/Registry.h"
#include "settings/CAppliedMarks.h"
#include "settings/ConfigKeys.h"

namespace {

constexpr const char* kMark = "IE";

// The saved list's options, in the order they are queried and set again.
constexpr platform::DWORD kSavedOptions[] = {
    platform::INTERNET_PER_CONN_AUTOCONFIG_URL,
    platform::INTERNET_PER_CONN_AUTODISCOVERY_FLAGS,
    platform::INTERNET_PER_CONN_FLAGS,
    platform::INTERNET_PER_CONN_PROXY_BYPASS,
    platform::INTERNET_PER_CONN_PROXY_SERVER,
};

// Value names of the kept options, one per entry of kSavedOptions.
constexpr const char* kKeptNames[] = {"AutoConfigURL", "AutoDiscoveryFlags", "Flags", "ProxyBypass", "ProxyServer"};

std::string KeptKey() { return std::string(configkeys::kBackUp) + "\\IE"; }
// The desktop's values, one REG_SZ per key holding the user's value
// (missing: the key follows its default); the key is there only when the
// desktop's setting was kept.
std::string DesktopKey() { return KeptKey() + "\\Desktop"; }

bool Ok(platform::LONG result) { return result == platform::ERROR_SUCCESS; }

bool IsFlagOption(platform::DWORD option) {
    return option == platform::INTERNET_PER_CONN_FLAGS || option == platform::INTERNET_PER_CONN_AUTODISCOVERY_FLAGS;
}

platform::DesktopProxyProtocols ProtocolsOf(eProxyType type) {
    switch (type) {
    case PROXY_TYPE_SOCKS4:
    case PROXY_TYPE_SOCKS5: return platform::DesktopProxyProtocols::Socks;
    case PROXY_TYPE_GENERAL: return platform::DesktopProxyProtocols::All;
    default: return platform::DesktopProxyProtocols::Http;
    }
}

// Keeps the desktop's values, or notes that there is no such setting here.
bool KeepDesktop() {
    platform::RegKey kept;
    if (!Ok(kept.Create(platform::HKEY_CURRENT_USER, KeptKey()))) return false;
    const platform::LONG removed = kept.RecurseDeleteKey("Desktop");
    if (!Ok(removed) && removed != platform::ERROR_FILE_NOT_FOUND) return false;
    const auto values = platform::ReadDesktopProxy();
    if (!values) return true;
    platform::RegKey desktop;
    if (!Ok(desktop.Create(platform::HKEY_CURRENT_USER, DesktopKey()))) return false;
    for (const platform::DesktopProxyValue& value : *values) {
        if (value.text && !Ok(desktop.SetStringValue(value.key, *value.text))) return false;
    }
    return true;
}

// The kept desktop values; nothing when none were kept.
std::optional<platform::DesktopProxyValues> KeptDesktop() {
    platform::RegKey desktop;
    if (!Ok(desktop.Open(platform::HKEY_CURRENT_USER, DesktopKey(), platform::KEY_READ))) return std::nullopt;
    // Every key the relay may change is given back: the kept value, or its
    // default where the user had none.
    auto values = platform::ReadDesktopProxy();
    if (!values) return std::nullopt;
    for (platform::DesktopProxyValue& value : *values) {
        std::string text;
        if (Ok(desktop.QueryStringValue(value.key, text))) value.text = text;
        else value.text.reset();
    }
    return values;
}

}  // namespace

CIEConfig::CIEConfig() { Cleanup(); }

CIEConfig::~CIEConfig() { Cleanup(); }

void CIEConfig::Cleanup() {
    m_OptionList = platform::InternetPerConnOptionList{};
    m_OptionList.options.resize(std::size(kSavedOptions));
    for (std::size_t i = 0; i < std::size(kSavedOptions); ++i) m_OptionList.options[i].dwOption = kSavedOptions[i];
}

bool CIEConfig::QueryIE() {
    Cleanup();
    if (!platform::InternetQueryPerConnOptions(m_OptionList)) {
        std::printf("InternetQueryOption failed! (%d)\n", static_cast<int>(platform::InternetGetLastError()));
        return false;
    }
    return true;
}

bool CIEConfig::SetOptions(platform::InternetPerConnOptionList& list) {
    bool ok = true;
    {
        // The options change in one registry save.
        platform::RegistryBatch batch;
        ok = platform::InternetSetPerConnOptions(list);
        ok = Ok(batch.Commit()) && ok;
    }
    if (!ok) std::printf("InternetSetOption failed! (%d)\n", static_cast<int>(platform::InternetGetLastError()));
    if (!platform::InternetRefreshOptions()) {
        std::printf("InternetSetOption failed! (%d)\n", static_cast<int>(platform::InternetGetLastError()));
        ok = false;
    }
    return ok;
}

bool CIEConfig::SetToKV(eProxyType type, const char* address, unsigned int port) {
    if (!CAppliedMarks::IsApplied(kMark)) {
        // The way back is stored before anything changes: the browser's own
        // options as they are now, the desktop's values and the mark, in one
        // save.
        platform::RegistryBatch batch;
        const bool kept = QueryIE() && KeepOwnOptions() && KeepDesktop() && CAppliedMarks::SetApplied(kMark, true);
        if (!Ok(batch.Commit()) || !kept) return false;
    }

    platform::InternetPerConnOptionList list;
    list.options.resize(4);
    list.options[0].dwOption = platform::INTERNET_PER_CONN_PROXY_SERVER;
    list.options[0].text = std::string(address ? address : "") + ":" + std::to_string(port);
    list.options[1].dwOption = platform::INTERNET_PER_CONN_FLAGS;
    list.options[1].dwValue = platform::PROXY_TYPE_AUTO_DETECT;
    list.options[2].dwOption = platform::INTERNET_PER_CONN_FLAGS;
    list.options[2].dwValue = platform::PROXY_TYPE_PROXY;
    list.options[3].dwOption = platform::INTERNET_PER_CONN_PROXY_BYPASS;
    list.options[3].text = std::string();
    bool ok = SetOptions(list);
    if (platform::DesktopProxyAvailable()) {
        ok = platform::PointDesktopProxy(ProtocolsOf(type), address ? address : "", port) && ok;
    }
    return ok;
}

bool CIEConfig::SetToIE() {
    if (!CAppliedMarks::IsApplied(kMark)) return true;
    if (!TakeKeptOptions()) {
        // Marked without kept options: nothing of the user's to give back.
        return CAppliedMarks::SetApplied(kMark, false);
    }
    bool ok = SetOptions(m_OptionList);
    // Without the desktop's setting here (any more), there is nothing of it
    // to put back.
    if (const auto desktop = KeptDesktop()) ok = platform::WriteDesktopProxy(*desktop) && ok;
    return ok && CAppliedMarks::SetApplied(kMark, false);
}

bool CIEConfig::KeepOwnOptions() const {
    platform::RegKey key;
    if (!Ok(key.Create(platform::HKEY_CURRENT_USER, KeptKey()))) return false;
    for (std::size_t i = 0; i < std::size(kSavedOptions) && i < m_OptionList.options.size(); ++i) {
        const auto& option = m_OptionList.options[i];
        platform::LONG result = platform::ERROR_SUCCESS;
        if (IsFlagOption(option.dwOption)) {
            result = key.SetDWORDValue(kKeptNames[i], option.dwValue);
        } else if (option.text) {
            result = key.SetStringValue(kKeptNames[i], *option.text);
        } else if (result = key.DeleteValue(kKeptNames[i]); result == platform::ERROR_FILE_NOT_FOUND) {
            result = platform::ERROR_SUCCESS;
        }
        if (!Ok(result)) return false;
    }
    return true;
}

bool CIEConfig::TakeKeptOptions() {
    platform::RegKey key;
    if (!Ok(key.Open(platform::HKEY_CURRENT_USER, KeptKey(), platform::KEY_READ))) return false;
    platform::DWORD flags = 0;
    if (!Ok(key.QueryDWORDValue("Flags", flags))) return false;
    Cleanup();
    for (std::size_t i = 0; i < std::size(kSavedOptions); ++i) {
        auto& option = m_OptionList.options[i];
        if (IsFlagOption(option.dwOption)) {
            platform::DWORD value = 0;
            key.QueryDWORDValue(kKeptNames[i], value);
            option.dwValue = value;
        } else {
            std::string text;
            if (Ok(key.QueryStringValue(kKeptNames[i], text))) option.text = text;
        }
    }
    return true;
}
