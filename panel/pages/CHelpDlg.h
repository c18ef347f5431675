#pragma once
// The Help page (template 323): a picture, a legal warning and the button
// that opens the help file.

#include "panel/main/CBaseDlg.h"

class CAnimatedGifStatic;
class CColourLabel;
class CGifButton;
class CToolTipCtrlEx;

class CHelpDlg : public CBaseDlg {
public:
    using CBaseDlg::CBaseDlg;

    static const char* LegalWarning();

    CColourLabel* Warning() const { return m_pWarning; }
    CColourLabel* Legal() const { return m_pLegal; }
    CAnimatedGifStatic* Picture() const { return m_pPicture; }
    void OnViewHelp();

protected:
    bool OnInitDialog() override;

private:
    // What each showing of the page draws again.
    void OnShown();

    CGifButton* m_pViewHelp = nullptr;
    CAnimatedGifStatic* m_pPicture = nullptr;
    CColourLabel* m_pWarning = nullptr;
    CColourLabel* m_pLegal = nullptr;
    CToolTipCtrlEx* m_pTip = nullptr;
};
