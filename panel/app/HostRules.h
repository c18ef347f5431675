#pragma once
// The host's decisions that depend only on the settings or on folders.

#include <array>
#include <filesystem>

class CSettings;

namespace hostrules {

// The states UpdateToolBarStatus sends, in order: incoming filtration
// (7 on / 8 off), outgoing filtration (5 / 6), privacy (9 / 10).
std::array<unsigned, 3> ToolBarStates(const CSettings& settings);

// Whether the exit starts the outside cleaner (_WINDOWS_EXIT).
bool CleansAtExit(const CSettings& settings);

// programFolder + "hlp/KavelinPro.html".
std::filesystem::path HelpFile(const std::filesystem::path& programFolder);

inline constexpr const char* kCleanerProgram = "KVSweep";
inline constexpr const char* kHelpViewer = "xdg-open";

}  // namespace hostrules
