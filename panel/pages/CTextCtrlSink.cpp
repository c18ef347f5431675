#include "panel/pages/CTextCtrlSink.h"

#include <wx/textctrl.h>

void CTextCtrlSink::SetWindowText(const char* text) { m_Text.ChangeValue(wxString::FromUTF8(text)); }
