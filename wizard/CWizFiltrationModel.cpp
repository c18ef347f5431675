#include "wizard/CWizFiltrationModel.h"

#include <array>

#include "wizard/DialogIds.h"

namespace wizard {
namespace {

using namespace filtration;

CInFiltration& In(CSettings& s) { return s.getFiltrationSettings()->mInFiltration; }
const CInFiltration& In(const CSettings& s) { return s.getFiltrationSettings()->mInFiltration; }
CAdvancedFiltration& Adv(CSettings& s) { return s.getFiltrationSettings()->mAdvancedFiltration; }
const CAdvancedFiltration& Adv(const CSettings& s) { return s.getFiltrationSettings()->mAdvancedFiltration; }

template <auto Get, auto Set>
constexpr SBoxRow InBox(int box) {
    return {box, [](const CSettings& s) { return (In(s).*Get)(); }, [](CSettings& s, bool on) { (In(s).*Set)(on); }};
}

// The script-level flags are reached by position, as the section's layout
// fixes them.
template <auto Field>
constexpr SBoxRow AdvBox(int box) {
    return {box, [](const CSettings& s) { return Adv(s).*Field != 0; },
            [](CSettings& s, bool on) { Adv(s).*Field = on ? 1 : 0; }};
}

using I = CInFiltration;
using A = CAdvancedFiltration;
constexpr std::array kBoxes{
    InBox<&I::getBlockPopUps, &I::setBlockPopUps>(kPopUps),
    InBox<&I::getBlockBannerFlash, &I::setBlockBannerFlash>(kFlash),
    InBox<&I::getBlockImages, &I::setBlockImages>(kImages),
    InBox<&I::getBlockScripts, &I::setBlockScripts>(kScripts),
    AdvBox<&A::mDisableWndCloseupEvents>(kCloseupEvents),
    AdvBox<&A::mDisableTimerScripts>(kTimerScripts),
    AdvBox<&A::mRemoveStatusModifier>(kStatusModifiers),
    AdvBox<&A::mRemoveContextMenu>(kContextMenu),
    SBoxRow{kHideTitle, nullptr, nullptr},
};

}  // namespace

CWizFiltrationModel::CWizFiltrationModel() : CWizBoxPageModel(kBoxes) {
    for (const SBoxRow& row : kBoxes) Boxes().SetChecked(row.box, true);
}

}  // namespace wizard
