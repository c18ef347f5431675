#include "panel/tests/support/PageGuiTest.h"

#include <gtest/gtest.h>

#include <wx/clipbrd.h>

namespace paneltest {

PageGuiTest::PageGuiTest(const char* title) {
    previousAssert_ = wxSetAssertHandler([](const wxString& file, int line, const wxString&,
                                            const wxString& cond, const wxString& msg) {
        ADD_FAILURE() << file << ":" << line << ": " << cond << " " << msg;
    });
    frame_ = new wxFrame(nullptr, wxID_ANY, title, wxDefaultPosition, wxSize(600, 500));
    frame_->Show();
}

PageGuiTest::~PageGuiTest() {
    CloseFrame();
    wxSetAssertHandler(previousAssert_);
}

void PageGuiTest::CloseFrame() {
    if (frame_ == nullptr) return;
    frame_->Destroy();
    frame_ = nullptr;
    kvtest::PumpUi(std::chrono::milliseconds(20));
}

void PageGuiTest::Click(wxWindow* control) {
    wxCommandEvent click(wxEVT_BUTTON, control->GetId());
    click.SetEventObject(control);
    control->ProcessWindowEvent(click);
}

void PageGuiTest::Toggle(wxCheckBox* box) {
    box->SetValue(!box->GetValue());
    wxCommandEvent click(wxEVT_CHECKBOX, box->GetId());
    click.SetEventObject(box);
    click.SetInt(box->GetValue() ? 1 : 0);
    box->ProcessWindowEvent(click);
}

std::string PageGuiTest::KeysTaken(wxTextCtrl* edit, std::string_view keys) {
    std::string taken;
    for (const char key : keys) {
        wxKeyEvent press(wxEVT_CHAR);
        press.SetEventObject(edit);
        press.m_uniChar = static_cast<wxChar>(key);
        press.m_keyCode = key;
        edit->ProcessWindowEvent(press);
        if (press.GetSkipped()) taken += key;
    }
    return taken;
}

std::string PageGuiTest::Pasted(wxTextCtrl* edit, const std::string& clipboard) {
    edit->ChangeValue({});
    if (wxTheClipboard->Open()) {
        wxTheClipboard->SetData(new wxTextDataObject(wxString::FromUTF8(clipboard)));
        wxTheClipboard->Close();
    }
    wxClipboardTextEvent paste(wxEVT_TEXT_PASTE, edit->GetId());
    paste.SetEventObject(edit);
    edit->ProcessWindowEvent(paste);
    return edit->GetValue().utf8_string();
}

}  // namespace paneltest
