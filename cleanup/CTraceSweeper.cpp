#include "cleanup/CTraceSweeper.h"

#include <optional>
#include <string>

#include "cleanup/CClearFindComputerHistory.h"
#include "cleanup/CClearFindFile.h"
#include "cleanup/CClearLastLogon.h"
#include "cleanup/CClearNetworkHistory.h"
#include "cleanup/CClearTelNet.h"
#include "cleanup/CClearTemporaryInternetFiles.h"
#include "cleanup/CEmptyRecycleBin.h"
#include "cleanup/CIEClearHistory.h"
#include "cleanup/CIECookies.h"
#include "cleanup/CIEFavroits.h"
#include "cleanup/CIETypedUrls.h"
#include "cleanup/CNetscapeCookies.h"
#include "cleanup/CNetscapeHistory.h"
#include "cleanup/COperaCookies.h"
#include "cleanup/COperaTempFiles.h"
#include "cleanup/COperaTypedUrls.h"
#include "cleanup/NetscapeProfile.h"
#include "cleanup/TraceTable.h"
#include "platform/FileFind.h"
#include "platform/FileOps.h"
#include "platform/NoCasePath.h"
#include "platform/Root.h"

namespace {

using namespace cleanup;
using platform::HKEY_CURRENT_USER;

struct Item {
    unsigned long bit;
    bool CTraceSweeper::*flag;
    bool (CTraceSweeper::*clear)();
};

// In ascending bit order, the order Clean runs them.
constexpr Item kItems[] = {
    {CI_RUN_MRU, &CTraceSweeper::mRunHistory, &CTraceSweeper::ClearRunHistory},
    {CI_FIND_COMPUTER, &CTraceSweeper::mFindComputer, &CTraceSweeper::ClearFindComputer},
    {CI_NETWORK, &CTraceSweeper::mNetwork, &CTraceSweeper::ClearNetworkConnectionsHistory},
    {CI_TELNET, &CTraceSweeper::mTelnet, &CTraceSweeper::ClearTelNetHistory},
    {CI_LAST_LOGON, &CTraceSweeper::mLastLogon, &CTraceSweeper::ClearLastLogonUser},
    {CI_FIND_FILES, &CTraceSweeper::mFindFiles, &CTraceSweeper::ClearFindFiles},
    {CI_RECYCLE_BIN, &CTraceSweeper::mRecycleBin, &CTraceSweeper::ClearRecycleBin},
    {CI_TEMP_SYS_FILES, &CTraceSweeper::mTempSysFiles, &CTraceSweeper::ClearTempSysFiles},
    {CI_RECENT_FOLDER, &CTraceSweeper::mRecentFolder, &CTraceSweeper::ClearRecentFolder},
    {CI_TEMP_INTERNET_FILES, &CTraceSweeper::mTempInternetFiles,
     &CTraceSweeper::ClearIETempInternetFiles},
    {CI_COOKIES, &CTraceSweeper::mCookies, &CTraceSweeper::ClearIECookies},
    {CI_URL_HISTORY, &CTraceSweeper::mUrlHistory, &CTraceSweeper::ClearIEUrlHistory},
    {CI_AUTO_FORMS, &CTraceSweeper::mAutoForms, &CTraceSweeper::ClearIEAutoForms},
    {CI_AUTO_PASS, &CTraceSweeper::mAutoPass, &CTraceSweeper::ClearIEAutoPass},
    {CI_FAVORITES, &CTraceSweeper::mFavorites, &CTraceSweeper::ClearIEFavorites},
    {CI_TYPED_URLS, &CTraceSweeper::mTypedUrls, &CTraceSweeper::ClearIETypedURLHistory},
};

struct Browser {
    unsigned long bit;
    bool CTraceSweeper::*flag;
};

constexpr Browser kBrowsers[] = {
    {CB_IE, &CTraceSweeper::mIE},
    {CB_NETSCAPE, &CTraceSweeper::mNetscape},
    {CB_OPERA, &CTraceSweeper::mOpera},
};

constexpr Trace kRunHistory[] = {
    Key(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RunMRU"),
};
constexpr Trace kTempSysFiles[] = {
    ShellContent(platform::CSIDL_PROFILE, "Local Settings\\temp"),
};
constexpr Trace kRecentFolder[] = {
    ShellContent(platform::CSIDL_RECENT),
    Key(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RecentDocs"),
};
constexpr Trace kIntelliForms[] = {
    Key(HKEY_CURRENT_USER, "Software\\Microsoft\\Internet Explorer\\IntelliForms"),
};

template <typename Cleaner>
bool Run() {
    return Cleaner().Clear(true);
}

// Opera's folder as its key tells it; the key is made when it is missing.
std::optional<std::string> OperaLastDirectory() {
    platform::RegKey opera;
    std::string folder;
    if (opera.Create(HKEY_CURRENT_USER, "Software\\Opera Software") != platform::ERROR_SUCCESS ||
        opera.QueryStringValue("Last Directory2", folder) != platform::ERROR_SUCCESS)
        return std::nullopt;
    return folder;
}

}  // namespace

void CTraceSweeper::SetFlags(unsigned long items, unsigned long browsers) {
    for (const Item& item : kItems)
        if (items & item.bit) this->*item.flag = true;
    for (const Browser& browser : kBrowsers)
        if (browsers & browser.bit) this->*browser.flag = true;
}

void CTraceSweeper::Clean(unsigned long items, unsigned long browsers) {
    SetFlags(items, browsers);
    for (const Item& item : kItems)
        if (this->*item.flag) (this->*item.clear)();
}

bool CTraceSweeper::ClearRunHistory() {
    SweepTraces(kRunHistory);
    return true;
}

bool CTraceSweeper::ClearFindComputer() {
    Run<CClearFindComputerHistory>();
    return true;
}

bool CTraceSweeper::ClearNetworkConnectionsHistory() { return Run<CClearNetworkHistory>(); }

bool CTraceSweeper::ClearTelNetHistory() {
    Run<CClearTelNet>();
    return true;
}

bool CTraceSweeper::ClearLastLogonUser() {
    Run<CClearLastLogon>();
    return true;
}

bool CTraceSweeper::ClearFindFiles() {
    Run<CClearFindFile>();
    return true;
}

bool CTraceSweeper::ClearRecycleBin() { return Run<CEmptyRecycleBin>(); }

bool CTraceSweeper::ClearTempSysFiles() {
    SweepTraces(kTempSysFiles);
    return true;
}

bool CTraceSweeper::ClearRecentFolder() {
    SweepTraces(kRecentFolder);
    return true;
}

bool CTraceSweeper::ClearIETempInternetFiles() {
    if (mIE) Run<CClearTemporaryInternetFiles>();
    if (mOpera) Run<COperaTempFiles>();
    return true;
}

bool CTraceSweeper::ClearIECookies() {
    if (mIE) Run<CIECookies>();
    if (mOpera) Run<COperaCookies>();
    if (mNetscape) Run<CNetscapeCookies>();
    return true;
}

bool CTraceSweeper::ClearIEUrlHistory() {
    if (mIE) Run<CIEClearHistory>();
    if (mNetscape) Run<CNetscapeHistory>();
    return true;
}

bool CTraceSweeper::ClearIEAutoForms() {
    if (mIE) ClearProtectedStorageForms();
    if (mNetscape) ClearNetscapeSignons();
    return true;
}

// Opera keeps no password store that this cleaner removes: its step only
// looks its folder up.
bool CTraceSweeper::ClearIEAutoPass() {
    if (mIE) SweepTraces(kIntelliForms);
    if (mOpera) OperaLastDirectory();
    if (mNetscape) ClearNetscapeSignons();
    return true;
}

bool CTraceSweeper::ClearIEFavorites() {
    if (mIE) Run<CIEFavroits>();
    return true;
}

bool CTraceSweeper::ClearIETypedURLHistory() {
    if (mIE) Run<CIETypedUrls>();
    if (mOpera) Run<COperaTypedUrls>();
    if (mNetscape) Run<CNetscapeHistory>();
    return true;
}

int CTraceSweeper::WipeFile(const std::string& folder, const std::string& name) {
    return CCleanIE().WipeFile(folder, name);
}

int CTraceSweeper::EmptyDirectory(const std::string& folder) {
    return CCleanIE().EmptyDirectory(folder);
}

bool CTraceSweeper::DeleteUrlCache(DEL_CACHE_TYPE type) {
    if (mOpera) {
        if (const auto folder = OperaLastDirectory())
            if (const auto cache = platform::MapWindowsPath(*folder + "\\Cache4"))
                EmptyDirectory(cache->string());
    }
    return mIE && CCleanIE().DeleteUrlCache(type);
}

std::string CTraceSweeper::GetNetscapePath() { return cleanup::GetNetscapePath(); }

// Only the first match goes, as the browser keeps one sign-on file.
void CTraceSweeper::ClearNetscapeSignons() {
    const std::string path = GetNetscapePath();
    if (path.empty()) return;
    for (const platform::FindData& entry : platform::FindFiles(path, "*.s")) {
        if (entry.IsDots()) continue;
        if (const auto file = platform::JoinBelowRoot(path, entry.name))
            platform::DeleteFile(*file);
        return;
    }
}
