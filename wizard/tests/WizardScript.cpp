#include "WizardScript.h"

#include <gtest/gtest.h>

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

WizardScript::WizardScript(std::vector<Step> steps, std::chrono::milliseconds limit)
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

// The next tick is scheduled before a step acts: the act may open a page
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

int WizardScript::RunFromWelcome(wizard::CWizardSession& session, std::vector<Step> steps) {
    WizardScript script(std::move(steps));
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

bool WizardScript::TopIs(int dialog) {
    const wizard::CWizPage* page = TopPage();
    return page && page->GetId() == dialog && page->IsShown() && sPaintWatch.painted.contains(page);
}

void WizardScript::Click(int button) {
    wizard::CWizPage* page = TopPage();
    ASSERT_NE(page, nullptr);
    auto* gif = dynamic_cast<wizard::CGifButton*>(page->FindWindow(button));
    ASSERT_NE(gif, nullptr) << button;
    gif->Click();
}

}  // namespace kvtest
