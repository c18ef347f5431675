#include <string>
#include <vector>

#include "filter/FilterFixture.h"

namespace filtertest {
namespace {

std::string Blanks(std::size_t n) { return std::string(n, ' '); }

Adjust Incoming(std::function<void(CFiltrationSettings&)> more) {
    return [more](CFiltrationSettings& f) {
        f.mInFiltration.setEnable(true);
        more(f);
    };
}

const Adjust kScripts = Incoming([](CFiltrationSettings& f) { f.mInFiltration.setBlockScripts(true); });

struct ResponseCase {
    const char* name;
    Adjust adjust;
    std::string response;
    std::string expected;
    Counters counters;
};

// Filters one buffer with a fresh connection state.
std::string FilterOnce(CFiltrationManager& manager, const std::string& text, CScriptFilterState& state) {
    std::string buffer = Buffer(text);
    int length = static_cast<int>(text.size());
    EXPECT_EQ(manager.FilterResponse(buffer.data(), length, state), 1);
    EXPECT_EQ(length, static_cast<int>(text.size()));
    // The terminator stays where it was.
    EXPECT_EQ(buffer.back(), '\0');
    return buffer.substr(0, text.size());
}

class ResponseFilterTest : public FilterTest, public ::testing::WithParamInterface<ResponseCase> {};

TEST_P(ResponseFilterTest, EditsInPlaceKeepingTheLengthAndCounts) {
    const ResponseCase& c = GetParam();
    CFiltrationManager manager = Manager(c.adjust);
    CScriptFilterState state;
    EXPECT_EQ(FilterOnce(manager, c.response, state), c.expected);
    EXPECT_EQ(ReadCounters(), c.counters);
}

const Adjust kEverythingButEnable = [](CFiltrationSettings& f) {
    CInFiltration& in = f.mInFiltration;
    in.setBlockScripts(true);
    in.setBlockPopUps(true);
    in.setIsBlockTitle(true);
    in.setBlockTitle("X");
    CAdvancedFiltration& a = f.mAdvancedFiltration;
    a.mDisableTimerScripts = a.mDisableWndCloseupEvents = a.mRemoveStatusModifier = a.mRemoveContextMenu = 1;
};

Adjust Title(const char* title) {
    return Incoming([title](CFiltrationSettings& f) {
        f.mInFiltration.setIsBlockTitle(true);
        f.mInFiltration.setBlockTitle(title);
    });
}

Adjust Advanced(platform::DWORD CAdvancedFiltration::*flag) {
    return Incoming([flag](CFiltrationSettings& f) { f.mAdvancedFiltration.*flag = 1; });
}

const std::string kPage = "<title>Page</title><script>window.open('x');window.status='s';</script>";

const ResponseCase kResponseCases[] = {
    {"IncomingOffChangesNothing", kEverythingButEnable, kPage, kPage, {}},
    {"ScriptElementIsBlanked", kScripts, "a<SCRIPT>x()</Script>b", "a" + Blanks(20) + "b", {}},
    {"EveryScriptElementIsBlanked", kScripts, "<script>1</script>k<script>2</script>z",
     Blanks(18) + "k" + Blanks(18) + "z", {}},
    {"CloseWithoutOpenBlanksFromTheStart", kScripts, "abc</script>d", Blanks(12) + "d", {}},
    {"ScriptsFlagOffKeepsScripts", Incoming([](CFiltrationSettings&) {}), kPage, kPage, {}},
    {"PopUpsAreNeutralisedAndCounted", Incoming([](CFiltrationSettings& f) { f.mInFiltration.setBlockPopUps(true); }),
     "a=window.open('x');Window.Open('y');", "a=1;''.concat('x');1;''.concat('y');", Only(PopUps, 2)},
    {"PopUpAtTheEndIsCutToTheBuffer",
     Incoming([](CFiltrationSettings& f) { f.mInFiltration.setBlockPopUps(true); }), "x=window.open",
     "x=1;''.concat", Only(PopUps, 1)},
    {"ShorterTitleIsPaddedWithBlanks", Title("Hi"), "<html><TITLE lang=en>Hello</TITLE>",
     "<html><TITLE lang=en>Hi   </TITLE>", {}},
    {"LongerTitleIsCutToTheOldLength", Title("ABCDEFGHIJKLMNOPQRST"), "<title>Hello</title>",
     "<title>ABCDE</title>", {}},
    {"OnlyTheFirstTitleChanges", Title("T"), "<title>a</title><title>b</title>", "<title>T</title><title>b</title>",
     {}},
    {"TitleWithoutCloseStays", Title("T"), "<title>Hello", "<title>Hello", {}},
    {"TimerScriptsAreBlankedUncounted", Advanced(&CAdvancedFiltration::mDisableTimerScripts),
     "window.setTimeout(f,1);x;window.SetInterval(g,2);y", Blanks(23) + "x;" + Blanks(24) + "y", {}},
    {"CloseEventWithoutSemicolonIsBlankedToTheEnd", Advanced(&CAdvancedFiltration::mDisableWndCloseupEvents),
     "a;window.onunload=f;window.onclose=g", "a;" + Blanks(18) + Blanks(16), {}},
    {"StatusModifiersAreBlankedThroughBothSemicolons", Advanced(&CAdvancedFiltration::mRemoveStatusModifier),
     "window.status=x; window.defaultstatus=y;", Blanks(40), Only(StatusBars, 2)},
    {"ContextMenuDisablersAreBlankedAndCounted", Advanced(&CAdvancedFiltration::mRemoveContextMenu),
     "document.oncontextmenu=f;k;document.onMouseDown=g;", Blanks(25) + "k;" + Blanks(23), Only(ContextMenus, 2)},
    {"FiltersStopAtTheFirstNul", Incoming([](CFiltrationSettings& f) { f.mInFiltration.setBlockPopUps(true); }),
     std::string("ok\0window.open(", 15), std::string("ok\0window.open(", 15), {}},
};

INSTANTIATE_TEST_SUITE_P(Rules, ResponseFilterTest, ::testing::ValuesIn(kResponseCases),
                         [](const auto& info) { return std::string(info.param.name); });

class ScriptStateTest : public FilterTest {
protected:
    CFiltrationManager manager_ = Manager(kScripts);
};

TEST_F(ScriptStateTest, ScriptSpanningBuffersIsBlankedToItsClose) {
    CScriptFilterState state;
    const std::pair<std::string, std::string> buffers[] = {
        {"text<script>var a", "text" + Blanks(13)},
        {"middle", Blanks(6)},
        {"=1;</script>after<script>b", Blanks(12) + "after" + Blanks(9)},
        {"</script>end", Blanks(9) + "end"},
        {"plain", "plain"},
    };
    for (const auto& [in, out] : buffers) EXPECT_EQ(FilterOnce(manager_, in, state), out) << in;
    EXPECT_FALSE(state.mInsideScript);
}

TEST_F(ScriptStateTest, EachConnectionKeepsItsOwnState) {
    CScriptFilterState first;
    CScriptFilterState second;
    EXPECT_EQ(FilterOnce(manager_, "<script>a", first), Blanks(9));
    EXPECT_EQ(FilterOnce(manager_, "plain", second), "plain");
    EXPECT_EQ(FilterOnce(manager_, "more", first), Blanks(4));
    first.Reset();
    EXPECT_EQ(FilterOnce(manager_, "fresh", first), "fresh");
}

TEST_F(ScriptStateTest, AllowedSiteInTheLocationExemptsThisAndLaterBuffers) {
    CScriptFilterState state;
    const std::string redirect = "HTTP/1.1 302 Found\r\nLocation: http://login.PASSPORT.example/\r\n\r\n<script>x</script>";
    EXPECT_EQ(FilterOnce(manager_, redirect, state), redirect);
    EXPECT_EQ(FilterOnce(manager_, "<script>y</script>", state), "<script>y</script>");
    // Another location ends the exemption.
    EXPECT_EQ(FilterOnce(manager_, "location: http://other/\r\n<script>z</script>",
                         state),
              "location: http://other/\r\n" + Blanks(18));
    EXPECT_EQ(FilterOnce(manager_, "<script>w</script>", state), Blanks(18));
    CScriptFilterState other;
    EXPECT_EQ(FilterOnce(manager_, "Location: http://a.hotmail.b/\r\n<script>", other),
              "Location: http://a.hotmail.b/\r\n<script>");
    // The site counts only inside the location line.
    CScriptFilterState third;
    EXPECT_EQ(FilterOnce(manager_, "Location: /x\r\n.passport. <script>", third), "Location: /x\r\n.passport. " + Blanks(8));
}

TEST_F(FilterTest, QueriesReportTheirFlags) {
    const struct {
        int (CFiltrationManager::*query)() const;
        Adjust on;
    } cases[] = {
        {&CFiltrationManager::IsImageBlocker, [](CFiltrationSettings& f) { f.mInFiltration.setBlockImages(true); }},
        {&CFiltrationManager::IsFlashBannersBlocker,
         [](CFiltrationSettings& f) { f.mInFiltration.setBlockBannerFlash(true); }},
        {&CFiltrationManager::IsAdsBlocker, [](CFiltrationSettings& f) { f.mInFiltration.setBlockBannerAdds(true); }},
        {&CFiltrationManager::IsScriptsBlocker, [](CFiltrationSettings& f) { f.mInFiltration.setBlockScripts(true); }},
        {&CFiltrationManager::IsPopUpBlocker, [](CFiltrationSettings& f) { f.mInFiltration.setBlockPopUps(true); }},
        {&CFiltrationManager::IsPageTitleBlock, [](CFiltrationSettings& f) { f.mInFiltration.setIsBlockTitle(true); }},
        {&CFiltrationManager::IsStopServerBlocker, [](CFiltrationSettings& f) { f.mOutFiltration.SetEnableServerList(1); }},
        {&CFiltrationManager::IsOSBlocker, [](CFiltrationSettings& f) { f.mOutFiltration.SetOsShield(1); }},
        {&CFiltrationManager::IsCookiesBlocker, [](CFiltrationSettings& f) { f.mOutFiltration.SetDiabledCookies(1); }},
        {&CFiltrationManager::IsReferrerBlocker, [](CFiltrationSettings& f) { f.mOutFiltration.SetBlockReferrer(1); }},
        {&CFiltrationManager::IsJavaAppletDisabled,
         [](CFiltrationSettings& f) { f.mAdvancedFiltration.mDisableJavaApplets = 1; }},
        {&CFiltrationManager::IsTimerBasedProcessing,
         [](CFiltrationSettings& f) { f.mAdvancedFiltration.mDisableTimerScripts = 1; }},
        {&CFiltrationManager::IsWindowCloseupEvent,
         [](CFiltrationSettings& f) { f.mAdvancedFiltration.mDisableWndCloseupEvents = 1; }},
        {&CFiltrationManager::IsContextMenuDisabler,
         [](CFiltrationSettings& f) { f.mAdvancedFiltration.mRemoveContextMenu = 1; }},
    };
    const CFiltrationManager off = Manager(nullptr);
    for (const auto& c : cases) {
        EXPECT_EQ((off.*c.query)(), 0);
        EXPECT_EQ((Manager(c.on).*c.query)(), 1);
    }
}

TEST_F(FilterTest, BigTitleGrowsTheTextOnlyWhenItFits) {
    CFiltrationManager manager = Manager([](CFiltrationSettings& f) { f.mInFiltration.setBlockTitle("Longer title"); });
    const std::string page = "<title>ab</title>rest";
    std::string buffer = page + std::string(40, '\0');
    int start = 7;
    int end = 9;
    EXPECT_EQ(manager.CopyPktForBigTitleToNewString(buffer.data(), static_cast<int>(buffer.size()), start, end), 31);
    EXPECT_EQ(std::string(buffer.c_str()), "<title>Longer title</title>rest");
    EXPECT_EQ(end, 19);

    std::string tight = page + '\0';
    start = 7;
    end = 9;
    EXPECT_EQ(manager.CopyPktForBigTitleToNewString(tight.data(), static_cast<int>(tight.size()), start, end), -1);
    EXPECT_EQ(tight, page + '\0');
    EXPECT_EQ(end, 9);
}

}  // namespace
}  // namespace filtertest
