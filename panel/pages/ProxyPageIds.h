#pragma once
// Control ids and pictures of the Proxy tab: the container (136), the pool
// list (555), the analyzer (434), the capture page (148), the hunter (550)
// and the hunter's settings dialog (186).

inline constexpr int IDD_PROXY = 136;
inline constexpr int IDC_PROXY_HEADER = 1081;
inline constexpr int IDC_ZONE_POOL = 1246;
inline constexpr int IDC_ZONE_HUNTER = 1247;
inline constexpr int IDC_ZONE_ANALYZER = 1248;
inline constexpr int IDC_PROXY_FRAME = 1249;

// Sub-page codes (the pool list's code is not its template).
inline constexpr int kCodePoolList = 148;
inline constexpr int kCodeHunter = 550;
inline constexpr int kCodeAnalyzer = 434;

inline constexpr int IDD_POOL_LIST = 555;
inline constexpr int IDD_ANALYZER = 434;
inline constexpr int IDD_CAPTURE = 148;
inline constexpr int IDD_HUNTER = 550;
inline constexpr int IDD_HUNTER_SETTINGS = 186;

inline constexpr int IDC_PROXY_LIST = 1094;
inline constexpr int IDC_DELETE_PROXY = 1218;
inline constexpr int IDC_REMOVE_ALL = 1219;
inline constexpr int IDC_ANALYZER_LOG = 1133;
inline constexpr int IDC_ANALYZER_START = 2104;
inline constexpr int IDC_ANALYZER_TIMEOUT = 1261;
inline constexpr int IDC_CAPTURE_LIST = 1012;
inline constexpr int IDC_CAPTURE_ADD = 1176;
inline constexpr int IDC_CAPTURE_REMOVE = 1177;

inline constexpr int IDC_HUNTER_LIST = 1094;
inline constexpr int IDC_HUNTER_LOG = 1133;
inline constexpr int IDC_HUNTER_DELETE = 1218;
inline constexpr int IDC_HUNTER_START = 1219;
inline constexpr int IDC_HUNTER_SETTINGS = 1220;

inline constexpr int IDC_HS_DEFAULT = 1008;
inline constexpr int IDC_HS_CUSTOM = 1009;
inline constexpr int IDC_HS_SERVER = 1118;
inline constexpr int IDC_HS_URL = 1119;
inline constexpr int IDC_HS_URL_EDIT = 1016;
inline constexpr int IDC_HS_LOCAL = 1120;
inline constexpr int IDC_HS_LOCAL_EDIT = 1017;
inline constexpr int IDC_HS_OPEN = 1126;
inline constexpr int IDC_HS_DEPTH = 1094;
inline constexpr int IDC_HS_DEPTH_EDIT = 1125;
inline constexpr int IDC_HS_AUTO_ANALYZE = 1123;
inline constexpr int IDC_HS_MINUTES_EDIT = 1124;
inline constexpr int IDC_HS_MINUTES_LABEL = 1097;
inline constexpr int IDC_HS_AUTO_DELETE = 1121;
inline constexpr int IDC_HS_EXCLUDE_FOREIGN = 1122;
inline constexpr int IDC_HS_OK = 1083;
inline constexpr int IDC_HS_CANCEL = 1084;
inline constexpr int IDC_HS_GROUP_SERVER = 1068;
inline constexpr int IDC_HS_GROUP_OTHER = 1069;
inline constexpr int IDC_HS_CORNER_LEFT = 1062;
inline constexpr int IDC_HS_CORNER_RIGHT = 1063;

// GIF pictures.
inline constexpr unsigned IDR_HEADER_POOL = 181;
inline constexpr unsigned IDR_HEADER_HUNTER = 543;
inline constexpr unsigned IDR_HEADER_ANALYZER = 180;
inline constexpr unsigned IDR_DELETE_PROXY = 436;
inline constexpr unsigned IDR_DELETE_PROXY_PUSHED = 494;
inline constexpr unsigned IDR_DELETE_PROXY_DISABLED = 484;
inline constexpr unsigned IDR_REMOVE_ALL = 153;
inline constexpr unsigned IDR_REMOVE_ALL_PUSHED = 154;
inline constexpr unsigned IDR_REMOVE_ALL_DISABLED = 151;
inline constexpr unsigned IDR_CAPTURE_ADD = 499;
inline constexpr unsigned IDR_CAPTURE_ADD_PUSHED = 518;
inline constexpr unsigned IDR_HUNTER_SETTINGS = 470;
inline constexpr unsigned IDR_HUNTER_SETTINGS_PUSHED = 468;
inline constexpr unsigned IDR_HUNTER_SETTINGS_DISABLED = 469;
inline constexpr unsigned IDR_OPEN_FILE = 405;
inline constexpr unsigned IDR_HS_OK = 487;
inline constexpr unsigned IDR_HS_OK_PUSHED = 488;
inline constexpr unsigned IDR_HS_CANCEL = 466;
inline constexpr unsigned IDR_HS_CANCEL_PUSHED = 467;
inline constexpr unsigned IDR_HS_CORNER_LEFT = 384;
inline constexpr unsigned IDR_HS_CORNER_RIGHT = 385;
