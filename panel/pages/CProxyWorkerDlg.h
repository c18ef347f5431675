#pragma once
// What the analyzer and hunter sub-pages of the Proxy tab share: a proxy
// list over a log, a model driving one engine worker whose bridge posts to
// the page, and the bridge's three notices (the run's end, a log line,
// found proxies), after each of which the page shows the model's state.

#include <algorithm>
#include <initializer_list>
#include <memory>
#include <utility>

#include <wx/textctrl.h>

#include "controls/CSortList.h"
#include "controls/CToolTipCtrlEx.h"
#include "panel/main/CBaseDlg.h"
#include "panel/pages/CListCtrlSink.h"
#include "panel/pages/CPageMessageWindow.h"
#include "panel/pages/PageLayout.h"
#include "relay/analyzer/CProxyConfig.h"

template <class TModel>
class CProxyWorkerDlg : public CBaseDlg {
public:
    using CBaseDlg::CBaseDlg;
    ~CProxyWorkerDlg() override {
        if (m_pModel) m_pModel->Destroy();
    }

    CSortList* List() const { return m_pList; }
    wxTextCtrl* Log() const { return m_pLog; }
    const TModel& Model() const { return *m_pModel; }
    platform::HWND GetMessageWindow() const { return m_Window.hwnd(); }
    void OnStartStop() {
        m_pModel->OnStartStop();
        ShowState();
    }

protected:
    // The page's size, the proxy list and the log under it.
    void BuildListAndLog(int listId, int logId) {
        SetSize(DuSize(275, 199));
        m_pList = new CSortList(this, listId, DuPoint(4, 4), DuSize(267, 110));
        m_pLog = new wxTextCtrl(this, logId, {}, DuPoint(4, 118), DuSize(267, 50),
                                wxTE_MULTILINE | wxTE_READONLY);
        m_pLog->SetBackgroundColour(*wxWHITE);
    }

    // The model, given what it drives; the bridge learns the page's window
    // when the model's Init runs.
    template <class... TArgs>
    void MakeModel(TArgs&&... args) {
        m_pModel = std::make_unique<TModel>(std::forward<TArgs>(args)..., m_Window.hwnd());
    }

    // The model's tips, one a control, in the order of TModel::Tips().
    void AddTips(std::initializer_list<wxWindow*> controls) {
        m_pTip = new CToolTipCtrlEx();
        m_pTip->Create(this);
        const auto tips = TModel::Tips();
        const std::size_t count = std::min(tips.size(), controls.size());
        for (std::size_t i = 0; i < count; ++i) m_pTip->AddTool(controls.begin()[i], tips[i].text);
    }

    // Shows the model's state in the widgets.
    virtual void ShowState() = 0;

private:
    void OnNotice(platform::UINT message) {
        if (!m_pModel) return;
        if (message == WM_RELAY_PROXYCONFIG_END) {
            m_pModel->OnEnd();
        } else if (message == WM_RELAY_PROXYCONFIG_LOG) {
            m_pModel->OnLog();
        } else if (message == WM_RELAY_PROXYCONFIG_FOUND) {
            CListCtrlSink sink(*m_pList);
            m_pModel->OnFound(sink);
        } else {
            return;
        }
        ShowState();
    }

    // Declared before the model so that it outlives it.
    CPageMessageWindow m_Window{[this](platform::UINT m, platform::WPARAM) { OnNotice(m); }};

protected:
    std::unique_ptr<TModel> m_pModel;
    CSortList* m_pList = nullptr;
    wxTextCtrl* m_pLog = nullptr;

private:
    CToolTipCtrlEx* m_pTip = nullptr;
};
