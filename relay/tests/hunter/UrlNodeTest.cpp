// Crawl addresses: base addresses, page file names, and which links of a
// page are followed and where they lead.

#include <gtest/gtest.h>

#include <string>

#include "relay/hunter/CHunterThread.h"
#include "relay/hunter/CUrlNode.h"
#include "support/TempRoot.h"

namespace {

TEST(UrlNodeTests, BaseAddressNeedsAKnownTopLevelLabel) {
    struct Case {
        const char* address;
        const char* url;
        const char* base;
    };
    const Case cases[] = {
        {"WWW.Example.COM/Lists/Page.html", "http://www.example.com/lists/page.html", "http://www.example.com"},
        {"http://proxies.co.uk/a/b", "http://proxies.co.uk/a/b", "http://proxies.co.uk"},
        {"http://host.co/x", "http://host.co/x", "http://host.co"},
        {"http://host.x/page", "http://host.x/page", CUrlNode::kErrorInUrl},
        {"http://localhost/page", "http://localhost/page", CUrlNode::kErrorInUrl},
        {"http://host.zz/page", "http://host.zz/page", CUrlNode::kErrorInUrl},
        {"https://secure.example.org/p", "https://secure.example.org/p", "https://secure.example.org"},
        {"ftp://files.example.net/list.txt", "ftp://files.example.net/list.txt", "ftp://files.example.net"},
        {"http://example.com", "http://example.com", "http://example.com"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.address);
        CUrlNode node;
        node.SetParams("/pages", c.address);
        EXPECT_EQ(node.getUrl(), c.url);
        EXPECT_EQ(node.getBaseURL(), c.base);
    }
}

TEST(UrlNodeTests, PageFileNamesReplaceSpecialCharactersAndStayShort) {
    CUrlNode node;
    node.setLocalFileName("/pages", "http://a.com/x?y=\"1\"|<2>*\\");
    EXPECT_EQ(node.getFileName(), "/pages/http___a_com_x_y=_1___2___");
    node.setLocalFileName("/pages/", "a.b");
    EXPECT_EQ(node.getFileName(), "/pages/a_b");

    const std::string longA = "http://a.com/" + std::string(400, 'a');
    const std::string longB = "http://a.com/" + std::string(399, 'a') + "b";
    CUrlNode a;
    CUrlNode b;
    a.setLocalFileName("/pages", longA);
    b.setLocalFileName("/pages", longB);
    const std::string nameA = a.getFileName().substr(7);
    EXPECT_EQ(nameA.size(), CUrlNode::kMaxFileName);
    EXPECT_EQ(nameA.rfind("http___a_com_aaa", 0), 0u);
    EXPECT_NE(a.getFileName(), b.getFileName());
}

TEST(UrlNodeTests, LocalFilesKeepTheirCase) {
    kvtest::TempRoot root;
    const std::string path = (root.path() / "Lists.HTML").string();
    kvtest::WriteFile(path, "x");
    CUrlNode node;
    node.setUrl(path);
    EXPECT_EQ(node.getUrl(), path);
    EXPECT_TRUE(node.IsItLocalFile());
    node.setUrl("FILE:///Some/Page.html");
    EXPECT_EQ(node.getUrl(), "FILE:///Some/Page.html");
    node.setUrl("Missing/Page.html");
    EXPECT_EQ(node.getUrl(), "http://missing/page.html");
}

TEST(UrlNodeTests, LinksResolveAgainstTheSiteRootOrAreSkipped) {
    const std::string base = "http://www.example.com";
    struct Case {
        const char* href;
        std::string base;
        std::string link;
    };
    const Case cases[] = {
        {"./list.html", base, "http://www.example.com/list.html"},
        {"/deep/list.html", base, "http://www.example.com/deep/list.html"},
        {"list.html", base, "http://www.example.com/list.html"},
        {"http://other.net/p", base, "http://other.net/p"},
        {"https://other.net/p", base, "https://other.net/p"},
        {"ftp://other.net/p", base, "ftp://other.net/p"},
        {"list.html", CUrlNode::kErrorInUrl, ""},
        {"http://other.net/p", CUrlNode::kErrorInUrl, "http://other.net/p"},
        {"#top", base, ""},
        {"page.asp?id=2", base, ""},
        {"run.cgi", base, ""},
        {"new_blank.html", base, ""},
        {"javascript:open()", base, ""},
        {"vbscript:x", base, ""},
        {"mailto:someone@example.com", base, ""},
        {"file:///etc/passwd", base, ""},
        {"data:text/html,hi", base, ""},
        {"go?to=http://other.net/", base, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.href);
        EXPECT_EQ(ResolveLink(c.href, c.base), c.link);
    }
}

}  // namespace
