#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "panel/tray/CTrayModel.h"

namespace {

std::vector<std::string> Texts(const std::vector<TrayMenuItem>& items) {
    std::vector<std::string> texts;
    for (const TrayMenuItem& item : items) texts.push_back(item.text);
    return texts;
}

std::vector<int> Commands(const std::vector<TrayMenuItem>& items) {
    std::vector<int> commands;
    for (const TrayMenuItem& item : items) commands.push_back(item.command);
    return commands;
}

TEST(TrayModelTest, MenusOfTheTwoFormsPutTheRelaySwitchFirstAsDefault) {
    struct Case {
        platform::UINT menu;
        std::vector<std::string> texts;
        std::vector<int> commands;
    };
    const Case cases[] = {
        {337, {"Stop", "Help", "", "Exit"}, {32779, 32776, 0, 32777}},
        {110, {"Start", "Help", "", "Exit"}, {32782, 32776, 0, 32777}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.menu);
        const auto items = CTrayModel::MenuFor(c.menu);
        EXPECT_EQ(c.texts, Texts(items));
        EXPECT_EQ(c.commands, Commands(items));
        ASSERT_FALSE(items.empty());
        EXPECT_TRUE(items[0].isDefault);
        for (std::size_t i = 1; i < items.size(); ++i) EXPECT_FALSE(items[i].isDefault);
    }
    EXPECT_TRUE(CTrayModel::MenuFor(111).empty());
}

TEST(TrayModelTest, FormsSetIconIdPictureAndMenu) {
    CTrayModel model;
    model.Create(WM_TRAY_NOTIFY, "Kavelin 2.2 Professional", 337, 2105);
    EXPECT_EQ(1034u, model.CallbackMessage());
    EXPECT_EQ("Kavelin 2.2 Professional", model.Tip());
    EXPECT_EQ(337u, model.IconId());
    EXPECT_EQ(2105u, model.IconPicture());

    model.SetStopped();
    EXPECT_EQ(110u, model.IconId());
    EXPECT_EQ(2106u, model.IconPicture());
    EXPECT_EQ("Start", model.CurrentMenu().front().text);

    model.SetRunning();
    EXPECT_EQ(337u, model.IconId());
    EXPECT_EQ(2105u, model.IconPicture());
    EXPECT_EQ("Stop", model.CurrentMenu().front().text);
}

TEST(TrayModelTest, MouseNoticesOfAnotherIconAreIgnored) {
    struct Case {
        const char* name;
        bool stopped;
        platform::WPARAM icon;
        platform::LPARAM mouse;
        platform::LRESULT result;
        eTrayAction action;
    };
    const Case cases[] = {
        {"right up while running", false, 337, CTrayModel::WM_RBUTTONUP, 1, eTrayAction::ShowMenu},
        {"double click while running", false, 337, CTrayModel::WM_LBUTTONDBLCLK, 1, eTrayAction::RestoreWindow},
        {"right up while stopped", true, 110, CTrayModel::WM_RBUTTONUP, 1, eTrayAction::ShowMenu},
        {"other mouse message", false, 337, 0x0200, 1, eTrayAction::None},
        {"stopped icon's notice while running", false, 110, CTrayModel::WM_RBUTTONUP, 0, eTrayAction::None},
        {"running icon's notice while stopped", true, 337, CTrayModel::WM_LBUTTONDBLCLK, 0, eTrayAction::None},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CTrayModel model;
        model.Create(WM_TRAY_NOTIFY, "tip", 337, 2105);
        if (c.stopped) model.SetStopped();
        eTrayAction action = eTrayAction::ShowMenu;
        EXPECT_EQ(c.result, model.OnNotification(c.icon, c.mouse, action));
        EXPECT_EQ(c.action, action);
    }
}

TEST(TrayModelTest, TipAndBalloonAreCutToTheirLimits) {
    CTrayModel model;
    model.Create(WM_TRAY_NOTIFY, std::string(200, 't'), 337, 2105);
    EXPECT_EQ(std::string(127, 't'), model.Tip());

    const TrayBalloon balloon = model.MakeBalloon(std::string(70, 'T'), std::string(300, 'x'), 10000);
    EXPECT_EQ(std::string(63, 'T'), balloon.title);
    EXPECT_EQ(std::string(255, 'x'), balloon.text);
    EXPECT_EQ(10000u, balloon.timeout);

    const TrayBalloon fits = model.MakeBalloon("Kavelin 2.2", "short", 5);
    EXPECT_EQ("Kavelin 2.2", fits.title);
    EXPECT_EQ("short", fits.text);
}

TEST(TrayModelTest, CutNeverSplitsACharacter) {
    // 254 bytes, then a two-byte letter across the limit.
    const std::string text = std::string(254, 'a') + "\xC3\xA9" + "z";
    EXPECT_EQ(std::string(254, 'a'), CTrayModel::Cut(text, 255));
    EXPECT_EQ(std::string(254, 'a') + "\xC3\xA9", CTrayModel::Cut(text, 256));
    EXPECT_EQ("", CTrayModel::Cut("\xE2\x82\xAC", 2));
}

}  // namespace
