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
    std::string pattern = (fs::temp_directory_path() / "kvroot-XXXXXX").string();
    if (!mkdtemp(pattern.data())) {
        ADD_FAILURE() << "cannot make a temporary root";
    }
    path_ = pattern;
    if (const char* old = std::getenv("KAVELIN_ROOT")) {
        previous_ = old;
        hadPrevious_ = true;
    }
    setenv("KAVELIN_ROOT", path_.c_str(), 1);
}

TempRoot::~TempRoot() {
    if (hadPrevious_) {
        setenv("KAVELIN_ROOT", previous_.c_str(), 1);
    } else {
        unsetenv("KAVELIN_ROOT");
    }
    std::error_code ec;
    fs::remove_all(path_, ec);
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
