#pragma once
// The identities BandStrip registers under.

inline constexpr const char* kToolBandClsid = "{8892C699-6978-4DD9-8EB2-951C93DB4F62}";
inline constexpr const char* kToolBandProgId = "BandStrip.ToolBand.1";
inline constexpr const char* kToolBandIndependentProgId = "BandStrip.ToolBand";
inline constexpr const char* kToolBandName = "KV ToolBar 2.2";
inline constexpr const char* kToolBandClassName = "ToolBand Class";
inline constexpr const char* kBandStripLibId = "{3C396C22-489A-41F2-A43B-DF45329A8F66}";
inline constexpr const char* kBandStripLibName = "BandStrip 1.0 Type Library";
inline constexpr const char* kBandStripAppId = "{0EBE4D1A-057D-4670-AC99-3B96672E2930}";
inline constexpr const char* kBandStripAppName = "BandStrip";
inline constexpr const char* kBandStripModuleKey = "BandStrip.DLL";
// The browser's list of toolbars (HKLM), one value per band.
inline constexpr const char* kBrowserToolbarKey = "Software\\Microsoft\\Internet Explorer\\Toolbar";
// The bar the band asks the browser to show when it is sited.
inline constexpr const char* kShownBrowserBar = "{43A518F9-8CCE-45d6-9DC9-42E8C471D099}";
// The file this library is installed as, beside the other programs.
inline constexpr const char* kBandStripFile = "libBandStrip.so";
