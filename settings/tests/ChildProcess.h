#pragma once
// Runs a program in a child process, with changes to this process's
// environment and in a folder of the test's choosing, and waits for it
// within a time limit (a child still running then is killed).

#include <chrono>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace cfgtest {

struct ChildRun {
    std::vector<std::string> args;   // the program first
    // Variables to set, or (nothing) to remove; the rest is inherited.
    std::map<std::string, std::optional<std::string>> env;
    std::filesystem::path folder;    // empty: the test's own
    // The folder is removed once the child is in it, so that the program
    // starts in a folder that no longer exists.
    bool removeFolder = false;
};

struct ChildResult {
    bool exited = false;   // ended by itself, with exitCode
    int exitCode = -1;
    bool killed = false;   // ended by SIGKILL
    std::string output;    // stdout and stderr together
};

ChildResult RunChild(const ChildRun& run, std::chrono::seconds limit = std::chrono::seconds(30));

// The program that runs one configurator step (ConfigChild.cpp).
inline std::string ConfigChild() { return KV_CONFIG_CHILD; }

}  // namespace cfgtest
