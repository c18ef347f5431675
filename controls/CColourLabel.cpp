#include "controls/CColourLabel.h"

#include <wx/dcbuffer.h>
#include <wx/settings.h>

#include "controls/CStaticTextFlags.h"
#include "controls/CTextPainter.h"
#include "platform/Process.h"

namespace {

COLORREF FromWx(const wxColour& c) {
    return RGB(c.Red(), c.Green(), c.Blue());
}

wxColour ToWx(COLORREF c) {
    return wxColour(GetRValue(c), GetGValue(c), GetBValue(c));
}

CColourLabelModel::FontDescription GuiFont() {
    const wxFont font = wxSystemSettings::GetFont(wxSYS_DEFAULT_GUI_FONT);
    CColourLabelModel::FontDescription d;
    d.height = -font.GetPixelSize().y;
    d.weight = font.GetNumericWeight();
    d.italic = font.GetStyle() == wxFONTSTYLE_ITALIC;
    d.underline = font.GetUnderlined();
    d.faceName = font.GetFaceName().ToStdString().substr(0, CColourLabelModel::kFaceNameMax);
    return d;
}

}  // namespace

CColourLabel::CColourLabel()
    : mModel(FromWx(wxSystemSettings::GetColour(wxSYS_COLOUR_WINDOWTEXT)),
             FromWx(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE)),
             FromWx(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE)), GuiFont()),
      mTimer(this),
      mOpener([](const std::string& text) { platform::StartProcess("xdg-open", {text}); }) {
    RebuildFont();
}

CColourLabel::CColourLabel(wxWindow* parent, wxWindowID id, const wxString& label, const wxPoint& pos,
                           const wxSize& size, platform::DWORD staticStyle)
    : CColourLabel() {
    Create(parent, id, label, pos, size, staticStyle);
}

CColourLabel::~CColourLabel() {
    mTimer.Stop();
}

bool CColourLabel::Create(wxWindow* parent, wxWindowID id, const wxString& label, const wxPoint& pos,
                          const wxSize& size, platform::DWORD staticStyle) {
    mStaticStyle = staticStyle;
    mNotify = (staticStyle & CStaticTextFlags::SS_NOTIFY) != 0;
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    if (!wxControl::Create(parent, id, pos, size, wxBORDER_NONE)) {
        return false;
    }
    SetLabel(label);
    Bind(wxEVT_PAINT, &CColourLabel::OnPaint, this);
    Bind(wxEVT_TIMER, &CColourLabel::OnTimer, this);
    Bind(wxEVT_LEFT_DOWN, &CColourLabel::OnLeftDown, this);
    return true;
}

void CColourLabel::Redraw() {
    Refresh(true);
    Update();
}

void CColourLabel::RebuildFont() {
    const auto& d = mModel.mFont;
    wxFontInfo info(wxSize(0, d.height < 0 ? -d.height : d.height));
    info.Weight(d.weight).Italic(d.italic).Underlined(d.underline);
    if (!d.faceName.empty()) {
        info.FaceName(d.faceName);
    }
    mFont = wxFont(info);
}

CColourLabel& CColourLabel::SetText(const std::string& text) {
    SetLabel(wxString::FromUTF8(text));
    Refresh();
    return *this;
}

CColourLabel& CColourLabel::SetTextColor(COLORREF colour) {
    mModel.mTextColour = colour;
    Redraw();
    return *this;
}

CColourLabel& CColourLabel::SetBkColor(COLORREF colour) {
    mModel.mBackColour = colour;
    Refresh();
    return *this;
}

CColourLabel& CColourLabel::SetFontBold(bool bold) {
    mModel.mFont.weight = bold ? 700 : 400;
    RebuildFont();
    Redraw();
    return *this;
}

CColourLabel& CColourLabel::SetFontItalic(bool italic) {
    mModel.mFont.italic = italic;
    RebuildFont();
    Redraw();
    return *this;
}

CColourLabel& CColourLabel::SetFontUnderline(bool underline) {
    mModel.mFont.underline = underline;
    RebuildFont();
    Redraw();
    return *this;
}

CColourLabel& CColourLabel::SetFontSize(int size) {
    mModel.mFont.height = -size;
    RebuildFont();
    Redraw();
    return *this;
}

CColourLabel& CColourLabel::SetFontName(std::string_view name) {
    mModel.SetFaceName(name);
    RebuildFont();
    Redraw();
    return *this;
}

CColourLabel& CColourLabel::SetSunken(bool sunken) {
    long style = GetWindowStyleFlag() & ~wxBORDER_MASK;
    SetWindowStyleFlag(style | (sunken ? wxBORDER_STATIC : wxBORDER_NONE));
    Refresh();
    return *this;
}

CColourLabel& CColourLabel::SetBorder(bool border) {
    long style = GetWindowStyleFlag() & ~wxBORDER_MASK;
    SetWindowStyleFlag(style | (border ? wxBORDER_SIMPLE : wxBORDER_NONE));
    Refresh();
    return *this;
}

CColourLabel& CColourLabel::SetLink(bool link) {
    mModel.mLink = link;
    mNotify = link;
    return *this;
}

CColourLabel& CColourLabel::SetLinkCursor(const wxCursor& cursor) {
    mLinkCursor = cursor;
    SetCursor(cursor);
    return *this;
}

CColourLabel& CColourLabel::FlashText(bool on) {
    Apply(mModel.FlashText(on, GetLabel().ToStdString(wxConvUTF8)));
    return *this;
}

CColourLabel& CColourLabel::FlashBackground(bool on) {
    Apply(mModel.FlashBackground(on));
    return *this;
}

void CColourLabel::Apply(const CColourLabelModel::Change& change) {
    if (change.stopTimer) {
        mTimer.Stop();
    }
    if (change.text) {
        SetLabel(wxString::FromUTF8(*change.text));
        Refresh();
    }
    if (change.startTimer) {
        mTimer.Start(CColourLabelModel::kFlashMs);
    }
    if (change.repaint) {
        Refresh(false);
        Update();
    }
}

void CColourLabel::OnTimer(wxTimerEvent&) {
    Apply(mModel.Tick());
}

void CColourLabel::OnLeftDown(wxMouseEvent& event) {
    if (mNotify && mOpener) {
        mOpener(GetLabel().ToStdString(wxConvUTF8));
    }
    event.Skip();
}

wxSize CColourLabel::DoGetBestSize() const {
    wxClientDC dc(const_cast<CColourLabel*>(this));
    dc.SetFont(mFont);
    return dc.GetMultiLineTextExtent(GetLabel());
}

void CColourLabel::OnPaint(wxPaintEvent&) {
    wxAutoBufferedPaintDC dc(this);
    dc.SetBackground(wxBrush(ToWx(mModel.BrushColour())));
    dc.Clear();
    dc.SetFont(mFont);
    dc.SetTextForeground(ToWx(mModel.mTextColour));
    dc.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
    CTextPainter::Draw(dc, GetLabel(), GetClientRect(), CStaticTextFlags::FromStyle(mStaticStyle));
}
