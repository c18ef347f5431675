#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/Registry.h"
#include "support/TempRoot.h"
#include "toolbar/BandIds.h"
#include "toolbar/BandRegistration.h"
#include "toolbar/BandStrip.h"
#include "toolbar/CToolBand.h"
#include "toolbar/CToolBandFactory.h"
#include "toolbar/host/BandHostCommandLine.h"
#include "kvres/BandStrings.h"

namespace {

using platform::HKEY_CLASSES_ROOT;
using platform::HKEY_LOCAL_MACHINE;
using platform::RegKey;

const std::string kClassKey = std::string("CLSID\\") + kToolBandClsid;

std::string Text(platform::Hive hive, const std::string& key, const std::string& name = "") {
    RegKey k;
    std::string value;
    if (k.Open(hive, key, platform::KEY_READ) != platform::ERROR_SUCCESS) return "<no key>";
    if (k.QueryStringValue(name, value) != platform::ERROR_SUCCESS) return "<no value>";
    return value;
}

bool KeyExists(platform::Hive hive, const std::string& key) {
    RegKey k;
    return k.Open(hive, key, platform::KEY_READ) == platform::ERROR_SUCCESS;
}

TEST(BandInfoTest, FillsWhatTheMaskAsksForAndLeavesTheBackgroundToTheHost) {
    CToolBand band;
    DESKBANDINFO info;
    info.dwMask = 0x3F;
    info.wszTitle = "old";
    ASSERT_EQ(band.GetBandInfo(7, 1, &info), platform::S_OK);
    EXPECT_EQ(info.dwMask, 0x3Fu);
    EXPECT_EQ(info.ptMinSize, (BandPoint{190, 22}));
    EXPECT_EQ(info.ptMaxSize, (BandPoint{-1, 22}));
    EXPECT_EQ(info.ptIntegral, (BandPoint{0, 0}));
    EXPECT_EQ(info.ptActual, (BandPoint{0, 22}));
    EXPECT_EQ(info.wszTitle, "");
    EXPECT_EQ(info.dwModeFlags, 8u);

    DESKBANDINFO colour;
    colour.dwMask = DBIM_BKCOLOR | DBIM_MINSIZE;
    ASSERT_EQ(band.GetBandInfo(7, 1, &colour), platform::S_OK);
    EXPECT_EQ(colour.dwMask, DBIM_MINSIZE);
    EXPECT_EQ(colour.ptMaxSize, (BandPoint{0, 0}));  // not asked for
    EXPECT_EQ(band.GetBandInfo(7, 1, nullptr), platform::E_INVALIDARG);
}

TEST(BandInfoTest, WindowlessBandAnswersItsFixedQuestions) {
    CToolBand band;
    EXPECT_EQ(band.ContextSensitiveHelp(true), platform::E_NOTIMPL);
    EXPECT_EQ(band.ResizeBorderDW(), platform::E_NOTIMPL);
    EXPECT_EQ(band.ShowDW(true), platform::S_OK);
    EXPECT_EQ(band.CloseDW(0), platform::S_OK);
    IBandSite* site = reinterpret_cast<IBandSite*>(1);
    EXPECT_EQ(band.GetSite(&site), platform::E_FAIL);
    EXPECT_EQ(site, nullptr);
    EXPECT_EQ(band.SetSite(nullptr), platform::S_OK);
}

TEST(BandExportsTest, FactoryOnlyForToolBandAndUnloadWaitsForObjectsAndLocks) {
    CToolBandFactory* factory = nullptr;
    EXPECT_EQ(DllGetClassObject("{00000000-0000-0000-0000-000000000000}", &factory), CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_EQ(factory, nullptr);
    EXPECT_EQ(DllGetClassObject("{8892c699-6978-4dd9-8eb2-951c93db4f62}", &factory), platform::S_OK);
    ASSERT_NE(factory, nullptr);
    EXPECT_EQ(DllCanUnloadNow(), platform::S_OK);
    std::unique_ptr<CToolBand> band;
    ASSERT_EQ(factory->CreateInstance(band), platform::S_OK);
    EXPECT_EQ(DllCanUnloadNow(), platform::S_FALSE);
    band.reset();
    EXPECT_EQ(DllCanUnloadNow(), platform::S_OK);
    factory->LockServer(true);
    EXPECT_EQ(DllCanUnloadNow(), platform::S_FALSE);
    factory->LockServer(false);
    EXPECT_EQ(DllCanUnloadNow(), platform::S_OK);
}

class BandRegistrationTest : public kvtest::RootedTest {};

TEST_F(BandRegistrationTest, RegisterWritesTheClassItsNamesTheAppIdAndTheToolbarListEntry) {
    ASSERT_EQ(DllRegisterServer(), platform::S_OK);
    const std::string module = band_registration::ModulePath().string();
    struct Entry {
        platform::Hive hive;
        std::string key;
        std::string name;
        std::string value;
    };
    const Entry entries[] = {
        {HKEY_CLASSES_ROOT, "BandStrip.ToolBand.1", "", "KV ToolBar 2.2"},
        {HKEY_CLASSES_ROOT, "BandStrip.ToolBand.1\\CLSID", "", kToolBandClsid},
        {HKEY_CLASSES_ROOT, "BandStrip.ToolBand", "", "ToolBand Class"},
        {HKEY_CLASSES_ROOT, "BandStrip.ToolBand\\CLSID", "", kToolBandClsid},
        {HKEY_CLASSES_ROOT, "BandStrip.ToolBand\\CurVer", "", "BandStrip.ToolBand.1"},
        {HKEY_CLASSES_ROOT, kClassKey, "", "KV ToolBar 2.2"},
        {HKEY_CLASSES_ROOT, kClassKey, "AppID", "{0EBE4D1A-057D-4670-AC99-3B96672E2930}"},
        {HKEY_CLASSES_ROOT, kClassKey + "\\ProgID", "", "BandStrip.ToolBand.1"},
        {HKEY_CLASSES_ROOT, kClassKey + "\\VersionIndependentProgID", "", "BandStrip.ToolBand"},
        {HKEY_CLASSES_ROOT, kClassKey + "\\InprocServer32", "", module},
        {HKEY_CLASSES_ROOT, kClassKey + "\\InprocServer32", "ThreadingModel", "Apartment"},
        {HKEY_CLASSES_ROOT, kClassKey + "\\TypeLib", "", "{3C396C22-489A-41F2-A43B-DF45329A8F66}"},
        {HKEY_CLASSES_ROOT, "AppID\\{0EBE4D1A-057D-4670-AC99-3B96672E2930}", "", "BandStrip"},
        {HKEY_CLASSES_ROOT, "AppID\\BandStrip.DLL", "AppID", "{0EBE4D1A-057D-4670-AC99-3B96672E2930}"},
        {HKEY_CLASSES_ROOT, "TypeLib\\{3C396C22-489A-41F2-A43B-DF45329A8F66}\\1.0", "", "BandStrip 1.0 Type Library"},
        {HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Internet Explorer\\Toolbar", kToolBandClsid, "KV ToolBar 2.2"},
    };
    for (const Entry& e : entries) EXPECT_EQ(Text(e.hive, e.key, e.name), e.value) << e.key << " " << e.name;
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, kClassKey + "\\Programmable"));
    EXPECT_NE(module.find("libBandStrip.so"), std::string::npos);
}

TEST_F(BandRegistrationTest, UnregisterRemovesEverythingButOtherToolbars) {
    RegKey toolbars;
    ASSERT_EQ(toolbars.Create(HKEY_LOCAL_MACHINE, kBrowserToolbarKey), platform::ERROR_SUCCESS);
    ASSERT_EQ(toolbars.SetStringValue("{other}", "Other bar"), platform::ERROR_SUCCESS);
    ASSERT_EQ(DllRegisterServer(), platform::S_OK);
    ASSERT_EQ(DllUnregisterServer(), platform::S_OK);
    for (const std::string& key : {kClassKey, std::string("BandStrip.ToolBand.1"), std::string("BandStrip.ToolBand"),
                                  std::string("AppID\\BandStrip.DLL"),
                                  std::string("AppID\\{0EBE4D1A-057D-4670-AC99-3B96672E2930}"),
                                  std::string("TypeLib\\{3C396C22-489A-41F2-A43B-DF45329A8F66}")}) {
        EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, key)) << key;
    }
    EXPECT_EQ(Text(HKEY_LOCAL_MACHINE, kBrowserToolbarKey, kToolBandClsid), "<no value>");
    EXPECT_EQ(Text(HKEY_LOCAL_MACHINE, kBrowserToolbarKey, "{other}"), "Other bar");
}

TEST_F(BandRegistrationTest, UnregisterRemovesTheToolbarEntryWhenTheClassKeysAreGone) {
    ASSERT_EQ(DllRegisterServer(), platform::S_OK);
    ASSERT_EQ(RegKey::Root(HKEY_CLASSES_ROOT).RecurseDeleteKey("CLSID"), platform::ERROR_SUCCESS);
    ASSERT_EQ(RegKey::Root(HKEY_CLASSES_ROOT).RecurseDeleteKey("BandStrip.ToolBand"), platform::ERROR_SUCCESS);
    EXPECT_EQ(DllUnregisterServer(), platform::S_OK);
    EXPECT_EQ(Text(HKEY_LOCAL_MACHINE, kBrowserToolbarKey, kToolBandClsid), "<no value>");
    // Nothing registered at all: still no error.
    EXPECT_EQ(DllUnregisterServer(), platform::S_OK);
}

TEST_F(BandRegistrationTest, UpdateRegistryAppliesAndRemovesOnlyTheClassEntries) {
    ASSERT_EQ(CToolBand::UpdateRegistry(true), platform::S_OK);
    EXPECT_EQ(Text(HKEY_CLASSES_ROOT, kClassKey), "KV ToolBar 2.2");
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, "AppID\\BandStrip.DLL"));
    ASSERT_EQ(band_registration::ApplyModuleScript(), platform::S_OK);
    ASSERT_EQ(CToolBand::UpdateRegistry(false), platform::S_OK);
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kClassKey));
    EXPECT_EQ(Text(HKEY_LOCAL_MACHINE, kBrowserToolbarKey, kToolBandClsid), "<no value>");
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, "AppID\\BandStrip.DLL"));
}

TEST_F(BandRegistrationTest, RegisterReportsAFailureToWrite) {
    platform::registry_test::DenyPath(HKEY_LOCAL_MACHINE, "Software\\Microsoft");
    EXPECT_EQ(DllRegisterServer(), platform::E_FAIL);
    platform::registry_test::ClearDenials();
}

TEST(BandStringsTest, TheProjectNameAndTheButtonTexts) {
    EXPECT_EQ(kvres::BandStrings().LoadString(400), "BandStrip");
    for (platform::UINT id = 32768; id <= 32780; ++id) {
        EXPECT_EQ(kvres::BandStrings().LoadString(id), "Button" + std::to_string(id - 32767)) << id;
    }
}

TEST(BandHostCommandLineTest, SlashOrDashInAnyCaseRegistersOrUnregisters) {
    const std::pair<std::vector<std::string>, eBandHostAction> cases[] = {
        {{"/RegServer"}, eBandHostAction::Register},     {{"-RegServer"}, eBandHostAction::Register},
        {{"-regserver"}, eBandHostAction::Register},     {{"/UNREGSERVER"}, eBandHostAction::Unregister},
        {{"-UnregServer"}, eBandHostAction::Unregister}, {{}, eBandHostAction::Show},
        {{"RegServer"}, eBandHostAction::Show},          {{"--RegServer"}, eBandHostAction::Show},
        {{"-RegServer", "x"}, eBandHostAction::Show},    {{"-"}, eBandHostAction::Show},
    };
    for (const auto& [arguments, action] : cases) {
        EXPECT_EQ(BandHostAction(arguments), action) << (arguments.empty() ? "(none)" : arguments[0]);
    }
}

}  // namespace
