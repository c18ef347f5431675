#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "platform/Resource.h"

namespace {

std::string Text(const platform::ResourceBytes& bytes) {
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

TEST(ResourceTest, CompiledResourcesAreFoundByTypeAndNameWithoutCase) {
    const std::pair<std::string, std::string> lookups[] = {
        {"GIF", "IDR_NEXT"}, {"gif", "idr_next"}, {"GIF", platform::ResourceNumber(5)}};
    for (const auto& [type, name] : lookups) {
        const auto found = platform::FindResource(type, name);
        ASSERT_TRUE(found) << type << " " << name;
        EXPECT_EQ(Text(*found), "GIF89a-test-bytes");
    }
    EXPECT_FALSE(platform::FindResource("BMP", "IDR_NEXT"));
    EXPECT_FALSE(platform::FindResource("GIF", "#6"));
}

}  // namespace
