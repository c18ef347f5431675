#pragma once
// Drives the wizard's nested modal pages from the outside: a list of steps,
// each done once its condition holds, checked on a short timer that keeps
// running inside every nested modal loop. Clicks and keys are real: the X
// server makes them where the control lies on the screen, and a later step
// waits for what they do. Bounded: when the limit passes, every page still
// open is ended, so a test can never hang.

#include <chrono>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include <glib.h>
#include <wx/eventfilter.h>
#include <wx/toplevel.h>

#include "ScreenCheck.h"
#include "wizard/CWizPage.h"
#include "wizard/CWizardSession.h"

namespace kvtest {

class WizardScript {
public:
    struct Step {
        std::function<bool()> ready;
        std::function<void()> act;
    };
    using Steps = std::vector<Step>;

    explicit WizardScript(Steps steps, std::chrono::milliseconds limit = std::chrono::seconds(20));
    ~WizardScript();
    WizardScript(const WizardScript&) = delete;
    WizardScript& operator=(const WizardScript&) = delete;

    bool Done() const { return next_ == steps_.size(); }
    bool TimedOut() const { return timedOut_; }

    // Runs the wizard from its welcome page while `steps` drive it; expects
    // every step done and returns the welcome page's result.
    static int RunFromWelcome(wizard::CWizardSession& session, Steps steps,
                              std::chrono::milliseconds limit = std::chrono::seconds(20));

    // The page on top of g_pageStack, if any.
    static wizard::CWizPage* TopPage();
    // The window is on the screen: shown, painted since, and viewable on
    // the X server, so a click lands on it and no late map notice can undo
    // a hide that follows.
    static bool OnScreen(const wxTopLevelWindow& window);
    // The top page is this dialog, on the screen.
    static bool TopIs(int dialog);
    // The top-level window with this id, when it is on the screen.
    static wxTopLevelWindow* ShownDialog(int dialog);
    // A real click on a control of the top page (a picture button, a box).
    static void Click(int control);
    // A real click on a control of another window (a side dialog).
    static void ClickIn(wxWindow& window, int control);
    // Steps that leave a check box of a page in a state once the page is
    // on top: a real click when it is in the other one, then a wait until it
    // shows the state.
    static Steps SetBox(int dialog, int box, bool checked);
    // The on-screen check of a shown window against its template's size.
    static ::testing::AssertionResult LaidOut(const wxTopLevelWindow& window, const wxSize& templateSize);

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

    Steps steps_;
    std::size_t next_ = 0;
    std::chrono::steady_clock::time_point deadline_;
    guint source_ = 0;
    bool timedOut_ = false;
};

}  // namespace kvtest
