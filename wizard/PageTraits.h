#pragma once
// What sets the wizard's pages apart within the one page pattern: banner,
// window region, hide timer, what Cancel ends and the questions asked. A
// new page adds its row to the table in PageTraits.cpp.

#include <vector>

#include "wizard/CPageStack.h"
#include "wizard/IWizardPage.h"

namespace wizard {

// Which pages a Yes to the leave question ends.
enum class eCancelScope {
    Quit,                // pop the page and post the quit message (welcome page)
    SelfAndPrevious,     // the page and the page that opened it
    SelfAndTwoPrevious,  // and that page's opener
    WholeStack,          // every page on g_pageStack
};

inline constexpr unsigned kHideTimer = 1971980;       // 0x1E170C
inline constexpr unsigned kHideTimerShort = 1971981;  // 0x1E170D
inline constexpr int kQuitExitCode = 18;

struct SPageTraits {
    int dialog;
    unsigned banner;  // numbered "GIF" resource
    int insetRight;   // window region insets, client pixels
    int insetBottom;
    unsigned hideTimer;  // 0: none
    unsigned hideDelayMs;
    bool staysShown;  // a later page's hide timer leaves it shown
    bool setsTitle;
    eCancelScope cancelScope;
    const char* cancelText;
    // The window's close command does nothing; otherwise it asks and leaves
    // as Cancel does.
    bool closeIgnored;
    const char* nextFace;   // "IDR_NEXT", or "IDR_FINISH" on the last page
    bool backInactive;      // Back shows its inactive face and does nothing
};

// Throws std::out_of_range for a dialog that is not a wizard page.
const SPageTraits& PageTraits(int dialog);

// The pages a Yes on self ends, in the order they are ended (none for Quit).
std::vector<IWizardPage*> PagesToEnd(eCancelScope scope, IWizardPage* self, const CPageStack& stack);

inline constexpr int kLeftTopInset = 14;
inline constexpr const char* kWindowTitle = "Kavelin Settings Wizard";

}  // namespace wizard
