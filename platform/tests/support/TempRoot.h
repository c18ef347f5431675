#pragma once
// Gives each test its own per-user root: KAVELIN_ROOT points at a fresh
// temporary folder for the life of the object, and the folder is removed
// afterwards. No test ever touches the real home.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace kvtest {

class TempRoot {
public:
    TempRoot();
    ~TempRoot();
    TempRoot(const TempRoot&) = delete;
    TempRoot& operator=(const TempRoot&) = delete;

    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
    std::string previous_;
    bool hadPrevious_ = false;
};

// Fixture form: every TEST_F gets its own root.
class RootedTest : public ::testing::Test {
protected:
    const std::filesystem::path& root() const { return root_.path(); }

private:
    TempRoot root_;
};

// Writes text to a file, creating its folders.
void WriteFile(const std::filesystem::path& file, std::string_view text);
// The whole file as bytes; empty when it cannot be read.
std::string ReadFile(const std::filesystem::path& file);

}  // namespace kvtest
