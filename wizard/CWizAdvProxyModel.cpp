#include "wizard/CWizAdvProxyModel.h"

#include "wizard/CWizProxyModel.h"

namespace wizard {

CWizAdvProxyModel::CWizAdvProxyModel(const CSettings& s, int pageChainFlag)
    : chainFlag_(pageChainFlag != 0 ? 1 : 0),
      chainLength_(s.getPrivacySettings()->mChainLength),
      chainTimer_(s.getPrivacySettings()->mChainTimer) {}

int CWizAdvProxyModel::Ok(CSettings& s, const std::string& lengthText, const std::string& timerText) {
    CWizProxyModel::ReadInteger(lengthText, chainLength_);
    CWizProxyModel::ReadInteger(timerText, chainTimer_);
    CPrivacySettings& privacy = *s.getPrivacySettings();
    privacy.mChainLength = chainLength_;
    privacy.mChainTimer = chainTimer_;
    privacy.mEnableProxyChain = static_cast<platform::DWORD>(chainFlag_);
    s.SetRegistry();
    return chainFlag_;
}

}  // namespace wizard
