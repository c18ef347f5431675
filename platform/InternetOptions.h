#pragma once
// The system browser's per-connection proxy options (the WinINet
// INTERNET_OPTION_PER_CONNECTION_OPTION set), kept in the per-user
// registry so that the browser stand-in, the control panel and the tests
// share them:
//
//   the LAN connection:        HKCU ...\Internet Settings\Connections\DefaultConnectionSettings
//   a named (dial-up) one:     HKCU ...\Internet Settings\Connections\<name>
//
// where "..." is Software\Microsoft\Windows\CurrentVersion, with the
// values "Flags" and "AutoDiscoveryFlags" (REG_DWORD) and "ProxyServer",
// "ProxyBypass" and "AutoConfigURL" (REG_SZ; a null text is an absent
// value). A connection without "Flags" is direct.

#include <optional>
#include <string>
#include <vector>

#include "platform/Types.h"

namespace platform {

inline constexpr DWORD INTERNET_OPTION_REFRESH = 37;
inline constexpr DWORD INTERNET_OPTION_PER_CONNECTION_OPTION = 75;

inline constexpr DWORD INTERNET_PER_CONN_FLAGS = 1;
inline constexpr DWORD INTERNET_PER_CONN_PROXY_SERVER = 2;
inline constexpr DWORD INTERNET_PER_CONN_PROXY_BYPASS = 3;
inline constexpr DWORD INTERNET_PER_CONN_AUTOCONFIG_URL = 4;
inline constexpr DWORD INTERNET_PER_CONN_AUTODISCOVERY_FLAGS = 5;

inline constexpr DWORD PROXY_TYPE_DIRECT = 1;
inline constexpr DWORD PROXY_TYPE_PROXY = 2;
inline constexpr DWORD PROXY_TYPE_AUTO_PROXY_URL = 4;
inline constexpr DWORD PROXY_TYPE_AUTO_DETECT = 8;

// The size of the option list header that callers fill in.
inline constexpr DWORD INTERNET_PER_CONN_OPTION_LIST_SIZE = 20;

struct InternetPerConnOption {
    DWORD dwOption = 0;
    DWORD dwValue = 0;                // flag options
    std::optional<std::string> text;  // text options; nothing stands for null
};

struct InternetPerConnOptionList {
    DWORD dwSize = INTERNET_PER_CONN_OPTION_LIST_SIZE;
    std::optional<std::string> connection;  // nothing: the LAN connection
    DWORD dwOptionError = 0;                // index of the option that failed
    std::vector<InternetPerConnOption> options;
};

// InternetQueryOptionA with INTERNET_OPTION_PER_CONNECTION_OPTION: fills
// every option of the list. False (see InternetGetLastError) on a header
// of the wrong size, an unknown option or a store that cannot be read.
bool InternetQueryPerConnOptions(InternetPerConnOptionList& list);

// InternetSetOptionA with INTERNET_OPTION_PER_CONNECTION_OPTION: applies the
// options in list order (a later one wins). Nothing is changed when the
// header or an option is refused.
bool InternetSetPerConnOptions(InternetPerConnOptionList& list);

// InternetSetOptionA with INTERNET_OPTION_REFRESH: the browser rereads its
// options.
bool InternetRefreshOptions();

// The error of the calling thread's last failed call (ERROR_* numbers).
DWORD InternetGetLastError();

namespace internet_test {
// How many refreshes were asked for since the process started.
unsigned RefreshCount();
}  // namespace internet_test

}  // namespace platform
