#include "settings/CPrefsKeeper.h"

#include <cstring>

#include "platform/Root.h"
#include "settings/CAppliedMarks.h"
#include "settings/ConfigKeys.h"

namespace {

constexpr const char* kRelayAddress = "127.0.0.1";
constexpr std::size_t kUninstallBuffer = 260;

// What SetToKV of each program is given.
struct Target {
    eProxyType type;
    unsigned long port;
    const char* startingAddress;
    const char* kazaaUserName;
    const char* kazaaPassword;
};

// One configured program: its mark, its flag and its three operations.
struct Program {
    const char* mark;
    bool (CSysConfig::*chosen)() const;
    long (*backup)(CPrefsKeeper&);
    long (*restore)(CPrefsKeeper&);
    long (*point)(CPrefsKeeper&, const Target&);
};

enum Index { kNetscape, kMSN, kYahoo, kMirc, kWSFTP, kCuteFtp, kKazaa, kOpera };

// In the order programs are pointed at the relay.
constexpr Program kPrograms[] = {
    {"Netscape", &CSysConfig::getAutoNetscape, [](CPrefsKeeper& k) { return k.m_NetscapeConfig.Backup(); },
     [](CPrefsKeeper& k) { return k.m_NetscapeConfig.Restore(); },
     [](CPrefsKeeper& k, const Target& t) { return k.m_NetscapeConfig.SetToKV(t.type, kRelayAddress, t.port); }},
    {"MSN", &CSysConfig::getAutoMSN, [](CPrefsKeeper& k) { return k.m_MSNConfig.Backup(); },
     [](CPrefsKeeper& k) { return k.m_MSNConfig.Restore(); },
     [](CPrefsKeeper& k, const Target& t) { return k.m_MSNConfig.SetToKV(t.type, kRelayAddress, t.port); }},
    {"Yahoo", &CSysConfig::getAutoYahooIM, [](CPrefsKeeper& k) { return k.m_YahooConfig.Backup(); },
     [](CPrefsKeeper& k) { return k.m_YahooConfig.Restore(); },
     [](CPrefsKeeper& k, const Target& t) { return k.m_YahooConfig.SetToKV(t.type, kRelayAddress, t.port); }},
    {"Mirc", &CSysConfig::getAutoCuteMirc, [](CPrefsKeeper& k) { return k.m_MircConfig.Backup(); },
     [](CPrefsKeeper& k) { return k.m_MircConfig.Restore(); },
     [](CPrefsKeeper& k, const Target& t) {
         return k.m_MircConfig.SetToKV(t.type, 1, t.startingAddress, static_cast<unsigned int>(t.port), kRelayAddress);
     }},
    {"WS_FTP", &CSysConfig::getAutoWsFTP, [](CPrefsKeeper& k) { return k.m_WSFTPConfig.Backup(); },
     [](CPrefsKeeper& k) { return k.m_WSFTPConfig.Restore(); },
     [](CPrefsKeeper& k, const Target& t) {
         return k.m_WSFTPConfig.SetToKV(1, t.startingAddress, static_cast<unsigned int>(t.port), t.type);
     }},
    {"CuteFtp", &CSysConfig::getAutoCuteFtp, [](CPrefsKeeper& k) { return k.m_CuteFtpConfig.Backup(); },
     [](CPrefsKeeper& k) { return k.m_CuteFtpConfig.Restore(); },
     [](CPrefsKeeper& k, const Target& t) {
         return k.m_CuteFtpConfig.SetToKV(kRelayAddress, static_cast<unsigned int>(t.port), t.type);
     }},
    {"Kazaa", &CSysConfig::getAutoKaza, [](CPrefsKeeper& k) { return k.m_KAZAAConfig.Backup(); },
     [](CPrefsKeeper& k) { return k.m_KAZAAConfig.Restore(); },
     [](CPrefsKeeper& k, const Target& t) {
         return k.m_KAZAAConfig.SetToKV(t.type, kRelayAddress, t.port, t.kazaaUserName, t.kazaaPassword);
     }},
    {"Opera", &CSysConfig::getAutoOpera, [](CPrefsKeeper& k) { return k.m_OperaConfig.Backup(); },
     [](CPrefsKeeper& k) { return k.m_OperaConfig.Restore(); },
     [](CPrefsKeeper& k, const Target& t) { return k.m_OperaConfig.SetToKV(t.type, kRelayAddress, t.port); }},
};

constexpr Index kBackupOrder[] = {kOpera, kMirc, kWSFTP, kNetscape, kYahoo, kCuteFtp, kMSN, kKazaa};
constexpr Index kRestoreOrder[] = {kYahoo, kMSN, kCuteFtp, kKazaa, kOpera, kMirc, kWSFTP, kNetscape};

bool Chosen(const CSysConfig* sys, const Program& program) { return sys && (sys->*program.chosen)(); }

}  // namespace

void CPrefsKeeper::SetAutoConfigSettings(CSettings& s) {
    const CPrivacySettings& privacy = *s.getPrivacySettings();
    const CSysConfig* sys = s.getSysConfig();
    const Target target{static_cast<eProxyType>(privacy.mListenerType), privacy.mListenerPort,
                        s.getGeneralSettings()->getStartingIP(), sys->getAutoKazaaServerUserName(),
                        sys->getAutoKazaaServerPassword()};

    BackupConfiguration(s.getSysConfig());

    if (sys->getAutoIE() && (target.type == PROXY_TYPE_HTTP || target.type == PROXY_TYPE_GENERAL)) {
        m_IEConfig.SetToKV(target.type, kRelayAddress, static_cast<unsigned int>(target.port));
    } else {
        m_IEConfig.SetToIE();
    }

    for (const Program& program : kPrograms) {
        if (Chosen(sys, program) && program.point(*this, target) == 0) CAppliedMarks::SetApplied(program.mark, true);
    }
}

long CPrefsKeeper::BackupConfiguration(CSysConfig* sys) {
    for (const Index index : kBackupOrder) {
        const Program& program = kPrograms[index];
        // A marked program holds the relay's settings, not the user's.
        if (Chosen(sys, program) && !CAppliedMarks::IsApplied(program.mark)) program.backup(*this);
    }
    return 0;
}

long CPrefsKeeper::RestoreConfiguration(CSysConfig* sys) {
    m_IEConfig.SetToIE();
    for (const Index index : kRestoreOrder) {
        const Program& program = kPrograms[index];
        const bool applied = CAppliedMarks::IsApplied(program.mark);
        if (!Chosen(sys, program) && !applied) continue;
        // A failed restore keeps the mark: the program may still point at
        // the relay, and its backup must not be replaced.
        if (program.restore(*this) == 0 && applied) CAppliedMarks::SetApplied(program.mark, false);
    }
    return 0;
}

platform::PFNSHGETFOLDERPATHA CPrefsKeeper::GetFuncPtr_SHGetFolderPathA() {
    return reinterpret_cast<platform::PFNSHGETFOLDERPATHA>(platform::ShFolderProcAddress("SHGetFolderPathA"));
}

std::string CPrefsKeeper::GetBackupFolderPath() {
    const platform::PFNSHGETFOLDERPATHA getFolderPath = GetFuncPtr_SHGetFolderPathA();
    if (!getFolderPath) return {};
    char path[platform::MAX_PATH] = {};
    if (getFolderPath(nullptr, platform::CSIDL_APPDATA, nullptr, platform::SHGFP_TYPE_CURRENT, path) != platform::S_OK) {
        return {};
    }
    std::string folder(path);
    while (folder.size() > 1 && (folder.back() == '/' || folder.back() == '\\')) folder.pop_back();
    return folder;
}

int CPrefsKeeper::IsProgramInstalled(const char* subKey, const char* marker, std::string* path) {
    const auto uninstall = configkeys::UninstallString(subKey ? subKey : "", kUninstallBuffer);
    if (!uninstall) {
        if (path) path->clear();
        return 0;
    }
    if (path) {
        *path = *uninstall;
        if (marker && *marker) {
            const std::size_t at = path->find(marker);
            if (at != std::string::npos) path->resize(at + std::strlen(marker));
        }
    }
    return 1;
}
