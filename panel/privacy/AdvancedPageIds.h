#pragma once
// Control ids and pictures of the Advanced tab: the container (135) and its
// privacy (138), filtration (139) and cleaning (140) sub-pages.

inline constexpr int IDD_ADVANCED = 135;
inline constexpr int IDD_ADV_PRIVACY = 138;
inline constexpr int IDD_ADV_FILTRATION = 139;
inline constexpr int IDD_ADV_CLEANING = 140;

inline constexpr int IDC_ADV_FRAME = 1229;
inline constexpr int IDC_ZONE_PRIVACY = 1231;
inline constexpr int IDC_ZONE_FILTRATION = 1232;
inline constexpr int IDC_ZONE_CLEANING = 1233;

inline constexpr unsigned IDR_HEADER_PRIVACY = 426;
inline constexpr unsigned IDR_HEADER_FILTRATION = 135;
inline constexpr unsigned IDR_HEADER_CLEANING = 420;

// The privacy page (template 138).
inline constexpr int IDC_IP_SHIELDING = 1043;
inline constexpr int IDC_ONE_PROXY = 1008;
inline constexpr int IDC_BEST_PROXY = 1101;
inline constexpr int IDC_USER_PROXY = 1102;
inline constexpr int IDC_USER_IP = 1006;
inline constexpr int IDC_USER_IP_LABEL = 1110;
inline constexpr int IDC_USER_PORT = 1103;
inline constexpr int IDC_USER_PORT_LABEL = 1111;
inline constexpr int IDC_USER_TYPE = 1117;
inline constexpr int IDC_USER_TYPE_LABEL = 1116;
inline constexpr int IDC_PROXY_CHAIN = 1009;
inline constexpr int IDC_CHAIN_LENGTH = 1107;
inline constexpr int IDC_CHAIN_LENGTH_LABEL = 1112;
inline constexpr int IDC_CHAIN_TIMER = 1161;
inline constexpr int IDC_CHAIN_TIMER_LABEL = 1160;
inline constexpr int IDC_CHAIN_TIMER_UNIT = 1187;
inline constexpr int IDC_PRIVATE_PROXIES = 1010;
