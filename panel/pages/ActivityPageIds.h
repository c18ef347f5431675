#pragma once
// Control ids and pictures of the Activity tab: the container (137) and
// its program (141), chain (143) and filtration (147) sub-pages.

inline constexpr int IDD_ACTIVITY = 137;
inline constexpr int IDC_ACTIVITY_HEADER = 1082;
inline constexpr int IDC_ZONE_PROGRAMS = 1009;
inline constexpr int IDC_ZONE_CHAINS = 1010;
inline constexpr int IDC_ZONE_FILTER = 1011;
inline constexpr int IDC_ACTIVITY_FRAME = 1253;

inline constexpr int IDD_ACTIV_PROG = 141;
inline constexpr int IDD_ACTIV_CHAIN = 143;
inline constexpr int IDD_ACTIV_FILTER = 147;

inline constexpr int IDC_PROG_LIST = 1186;
inline constexpr int IDC_CHAIN_TREE = 1134;
inline constexpr int IDC_FILTER_TEXT = 1175;
inline constexpr int IDC_CLEAR_VIEW = 1173;
inline constexpr int IDC_CHAIN_FRAME = 1234;
inline constexpr int IDC_ACTIVITY_TEXT = 1236;

inline constexpr unsigned IDR_HEADER_PROGRAMS = 427;
inline constexpr unsigned IDR_HEADER_CHAINS = 382;
inline constexpr unsigned IDR_HEADER_FILTER = 383;
inline constexpr unsigned IDR_CLEAR_VIEW = 428;
