#pragma once
// The one entry to trace cleaning for the control panel and the setup
// wizard: which browsers to clean for, which items a batch Clean runs, one
// operation per trace item, and the folder-level and access-list steps that
// no cleaner class covers. Flags are only ever set, never cleared.

#include <string>
#include <vector>

#include "cleanup/CCleanIE.h"
#include "platform/Registry.h"
#include "platform/Types.h"

enum CLEAN_ITEMS : unsigned long {
    CI_RUN_MRU = 0x0001,
    CI_FIND_COMPUTER = 0x0002,
    CI_NETWORK = 0x0004,
    CI_TELNET = 0x0008,
    CI_LAST_LOGON = 0x0010,
    CI_FIND_FILES = 0x0020,
    CI_RECYCLE_BIN = 0x0040,
    CI_TEMP_SYS_FILES = 0x0080,
    CI_RECENT_FOLDER = 0x0100,
    CI_TEMP_INTERNET_FILES = 0x0200,
    CI_COOKIES = 0x0400,
    CI_URL_HISTORY = 0x0800,
    CI_AUTO_FORMS = 0x1000,
    CI_AUTO_PASS = 0x2000,
    CI_FAVORITES = 0x4000,
    CI_TYPED_URLS = 0x8000,
};

enum CLEAN_BROWSERS : unsigned long {
    CB_IE = 0x1,
    CB_NETSCAPE = 0x2,
    CB_OPERA = 0x4,
};

// What BackupItems and RestoreItems save or put back.
enum BACKUP_RESTORE_ITEMS : int {
    BRI_FAVORITES = 0,
    BRI_TYPED_URLS = 2,
};

class CTraceSweeper {
public:
    CTraceSweeper() = default;
    CTraceSweeper(const CTraceSweeper&) = default;
    CTraceSweeper& operator=(const CTraceSweeper&) = default;

    // Sets the flag of every known bit set in the arguments.
    void SetFlags(unsigned long items, unsigned long browsers);
    // SetFlags, then every item whose flag is set, lowest bit first.
    void Clean(unsigned long items, unsigned long browsers);

    // The item operations ignore the item flags; the browser ones act for
    // each browser whose flag is set.
    bool ClearRunHistory();
    bool ClearFindComputer();
    bool ClearNetworkConnectionsHistory();
    bool ClearTelNetHistory();
    bool ClearLastLogonUser();
    bool ClearFindFiles();
    bool ClearRecycleBin();
    bool ClearTempSysFiles();
    bool ClearRecentFolder();
    bool ClearIETempInternetFiles();
    bool ClearIECookies();
    bool ClearIEUrlHistory();
    bool ClearIEAutoForms();
    bool ClearIEAutoPass();
    bool ClearIEFavorites();
    bool ClearIETypedURLHistory();

    int WipeFile(const std::string& folder, const std::string& name);
    int EmptyDirectory(const std::string& folder);
    // Opera's cache folder (Opera flag), then the system browser's URL
    // cache walk; true only when the walk ran (IE flag) and found entries.
    bool DeleteUrlCache(DEL_CACHE_TYPE type);
    std::string GetNetscapePath();

    // Save the item to a file the user picks, or put it back from one, for
    // each browser whose flag is set (after setting those of browsers), in
    // the order system browser, Opera, Netscape; outcomes are told in
    // message boxes.
    void BackupItems(BACKUP_RESTORE_ITEMS item, unsigned long browsers);
    void RestoreItems(BACKUP_RESTORE_ITEMS item, unsigned long browsers);

    // The access-list steps that let the stored form data be removed.
    // Descriptors are self-relative blobs holding a DACL only, as the
    // registry keeps them; an empty blob is the key's default access.
    bool IsWindowsNTFamily();
    // 1 with the running user's binary SID.
    int GetUserSid(std::vector<platform::BYTE>& sid);
    // "S-1-<authority>-<sub>-..."; empty for a malformed SID.
    std::string GetSidString(const std::vector<platform::BYTE>& sid);
    // 1 with the key's current descriptor; 0 when the key cannot be read.
    int GetOldSD(platform::Hive root, const char* subkey, std::vector<platform::BYTE>& sd);
    // 1 with a descriptor whose DACL gives the user, then LocalSystem, all
    // key access, inherited by subkeys.
    int CreateNewSD(const std::vector<platform::BYTE>& userSid, std::vector<platform::BYTE>& sd);
    // Sets the descriptor on root\subkey, and on all its subkeys when
    // recurse is non-zero; 0 when the key cannot be opened.
    int RegSetPrivilege(platform::Hive root, const char* subkey,
                        const std::vector<platform::BYTE>& sd, int recurse);

    // Item flags, in this order.
    bool mRunHistory = false;
    bool mFindComputer = false;
    bool mNetwork = false;
    bool mTelnet = false;
    bool mLastLogon = false;
    bool mFindFiles = false;
    bool mRecycleBin = false;
    bool mRecentFolder = false;
    bool mTempSysFiles = false;
    bool mTempInternetFiles = false;
    bool mCookies = false;
    bool mUrlHistory = false;
    bool mAutoForms = false;
    bool mAutoPass = false;
    bool mFavorites = false;
    bool mTypedUrls = false;
    // Browser flags.
    bool mIE = false;
    bool mNetscape = false;
    bool mOpera = false;

private:
    void ClearProtectedStorageForms();
    void ClearNetscapeSignons();
};
