#include <gtest/gtest.h>

#include "support/TempRoot.h"

#include <fstream>
#include <sstream>
#include <string>

#include <wx/init.h>

#include "controls/CGifScanner.h"
#include "controls/CPictureImage.h"
#include "platform/Resource.h"

namespace {

class DeskImagesTest : public kvtest::RootedTest {};

// The pictures of resources/panel/images.manifest are compiled into the
// controls library: each must be found under its manifest name and decode
// to the size its line states.
TEST_F(DeskImagesTest, EveryManifestPictureIsRegisteredAtItsSize) {
    wxInitializer wx;
    std::ifstream manifest(KV_PANEL_MANIFEST);
    ASSERT_TRUE(manifest);
    std::string line;
    int pictures = 0;
    while (std::getline(manifest, line)) {
        if (line.empty() || (line[0] == '#' && !std::isdigit(static_cast<unsigned char>(line[1])))) {
            continue;
        }
        std::istringstream fields(line);
        std::string name, field;
        fields >> name;
        int width = 16, height = 16, frames = 1;
        while (fields >> field) {
            if (field.rfind("size=", 0) == 0) {
                std::sscanf(field.c_str(), "size=%dx%d", &width, &height);
            } else if (field.rfind("frames=", 0) == 0) {
                frames = std::stoi(field.substr(7));
            }
        }
        const auto bytes = platform::FindResource("GIF", name);
        ASSERT_TRUE(bytes) << name;
        const wxImage image = CPictureImage::Decode(*bytes);
        ASSERT_TRUE(image.IsOk()) << name;
        EXPECT_EQ(width, image.GetWidth()) << name;
        EXPECT_EQ(height, image.GetHeight()) << name;
        const auto layout = CGifScanner::Scan(*bytes);
        ASSERT_TRUE(layout) << name;
        EXPECT_EQ(static_cast<std::size_t>(frames), layout->frames.size()) << name;
        ++pictures;
    }
    EXPECT_GT(pictures, 50);
    EXPECT_TRUE(platform::FindResource("GIF", platform::ResourceNumber(509)));
}

}  // namespace
