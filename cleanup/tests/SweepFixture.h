#pragma once
// A per-test root with a second folder outside it, and snapshots of both
// plus the registry, so a test can say exactly what a cleaner may remove.

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "support/TempRoot.h"

namespace sweeptest {

// "F:<path below profile>", "O:<path below the outside folder>",
// "R:HKCU\<key>" and "R:HKCU\<key>|<value>" mapped to what they hold.
using Snapshot = std::map<std::string, std::string>;

class SweepTest : public kvtest::RootedTest {
protected:
    SweepTest();
    ~SweepTest() override;

    std::filesystem::path profile() const;
    const std::filesystem::path& outside() const { return outside_; }

    Snapshot Take() const;
    // Every file below the whole root ("T:<path below the root>": the
    // registry hives and the program folder too) and the outside folder,
    // without the registry's keys: for tests of what a file walk may reach.
    Snapshot TakeFiles() const;
    // before without the entries the prefixes name: a prefix ending in "/"
    // names what lies below a folder; any other names the entry itself and
    // everything below it (subfolders, subkeys, values).
    static Snapshot Without(Snapshot before, const std::vector<std::string>& prefixes);

private:
    std::filesystem::path outside_;
};

// Makes a chain of depth nested folders named "dd" below folder, with a file
// and a link to target in the deepest one; the chain is far longer than
// PATH_MAX, so it is built relative to open folders.
void MakeDeepTree(const std::filesystem::path& folder, int depth,
                  const std::filesystem::path& target);

// Writes bytes to a file, creating its folders.
void Put(const std::filesystem::path& file, const std::string& bytes);

}  // namespace sweeptest
