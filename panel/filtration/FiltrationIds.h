#pragma once
// Templates and control ids of the filtration pages and the ad-server
// dialogs, one block per dialog.

// The filtration container (template 139): the picture strip on the left
// with its two click zones.
inline constexpr int IDD_ADV_FLTR = 139;
inline constexpr int IDC_FLTR_STRIP = 1135;
inline constexpr int IDC_FLTR_ZONE_IN = 1013;
inline constexpr int IDC_FLTR_ZONE_OUT = 1014;
inline constexpr int IDC_FLTR_FRAME = 1136;
inline constexpr unsigned IDR_FLTR_STRIP_IN = 363;
inline constexpr unsigned IDR_FLTR_STRIP_OUT = 370;

// The incoming-filtration page (template 145).
inline constexpr int IDD_ADV_FLTR_IN = 145;
inline constexpr int IDC_IN_ENABLE = 1018;
inline constexpr int IDC_IN_BANNER_ADS = 1019;
inline constexpr int IDC_IN_SCRIPTS = 1021;
inline constexpr int IDC_IN_POPUPS = 1022;
inline constexpr int IDC_IN_IMAGES = 1010;
inline constexpr int IDC_IN_FLASH = 1011;
inline constexpr int IDC_IN_TITLE = 1012;
inline constexpr int IDC_IN_TITLE_TEXT = 1015;
inline constexpr int IDC_IN_TIMER = 1025;
inline constexpr int IDC_IN_WND_CLOSEUP = 1026;
inline constexpr int IDC_IN_STATUS_BAR = 1013;
inline constexpr int IDC_IN_CONTEXT_MENU = 1014;
inline constexpr int IDC_IN_JAVA = 1016;
inline constexpr int IDC_IN_BANNER_SETTINGS = 1241;
inline constexpr int IDC_IN_SELECT_ALL = 1242;
inline constexpr int IDC_IN_DESELECT_ALL = 1243;

// The outgoing-filtration page (template 144).
inline constexpr int IDD_ADV_FLTR_OUT = 144;
inline constexpr int IDC_OUT_ENABLE = 1023;
inline constexpr int IDC_OUT_OS_SHIELD = 1025;
inline constexpr int IDC_OUT_COOKIES = 1027;
inline constexpr int IDC_OUT_REFERRER = 1026;
inline constexpr int IDC_OUT_FILE_CACHE = 1028;
inline constexpr int IDC_OUT_SERVER_LIST = 1029;
inline constexpr int IDC_OUT_STOP_LIST = 1032;
inline constexpr int IDC_OUT_ADD = 1085;
inline constexpr int IDC_OUT_REMOVE = 1086;
inline constexpr int IDC_OUT_SELECT_ALL = 1151;
inline constexpr int IDC_OUT_DESELECT_ALL = 1152;

// The ad-server lists (template 146).
inline constexpr int IDD_AD_SERVER = 146;
inline constexpr int IDC_AD_ALLOWED = 1013;
inline constexpr int IDC_AD_BLOCKED = 1012;
inline constexpr int IDC_AD_CUSTOM = 1192;
inline constexpr int IDC_AD_ADD_ALL = 1165;
inline constexpr int IDC_AD_ADD = 1143;
inline constexpr int IDC_AD_REMOVE = 1144;
inline constexpr int IDC_AD_REMOVE_ALL = 1168;
inline constexpr int IDC_AD_ADD_SERVER = 1166;
inline constexpr int IDC_AD_REMOVE_SERVER = 1167;
inline constexpr int IDC_AD_OK = 1083;

// One server name (template 152).
inline constexpr int IDD_ADD_FLTR_SRVR = 152;
inline constexpr int IDC_SRVR_NAME = 1015;
inline constexpr int IDC_SRVR_OK = 1083;

// Button faces: normal, pushed, disabled.
struct GifFaces {
    int normal, pushed, disabled;
};
inline constexpr GifFaces kFacesBannerSettings{512, 491, 482};
inline constexpr GifFaces kFacesSelectAll{515, 438, 486};
inline constexpr GifFaces kFacesDeselectAll{513, 493, 483};
inline constexpr GifFaces kFacesAdd{510, 489, 472};
inline constexpr GifFaces kFacesRemove{436, 494, 484};
inline constexpr GifFaces kFacesOk{487, 488, -1};
inline constexpr GifFaces kFacesAddAll{497, 517, -1};
inline constexpr GifFaces kFacesMoveAdd{462, 519, -1};
inline constexpr GifFaces kFacesMoveRemove{481, 528, -1};
inline constexpr GifFaces kFacesRemoveAll{478, 527, -1};
inline constexpr GifFaces kFacesAddServer{500, 474, -1};
inline constexpr GifFaces kFacesRemoveServer{477, 530, -1};
