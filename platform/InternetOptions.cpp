#include "platform/InternetOptions.h"

#include <atomic>
#include <string_view>

#include "platform/Registry.h"

namespace platform {

namespace {

constexpr std::string_view kConnections =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\Connections";
constexpr std::string_view kLan = "DefaultConnectionSettings";

thread_local DWORD t_lastError = 0;
std::atomic<unsigned> g_refreshes{0};

bool Fail(DWORD error) {
    t_lastError = error;
    return false;
}

std::string ConnectionKey(const InternetPerConnOptionList& list) {
    std::string key(kConnections);
    key += '\\';
    key += list.connection && !list.connection->empty() ? *list.connection : std::string(kLan);
    return key;
}

bool IsFlagOption(DWORD option) {
    return option == INTERNET_PER_CONN_FLAGS || option == INTERNET_PER_CONN_AUTODISCOVERY_FLAGS;
}

// The registry value behind an option; empty for an unknown option.
std::string_view ValueName(DWORD option) {
    switch (option) {
    case INTERNET_PER_CONN_FLAGS: return "Flags";
    case INTERNET_PER_CONN_PROXY_SERVER: return "ProxyServer";
    case INTERNET_PER_CONN_PROXY_BYPASS: return "ProxyBypass";
    case INTERNET_PER_CONN_AUTOCONFIG_URL: return "AutoConfigURL";
    case INTERNET_PER_CONN_AUTODISCOVERY_FLAGS: return "AutoDiscoveryFlags";
    default: return {};
    }
}

// Checks the header and every option id before anything is touched.
bool CheckList(InternetPerConnOptionList& list) {
    if (list.dwSize != INTERNET_PER_CONN_OPTION_LIST_SIZE) return Fail(ERROR_INVALID_PARAMETER);
    for (std::size_t i = 0; i < list.options.size(); ++i) {
        if (ValueName(list.options[i].dwOption).empty()) {
            list.dwOptionError = static_cast<DWORD>(i);
            return Fail(ERROR_INVALID_PARAMETER);
        }
    }
    return true;
}

}  // namespace

bool InternetQueryPerConnOptions(InternetPerConnOptionList& list) {
    if (!CheckList(list)) return false;
    RegKey key;
    const LONG opened = key.Open(HKEY_CURRENT_USER, ConnectionKey(list), KEY_READ);
    if (opened != ERROR_SUCCESS && opened != ERROR_FILE_NOT_FOUND) return Fail(static_cast<DWORD>(opened));
    for (InternetPerConnOption& option : list.options) {
        const std::string_view name = ValueName(option.dwOption);
        if (IsFlagOption(option.dwOption)) {
            DWORD value = option.dwOption == INTERNET_PER_CONN_FLAGS ? PROXY_TYPE_DIRECT : 0;
            if (key.IsOpen()) key.QueryDWORDValue(name, value);
            option.dwValue = value;
            option.text.reset();
            continue;
        }
        std::string text;
        if (key.IsOpen() && key.QueryStringValue(name, text) == ERROR_SUCCESS) option.text = text;
        else option.text.reset();
    }
    return true;
}

bool InternetSetPerConnOptions(InternetPerConnOptionList& list) {
    if (!CheckList(list)) return false;
    RegKey key;
    if (const LONG created = key.Create(HKEY_CURRENT_USER, ConnectionKey(list)); created != ERROR_SUCCESS) {
        return Fail(static_cast<DWORD>(created));
    }
    for (std::size_t i = 0; i < list.options.size(); ++i) {
        const InternetPerConnOption& option = list.options[i];
        const std::string_view name = ValueName(option.dwOption);
        LONG result = ERROR_SUCCESS;
        if (IsFlagOption(option.dwOption)) {
            result = key.SetDWORDValue(name, option.dwValue);
        } else if (option.text) {
            result = key.SetStringValue(name, *option.text);
        } else {
            result = key.DeleteValue(name);
            if (result == ERROR_FILE_NOT_FOUND) result = ERROR_SUCCESS;
        }
        if (result != ERROR_SUCCESS) {
            list.dwOptionError = static_cast<DWORD>(i);
            return Fail(static_cast<DWORD>(result));
        }
    }
    return true;
}

bool InternetRefreshOptions() {
    g_refreshes.fetch_add(1);
    return true;
}

DWORD InternetGetLastError() { return t_lastError; }

namespace internet_test {
unsigned RefreshCount() { return g_refreshes.load(); }
}  // namespace internet_test

}  // namespace platform
