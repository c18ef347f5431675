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

void PrintTo(const ResponseCase& c, std::ostream* out) { *out << c.name; }

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
    // Only the tag: what comes before a close without an open was never
    // seen as script (and may have gone to the client already).
    {"CloseWithoutOpenBlanksOnlyTheTag", kScripts, "abc</script>d", "abc" + Blanks(9) + "d", {}},
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

std::string Head(const std::string& fields, const std::string& type = "text/html") {
    return "HTTP/1.1 200 OK\r\nContent-Type: " + type + "\r\n" + fields + "\r\n";
}

TEST_F(ScriptStateTest, AllowedSiteInTheLocationExemptsThisAndLaterResponses) {
    CScriptFilterState state;
    // Scripts are the only filter on: an exempt body is not filtered at all.
    EXPECT_FALSE(manager_.FilterResponseHead(Head("Location: http://login.PASSPORT.example/\r\n"), state));
    EXPECT_FALSE(manager_.FilterResponseHead(Head(""), state));
    // Another location ends the exemption.
    ASSERT_TRUE(manager_.FilterResponseHead(Head("location: http://other/\r\n"), state));
    EXPECT_EQ(FilterOnce(manager_, "<script>z</script>", state), Blanks(18));
    ASSERT_TRUE(manager_.FilterResponseHead(Head(""), state));
    EXPECT_EQ(FilterOnce(manager_, "<script>w</script>", state), Blanks(18));
    CScriptFilterState other;
    EXPECT_FALSE(manager_.FilterResponseHead(Head("Location: http://a.hotmail.b/\r\n"), other));
    // The site counts only inside the location field.
    CScriptFilterState third;
    EXPECT_TRUE(manager_.FilterResponseHead(Head("Location: /x\r\nX-Note: .passport.\r\n"), third));
}

TEST_F(FilterTest, OnlyPagesAndScriptsWithAFilterThatAppliesAreFiltered) {
    const Adjust popUps = Incoming([](CFiltrationSettings& f) { f.mInFiltration.setBlockPopUps(true); });
    const struct {
        const char* name;
        Adjust adjust;
        std::string head;
        bool filtered;
    } cases[] = {
        {"page", kScripts, Head("", "text/html; charset=utf-8"), true},
        {"xhtml page", kScripts, Head("", "Application/XHTML+XML"), true},
        {"script with script blocking only", kScripts, Head("", "application/javascript"), false},
        {"script with pop-ups", popUps, Head("", "text/javascript"), true},
        {"image", popUps, Head("", "image/png"), false},
        {"binary", popUps, Head("", "application/octet-stream"), false},
        {"no type", popUps, "HTTP/1.1 200 OK\r\nContent-Length: 5\r\n\r\n", false},
        {"incoming off", [](CFiltrationSettings& f) { f.mInFiltration.setBlockPopUps(true); }, Head(""), false},
    };
    for (const auto& c : cases) {
        CFiltrationManager manager = Manager(c.adjust);
        CScriptFilterState state;
        EXPECT_EQ(manager.FilterResponseHead(c.head, state), c.filtered) << c.name;
    }
}

TEST_F(FilterTest, ScriptBodiesGetTheStatementFiltersOnly) {
    CFiltrationManager manager = Manager([](CFiltrationSettings& f) {
        f.mInFiltration.setEnable(true);
        f.mInFiltration.setBlockScripts(true);
        f.mInFiltration.setBlockPopUps(true);
        f.mInFiltration.setIsBlockTitle(true);
        f.mInFiltration.setBlockTitle("T");
    });
    CScriptFilterState state;
    ASSERT_TRUE(manager.FilterResponseHead(Head("", "application/x-javascript"), state));
    const std::string script = "document.write('<title>a</title><script>b</script>');w=window.open(u);";
    EXPECT_EQ(FilterOnce(manager, script, state),
              "document.write('<title>a</title><script>b</script>');w=1;''.concat(u);");
}

// A page with every marker the filter knows, some split in awkward places.
const std::string kMarkedPage =
    "<html><head><TITLE id=t>A title</title><script src=x></script></head><body>"
    "text </script> more <SCRIPT>var a = '</scr' + 'ipt>';</Script>"
    "<a onclick=\"window.open('p')\">x</a>"
    "<script>never closed... window.status='s';";
const std::string kStatementPage =
    "a;window.setTimeout(f,1);b;window.onunload=g;c;window.status=1;"
    "document.oncontextmenu=h;d;window.open(e);window.onclose=i";

const Adjust kEveryResponseFilter = [](CFiltrationSettings& f) { EveryResponseFilter(f, "Replaced title"); };

// Filters a body given in pieces, as the response stream does: the bytes a
// piece leaves undecided come again in front of the next one.
std::string FilterInPieces(CFiltrationManager& manager, const std::vector<std::string>& pieces,
                           CScriptFilterState& state) {
    std::string out;
    std::string work;
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        work += pieces[i];
        std::string buffer = Buffer(work);
        int length = static_cast<int>(work.size());
        const bool last = i + 1 == pieces.size();
        manager.FilterResponse(buffer.data(), length, state, last);
        EXPECT_GE(length, 0);
        EXPECT_LE(length, static_cast<int>(work.size()));
        if (last) {
            EXPECT_EQ(length, static_cast<int>(work.size()));
        }
        out += buffer.substr(0, static_cast<std::size_t>(length));
        work = buffer.substr(static_cast<std::size_t>(length), work.size() - static_cast<std::size_t>(length));
    }
    return out;
}

TEST_F(FilterTest, EverySplitPointGivesTheSameResultAsTheWholeBody) {
    for (const std::string& page : {kMarkedPage, kStatementPage}) {
        CFiltrationManager manager = Manager(kEveryResponseFilter);
        CScriptFilterState whole;
        const std::string expected = FilterInPieces(manager, {page}, whole);
        ASSERT_EQ(expected.size(), page.size());
        for (std::size_t split = 0; split <= page.size(); ++split) {
            CScriptFilterState state;
            EXPECT_EQ(FilterInPieces(manager, {page.substr(0, split), page.substr(split)}, state), expected)
                << "split at " << split;
        }
        for (std::size_t a = 1; a < page.size(); a += 7) {
            for (std::size_t b = a; b < page.size(); b += 5) {
                CScriptFilterState state;
                EXPECT_EQ(FilterInPieces(manager, {page.substr(0, a), page.substr(a, b - a), page.substr(b)}, state),
                          expected)
                    << "splits at " << a << " and " << b;
            }
        }
    }
}

// Blanks as long as text.
std::string Gone(std::string_view text) { return Blanks(text.size()); }

TEST_F(FilterTest, WholeBodyResultOfEveryFilter) {
    CFiltrationManager manager = Manager(kEveryResponseFilter);
    CScriptFilterState state;
    EXPECT_EQ(FilterInPieces(manager, {kMarkedPage}, state),
              "<html><head><TITLE id=t>Replace</title>" + Gone("<script src=x></script>") + "</head><body>text " +
                  Gone("</script>") + " more " + Gone("<SCRIPT>var a = '</scr' + 'ipt>';</Script>") +
                  "<a onclick=\"1;''.concat('p')\">x</a>" + Gone("<script>never closed... window.status='s';"));
    CScriptFilterState statements;
    EXPECT_EQ(FilterInPieces(manager, {kStatementPage}, statements),
              "a;" + Gone("window.setTimeout(f,1);") + "b;" + Gone("window.onunload=g;") + "c;" +
                  Gone("window.status=1;document.oncontextmenu=h;") + "d;1;''.concat(e);" + Gone("window.onclose=i"));
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
