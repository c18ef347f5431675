#include "Screenshot.h"

#include <gtest/gtest.h>
#include <wx/image.h>
#include <wx/log.h>
#include <wx/toplevel.h>

#include <stdexcept>
#include <string>
#include <system_error>

#include "CXServer.h"
#include "ControlLayout.h"

namespace kvtest {
namespace fs = std::filesystem;
namespace {

std::string FileNamePart(std::string_view text) {
    std::string name;
    for (const char c : text) {
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                           c == '.' || c == '-' || c == '_';
        name += plain ? c : '_';
    }
    return name.empty() ? std::string("window") : name;
}

}  // namespace

fs::path ScreenshotFolder() {
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    const std::string name =
        test ? std::string(test->test_suite_name()) + "." + test->name() : std::string("outside-a-test");
    return fs::path(::testing::TempDir()) / "kavelin-screens" / FileNamePart(name);
}

fs::path SaveScreenshot(const wxTopLevelWindow& window, std::string_view name) {
    const std::uint32_t id = XWindowOf(window);
    if (id == 0) throw std::runtime_error("the window has never been shown");
    CXServer server;
    const SXWindow onScreen = server.Window(id);
    if (!onScreen.viewable) throw std::runtime_error("the window is not viewable");
    SRgbImage pixels = server.Capture(onScreen.onRoot);

    const fs::path folder = ScreenshotFolder();
    std::error_code error;
    fs::create_directories(folder, error);
    if (error) throw std::runtime_error("cannot make " + folder.string() + ": " + error.message());
    const fs::path file = folder / (FileNamePart(name) + ".png");
    // wxImage frees the buffer it is given unless told it is static.
    const wxImage image(pixels.width, pixels.height, pixels.rgb.data(), true);
    if (!wxImage::FindHandler(wxBITMAP_TYPE_PNG)) wxImage::AddHandler(new wxPNGHandler);
    const wxLogNull noLogDialog;
    if (!image.SaveFile(file.string(), wxBITMAP_TYPE_PNG)) throw std::runtime_error("cannot write " + file.string());
    return file;
}

}  // namespace kvtest
