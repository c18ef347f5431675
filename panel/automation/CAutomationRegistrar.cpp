#include "panel/automation/CAutomationRegistrar.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "panel/automation/CProxyControlServer.h"
#include "platform/FileOps.h"
#include "platform/Registry.h"
#include "platform/Root.h"
#include "platform/SafeFile.h"

namespace {

constexpr const char* kAppId = "{14107F49-A0DF-4567-A914-39450662DD57}";
constexpr const char* kLibId = "{24B6581C-E0C1-414B-9B17-9757BC1933CA}";
constexpr const char* kLibName = "KVDesk 1.0 Type Library";
constexpr const char* kLibVersion = "1.0";
// The proxy/stub classes of automation interfaces: dual ones and
// dispatch-only ones.
constexpr const char* kDualStub = "{00020424-0000-0000-C000-000000000046}";
constexpr const char* kDispatchStub = "{00020420-0000-0000-C000-000000000046}";

struct ClassRow {
    const char* clsid;
    const char* name;
    const char* progId;
    const char* versionIndependentProgId;
};

constexpr std::array kClasses{
    ClassRow{"{BCF66DAD-997D-47DE-8060-9978356D4975}", "ProxyControl Class", "KVDesk.ProxyControl.1",
             "KVDesk.ProxyControl"},
    ClassRow{"{718BABF1-1D56-4A48-9EC6-FDFC3561667B}", "KavelinA Class", "KVDesk.KavelinA.1", "KVDesk.KavelinA"},
};

struct InterfaceRow {
    const char* iid;
    const char* name;
    const char* stub;
};

constexpr std::array kInterfaces{
    InterfaceRow{"{6CC88665-8BE8-44E9-841C-4AD24E88656A}", "IProxyControl", kDualStub},
    InterfaceRow{"{167FA32B-78FD-4ED1-8BEE-A1E622FB9DA7}", "_IProxyControlEvents", kDispatchStub},
    InterfaceRow{"{E5FBBF36-D526-46BD-88B5-BE82C5B21683}", "IKavelinA", kDualStub},
};

// One value below HKCR (an empty name is the key's default value), or a
// key alone.
struct Entry {
    std::string key;
    std::string name;
    std::string text;
    bool keyOnly = false;
};

std::vector<Entry> Entries(const std::filesystem::path& module, const std::filesystem::path& typeLib) {
    std::vector<Entry> entries;
    auto add = [&entries](std::string key, std::string name, std::string text) {
        entries.push_back({std::move(key), std::move(name), std::move(text)});
    };
    for (const ClassRow& c : kClasses) {
        const std::string clsidKey = std::string("CLSID\\") + c.clsid;
        add(c.progId, "", c.name);
        add(std::string(c.progId) + "\\CLSID", "", c.clsid);
        add(c.versionIndependentProgId, "", c.name);
        add(std::string(c.versionIndependentProgId) + "\\CLSID", "", c.clsid);
        add(std::string(c.versionIndependentProgId) + "\\CurVer", "", c.progId);
        add(clsidKey, "", c.name);
        add(clsidKey, "AppID", kAppId);
        add(clsidKey + "\\ProgID", "", c.progId);
        add(clsidKey + "\\VersionIndependentProgID", "", c.versionIndependentProgId);
        entries.push_back({clsidKey + "\\Programmable", "", "", true});
        add(clsidKey + "\\LocalServer32", "", module.string());
        add(clsidKey + "\\TypeLib", "", kLibId);
    }
    const std::string lib = std::string("TypeLib\\") + kLibId + "\\" + kLibVersion;
    add(lib, "", kLibName);
    add(lib + "\\FLAGS", "", "0");
    add(lib + "\\0\\win32", "", typeLib.string());
    add(lib + "\\HELPDIR", "", typeLib.parent_path().string());
    for (const InterfaceRow& i : kInterfaces) {
        const std::string key = std::string("Interface\\") + i.iid;
        add(key, "", i.name);
        add(key + "\\ProxyStubClsid", "", i.stub);
        add(key + "\\ProxyStubClsid32", "", i.stub);
        add(key + "\\TypeLib", "", kLibId);
        add(key + "\\TypeLib", "Version", kLibVersion);
    }
    return entries;
}

// The keys that unregistration removes whole.
std::vector<std::string> OwnKeys() {
    std::vector<std::string> keys;
    for (const ClassRow& c : kClasses) {
        keys.emplace_back(c.progId);
        keys.emplace_back(c.versionIndependentProgId);
        keys.push_back(std::string("CLSID\\") + c.clsid);
    }
    keys.push_back(std::string("TypeLib\\") + kLibId);
    for (const InterfaceRow& i : kInterfaces) keys.push_back(std::string("Interface\\") + i.iid);
    return keys;
}

std::filesystem::path DataFolder() { return platform::ProfileFolder() / ".local" / "share" / "dbus-1"; }

bool MakeFolders(const std::filesystem::path& folder) {
    const std::filesystem::path base = platform::ProfileFolder();
    std::filesystem::path current = base;
    for (const auto& part : folder.lexically_relative(base)) {
        current /= part;
        if (platform::GetFileAttributes(current) == platform::INVALID_FILE_ATTRIBUTES &&
            !platform::CreateDirectory(current)) {
            return false;
        }
    }
    return true;
}

// Exec= takes a quoted word: only \, ", $ and ` need escapes inside it.
std::string QuotedWord(std::string_view text) {
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '\\' || c == '"' || c == '$' || c == '`') quoted += '\\';
        quoted += c;
    }
    return quoted + "\"";
}

bool WriteFile(const std::filesystem::path& file, std::string_view bytes) {
    return MakeFolders(file.parent_path()) && platform::WriteFileAtomic(file, bytes);
}

bool RemoveFile(const std::filesystem::path& file) {
    return platform::GetFileAttributes(file) == platform::INVALID_FILE_ATTRIBUTES || platform::DeleteFile(file);
}

}  // namespace

std::filesystem::path CAutomationRegistrar::ServiceFile() {
    return DataFolder() / "services" / (std::string(CProxyControlServer::kBusName) + ".service");
}

std::filesystem::path CAutomationRegistrar::TypeLibFile() {
    return DataFolder() / "interfaces" / (std::string(CProxyControlServer::kInterfaceName) + ".xml");
}

bool CAutomationRegistrar::RegisterServer(const std::filesystem::path& module) {
    bool ok = true;
    {
        platform::RegistryBatch batch;
        for (const Entry& entry : Entries(module, TypeLibFile())) {
            platform::RegKey key;
            if (key.Create(platform::HKEY_CLASSES_ROOT, entry.key) != platform::ERROR_SUCCESS) {
                ok = false;
                continue;
            }
            if (!entry.keyOnly && key.SetStringValue(entry.name, entry.text) != platform::ERROR_SUCCESS) {
                ok = false;
            }
        }
    }
    ok &= WriteFile(TypeLibFile(), CProxyControlServer::IntrospectionXml());
    const std::string service = std::string("[D-BUS Service]\nName=") + CProxyControlServer::kBusName +
                                "\nExec=" + QuotedWord(module.string()) + " -Embedding\n";
    ok &= WriteFile(ServiceFile(), service);
    return ok;
}

bool CAutomationRegistrar::UnregisterServer() {
    bool ok = true;
    {
        platform::RegistryBatch batch;
        platform::RegKey root = platform::RegKey::Root(platform::HKEY_CLASSES_ROOT);
        for (const std::string& key : OwnKeys()) {
            const platform::LONG result = root.RecurseDeleteKey(key);
            if (result != platform::ERROR_SUCCESS && result != platform::ERROR_FILE_NOT_FOUND) ok = false;
        }
    }
    ok &= RemoveFile(ServiceFile());
    ok &= RemoveFile(TypeLibFile());
    return ok;
}
