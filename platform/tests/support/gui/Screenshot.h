#pragma once
// Screenshots for GUI tests: the X server's image of a window (what the user
// sees there, overlapping windows included) saved as a PNG file.

#include <filesystem>
#include <string_view>

class wxTopLevelWindow;

namespace kvtest {

// The running test's screenshot folder: <gtest TempDir>/kavelin-screens/
// <Suite>.<Test>. It outlives the test's temporary root, so a failure can
// be looked at afterwards.
std::filesystem::path ScreenshotFolder();

// Saves the window's on-screen pixels as <ScreenshotFolder>/<name>.png and
// returns that path. Throws std::runtime_error when the window is not shown
// or the file cannot be written.
std::filesystem::path SaveScreenshot(const wxTopLevelWindow& window, std::string_view name);

}  // namespace kvtest
