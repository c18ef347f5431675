#pragma once
// The fixture of the tests that run the real wizard on a virtual display:
// its own root, the platform queue carried by the toolkit's loop, a starter
// folder whose programs (the cleaner, the desktop's opener) only record how
// they were started, and Run Now's pauses skipped unless a test sets its
// own pacer.

#include <chrono>
#include <filesystem>
#include <string>

#include <wx/gdicmn.h>

#include "WizardScript.h"
#include "support/TempRoot.h"
#include "wizard/CWizCleaningDlg.h"
#include "wizard/CWizardSession.h"

namespace kvtest {

class WizardGuiTest : public RootedTest {
protected:
    using Step = WizardScript::Step;
    using Steps = WizardScript::Steps;

    void SetUp() override;
    void TearDown() override;

    // Runs the wizard from its welcome page while the steps drive it.
    int RunWizard(Steps steps, std::chrono::milliseconds limit = std::chrono::seconds(20));

    // The arguments the starter folder's program got, one per line, once it
    // has run (empty when it did not run within a few seconds).
    std::string StartedWith(const std::string& program);

    static void Append(Steps& steps, Steps more);
    // Welcome and auto-configuration with Next.
    static Steps ToSetupType();
    // Then the custom choice with Next.
    static Steps ToProxyPage();
    // The top page is this dialog, on the screen; then the on-screen check.
    static Step CheckPage(int dialog);
    // Every page's template size.
    static wxSize PageSize();

    wizard::CWizardSession session_;

private:
    wizard::CWizCleaningDlg::Pacer previousPacer_;
};

}  // namespace kvtest
