#pragma once
// A static text with its own colours and font that can flash its text or
// its background and, as a link, opens its text with the desktop's
// opener when clicked. Setters return the label, so calls chain.

#include <functional>
#include <string>
#include <string_view>

#include <wx/control.h>
#include <wx/cursor.h>
#include <wx/font.h>
#include <wx/timer.h>

#include "controls/CColourLabelModel.h"
#include "platform/Types.h"

class CColourLabel : public wxControl {
public:
    using Opener = std::function<void(const std::string&)>;

    CColourLabel();
    // staticStyle: SS_* bits as the layout gives them; with SS_NOTIFY the
    // label takes clicks (see SetLink).
    CColourLabel(wxWindow* parent, wxWindowID id, const wxString& label = {},
                 const wxPoint& pos = wxDefaultPosition, const wxSize& size = wxDefaultSize,
                 platform::DWORD staticStyle = 0);
    ~CColourLabel() override;

    bool Create(wxWindow* parent, wxWindowID id, const wxString& label = {},
                const wxPoint& pos = wxDefaultPosition, const wxSize& size = wxDefaultSize,
                platform::DWORD staticStyle = 0);

    CColourLabel& SetText(const std::string& text);
    CColourLabel& SetTextColor(COLORREF colour);
    CColourLabel& SetBkColor(COLORREF colour);
    CColourLabel& SetFontBold(bool bold);
    CColourLabel& SetFontItalic(bool italic);
    CColourLabel& SetFontUnderline(bool underline);
    CColourLabel& SetFontSize(int size);
    CColourLabel& SetFontName(std::string_view name);
    CColourLabel& SetSunken(bool sunken);
    CColourLabel& SetBorder(bool border);
    CColourLabel& SetLink(bool link);
    CColourLabel& SetLinkCursor(const wxCursor& cursor);
    CColourLabel& FlashText(bool on);
    CColourLabel& FlashBackground(bool on);

    const CColourLabelModel& Model() const { return mModel; }
    const wxFont& LabelFont() const { return mFont; }
    bool TakesClicks() const { return mNotify; }
    // What opens the text on a click (default: xdg-open with the text as
    // its one argument).
    void SetOpener(Opener opener) { mOpener = std::move(opener); }

protected:
    wxSize DoGetBestSize() const override;

private:
    void Redraw();
    void RebuildFont();
    void Apply(const CColourLabelModel::Change& change);
    void OnPaint(wxPaintEvent& event);
    void OnTimer(wxTimerEvent& event);
    void OnLeftDown(wxMouseEvent& event);

    CColourLabelModel mModel;
    wxFont mFont;
    wxCursor mLinkCursor;
    wxTimer mTimer;
    platform::DWORD mStaticStyle = 0;
    bool mNotify = false;
    Opener mOpener;
};
