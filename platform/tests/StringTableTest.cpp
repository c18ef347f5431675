#include "platform/StringTable.h"

#include <gtest/gtest.h>

#include "kvres/TestStrings.h"

namespace {

TEST(StringTableTest, LoadsCompiledTextsWithEscapes) {
    const auto& table = kvres::TestStrings();
    EXPECT_EQ(table.LoadString(3), "First line\r\nnext");
    EXPECT_EQ(table.LoadString(7), "Second \"quoted\"\tand tab");
}

TEST(StringTableTest, UnknownIdGivesEmptyText) {
    EXPECT_FALSE(kvres::TestStrings().Has(4));
    EXPECT_EQ(kvres::TestStrings().LoadString(4), "");
}

}  // namespace
