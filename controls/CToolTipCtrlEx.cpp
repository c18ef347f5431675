#include "controls/CToolTipCtrlEx.h"

#include <algorithm>

#include <wx/dcbuffer.h>
#include <wx/display.h>
#include <wx/renderer.h>
#include <wx/settings.h>

#include "controls/CTipLayout.h"

namespace {

wxColour ToWx(COLORREF c) {
    return wxColour(GetRValue(c), GetGValue(c), GetBValue(c));
}

}  // namespace

CToolTipCtrlEx::CToolTipCtrlEx() : mTimer(this) {}

CToolTipCtrlEx::~CToolTipCtrlEx() {
    mTimer.Stop();
    for (wxWindow* control : mWatched) {
        control->Unbind(wxEVT_MOTION, &CToolTipCtrlEx::OnMotion, this);
        control->Unbind(wxEVT_LEAVE_WINDOW, &CToolTipCtrlEx::OnLeave, this);
        control->Unbind(wxEVT_LEFT_DOWN, &CToolTipCtrlEx::OnLeave, this);
        control->Unbind(wxEVT_DESTROY, &CToolTipCtrlEx::OnControlDestroyed, this);
    }
}

bool CToolTipCtrlEx::Create(wxWindow* parent) {
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    if (!wxPopupWindow::Create(parent, wxBORDER_NONE)) {
        return false;
    }
    SetFont(wxSystemSettings::GetFont(wxSYS_DEFAULT_GUI_FONT));
    Bind(wxEVT_PAINT, &CToolTipCtrlEx::OnPaint, this);
    Bind(wxEVT_TIMER, &CToolTipCtrlEx::OnTimer, this);
    return true;
}

void CToolTipCtrlEx::AddTool(wxWindow* control, const std::string& text) {
    AddTool(control, wxRect(), 0, text);
}

void CToolTipCtrlEx::AddTool(wxWindow* control, const platform::StringTable& strings, platform::UINT id) {
    AddTool(control, strings.LoadString(id));
}

void CToolTipCtrlEx::AddTool(wxWindow* control, const wxRect& rect, int toolId, const std::string& text) {
    if (control == nullptr) {
        return;
    }
    const auto same = [&](const Tool& t) { return t.control == control && t.id == toolId; };
    mTools.erase(std::remove_if(mTools.begin(), mTools.end(), same), mTools.end());
    mTools.push_back({control, rect, toolId, text});
    Watch(control);
}

void CToolTipCtrlEx::DelTool(wxWindow* control) {
    mTools.erase(std::remove_if(mTools.begin(), mTools.end(), [&](const Tool& t) { return t.control == control; }),
                 mTools.end());
    if (mShownFor == control || mPending == control) {
        Pop();
    }
}

void CToolTipCtrlEx::Watch(wxWindow* control) {
    if (std::find(mWatched.begin(), mWatched.end(), control) != mWatched.end()) {
        return;
    }
    mWatched.push_back(control);
    control->Bind(wxEVT_MOTION, &CToolTipCtrlEx::OnMotion, this);
    control->Bind(wxEVT_LEAVE_WINDOW, &CToolTipCtrlEx::OnLeave, this);
    control->Bind(wxEVT_LEFT_DOWN, &CToolTipCtrlEx::OnLeave, this);
    control->Bind(wxEVT_DESTROY, &CToolTipCtrlEx::OnControlDestroyed, this);
}

void CToolTipCtrlEx::Activate(bool active) {
    mActive = active;
    if (!active) {
        Pop();
    }
}

const CToolTipCtrlEx::Tool* CToolTipCtrlEx::ToolAt(wxWindow* control, const wxPoint& point) const {
    for (const Tool& tool : mTools) {
        if (tool.control == control && (tool.rect.IsEmpty() || tool.rect.Contains(point))) {
            return &tool;
        }
    }
    return nullptr;
}

void CToolTipCtrlEx::OnMotion(wxMouseEvent& event) {
    event.Skip();
    auto* control = dynamic_cast<wxWindow*>(event.GetEventObject());
    if (!mActive || control == nullptr) {
        return;
    }
    const Tool* tool = ToolAt(control, event.GetPosition());
    if (tool == nullptr) {
        Pop();
        return;
    }
    if (IsShown() && mShownFor == control && mText == tool->text) {
        return;
    }
    mPending = control;
    mPendingPoint = event.GetPosition();
    mTimer.StartOnce(kInitialDelayMs);
}

void CToolTipCtrlEx::OnLeave(wxMouseEvent& event) {
    event.Skip();
    Pop();
}

void CToolTipCtrlEx::OnControlDestroyed(wxWindowDestroyEvent& event) {
    event.Skip();
    auto* control = dynamic_cast<wxWindow*>(event.GetEventObject());
    mTools.erase(std::remove_if(mTools.begin(), mTools.end(), [&](const Tool& t) { return t.control == control; }),
                 mTools.end());
    mWatched.erase(std::remove(mWatched.begin(), mWatched.end(), control), mWatched.end());
    if (mShownFor == control || mPending == control) {
        mTimer.Stop();
        mPending = mShownFor = nullptr;
        if (IsShown()) {
            Hide();
        }
    }
}

void CToolTipCtrlEx::OnTimer(wxTimerEvent&) {
    if (mPending != nullptr) {
        ShowTipAt(mPending, mPendingPoint);
    }
}

void CToolTipCtrlEx::Pop() {
    mTimer.Stop();
    mPending = nullptr;
    mShownFor = nullptr;
    if (IsShown()) {
        Hide();
    }
}

bool CToolTipCtrlEx::ShowTipAt(wxWindow* control, const wxPoint& point) {
    const Tool* tool = mActive ? ToolAt(control, point) : nullptr;
    if (tool == nullptr || tool->text.empty()) {
        return false;
    }
    mText = tool->text;
    mShownFor = control;
    mPending = nullptr;

    const auto lines = CTipLayout::Lines(mText);
    wxClientDC measure(this);
    measure.SetFont(GetFont());
    int extent = 0;
    for (const auto& line : lines) {
        extent = std::max(extent, measure.GetTextExtent(wxString::FromUTF8(line)).x);
    }
    const wxPoint cursor = control->ClientToScreen(point);
    const wxRect area = control->GetScreenRect();
    const int display = wxDisplay::GetFromWindow(control);
    const int screenWidth = wxDisplay(display == wxNOT_FOUND ? 0u : static_cast<unsigned>(display)).GetGeometry().width;
    const auto r = CTipLayout::Place(cursor.x, cursor.y, area.GetTop(), area.GetBottom() + 1, extent,
                                     static_cast<int>(lines.size()), measure.GetCharHeight(), screenWidth);
    SetSize(r.left, r.top, r.Width(), r.Height());
    Show();
    Refresh();
    return true;
}

void CToolTipCtrlEx::OnPaint(wxPaintEvent&) {
    wxAutoBufferedPaintDC dc(this);
    const wxSize client = GetClientSize();
    dc.SetPen(*wxTRANSPARENT_PEN);
    dc.SetBrush(wxBrush(ToWx(mBackColour)));
    dc.DrawRectangle(0, 0, client.x, client.y);
    dc.SetBrush(wxBrush(ToWx(mStripColour)));
    dc.DrawRectangle(0, 0, kStripWidth, client.y);

    dc.SetFont(GetFont());
    dc.SetTextForeground(ToWx(mTextColour));
    dc.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
    const auto lines = CTipLayout::Lines(mText);
    int extent = 0;
    for (const auto& line : lines) {
        extent = std::max(extent, dc.GetTextExtent(wxString::FromUTF8(line)).x);
    }
    const int lineHeight = dc.GetCharHeight();
    const int left = (client.x - (extent + 2)) / 2;
    if (lines.size() == 1) {
        dc.DrawText(wxString::FromUTF8(lines.front()), left, 1 + (client.y - lineHeight) / 2);
    } else {
        int y = 1;
        for (const auto& line : lines) {
            dc.DrawText(wxString::FromUTF8(line), left, y);
            y += lineHeight;
        }
    }
    dc.SetPen(wxPen(ToWx(mFrameColour)));
    dc.SetBrush(*wxTRANSPARENT_BRUSH);
    dc.DrawRectangle(0, 0, client.x, client.y);
}
