#pragma once
// The toolbar's window and command ids and its picture numbers ("GIF"
// resources "#<number>").

namespace toolbar_ids {

inline constexpr int kToolBar = 101;

// Commands the buttons post with WM_BAND_BUTTON.
inline constexpr int kCmdLogo = 0x8000;
inline constexpr int kCmdEngine = 32769;
inline constexpr int kCmdIncoming = 32770;
inline constexpr int kCmdOutgoing = 32771;
inline constexpr int kCmdPrivacy = 32772;
inline constexpr int kCmdReceivedAnimation = 32773;
inline constexpr int kReceivedLabel = 32774;
inline constexpr int kCmdSentAnimation = 32775;
inline constexpr int kSentLabel = 32776;
inline constexpr int kCmdSentIcon = 32781;
inline constexpr int kCmdReceivedIcon = 32782;
inline constexpr int kSeparator1 = 32783;
inline constexpr int kSeparator2 = 32784;
inline constexpr int kSeparator3 = 32785;
inline constexpr int kSeparator4 = 32786;

// Control ids of the two looks of each button pair.
inline constexpr int kEngineStart = 0x8001;
inline constexpr int kEngineStop = 0x800B;
inline constexpr int kIncomingOn = 0x8002;
inline constexpr int kIncomingOff = 0x8009;
inline constexpr int kOutgoingOn = 0x8003;
inline constexpr int kOutgoingOff = 0x800A;
inline constexpr int kPrivacyOn = 0x8004;
inline constexpr int kPrivacyOff = 0x800C;

// Pictures.
inline constexpr int kReceivedIconPicture = 326;
inline constexpr int kSentIconPicture = 327;
inline constexpr int kFirstFramePicture = 328;  // counter 10
inline constexpr int kLastFramePicture = 338;   // counter 9
inline constexpr int kSeparatorPicture = 366;

}  // namespace toolbar_ids
