#include "toolbar/ToolBarLayout.h"

#include <algorithm>

#include "toolbar/ToolBarIds.h"

namespace {

using namespace toolbar_ids;

// Items reach down to this line; the labels to kLabelBottom, starting
// kLabelDrop below the origin.
constexpr int kBottom = 22;
constexpr int kLabelBottom = 20;
constexpr int kLabelDrop = 7;
constexpr int kSeparatorWidth = 3;
constexpr int kSeparatorSpace = 4;

enum class Shown { Always, FilterSwitches, PrivacySwitch };

struct Row {
    ToolBarItemKind kind;
    Shown shown;
    int width;
    int id;
    int altId;
    int command;
    std::array<int, 4> pictures;
    std::array<int, 4> altPictures;
};

constexpr std::array<int, 4> kSeparatorPictures{kSeparatorPicture, kSeparatorPicture, kSeparatorPicture,
                                                kSeparatorPicture};

constexpr Row kRows[] = {
    {ToolBarItemKind::HoverButton, Shown::Always, 81, kCmdLogo, 0, kCmdLogo, {346, 347, 345, 346}, {}},
    {ToolBarItemKind::HoverButton, Shown::Always, 24, kEngineStart, kEngineStop, kCmdEngine, {340, 341, 339, 340},
     {343, 344, 342, 343}},
    {ToolBarItemKind::Separator, Shown::Always, kSeparatorWidth, kSeparator1, 0, kSeparator1, kSeparatorPictures, {}},
    {ToolBarItemKind::HoverButton, Shown::FilterSwitches, 85, kIncomingOn, kIncomingOff, kCmdIncoming,
     {350, 349, 351, 350}, {353, 348, 352, 353}},
    {ToolBarItemKind::Separator, Shown::FilterSwitches, kSeparatorWidth, kSeparator2, 0, kSeparator2,
     kSeparatorPictures, {}},
    {ToolBarItemKind::HoverButton, Shown::FilterSwitches, 93, kOutgoingOn, kOutgoingOff, kCmdOutgoing,
     {356, 357, 355, 356}, {359, 354, 358, 359}},
    {ToolBarItemKind::Separator, Shown::FilterSwitches, kSeparatorWidth, kSeparator3, 0, kSeparator3,
     kSeparatorPictures, {}},
    {ToolBarItemKind::HoverButton, Shown::PrivacySwitch, 58, kPrivacyOn, kPrivacyOff, kCmdPrivacy,
     {361, 362, 360, 361}, {364, 365, 363, 364}},
    {ToolBarItemKind::Separator, Shown::PrivacySwitch, kSeparatorWidth, kSeparator4, 0, kSeparator4,
     kSeparatorPictures, {}},
    {ToolBarItemKind::ImageList, Shown::Always, 63, kCmdReceivedIcon, 0, kCmdReceivedIcon,
     {kReceivedIconPicture, kReceivedIconPicture, kReceivedIconPicture, 0}, {}},
    {ToolBarItemKind::ImageList, Shown::Always, 51, kCmdReceivedAnimation, 0, kCmdReceivedAnimation, {}, {}},
    {ToolBarItemKind::Label, Shown::Always, 40, kReceivedLabel, 0, 0, {}, {}},
    {ToolBarItemKind::ImageList, Shown::Always, 63, kCmdSentIcon, 0, kCmdSentIcon,
     {kSentIconPicture, kSentIconPicture, kSentIconPicture, 0}, {}},
    {ToolBarItemKind::ImageList, Shown::Always, 51, kCmdSentAnimation, 0, kCmdSentAnimation, {}, {}},
    {ToolBarItemKind::Label, Shown::Always, 40, kSentLabel, 0, 0, {}, {}},
};

bool IsShown(Shown shown, const CKVDeskInfo& info) {
    switch (shown) {
    case Shown::FilterSwitches:
        return info.mEnableFilterSwitches;
    case Shown::PrivacySwitch:
        return info.mEnablePrivacySwitch;
    case Shown::Always:
        break;
    }
    return true;
}

}  // namespace

std::vector<ToolBarItem> ToolBarLayout(int originX, int originY, const CKVDeskInfo& info, ToolBarLabelSize labels) {
    std::vector<ToolBarItem> items;
    int x = originX;
    for (const Row& row : kRows) {
        if (!IsShown(row.shown, info)) continue;
        ToolBarItem item;
        item.kind = row.kind;
        item.id = row.id;
        item.altId = row.altId;
        item.command = row.command;
        item.pictures = row.pictures;
        item.altPictures = row.altPictures;
        if (row.kind == ToolBarItemKind::Separator) x += kSeparatorSpace;
        item.x = x;
        item.width = row.width;
        item.y = originY;
        item.height = kBottom - originY;
        if (row.kind == ToolBarItemKind::Label) {
            item.width = std::max(row.width, labels.width);
            item.height = std::max(kLabelBottom - (originY + kLabelDrop), labels.height);
            item.y = std::max(originY, kLabelBottom - item.height);
            item.height = kLabelBottom - item.y;
        }
        x += item.width;
        if (row.kind == ToolBarItemKind::Separator) x += kSeparatorSpace;
        items.push_back(item);
    }
    return items;
}
