#pragma once
// Dialog templates and control ids of the wizard, each dialog's ids in one
// place.

namespace wizard {

namespace dlg {
inline constexpr int kWelcome = 102;
inline constexpr int kAutoConfig = 144;
inline constexpr int kSetupType = 180;
inline constexpr int kFinish = 154;
}  // namespace dlg

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
