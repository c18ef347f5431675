// A program the configurator tests start in a process of its own: it runs
// one step the way the relay and the control panel do, with the settings
// stored under KAVELIN_ROOT, and ends. A test can have it killed at any
// write (KAVELIN_KILL_AFTER_WRITES, platform/CrashPoint.h) and look at what
// is left, or start it with an environment of its choosing.
//
//   config_child STEP...                the steps in turn, each one:
//     start      read the settings, point the chosen programs at the relay
//     stop       read the settings, give the programs their own settings back
//     desktop    the desktop's proxy keys, one "key = value" or "key (default)" line each
//     none       nothing more
//   config_child set-desktop KEY=TEXT.. set desktop keys (an empty TEXT: back to the default)
//
// Like the relay library, it holds a configurator manager made before main.

#include <cstdio>
#include <cstring>
#include <string>

#include "platform/DesktopProxy.h"
#include "settings/CPrefsKeeper.h"
#include "settings/CSettings.h"

namespace {

CPrefsKeeper g_keeper;

int PrintDesktop() {
    const auto values = platform::ReadDesktopProxy();
    if (!values) {
        std::puts("unavailable");
        return 0;
    }
    for (const auto& value : *values) {
        std::printf("%s%s\n", value.key.c_str(), value.text ? (" = " + *value.text).c_str() : " (default)");
    }
    return 0;
}

int SetDesktop(int argc, char** argv) {
    platform::DesktopProxyValues values;
    for (int i = 2; i < argc; ++i) {
        const char* eq = std::strchr(argv[i], '=');
        if (!eq) return 1;
        platform::DesktopProxyValue value{std::string(argv[i], static_cast<std::size_t>(eq - argv[i])), std::nullopt};
        if (eq[1]) value.text = eq + 1;
        values.push_back(value);
    }
    return platform::WriteDesktopProxy(values) ? 0 : 4;
}

// One step; false when it cannot be done.
bool Run(const std::string& command) {
    if (command == "none") return true;
    if (command == "desktop") return PrintDesktop() == 0;
    CSettings settings;
    if (!settings.QueryRegistry()) return false;
    if (command == "start") g_keeper.SetAutoConfigSettings(settings);
    else if (command == "stop") g_keeper.RestoreConfiguration(settings.getSysConfig());
    else return false;
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return 1;
    if (std::string(argv[1]) == "set-desktop") return SetDesktop(argc, argv);
    for (int i = 1; i < argc; ++i) {
        if (!Run(argv[i])) return 3;
    }
    return 0;
}
