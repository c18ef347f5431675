#pragma once
// The ad-server lists (template 146, a borderless popup run modally with
// no parent): allowed and blocked banner servers and the user's own
// blocked servers. "OK" ends it with wxID_OK; a press anywhere drags it.

#include <map>
#include <memory>

#include "panel/filtration/CAdServerModel.h"
#include "panel/pages/CPopupDlg.h"
#include "panel/pages/CHostPageLink.h"

class wxListBox;

class CAdServerDlg : public CPopupDlg {
public:
    explicit CAdServerDlg(CServerHost* host = CServerHost::Current());

    // Makes the dialog (template 146).
    bool Create(wxWindow* parent = nullptr);

    const CAdServerModel& Model() const { return *m_pModel; }
    // The list boxes 1013, 1012 and 1192.
    wxListBox* List(int id) const;

protected:
    bool OnInitDialog() override;

private:
    void BuildControls();
    void ShowLists();
    void OnPaint() override;

    std::unique_ptr<CHostPageLink> m_pLink;
    std::unique_ptr<CAdServerModel> m_pModel;
    std::map<int, wxListBox*> m_Lists;
};
