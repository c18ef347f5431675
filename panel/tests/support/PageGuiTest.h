#pragma once
// Fixture for the tests of the real pages: a shown frame over a real host,
// pages made on it by template id, and clicks sent as the controls send them.
// A failed toolkit check fails the case instead of waiting on a dialog.

#include <chrono>
#include <string>
#include <string_view>

#include <wx/checkbox.h>
#include <wx/debug.h>
#include <wx/frame.h>
#include <wx/textctrl.h>

#include "GuiTest.h"
#include "panel/app/CServerHost.h"
#include "support/TempRoot.h"

namespace paneltest {

class PageGuiTest : public kvtest::RootedTest {
protected:
    explicit PageGuiTest(const char* title);
    ~PageGuiTest() override;

    template <class Page>
    Page* Make(int templateId) {
        auto* page = new Page(&host_);
        EXPECT_TRUE(page->Create(templateId, frame_));
        page->Show();
        kvtest::PumpUi(std::chrono::milliseconds(10));
        return page;
    }

    // Destroys the frame and its pages now, for a fixture that must undo
    // something only after they are gone.
    void CloseFrame();

    static void Click(wxWindow* control);
    static void Toggle(wxCheckBox* box);
    // Which of the characters a key press would put into the edit (the
    // field's filter lets the press go on to the toolkit).
    static std::string KeysTaken(wxTextCtrl* edit, std::string_view keys);
    // The field after the clipboard's text was pasted into it (empty at
    // first).
    static std::string Pasted(wxTextCtrl* edit, const std::string& clipboard);

    CServerHost host_;
    wxFrame* frame_ = nullptr;

private:
    wxAssertHandler_t previousAssert_ = nullptr;
};

}  // namespace paneltest
