#pragma once
// The on-screen check: does a shown top-level window show the user all of
// itself? It reads the window's real size and state from the X server and
// each control's real placement from the toolkit, and reports what a user
// would miss. Callable at any point on the GUI thread, also from a timer or
// idle callback inside a running modal dialog's loop.

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include <wx/gdicmn.h>

class wxTopLevelWindow;
class wxWindow;

namespace kvtest {

struct SLayoutExpect {
    // The size of the window's template: its client area may not be smaller.
    wxSize minClientSize = {};
    // Controls that, like group boxes, paint only their text unless they have
    // a background colour of their own (a transparent picture, a frame
    // drawn by hand). Group boxes, labels, check and radio boxes and plain
    // containers count as such without being named.
    std::vector<const wxWindow*> seeThrough = {};
    // Controls that later controls may lie on (a picture behind a page).
    std::vector<const wxWindow*> backdrops = {};
};

enum class eLayoutFault {
    NotShown,       // the window is not viewable on the X server
    TooSmall,       // its client area is smaller than its template
    OutsideParent,  // a control lies (partly) outside its parent's area
    Covered,        // a later sibling paints over a control's text, marks or face
    Clipped,        // a control's text does not fit in it
};

const char* ToString(eLayoutFault fault);

struct SLayoutFinding {
    eLayoutFault fault;
    const wxWindow* control;  // the window itself for NotShown and TooSmall
    std::string text;
};

// Runs the GUI event loop until the X server shows the window and the
// toolkit has drawn it since; false when that did not happen in time. Not for
// use inside a callback of a modal loop (it runs the loop itself).
bool WaitUntilDrawn(const wxTopLevelWindow& window, std::chrono::milliseconds limit = std::chrono::seconds(5));

// Empty when the window passes.
std::vector<SLayoutFinding> CheckLayoutOnScreen(const wxTopLevelWindow& window, const SLayoutExpect& expect);

// For EXPECT_TRUE / ASSERT_TRUE: on failure it lists the findings and saves a
// screenshot of the window (see Screenshot.h), naming its path.
::testing::AssertionResult IsLaidOutOnScreen(const wxTopLevelWindow& window, const SLayoutExpect& expect);

}  // namespace kvtest
