#pragma once
// Drives the wizard's nested modal pages from the outside: a list of steps,
// each done once its condition holds, checked on a short timer that keeps
// running inside every nested modal loop. Bounded: when the limit passes,
// every page still open is ended, so a test can never hang.

#include <chrono>
#include <functional>
#include <set>
#include <vector>

#include <glib.h>
#include <wx/eventfilter.h>

#include "wizard/CWizPage.h"
#include "wizard/CWizardSession.h"

namespace kvtest {

class WizardScript {
public:
    struct Step {
        std::function<bool()> ready;
        std::function<void()> act;
    };

    explicit WizardScript(std::vector<Step> steps, std::chrono::milliseconds limit = std::chrono::seconds(8));
    ~WizardScript();
    WizardScript(const WizardScript&) = delete;
    WizardScript& operator=(const WizardScript&) = delete;

    bool Done() const { return next_ == steps_.size(); }
    bool TimedOut() const { return timedOut_; }

    // Runs the wizard from its welcome page while `steps` drive it; expects
    // every step done and returns the welcome page's result.
    static int RunFromWelcome(wizard::CWizardSession& session, std::vector<Step> steps);

    // The page on top of g_pageStack, if any.
    static wizard::CWizPage* TopPage();
    // The top page is this dialog, shown and painted: its window is on the
    // screen, so no late map notice can undo a hide that follows.
    static bool TopIs(int dialog);
    // A click on a picture button of the top page.
    static void Click(int button);

private:
    static gboolean Tick(gpointer self);
    void Schedule();

    // Which windows have painted, while a script lives.
    class PaintWatch : public wxEventFilter {
    public:
        int FilterEvent(wxEvent& event) override;
        std::set<const wxObject*> painted;
    };
    static PaintWatch sPaintWatch;

    std::vector<Step> steps_;
    std::size_t next_ = 0;
    std::chrono::steady_clock::time_point deadline_;
    guint source_ = 0;
    bool timedOut_ = false;
};

}  // namespace kvtest
