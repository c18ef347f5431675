#pragma once
// Control ids and pictures of the General page (template 551) and the
// integration dialog (template 199).

inline constexpr int IDD_GENERAL = 551;
inline constexpr int IDC_SERVER_PORT = 1257;
inline constexpr int IDC_SERVER_TYPE = 1258;
inline constexpr int IDC_FIREWALL = 1260;
inline constexpr int IDC_FIREWALL_IP = 1155;
inline constexpr int IDC_FIREWALL_PORT = 1017;
inline constexpr int IDC_FIREWALL_TYPE = 1189;
inline constexpr int IDC_AUTOSTART = 1259;
inline constexpr int IDC_TRAY_NOTIFY = 1005;
inline constexpr int IDC_START_STOP = 1138;
inline constexpr int IDC_AUTO_CONFIG = 1139;
inline constexpr int IDC_LEVEL_MAXIMUM = 1009;
inline constexpr int IDC_LEVEL_DEFAULT = 1118;
inline constexpr int IDC_LEVEL_MINIMUM = 1119;
inline constexpr int IDC_LEVEL_CUSTOM = 1010;

inline constexpr unsigned IDR_AUTO_CONFIG = 495;
inline constexpr unsigned IDR_AUTO_CONFIG_PUSHED = 521;
inline constexpr unsigned IDR_START = 502;
inline constexpr unsigned IDR_START_PUSHED = 506;
inline constexpr unsigned IDR_START_DISABLED = 501;
inline constexpr unsigned IDR_STOP = 509;
inline constexpr unsigned IDR_STOP_PUSHED = 508;

inline constexpr int IDD_AUTO_CONFIG = 199;
inline constexpr int IDC_AUTO_IE = 1006;
inline constexpr int IDC_AUTO_NETSCAPE = 1007;
inline constexpr int IDC_AUTO_OPERA = 1008;
inline constexpr int IDC_AUTO_MSN = 1009;
inline constexpr int IDC_AUTO_YAHOO = 1010;
inline constexpr int IDC_AUTO_MIRC = 1011;
inline constexpr int IDC_AUTO_WSFTP = 1012;
inline constexpr int IDC_AUTO_CUTEFTP = 1033;
inline constexpr int IDC_AUTO_KAZAA = 1034;
inline constexpr int IDC_AUTO_EDONKEY = 1139;
inline constexpr int IDC_AUTO_OK = 1164;
inline constexpr int IDC_AUTO_APPLY = 1180;
inline constexpr int IDC_AUTO_CANCEL = 1169;
inline constexpr int IDC_AUTO_BACKUP = 1178;
inline constexpr int IDC_AUTO_RESTORE = 1179;
inline constexpr int IDC_GROUP_CHAT = 1064;
inline constexpr int IDC_GROUP_FTP = 1001;
inline constexpr int IDC_GROUP_P2P = 1002;
