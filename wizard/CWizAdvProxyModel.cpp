#include "wizard/CWizAdvProxyModel.h"

#include <climits>

#include "wizard/CWizProxyModel.h"

namespace wizard {

CWizAdvProxyModel::CWizAdvProxyModel(const CSettings& s, int pageChainFlag)
    : chainFlag_(pageChainFlag != 0 ? 1 : 0),
      chainLength_(s.getPrivacySettings()->mChainLength),
      chainTimer_(s.getPrivacySettings()->mChainTimer) {}

int CWizAdvProxyModel::Ok(CSettings& s, const std::string& lengthText, const std::string& timerText) {
    // Both fields are stored unsigned: a negative number is out of range.
    CWizProxyModel::ReadInteger(lengthText, chainLength_, 0, INT_MAX);
    CWizProxyModel::ReadInteger(timerText, chainTimer_, 0, INT_MAX);
    CPrivacySettings& privacy = *s.getPrivacySettings();
    privacy.mChainLength = chainLength_;
    privacy.mChainTimer = chainTimer_;
    privacy.mEnableProxyChain = static_cast<platform::DWORD>(chainFlag_);
    s.SetRegistry();
    return chainFlag_;
}

}  // namespace wizard
