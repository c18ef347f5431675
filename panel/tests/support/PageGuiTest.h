#pragma once
// Fixture for the tests of the real pages: a shown frame over a real host,
// pages made on it by template id, and clicks sent as the controls send them.
// A failed toolkit check fails the case instead of waiting on a dialog.

#include <chrono>

#include <wx/checkbox.h>
#include <wx/debug.h>
#include <wx/frame.h>

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

    CServerHost host_;
    wxFrame* frame_ = nullptr;

private:
    wxAssertHandler_t previousAssert_ = nullptr;
};

}  // namespace paneltest
