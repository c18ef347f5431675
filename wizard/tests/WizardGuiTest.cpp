#include "WizardGuiTest.h"

#include <gtest/gtest.h>

#include "GuiTest.h"
#include "platform/MainLoopQueue.h"
#include "wizard/DialogIds.h"
#include "wizard/PageGeometry.h"

namespace kvtest {

using namespace wizard;

void WizardGuiTest::SetUp() {
    platform::MainLoopQueue::Attach(&CWizPage::OnQuitMessage);
    const auto folder = root() / "bin";
    for (const char* program : {"KVSweep", "xdg-open"}) {
        const auto args = root() / (std::string(program) + "-args");
        WriteFile(folder / program, "#!/bin/sh\nfor a in \"$@\"; do echo \"$a\"; done > \"" + args.string() +
                                        ".tmp\"\nmv \"" + args.string() + ".tmp\" \"" + args.string() + "\"\n");
        std::filesystem::permissions(folder / program, std::filesystem::perms::owner_all);
    }
    session_.mStarterFolder = folder;
    previousPacer_ = CWizCleaningDlg::SetPacer([](unsigned) {});
}

void WizardGuiTest::TearDown() {
    CWizCleaningDlg::SetPacer(previousPacer_);
    platform::MainLoopQueue::Attach();
}

int WizardGuiTest::RunWizard(Steps steps, std::chrono::milliseconds limit) {
    return WizardScript::RunFromWelcome(session_, std::move(steps), limit);
}

std::string WizardGuiTest::StartedWith(const std::string& program) {
    const auto file = root() / (program + "-args");
    PumpUiUntil([&] { return std::filesystem::exists(file); }, std::chrono::seconds(5));
    return ReadFile(file);
}

void WizardGuiTest::Append(Steps& steps, Steps more) {
    for (auto& step : more) steps.push_back(std::move(step));
}

WizardGuiTest::Steps WizardGuiTest::ToSetupType() {
    return {
        {[] { return WizardScript::TopIs(dlg::kWelcome); }, [] { WizardScript::Click(welcome::kNext); }},
        {[] { return WizardScript::TopIs(dlg::kAutoConfig); }, [] { WizardScript::Click(autoconfig::kNext); }},
    };
}

WizardGuiTest::Steps WizardGuiTest::ToProxyPage() {
    Steps steps = ToSetupType();
    Append(steps, WizardScript::SetBox(dlg::kSetupType, setuptype::kCustom, true));
    steps.push_back(
        {[] { return WizardScript::TopIs(dlg::kSetupType); }, [] { WizardScript::Click(setuptype::kNext); }});
    return steps;
}

WizardGuiTest::Step WizardGuiTest::CheckPage(int dialog) {
    return {[dialog] { return WizardScript::TopIs(dialog); },
            [dialog] {
                EXPECT_TRUE(WizardScript::LaidOut(*WizardScript::TopPage(), PageSize())) << "page " << dialog;
            }};
}

wxSize WizardGuiTest::PageSize() { return {PageSizePixels().x, PageSizePixels().y}; }

}  // namespace kvtest
