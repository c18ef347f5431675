#include "wizard/CWizProxyModel.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <string>

#include "platform/MessageBox.h"

namespace wizard {
namespace {
constexpr const char* kEnterInteger = "Please enter an integer.";
// The edit exchange's own message carries the program's name.
constexpr const char* kProgramName = "SetupGuide";
}  // namespace

void CWizProxyModel::Load(const CSettings& s) { port_ = s.getPrivacySettings()->mListenerPort; }

void CWizProxyModel::Store(CSettings& s, const std::string& portText) {
    ReadInteger(portText, port_, kMinPort, kMaxPort);
    CPrivacySettings& privacy = *s.getPrivacySettings();
    privacy.mEnableProxyChain = chainFlag_ != 0 ? 1 : 0;
    privacy.mListenerPort = port_;
}

void CWizProxyModel::SetChainBox(bool checked) {
    chainBox_ = checked;
    chainFlag_ = checked ? 1 : 0;
    FollowChainBox();
}

void CWizProxyModel::FollowChainBox() {
    const bool on = chainBox_;
    enabled_ = {.port = on, .radios = on, .updateEvery = on, .interval = on, .updateAtStartup = on, .how = on,
                .advanced = on && !singleProxy_};
}

void CWizProxyModel::ChooseOneProxy() {
    chainFlag_ = 1;
    singleProxy_ = true;
    enabled_.advanced = false;
}

void CWizProxyModel::ChooseMultipleProxies() {
    chainFlag_ = 1;
    singleProxy_ = false;
    enabled_.advanced = true;
}

void CWizProxyModel::SetUpdateEvery(bool checked) {
    updateEvery_ = checked;
    if (!checked) return;
    updateAtStartup_ = false;
    enabled_.interval = true;
}

void CWizProxyModel::SetUpdateAtStartup(bool checked) {
    updateAtStartup_ = checked;
    if (!checked) return;
    updateEvery_ = false;
    enabled_.interval = false;
}

void CWizProxyModel::TakeChainFlag(int chainFlag) {
    chainFlag_ = chainFlag;
    chainBox_ = chainFlag != 0;
    FollowChainBox();
}

bool CWizProxyModel::ParseInteger(const std::string& text, long& value) {
    const char* begin = text.c_str();
    char* end = nullptr;
    errno = 0;
    const long parsed = std::strtol(begin, &end, 10);
    if (end == begin || errno == ERANGE || parsed < INT_MIN || parsed > INT_MAX) return false;
    while (*end == ' ' || *end == '\t') ++end;
    if (*end != '\0') return false;
    value = parsed;
    return true;
}

bool CWizProxyModel::ReadInteger(const std::string& text, platform::DWORD& number, long min, long max) {
    const auto refuse = [](const std::string& message) {
        platform::MessageBox(nullptr, message.c_str(), kProgramName, platform::MB_OK | platform::MB_ICONEXCLAMATION);
        return false;
    };
    long value = 0;
    if (!ParseInteger(text, value)) return refuse(kEnterInteger);
    if (value < min || value > max) {
        return refuse("Please enter an integer between " + std::to_string(min) + " and " + std::to_string(max) + ".");
    }
    number = static_cast<platform::DWORD>(value);
    return true;
}

}  // namespace wizard
