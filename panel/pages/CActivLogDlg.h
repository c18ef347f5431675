#pragma once
// What the three sub-pages of the Activity tab share: one engine log shown
// in a view inside a titled frame, a "clear" picture under it, and the
// model that keeps the page attached to the log from OnInitDialog until
// the page goes. A sub-page builds its view between BuildFrame and
// AddClearPicture and answers the log's notices in OnNotice.

#include <memory>
#include <string>

#include <wx/statbox.h>

#include "controls/CAnimatedGifStatic.h"
#include "controls/CToolTipCtrlEx.h"
#include "panel/main/CBaseDlg.h"
#include "panel/pages/ActivityPageIds.h"
#include "panel/pages/CPageMessageWindow.h"
#include "panel/pages/PageLayout.h"

template <class TModel>
class CActivLogDlg : public CBaseDlg {
public:
    using CBaseDlg::CBaseDlg;
    ~CActivLogDlg() override {
        if (m_pModel) m_pModel->Destroy();
    }

    platform::HWND GetMessageWindow() const { return m_Window.hwnd(); }
    // The "clear" picture's click.
    void OnClear() { m_pModel->OnClear(); }

protected:
    // The page's size and its titled frame.
    void BuildFrame(const wxString& title) {
        SetSize(DuSize(265, 190));
        new wxStaticBox(this, wxID_ANY, title, DuPoint(2, 2), DuSize(261, 186));
    }

    // The "clear" picture under the view, with the view's tip and its own.
    void AddClearPicture(wxWindow* view, const std::string& viewTip, const std::string& clearTip) {
        auto* clear = new CAnimatedGifStatic(this, IDC_CLEAR_VIEW, DuPoint(200, 168));
        clear->LoadFromResource(IDR_CLEAR_VIEW);
        clear->Draw();
        clear->Bind(wxEVT_LEFT_UP, [this](wxMouseEvent&) { OnClear(); });

        m_pTip = new CToolTipCtrlEx();
        m_pTip->Create(this);
        m_pTip->AddTool(view, viewTip);
        m_pTip->AddTool(clear, clearTip);
    }

    // Makes the model over the engine's log; the page attaches when the
    // model's Init runs.
    template <class TLog>
    void MakeModel(TLog& log) {
        m_pModel = std::make_unique<TModel>(log, m_Window.hwnd());
    }

    // A notice of the log, on the GUI thread.
    virtual void OnNotice(platform::UINT message, platform::WPARAM wParam) = 0;

private:
    // Declared before the model so that it outlives it.
    CPageMessageWindow m_Window{[this](platform::UINT m, platform::WPARAM w) { OnNotice(m, w); }};

protected:
    std::unique_ptr<TModel> m_pModel;

private:
    CToolTipCtrlEx* m_pTip = nullptr;
};
