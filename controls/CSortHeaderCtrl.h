#pragma once
// Paints the column header of a report list in the panel's colours: each
// item filled 0xF0A064 (COLORREF), framed 0xECECEC, its text white, centred
// on one line in Arial. The header keeps its own mouse handling (column
// clicks and resizing).

#include <wx/font.h>
#include <wx/listctrl.h>

#include "controls/ColourRef.h"

class CSortHeaderCtrl {
public:
    static constexpr COLORREF kFill = 0xF0A064;
    static constexpr COLORREF kFrame = 0xECECEC;
    static constexpr COLORREF kText = 0xFFFFFF;
    static constexpr int kTextMax = 255;

    CSortHeaderCtrl();
    ~CSortHeaderCtrl();
    CSortHeaderCtrl(const CSortHeaderCtrl&) = delete;
    CSortHeaderCtrl& operator=(const CSortHeaderCtrl&) = delete;

    // Takes over the painting of the list's header; false when the list
    // shows none.
    bool SubclassWindow(wxListCtrl& list);
    wxWindow* GetHeader() const { return mHeader; }
    // Item rectangles in the header's coordinates.
    wxRect ItemRect(int column) const;
    // The width an item needs to show text whole in the header's font (0
    // without a header).
    int FittingWidth(const wxString& text) const;

private:
    void OnPaint(wxPaintEvent& event);
    void OnHeaderDestroyed(wxWindowDestroyEvent& event);

    wxListCtrl* mList = nullptr;
    wxWindow* mHeader = nullptr;
    wxFont mFont;
};
