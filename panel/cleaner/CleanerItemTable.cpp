#include "panel/cleaner/CleanerItemTable.h"

#include <cstdint>

#include "cleanup/CTraceSweeper.h"
#include "panel/cleaner/CleanerPageIds.h"
#include "settings/CSettings.h"

using namespace cleanerpage;

namespace {

const CCleanupSys& Sys(const CSettings& s) { return s.getCleanupSettings()->mCleanupSys; }
CCleanupSys& Sys(CSettings& s) { return s.getCleanupSettings()->mCleanupSys; }
const CCleanupInternet& Net(const CSettings& s) { return s.getCleanupSettings()->mCleanupInternet; }
CCleanupInternet& Net(CSettings& s) { return s.getCleanupSettings()->mCleanupInternet; }
platform::DWORD Dword(int value) { return static_cast<platform::DWORD>(value); }
std::uint16_t Word(int value) { return static_cast<std::uint16_t>(value); }

}  // namespace

const CleanerItemTable& SystemItemTable() {
    static const CleanerItemTable table{
        IDD_ADV_CLEANER_SYSTEM,
        {{"Menus", 6}, {"Folders", 3}},
        {
            {IDC_RUN_HISTORY, "Run History", 1031, [](const CSettings& s) { return Sys(s).getRun(); },
             [](CSettings& s, int v) { Sys(s).setRun(Dword(v)); }},
            {IDC_FIND_COMPUTERS, "Find Computers", 1032,
             [](const CSettings& s) { return Sys(s).getFindComp(); },
             [](CSettings& s, int v) { Sys(s).setFindComp(Dword(v)); }},
            {IDC_NETWORK, "Clear Network Connections", 1033,
             [](const CSettings& s) { return Sys(s).getNetwork(); },
             [](CSettings& s, int v) { Sys(s).setNetwork(Dword(v)); }},
            {IDC_TELNET, "Telnet History", 1034, [](const CSettings& s) { return Sys(s).getTelnet(); },
             [](CSettings& s, int v) { Sys(s).setTelnet(Dword(v)); }},
            {IDC_LAST_LOGIN, "Last Login", 1035, [](const CSettings& s) { return Sys(s).getLogin(); },
             [](CSettings& s, int v) { Sys(s).setLogin(Dword(v)); }},
            {IDC_FIND_FILES, "Find Files", 1036, [](const CSettings& s) { return Sys(s).getFindFile(); },
             [](CSettings& s, int v) { Sys(s).setFindFile(Dword(v)); }},
            {IDC_RECYCLE_BIN, "Recycle Bin", 1037, [](const CSettings& s) { return Sys(s).getRecycle(); },
             [](CSettings& s, int v) { Sys(s).setRecycle(Dword(v)); }},
            {IDC_TEMP_FOLDER, "Temp Folder", 1038, [](const CSettings& s) { return Sys(s).getTemp(); },
             [](CSettings& s, int v) { Sys(s).setTemp(Dword(v)); }},
            {IDC_RECENT_FOLDER, "Recent Folder", 1039, [](const CSettings& s) { return Sys(s).getRecent(); },
             [](CSettings& s, int v) { Sys(s).setRecent(Dword(v)); }},
        },
        {
            {IDC_NETWORK, &CTraceSweeper::ClearNetworkConnectionsHistory},
            {IDC_FIND_COMPUTERS, &CTraceSweeper::ClearFindComputer},
            {IDC_FIND_FILES, &CTraceSweeper::ClearFindFiles},
            {IDC_LAST_LOGIN, &CTraceSweeper::ClearLastLogonUser},
            {IDC_RECENT_FOLDER, &CTraceSweeper::ClearRecentFolder},
            {IDC_RUN_HISTORY, &CTraceSweeper::ClearRunHistory},
            {IDC_RECYCLE_BIN, &CTraceSweeper::ClearRecycleBin},
            {IDC_TEMP_FOLDER, &CTraceSweeper::ClearTempSysFiles},
            {IDC_TELNET, &CTraceSweeper::ClearTelNetHistory},
        },
        1040,
        0,
    };
    return table;
}

const CleanerItemTable& BrowserItemTable() {
    static const CleanerItemTable table{
        IDD_ADV_CLEANER_IEXPLORER,
        {{"Internet Explorer Cleaner ", 7}},
        {
            {IDC_TEMP_INTERNET, "Temporary Internet Folder", 1023,
             [](const CSettings& s) { return Net(s).getTempFiles(); },
             [](CSettings& s, int v) { Net(s).setTempFiles(Word(v)); }},
            {IDC_COOKIES, "Cookies", 1025, [](const CSettings& s) { return Net(s).getCookies(); },
             [](CSettings& s, int v) { Net(s).setCookies(Word(v)); }},
            {IDC_AUTO_FORMS, "Auto Forms", 1027, [](const CSettings& s) { return Net(s).getAutoForms(); },
             [](CSettings& s, int v) { Net(s).setAutoForms(Word(v)); }},
            {IDC_AUTO_PASSWORDS, "Auto Passwords", 1029,
             [](const CSettings& s) { return Net(s).getAutoPass(); },
             [](CSettings& s, int v) { Net(s).setAutoPass(Word(v)); }},
            {IDC_FAVORITES, "Favorites", 1024, [](const CSettings& s) { return Net(s).getFavourites(); },
             [](CSettings& s, int v) { Net(s).setFavourites(Word(v)); }},
            {IDC_TYPED_URLS, "Typed URL(s)", 1026, [](const CSettings& s) { return Net(s).getURLs(); },
             [](CSettings& s, int v) { Net(s).setURLs(Word(v)); }},
            {IDC_URL_HISTORY, "URL History", 1028, [](const CSettings& s) { return Net(s).getHistory(); },
             [](CSettings& s, int v) { Net(s).setHistory(Word(v)); }},
        },
        {
            {IDC_AUTO_PASSWORDS, &CTraceSweeper::ClearIEAutoPass},
            {IDC_COOKIES, &CTraceSweeper::ClearIECookies},
            {IDC_FAVORITES, &CTraceSweeper::ClearIEFavorites},
            {IDC_AUTO_FORMS, &CTraceSweeper::ClearIEAutoForms},
            {IDC_TEMP_INTERNET, &CTraceSweeper::ClearIETempInternetFiles},
            {IDC_TYPED_URLS, &CTraceSweeper::ClearIETypedURLHistory},
            {IDC_URL_HISTORY, &CTraceSweeper::ClearIEUrlHistory},
        },
        1030,
        IDC_FAVORITES,
    };
    return table;
}

int IndexOfItem(const CleanerItemTable& table, int control) {
    for (std::size_t i = 0; i < table.items.size(); ++i) {
        if (table.items[i].control == control) return static_cast<int>(i);
    }
    return -1;
}
