#include "panel/automation/KavelinA.h"

#include "panel/app/CServerHost.h"
#include "panel/main/CBaseDlg.h"
#include "panel/main/CPageMakers.h"

platform::HRESULT KavelinA::Make(int templateId) {
    m_pHost->SetMadePage(CPageMakers::Make(templateId, *m_pHost));
    return platform::S_OK;
}
