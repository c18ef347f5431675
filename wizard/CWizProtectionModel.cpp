#include "wizard/CWizProtectionModel.h"

#include <array>

#include "wizard/DialogIds.h"

namespace wizard {
namespace {

using namespace protection;

COutFiltration& Out(CSettings& s) { return s.getFiltrationSettings()->mOutFiltration; }
const COutFiltration& Out(const CSettings& s) { return s.getFiltrationSettings()->mOutFiltration; }

template <auto Is, auto Set>
constexpr SBoxRow OutBox(int box) {
    return {box, [](const CSettings& s) { return (Out(s).*Is)() == 1; },
            [](CSettings& s, bool on) { (Out(s).*Set)(on ? 1 : 0); }};
}

using O = COutFiltration;
constexpr std::array kBoxes{
    SBoxRow{kBrowserShielding, nullptr, nullptr},
    OutBox<&O::IsOsShield, &O::SetOsShield>(kOsShielding),
    OutBox<&O::IsBlockReferrer, &O::SetBlockReferrer>(kReferrer),
    SBoxRow{kIpMasking, nullptr, nullptr},
    OutBox<&O::IsDiabledCookies, &O::SetDiabledCookies>(kAllCookies),
    SBoxRow{kUnsafeCookies, nullptr, nullptr},
};

}  // namespace

CWizProtectionModel::CWizProtectionModel() : CWizBoxPageModel(kBoxes) {}

}  // namespace wizard
