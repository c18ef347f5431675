#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <string>

#include "SweepFixture.h"
#include "cleanup/CCleanIE.h"
#include "cleanup/CFileManip.h"
#include "cleanup/CTraceSweeper.h"
#include "platform/FileFind.h"
#include "platform/FileOps.h"
#include "platform/Root.h"
#include "platform/UrlCache.h"

namespace {

namespace fs = std::filesystem;
using sweeptest::Put;
using sweeptest::SweepTest;

std::string Pattern(std::size_t size) {
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>('A' + i % 26);
    return bytes;
}

// Everything an open file holds now.
std::string ReadOpen(int fd) {
    std::string bytes;
    char buf[65536];
    for (off_t at = 0;;) {
        const ssize_t n = ::pread(fd, buf, sizeof buf, at);
        if (n <= 0) return bytes;
        bytes.append(buf, static_cast<std::size_t>(n));
        at += n;
    }
}

class EmptyDirectoryTest : public sweeptest::SweepTest {
protected:
    fs::path folder() const { return profile() / "Cache"; }
    bool IsEmptyFolder() const { return fs::is_directory(folder()) && fs::is_empty(folder()); }
    CCleanIE ie;
};

TEST_F(EmptyDirectoryTest, WipesIndexFilesPastTheirHeadBeforeDeletingThem) {
    struct Case {
        const char* name;
        std::size_t size;
    };
    const Case cases[] = {{"index.dat", 0},     {"INDEX.DAT", 1},     {"Index.Dat", 64},
                          {"index.dat", 65},    {"INDEX.DAT", 10064}, {"index.dat", 20065},
                          {"index.DAT", 123457}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " of " + std::to_string(c.size));
        const std::string original = Pattern(c.size);
        Put(folder() / "sub" / c.name, original);
        // The file held open shows what reached it after its name is gone
        // (a second name would keep the cleaner from writing at all).
        const int witness = ::open((folder() / "sub" / c.name).c_str(), O_RDONLY | O_CLOEXEC);
        ASSERT_GE(witness, 0);

        EXPECT_EQ(1, ie.EmptyDirectory(folder().string()));

        EXPECT_TRUE(IsEmptyFolder());
        const std::string after = ReadOpen(witness);
        ::close(witness);
        ASSERT_EQ(c.size, after.size());
        const std::size_t head = std::min<std::size_t>(64, c.size);
        EXPECT_EQ(original.substr(0, head), after.substr(0, head));
        EXPECT_EQ(std::string(c.size - head, '\0'), after.substr(head));
    }
}

TEST_F(EmptyDirectoryTest, DeletesOtherFilesWithoutOverwritingThem) {
    const std::string original = Pattern(500);
    Put(folder() / "index.dat.bak", original);
    Put(folder() / "content.dat", original);
    fs::create_hard_link(folder() / "index.dat.bak", outside() / "a");
    fs::create_hard_link(folder() / "content.dat", outside() / "b");

    EXPECT_EQ(1, ie.EmptyDirectory(folder().string()));

    EXPECT_TRUE(IsEmptyFolder());
    EXPECT_EQ(original, kvtest::ReadFile(outside() / "a"));
    EXPECT_EQ(original, kvtest::ReadFile(outside() / "b"));
}

TEST_F(EmptyDirectoryTest, RemovesReadOnlyEntriesAndSubFoldersButKeepsTheFolder) {
    Put(folder() / "locked.txt", "x");
    Put(folder() / "sub" / "a.txt", "a");
    Put(folder() / "sub" / "deeper" / "b.txt", "b");
    Put(folder() / "INDEX.DAT", Pattern(100));
    fs::permissions(folder() / "locked.txt", fs::perms::owner_read);
    fs::permissions(folder() / "sub" / "deeper", fs::perms::owner_read | fs::perms::owner_exec);
    fs::permissions(folder() / "sub", fs::perms::owner_read | fs::perms::owner_exec);

    EXPECT_EQ(1, ie.EmptyDirectory(folder().string()));

    EXPECT_TRUE(IsEmptyFolder());
}

TEST_F(EmptyDirectoryTest, DeletesLinksWithoutTouchingWhatTheyName) {
    const std::string original = Pattern(300);
    Put(outside() / "target.dat", original);
    Put(outside() / "dir" / "keep.txt", "keep");
    Put(outside() / "dir" / "index.dat", original);
    fs::create_directories(folder() / "sub");
    fs::create_symlink(outside() / "target.dat", folder() / "index.dat");
    fs::create_symlink(outside() / "dir", folder() / "sub" / "dirlink");
    fs::create_symlink(outside() / "missing", folder() / "dangling");

    EXPECT_EQ(1, ie.EmptyDirectory(folder().string()));

    EXPECT_TRUE(IsEmptyFolder());
    EXPECT_EQ(original, kvtest::ReadFile(outside() / "target.dat"));
    EXPECT_EQ("keep", kvtest::ReadFile(outside() / "dir" / "keep.txt"));
    EXPECT_EQ(original, kvtest::ReadFile(outside() / "dir" / "index.dat"));
}

TEST_F(EmptyDirectoryTest, EmptiesTreesDeeperThanAnyPathLimit) {
    Put(outside() / "target.dat", "survives");
    fs::create_directories(folder());
    sweeptest::MakeDeepTree(folder(), 1500, outside() / "target.dat");

    EXPECT_EQ(1, ie.EmptyDirectory(folder().string()));

    EXPECT_TRUE(IsEmptyFolder());
    EXPECT_EQ("survives", kvtest::ReadFile(outside() / "target.dat"));
}

TEST_F(EmptyDirectoryTest, RefusesFoldersItCannotOrMayNotEnter) {
    Put(outside() / "dir" / "keep.txt", "keep");
    fs::create_symlink(outside() / "dir", profile() / "link");

    EXPECT_EQ(0, ie.EmptyDirectory((profile() / "missing").string()));
    EXPECT_EQ(0, ie.EmptyDirectory((profile() / "link").string()));
    EXPECT_EQ(0, ie.EmptyDirectory((outside() / "dir").string()));
    fs::create_directories(outside() / "dir" / "sub");
    Put(outside() / "dir" / "sub" / "inner.txt", "inner");
    EXPECT_EQ(0, ie.EmptyDirectory((profile() / "link" / "sub").string()));
    EXPECT_EQ("inner", kvtest::ReadFile(outside() / "dir" / "sub" / "inner.txt"));
    EXPECT_EQ("keep", kvtest::ReadFile(outside() / "dir" / "keep.txt"));
}

TEST_F(EmptyDirectoryTest, OverwriteRefusesLinksAndOtherNonRegularFiles) {
    Put(outside() / "target.dat", Pattern(200));
    fs::create_directories(folder());
    fs::create_symlink(outside() / "target.dat", folder() / "link.dat");
    ASSERT_EQ(0, ::mkfifo((folder() / "pipe").c_str(), 0600));

    EXPECT_FALSE(platform::OverwriteFileTail(folder() / "link.dat", 64, 10000));
    EXPECT_FALSE(platform::OverwriteFileTail(folder() / "pipe", 64, 10000));
    EXPECT_FALSE(platform::OverwriteFileTail(folder(), 64, 10000));
    EXPECT_EQ(Pattern(200), kvtest::ReadFile(outside() / "target.dat"));
}

class UrlCacheTest : public sweeptest::SweepTest {
protected:
    void SetUp() override {
        using platform::UrlCacheContainer;
        const fs::path content =
            *platform::ShellFolder(platform::CSIDL_INTERNET_CACHE) / "Content.IE5";
        Put(content / "AB" / "p.htm", "page");
        Put(content / "AB" / "s.htm", "sticky");
        Put(*platform::ShellFolder(platform::CSIDL_COOKIES) / "u@site.txt", "cookie");
        Commit(UrlCacheContainer::Content, "http://a/p.htm", platform::NORMAL_CACHE_ENTRY,
               "AB/p.htm");
        Commit(UrlCacheContainer::Content, "http://zero/", 0, "");
        Commit(UrlCacheContainer::Content, "http://sticky/",
               platform::STICKY_CACHE_ENTRY | platform::NORMAL_CACHE_ENTRY, "AB/s.htm");
        Commit(UrlCacheContainer::Cookies, "Cookie:u@site/",
               platform::COOKIE_CACHE_ENTRY | platform::NORMAL_CACHE_ENTRY, "u@site.txt");
    }
    static void Commit(platform::UrlCacheContainer where, const char* url, platform::DWORD type,
                       const char* file) {
        ASSERT_TRUE(platform::CommitUrlCacheEntry(where, {url, type, file}));
    }
    static std::set<std::string> Remaining() {
        std::set<std::string> urls;
        platform::UrlCacheFind find;
        platform::UrlCacheEntry entry;
        for (bool more = find.First(entry); more; more = find.Next(entry))
            urls.insert(entry.sourceUrl);
        return urls;
    }
    CCleanIE ie;
};

TEST_F(UrlCacheTest, DeletesEntriesOfTheKindAskedFor) {
    struct Case {
        int type;
        std::set<std::string> remaining;
    };
    const Case cases[] = {
        {DCT_TEMP_FILES, {"Cookie:u@site/"}},
        {DCT_COOKIES, {"http://zero/"}},
        {7, {"http://a/p.htm", "http://zero/", "http://sticky/", "Cookie:u@site/"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        EXPECT_TRUE(ie.DeleteUrlCache(static_cast<DEL_CACHE_TYPE>(c.type)));
        EXPECT_EQ(c.remaining, Remaining());
        const fs::path content =
            *platform::ShellFolder(platform::CSIDL_INTERNET_CACHE) / "Content.IE5";
        EXPECT_EQ(c.remaining.count("http://a/p.htm") == 1, fs::exists(content / "AB" / "p.htm"));
        EXPECT_EQ(c.remaining.count("Cookie:u@site/") == 1,
                  fs::exists(*platform::ShellFolder(platform::CSIDL_COOKIES) / "u@site.txt"));
        SetUp();  // seeds the full cache again
    }
}

TEST_F(UrlCacheTest, ReportsFailureWhenTheCacheIsEmpty) {
    EXPECT_TRUE(ie.DeleteUrlCache(DCT_COOKIES));
    EXPECT_TRUE(ie.DeleteUrlCache(DCT_TEMP_FILES));
    EXPECT_FALSE(ie.DeleteUrlCache(DCT_TEMP_FILES));
}

}  // namespace

// Hostile entries: stored paths that climb out of their container, go
// through a linked folder or start at "/". Only each container's own files
// may go; nothing else below the root or outside it changes.
class HostileCacheTest : public UrlCacheTest {
protected:
    static fs::path Content() { return *platform::ShellFolder(platform::CSIDL_INTERNET_CACHE) / "Content.IE5"; }
    static fs::path Cookies() { return *platform::ShellFolder(platform::CSIDL_COOKIES); }
    static fs::path History() { return *platform::ShellFolder(platform::CSIDL_HISTORY) / "History.IE5"; }

    void SeedHostileEntries() {
        using platform::UrlCacheContainer;
        Put(root() / "registry" / "HKCU.reg", "hive");
        Put(root() / "program" / "dbase" / "proxypool.db", "pool");
        Put(profile() / "Favorites" / "site.url", "fav");
        Put(outside() / "dir" / "page.htm", "outside");
        Put(outside() / "abs.htm", "outside");
        fs::create_symlink(outside() / "dir", Content() / "linked");
        fs::create_symlink(outside() / "dir", Cookies() / "linked");
        fs::create_directories(History());
        fs::create_symlink(outside() / "dir", History() / "linked");
        fs::create_symlink(root() / "registry", Content() / "inside");
        Put(History() / "MSHist01" / "h.dat", "visited");
        const struct {
            UrlCacheContainer where;
            const char* url;
            std::string file;
        } entries[] = {
            {UrlCacheContainer::Content, "http://up/", "../../../../registry/HKCU.reg"},
            {UrlCacheContainer::Content, "http://up2/", "AB\\..\\..\\..\\..\\..\\program\\dbase\\proxypool.db"},
            {UrlCacheContainer::Content, "http://fav/", "../../../Favorites/site.url"},
            {UrlCacheContainer::Content, "http://linked/", "linked/page.htm"},
            {UrlCacheContainer::Content, "http://inside/", "inside/HKCU.reg"},
            {UrlCacheContainer::Content, "http://abs/", (outside() / "abs.htm").string()},
            {UrlCacheContainer::Cookies, "Cookie:linked/", "linked\\page.htm"},
            {UrlCacheContainer::Cookies, "Cookie:up/", "..\\..\\registry\\HKCU.reg"},
            {UrlCacheContainer::History, "Visited:up/", "../../../../registry/HKCU.reg"},
            {UrlCacheContainer::History, "Visited:linked/", "linked/page.htm"},
            {UrlCacheContainer::History, "Visited:own/", "MSHist01/h.dat"},
        };
        for (const auto& e : entries)
            Commit(e.where, e.url, platform::NORMAL_CACHE_ENTRY | platform::COOKIE_CACHE_ENTRY, e.file.c_str());
    }
};

TEST_F(HostileCacheTest, EntriesDeleteOnlyTheirContainersOwnFiles) {
    SeedHostileEntries();
    const sweeptest::Snapshot before = TakeFiles();
    EXPECT_TRUE(ie.DeleteUrlCache(DCT_COOKIES));
    EXPECT_TRUE(platform::ClearUrlHistory());
    const std::string content = "T:profile/Local Settings/Temporary Internet Files/Content.IE5/";
    const std::string cookies = "T:profile/Cookies/";
    const std::string history = "T:profile/Local Settings/History/History.IE5/";
    // The seeded entries of the fixture went, with their own files; the
    // hostile ones went from the indexes and took no file with them.
    sweeptest::Snapshot expected =
        Without(before, {content + "AB/p.htm", content + "AB/s.htm", cookies + "u@site.txt",
                         history + "MSHist01/h.dat", content + "index.dat", cookies + "index.dat",
                         history + "index.dat"});
    sweeptest::Snapshot after = TakeFiles();
    for (const std::string& index : {content + "index.dat", cookies + "index.dat", history + "index.dat"})
        after.erase(index);
    EXPECT_EQ(expected, after);
    EXPECT_EQ("hive", kvtest::ReadFile(root() / "registry" / "HKCU.reg"));
    EXPECT_EQ("outside", kvtest::ReadFile(outside() / "dir" / "page.htm"));
    EXPECT_TRUE(platform::ReadUrlCacheIndex(platform::UrlCacheContainer::History).empty());
}

TEST_F(HostileCacheTest, IndexReachedThroughALinkIsNeitherReadNorWritten) {
    const fs::path index = Content() / "index.dat";
    ASSERT_TRUE(fs::remove(index));
    Put(root() / "registry" / "HKCU.reg", "00000001\thttp://hive/\t\n");
    fs::create_symlink(root() / "registry" / "HKCU.reg", index);
    EXPECT_FALSE(platform::CommitUrlCacheEntry(platform::UrlCacheContainer::Content, {"http://x/", 1, ""}));
    EXPECT_TRUE(platform::ReadUrlCacheIndex(platform::UrlCacheContainer::Content).empty());
    ie.DeleteUrlCache(DCT_TEMP_FILES);
    EXPECT_EQ("00000001\thttp://hive/\t\n", kvtest::ReadFile(root() / "registry" / "HKCU.reg"));
    EXPECT_TRUE(fs::is_symlink(index));
}

TEST_F(UrlCacheTest, EntriesDeletedTogetherGoAsIfOneByOne) {
    using platform::UrlCacheContainer;
    // One URL in both containers, named twice: each deletion takes the
    // first entry left with it, the content container's first.
    Commit(UrlCacheContainer::Content, "http://twice/", 1, "");
    Commit(UrlCacheContainer::Cookies, "http://twice/", 1, "");
    const fs::path content = *platform::ShellFolder(platform::CSIDL_INTERNET_CACHE) / "Content.IE5";
    EXPECT_TRUE(platform::DeleteUrlCacheEntries({"http://twice/", "http://a/p.htm", "http://twice/"}));
    EXPECT_TRUE(platform::ReadUrlCacheIndex(UrlCacheContainer::Cookies).size() == 1);
    std::set<std::string> left;
    for (const auto& entry : platform::ReadUrlCacheIndex(UrlCacheContainer::Content)) left.insert(entry.sourceUrl);
    EXPECT_EQ((std::set<std::string>{"http://zero/", "http://sticky/"}), left);
    EXPECT_FALSE(fs::exists(content / "AB" / "p.htm"));
    EXPECT_FALSE(platform::DeleteUrlCacheEntries({"http://none/"}));
}

// A file with a second name may have it anywhere: the wipe neither writes
// into it nor changes its permissions; only the name in the folder goes.
TEST_F(EmptyDirectoryTest, NeverWritesThroughASecondNameOfAFile) {
    const std::string original = Pattern(300);
    Put(outside() / "shared.dat", original);
    ASSERT_EQ(0, ::chmod((outside() / "shared.dat").c_str(), 0444));
    fs::create_directories(folder() / "sub");
    fs::create_hard_link(outside() / "shared.dat", folder() / "sub" / "index.dat");
    fs::create_hard_link(outside() / "shared.dat", folder() / "INDEX.DAT");

    EXPECT_EQ(0, CTraceSweeper().WipeFile(folder().string(), "INDEX.DAT"));
    EXPECT_FALSE(platform::OverwriteFileTail(folder() / "INDEX.DAT", 64, 10000));
    EXPECT_EQ(0, CFileManip::SetAttribute((folder() / "INDEX.DAT").string(), platform::FILE_ATTRIBUTE_NORMAL));
    EXPECT_EQ(1, ie.EmptyDirectory(folder().string()));

    EXPECT_TRUE(IsEmptyFolder());
    EXPECT_EQ(original, kvtest::ReadFile(outside() / "shared.dat"));
    EXPECT_EQ(fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read,
              fs::status(outside() / "shared.dat").permissions());
    EXPECT_EQ(1u, fs::hard_link_count(outside() / "shared.dat"));
}

// A link inside the root counts as much as one leaving it: nothing is
// wiped or deleted through it, least of all the settings it leads to.
TEST_F(EmptyDirectoryTest, LinksInsideTheRootLeadNowhere) {
    Put(root() / "registry" / "HKCU.reg", Pattern(300));
    fs::create_directories(folder());
    fs::create_symlink(root() / "registry", folder() / "settings");
    fs::create_symlink("../registry", profile() / "up");
    const sweeptest::Snapshot before = TakeFiles();

    EXPECT_EQ(0, CTraceSweeper().WipeFile((folder() / "settings").string(), "HKCU.reg"));
    EXPECT_EQ(0, CTraceSweeper().WipeFile((profile() / "up").string(), "HKCU.reg"));
    EXPECT_EQ(0, ie.EmptyDirectory((folder() / "settings").string()));
    EXPECT_EQ(0, ie.EmptyDirectory((folder() / "settings/").string()));
    EXPECT_FALSE(platform::DeleteFile(folder() / "settings" / "HKCU.reg"));
    EXPECT_FALSE(platform::RemoveTree(profile() / "up" / "HKCU.reg"));

    EXPECT_EQ(before, TakeFiles());
}
