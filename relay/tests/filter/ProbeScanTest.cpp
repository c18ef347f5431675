#include <gtest/gtest.h>

#include <random>
#include <string>
#include <string_view>

#include "relay/filter/CProbeScan.h"

namespace {

constexpr std::size_t npos = std::string_view::npos;
// The first bytes of the response filter's markers.
constexpr std::string_view kProbes[] = {"<scr", "</sc", "<tit", "wind", "docu"};

CProbeScan Probes() {
    CProbeScan scan;
    for (const std::string_view p : kProbes) scan.Add(p);
    return scan;
}

// What Next promises, one place at a time: every byte of a probe matches
// with its case bit ignored.
std::size_t Reference(std::string_view text, std::size_t from) {
    for (std::size_t at = from; at + CProbeScan::kProbeSize <= text.size(); ++at) {
        for (const std::string_view p : kProbes) {
            bool all = true;
            for (std::size_t i = 0; i < p.size(); ++i) all = all && (text[at + i] | 0x20) == (p[i] | 0x20);
            if (all) return at;
        }
    }
    return npos;
}

// A probe at every offset of a text longer than a few lane blocks, in
// mixed case, is found from every place before it and not after it; one
// cut by the end is not found.
TEST(ProbeScanTest, FindsEachProbeAtEveryOffsetInAnyCase) {
    const CProbeScan scan = Probes();
    for (const std::string_view probe : {"<ScR", "</sC", "<TIT", "Wind", "dOCU"}) {
        for (std::size_t offset = 0; offset + probe.size() <= 70; ++offset) {
            std::string text(70, 'x');
            text.replace(offset, probe.size(), probe);
            for (const std::size_t from : {std::size_t{0}, offset / 2, offset}) {
                EXPECT_EQ(scan.Next(text, from), offset) << probe << " at " << offset << " from " << from;
            }
            EXPECT_EQ(scan.Next(text, offset + 1), npos) << probe << " at " << offset;
            EXPECT_EQ(scan.Next(std::string_view(text).substr(0, offset + probe.size() - 1), 0), npos)
                << probe << " cut at " << offset;
        }
    }
}

// Random texts made of the probes' own bytes (so near misses abound) agree
// with the place-by-place reference from every starting place.
TEST(ProbeScanTest, AgreesWithThePlaceByPlaceSearchOnRandomTexts) {
    const CProbeScan scan = Probes();
    constexpr std::string_view kAlphabet = "<>/scrSCRtiTIwWnNdDoOuU\x1c\x0f.x";
    std::mt19937 random(20261211);
    for (int round = 0; round < 3000; ++round) {
        std::string text(random() % 90, ' ');
        for (char& c : text) c = kAlphabet[random() % kAlphabet.size()];
        for (std::size_t from = 0; from <= text.size() + 1; ++from) {
            ASSERT_EQ(scan.Next(text, from), Reference(text, from)) << "text \"" << text << "\" from " << from;
        }
    }
}

TEST(ProbeScanTest, NoProbesFindNothing) {
    EXPECT_EQ(CProbeScan().Next("<script window", 0), npos);
}

}  // namespace
