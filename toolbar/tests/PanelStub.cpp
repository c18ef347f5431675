// Stands in for the control panel program in tests: writes its arguments,
// one a line, to the file KVTEST_PANEL_MARKER names, then idles until it is
// ended or 20 seconds pass.
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <thread>

int main(int argc, char** argv) {
    if (const char* marker = std::getenv("KVTEST_PANEL_MARKER")) {
        std::ofstream out(marker, std::ios::trunc);
        for (int i = 1; i < argc; ++i) out << argv[i] << '\n';
    }
    std::this_thread::sleep_for(std::chrono::seconds(20));
    return 0;
}
