#include "support/TempRoot.h"

#include "platform/Sockets.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <system_error>

namespace kvtest {
namespace fs = std::filesystem;

TempRoot::TempRoot() {
    // Whatever a test's settings name (judge hosts, hunter pages), nothing
    // it runs may look up or reach a host off this machine.
    platform::sockets_test::RestrictToLoopback();
    // The desktop's settings (the system proxy above all) are never the
    // real ones: GSettings keeps them in memory for this process and every
    // program it starts. Set before anything here can use GSettings, which
    // picks its store once.
    setenv("GSETTINGS_BACKEND", "memory", 1);
    std::string pattern = (fs::temp_directory_path() / "kvroot-XXXXXX").string();
    if (!mkdtemp(pattern.data())) {
        ADD_FAILURE() << "cannot make a temporary root";
    }
    path_ = pattern;
    Set("KAVELIN_ROOT", path_);
    Set("XDG_DATA_HOME", dataHome());
    Set("XDG_CONFIG_HOME", configHome());
}

TempRoot::~TempRoot() {
    for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) {
        if (it->had)
            setenv(it->name, it->value.c_str(), 1);
        else
            unsetenv(it->name);
    }
    std::error_code ec;
    fs::remove_all(path_, ec);
}

void TempRoot::Set(const char* name, const fs::path& value) {
    Saved saved{name, {}, false};
    if (const char* old = std::getenv(name)) {
        saved.value = old;
        saved.had = true;
    }
    saved_.push_back(std::move(saved));
    setenv(name, value.c_str(), 1);
}

void WriteFile(const fs::path& file, std::string_view text) {
    std::error_code ec;
    fs::create_directories(file.parent_path(), ec);
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
}

std::string ReadFile(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace kvtest
