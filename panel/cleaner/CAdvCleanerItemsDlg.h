#pragma once
// An item page of the cleaner container: a check box per item of its table
// inside its group boxes, and the Select All / Deselect All buttons. Every
// click stores the page into the working settings at once (the container
// destroys the page on every switch).

#include <map>
#include <memory>
#include <vector>

#include "panel/cleaner/CAdvCleanerItemsModel.h"
#include "panel/main/CBaseDlg.h"
#include "panel/pages/CHostPageLink.h"

class wxCheckBox;
class CGifButton;
class CToolTipCtrlEx;

class CAdvCleanerItemsDlg : public CBaseDlg {
public:
    CAdvCleanerItemsDlg(CServerHost* host, const CleanerItemTable& table);

    const CAdvCleanerItemsModel& Model() const { return *m_pModel; }
    // What the boxes show now, in the table's order.
    std::vector<int> ScreenValues() const;
    wxCheckBox* Box(int control) const;
    CGifButton* SelectAllButton() const { return m_pSelectAll; }
    CGifButton* DeselectAllButton() const { return m_pDeselectAll; }

protected:
    bool OnInitDialog() override;

private:
    void OnItemClicked(int control);
    void OnSelectAll();
    void OnDeselectAll();
    // The boxes from the integers, and the one button offered.
    void ShowModel();

    const CleanerItemTable& m_Table;
    std::unique_ptr<CHostPageLink> m_pLink;
    std::unique_ptr<CAdvCleanerItemsModel> m_pModel;
    // Child windows, owned by the toolkit.
    std::map<int, wxCheckBox*> m_Boxes;
    CGifButton* m_pSelectAll = nullptr;
    CGifButton* m_pDeselectAll = nullptr;
    CToolTipCtrlEx* m_pTip = nullptr;
};
