#pragma once
// Dialog templates and control ids of the wizard, each dialog's ids in one
// place.

namespace wizard {

namespace dlg {
inline constexpr int kAbout = 100;
inline constexpr int kWelcome = 102;
inline constexpr int kAutoConfig = 144;
inline constexpr int kSetupType = 180;
inline constexpr int kFinish = 154;
inline constexpr int kProxy = 181;
inline constexpr int kAdvProxy = 183;
inline constexpr int kHow = 203;
inline constexpr int kSysCleanup = 150;
inline constexpr int kIECleanup = 151;
inline constexpr int kAddDir = 170;
inline constexpr int kCleaning = 171;
inline constexpr int kFiltration = 152;
inline constexpr int kProtection = 153;
inline constexpr int kStopList = 215;
inline constexpr int kAddServer = 172;
}  // namespace dlg

// About box (100).
namespace about {
inline constexpr int kIcon = 1050;
inline constexpr int kVersion = 1051;
inline constexpr int kCopyright = 1052;
inline constexpr int kOk = 1;
// The system command that opens it (the low four bits do not count).
inline constexpr unsigned kCommand = 0x10;
}  // namespace about

// The program's icon (type "ICON").
inline constexpr unsigned kProgramIcon = 128;

// Welcome page (102).
namespace welcome {
inline constexpr int kBanner = 1052;
inline constexpr int kBack = 1000;
inline constexpr int kNext = 1001;
inline constexpr int kCancel = 1002;
inline constexpr int kText = 1023;
}  // namespace welcome

// Auto-configuration page (144).
namespace autoconfig {
inline constexpr int kBanner = 1089;
inline constexpr int kBack = 1003;
inline constexpr int kNext = 1004;
inline constexpr int kCancel = 1005;
inline constexpr int kProgramsGroup = 1070;
inline constexpr int kIE = 1024;
inline constexpr int kNetscape = 1025;
inline constexpr int kOpera = 1026;
inline constexpr int kMSN = 1027;
inline constexpr int kYahoo = 1028;
inline constexpr int kMirc = 1029;
inline constexpr int kWsFtp = 1030;
inline constexpr int kCuteFtp = 1035;
inline constexpr int kGeneralGroup = 1071;
inline constexpr int kLaunchAtStartup = 1040;
inline constexpr int kToolbarAlerts = 1068;
inline constexpr int kCleanAtStart = 1069;
}  // namespace autoconfig

// Setup-type page (180).
namespace setuptype {
inline constexpr int kBanner = 1089;
inline constexpr int kBack = 1063;
inline constexpr int kNext = 1064;
inline constexpr int kCancel = 1065;
inline constexpr int kDefault = 1024;
inline constexpr int kDefaultText = 1083;
inline constexpr int kCustom = 1025;
}  // namespace setuptype

// Finish page (154).
namespace finish {
inline constexpr int kBanner = 1088;
inline constexpr int kText = 1023;
inline constexpr int kClearAtExit = 1024;
inline constexpr int kBack = 1021;
inline constexpr int kFinish = 1019;
inline constexpr int kCancel = 1022;
}  // namespace finish

// Proxy page (181).
namespace proxy {
inline constexpr int kBanner = 1095;
inline constexpr int kChainGroup = 1070;
inline constexpr int kBasicGroup = 1071;
inline constexpr int kUpdateGroup = 1079;
inline constexpr int kChain = 1026;
inline constexpr int kPort = 1058;
inline constexpr int kOneProxy = 1072;
inline constexpr int kMultipleProxies = 1073;
inline constexpr int kUpdateEvery = 1024;
inline constexpr int kInterval = 1074;
inline constexpr int kUpdateAtStartup = 1025;
inline constexpr int kAdvanced = 1075;
inline constexpr int kHow = 1080;
inline constexpr int kBack = 1076;
inline constexpr int kNext = 1077;
inline constexpr int kCancel = 1078;
}  // namespace proxy

// The proxy chain explained (203).
namespace how {
inline constexpr int kPictureControl = 1097;
inline constexpr int kText = 1105;
inline constexpr unsigned kPicture = 354;
}  // namespace how

// Advanced Proxy Settings (183).
namespace advproxy {
inline constexpr int kChain = 1024;
inline constexpr int kChainLength = 1058;
inline constexpr int kChainTimer = 1057;
inline constexpr int kOk = 1;
inline constexpr int kCancel = 2;
}  // namespace advproxy

// System-cleanup page (150).
namespace syscleanup {
inline constexpr int kBanner = 1090;
inline constexpr int kSettingsGroup = 1070;
inline constexpr int kCustomGroup = 1071;
inline constexpr int kRecycle = 1024;
inline constexpr int kRun = 1025;
inline constexpr int kRecent = 1026;
inline constexpr int kLogin = 1027;
inline constexpr int kFindFile = 1028;
inline constexpr int kFindComp = 1029;
inline constexpr int kNetwork = 1030;
inline constexpr int kTelnet = 1035;
inline constexpr int kCustom = 1040;
inline constexpr int kList = 1036;
inline constexpr int kAdd = 1047;
inline constexpr int kEdit = 1048;
inline constexpr int kRemove = 1049;
inline constexpr int kRunNow = 1050;
inline constexpr int kBack = 1006;
inline constexpr int kNext = 1007;
inline constexpr int kCancel = 1008;
}  // namespace syscleanup

// Browser-cleanup page (151).
namespace iecleanup {
inline constexpr int kBanner = 1091;
inline constexpr int kGroup = 1081;
inline constexpr int kHistory = 1024;
inline constexpr int kTempSys = 1025;
inline constexpr int kTempFiles = 1026;
inline constexpr int kAutoForms = 1027;
inline constexpr int kAutoPass = 1028;
inline constexpr int kFavourites = 1029;
inline constexpr int kCookies = 1030;
inline constexpr int kURLs = 1035;
inline constexpr int kOrganize = 1051;
inline constexpr int kRunNow = 1061;
inline constexpr int kBack = 1009;
inline constexpr int kNext = 1010;
inline constexpr int kCancel = 1011;
}  // namespace iecleanup

// Progress window of Run Now (171).
namespace cleaning {
inline constexpr int kStatus = 1060;
}  // namespace cleaning

// Add Custom Directory (170) and Add Server To Server Stop List (172).
namespace addentry {
inline constexpr int kText = 1058;
inline constexpr int kBrowse = 1059;
inline constexpr int kOk = 1;
inline constexpr int kCancel = 2;
}  // namespace addentry

// Filtration page (152).
namespace filtration {
inline constexpr int kBanner = 1092;
inline constexpr int kKillGroup = 1070;
inline constexpr int kDisableGroup = 1071;
inline constexpr int kRemoveGroup = 1079;
inline constexpr int kPopUps = 1024;
inline constexpr int kFlash = 1025;
inline constexpr int kImages = 1027;
inline constexpr int kScripts = 1028;
inline constexpr int kCloseupEvents = 1029;
inline constexpr int kTimerScripts = 1030;
inline constexpr int kStatusModifiers = 1035;
inline constexpr int kContextMenu = 1040;
inline constexpr int kHideTitle = 1026;
inline constexpr int kBack = 1012;
inline constexpr int kNext = 1013;
inline constexpr int kCancel = 1014;
}  // namespace filtration

// Protection page (153).
namespace protection {
inline constexpr int kBanner = 1094;
inline constexpr int kProtectionGroup = 1070;
inline constexpr int kDisableGroup = 1071;
inline constexpr int kBrowserShielding = 1024;
inline constexpr int kOsShielding = 1025;
inline constexpr int kReferrer = 1026;
inline constexpr int kIpMasking = 1027;
inline constexpr int kFakeIp = 1033;
inline constexpr int kAllCookies = 1028;
inline constexpr int kUnsafeCookies = 1029;
inline constexpr int kBack = 1015;
inline constexpr int kNext = 1016;
inline constexpr int kCancel = 1017;
}  // namespace protection

// Stop-list page (215).
namespace stoplist {
inline constexpr int kBanner = 1093;
inline constexpr int kStopGroup = 1071;
inline constexpr int kStopBox = 1025;
inline constexpr int kList = 1041;
inline constexpr int kAdd = 1042;
inline constexpr int kEdit = 1043;
inline constexpr int kRemove = 1044;
inline constexpr int kCustomGroup = 1070;
inline constexpr int kCustomBox = 1024;
inline constexpr int kCustomList = 1036;
inline constexpr int kBack = 1084;
inline constexpr int kNext = 1085;
inline constexpr int kCancel = 1086;
}  // namespace stoplist

// Logos beside the auto-configuration boxes (numbered pictures).
namespace logo {
inline constexpr unsigned kMirc = 350;
inline constexpr unsigned kIE = 349;
inline constexpr unsigned kWsFtp = 348;
inline constexpr unsigned kMSN = 351;
inline constexpr unsigned kNetscape = 352;
inline constexpr unsigned kOpera = 353;
inline constexpr unsigned kCuteFtp = 355;
inline constexpr unsigned kYahoo = 356;
}  // namespace logo

}  // namespace wizard
