#pragma once
// A tooltip that paints itself: a light-yellow box with a coloured strip
// on its left and one or more lines of text, placed above or below the
// control under the mouse (CTipLayout) and kept on the screen. A dialog
// creates one, adds a tool per control (or per rectangle of a control),
// and the tip follows the mouse over those controls by itself.

#include <string>
#include <vector>

#include <wx/popupwin.h>
#include <wx/timer.h>

#include "controls/ColourRef.h"
#include "platform/StringTable.h"

class CToolTipCtrlEx : public wxPopupWindow {
public:
    static constexpr int kStripWidth = 15;
    // How long the mouse rests on a tool before its tip shows.
    static constexpr int kInitialDelayMs = 500;

    CToolTipCtrlEx();
    ~CToolTipCtrlEx() override;

    bool Create(wxWindow* parent);

    // Tool texts may hold "\r\n" or "\n" line breaks. A rectangle tool
    // covers part of its window (client coordinates); toolId tells tools
    // of one window apart.
    void AddTool(wxWindow* control, const std::string& text);
    void AddTool(wxWindow* control, const platform::StringTable& strings, platform::UINT id);
    void AddTool(wxWindow* control, const wxRect& rect, int toolId, const std::string& text);
    void DelTool(wxWindow* control);
    void Activate(bool active);
    bool IsActive() const { return mActive; }

    // Shows the tip of the tool under a point of a control's client area
    // at once, as a resting mouse would; false when no tool is there.
    bool ShowTipAt(wxWindow* control, const wxPoint& point);
    void Pop();
    // The text shown now ("" when hidden).
    std::string CurrentText() const { return IsShown() ? mText : std::string(); }

    COLORREF mBackColour = RGB(255, 255, 225);
    COLORREF mStripColour = RGB(255, 255, 225);
    COLORREF mFrameColour = RGB(255, 255, 225);
    COLORREF mTextColour = RGB(0, 0, 0);

private:
    struct Tool {
        wxWindow* control = nullptr;
        wxRect rect;  // empty: the whole control
        int id = 0;
        std::string text;
    };
    const Tool* ToolAt(wxWindow* control, const wxPoint& point) const;
    void Watch(wxWindow* control);
    void OnMotion(wxMouseEvent& event);
    void OnLeave(wxMouseEvent& event);
    void OnControlDestroyed(wxWindowDestroyEvent& event);
    void OnTimer(wxTimerEvent& event);
    void OnPaint(wxPaintEvent& event);

    std::vector<Tool> mTools;
    std::vector<wxWindow*> mWatched;
    bool mActive = true;
    wxTimer mTimer;
    wxWindow* mPending = nullptr;
    wxPoint mPendingPoint;
    wxWindow* mShownFor = nullptr;
    std::string mText;
};
