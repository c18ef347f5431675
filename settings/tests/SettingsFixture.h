#pragma once
// Shared test support: a fixture with its own per-user root and working
// folder, and a table naming every number of CSettings by its registry
// value, so that tests can fill, compare and expect field by field.

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Registry.h"
#include "platform/Types.h"
#include "settings/CSettings.h"
#include "support/TempRoot.h"

namespace settingstest {

using platform::DWORD;

struct DwordField {
    const char* name;  // "Key/_VALUE", the key relative to the settings root
    DWORD& (*ref)(CSettings&);
};

struct TextField {
    const char* name;
    std::string& (*ref)(CSettings&);
};

struct ListField {
    const char* name;
    std::vector<std::string>& (*ref)(CSettings&);
};

// Every DWORD field of CSettings, section by section in layout order. The
// hunter's source type is an enum and is handled on its own.
const std::vector<DwordField>& DwordFields();
const std::vector<TextField>& TextFields();
const std::vector<ListField>& ListFields();

// Field name -> expected value; fields not named keep their previous value.
using Expectations = std::map<std::string, DWORD>;

inline constexpr DWORD kSentinel = 0xA5A5A5A5u;
inline constexpr const char* kSentinelText = "sentinel";

// Every number to kSentinel, every text to kSentinelText, every list to one
// sentinel entry, the hunter source type to an out-of-range value.
void FillWithSentinels(CSettings& settings);

// Distinct values that survive the write-side normalisations: the flags the
// library folds to 0 or 1 get 0 or 1, the starting port stays in range,
// texts fit their read buffers, lists hold three entries.
void FillDistinct(CSettings& settings);

// Checks every number against expected (missing names: kSentinel).
void ExpectNumbers(CSettings& settings, const Expectations& expected);

// Checks every field of two objects for equality, naming the first that
// differs.
void ExpectSameFields(CSettings& a, CSettings& b);

// The settings root of the default program variant, below HKCU.
inline std::string RootPath() { return std::string("SOFTWARE\\") + kDefaultRunningApp; }
// An HKCU key below that root ("" for the root itself); closed when missing.
platform::RegKey OpenSettingsKey(std::string_view below);

// Runs the current folder in a fresh temporary folder and restores it.
class WorkingFolder {
public:
    WorkingFolder();
    ~WorkingFolder();
    WorkingFolder(const WorkingFolder&) = delete;
    WorkingFolder& operator=(const WorkingFolder&) = delete;
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path previous_;
    std::filesystem::path path_;
};

// Own root, own working folder, the statics reset, no registry denials.
class SettingsTest : public kvtest::RootedTest {
protected:
    void SetUp() override;
    void TearDown() override;

    WorkingFolder folder_;
};

}  // namespace settingstest
