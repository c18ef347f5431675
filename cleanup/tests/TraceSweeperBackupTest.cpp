#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include <libxml/HTMLparser.h>
#include <libxml/tree.h>

#include <algorithm>
#include <functional>

#include "SweepFixture.h"
#include "cleanup/BookmarkFile.h"
#include "cleanup/CTraceSweeper.h"
#include "platform/IniFile.h"
#include "platform/Registry.h"
#include "platform/Root.h"
#include "platform/SafeFile.h"
#include "support/FileDialogAnswerer.h"
#include "support/MessageBoxRecorder.h"
#include "support/TempRoot.h"

namespace {

namespace fs = std::filesystem;
using namespace platform;
using kvtest::FileDialogAnswerer;
using kvtest::MessageBoxRecorder;
using kvtest::ReadFile;
using kvtest::WriteFile;
using sweeptest::Put;

const std::string kTypedUrls = "Software\\Microsoft\\Internet Explorer\\TypedURLs";
const std::string kIEBackedUp = "Your IE Typed URL(s) have been backuped successfully";
const std::string kIERestored = "Your IE Typed URL(s) have been restored successfully";
const std::string kOperaBackedUp = "Your OPERA Typed URL(s) have been backuped successfully";
const std::string kOperaRestored = "Your Opera Typed URL(s) have been restored successfully";
const std::string kOperaNotBackedUp = "Error:Your OPERA Typed URL(s) have not been backuped";
const std::string kOperaNotRestored = "Error:Your Opera Typed URL(s) have not been restored";

std::vector<std::string> Texts(const MessageBoxRecorder& boxes) {
    std::vector<std::string> texts;
    for (const auto& box : boxes.boxes()) texts.push_back(box.text);
    return texts;
}

std::map<std::string, std::string> TypedUrls() {
    std::map<std::string, std::string> values;
    RegKey key;
    if (key.Open(HKEY_CURRENT_USER, kTypedUrls) != ERROR_SUCCESS) return values;
    std::string name;
    for (DWORD i = 0; key.EnumValue(i, name) == ERROR_SUCCESS; ++i)
        EXPECT_EQ(ERROR_SUCCESS, key.QueryStringValue(name, values[name]));
    return values;
}

void SetTypedUrls(const std::map<std::string, std::string>& values) {
    RegKey key;
    ASSERT_EQ(ERROR_SUCCESS, key.Create(HKEY_CURRENT_USER, kTypedUrls));
    for (const auto& [name, text] : values) ASSERT_EQ(ERROR_SUCCESS, key.SetStringValue(name, text));
}

void ClearTypedUrls() { RegKey::Root(HKEY_CURRENT_USER).RecurseDeleteKey(kTypedUrls); }

// The headings and links another HTML parser (libxml2's, which knows
// nothing of bookmarks) finds in a file, in document order: the number of
// <DL> lists around each, its kind, and for a link its address.
std::vector<std::string> ParsedByAnotherReader(const std::string& html) {
    std::vector<std::string> found;
    htmlDocPtr doc = htmlReadMemory(html.data(), static_cast<int>(html.size()), nullptr, "UTF-8",
                                    HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING | HTML_PARSE_NONET);
    if (!doc) return found;
    std::function<void(xmlNodePtr, int)> walk = [&](xmlNodePtr node, int lists) {
        for (; node; node = node->next) {
            if (node->type != XML_ELEMENT_NODE) continue;
            const std::string name = reinterpret_cast<const char*>(node->name);
            xmlChar* text = xmlNodeGetContent(node);
            const std::string content = text ? reinterpret_cast<const char*>(text) : "";
            xmlFree(text);
            if (name == "h3") found.push_back(std::to_string(lists) + " H3 " + content);
            if (name == "a") {
                xmlChar* href = xmlGetProp(node, reinterpret_cast<const xmlChar*>("href"));
                found.push_back(std::to_string(lists) + " A " + (href ? reinterpret_cast<const char*>(href) : "") +
                                " " + content);
                xmlFree(href);
            }
            walk(node->children, lists + (name == "dl" ? 1 : 0));
        }
    };
    walk(xmlDocGetRootElement(doc), 0);
    xmlFreeDoc(doc);
    return found;
}

std::string ShortcutUrl(const fs::path& file) {
    return platform::GetPrivateProfileString("InternetShortcut", "URL", "<none>", file);
}

const std::string kIEFavoritesExported = "Your IE Favorites have been exported successfully";
const std::string kIEFavoritesImported = "Your IE Favorites have been imported successfully";
const std::string kIEFavoritesNotExported = "Error:Your IE Favorites have not been exported";
const std::string kIEFavoritesNotImported = "Error:Your IE Favorites have not been imported";

class BackupTest : public sweeptest::SweepTest {
protected:
    fs::path favorites() const { return profile() / "Favorites"; }
    fs::path opera() const { return profile() / "Program Files" / "Opera7"; }
    fs::path netscape() const {
        return profile() / "Application Data" / "Mozilla" / "profiles" / "default" / "k2j4ab.slt";
    }
    fs::path chosen() const { return root() / "backup" / "chosen.bak"; }

    void InstallOpera(const std::string& commandLine = "C:\\Program Files\\Opera7\\Opera.exe") {
        fs::create_directories(opera());
        RegKey key;
        ASSERT_EQ(ERROR_SUCCESS, key.Create(HKEY_CURRENT_USER, "Software\\Opera Software"));
        ASSERT_EQ(ERROR_SUCCESS, key.SetStringValue("Last CommandLine", commandLine));
    }
    void InstallNetscape() { fs::create_directories(netscape()); }

    void SetUp() override { fs::create_directories(chosen().parent_path()); }
};

TEST_F(BackupTest, IETypedUrlsBackupIsOneAddressALineWithoutFinalBreak) {
    SetTypedUrls({{"url1", "http://a/"}, {"url2", "http://b/"}, {"url3", "http://c/"}, {"url5", "gap"}});
    FileDialogAnswerer dialogs({chosen()});
    MessageBoxRecorder boxes;
    CTraceSweeper().BackupItems(BRI_TYPED_URLS, CB_IE);

    EXPECT_EQ(ReadFile(chosen()), "http://a/\nhttp://b/\nhttp://c/");
    ASSERT_EQ(dialogs.requests().size(), 1u);
    const FileDialogRequest request = dialogs.requests()[0];
    EXPECT_EQ(request.kind, FileDialogKind::Save);
    EXPECT_EQ(request.fileName, "*.*");
    EXPECT_EQ(request.filter, "All Files (*.*)");
    EXPECT_EQ(request.flags, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT);
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0].text, kIEBackedUp);
    EXPECT_EQ(boxes.boxes()[0].type, MB_OK);
}

TEST_F(BackupTest, IETypedUrlsRestoreAddsAfterExistingOnes) {
    WriteFile(chosen(), "http://a/\nhttp://b/\nhttp://c/");
    SetTypedUrls({{"url1", "one"}, {"url2", "two"}});
    FileDialogAnswerer dialogs({chosen()});
    MessageBoxRecorder boxes;
    CTraceSweeper().RestoreItems(BRI_TYPED_URLS, CB_IE);

    const std::map<std::string, std::string> expected = {
        {"url1", "one"}, {"url2", "two"}, {"url3", "http://a/"}, {"url4", "http://b/"}, {"url5", "http://c/"}};
    EXPECT_EQ(TypedUrls(), expected);
    ASSERT_EQ(dialogs.requests().size(), 1u);
    EXPECT_EQ(dialogs.requests()[0].kind, FileDialogKind::Open);
    EXPECT_EQ(Texts(boxes), std::vector<std::string>{kIERestored});
}

TEST_F(BackupTest, IETypedUrlsRoundTripGivesBackTheValues) {
    const std::map<std::string, std::string> values = {
        {"url1", "http://a/"}, {"url2", ""}, {"url3", "ftp://c/x y"}};
    for (const auto& seeded : {values, std::map<std::string, std::string>{}}) {
        ClearTypedUrls();
        SetTypedUrls(seeded);
        FileDialogAnswerer dialogs({chosen(), chosen()});
        MessageBoxRecorder boxes;
        CTraceSweeper sweeper;
        sweeper.BackupItems(BRI_TYPED_URLS, CB_IE);
        ClearTypedUrls();
        sweeper.RestoreItems(BRI_TYPED_URLS, 0);
        EXPECT_EQ(TypedUrls(), seeded);
        EXPECT_EQ(Texts(boxes), (std::vector<std::string>{kIEBackedUp, kIERestored}));
    }
}

TEST_F(BackupTest, IETypedUrlsRestoreTakesWindowsLineBreaksAndLongLines) {
    const std::string longUrl = "http://x/" + std::string(3000, 'q');
    WriteFile(chosen(), "http://a/\r\n" + longUrl + "\r\n");
    FileDialogAnswerer dialogs({chosen()});
    MessageBoxRecorder boxes;
    CTraceSweeper().RestoreItems(BRI_TYPED_URLS, CB_IE);
    const std::map<std::string, std::string> expected = {{"url1", "http://a/"}, {"url2", longUrl}};
    EXPECT_EQ(TypedUrls(), expected);
}

TEST_F(BackupTest, IETypedUrlsRestoreOfMissingFileFailsAndWritesNothing) {
    FileDialogAnswerer dialogs({root() / "absent.txt"});
    MessageBoxRecorder boxes;
    CTraceSweeper().RestoreItems(BRI_TYPED_URLS, CB_IE);
    EXPECT_TRUE(TypedUrls().empty());
    EXPECT_EQ(Texts(boxes), std::vector<std::string>{"Error:Your IE Typed URL(s) have not been restored"});
}

TEST_F(BackupTest, OperaTypedUrlsBackupHoldsBothFilesBehindTheirLengths) {
    InstallOpera();
    const std::string dir("dir\n\r\x1a\0end", 11);
    const std::string global(300, '\x1a');
    WriteFile(opera() / "opera.dir", dir);
    WriteFile(opera() / "global.dat", global);
    FileDialogAnswerer dialogs({chosen()});
    MessageBoxRecorder boxes;
    CTraceSweeper().BackupItems(BRI_TYPED_URLS, CB_OPERA);

    const std::string header("\x0b\0\0\0\x2c\x01\0\0", 8);
    EXPECT_EQ(ReadFile(chosen()), header + dir + global);
    EXPECT_EQ(Texts(boxes), std::vector<std::string>{kOperaBackedUp});
}

TEST_F(BackupTest, OperaTypedUrlsRoundTripIsByteForByte) {
    InstallOpera();
    const std::string dir("a\x0a" "b\x0d\x0a" "c\x1a\x00\xff", 8);
    const std::string global("\x0d\x0d\x1a\x0a", 4);
    WriteFile(opera() / "opera.dir", dir);
    WriteFile(opera() / "global.dat", global);
    FileDialogAnswerer dialogs({chosen(), chosen()});
    MessageBoxRecorder boxes;
    CTraceSweeper sweeper;
    sweeper.BackupItems(BRI_TYPED_URLS, CB_OPERA);
    WriteFile(opera() / "opera.dir", "changed");
    fs::remove(opera() / "global.dat");
    sweeper.RestoreItems(BRI_TYPED_URLS, CB_OPERA);

    EXPECT_EQ(ReadFile(opera() / "opera.dir"), dir);
    EXPECT_EQ(ReadFile(opera() / "global.dat"), global);
    EXPECT_EQ(Texts(boxes), (std::vector<std::string>{kOperaBackedUp, kOperaRestored}));
}

TEST_F(BackupTest, OperaTypedUrlsRestoreRefusesFileWhoseLengthsDoNotAddUp) {
    InstallOpera();
    WriteFile(opera() / "opera.dir", "keep dir");
    WriteFile(opera() / "global.dat", "keep global");
    const std::string header("\x02\0\0\0\x03\0\0\0", 8);
    const std::string cases[] = {
        "",
        std::string("\x02\0\0", 3),
        header + "abcd",
        header + "abcdef",
        std::string("\xff\xff\xff\xff\x01\0\0\0", 8) + "abcde",
    };
    for (const std::string& bytes : cases) {
        WriteFile(chosen(), bytes);
        FileDialogAnswerer dialogs({chosen()});
        MessageBoxRecorder boxes;
        CTraceSweeper().RestoreItems(BRI_TYPED_URLS, CB_OPERA);
        EXPECT_EQ(Texts(boxes), std::vector<std::string>{kOperaNotRestored}) << bytes.size();
        EXPECT_EQ(ReadFile(opera() / "opera.dir"), "keep dir");
        EXPECT_EQ(ReadFile(opera() / "global.dat"), "keep global");
    }
    WriteFile(chosen(), header + "abcde");
    FileDialogAnswerer dialogs({chosen()});
    MessageBoxRecorder boxes;
    CTraceSweeper().RestoreItems(BRI_TYPED_URLS, CB_OPERA);
    EXPECT_EQ(ReadFile(opera() / "opera.dir"), "ab");
    EXPECT_EQ(ReadFile(opera() / "global.dat"), "cde");
}

TEST_F(BackupTest, UnknownOperaFolderSkipsOperaWithItsErrorText) {
    struct Case {
        const char* commandLine;  // nullptr: no Opera key value at all
        BACKUP_RESTORE_ITEMS item;
        bool backup;
        std::string text;
    };
    const Case cases[] = {
        {nullptr, BRI_TYPED_URLS, true, kOperaNotBackedUp},
        {nullptr, BRI_TYPED_URLS, false, kOperaNotRestored},
        {"D:\\Opera\\Opera.exe", BRI_TYPED_URLS, true, kOperaNotBackedUp},
        {"Opera.exe", BRI_FAVORITES, true, "Error:Opera Favorites were not exported succefully"},
        {"C:\\..\\..\\Opera.exe", BRI_FAVORITES, false, "Error:Opera Favorites were not imported succefully"},
    };
    for (const Case& c : cases) {
        RegKey::Root(HKEY_CURRENT_USER).RecurseDeleteKey("Software\\Opera Software");
        if (c.commandLine) InstallOpera(c.commandLine);
        FileDialogAnswerer dialogs({chosen()});
        MessageBoxRecorder boxes;
        CTraceSweeper sweeper;
        c.backup ? sweeper.BackupItems(c.item, CB_OPERA) : sweeper.RestoreItems(c.item, CB_OPERA);
        EXPECT_TRUE(dialogs.requests().empty()) << c.text;
        EXPECT_EQ(Texts(boxes), std::vector<std::string>{c.text});
    }
}

TEST_F(BackupTest, DeniedOperaKeySkipsOperaWithItsErrorText) {
    InstallOpera();
    registry_test::DenyPath(HKEY_CURRENT_USER, "Software\\Opera Software");
    FileDialogAnswerer dialogs({chosen()});
    MessageBoxRecorder boxes;
    CTraceSweeper().BackupItems(BRI_TYPED_URLS, CB_OPERA);
    registry_test::ClearDenials();
    EXPECT_TRUE(dialogs.requests().empty());
    EXPECT_EQ(Texts(boxes), std::vector<std::string>{kOperaNotBackedUp});
}

TEST_F(BackupTest, FailedWritesReportFailureAndKeepTheFiles) {
    InstallOpera();
    WriteFile(opera() / "opera.dir", "keep dir");
    WriteFile(opera() / "global.dat", "keep global");
    SetTypedUrls({{"url1", "http://a/"}});
    const fs::path nowhere = root() / "no such folder" / "x.bak";
    {
        FileDialogAnswerer dialogs({nowhere, nowhere});
        MessageBoxRecorder boxes;
        CTraceSweeper().BackupItems(BRI_TYPED_URLS, CB_IE | CB_OPERA);
        EXPECT_EQ(Texts(boxes), (std::vector<std::string>{"Error:Your IE Typed URL(s) have not been backuped",
                                                          kOperaNotBackedUp}));
        EXPECT_FALSE(fs::exists(nowhere));
    }
    WriteFile(chosen(), std::string("\x01\0\0\0\x01\0\0\0", 8) + "ab");
    FileDialogAnswerer dialogs({chosen()});
    MessageBoxRecorder boxes;
    safefile_test::FailTemporaryFiles(true);
    CTraceSweeper().RestoreItems(BRI_TYPED_URLS, CB_OPERA);
    safefile_test::FailTemporaryFiles(false);
    EXPECT_EQ(Texts(boxes), std::vector<std::string>{kOperaNotRestored});
    EXPECT_EQ(ReadFile(opera() / "opera.dir"), "keep dir");
    EXPECT_EQ(ReadFile(opera() / "global.dat"), "keep global");
}

TEST_F(BackupTest, OperaRestoreKeepsTheFormerPairWhenTheSecondFileCannotBeWritten) {
    InstallOpera();
    WriteFile(opera() / "global.dat" / "in the way", "x");
    WriteFile(chosen(), std::string("\x01\0\0\0\x01\0\0\0", 8) + "ab");
    for (const bool hadDir : {true, false}) {
        if (hadDir)
            WriteFile(opera() / "opera.dir", "keep dir");
        else
            fs::remove(opera() / "opera.dir");
        FileDialogAnswerer dialogs({chosen()});
        MessageBoxRecorder boxes;
        CTraceSweeper().RestoreItems(BRI_TYPED_URLS, CB_OPERA);
        EXPECT_EQ(Texts(boxes), std::vector<std::string>{kOperaNotRestored});
        if (hadDir)
            EXPECT_EQ(ReadFile(opera() / "opera.dir"), "keep dir");
        else
            EXPECT_FALSE(fs::exists(opera() / "opera.dir"));
    }
}

// Files copied whole to and from the chosen file, with their messages.
struct Copied {
    BACKUP_RESTORE_ITEMS item;
    unsigned long browser;
    const char* file;
    std::string exported, notExported, imported, notImported;
};

const Copied kCopied[] = {
    {BRI_FAVORITES, CB_OPERA, "opera6.adr", "Opera Favorites were exported succefully",
     "Error:Opera Favorites were not exported succefully", "Opera Favorites were imported succefully",
     "Error:Opera Favorites were not imported succefully"},
    {BRI_FAVORITES, CB_NETSCAPE, "bookmarks.html", "Netscape Favorites were exported succefully",
     "Error:Netscape Favorites were not exported succefully", "Netscape Favorites were imported succefully",
     "Error:Netscape Favorites were not imported succefully"},
    {BRI_TYPED_URLS, CB_NETSCAPE, "localstore.rdf", "Netscape Typed URLs were exported succefully",
     "Error:Netscape Typed URLs were not exported succefully", "Netscape Typed URLs were imported succefully",
     "Error:Netscape Typed URLs were not imported succefully"},
};

TEST_F(BackupTest, CopiedFilesRoundTripAndReportEachOutcome) {
    InstallOpera();
    InstallNetscape();
    for (const Copied& c : kCopied) {
        const fs::path file = (c.browser == CB_OPERA ? opera() : netscape()) / c.file;
        const std::string bytes = std::string("<") + c.file + ">\r\n\x1a";
        WriteFile(file, bytes);
        fs::remove(chosen());
        {
            FileDialogAnswerer dialogs({chosen(), chosen()});
            MessageBoxRecorder boxes;
            CTraceSweeper sweeper;
            sweeper.BackupItems(c.item, c.browser);
            EXPECT_EQ(ReadFile(chosen()), bytes);
            fs::remove(file);
            sweeper.RestoreItems(c.item, c.browser);
            EXPECT_EQ(ReadFile(file), bytes);
            EXPECT_EQ(Texts(boxes), (std::vector<std::string>{c.exported, c.imported}));
        }
        fs::remove(file);
        fs::remove(chosen());
        {
            FileDialogAnswerer dialogs({chosen(), chosen()});
            MessageBoxRecorder boxes;
            CTraceSweeper sweeper;
            sweeper.BackupItems(c.item, c.browser);
            sweeper.RestoreItems(c.item, c.browser);
            EXPECT_FALSE(fs::exists(file));
            EXPECT_EQ(Texts(boxes), (std::vector<std::string>{c.notExported, c.notImported}));
        }
    }
}

TEST_F(BackupTest, CancelledDialogSkipsThatBrowserSilently) {
    InstallOpera();
    InstallNetscape();
    WriteFile(opera() / "opera6.adr", "opera");
    WriteFile(netscape() / "bookmarks.html", "netscape");
    FileDialogAnswerer dialogs({std::nullopt, chosen()});
    MessageBoxRecorder boxes;
    CTraceSweeper().BackupItems(BRI_FAVORITES, CB_OPERA | CB_NETSCAPE);
    EXPECT_EQ(dialogs.requests().size(), 2u);
    EXPECT_EQ(ReadFile(chosen()), "netscape");
    EXPECT_EQ(Texts(boxes), std::vector<std::string>{"Netscape Favorites were exported succefully"});
}

TEST_F(BackupTest, BrowsersRunInOrderSystemBrowserOperaNetscape) {
    InstallOpera();
    InstallNetscape();
    const fs::path ie = root() / "ie.txt", op = root() / "op.bak", ns = root() / "ns.rdf";
    WriteFile(netscape() / "localstore.rdf", "rdf");
    FileDialogAnswerer dialogs({ie, op, ns});
    MessageBoxRecorder boxes;
    CTraceSweeper().BackupItems(BRI_TYPED_URLS, CB_NETSCAPE | CB_OPERA | CB_IE);
    EXPECT_EQ(Texts(boxes), (std::vector<std::string>{kIEBackedUp, kOperaBackedUp,
                                                      "Netscape Typed URLs were exported succefully"}));
    EXPECT_EQ(ReadFile(ns), "rdf");
    EXPECT_EQ(ReadFile(op), std::string(8, '\0'));
}

TEST_F(BackupTest, SystemBrowserFavoritesGoToABookmarkFileAndTheOtherBrowsersFollow) {
    InstallOpera();
    WriteFile(opera() / "opera6.adr", "opera");
    WriteFile(favorites() / "Site.url", "[InternetShortcut]\r\nURL=http://site/\r\n");
    const fs::path html = root() / "backup" / "bookmarks.html";
    FileDialogAnswerer dialogs({html, chosen(), html, chosen()});
    MessageBoxRecorder boxes;
    CTraceSweeper sweeper;
    sweeper.BackupItems(BRI_FAVORITES, CB_IE | CB_OPERA);
    fs::remove_all(favorites());
    fs::remove(opera() / "opera6.adr");
    sweeper.RestoreItems(BRI_FAVORITES, CB_IE | CB_OPERA);

    EXPECT_EQ(dialogs.requests().size(), 4u);
    EXPECT_EQ(Texts(boxes), (std::vector<std::string>{kIEFavoritesExported, "Opera Favorites were exported succefully",
                                                      kIEFavoritesImported, "Opera Favorites were imported succefully"}));
    EXPECT_EQ("http://site/", ShortcutUrl(favorites() / "Site.url"));
    EXPECT_EQ("opera", ReadFile(opera() / "opera6.adr"));
}

TEST_F(BackupTest, SystemBrowserFavoritesRoundTripThroughAFileBrowsersRead) {
    const std::map<std::string, std::string> shortcuts = {
        {"Kavelin home.url", "http://kavelin.example/"},
        {"Links/Search.url", "http://search.example/?q=a&b=\"c\""},
        {"Links/News & 'Views'.url", "https://news.example/"},
        {"Links/Deeper/Music.url", "ftp://music.example/pub"},
        {"\xc3\x9c" "ber.url", "http://xn--ber-goa.example/"},
    };
    for (const auto& [file, url] : shortcuts)
        WriteFile(favorites() / file, "[InternetShortcut]\r\nURL=" + url + "\r\n");
    fs::create_directories(favorites() / "Empty");
    WriteFile(favorites() / "desktop.ini", "[.ShellClassInfo]\r\n");
    Put(outside() / "elsewhere.url", "[InternetShortcut]\r\nURL=http://elsewhere/\r\n");
    fs::create_symlink(outside() / "elsewhere.url", favorites() / "Linked.url");
    fs::create_symlink(outside(), favorites() / "Linked folder");

    const fs::path html = outside() / "bookmarks.html";
    FileDialogAnswerer dialogs({html, html});
    MessageBoxRecorder boxes;
    CTraceSweeper sweeper;
    sweeper.BackupItems(BRI_FAVORITES, CB_IE);

    // What another parser finds in the file: each heading and link with
    // the number of lists around it, in the folder's listing order.
    const std::vector<std::string> expected = {
        "1 A http://xn--ber-goa.example/ \xc3\x9c" "ber",
        "1 H3 Empty",
        "1 A http://kavelin.example/ Kavelin home",
        "1 H3 Links",
        "2 H3 Deeper",
        "3 A ftp://music.example/pub Music",
        "2 A https://news.example/ News & 'Views'",
        "2 A http://search.example/?q=a&b=\"c\" Search",
    };
    EXPECT_EQ(expected, ParsedByAnotherReader(ReadFile(html)));

    fs::remove_all(favorites());
    fs::create_directories(favorites());
    sweeper.RestoreItems(BRI_FAVORITES, CB_IE);
    for (const auto& [file, url] : shortcuts) EXPECT_EQ(url, ShortcutUrl(favorites() / file)) << file;
    EXPECT_TRUE(fs::is_directory(favorites() / "Empty"));
    EXPECT_FALSE(fs::exists(favorites() / "Linked.url"));
    EXPECT_EQ(Texts(boxes), (std::vector<std::string>{kIEFavoritesExported, kIEFavoritesImported}));
}

TEST_F(BackupTest, SystemBrowserFavoritesImportAnotherBrowsersExport) {
    const std::string html =
        "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n"
        "<!-- This is an automatically generated file. -->\n"
        "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=UTF-8\">\n"
        "<TITLE>Bookmarks</TITLE>\n<H1>Bookmarks Menu</H1>\n<DL><p>\n"
        "    <DT><H3 ADD_DATE=\"1700000000\" PERSONAL_TOOLBAR_FOLDER=\"true\">Bookmarks Toolbar</H3>\n"
        "    <DL><p>\n"
        "        <DT><a href='https://a.example/' ADD_DATE=\"1\" ICON=\"data:image/png;base64,AAAA\">A &amp; B</a>\n"
        "        <DD>A description that is not a bookmark\n"
        "        <HR>\n"
        "        <DT><A HREF=\"https://b.example/x?y=1&amp;z=2\">Caf&#233; &#x2013; menu</A>\n"
        "    </DL><p>\n"
        "    <DT><A HREF=\"\">no address</A>\n"
        "    <DT><A HREF=\"http://same/1\">Same</A>\n"
        "    <DT><A HREF=\"http://same/2\">Same</A>\n"
        "    <DT><A HREF=\"http://up/\">../../../registry/HKCU</A>\n"
        "    <DT><A HREF=\"http://line/\r\n[Other]\">Line: *?|</A>\n"
        "</DL><p>\n";
    WriteFile(chosen(), html);
    Put(root() / "registry" / "HKCU.reg.kept", "hive");
    FileDialogAnswerer dialogs({chosen()});
    MessageBoxRecorder boxes;
    CTraceSweeper().RestoreItems(BRI_FAVORITES, CB_IE);

    EXPECT_EQ(Texts(boxes), std::vector<std::string>{kIEFavoritesImported});
    EXPECT_EQ("https://a.example/", ShortcutUrl(favorites() / "Bookmarks Toolbar" / "A & B.url"));
    EXPECT_EQ("https://b.example/x?y=1&z=2",
              ShortcutUrl(favorites() / "Bookmarks Toolbar" / "Caf\xc3\xa9 \xe2\x80\x93 menu.url"));
    EXPECT_EQ("http://same/1", ShortcutUrl(favorites() / "Same.url"));
    EXPECT_EQ("http://same/2", ShortcutUrl(favorites() / "Same (2).url"));
    EXPECT_EQ("http://up/", ShortcutUrl(favorites() / "_.._.._registry_HKCU.url"));
    EXPECT_EQ("http://line/[Other]", ShortcutUrl(favorites() / "Line_ ___.url"));
    std::vector<std::string> top;
    for (const auto& entry : fs::directory_iterator(favorites())) top.push_back(entry.path().filename().string());
    std::sort(top.begin(), top.end());
    EXPECT_EQ((std::vector<std::string>{"Bookmarks Toolbar", "Line_ ___.url", "Same (2).url", "Same.url",
                                        "_.._.._registry_HKCU.url"}),
              top);
    EXPECT_EQ("hive", ReadFile(root() / "registry" / "HKCU.reg.kept"));
}

TEST_F(BackupTest, SystemBrowserFavoritesRefuseAFileThatIsNoBookmarkFile) {
    WriteFile(favorites() / "Site.url", "[InternetShortcut]\r\nURL=http://site/\r\n");
    for (const std::string& text : {std::string("<html><a href='http://x/'>x</a></html>"), std::string()}) {
        WriteFile(chosen(), text);
        FileDialogAnswerer dialogs({chosen(), root() / "absent.html"});
        MessageBoxRecorder boxes;
        CTraceSweeper sweeper;
        sweeper.RestoreItems(BRI_FAVORITES, CB_IE);
        sweeper.RestoreItems(BRI_FAVORITES, CB_IE);
        EXPECT_EQ(Texts(boxes), (std::vector<std::string>{kIEFavoritesNotImported, kIEFavoritesNotImported}));
        std::vector<fs::path> files;
        for (const auto& entry : fs::recursive_directory_iterator(favorites())) files.push_back(entry.path());
        EXPECT_EQ(std::vector<fs::path>{favorites() / "Site.url"}, files);
    }
}

// The file the user picks may lie anywhere: the backup is written there
// and read back from there.
TEST_F(BackupTest, BackupsGoWhereTheUserChoseOutsideTheRoot) {
    InstallOpera();
    InstallNetscape();
    SetTypedUrls({{"url1", "http://a/"}, {"url2", "http://b/"}});
    WriteFile(opera() / "opera.dir", "dir");
    WriteFile(opera() / "global.dat", "global");
    WriteFile(netscape() / "localstore.rdf", "rdf");
    const fs::path ie = outside() / "ie.txt", op = outside() / "sub" / "op.bak", ns = outside() / "ns.rdf";
    fs::create_directories(op.parent_path());
    FileDialogAnswerer dialogs({ie, op, ns, ie, op, ns});
    MessageBoxRecorder boxes;
    CTraceSweeper sweeper;
    sweeper.BackupItems(BRI_TYPED_URLS, CB_IE | CB_OPERA | CB_NETSCAPE);
    ClearTypedUrls();
    fs::remove(opera() / "opera.dir");
    fs::remove(opera() / "global.dat");
    fs::remove(netscape() / "localstore.rdf");
    sweeper.RestoreItems(BRI_TYPED_URLS, 0);

    EXPECT_EQ(Texts(boxes), (std::vector<std::string>{kIEBackedUp, kOperaBackedUp,
                                                      "Netscape Typed URLs were exported succefully",
                                                      kIERestored, kOperaRestored,
                                                      "Netscape Typed URLs were imported succefully"}));
    EXPECT_EQ(TypedUrls(), (std::map<std::string, std::string>{{"url1", "http://a/"}, {"url2", "http://b/"}}));
    EXPECT_EQ("dir", ReadFile(opera() / "opera.dir"));
    EXPECT_EQ("global", ReadFile(opera() / "global.dat"));
    EXPECT_EQ("rdf", ReadFile(netscape() / "localstore.rdf"));
    // A new backup is the user's private file.
    EXPECT_EQ(fs::perms::owner_read | fs::perms::owner_write, fs::status(ie).permissions());
}

// Never through a link, never over a folder: the chosen place stays as it
// was and the user is told.
TEST_F(BackupTest, ChosenPlaceHoldingALinkOrAFolderIsLeftAlone) {
    InstallNetscape();
    SetTypedUrls({{"url1", "http://a/"}});
    WriteFile(netscape() / "bookmarks.html", "bookmarks");
    Put(outside() / "target.txt", "target");
    fs::create_symlink(outside() / "target.txt", outside() / "link.txt");
    Put(outside() / "folder" / "inside.txt", "inside");
    for (const fs::path& place : {outside() / "link.txt", outside() / "folder"}) {
        FileDialogAnswerer dialogs({place, place, place});
        MessageBoxRecorder boxes;
        CTraceSweeper sweeper;
        sweeper.BackupItems(BRI_TYPED_URLS, CB_IE);
        sweeper.BackupItems(BRI_FAVORITES, CB_NETSCAPE | CB_IE);
        EXPECT_EQ(Texts(boxes), (std::vector<std::string>{"Error:Your IE Typed URL(s) have not been backuped",
                                                          kIEFavoritesNotExported,
                                                          "Error:Netscape Favorites were not exported succefully"}))
            << place;
    }
    EXPECT_EQ("target", ReadFile(outside() / "target.txt"));
    EXPECT_TRUE(fs::is_symlink(outside() / "link.txt"));
    EXPECT_EQ("inside", ReadFile(outside() / "folder" / "inside.txt"));
}

TEST_F(BackupTest, OtherItemValuesDoNothingButBrowserFlagsStaySet) {
    SetTypedUrls({{"url1", "http://a/"}});
    FileDialogAnswerer dialogs({chosen(), chosen()});
    MessageBoxRecorder boxes;
    CTraceSweeper sweeper;
    sweeper.BackupItems(static_cast<BACKUP_RESTORE_ITEMS>(1), CB_IE);
    sweeper.RestoreItems(static_cast<BACKUP_RESTORE_ITEMS>(3), CB_IE);
    EXPECT_TRUE(dialogs.requests().empty());
    EXPECT_TRUE(boxes.boxes().empty());
    EXPECT_FALSE(fs::exists(chosen()));
    EXPECT_TRUE(sweeper.mIE);
    EXPECT_FALSE(sweeper.mOpera || sweeper.mNetscape);

    sweeper.BackupItems(BRI_TYPED_URLS, 0);
    EXPECT_EQ(ReadFile(chosen()), "http://a/");
}

TEST_F(BackupTest, NetscapeWithoutProfileDoesNothing) {
    FileDialogAnswerer dialogs({chosen()});
    MessageBoxRecorder boxes;
    CTraceSweeper sweeper;
    sweeper.BackupItems(BRI_FAVORITES, CB_NETSCAPE);
    sweeper.RestoreItems(BRI_TYPED_URLS, CB_NETSCAPE);
    EXPECT_TRUE(dialogs.requests().empty());
    EXPECT_TRUE(boxes.boxes().empty());
}

TEST(BookmarkFile, ItemsComeBackAsTheyWereWrittenUpToTheDepthLimit) {
    using cleanup::BookmarkItem;
    BookmarkItem deep{"level 1", {}, {}};
    BookmarkItem* inner = &deep;
    for (std::size_t level = 2; level <= cleanup::kMaxBookmarkDepth + 3; ++level) {
        inner->children.push_back(BookmarkItem{"level " + std::to_string(level), {}, {}});
        inner->children.push_back(BookmarkItem{"at " + std::to_string(level), "http://x/" + std::to_string(level), {}});
        inner = &inner->children.front();
    }
    const std::vector<BookmarkItem> items = {
        {"", "http://untitled/", {}},
        {"quote \" amp & lt < gt > apos '", "http://q/?a=\"1\"&b='2'", {}},
        {"empty folder", {}, {}},
        deep,
    };
    const auto read = cleanup::ReadBookmarkHtml(cleanup::WriteBookmarkHtml(items));
    ASSERT_TRUE(read);
    ASSERT_EQ(items.size(), read->size());
    for (std::size_t i = 0; i + 1 < items.size(); ++i) EXPECT_EQ(items[i], (*read)[i]) << i;
    // Folders past the limit are left out of the file; the rest is whole.
    std::size_t levels = 0;
    for (const BookmarkItem* folder = &read->back(); folder; ++levels) {
        const BookmarkItem* next = nullptr;
        for (const BookmarkItem& child : folder->children)
            if (child.IsFolder()) next = &child;
        folder = next;
    }
    EXPECT_EQ(cleanup::kMaxBookmarkDepth - 1, levels);
}

TEST(BookmarkFile, ReadsWhatBrowsersWriteAndNothingElse) {
    struct Case {
        std::string html;
        std::optional<std::size_t> topItems;  // nothing: not a bookmark file
    };
    const std::string head = "<!doctype netscape-bookmark-file-1>\n<DL><p>\n";
    std::string tooDeep = head;
    for (std::size_t i = 0; i < 3 * cleanup::kMaxBookmarkDepth; ++i) tooDeep += "<DT><H3>f</H3><DL><p>";
    tooDeep += "<DT><A HREF=\"http://deep/\">deep</A>";
    const Case cases[] = {
        {"<html><body><A HREF=\"http://x/\">x</A></body></html>", std::nullopt},
        {"", std::nullopt},
        {head + "<!-- <DT><A HREF=\"http://hidden/\">hidden</A> -->\n</DL>", 0},
        {head + "<DT><A HREF=\"http://cut/\">no end", 1},
        {head + "<DT><H3>folder without list</H3>\n<DT><A HREF=http://bare/ ADD_DATE=1>bare</A>", 2},
        {head + "<DT><A HREF=\"http://a/\">a</A></DL></DL></DL><DT><A HREF=\"http://b/\">b</A>", 2},
        {tooDeep, 1},
    };
    for (const Case& c : cases) {
        const auto read = cleanup::ReadBookmarkHtml(c.html);
        ASSERT_EQ(c.topItems.has_value(), read.has_value()) << c.html.substr(0, 80);
        if (read) {
            EXPECT_EQ(*c.topItems, read->size()) << c.html.substr(0, 80);
        }
    }
}

}  // namespace
