#include "wizard/PageTraits.h"

#include <algorithm>
#include <array>
#include <stdexcept>

#include "wizard/DialogIds.h"
#include "wizard/WizTexts.h"

namespace wizard {
namespace {

constexpr std::array kPages{
    SPageTraits{.dialog = dlg::kWelcome, .banner = 128, .insetRight = 120, .insetBottom = 12, .hideTimer = 0,
                .hideDelayMs = 0, .staysShown = true, .setsTitle = true, .cancelScope = eCancelScope::Quit,
                .cancelText = text::kLeaveWizaed, .closeIgnored = false, .nextFace = "IDR_NEXT",
                .backInactive = true},
    SPageTraits{.dialog = dlg::kAutoConfig, .banner = 292, .insetRight = 120, .insetBottom = 10, .hideTimer = 0,
                .hideDelayMs = 0, .staysShown = true, .setsTitle = true,
                .cancelScope = eCancelScope::SelfAndPrevious, .cancelText = text::kLeaveWizard,
                .closeIgnored = false, .nextFace = "IDR_NEXT", .backInactive = false},
    SPageTraits{.dialog = dlg::kSetupType, .banner = 294, .insetRight = 120, .insetBottom = 10,
                .hideTimer = kHideTimerShort, .hideDelayMs = 1000, .staysShown = false, .setsTitle = true,
                .cancelScope = eCancelScope::SelfAndTwoPrevious, .cancelText = text::kLeaveWizard,
                .closeIgnored = false, .nextFace = "IDR_NEXT", .backInactive = false},
    SPageTraits{.dialog = dlg::kFinish, .banner = 282, .insetRight = 120, .insetBottom = 10,
                .hideTimer = kHideTimerShort, .hideDelayMs = 1, .staysShown = false, .setsTitle = false,
                .cancelScope = eCancelScope::WholeStack, .cancelText = text::kLeaveWizaed, .closeIgnored = true,
                .nextFace = "IDR_FINISH", .backInactive = false},
    SPageTraits{.dialog = dlg::kProxy, .banner = 286, .insetRight = 90, .insetBottom = 10, .hideTimer = kHideTimer,
                .hideDelayMs = 1000, .staysShown = false, .setsTitle = false, .cancelScope = eCancelScope::WholeStack,
                .cancelText = text::kLeaveWizaed, .closeIgnored = false, .nextFace = "IDR_NEXT", .backInactive = false},
    SPageTraits{.dialog = dlg::kSysCleanup, .banner = 286, .insetRight = 90, .insetBottom = 10, .hideTimer = kHideTimer,
                .hideDelayMs = 1000, .staysShown = false, .setsTitle = false, .cancelScope = eCancelScope::WholeStack,
                .cancelText = text::kLeaveWizard, .closeIgnored = false, .nextFace = "IDR_NEXT", .backInactive = false},
    SPageTraits{.dialog = dlg::kIECleanup, .banner = 287, .insetRight = 90, .insetBottom = 10, .hideTimer = kHideTimer,
                .hideDelayMs = 1000, .staysShown = false, .setsTitle = false, .cancelScope = eCancelScope::WholeStack,
                .cancelText = text::kLeaveWizard, .closeIgnored = false, .nextFace = "IDR_NEXT", .backInactive = false},
    SPageTraits{.dialog = dlg::kFiltration, .banner = 290, .insetRight = 90, .insetBottom = 10, .hideTimer = kHideTimer,
                .hideDelayMs = 1000, .staysShown = false, .setsTitle = false, .cancelScope = eCancelScope::WholeStack,
                .cancelText = text::kLeaveWizard, .closeIgnored = false, .nextFace = "IDR_NEXT", .backInactive = false},
    SPageTraits{.dialog = dlg::kProtection, .banner = 295, .insetRight = 90, .insetBottom = 10, .hideTimer = kHideTimer,
                .hideDelayMs = 1000, .staysShown = false, .setsTitle = false, .cancelScope = eCancelScope::WholeStack,
                .cancelText = text::kLeaveWizaed, .closeIgnored = false, .nextFace = "IDR_NEXT", .backInactive = false},
    SPageTraits{.dialog = dlg::kStopList, .banner = 291, .insetRight = 90, .insetBottom = 10, .hideTimer = kHideTimer,
                .hideDelayMs = 1000, .staysShown = false, .setsTitle = false, .cancelScope = eCancelScope::WholeStack,
                .cancelText = text::kLeaveWizaed, .closeIgnored = false, .nextFace = "IDR_NEXT", .backInactive = false},
};

}  // namespace

const SPageTraits& PageTraits(int dialog) {
    const auto it = std::find_if(kPages.begin(), kPages.end(), [dialog](const SPageTraits& t) { return t.dialog == dialog; });
    if (it == kPages.end()) throw std::out_of_range("not a wizard page");
    return *it;
}

std::vector<IWizardPage*> PagesToEnd(eCancelScope scope, IWizardPage* self, const CPageStack& stack) {
    std::vector<IWizardPage*> pages;
    auto addWithOpeners = [&](int openers) {
        for (IWizardPage* page = self; page && openers >= 0; page = page->GetPrevious(), --openers) {
            pages.push_back(page);
        }
    };
    switch (scope) {
        case eCancelScope::Quit:
            break;
        case eCancelScope::SelfAndPrevious:
            addWithOpeners(1);
            break;
        case eCancelScope::SelfAndTwoPrevious:
            addWithOpeners(2);
            break;
        case eCancelScope::WholeStack:
            for (std::size_t i = 0; i < stack.Count(); ++i) pages.push_back(stack.At(i));
            break;
    }
    return pages;
}

}  // namespace wizard
