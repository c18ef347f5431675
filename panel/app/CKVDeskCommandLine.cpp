#include "panel/app/CKVDeskCommandLine.h"

#include <strings.h>

namespace {

bool Same(const std::string& a, const char* b) { return ::strcasecmp(a.c_str(), b) == 0; }

}  // namespace

CKVDeskCommandLine CKVDeskCommandLine::Parse(const std::vector<std::string>& arguments) {
    CKVDeskCommandLine line;
    for (const std::string& argument : arguments) {
        if (!argument.empty() && (argument[0] == '/' || argument[0] == '-')) {
            line.ParseFlag(argument.substr(1));
        } else if (!argument.empty() && line.m_ShellCommand == eShellCommand::FileNew) {
            line.m_ShellCommand = eShellCommand::FileOpen;
        }
    }
    return line;
}

void CKVDeskCommandLine::ParseFlag(const std::string& flag) {
    if (Same(flag, "Embedding")) {
        m_bRunEmbedded = true;
    } else if (Same(flag, "Automation")) {
        m_bRunAutomated = true;
    } else if (Same(flag, "Unregister") || Same(flag, "Unregserver")) {
        m_ShellCommand = eShellCommand::AppUnregister;
    } else if (Same(flag, "Register") || Same(flag, "Regserver")) {
        m_ShellCommand = eShellCommand::AppRegister;
    }
}

CKVDeskCommandLine::eAction CKVDeskCommandLine::Action() const {
    if (m_bRunEmbedded || m_bRunAutomated) return eAction::Automation;
    if (m_ShellCommand == eShellCommand::AppUnregister) return eAction::Unregister;
    if (m_ShellCommand == eShellCommand::AppRegister) return eAction::Register;
    return eAction::Panel;
}
