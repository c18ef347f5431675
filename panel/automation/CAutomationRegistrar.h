#pragma once
// Registration of the program's automation classes, for the /RegServer and
// /UnregServer command lines: the class, program-id, interface and type
// library entries under HKCR (ProxyControl and KavelinA, "KVDesk 1.0 Type
// Library"), the interface description installed as the type library file,
// and a session-bus service file that starts the program with -Embedding
// when a client calls KVDesk.ProxyControl. Both files live below the
// profile's data folder (profile/.local/share/dbus-1/services and
// .../interfaces). The AppID entries are the application's own.

#include <filesystem>

class CAutomationRegistrar {
public:
    // module: the program file, written as LocalServer32 and started by the
    // service file. False when an entry or a file could not be written
    // (what was written stays; unregistration removes it).
    static bool RegisterServer(const std::filesystem::path& module);
    // Removes every entry and both files; missing ones are no error. False
    // when one could not be removed.
    static bool UnregisterServer();

    static std::filesystem::path ServiceFile();
    static std::filesystem::path TypeLibFile();
};
