#pragma once
// Templates and controls of the cleaner pages: the container (140), the
// system items (150) and the browser items (151). In a namespace of their
// own, since other pages name the same controls.

namespace cleanerpage {

inline constexpr int IDD_ADV_CLEANER = 140;
inline constexpr int IDD_ADV_CLEANER_SYSTEM = 150;
inline constexpr int IDD_ADV_CLEANER_IEXPLORER = 151;

// container
inline constexpr int IDC_BROWSER_EXIT = 1046;
inline constexpr int IDC_WINDOWS_START = 1047;
inline constexpr int IDC_PROGRAM_EXIT = 1048;
inline constexpr int IDC_CLEANER_STRIP = 1204;
inline constexpr int IDC_CLEAN_NOW = 1238;
inline constexpr int IDC_ZONE_SYSTEM = 1239;
inline constexpr int IDC_ZONE_BROWSER = 1240;

// the strip while each sub-page is shown
inline constexpr unsigned IDR_STRIP_SYSTEM = 369;
inline constexpr unsigned IDR_STRIP_BROWSER = 129;

// system items
inline constexpr int IDC_RUN_HISTORY = 1062;
inline constexpr int IDC_FIND_COMPUTERS = 1010;
inline constexpr int IDC_NETWORK = 1011;
inline constexpr int IDC_TELNET = 1012;
inline constexpr int IDC_LAST_LOGIN = 1033;
inline constexpr int IDC_FIND_FILES = 1034;
inline constexpr int IDC_RECYCLE_BIN = 1063;
inline constexpr int IDC_TEMP_FOLDER = 1064;
inline constexpr int IDC_RECENT_FOLDER = 1065;

// browser items
inline constexpr int IDC_TEMP_INTERNET = 1053;
inline constexpr int IDC_COOKIES = 1057;
inline constexpr int IDC_AUTO_FORMS = 1058;
inline constexpr int IDC_AUTO_PASSWORDS = 1055;
inline constexpr int IDC_FAVORITES = 1052;
inline constexpr int IDC_TYPED_URLS = 1056;
inline constexpr int IDC_URL_HISTORY = 1054;

// both item pages
inline constexpr int IDC_SELECT_ALL = 1243;
inline constexpr int IDC_DESELECT_ALL = 1244;

}  // namespace cleanerpage
