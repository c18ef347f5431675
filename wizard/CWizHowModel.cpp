#include "wizard/CWizHowModel.h"

#include <algorithm>

namespace wizard {

CWizHowModel::CWizHowModel(int fullWidth, int fullHeight, int desktopWidth, int desktopHeight)
    : fullWidth_(fullWidth), fullHeight_(fullHeight), desktopWidth_(desktopWidth), desktopHeight_(desktopHeight) {}

CWizHowModel::SRect CWizHowModel::Centred(int width, int height) const {
    return {(desktopWidth_ - width) / 2, (desktopHeight_ - height) / 2, width, height};
}

CWizHowModel::SRect CWizHowModel::Region() const {
    constexpr int kLeft = 14, kTop = 14, kRight = 10, kBottom = 5;
    return {kLeft, kTop, std::max(fullWidth_ - kLeft - kRight, 0), std::max(fullHeight_ - kTop - kBottom, 0)};
}

CWizHowModel::SRect CWizHowModel::Start() const { return Centred(0, 0); }

CWizHowModel::SRect CWizHowModel::Tick(int width, int height) {
    const SRect next = Centred(std::min(width + widthStep_, fullWidth_), std::min(height + heightStep_, fullHeight_));
    if (height >= fullHeight_) heightStep_ = 0;
    if (width >= fullWidth_) {
        widthStep_ = 0;
        running_ = false;
    }
    return next;
}

}  // namespace wizard
