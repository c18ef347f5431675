#include "settings/CIEConfig.h"

#include <cstdio>
#include <string>

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

bool IsFlagOption(platform::DWORD option) {
    return option == platform::INTERNET_PER_CONN_FLAGS || option == platform::INTERNET_PER_CONN_AUTODISCOVERY_FLAGS;
}

platform::InternetPerConnOption* FindOption(platform::InternetPerConnOptionList& list, platform::DWORD id) {
    for (auto& option : list.options) {
        if (option.dwOption == id) return &option;
    }
    return nullptr;
}

}  // namespace

CIEConfig::CIEConfig() { QueryIE(); }

CIEConfig::~CIEConfig() { Cleanup(); }

void CIEConfig::Cleanup() {
    m_OptionList = platform::InternetPerConnOptionList{};
    m_OptionList.options.resize(std::size(kSavedOptions));
}

void CIEConfig::QueryIE() {
    Cleanup();
    for (std::size_t i = 0; i < std::size(kSavedOptions); ++i) m_OptionList.options[i].dwOption = kSavedOptions[i];

    if (CAppliedMarks::IsApplied(kMark) && TakeKeptOptions()) {
        // The browser still points at the relay of a run that never put
        // its options back: those kept options are its own.
        SetOptions(m_OptionList);
        CAppliedMarks::SetApplied(kMark, false);
        return;
    }

    if (!platform::InternetQueryPerConnOptions(m_OptionList)) {
        std::printf("InternetQueryOption failed! (%d)\n", static_cast<int>(platform::InternetGetLastError()));
    }
    auto* flags = FindOption(m_OptionList, platform::INTERNET_PER_CONN_FLAGS);
    if (flags && (flags->dwValue & platform::PROXY_TYPE_PROXY) != 0) {
        flags->dwValue = 0;
        SetOptions(m_OptionList);
    }
}

bool CIEConfig::SetOptions(platform::InternetPerConnOptionList& list) {
    bool ok = true;
    if (!platform::InternetSetPerConnOptions(list)) {
        std::printf("InternetSetOption failed! (%d)\n", static_cast<int>(platform::InternetGetLastError()));
        ok = false;
    }
    if (!platform::InternetRefreshOptions()) {
        std::printf("InternetSetOption failed! (%d)\n", static_cast<int>(platform::InternetGetLastError()));
        ok = false;
    }
    return ok;
}

bool CIEConfig::SetToKV(eProxyType, const char* address, unsigned int port) {
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

    // Kept before the browser is changed, so that even a run that ends
    // before SetToIE leaves the way back.
    const bool wasApplied = CAppliedMarks::IsApplied(kMark);
    KeepOwnOptions();
    CAppliedMarks::SetApplied(kMark, true);
    const bool ok = SetOptions(list);
    if (!ok && !wasApplied) CAppliedMarks::SetApplied(kMark, false);
    return ok;
}

bool CIEConfig::SetToIE() {
    const bool ok = SetOptions(m_OptionList);
    if (ok) CAppliedMarks::SetApplied(kMark, false);
    return ok;
}

void CIEConfig::KeepOwnOptions() const {
    platform::RegKey key;
    if (key.Create(platform::HKEY_CURRENT_USER, KeptKey()) != platform::ERROR_SUCCESS) return;
    for (std::size_t i = 0; i < std::size(kSavedOptions) && i < m_OptionList.options.size(); ++i) {
        const auto& option = m_OptionList.options[i];
        if (IsFlagOption(option.dwOption)) key.SetDWORDValue(kKeptNames[i], option.dwValue);
        else if (option.text) key.SetStringValue(kKeptNames[i], *option.text);
        else key.DeleteValue(kKeptNames[i]);
    }
}

bool CIEConfig::TakeKeptOptions() {
    platform::RegKey key;
    if (key.Open(platform::HKEY_CURRENT_USER, KeptKey(), platform::KEY_READ) != platform::ERROR_SUCCESS) return false;
    platform::DWORD flags = 0;
    if (key.QueryDWORDValue("Flags", flags) != platform::ERROR_SUCCESS) return false;
    for (std::size_t i = 0; i < std::size(kSavedOptions); ++i) {
        auto& option = m_OptionList.options[i];
        if (IsFlagOption(option.dwOption)) {
            platform::DWORD value = 0;
            key.QueryDWORDValue(kKeptNames[i], value);
            option.dwValue = value;
        } else {
            std::string text;
            if (key.QueryStringValue(kKeptNames[i], text) == platform::ERROR_SUCCESS) option.text = text;
        }
    }
    return true;
}
