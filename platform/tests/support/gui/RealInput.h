#pragma once
// Real input for GUI tests: the X server itself moves the pointer, presses
// buttons and keys (its XTEST extension), as the user's hand would. Nothing
// is handed to the toolkit directly: the events reach the program through
// its own connection and event loop, so a click lands only where a user's
// could (on a shown window, on whatever is topmost at that point). Each call
// returns once the server has taken the events, without waiting for the
// program to handle them: a test waits for what they do.

#include <wx/gdicmn.h>

class wxTopLevelWindow;
class wxWindow;

namespace kvtest {

// Where a control lies on the screen now: its toolkit allocation inside its
// top-level window, placed where the X server shows that window (a
// top-level window: the X window itself). Throws std::runtime_error when it
// is not shown.
wxRect OnScreen(const wxWindow& control);

// A left click at the centre of the control as it lies on the screen.
void ClickOnScreen(const wxWindow& control);
// A left click at a point of the screen.
void ClickOnScreen(const wxPoint& at);
// The parts of a drag or of a held button: the pointer to a point, the left
// button down there, the pointer on, the button up. Let the program's loop
// handle each before the next: GTK drops pointer moves that it reads in one
// batch with the press before them or the release after them.
void PressOnScreen(const wxPoint& at);
void MoveOnScreen(const wxPoint& to);
void ReleaseOnScreen();
// Presses and releases the key of an X keysym (0xff1b Escape, 0xff0d
// Return) for the window that has the keyboard, or the one under the
// pointer. Throws std::runtime_error when no key gives that keysym.
void PressKeyOnScreen(unsigned keysym);
// What a window manager's close button sends: WM_DELETE_WINDOW.
void CloseFromScreen(const wxTopLevelWindow& window);

}  // namespace kvtest
