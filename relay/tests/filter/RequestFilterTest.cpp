#include <string>
#include <vector>

#include "filter/FilterFixture.h"

namespace filtertest {
namespace {

std::string Request(const std::string& target, const std::string& headers) {
    return "GET " + target + " HTTP/1.1\r\n" + headers + "\r\n";
}

const Adjust kIncoming = [](CFiltrationSettings& f) { f.mInFiltration.setEnable(true); };

Adjust Incoming(std::function<void(CInFiltration&)> more) {
    return [more](CFiltrationSettings& f) {
        f.mInFiltration.setEnable(true);
        more(f.mInFiltration);
    };
}

Adjust Outgoing(std::function<void(COutFiltration&)> more) {
    return [more](CFiltrationSettings& f) {
        f.mOutFiltration.SetEnable(1);
        more(f.mOutFiltration);
    };
}

struct RequestCase {
    const char* name;
    Adjust adjust;
    std::string request;
    eRequestState verdict;
    std::string expected;  // the text after filtering; ignored when refused
    Counters counters;
};

void PrintTo(const RequestCase& c, std::ostream* out) { *out << c.name; }

class RequestFilterTest : public FilterTest, public ::testing::WithParamInterface<RequestCase> {};

TEST_P(RequestFilterTest, GivesTheVerdictEditsInPlaceAndCounts) {
    const RequestCase& c = GetParam();
    CFiltrationManager manager = Manager(c.adjust);
    std::string buffer = Buffer(c.request);
    int length = static_cast<int>(c.request.size());
    EXPECT_EQ(manager.FilterRequest(buffer.data(), length), c.verdict);
    if (c.verdict == REQUEST_STATE_PASS) {
        EXPECT_EQ(length, static_cast<int>(c.request.size()));
        EXPECT_EQ(buffer, Buffer(c.expected));
    } else {
        EXPECT_EQ(length, 0);
    }
    EXPECT_EQ(ReadCounters(), c.counters);
}

const std::string kPlain = Request("http://www.example.com/index.html", "Host: www.example.com\r\n");

std::string Blanks(std::size_t n) { return std::string(n, ' '); }

// Every incoming request filter switched on, but incoming filtration off.
const Adjust kIncomingFlagsOnly = [](CFiltrationSettings& f) {
    CInFiltration& in = f.mInFiltration;
    in.setBlockImages(true);
    in.setBlockBannerFlash(true);
    in.setBlockBannerAdds(true);
    in.setBlockScripts(true);
    in.mBanners.SetBlockedServerList({"example"});
    f.mAdvancedFiltration.mDisableJavaApplets = 1;
};

const RequestCase kRequestCases[] = {
    {"NothingOnPasses", nullptr, kPlain, REQUEST_STATE_PASS, kPlain, {}},
    {"ImageIsRefusedAndCounted", Incoming([](CInFiltration& in) { in.setBlockImages(true); }),
     Request("http://a.example/x.GIF", "Host: a.example\r\n"), REQUEST_STATE_CLOSE, "", Only(Images, 1)},
    {"ImageNamedInTheRefererIsRefused", Incoming([](CInFiltration& in) { in.setBlockImages(true); }),
     Request("/page.html", "Host: a.example\r\nReferer: http://a.example/logo.jpeg\r\n"), REQUEST_STATE_CLOSE, "",
     Only(Images, 1)},
    {"ImageFlagOffPasses", kIncoming, Request("/x.gif", "Host: a\r\n"), REQUEST_STATE_PASS,
     Request("/x.gif", "Host: a\r\n"), {}},
    {"IncomingOffRunsNoIncomingTest", kIncomingFlagsOnly, Request("/a.gif.class.swf.js", "Host: www.example.com\r\n"),
     REQUEST_STATE_PASS, Request("/a.gif.class.swf.js", "Host: www.example.com\r\n"), {}},
    {"JavaAppletIsRefusedUncounted",
     [](CFiltrationSettings& f) {
         f.mInFiltration.setEnable(true);
         f.mAdvancedFiltration.mDisableJavaApplets = 1;
     },
     Request("/Applet.CLASS", "Host: a\r\n"), REQUEST_STATE_CLOSE, "", {}},
    {"FlashIsRefusedAndCounted", Incoming([](CInFiltration& in) { in.setBlockBannerFlash(true); }),
     Request("/banner.swf", "Host: a\r\n"), REQUEST_STATE_CLOSE, "", Only(Flash, 1)},
    {"FlashTestIsCaseSensitive", Incoming([](CInFiltration& in) { in.setBlockBannerFlash(true); }),
     Request("/banner.SWF", "Host: a\r\n"), REQUEST_STATE_PASS, Request("/banner.SWF", "Host: a\r\n"), {}},
    {"HostHoldingABlockedEntryGetsTheAdPage",
     Incoming([](CInFiltration& in) {
         in.setBlockBannerAdds(true);
         in.mBanners.SetBlockedServerList({"doubleclick"});
     }),
     Request("/ad", "Host: ad.doubleclick.net\r\n"), REQUEST_STATE_BLOCK_AD, "", Only(Ads, 1)},
    {"CustomEntryHoldingTheHostGetsTheAdPage",
     Incoming([](CInFiltration& in) {
         in.setBlockBannerAdds(true);
         in.mBanners.SetCustomServerList({"www.ads.example.org"});
     }),
     Request("/ad", "Host: ads.example\r\n"), REQUEST_STATE_BLOCK_AD, "", Only(Ads, 1)},
    {"AllowedAdListIsNotConsulted",
     Incoming([](CInFiltration& in) {
         in.setBlockBannerAdds(true);
         in.mBanners.SetAllowedServerList({"ads.example"});
     }),
     Request("/ad", "Host: ads.example\r\n"), REQUEST_STATE_PASS, Request("/ad", "Host: ads.example\r\n"), {}},
    {"AdListTestIsCaseSensitive",
     Incoming([](CInFiltration& in) {
         in.setBlockBannerAdds(true);
         in.mBanners.SetBlockedServerList({"DoubleClick"});
     }),
     Request("/ad", "Host: ad.doubleclick.net\r\n"), REQUEST_STATE_PASS,
     Request("/ad", "Host: ad.doubleclick.net\r\n"), {}},
    {"EmptyAdEntryNeverMatches",
     Incoming([](CInFiltration& in) {
         in.setBlockBannerAdds(true);
         in.mBanners.SetBlockedServerList({""});
         in.mBanners.SetCustomServerList({""});
     }),
     Request("/ad", "Host: ads.example\r\n"), REQUEST_STATE_PASS, Request("/ad", "Host: ads.example\r\n"), {}},
    {"RequestWithoutHostIsNeverAnAd",
     Incoming([](CInFiltration& in) {
         in.setBlockBannerAdds(true);
         in.mBanners.SetBlockedServerList({"ads"});
     }),
     Request("/ad", ""), REQUEST_STATE_PASS, Request("/ad", ""), {}},
    {"ScriptFileIsRefusedUncounted", Incoming([](CInFiltration& in) { in.setBlockScripts(true); }),
     Request("/lib/menu.VBS", "Host: a\r\n"), REQUEST_STATE_CLOSE, "", {}},
    {"ScriptPathBeforeAQueryIsRefused", Incoming([](CInFiltration& in) { in.setBlockScripts(true); }),
     Request("http://a.example/lib/app.js?v=3", "Host: a.example\r\n"), REQUEST_STATE_CLOSE, "", {}},
    {"PathThatMerelyHoldsAScriptExtensionPasses", Incoming([](CInFiltration& in) { in.setBlockScripts(true); }),
     Request("/docs/vue.js-guide.html?x=a.js#b.vbs", "Host: a\r\nReferer: http://a/app.js\r\n"),
     REQUEST_STATE_PASS, Request("/docs/vue.js-guide.html?x=a.js#b.vbs", "Host: a\r\nReferer: http://a/app.js\r\n"),
     {}},
    {"OutgoingOffLeavesHeaders",
     [](CFiltrationSettings& f) {
         COutFiltration& out = f.mOutFiltration;
         out.SetBlockReferrer(1);
         out.SetOsShield(1);
         out.SetDiabledCookies(1);
         out.SetDisabledFileCache(1);
         out.SetEnableServerList(1);
         out.SetServerStopList({"a"});
     },
     Request("/", "Host: a\r\nReferer: r\r\nUser-Agent: u\r\nCookie: c\r\nIf-Modified-Since: d\r\n"),
     REQUEST_STATE_PASS, Request("/", "Host: a\r\nReferer: r\r\nUser-Agent: u\r\nCookie: c\r\nIf-Modified-Since: d\r\n"),
     {}},
    {"OutgoingRunsWithIncomingOff", Outgoing([](COutFiltration& out) { out.SetOsShield(1); }),
     Request("/", "User-Agent: Mozilla/4.0\r\nHost: a\r\n"), REQUEST_STATE_PASS,
     Request("/", "User-Agent:" + Blanks(12) + "\r\nHost: a\r\n"), {}},
    {"EveryRefererSpellingIsBlanked", Outgoing([](COutFiltration& out) { out.SetBlockReferrer(1); }),
     Request("/", "REFERER: http://x/\r\nHost: a\r\nReferrer : y\r\n"), REQUEST_STATE_PASS,
     Request("/", "REFERER:" + Blanks(10) + "\r\nHost: a\r\nReferrer :" + Blanks(2) + "\r\n"), {}},
    // The order one major browser sends: every blanked field keeps its line
    // end, so the Host field after them stays a field.
    {"ShieldedFieldsBeforeHostKeepEveryLineEnd",
     Outgoing([](COutFiltration& out) {
         out.SetOsShield(1);
         out.SetDiabledCookies(1);
         out.SetBlockReferrer(1);
     }),
     Request("/", "User-Agent: UA/1\r\nCookie: k=v\r\nReferer: http://r/\r\nHost: a\r\n"), REQUEST_STATE_PASS,
     Request("/", "User-Agent:" + Blanks(5) + "\r\nCookie:" + Blanks(4) + "\r\nReferer:" + Blanks(10) + "\r\nHost: a\r\n"),
     Only(Cookies, 1)},
    {"FieldNamesInsideTheRequestLineAreNoFields",
     Outgoing([](COutFiltration& out) {
         out.SetOsShield(1);
         out.SetDiabledCookies(1);
         out.SetBlockReferrer(1);
         out.SetDisabledFileCache(1);
     }),
     Request("/?user-agent:x&cookie:y&referer:z&if-modified-since:w", "X-Cookie: c\r\nHost: a\r\n"),
     REQUEST_STATE_PASS,
     Request("/?user-agent:x&cookie:y&referer:z&if-modified-since:w", "X-Cookie: c\r\nHost: a\r\n"), {}},
    {"DocumentRefererIsBlankedToItsSemicolon", Outgoing([](COutFiltration& out) { out.SetBlockReferrer(1); }),
     "a document.referer:xy;b", REQUEST_STATE_PASS, "a" + Blanks(20) + ";b", {}},
    {"RefererWithoutLineEndStays", Outgoing([](COutFiltration& out) { out.SetBlockReferrer(1); }),
     "GET / HTTP/1.0\r\nReferer: http://x/", REQUEST_STATE_PASS, "GET / HTTP/1.0\r\nReferer: http://x/", {}},
    {"StopListedHostIsLowerCasedAndGetsTheStopPage",
     Outgoing([](COutFiltration& out) {
         out.SetEnableServerList(1);
         out.SetServerStopList({"other.example", "blocked.example"});
     }),
     Request("/", "Host: WWW.Blocked.Example\r\n"), REQUEST_STATE_BLOCK_SERVER, "", Only(Servers, 1)},
    {"StopListEntryIsCaseSensitive",
     Outgoing([](COutFiltration& out) {
         out.SetEnableServerList(1);
         out.SetServerStopList({"Blocked.example"});
     }),
     Request("/", "Host: www.blocked.example\r\n"), REQUEST_STATE_PASS, Request("/", "Host: www.blocked.example\r\n"),
     {}},
    {"EmptyStopEntryNeverMatches",
     Outgoing([](COutFiltration& out) {
         out.SetEnableServerList(1);
         out.SetServerStopList({""});
     }),
     Request("/", "Host: a.example\r\n"), REQUEST_STATE_PASS, Request("/", "Host: a.example\r\n"), {}},
    {"StopListRefusesARequestWithoutHost",
     Outgoing([](COutFiltration& out) {
         out.SetEnableServerList(1);
         out.SetServerStopList({"", "x"});
     }),
     Request("/", ""), REQUEST_STATE_BLOCK_SERVER, "", Only(Servers, 1)},
    {"StopListOffPasses", Outgoing([](COutFiltration& out) { out.SetServerStopList({"a"}); }),
     Request("/", "Host: a\r\n"), REQUEST_STATE_PASS, Request("/", "Host: a\r\n"), {}},
    {"OnlyTheFirstUserAgentIsBlanked", Outgoing([](COutFiltration& out) { out.SetOsShield(1); }),
     Request("/", "user-agent: a\r\nUser-Agent: b\r\n"), REQUEST_STATE_PASS,
     Request("/", "user-agent:" + Blanks(2) + "\r\nUser-Agent: b\r\n"), {}},
    {"EveryIfModifiedSinceIsBlanked", Outgoing([](COutFiltration& out) { out.SetDisabledFileCache(1); }),
     Request("/", "If-Modified-Since: Sat, 1 Jan\r\nif-modified-since: x\r\n"), REQUEST_STATE_PASS,
     Request("/", "If-Modified-Since:" + Blanks(11) + "\r\nif-modified-since:" + Blanks(2) + "\r\n"), {}},
    {"FirstCookieIsBlankedAndCounted", Outgoing([](COutFiltration& out) { out.SetDiabledCookies(1); }),
     Request("/", "Cookie: a=b\r\nCookie: c=d\r\n"), REQUEST_STATE_PASS,
     Request("/", "Cookie:" + Blanks(4) + "\r\nCookie: c=d\r\n"), Only(Cookies, 1)},
    {"CookieWithoutLineEndStaysUncounted", Outgoing([](COutFiltration& out) { out.SetDiabledCookies(1); }),
     "GET / HTTP/1.0\r\nCookie: a=b", REQUEST_STATE_PASS, "GET / HTTP/1.0\r\nCookie: a=b", {}},
    {"FiltersStopAtTheFirstNul", Outgoing([](COutFiltration& out) { out.SetDiabledCookies(1); }),
     std::string("GET / HTTP/1.0\r\n\0Cookie: a\r\n", 28), REQUEST_STATE_PASS,
     std::string("GET / HTTP/1.0\r\n\0Cookie: a\r\n", 28), {}},
};

INSTANTIATE_TEST_SUITE_P(Rules, RequestFilterTest, ::testing::ValuesIn(kRequestCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(HostNameTest, TakesTheHostFieldsValueWhereverItStands) {
    const struct {
        std::string request;
        std::string host;
    } cases[] = {
        {"GET / HTTP/1.1\r\nHost: www.a.example\r\n\r\n", "www.a.example"},
        {"GET / HTTP/1.1\r\nHOST: B.example:8080\r\n", "B.example:8080"},
        // Blanks around the value are not part of it, none is needed.
        {"GET / HTTP/1.1\r\nhost:abc\r\n", "abc"},
        {"GET / HTTP/1.1\r\nhost: \t abc \r\n", "abc"},
        // After blanked fields, with bare line feeds, never inside another
        // field or the request line.
        {"GET /?host:x HTTP/1.1\r\nUser-Agent:   \r\nX-Forwarded-Host: f\r\nHost: c.example\r\n", "c.example"},
        {"GET / HTTP/1.1\nAccept: */*\nHost: d.example\n\n", "d.example"},
        {"GET / HTTP/1.1\r\nHost: a.example", ""},
        {"GET / HTTP/1.1\r\n\r\n", ""},
        {"Host:\n", ""},
        {"GET / HTTP/1.1\r\nHost: " + std::string(300, 'h') + "\r\n", std::string(255, 'h')},
    };
    for (const auto& c : cases) EXPECT_EQ(CFiltrationManager::GetHostName(c.request), c.host) << c.request;
}


}  // namespace
}  // namespace filtertest
