#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "SweepFixture.h"
#include "cleanup/CCleanIE.h"
#include "cleanup/CFileManip.h"
#include "platform/FileFind.h"
#include "platform/FileOps.h"

namespace {

namespace fs = std::filesystem;
using sweeptest::Put;

class FileManipTest : public sweeptest::SweepTest {
protected:
    FileManipTest() : saved_(fs::current_path()) {}
    ~FileManipTest() override { fs::current_path(saved_); }
    std::string P(const std::string& below) const { return (profile() / below).string(); }

private:
    fs::path saved_;
};

TEST_F(FileManipTest, ExistenceTellsFilesFromFolders) {
    fs::create_directories(profile() / "only" / "a");
    fs::create_directories(profile() / "mixed" / "a");
    Put(profile() / "mixed" / "f.txt", "x");
    struct Case {
        std::string pattern;
        int expected;
    };
    const Case cases[] = {
        {P("only/*.*"), 1},    {P("mixed/*.*"), 2},   {P("mixed/*.TXT"), 2}, {P("mixed/*.doc"), 0},
        {P("missing/*.*"), 0}, {P("mixed/f.txt"), 2}, {P("mixed/a"), 1},     {P("nothing"), 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.expected, CFileManip::Existence(c.pattern)) << c.pattern;
}

TEST_F(FileManipTest, ParentAndRootRules) {
    struct Parent {
        const char* folder;
        const char* path;
        int expected;
    };
    const Parent parents[] = {
        {"C:\\a", "C:\\a\\b", 1}, {"C:\\a", "C:\\ab", 0}, {"C:\\a", "C:\\a\\", 0},
        {"/x/a", "/X/A/b", 1},    {"/x/a", "/x/ab/c", 0}, {"/x/a/b", "/x/a", 0},
    };
    for (const Parent& p : parents)
        EXPECT_EQ(p.expected, CFileManip::IsParentDirectory(p.folder, p.path))
            << p.folder << " " << p.path;
    struct Root {
        const char* path;
        char expected;
    };
    const Root roots[] = {{"c:", 'c'}, {"C:\\", 'C'}, {"c:\\x", 0},
                          {"1:", 0},   {"c:/", 0},    {"/", 0}};
    for (const Root& r : roots) EXPECT_EQ(r.expected, CFileManip::IsRoot(r.path)) << r.path;
}

TEST_F(FileManipTest, FileOperationsRefuseSourcesThatAreOnlyFolders) {
    fs::create_directories(profile() / "dir" / "sub");
    Put(profile() / "dir" / "sub" / "keep.txt", "keep");
    platform::SetLastError(0);
    EXPECT_EQ(0, CFileManip::Copy(P("dir/sub"), P("copy"), 1));
    EXPECT_EQ(0x10000000u, platform::GetLastError());
    platform::SetLastError(0);
    EXPECT_EQ(0, CFileManip::Del(P("dir/*.*"), 1));
    EXPECT_EQ(0x10000000u, platform::GetLastError());
    platform::SetLastError(0);
    EXPECT_EQ(0, CFileManip::Ren(P("dir/sub"), P("renamed"), 0));
    EXPECT_EQ(0x10000000u, platform::GetLastError());
    EXPECT_EQ("keep", kvtest::ReadFile(profile() / "dir" / "sub" / "keep.txt"));
    EXPECT_FALSE(fs::exists(profile() / "copy"));
    EXPECT_FALSE(fs::exists(profile() / "renamed"));
}

TEST_F(FileManipTest, FileOperationsOnFilesAndPatterns) {
    Put(profile() / "dir" / "a.txt", "a");
    Put(profile() / "dir" / "b.txt", "b");
    Put(profile() / "dir" / "sub.txt" / "inner", "i");
    fs::create_directories(profile() / "to");
    EXPECT_EQ(1, CFileManip::Copy(P("dir/a.txt"), P("to"), 1));
    EXPECT_EQ("a", kvtest::ReadFile(profile() / "to" / "a.txt"));
    EXPECT_EQ(1, CFileManip::Ren(P("to/a.txt"), P("to/c.txt"), 1));
    EXPECT_EQ("a", kvtest::ReadFile(profile() / "to" / "c.txt"));
    // Files only: the folder matching the pattern stays.
    EXPECT_EQ(1, CFileManip::Del(P("dir/*.txt"), 1));
    EXPECT_FALSE(fs::exists(profile() / "dir" / "a.txt"));
    EXPECT_FALSE(fs::exists(profile() / "dir" / "b.txt"));
    EXPECT_EQ("i", kvtest::ReadFile(profile() / "dir" / "sub.txt" / "inner"));
    EXPECT_EQ(1, CFileManip::XCopy(P("dir"), P("to"), 1));
    EXPECT_EQ("i", kvtest::ReadFile(profile() / "to" / "dir" / "sub.txt" / "inner"));
    EXPECT_EQ(0, CFileManip::Del(P("dir/missing.txt"), 1));
}

TEST_F(FileManipTest, PlainCallsOnFoldersAndAttributes) {
    EXPECT_EQ(1, CFileManip::MkDir(P("made")));
    EXPECT_EQ(0, CFileManip::MkDir(P("made")));
    Put(profile() / "made" / "f", "f");
    EXPECT_EQ(0, CFileManip::RmDir(P("made")));
    EXPECT_EQ(1, CFileManip::SetAttribute(P("made/f"), platform::FILE_ATTRIBUTE_READONLY));
    EXPECT_TRUE(CFileManip::GetAttribute(P("made/f")) & platform::FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(1, CFileManip::SetAttribute(P("made/f"), platform::FILE_ATTRIBUTE_NORMAL));
    EXPECT_EQ(platform::FILE_ATTRIBUTE_NORMAL, CFileManip::GetAttribute(P("made/f")));
    EXPECT_TRUE(CFileManip::GetAttribute(P("made")) & platform::FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_EQ(platform::INVALID_FILE_ATTRIBUTES, CFileManip::GetAttribute(P("none")));
    fs::remove(profile() / "made" / "f");
    EXPECT_EQ(1, CFileManip::RmDir(P("made")));
}

TEST_F(FileManipTest, DelTreeRemovesDeepTreesAndLinksButNothingTheyName) {
    Put(outside() / "target.txt", "survives");
    Put(outside() / "dir" / "keep.txt", "keep");
    fs::create_directories(profile() / "tree");
    sweeptest::MakeDeepTree(profile() / "tree", 1500, outside() / "target.txt");
    fs::create_symlink(outside() / "dir", profile() / "tree" / "dirlink");
    fs::create_symlink(outside() / "dir", profile() / "justalink");

    EXPECT_EQ(1, CFileManip::DelTree(P("tree"), 1));
    EXPECT_EQ(1, CFileManip::DelTree(P("justalink"), 0));

    EXPECT_FALSE(fs::exists(fs::symlink_status(profile() / "tree")));
    EXPECT_FALSE(fs::exists(fs::symlink_status(profile() / "justalink")));
    EXPECT_EQ("survives", kvtest::ReadFile(outside() / "target.txt"));
    EXPECT_EQ("keep", kvtest::ReadFile(outside() / "dir" / "keep.txt"));
}

TEST_F(FileManipTest, DelTreeRefusesPathsOutsideTheRootOrTooLong) {
    Put(outside() / "dir" / "keep.txt", "keep");
    EXPECT_EQ(0, CFileManip::DelTree((outside() / "dir").string(), 1));
    EXPECT_EQ(0, CFileManip::DelTree(P("a/../../../") + outside().string(), 1));
    const std::string tooLong = P(std::string(300, 'x'));
    EXPECT_EQ(0, CFileManip::DelTree(tooLong, 1));
    EXPECT_EQ(0, CFileManip::DelTree(P("missing"), 1));
    fs::create_symlink(outside(), profile() / "out");
    EXPECT_EQ(0, CFileManip::DelTree(P("out/dir"), 1));
    EXPECT_EQ(0, CFileManip::Del(P("out/dir/keep.txt"), 1));
    EXPECT_EQ("keep", kvtest::ReadFile(outside() / "dir" / "keep.txt"));
}

TEST_F(FileManipTest, DelTreeAndMoveStepOutOfTheTreeOnlyWhenStandingInIt) {
    fs::create_directories(profile() / "tree" / "sub");
    fs::create_directories(profile() / "elsewhere");

    fs::current_path(profile() / "elsewhere");
    Put(profile() / "other" / "x", "x");
    EXPECT_EQ(1, CFileManip::DelTree(P("other"), 1));
    EXPECT_EQ(fs::path(P("elsewhere")), fs::current_path());

    fs::current_path(profile() / "tree" / "sub");
    EXPECT_EQ(1, CFileManip::DelTree(P("tree"), 1));
    EXPECT_FALSE(fs::exists(profile() / "tree"));
    EXPECT_EQ(profile(), fs::current_path());

    fs::create_directories(profile() / "moving" / "in");
    fs::current_path(profile() / "moving" / "in");
    EXPECT_EQ(1, CFileManip::Move(P("moving"), P("moved"), 1));
    EXPECT_TRUE(fs::is_directory(profile() / "moved" / "in"));
    EXPECT_EQ(profile(), fs::current_path());

    // Named from the current folder: still the tree meant, left first.
    fs::create_directories(profile() / "rel" / "sub");
    Put(profile() / "sub" / "keep.txt", "keep");
    fs::current_path(profile() / "rel");
    EXPECT_EQ(1, CFileManip::DelTree("sub", 1));
    EXPECT_FALSE(fs::exists(profile() / "rel" / "sub"));
    EXPECT_EQ("keep", kvtest::ReadFile(profile() / "sub" / "keep.txt"));
    fs::current_path(profile() / "rel");
    EXPECT_EQ(1, CFileManip::DelTree(".", 1));
    EXPECT_FALSE(fs::exists(profile() / "rel"));
    EXPECT_EQ(profile(), fs::current_path());
}

TEST_F(FileManipTest, CdDotDotStepsUpOneLevel) {
    fs::create_directories(profile() / "a" / "b");
    fs::current_path(profile() / "a" / "b");
    std::string above;
    EXPECT_EQ(1, CFileManip::CdDotDot(&above));
    EXPECT_EQ(P("a"), above);
    EXPECT_EQ(fs::path(P("a")), fs::current_path());
    fs::current_path("/");
    EXPECT_EQ(0, CFileManip::CdDotDot(nullptr));
}

TEST_F(FileManipTest, CopyFolderStopsAfterMoreThanThreeExistingFiles) {
    struct Case {
        int existing;
        std::string expectedE;
    };
    const Case cases[] = {{3, "e"}, {4, ""}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.existing);
        fs::remove_all(profile() / "src");
        fs::remove_all(profile() / "dst");
        for (const char* name : {"a", "b", "c", "d", "e"}) Put(profile() / "src" / name, name);
        fs::create_directories(profile() / "src" / "folder");
        for (int i = 0; i < c.existing; ++i)
            Put(profile() / "dst" / std::string(1, static_cast<char>('a' + i)), "old");
        fs::create_directories(profile() / "dst");

        CFileManip manip;
        EXPECT_EQ(1, manip.CopyFolder(P("src/"), P("dst")));

        EXPECT_EQ(c.expectedE, kvtest::ReadFile(profile() / "dst" / "e"));
        EXPECT_EQ("old", kvtest::ReadFile(profile() / "dst" / "a"));
        EXPECT_FALSE(fs::exists(profile() / "dst" / "folder"));
    }
    EXPECT_EQ(0, CFileManip().CopyFolder(P("none/"), P("dst")));
}

// The setup wizard hands DelTree whatever folder the user typed: the root,
// its settings and its program folder are never among what goes, however
// they are spelled, and a refusal leaves even the current folder as it was.
TEST_F(FileManipTest, NeverRemovesTheRootItsRegistryOrProgramFolder) {
    const fs::path r = root();
    Put(r / "registry" / "HKCU.reg", "hive");
    Put(r / "program" / "dbase" / "proxypool.db", "pool");
    Put(profile() / "Favorites" / "site.url", "fav");
    fs::current_path(r / "registry");
    const sweeptest::Snapshot before = TakeFiles();
    const std::string tree[] = {
        r.string(),
        r.string() + "/",
        r.string() + "//",
        (r / "profile" / "..").string(),
        (r / "registry").string(),
        (r / "registry").string() + "/",
        (r / "registry" / "HKCU.reg").string(),
        (r / "program").string(),
        (r / "program" / "dbase").string(),
        (r / "profile" / ".." / "program").string(),
        r.parent_path().string(),
    };
    for (const std::string& path : tree) {
        EXPECT_EQ(0, CFileManip::DelTree(path, 1)) << path;
        EXPECT_EQ(0, CFileManip::DelTree(path, 0)) << path;
        EXPECT_EQ(0, CFileManip::Move(path, P("moved"), 1)) << path;
        EXPECT_EQ(0, CFileManip::Ren(path, P("renamed"), 1)) << path;
        EXPECT_EQ(0, CFileManip::RmDir(path)) << path;
        EXPECT_EQ(0, CCleanIE().EmptyDirectory(path)) << path;
    }
    EXPECT_EQ(0, CFileManip::Del((r / "registry" / "*.*").string(), 1));
    EXPECT_EQ(0, CFileManip::DelTree((r / "*").string(), 1));
    EXPECT_EQ(before, TakeFiles());
    EXPECT_EQ(r / "registry", fs::current_path());
    // What lies beside them still goes.
    EXPECT_EQ(1, CFileManip::DelTree(P("Favorites"), 1));
    EXPECT_FALSE(fs::exists(profile() / "Favorites"));
}

}  // namespace
