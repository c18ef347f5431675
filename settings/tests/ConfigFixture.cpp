#include "ConfigFixture.h"

#include <algorithm>
#include <cstdio>

#include "platform/Root.h"

namespace cfgtest {

using platform::ERROR_SUCCESS;
using platform::HKEY_CURRENT_USER;
using platform::HKEY_LOCAL_MACHINE;

Values ReadKey(platform::Hive hive, const std::string& key) {
    Values values;
    platform::RegKey k;
    if (k.Open(hive, key, platform::KEY_READ) != ERROR_SUCCESS) return values;
    std::string name;
    for (DWORD i = 0; k.EnumValue(i, name) == ERROR_SUCCESS; ++i) {
        DWORD type = 0;
        DWORD size = 0;
        k.QueryValue(name, &type, nullptr, &size);
        std::vector<BYTE> data(size);
        k.QueryValue(name, &type, data.data(), &size);
        if (type == platform::REG_DWORD && size == 4) {
            DWORD number = 0;
            k.QueryDWORDValue(name, number);
            values[name] = number;
        } else if (type == platform::REG_SZ) {
            std::string text;
            k.QueryStringValue(name, text);
            values[name] = text;
        } else {
            values[name] = data;
        }
    }
    return values;
}

bool KeyExists(platform::Hive hive, const std::string& key) {
    platform::RegKey k;
    return k.Open(hive, key, platform::KEY_READ) == ERROR_SUCCESS;
}

void WriteKey(platform::Hive hive, const std::string& key, const Values& values) {
    platform::RegKey k;
    ASSERT_EQ(k.Create(hive, key), ERROR_SUCCESS) << key;
    for (const auto& [name, value] : values) {
        if (const auto* number = std::get_if<DWORD>(&value)) k.SetDWORDValue(name, *number);
        else if (const auto* text = std::get_if<std::string>(&value)) k.SetStringValue(name, *text);
        else {
            const auto& data = std::get<std::vector<BYTE>>(value);
            k.SetBinaryValue(name, data.data(), static_cast<DWORD>(data.size()));
        }
    }
}

void Install(const std::string& program, const char* uninstallString) {
    Values values;
    if (uninstallString) values["UninstallString"] = std::string(uninstallString);
    WriteKey(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + program, values);
}

const std::vector<Program>& AllPrograms() {
    static const std::vector<Program> all = {Program::IE,       Program::MSN,   Program::Yahoo,
                                             Program::CuteFtp,  Program::Kazaa, Program::Netscape,
                                             Program::Opera,    Program::Mirc,  Program::WSFTP};
    return all;
}

const char* Name(Program program) {
    switch (program) {
    case Program::IE: return "IE";
    case Program::MSN: return "MSN";
    case Program::Yahoo: return "Yahoo";
    case Program::CuteFtp: return "CuteFtp";
    case Program::Kazaa: return "Kazaa";
    case Program::Netscape: return "Netscape";
    case Program::Opera: return "Opera";
    case Program::Mirc: return "Mirc";
    case Program::WSFTP: return "WSFTP";
    }
    return "?";
}

void Choose(CSysConfig& sys, Program program, bool on) {
    switch (program) {
    case Program::IE: sys.setAutoIE(on); break;
    case Program::MSN: sys.setAutoMSN(on); break;
    case Program::Yahoo: sys.setAutoYahooIM(on); break;
    case Program::CuteFtp: sys.setAutoCuteFtp(on); break;
    case Program::Kazaa: sys.setAutoKaza(on); break;
    case Program::Netscape: sys.setAutoNetscape(on); break;
    case Program::Opera: sys.setAutoOpera(on); break;
    case Program::Mirc: sys.setAutoCuteMirc(on); break;
    case Program::WSFTP: sys.setAutoWsFTP(on); break;
    }
}

CSysConfig Only(const std::vector<Program>& programs) {
    CSysConfig sys;
    for (const Program p : AllPrograms()) Choose(sys, p, false);
    for (const Program p : programs) Choose(sys, p, true);
    return sys;
}

const Values& UserValues(Program program) {
    static const std::map<Program, Values> values = {
        {Program::IE,
         {{"Flags", DWORD{3}},
          {"AutoDiscoveryFlags", DWORD{1}},
          {"ProxyServer", std::string("proxy.corp.example:3128")},
          {"ProxyBypass", std::string("<local>")},
          {"AutoConfigURL", std::string("http://wpad.corp.example/proxy.pac")}}},
        {Program::MSN,
         {{"AlwaysOnTop", std::vector<BYTE>{0, 1, 0, 0}},
          {"ProxyState", DWORD{1}},
          {"ProxyType", DWORD{4}},
          {"HTTPPort", DWORD{3128}},
          {"HTTPProxy", std::string("proxy.corp.example")},
          {"SOCKS4Port", DWORD{1080}},
          {"SOCKS4Server", std::string("socks4.corp.example")},
          {"SOCKS5Port", DWORD{0}},
          {"SOCKS5Server", std::string()},
          {"Sounds", std::string("on")}}},
        {Program::Yahoo,
         {{"HTTP Proxy", std::string("proxy.corp.example")},
          {"Proxy Enabled", DWORD{1}},
          {"Proxy Port", DWORD{3128}},
          {"Socks Server", std::string("socks.corp.example")},
          {"SOCKS Enabled", DWORD{1}},
          {"Socks Version", DWORD{5}},
          {"Socks Port", DWORD{1080}},
          {"Connection State", DWORD{1}},
          {"Yahoo! User ID", std::string("someone")}}},
        {Program::CuteFtp,
         {{"FireHost", std::string("fw.corp.example")},
          {"FirePort", DWORD{2121}},
          {"FireType", DWORD{3}},
          {"SocksHost", std::string()},
          {"SocksType", DWORD{0}},
          {"SocksPort", DWORD{0}},
          {"Startup", std::string("yes")}}},
        {Program::Kazaa,
         {{"Enabled", DWORD{1}},
          {"UseAuthentication", DWORD{0}},
          {"ServerPort", DWORD{1080}},
          {"ServerAddress", std::string("socks.corp.example")},
          {"UserName", std::string("me")},
          {"Password", std::string("secret")},
          {"Comment", std::string("mine")}}},
    };
    static const Values none;
    const auto it = values.find(program);
    return it == values.end() ? none : it->second;
}

const platform::DesktopProxyValues& UserDesktop() {
    static const platform::DesktopProxyValues values = {
        {"mode", "'auto'"},      {"http.host", "'proxy.corp.example'"}, {"http.port", "3128"},
        {"https.host", {}},      {"https.port", {}},                    {"socks.host", {}},
        {"socks.port", "0"},
    };
    return values;
}

std::string DumpDesktop() {
    const auto values = platform::ReadDesktopProxy();
    if (!values) return {};
    std::string out = "[desktop]\n";
    for (const auto& value : *values) out += value.key + (value.text ? " = " + *value.text : " (default)") + "\n";
    return out;
}

void ResetDesktop() {
    auto values = platform::ReadDesktopProxy();
    if (!values) return;
    for (auto& value : *values) value.text.reset();
    ASSERT_TRUE(platform::WriteDesktopProxy(*values));
}

const char* const kUserPrefs =
    "# Mozilla User Preferences\r\n"
    "\r\n"
    "user_pref(\"browser.startup.homepage\", \"http://example.org/\");\r\n"
    "user_pref(\"network.proxy.http\", \"proxy.corp.example\");\r\n"
    "user_pref(\"network.proxy.http_port\", 3128);\r\n"
    "user_pref(\"print.print_color\", true);\r\n"
    "user_pref(\"network.proxy.type\", 1);\r\n"
    "user_pref(\"zzz.last\", 1);\r\n";

const char* const kUserOpera =
    "Opera Preferences version 2.0\r\n"
    "; Do not edit this file while Opera is running\r\n"
    "\r\n"
    "[User Prefs]\r\n"
    "Language Files Directory=\r\n"
    "\r\n"
    "[Proxy]\r\n"
    "HTTP Server=proxy.corp.example:3128\r\n"
    "Use HTTP=1\r\n"
    "\r\n"
    "[Install]\r\n"
    "Newest Used Version=7.11\r\n";

const char* const kUserMirc =
    "[mirc]\r\n"
    "user=someone\r\n"
    "[SOCKS]\r\n"
    "enabled=no\r\n"
    "port=1080\r\n"
    "[text]\r\n"
    "quit=bye";

const char* const kUserWsFtp =
    "[WS_FTP]\r\n"
    "DIR=C:\\Program Files\\WS_FTP\r\n"
    "[Firewall]\r\n"
    "host=fw.corp.example\r\n"
    "port=21\r\n"
    "firetype=5\r\n";

fs::path AppData() { return platform::UserRoot() / "profile/Application Data"; }
fs::path PrefsFile() { return AppData() / "Mozilla/Profiles/default/k3x9.slt/prefs.js"; }
fs::path OperaFile() { return AppData() / "Opera/Opera7/profile/opera6.ini"; }
// The uninstall entry spells the folder "PROGRAM FILES\mIRC".
fs::path MircFile() { return platform::UserRoot() / "profile/Program Files/mIRC/mirc.ini"; }
fs::path WsFtpFile() { return platform::UserRoot() / "profile/Program Files/WS_FTP/WS_FTP.ini"; }

void ConfigTest::SeedUserPrograms() {
    WriteKey(HKEY_CURRENT_USER, kIEKey, UserValues(Program::IE));
    WriteKey(HKEY_CURRENT_USER, kMsnKey, UserValues(Program::MSN));
    WriteKey(HKEY_CURRENT_USER, kYahooKey, UserValues(Program::Yahoo));
    WriteKey(HKEY_CURRENT_USER, kCuteFtpKey, UserValues(Program::CuteFtp));
    WriteKey(HKEY_CURRENT_USER, kKazaaKey, UserValues(Program::Kazaa));
    Install("Yahoo! Messenger", "C:\\PROGRA~1\\Yahoo!\\Messenger\\ypager.exe -uninstall");
    WriteKey(HKEY_LOCAL_MACHINE, "Software\\GlobalSCAPE Inc.\\CuteFTP", {});
    WriteKey(HKEY_LOCAL_MACHINE, "Software\\Kazaa", {});
    Install("Netscape (7.1)", "C:\\WINDOWS\\NSUninst.exe");
    Install("Opera", "C:\\Program Files\\Opera7\\uninst\\uninst.exe");
    Install("Mirc", "\"C:\\PROGRAM FILES\\mIRC\\mirc.exe\" _uninstall");
    Install("WS_FTP Pro", "C:\\Program Files\\WS_FTP Pro\\uninst.exe");
    kvtest::WriteFile(PrefsFile(), kUserPrefs);
    kvtest::WriteFile(OperaFile(), kUserOpera);
    kvtest::WriteFile(MircFile(), kUserMirc);
    kvtest::WriteFile(WsFtpFile(), kUserWsFtp);
    if (platform::DesktopProxyAvailable()) {
        ASSERT_TRUE(platform::WriteDesktopProxy(UserDesktop()));
    }
}

std::string DumpValues(const Values& values) {
    std::string out;
    for (const auto& [name, value] : values) {
        out += name + " = ";
        if (const auto* number = std::get_if<DWORD>(&value)) {
            out += "dword:" + std::to_string(*number);
        } else if (const auto* text = std::get_if<std::string>(&value)) {
            out += "\"" + *text + "\"";
        } else {
            out += "hex:";
            for (const BYTE b : std::get<std::vector<BYTE>>(value)) {
                char hex[4];
                std::snprintf(hex, sizeof hex, "%02x,", b);
                out += hex;
            }
        }
        out += "\n";
    }
    return out;
}

std::string ConfigTest::Dump(Program program) {
    switch (program) {
    case Program::IE: return DumpValues(ReadKey(HKEY_CURRENT_USER, kIEKey)) + DumpDesktop();
    case Program::MSN: return DumpValues(ReadKey(HKEY_CURRENT_USER, kMsnKey));
    case Program::Yahoo: return DumpValues(ReadKey(HKEY_CURRENT_USER, kYahooKey));
    case Program::CuteFtp: return DumpValues(ReadKey(HKEY_CURRENT_USER, kCuteFtpKey));
    case Program::Kazaa: return DumpValues(ReadKey(HKEY_CURRENT_USER, kKazaaKey));
    case Program::Netscape: return kvtest::ReadFile(PrefsFile());
    case Program::Opera: return kvtest::ReadFile(OperaFile());
    case Program::Mirc: return kvtest::ReadFile(MircFile());
    case Program::WSFTP: return kvtest::ReadFile(WsFtpFile());
    }
    return {};
}

}  // namespace cfgtest
