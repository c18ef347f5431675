#include "wizard/PageGeometry.h"

#include <algorithm>

#include "wizard/PageTraits.h"

namespace wizard {
namespace {
constexpr int kPageWidthDlu = 434;
constexpr int kPageHeightDlu = 274;
}  // namespace

int DluToPixelsX(int dlu) { return dlu * 3 / 2; }
int DluToPixelsY(int dlu) { return dlu * 13 / 8; }

SPoint PageSizePixels() { return {DluToPixelsX(kPageWidthDlu), DluToPixelsY(kPageHeightDlu)}; }

SRect PageRegion(int clientWidth, int clientHeight, const SPageTraits& traits) {
    SRect region{kLeftTopInset, kLeftTopInset, clientWidth - traits.insetRight, clientHeight - traits.insetBottom};
    region.right = std::max(region.right, region.left);
    region.bottom = std::max(region.bottom, region.top);
    return region;
}

}  // namespace wizard
