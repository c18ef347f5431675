#pragma once
// The pattern every wizard page follows: it pushes itself on g_pageStack,
// stands exactly on the page that opened it, shows through its window
// region as a borderless panel with a banner and three picture buttons,
// hides its opener after its hide timer, drags by its body, ignores Escape,
// and leaves through Back, Cancel or the window's close command. Each page
// is a modal dialog opened from its opener's Next handler (OpenNext), so the
// open pages are nested modal loops.

#include <functional>
#include <span>
#include <vector>

#include <wx/dialog.h>
#include <wx/timer.h>

#include "wizard/CDragTracker.h"
#include "wizard/CGifButton.h"
#include "wizard/CPageLoop.h"
#include "wizard/CWizardSession.h"
#include "wizard/IWizardPage.h"
#include "wizard/PageControls.h"
#include "wizard/PageTraits.h"

class CAnimatedGifStatic;

namespace wizard {

class CWizPage : public wxDialog, public IWizardPage {
public:
    // Where the banner ends and the page body starts, in client pixels.
    static constexpr int kBodyTop = 100;

    struct SControlIds {
        int banner;
        int back;
        int next;
        int cancel;
    };

    // The page's group boxes are made here, before any control of the
    // page, and get the bold group font when the page starts.
    CWizPage(CWizardSession& session, int dialog, const SControlIds& ids,
             std::span<const SGroupPlace> groups = {});
    ~CWizPage() override;

    // Set by the opener before the page runs.
    void SetPrevious(CWizPage* previous) { mpPrevious = previous; }
    CWizPage* Previous() const { return mpPrevious; }

    // Runs the page's modal loop; returns its result.
    int RunModal();

    // IWizardPage
    void EndDialog(int result) override;
    IWizardPage* GetPrevious() const override { return mpPrevious; }

    // Shown and hidden without touching the modal loop.
    void ShowPage();
    void HidePage();

    const SPageTraits& Traits() const { return mTraits; }
    CGifButton& BackButton() { return *mBack; }
    CGifButton& NextButton() { return *mNext; }
    CGifButton& CancelButton() { return *mCancel; }
    CAnimatedGifStatic& Banner() { return *mBanner; }

    // The window the quit message ends (the welcome page).
    static void SetMainWindow(CWizPage* page);
    // For platform::MainLoopQueue::Attach: the quit message ends the main
    // window's loop with its exit code.
    static void OnQuitMessage(int exitCode);

protected:
    // Loads the page's own controls; runs once, when the page starts.
    virtual void InitPage() {}

    // Opens the next page over this one and destroys it when it returns.
    template <typename Page>
    void OpenNext();
    // Next stores, then opens Page; Back stores, then the page pattern's
    // Back (bound earlier, so run later) ends the page.
    template <typename Page>
    void BindStoringSteps(std::function<void()> store);

    CWizardSession& Session() { return mSession; }
    // Bold Arial for group and choice boxes.
    static wxFont GroupFont();

private:
    void OnInitPage(wxInitDialogEvent& event);
    void OnBack(wxCommandEvent& event);
    void OnCancel(wxCommandEvent& event);
    void OnClose(wxCloseEvent& event);
    void OnHideTimer(wxTimerEvent& event);
    void OnCharHook(wxKeyEvent& event);
    void OnLeftDown(wxMouseEvent& event);
    void OnMotion(wxMouseEvent& event);
    void OnLeftUp(wxMouseEvent& event);

    bool AskToLeave(const char* question) const;
    // Ends the pages that a Yes on this page ends.
    void Leave();
    void ApplyColours();
    void AfterChildReturned();

    CWizardSession& mSession;
    const SPageTraits& mTraits;
    CWizPage* mpPrevious = nullptr;
    std::vector<int> mGroups;
    CAnimatedGifStatic* mBanner;
    CGifButton* mBack;
    CGifButton* mNext;
    CGifButton* mCancel;
    wxTimer mHideTimer;
    CPageLoop mLoop;
    CDragTracker mDrag;
    bool mStarted = false;
};

template <typename Page>
void CWizPage::OpenNext() {
    mLoop.ChildOpened();
    {
        Page next(mSession);
        next.SetPrevious(this);
        next.RunModal();
    }
    AfterChildReturned();
}

template <typename Page>
void CWizPage::BindStoringSteps(std::function<void()> store) {
    Bind(wxEVT_BUTTON,
         [this, store](wxCommandEvent&) {
             store();
             OpenNext<Page>();
         },
         mNext->GetId());
    Bind(wxEVT_BUTTON,
         [store](wxCommandEvent& event) {
             store();
             event.Skip();
         },
         mBack->GetId());
}

}  // namespace wizard
