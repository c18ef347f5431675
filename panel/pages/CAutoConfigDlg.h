#pragma once
// The program-integration dialog (template 199), opened modally from the
// General page: which client programs are pointed at the relay.

#include <map>
#include <memory>

#include "panel/pages/CAutoConfigDlgModel.h"
#include "panel/pages/CHostPageLink.h"
#include "panel/pages/CPopupDlg.h"

class wxCheckBox;
class CAnimatedGifStatic;
class CGifButton;

class CAutoConfigDlg : public CPopupDlg {
public:
    explicit CAutoConfigDlg(CServerHost* host = CServerHost::Current());

    wxCheckBox* Box(int id) const;
    CAnimatedGifStatic* Picture(int box) const;
    const CAutoConfigDlgModel& Model() const { return *m_pModel; }
    void OnApply();
    void OnOk();
    // Ends the dialog without the cleaner start of other dialogs' cancel.
    void OnCancel() override;

protected:
    bool OnInitDialog() override;
    void OnPaint() override;

private:
    void ShowState();

    std::unique_ptr<CHostPageLink> m_pLink;
    std::unique_ptr<CAutoConfigDlgModel> m_pModel;
    std::map<int, wxCheckBox*> m_Boxes;
    // The programs' pictures (bitmaps 217, 219, 215, 218, 222, 216, 314, 315,
    // 220, 221) by the box they stand beside.
    std::map<int, CAnimatedGifStatic*> m_Pictures;
    CGifButton* m_pRestore = nullptr;
};
