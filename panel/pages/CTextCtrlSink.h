#pragma once
// A wxTextCtrl as the filtration log writes it.

#include "relay/logs/ITextSink.h"

class wxTextCtrl;

class CTextCtrlSink : public ITextSink {
public:
    explicit CTextCtrlSink(wxTextCtrl& text) : m_Text(text) {}

    // ITextSink
    void SetWindowText(const char* text) override;

private:
    wxTextCtrl& m_Text;
};
