#include "WizardScript.h"

#include <gtest/gtest.h>

#include <wx/checkbox.h>

#include "CXServer.h"
#include "ControlLayout.h"
#include "RealInput.h"
#include "wizard/CPageStack.h"
#include "wizard/CWizWelcomeDlg.h"

namespace kvtest {
namespace {
constexpr guint kTickMs = 10;
}  // namespace

WizardScript::PaintWatch WizardScript::sPaintWatch;

int WizardScript::PaintWatch::FilterEvent(wxEvent& event) {
    if (event.GetEventType() == wxEVT_PAINT) painted.insert(event.GetEventObject());
    if (event.GetEventType() == wxEVT_DESTROY) painted.erase(event.GetEventObject());
    return Event_Skip;
}

WizardScript::WizardScript(Steps steps, std::chrono::milliseconds limit)
    : steps_(std::move(steps)), deadline_(std::chrono::steady_clock::now() + limit) {
    wxEvtHandler::AddFilter(&sPaintWatch);
    Schedule();
}

WizardScript::~WizardScript() {
    if (source_ != 0) g_source_remove(source_);
    wxEvtHandler::RemoveFilter(&sPaintWatch);
    sPaintWatch.painted.clear();
}

void WizardScript::Schedule() { source_ = g_timeout_add(kTickMs, &WizardScript::Tick, this); }

// The next tick is scheduled before a step acts: the act may open a window
// whose modal loop runs inside this call.
gboolean WizardScript::Tick(gpointer self) {
    auto* script = static_cast<WizardScript*>(self);
    script->source_ = 0;
    if (std::chrono::steady_clock::now() >= script->deadline_) {
        script->timedOut_ = true;
        for (std::size_t i = 0; i < wizard::g_pageStack.Count(); ++i) {
            wizard::g_pageStack.At(i)->EndDialog(wizard::kPageEndResult);
        }
        ADD_FAILURE() << "wizard script timed out at step " << script->next_;
        return G_SOURCE_REMOVE;
    }
    script->Schedule();
    if (!script->Done() && script->steps_[script->next_].ready()) {
        const auto act = script->steps_[script->next_++].act;
        act();
    }
    return G_SOURCE_REMOVE;
}

int WizardScript::RunFromWelcome(wizard::CWizardSession& session, Steps steps, std::chrono::milliseconds limit) {
    WizardScript script(std::move(steps), limit);
    wizard::CWizWelcomeDlg welcome(session);
    wizard::CWizPage::SetMainWindow(&welcome);
    const int result = welcome.RunModal();
    EXPECT_TRUE(script.Done());
    return result;
}

wizard::CWizPage* WizardScript::TopPage() {
    const std::size_t count = wizard::g_pageStack.Count();
    return count ? dynamic_cast<wizard::CWizPage*>(wizard::g_pageStack.At(count - 1)) : nullptr;
}

bool WizardScript::OnScreen(const wxTopLevelWindow& window) {
    if (!window.IsShown() || !sPaintWatch.painted.contains(&window)) return false;
    const std::uint32_t id = XWindowOf(window);
    return id != 0 && CXServer().Window(id).viewable;
}

bool WizardScript::TopIs(int dialog) {
    const wizard::CWizPage* page = TopPage();
    return page && page->GetId() == dialog && OnScreen(*page);
}

wxTopLevelWindow* WizardScript::ShownDialog(int dialog) {
    auto* window = dynamic_cast<wxTopLevelWindow*>(wxWindow::FindWindowById(dialog));
    return window && OnScreen(*window) ? window : nullptr;
}

void WizardScript::Click(int control) {
    wizard::CWizPage* page = TopPage();
    ASSERT_NE(page, nullptr);
    wxWindow* target = page->FindWindow(control);
    ASSERT_NE(target, nullptr) << control;
    ClickOnScreen(*target);
}

void WizardScript::ClickIn(wxWindow& window, int control) {
    wxWindow* target = window.FindWindow(control);
    ASSERT_NE(target, nullptr) << control;
    ClickOnScreen(*target);
}

WizardScript::Steps WizardScript::SetBox(int dialog, int box, bool checked) {
    const auto value = [box] {
        const auto* check = dynamic_cast<const wxCheckBox*>(TopPage()->FindWindow(box));
        return check && check->GetValue();
    };
    return {{[dialog] { return TopIs(dialog); },
             [=] {
                 if (value() != checked) Click(box);
             }},
            {[=] { return TopIs(dialog) && value() == checked; }, [] {}}};
}

::testing::AssertionResult WizardScript::LaidOut(const wxTopLevelWindow& window, const wxSize& templateSize) {
    return IsLaidOutOnScreen(window, {.minClientSize = templateSize});
}

}  // namespace kvtest
