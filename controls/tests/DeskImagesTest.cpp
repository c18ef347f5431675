#include <gtest/gtest.h>

#include "support/TempRoot.h"

#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

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

// The header pictures of one tab are the same size and each shows its own
// page, so no two of them are alike.
TEST_F(DeskImagesTest, EachHeaderPictureOfATabShowsItsOwnPage) {
    wxInitializer wx;
    const std::vector<std::vector<unsigned>> tabs = {
        {181, 543, 180}, {427, 382, 383}, {426, 135, 420}, {363, 370}, {369, 129},
    };
    for (const std::vector<unsigned>& tab : tabs) {
        std::vector<wxImage> images;
        for (const unsigned id : tab) {
            CPictureImage picture;
            ASSERT_TRUE(picture.LoadFromResource("GIF", id)) << id;
            images.push_back(picture.Picture());
        }
        for (std::size_t i = 0; i < images.size(); ++i) {
            EXPECT_EQ(images[i].GetSize(), images[0].GetSize()) << tab[i];
            for (std::size_t j = i + 1; j < images.size(); ++j) {
                const std::size_t bytes = static_cast<std::size_t>(images[i].GetWidth()) * images[i].GetHeight() * 3;
                EXPECT_NE(0, std::memcmp(images[i].GetData(), images[j].GetData(), bytes)) << tab[i] << " " << tab[j];
            }
        }
    }
}

// The integration dialog's program pictures and the program's icons.
TEST_F(DeskImagesTest, ProgramPicturesAndIconsExist) {
    for (const unsigned id : {217u, 219u, 215u, 218u, 222u, 216u, 314u, 315u, 220u, 221u, 2105u, 2106u}) {
        EXPECT_TRUE(platform::FindResource("GIF", platform::ResourceNumber(id))) << id;
    }
}

}  // namespace
