#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "relay/engine/CStdStringVector.h"
#include "relay/engine/FindNoCase.h"
#include "relay/listeners/CPendingBuffer.h"

namespace {

TEST(FindNoCaseTest, FindsFirstOccurrenceIgnoringAsciiCase) {
    const char* text = "GET / HTTP/1.1\r\nHOST: a\r\nhost: b";
    EXPECT_EQ(FindNoCase(text, "host:"), text + 16);
    EXPECT_EQ(FindNoCase(text, ""), text);
    EXPECT_EQ(FindNoCase(text, "cookie"), nullptr);
    EXPECT_EQ(FindNoCase(nullptr, "a"), nullptr);
    // Bytes beyond ASCII letters compare as they are.
    EXPECT_EQ(FindNoCase(std::string_view("\xC4x"), std::string_view("\xE4x")), std::string_view::npos);
    // The bounded form never reads past the view.
    EXPECT_EQ(FindNoCase(std::string_view("abcHOST", 5), std::string_view("host")), std::string_view::npos);
}

TEST(CStdStringVectorTest, IgnoresNullAndEndEraseAndCopiesStrings) {
    CStdStringVector v;
    v.push_back(nullptr);
    v.erase(v.end());
    EXPECT_TRUE(v.empty());
    v.push_back("a");
    v.push_back("b");
    CStdStringVector copy(v);
    v[0] = "changed";
    v.erase(v.begin());
    ASSERT_EQ(copy.size(), 2);
    EXPECT_EQ(copy[0], "a");
    EXPECT_EQ(v.size(), 1);
    EXPECT_EQ(v[0], "b");
}

TEST(CStdStringVectorTest, TakesConcurrentWritersWithoutLoss) {
    CStdStringVector v;
    std::vector<std::thread> writers;
    for (int t = 0; t < 4; ++t) {
        writers.emplace_back([&v] {
            for (int i = 0; i < 500; ++i) v.push_back("entry");
        });
    }
    for (auto& w : writers) w.join();
    EXPECT_EQ(v.size(), 2000);
}

TEST(CPendingBufferTest, KeepsOrderAcrossPartialConsumes) {
    CPendingBuffer b;
    std::string expected;
    std::string taken;
    for (int i = 0; i < 200; ++i) {
        const std::string chunk(static_cast<std::size_t>(i % 37 + 1), static_cast<char>(i));
        b.Append(chunk);
        expected += chunk;
        const std::size_t n = std::min<std::size_t>(b.Size(), static_cast<std::size_t>(i % 23));
        taken += std::string(b.Front().substr(0, n));
        b.Consume(n);
    }
    taken += std::string(b.Front());
    b.Consume(b.Size() + 5);
    EXPECT_EQ(taken, expected);
    EXPECT_TRUE(b.Empty());
}

}  // namespace
