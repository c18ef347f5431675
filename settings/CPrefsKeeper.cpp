#include "settings/CPrefsKeeper.h"

#include <array>
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

// Which chosen programs have their own settings in a stored backup: those
// backed up now, and those still marked from an earlier start (their backup
// is the one to keep).
std::array<bool, std::size(kPrograms)> BackUpChosen(CPrefsKeeper& keeper, const CSysConfig* sys) {
    std::array<bool, std::size(kPrograms)> ready{};
    for (const Index index : kBackupOrder) {
        const Program& program = kPrograms[index];
        if (!Chosen(sys, program)) continue;
        ready[index] = CAppliedMarks::IsApplied(program.mark) || program.backup(keeper) == 0;
    }
    return ready;
}

// The mark is stored before the program changes, so a crash at any point
// of the change leaves a program that the next restore puts back. A change
// that fails changes nothing, and a mark it set goes again.
void PointAtRelay(CPrefsKeeper& keeper, const Program& program, const Target& target) {
    const bool marked = CAppliedMarks::IsApplied(program.mark);
    if (!marked && !CAppliedMarks::SetApplied(program.mark, true)) return;
    if (program.point(keeper, target) != 0 && !marked) CAppliedMarks::SetApplied(program.mark, false);
}

}  // namespace

void CPrefsKeeper::SetAutoConfigSettings(CSettings& s) {
    const CPrivacySettings& privacy = *s.getPrivacySettings();
    const CSysConfig* sys = s.getSysConfig();
    const Target target{static_cast<eProxyType>(privacy.mListenerType), privacy.mListenerPort,
                        s.getGeneralSettings()->getStartingIP(), sys->getAutoKazaaServerUserName(),
                        sys->getAutoKazaaServerPassword()};

    // A program whose backup could not be stored is left as it is: there
    // would be no way back.
    const auto ready = BackUpChosen(*this, sys);

    if (sys->getAutoIE() && (target.type == PROXY_TYPE_HTTP || target.type == PROXY_TYPE_GENERAL)) {
        m_IEConfig.SetToKV(target.type, kRelayAddress, static_cast<unsigned int>(target.port));
    } else {
        m_IEConfig.SetToIE();
    }

    for (std::size_t index = 0; index < std::size(kPrograms); ++index) {
        if (Chosen(sys, kPrograms[index]) && ready[index]) PointAtRelay(*this, kPrograms[index], target);
    }
}

long CPrefsKeeper::BackupConfiguration(CSysConfig* sys) {
    BackUpChosen(*this, sys);
    return 0;
}

long CPrefsKeeper::RestoreConfiguration(CSysConfig*) {
    m_IEConfig.SetToIE();
    for (const Index index : kRestoreOrder) {
        const Program& program = kPrograms[index];
        // Only what the relay changed and has not given back yet: a program
        // never pointed at the relay keeps whatever the user made of it. A
        // failed restore keeps the mark (and the backup) for the next one.
        if (CAppliedMarks::IsApplied(program.mark) && program.restore(*this) == 0) {
            CAppliedMarks::SetApplied(program.mark, false);
        }
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
