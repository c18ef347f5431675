#include "SweepFixture.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>

#include "platform/Registry.h"
#include "platform/Root.h"

namespace sweeptest {
namespace fs = std::filesystem;
using namespace platform;

namespace {

std::atomic<int> gOutsideCount{0};

void AddFiles(Snapshot& shot, const fs::path& base, const std::string& prefix) {
    std::error_code ec;
    if (!fs::exists(base, ec)) return;
    for (auto it = fs::recursive_directory_iterator(base, ec); !ec && it != fs::end(it);
         it.increment(ec)) {
        const fs::path& path = it->path();
        const std::string key = prefix + path.lexically_relative(base).generic_string();
        if (it->is_symlink())
            shot[key] = "<link>" + fs::read_symlink(path).string();
        else if (it->is_directory())
            shot[key] = "<dir>";
        else
            shot[key] = kvtest::ReadFile(path);
    }
}

void AddKey(Snapshot& shot, Hive hive, const std::string& label, const std::string& path) {
    RegKey key = RegKey::Root(hive);
    if (!path.empty()) {
        if (key.Open(hive, path) != ERROR_SUCCESS) return;
        shot["R:" + label + "\\" + path] = "";
    }
    std::string name;
    for (DWORD i = 0; key.EnumValue(i, name) == ERROR_SUCCESS; ++i) {
        DWORD type = 0, size = 0;
        key.QueryValue(name, &type, nullptr, &size);
        std::string bytes(size, '\0');
        key.QueryValue(name, &type, bytes.data(), &size);
        shot["R:" + label + "\\" + path + "|" + name] = std::to_string(type) + ":" + bytes;
    }
    std::vector<std::string> subkeys;
    for (DWORD i = 0; key.EnumKey(i, name) == ERROR_SUCCESS; ++i) subkeys.push_back(name);
    for (const std::string& sub : subkeys)
        AddKey(shot, hive, label, path.empty() ? sub : path + "\\" + sub);
}

bool Names(const std::string& prefix, const std::string& key) {
    if (prefix.back() == '/') return key.size() > prefix.size() && key.starts_with(prefix);
    if (key == prefix) return true;
    if (!key.starts_with(prefix)) return false;
    const char next = key[prefix.size()];
    return next == '/' || next == '\\' || next == '|';
}

}  // namespace

SweepTest::SweepTest()
    : outside_(fs::temp_directory_path() / ("kvsweep-outside-" + std::to_string(::getpid()) + "-" +
                                            std::to_string(gOutsideCount++))) {
    fs::remove_all(outside_);
    fs::create_directories(outside_);
}

SweepTest::~SweepTest() {
    std::error_code ec;
    fs::remove_all(outside_, ec);
}

fs::path SweepTest::profile() const { return ProfileFolder(); }

Snapshot SweepTest::Take() const {
    Snapshot shot;
    AddFiles(shot, profile(), "F:");
    AddFiles(shot, outside_, "O:");
    AddKey(shot, HKEY_CURRENT_USER, "HKCU", "");
    AddKey(shot, HKEY_LOCAL_MACHINE, "HKLM", "");
    return shot;
}

Snapshot SweepTest::TakeFiles() const {
    Snapshot shot;
    AddFiles(shot, root(), "T:");
    AddFiles(shot, outside_, "O:");
    // The hive's lock file comes and goes with every registry read.
    return Without(shot, {"T:registry/HKCU.reg.lock", "T:registry/HKLM.reg.lock"});
}

Snapshot SweepTest::Without(Snapshot before, const std::vector<std::string>& prefixes) {
    for (auto it = before.begin(); it != before.end();) {
        bool named = false;
        for (const std::string& prefix : prefixes) named = named || Names(prefix, it->first);
        it = named ? before.erase(it) : std::next(it);
    }
    return before;
}

void MakeDeepTree(const fs::path& folder, int depth, const fs::path& target) {
    int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    ASSERT_GE(fd, 0);
    for (int i = 0; i < depth; ++i) {
        ASSERT_EQ(0, ::mkdirat(fd, "dd", 0755));
        const int next = ::openat(fd, "dd", O_RDONLY | O_DIRECTORY);
        ::close(fd);
        ASSERT_GE(next, 0);
        fd = next;
    }
    const int file = ::openat(fd, "deep.txt", O_WRONLY | O_CREAT, 0444);
    ASSERT_GE(file, 0);
    ASSERT_EQ(4, ::write(file, "deep", 4));
    ::close(file);
    ASSERT_EQ(0, ::symlinkat(target.c_str(), fd, "out"));
    ::close(fd);
}

void Put(const fs::path& file, const std::string& bytes) { kvtest::WriteFile(file, bytes); }

}  // namespace sweeptest
