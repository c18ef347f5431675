#pragma once
// Test support of the configurator tests: registry keys read and written as
// maps of values, and a user whose client programs are installed with their
// own proxy settings (registry values and files below the per-user root).

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <variant>
#include <vector>

#include "platform/DesktopProxy.h"
#include "platform/Registry.h"
#include "platform/Types.h"
#include "settings/CSysConfig.h"
#include "support/TempRoot.h"

namespace cfgtest {

namespace fs = std::filesystem;
using platform::BYTE;
using platform::DWORD;

using Value = std::variant<DWORD, std::string, std::vector<BYTE>>;
using Values = std::map<std::string, Value>;

// The values of a key (names as stored); empty when the key is missing.
Values ReadKey(platform::Hive hive, const std::string& key);
bool KeyExists(platform::Hive hive, const std::string& key);
// Creates the key and writes the values.
void WriteKey(platform::Hive hive, const std::string& key, const Values& values);
// Values as text, one "name = value" line each, for whole comparisons.
std::string DumpValues(const Values& values);
// An uninstall entry below HKLM ...\Uninstall, with or without its string.
void Install(const std::string& program, const char* uninstallString);

inline constexpr DWORD kPort = 9050;

inline constexpr const char* kMsnKey = "Software\\Microsoft\\MSNMessenger";
inline constexpr const char* kYahooKey = "Software\\Yahoo\\Pager";
inline constexpr const char* kCuteFtpKey = "Software\\GlobalSCAPE\\CuteFTP 5.0\\CuteFTP";
inline constexpr const char* kKazaaKey = "Software\\Kazaa\\Socks";
inline constexpr const char* kIEKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\Connections\\DefaultConnectionSettings";
inline constexpr const char* kBackUpKey = "Software\\Kavelin Ver 2.0\\Auto\\BackUp";

enum class Program { IE, MSN, Yahoo, CuteFtp, Kazaa, Netscape, Opera, Mirc, WSFTP };

const std::vector<Program>& AllPrograms();
const char* Name(Program program);
// Sets the program's flag (IE included).
void Choose(CSysConfig& sys, Program program, bool on);
// A CSysConfig with only these programs chosen.
CSysConfig Only(const std::vector<Program>& programs);

// The user's own configuration of each program, as seeded. Every value the
// relay changes that is easy to lose is there: the browser's own proxy flag,
// MSN's "ProxyState", values that are 0 and texts that are empty.
const Values& UserValues(Program program);
// The desktop's proxy setting as the seeded user has it: some keys set (one
// of them to its default value), the others following their defaults.
const platform::DesktopProxyValues& UserDesktop();
// The desktop's proxy keys, one "key = value" or "key (default)" line each;
// empty where the schema is not installed.
std::string DumpDesktop();
// Every key back to its default, where the schema is installed.
void ResetDesktop();
extern const char* const kUserPrefs;
extern const char* const kUserOpera;
extern const char* const kUserMirc;
extern const char* const kUserWsFtp;

// Where the seeded files live.
fs::path PrefsFile();
fs::path OperaFile();
fs::path MircFile();
fs::path WsFtpFile();
fs::path AppData();

class ConfigTest : public kvtest::RootedTest {
protected:
    // The desktop's setting lives outside the root: every test starts with
    // it at its defaults.
    ConfigTest() { ResetDesktop(); }

    // Installs every program with its user configuration, the desktop's
    // proxy setting included.
    void SeedUserPrograms();
    // A program's whole configuration as text (its registry values or its
    // file's bytes), for whole comparisons.
    static std::string Dump(Program program);
};

}  // namespace cfgtest
