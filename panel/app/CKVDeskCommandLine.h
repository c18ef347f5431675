#pragma once
// The program's command line as the class library's standard parser reads
// it: a flag follows "/" or "-" and is compared without case; the last
// registration flag wins, "Embedding" and "Automation" are kept apart.

#include <string>
#include <vector>

class CKVDeskCommandLine {
public:
    enum class eShellCommand { FileNew, FileOpen, AppRegister, AppUnregister };
    // What the start-up does with the line, in the order it is checked.
    enum class eAction { Automation, Unregister, Register, Panel };

    // arguments without the program name.
    static CKVDeskCommandLine Parse(const std::vector<std::string>& arguments);

    eAction Action() const;
    eShellCommand ShellCommand() const { return m_ShellCommand; }
    bool RunEmbedded() const { return m_bRunEmbedded; }
    bool RunAutomated() const { return m_bRunAutomated; }

private:
    void ParseFlag(const std::string& flag);

    eShellCommand m_ShellCommand = eShellCommand::FileNew;
    bool m_bRunEmbedded = false;
    bool m_bRunAutomated = false;
};
