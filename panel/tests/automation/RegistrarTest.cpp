#include <gtest/gtest.h>

#include <set>
#include <string>

#include "panel/automation/CAutomationRegistrar.h"
#include "panel/automation/CProxyControlServer.h"
#include "platform/Registry.h"
#include "platform/Root.h"
#include "support/TempRoot.h"

namespace {

using platform::RegKey;

// Every key ("K path") and string value ("V path|name=text") below a key.
void Collect(const RegKey& key, const std::string& path, std::set<std::string>& out) {
    out.insert("K " + path);
    std::string name;
    for (platform::DWORD i = 0; key.EnumValue(i, name) == platform::ERROR_SUCCESS; ++i) {
        std::string text;
        key.QueryStringValue(name, text);
        out.insert("V " + path + "|" + name + "=" + text);
    }
    for (platform::DWORD i = 0; key.EnumKey(i, name) == platform::ERROR_SUCCESS; ++i) {
        RegKey sub;
        ASSERT_EQ(platform::ERROR_SUCCESS, sub.Open(key, name, platform::KEY_READ));
        Collect(sub, path.empty() ? name : path + "\\" + name, out);
    }
}

std::set<std::string> ClassesRoot() {
    std::set<std::string> out;
    Collect(RegKey::Root(platform::HKEY_CLASSES_ROOT), "", out);
    return out;
}

// What the two classes, their interfaces and the type library add.
std::set<std::string> ExpectedEntries(const std::string& module, const std::string& typeLib,
                                      const std::string& typeLibFolder) {
    std::set<std::string> e;
    auto key = [&e](const std::string& path) { e.insert("K " + path); };
    auto value = [&e](const std::string& path, const std::string& name, const std::string& text) {
        e.insert("V " + path + "|" + name + "=" + text);
    };
    struct Class {
        const char* clsid;
        const char* name;
        const char* progId;
        const char* independent;
    };
    for (const Class& c : {Class{"{BCF66DAD-997D-47DE-8060-9978356D4975}", "ProxyControl Class",
                                 "KVDesk.ProxyControl.1", "KVDesk.ProxyControl"},
                           Class{"{718BABF1-1D56-4A48-9EC6-FDFC3561667B}", "KavelinA Class", "KVDesk.KavelinA.1",
                                 "KVDesk.KavelinA"}}) {
        const std::string clsid = std::string("CLSID\\") + c.clsid;
        for (const std::string& k :
             {std::string(c.progId), std::string(c.progId) + "\\CLSID", std::string(c.independent),
              std::string(c.independent) + "\\CLSID", std::string(c.independent) + "\\CurVer", clsid,
              clsid + "\\ProgID", clsid + "\\VersionIndependentProgID", clsid + "\\Programmable",
              clsid + "\\LocalServer32", clsid + "\\TypeLib"}) {
            key(k);
        }
        value(c.progId, "", c.name);
        value(std::string(c.progId) + "\\CLSID", "", c.clsid);
        value(c.independent, "", c.name);
        value(std::string(c.independent) + "\\CLSID", "", c.clsid);
        value(std::string(c.independent) + "\\CurVer", "", c.progId);
        value(clsid, "", c.name);
        value(clsid, "AppID", "{14107F49-A0DF-4567-A914-39450662DD57}");
        value(clsid + "\\ProgID", "", c.progId);
        value(clsid + "\\VersionIndependentProgID", "", c.independent);
        value(clsid + "\\LocalServer32", "", module);
        value(clsid + "\\TypeLib", "", "{24B6581C-E0C1-414B-9B17-9757BC1933CA}");
    }
    const std::string libId = "{24B6581C-E0C1-414B-9B17-9757BC1933CA}";
    const std::string lib = "TypeLib\\" + libId;
    for (const std::string& k : {lib, lib + "\\1.0", lib + "\\1.0\\FLAGS", lib + "\\1.0\\0", lib + "\\1.0\\0\\win32",
                                 lib + "\\1.0\\HELPDIR"}) {
        key(k);
    }
    value(lib + "\\1.0", "", "KVDesk 1.0 Type Library");
    value(lib + "\\1.0\\FLAGS", "", "0");
    value(lib + "\\1.0\\0\\win32", "", typeLib);
    value(lib + "\\1.0\\HELPDIR", "", typeLibFolder);
    struct Interface {
        const char* iid;
        const char* name;
        const char* stub;
    };
    for (const Interface& i :
         {Interface{"{6CC88665-8BE8-44E9-841C-4AD24E88656A}", "IProxyControl", "{00020424-0000-0000-C000-000000000046}"},
          Interface{"{167FA32B-78FD-4ED1-8BEE-A1E622FB9DA7}", "_IProxyControlEvents",
                    "{00020420-0000-0000-C000-000000000046}"},
          Interface{"{E5FBBF36-D526-46BD-88B5-BE82C5B21683}", "IKavelinA", "{00020424-0000-0000-C000-000000000046}"}}) {
        const std::string k = std::string("Interface\\") + i.iid;
        for (const std::string& sub : {k, k + "\\ProxyStubClsid", k + "\\ProxyStubClsid32", k + "\\TypeLib"}) key(sub);
        value(k, "", i.name);
        value(k + "\\ProxyStubClsid", "", i.stub);
        value(k + "\\ProxyStubClsid32", "", i.stub);
        value(k + "\\TypeLib", "", libId);
        value(k + "\\TypeLib", "Version", "1.0");
    }
    return e;
}

class RegistrarTest : public kvtest::RootedTest {
protected:
    // Entries of other programs that registration must leave alone.
    void SetUp() override {
        ASSERT_TRUE(platform::registry_test::LoadHiveText(
            platform::HKEY_CLASSES_ROOT,
            "Windows Registry Editor Version 5.00\r\n\r\n"
            "[HKEY_CLASSES_ROOT\\CLSID\\{00000000-1111-2222-3333-444444444444}]\r\n@=\"Other Class\"\r\n\r\n"
            "[HKEY_CLASSES_ROOT\\Interface\\{00000000-1111-2222-3333-555555555555}]\r\n@=\"IOther\"\r\n\r\n"
            "[HKEY_CLASSES_ROOT\\TypeLib]\r\n\r\n"
            "[HKEY_CLASSES_ROOT\\Other.Program]\r\n@=\"Other\"\r\n\r\n"));
    }
};

TEST_F(RegistrarTest, RegistersExactlyTheClassInterfaceAndTypeLibraryEntries) {
    const std::set<std::string> before = ClassesRoot();
    const std::string module = (root() / "program" / "KVDesk").string();

    ASSERT_TRUE(CAutomationRegistrar::RegisterServer(module));

    std::set<std::string> added;
    for (const std::string& entry : ClassesRoot()) {
        if (!before.count(entry)) added.insert(entry);
    }
    const auto typeLib = CAutomationRegistrar::TypeLibFile();
    EXPECT_EQ(ExpectedEntries(module, typeLib.string(), typeLib.parent_path().string()), added);
}

TEST_F(RegistrarTest, InstallsTheTypeLibraryAndABusServiceStartingTheProgramForAutomation) {
    const std::string module = (root() / "my programs" / "KV\"Desk$").string();
    ASSERT_TRUE(CAutomationRegistrar::RegisterServer(module));

    const auto services = platform::ProfileFolder() / ".local" / "share" / "dbus-1" / "services";
    EXPECT_EQ(services / "KVDesk.ProxyControl.service", CAutomationRegistrar::ServiceFile());
    std::string exec = module;
    exec.replace(exec.find('"'), 1, "\\\"");
    exec.replace(exec.find('$'), 1, "\\$");
    EXPECT_EQ("[D-BUS Service]\nName=KVDesk.ProxyControl\nExec=\"" + exec + "\" -Embedding\n",
              kvtest::ReadFile(CAutomationRegistrar::ServiceFile()));
    EXPECT_EQ(std::string(CProxyControlServer::IntrospectionXml()),
              kvtest::ReadFile(CAutomationRegistrar::TypeLibFile()));
}

TEST_F(RegistrarTest, UnregistrationRemovesEverythingRegistrationAddedAndNothingElse) {
    const std::set<std::string> before = ClassesRoot();
    ASSERT_TRUE(CAutomationRegistrar::RegisterServer(root() / "KVDesk"));
    ASSERT_TRUE(CAutomationRegistrar::RegisterServer(root() / "KVDesk"));  // twice is the same

    EXPECT_TRUE(CAutomationRegistrar::UnregisterServer());

    EXPECT_EQ(before, ClassesRoot());
    EXPECT_FALSE(std::filesystem::exists(CAutomationRegistrar::ServiceFile()));
    EXPECT_FALSE(std::filesystem::exists(CAutomationRegistrar::TypeLibFile()));
    EXPECT_TRUE(CAutomationRegistrar::UnregisterServer());  // nothing left is no error
    EXPECT_EQ(before, ClassesRoot());
}

}  // namespace
