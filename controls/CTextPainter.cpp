#include "controls/CTextPainter.h"

#include <wx/control.h>
#include <wx/tokenzr.h>

#include "controls/CStaticTextFlags.h"

namespace {

using F = CStaticTextFlags;

// "&&" shows one "&"; a single "&" marks a mnemonic and is not shown.
wxString WithoutPrefixes(const wxString& text) {
    wxString out;
    for (size_t i = 0; i < text.length(); ++i) {
        if (text[i] == '&') {
            if (i + 1 < text.length() && text[i + 1] == '&') {
                out += '&';
                ++i;
            }
            continue;
        }
        out += text[i];
    }
    return out;
}

}  // namespace

wxArrayString CTextPainter::Wrap(wxDC& dc, const wxString& text, int width) {
    wxArrayString lines;
    for (const wxString& paragraph : wxSplit(text, '\n', '\0')) {
        wxString line;
        for (const wxString& word : wxSplit(paragraph, ' ', '\0')) {
            const wxString candidate = line.empty() ? word : line + " " + word;
            if (!line.empty() && dc.GetTextExtent(candidate).x > width) {
                lines.push_back(line);
                line = word;
            } else {
                line = candidate;
            }
        }
        lines.push_back(line);
    }
    return lines;
}

void CTextPainter::Draw(wxDC& dc, const wxString& raw, const wxRect& rect, platform::DWORD flags) {
    wxString text = raw;
    text.Replace("\r", "");
    if (!(flags & F::DT_NOPREFIX)) {
        text = WithoutPrefixes(text);
    }
    wxArrayString lines;
    if (flags & F::DT_SINGLELINE) {
        text.Replace("\n", " ");
        lines.push_back(text);
    } else if (flags & F::DT_WORDBREAK) {
        lines = Wrap(dc, text, rect.width);
    } else {
        lines = wxSplit(text, '\n', '\0');
    }
    if (flags & (F::DT_END_ELLIPSIS | F::DT_PATH_ELLIPSIS | F::DT_WORD_ELLIPSIS)) {
        const wxEllipsizeMode mode = (flags & F::DT_PATH_ELLIPSIS) && !(flags & F::DT_END_ELLIPSIS)
                                         ? wxELLIPSIZE_MIDDLE
                                         : wxELLIPSIZE_END;
        for (auto& line : lines) {
            line = wxControl::Ellipsize(line, dc, mode, rect.width);
        }
    }
    const int lineHeight = dc.GetCharHeight();
    int y = rect.y;
    if ((flags & F::DT_SINGLELINE) && (flags & F::DT_VCENTER)) {
        y = rect.y + (rect.height - lineHeight) / 2;
    }
    for (const auto& line : lines) {
        const int width = dc.GetTextExtent(line).x;
        int x = rect.x;
        if (flags & F::DT_RIGHT) {
            x = rect.GetRight() + 1 - width;
        } else if (flags & F::DT_CENTER) {
            x = rect.x + (rect.width - width) / 2;
        }
        dc.DrawText(line, x, y);
        y += lineHeight;
    }
}
