#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "SweepFixture.h"
#include "cleanup/CCleanOnStartAndExit.h"
#include "platform/Registry.h"
#include "settings/CSettings.h"

namespace {

using namespace platform;
using sweeptest::Put;

const std::string kExplorer = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer";
const std::string kTelnet = "Software\\Microsoft\\Telnet";
const std::string kTypedUrls = "Software\\Microsoft\\Internet Explorer\\TypedURLs";

void SetText(const std::string& key, const std::string& name, const std::string& text) {
    RegKey opened;
    ASSERT_EQ(ERROR_SUCCESS, opened.Create(HKEY_CURRENT_USER, key));
    ASSERT_EQ(ERROR_SUCCESS, opened.SetStringValue(name, text));
}

struct FlagCase {
    const char* name;
    std::function<void(CSettings&)> select;
    std::vector<std::string> removed;  // see SweepTest::Without
};

std::vector<FlagCase> FlagCases() {
    auto sys = [](CSettings& s) -> CCleanupSys& { return s.getCleanupSettings()->mCleanupSys; };
    auto ie = [](CSettings& s) -> CCleanupInternet& { return s.getCleanupSettings()->mCleanupInternet; };
    return {
        {"Run", [=](CSettings& s) { sys(s).setRun(1); }, {"R:HKCU\\" + kExplorer + "\\RunMRU"}},
        {"Telnet", [=](CSettings& s) { sys(s).setTelnet(1); }, {"R:HKCU\\" + kTelnet + "|LastMachine"}},
        {"Recycle", [=](CSettings& s) { sys(s).setRecycle(1); }, {"F:RECYCLER/"}},
        {"URLs", [=](CSettings& s) { ie(s).setURLs(1); }, {"R:HKCU\\" + kTypedUrls}},
        {"Favourites", [=](CSettings& s) { ie(s).setFavourites(1); }, {"F:Favorites/"}},
        {"RunAndURLs",
         [=](CSettings& s) {
             sys(s).setRun(1);
             ie(s).setURLs(1);
         },
         {"R:HKCU\\" + kExplorer + "\\RunMRU", "R:HKCU\\" + kTypedUrls}},
        // Cleaned by no cleaner of this class.
        {"NetworkTempRecent",
         [=](CSettings& s) {
             sys(s).setNetwork(1);
             sys(s).setTemp(1);
             sys(s).setRecent(1);
         },
         {}},
        // The auto-complete cleaner leaves no trace to remove here.
        {"AutoFormsAndPasswords",
         [=](CSettings& s) {
             ie(s).setAutoForms(1);
             ie(s).setAutoPass(1);
         },
         {}},
        {"Nothing", [](CSettings&) {}, {}},
    };
}

class CleanOnStartAndExitTest : public sweeptest::SweepTest {
protected:
    void Seed() {
        {
            RegistryBatch batch;
            SetText(kExplorer + "\\RunMRU", "a", "notepad");
            SetText(kTelnet, "LastMachine", "host");
            SetText(kTypedUrls, "url1", "http://typed/");
        }
        Put(profile() / "RECYCLER" / "S-1-5" / "Dc1.txt", "deleted");
        Put(profile() / "Favorites" / "Links" / "site.url", "fav");
        Put(profile() / "NetHood" / "Share.lnk", "share");
        Put(profile() / "Recent" / "doc.lnk", "doc");
        Put(profile() / "Local Settings" / "temp" / "t.tmp", "tmp");
    }
};

TEST_F(CleanOnStartAndExitTest, CleansExactlyTheSelectedTraces) {
    using Clean = bool (CCleanOnStartAndExit::*)(CSettings);
    for (const Clean clean : {&CCleanOnStartAndExit::CleanOnStart, &CCleanOnStartAndExit::CleanOnExit}) {
        for (const FlagCase& c : FlagCases()) {
            SCOPED_TRACE(c.name);
            Seed();
            const sweeptest::Snapshot before = Take();
            CSettings settings;
            c.select(settings);
            CCleanOnStartAndExit cleaner;
            EXPECT_TRUE((cleaner.*clean)(settings));
            EXPECT_EQ(Without(before, c.removed), Take());
        }
    }
}

}  // namespace
