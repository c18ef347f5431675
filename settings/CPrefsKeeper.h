#pragma once
// The client-program configurators behind one interface: back up the chosen
// programs' proxy settings, point them at the local listener, and put their
// own settings back. A start is crash-safe: each program's exact backup is
// stored, then its mark (CAppliedMarks), and only then is it changed, so a
// start or stop after a crash at any point gives every program exactly what
// it had. Only marked programs are restored, and a marked one is never
// backed up again. Making the object changes nothing.

#include <string>

#include "platform/ShFolder.h"
#include "settings/CCuteFtpConfig.h"
#include "settings/CIEConfig.h"
#include "settings/CKAZAAConfig.h"
#include "settings/CMSNConfig.h"
#include "settings/CMircConfig.h"
#include "settings/CNetscapeConfig.h"
#include "settings/COperaConfig.h"
#include "settings/CSettings.h"
#include "settings/CWSFTPConfig.h"
#include "settings/CYahooConfig.h"

class CPrefsKeeper {
public:
    CPrefsKeeper() = default;
    CPrefsKeeper(const CPrefsKeeper&) = default;
    CPrefsKeeper& operator=(const CPrefsKeeper&) = default;
    virtual ~CPrefsKeeper() = default;

    // Backs up, then points every chosen program at 127.0.0.1 and the
    // listener port of s in the form its listener type needs; a program
    // whose backup cannot be stored is left alone.
    void SetAutoConfigSettings(CSettings& s);
    // Backs up every chosen program that is not pointed at the relay. 0.
    long BackupConfiguration(CSysConfig* sys);
    // Gives every program the relay pointed at it, and only those, its own
    // settings back (the system browser first), whatever sys chooses. 0.
    long RestoreConfiguration(CSysConfig* sys);

    int IsIEInstalled() { return 1; }
    // eDonkey has a stored flag only; nothing configures it.
    int IsEDonkeyInstalled() { return 0; }

    // The current user's application-data folder, without a trailing
    // separator; empty when SHGetFolderPathA is missing or fails.
    static std::string GetBackupFolderPath();
    // SHGetFolderPathA of "SHFolder.dll" (loaded on first use and kept);
    // null when the library or the function is missing.
    static platform::PFNSHGETFOLDERPATHA GetFuncPtr_SHGetFolderPathA();
    // 1 when HKLM\subKey has a readable "UninstallString". path (when given)
    // receives it, cut right after the first marker when a marker is given
    // and found; it is emptied when the result is 0.
    static int IsProgramInstalled(const char* subKey, const char* marker, std::string* path);

    CIEConfig m_IEConfig;
    CMSNConfig m_MSNConfig;
    COperaConfig m_OperaConfig;
    CCuteFtpConfig m_CuteFtpConfig;
    CWSFTPConfig m_WSFTPConfig;
    CNetscapeConfig m_NetscapeConfig;
    CYahooConfig m_YahooConfig;
    CKAZAAConfig m_KAZAAConfig;
    CMircConfig m_MircConfig;
};
