#pragma once
// Gives each test its own per-user root: KAVELIN_ROOT points at a fresh
// temporary folder for the life of the object, and the folder is removed
// afterwards. The desktop's own folders go there too: XDG_DATA_HOME (the
// user's trash) and XDG_CONFIG_HOME (autostart entries) name
// <root>/xdg/data and <root>/xdg/config, which are not made until a test
// makes them. GSettings is switched to its in-memory store for good, so the
// desktop's own settings are never touched either. No test ever touches the
// real home.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace kvtest {

class TempRoot {
public:
    TempRoot();
    ~TempRoot();
    TempRoot(const TempRoot&) = delete;
    TempRoot& operator=(const TempRoot&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path dataHome() const { return path_ / "xdg" / "data"; }
    std::filesystem::path configHome() const { return path_ / "xdg" / "config"; }

private:
    // An environment variable set for the object's life, then put back.
    struct Saved {
        const char* name;
        std::string value;
        bool had = false;
    };
    void Set(const char* name, const std::filesystem::path& value);

    std::filesystem::path path_;
    std::vector<Saved> saved_;
};

// Fixture form: every TEST_F gets its own root.
class RootedTest : public ::testing::Test {
protected:
    const std::filesystem::path& root() const { return root_.path(); }
    std::filesystem::path dataHome() const { return root_.dataHome(); }
    std::filesystem::path configHome() const { return root_.configHome(); }

private:
    TempRoot root_;
};

// Writes text to a file, creating its folders.
void WriteFile(const std::filesystem::path& file, std::string_view text);
// The whole file as bytes; empty when it cannot be read.
std::string ReadFile(const std::filesystem::path& file);

}  // namespace kvtest
