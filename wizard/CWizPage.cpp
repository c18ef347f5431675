#include "wizard/CWizPage.h"

#include <string>

#include <wx/checkbox.h>
#include <wx/radiobut.h>
#include <wx/region.h>
#include <wx/statbox.h>
#include <wx/stattext.h>

#include "controls/CAnimatedGifStatic.h"
#include "platform/MessageBox.h"
#include "platform/Messages.h"
#include "platform/Resource.h"
#include "wizard/CPageStack.h"
#include "wizard/DialogIds.h"
#include "wizard/PageColours.h"
#include "wizard/PageGeometry.h"
#include "wizard/WizTexts.h"

namespace wizard {
namespace {

CWizPage* sMainWindow = nullptr;

// The three buttons stand at the bottom right of the region.
constexpr int kButtonsTop = 392;
constexpr int kBackLeft = 262;
constexpr int kNextLeft = 350;
constexpr int kCancelLeft = 440;

wxSize PageSize() {
    const SPoint size = PageSizePixels();
    return {size.x, size.y};
}

}  // namespace

// The size is given at creation only: on a non-resizable window that was
// never shown, wxGTK turns a client size into a size request of 1x1.
CWizPage::CWizPage(CWizardSession& session, int dialog, const SControlIds& ids,
                   std::span<const SGroupPlace> groups)
    : wxDialog(nullptr, dialog, wxString(), wxDefaultPosition, PageSize(),
               wxBORDER_NONE | wxFRAME_SHAPED | wxDIALOG_NO_PARENT),
      mSession(session),
      mTraits(PageTraits(dialog)),
      mBanner(new CAnimatedGifStatic(this, ids.banner, wxPoint(kLeftTopInset, kLeftTopInset))),
      mBack(new CGifButton(this, ids.back, wxPoint(kBackLeft, kButtonsTop))),
      mNext(new CGifButton(this, ids.next, wxPoint(kNextLeft, kButtonsTop))),
      mCancel(new CGifButton(this, ids.cancel, wxPoint(kCancelLeft, kButtonsTop))),
      mHideTimer(this, static_cast<int>(mTraits.hideTimer)) {
    MakeGroups(this, groups);
    for (const SGroupPlace& group : groups) mGroups.push_back(group.id);
    SetEscapeId(wxID_NONE);
    Bind(wxEVT_INIT_DIALOG, &CWizPage::OnInitPage, this);
    if (!mTraits.backInactive) Bind(wxEVT_BUTTON, &CWizPage::OnBack, this, ids.back);
    Bind(wxEVT_BUTTON, &CWizPage::OnCancel, this, ids.cancel);
    Bind(wxEVT_CLOSE_WINDOW, &CWizPage::OnClose, this);
    Bind(wxEVT_TIMER, &CWizPage::OnHideTimer, this);
    Bind(wxEVT_CHAR_HOOK, &CWizPage::OnCharHook, this);
    Bind(wxEVT_LEFT_DOWN, &CWizPage::OnLeftDown, this);
    Bind(wxEVT_MOTION, &CWizPage::OnMotion, this);
    Bind(wxEVT_LEFT_UP, &CWizPage::OnLeftUp, this);
    Bind(wxEVT_MOUSE_CAPTURE_LOST, [this](wxMouseCaptureLostEvent&) { mDrag.Release(); });
}

CWizPage::~CWizPage() {
    if (HasCapture()) ReleaseMouse();
    mHideTimer.Stop();
    g_pageStack.Remove(this);
    if (sMainWindow == this) sMainWindow = nullptr;
}

int CWizPage::RunModal() {
    mLoop.Begin();
    return ShowModal();
}

void CWizPage::EndDialog(int result) {
    if (mLoop.RequestEnd(result)) EndModal(result);
}

void CWizPage::AfterChildReturned() {
    if (const auto pending = mLoop.ChildClosed()) EndModal(*pending);
}

// wxDialog::Show ends a modal loop when it hides; pages under the open one
// are hidden and shown again while their loops go on.
void CWizPage::ShowPage() {
    wxTopLevelWindow::Show(true);
    Raise();
}

void CWizPage::HidePage() { wxTopLevelWindow::Show(false); }

void CWizPage::SetMainWindow(CWizPage* page) { sMainWindow = page; }

void CWizPage::OnQuitMessage(int exitCode) {
    if (!sMainWindow) return;
    sMainWindow->mSession.mExitCode = exitCode;
    sMainWindow->EndDialog(exitCode);
}

wxFont CWizPage::GroupFont() { return wxFont(wxFontInfo(wxSize(10, 10)).FaceName("Arial").Bold()); }

void CWizPage::OnInitPage(wxInitDialogEvent& event) {
    event.Skip();
    if (mStarted) return;
    mStarted = true;
    if (mTraits.setsTitle) SetTitle(kWindowTitle);
    g_pageStack.Push(this);
    const bool skinned = mTraits.dialog != dlg::kWelcome;
    if (skinned) SetBackgroundColour(PageBackground());
    if (mBanner->LoadFromResource(mTraits.banner, "GIF")) mBanner->Draw();
    if (mpPrevious) SetSize(mpPrevious->GetRect());
    const wxSize client = GetClientSize();
    const SRect region = PageRegion(client.x, client.y, mTraits);
    SetShape(wxRegion(region.left, region.top, region.Width(), region.Height()));
    const std::string next = mTraits.nextFace;
    if (mTraits.backInactive) {
        mBack->SetImages("IDR_BACK_INACTIVE", "IDR_BACK_INACTIVE");
    } else {
        mBack->SetImages("IDR_BACK", "IDR_BACK_OVER");
    }
    mNext->SetImages(next, next + "_OVER");
    mCancel->SetImages("IDR_CANCEL", "IDR_CANCEL_OVER");
    for (int group : mGroups) FindWindow(group)->SetFont(GroupFont());
    InitPage();
    if (skinned) ApplyColours();
    if (mTraits.hideTimer != 0) mHideTimer.StartOnce(static_cast<int>(mTraits.hideDelayMs));
}

void CWizPage::ApplyColours() {
    for (wxWindow* child : GetChildren()) {
        if (dynamic_cast<wxCheckBox*>(child) || dynamic_cast<wxStaticBox*>(child) ||
            dynamic_cast<wxStaticText*>(child) || dynamic_cast<wxRadioButton*>(child)) {
            child->SetForegroundColour(PageTextColour());
            child->SetBackgroundColour(PageBackground());
        }
    }
}

void CWizPage::OnBack(wxCommandEvent&) {
    g_pageStack.Pop();
    EndDialog(kPageEndResult);
    if (!mpPrevious) return;
    mpPrevious->SetSize(GetRect());
    mpPrevious->ShowPage();
}

bool CWizPage::AskToLeave(const char* question) const {
    return platform::MessageBox(nullptr, question, text::kCaption, platform::MB_YESNO | platform::MB_ICONQUESTION) ==
           platform::IDYES;
}

void CWizPage::Leave() {
    if (mTraits.cancelScope == eCancelScope::Quit) {
        g_pageStack.Pop();
        platform::PostQuitMessage(kQuitExitCode);
        return;
    }
    for (IWizardPage* page : PagesToEnd(mTraits.cancelScope, this, g_pageStack)) page->EndDialog(kPageEndResult);
}

void CWizPage::OnCancel(wxCommandEvent&) {
    if (AskToLeave(mTraits.cancelText)) Leave();
}

// The close command is the Cancel button's: the same question, and on Yes
// the same pages end, so no page is left without a visible successor.
void CWizPage::OnClose(wxCloseEvent& event) {
    if (!event.CanVeto()) {
        Leave();
        return;
    }
    event.Veto();
    if (!mTraits.closeIgnored && AskToLeave(mTraits.cancelText)) Leave();
}

void CWizPage::OnHideTimer(wxTimerEvent& event) {
    if (event.GetId() != static_cast<int>(mTraits.hideTimer)) {
        event.Skip();
        return;
    }
    mHideTimer.Stop();
    if (mpPrevious && !mpPrevious->mTraits.staysShown) mpPrevious->HidePage();
}

void CWizPage::OnCharHook(wxKeyEvent& event) {
    if (event.GetKeyCode() == WXK_ESCAPE) return;
    event.Skip();
}

// A borderless page's client origin is its window origin, so the pointer's
// screen position is the window's plus the event's.
void CWizPage::OnLeftDown(wxMouseEvent& event) {
    event.Skip();
    const wxPoint window = GetPosition();
    const wxPoint pointer = window + event.GetPosition();
    mDrag.Press({pointer.x, pointer.y}, {window.x, window.y});
    if (!HasCapture()) CaptureMouse();
}

void CWizPage::OnMotion(wxMouseEvent& event) {
    event.Skip();
    const wxPoint pointer = GetPosition() + event.GetPosition();
    if (const auto to = mDrag.Move({pointer.x, pointer.y})) Move(to->x, to->y);
}

void CWizPage::OnLeftUp(wxMouseEvent& event) {
    event.Skip();
    mDrag.Release();
    if (HasCapture()) ReleaseMouse();
}

}  // namespace wizard
