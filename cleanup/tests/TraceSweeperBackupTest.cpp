#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "SweepFixture.h"
#include "cleanup/CTraceSweeper.h"
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

TEST_F(BackupTest, SystemBrowserFavoritesFailEndTheWholeOperation) {
    InstallOpera();
    WriteFile(opera() / "opera6.adr", "opera");
    for (bool backup : {true, false}) {
        FileDialogAnswerer dialogs({chosen()});
        MessageBoxRecorder boxes;
        CTraceSweeper sweeper;
        backup ? sweeper.BackupItems(BRI_FAVORITES, CB_IE | CB_OPERA)
               : sweeper.RestoreItems(BRI_FAVORITES, CB_IE | CB_OPERA);
        EXPECT_TRUE(dialogs.requests().empty());
        ASSERT_EQ(boxes.boxes().size(), 1u);
        EXPECT_EQ(boxes.boxes()[0].text, "ERROR KV:1");
        EXPECT_EQ(boxes.boxes()[0].type, MB_OK | MB_ICONERROR);
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
        CTraceSweeper().BackupItems(BRI_FAVORITES, CB_NETSCAPE);
        EXPECT_EQ(Texts(boxes), (std::vector<std::string>{"Error:Your IE Typed URL(s) have not been backuped",
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

}  // namespace
