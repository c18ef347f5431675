// The registry's files: their ".reg" text, sharing them between processes,
// reloading, and the test hooks.

#include <gtest/gtest.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <poll.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "RegistryFixture.h"
#include "platform/Registry.h"
#include "platform/SafeFile.h"

namespace {
using namespace platform;
using kvtest::RegistryTest;
using namespace std::chrono_literals;

constexpr std::string_view kHeader = "Windows Registry Editor Version 5.00\n\n";

// A child process running body; its exit status is body's result.
pid_t StartChild(const std::function<int()>& body) {
    const pid_t pid = ::fork();
    if (pid == 0) ::_exit(body());
    return pid;
}

// True when the child ended with status 0 within the time limit; a child
// still running then is killed.
bool ChildSucceeded(pid_t pid, std::chrono::seconds limit = 20s) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    int status = 0;
    while (::waitpid(pid, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, &status, 0);
            return false;
        }
        std::this_thread::sleep_for(2ms);
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

TEST_F(RegistryTest, WritesRegeditTextForEveryKind) {
    ASSERT_EQ(ERROR_SUCCESS, RegKey::Root(kUser).SetDWORDValue("AtRoot", 1));
    RegKey key = Key("Software\\Kavelin Ver 2.0\\General");
    ASSERT_EQ(ERROR_SUCCESS, key.SetDWORDValue("_STARTING_PORT", 8060));
    ASSERT_EQ(ERROR_SUCCESS, key.SetStringValue("_STARTING_IP", "127.0.0.1"));
    ASSERT_EQ(ERROR_SUCCESS, key.SetStringValue("", "default"));
    ASSERT_EQ(ERROR_SUCCESS, key.SetStringValue("Path", "%WINDIR%", REG_EXPAND_SZ));
    std::vector<BYTE> blob;
    for (BYTE b = 0; b < 30; ++b) blob.push_back(b);
    ASSERT_EQ(ERROR_SUCCESS, key.SetBinaryValue("Blob", blob.data(), static_cast<DWORD>(blob.size())));
    ASSERT_EQ(ERROR_SUCCESS, key.SetValue("Multi", REG_MULTI_SZ, "a\0\0", 3));
    ASSERT_EQ(ERROR_SUCCESS, key.SetValue("Raw", REG_SZ, "ab", 2));
    ASSERT_EQ(ERROR_SUCCESS, key.SetValue("Word", REG_DWORD, "ab", 2));
    Key("Software\\Empty");

    const std::string expected = std::string(kHeader) +
        "[HKEY_CURRENT_USER]\n"
        "\"AtRoot\"=dword:00000001\n"
        "\n"
        "[HKEY_CURRENT_USER\\Software]\n"
        "\n"
        "[HKEY_CURRENT_USER\\Software\\Kavelin Ver 2.0]\n"
        "\n"
        "[HKEY_CURRENT_USER\\Software\\Kavelin Ver 2.0\\General]\n"
        "\"_STARTING_PORT\"=dword:00001f7c\n"
        "\"_STARTING_IP\"=\"127.0.0.1\"\n"
        "@=\"default\"\n"
        "\"Path\"=hex(2):25,57,49,4e,44,49,52,25,00\n"
        "\"Blob\"=hex:00,01,02,03,04,05,06,07,08,09,0a,0b,0c,0d,0e,0f,10,11,12,13,14,15,\\\n"
        "  16,17,18,19,1a,1b,1c,1d\n"
        "\"Multi\"=hex(7):61,00,00\n"
        "\"Raw\"=hex(1):61,62\n"
        "\"Word\"=hex(4):61,62\n"
        "\n"
        "[HKEY_CURRENT_USER\\Software\\Empty]\n"
        "\n";
    EXPECT_EQ(expected, kvtest::ReadFile(HiveFile()));
    EXPECT_EQ(expected, registry_test::DumpHive(kUser));
}

TEST_F(RegistryTest, EscapedNamesAndTextsSurviveTheFile) {
    const struct {
        const char* key;
        const char* value;
        const char* text;
        const char* line;   // as the file must hold it
    } cases[] = {
        {"Quote\"Key", "say \"hi\"", "\"quoted\"", "\"say \\\"hi\\\"\"=\"\\\"quoted\\\"\""},
        {"Back slash", "back\\slash", "C:\\dir\\", "\"back\\\\slash\"=\"C:\\\\dir\\\\\""},
        {"a=b", "a=b", "x=y", "\"a=b\"=\"x=y\""},
        {"x]y", "[x]y", "]", "\"[x]y\"=\"]\""},
        {"[br]", "semi;colon", "; not a comment", "\"semi;colon\"=\"; not a comment\""},
        {"Lines", "two lines", "one\ntwo", "\"two lines\"=hex(1):6f,6e,65,0a,74,77,6f,00"},
        {"Return", "cr", "a\r", "\"cr\"=hex(1):61,0d,00"},
        {"Utf8 \xc3\xa9", "\xc3\xa9t\xc3\xa9", "\xe2\x82\xac", "\"\xc3\xa9t\xc3\xa9\"=\"\xe2\x82\xac\""},
    };
    for (const auto& c : cases) {
        RegKey key = Key(std::string("Software\\") + c.key);
        ASSERT_EQ(ERROR_SUCCESS, key.SetStringValue(c.value, c.text)) << c.value;
    }
    const std::string file = kvtest::ReadFile(HiveFile());
    for (const auto& c : cases) EXPECT_NE(std::string::npos, file.find(std::string("\n") + c.line + "\n")) << c.line;
    EXPECT_NE(std::string::npos, file.find("\n[HKEY_CURRENT_USER\\Software\\x]y]\n"));

    FromCopiedFiles([&] {
        for (const auto& c : cases) {
            RegKey key;
            ASSERT_EQ(ERROR_SUCCESS, key.Open(HKEY_CURRENT_USER, std::string("Software\\") + c.key)) << c.key;
            std::string text;
            ASSERT_EQ(ERROR_SUCCESS, key.QueryStringValue(c.value, text)) << c.value;
            EXPECT_EQ(c.text, text);
            std::string name;
            ASSERT_EQ(ERROR_SUCCESS, key.EnumValue(0, name));
            EXPECT_EQ(c.value, name);
        }
    });
    RegKey key = Key("Software");
    EXPECT_EQ(ERROR_INVALID_PARAMETER, key.SetDWORDValue("line\nbreak", 1));
}

TEST_F(RegistryTest, LoadsRegeditTextAndReplacesTheHive) {
    RegKey old = Key("Software\\Old");
    const std::string text =
        "\xEF\xBB\xBFWindows Registry Editor Version 5.00\r\n"
        "\r\n"
        "; exported\r\n"
        "[HKEY_CURRENT_USER\\Software\\Kavelin Ver 2.0\\Privacy]\r\n"
        "\"_LISTENER_PORT\"=dword:0000200a\r\n"
        "@=\"def\"\r\n"
        "\"Wrapped\"=hex:01,02,\\\r\n"
        "  03,\\\r\n"
        "  04\r\n"
        "\"Later\"=hex(0):\r\n"
        "\r\n"
        "[HKEY_CURRENT_USER\\Software\\Kavelin Ver 2.0\\Privacy\\Deep\\Er]\r\n";
    ASSERT_TRUE(registry_test::LoadHiveText(kUser, text));

    EXPECT_EQ(ERROR_KEY_DELETED, old.SetDWORDValue("x", 1));
    RegKey key;
    ASSERT_EQ(ERROR_SUCCESS, key.Open(kUser, "software\\kavelin ver 2.0\\privacy"));
    DWORD port = 0;
    EXPECT_EQ(ERROR_SUCCESS, key.QueryDWORDValue("_LISTENER_PORT", port));
    EXPECT_EQ(8202u, port);
    std::string def;
    EXPECT_EQ(ERROR_SUCCESS, key.QueryStringValue("", def));
    EXPECT_EQ("def", def);
    std::vector<BYTE> wrapped;
    EXPECT_EQ(ERROR_SUCCESS, key.QueryBinaryValue("Wrapped", wrapped));
    EXPECT_EQ((std::vector<BYTE>{1, 2, 3, 4}), wrapped);
    DWORD type = 99;
    DWORD size = 99;
    EXPECT_EQ(ERROR_SUCCESS, key.QueryValue("Later", &type, nullptr, &size));
    EXPECT_EQ(REG_NONE, type);
    EXPECT_EQ(0u, size);
    EXPECT_EQ(ERROR_SUCCESS, key.Open(key, "Deep\\Er"));
    EXPECT_NE(std::string::npos, kvtest::ReadFile(HiveFile()).find("\"Wrapped\"=hex:01,02,03,04\n"));
}

TEST_F(RegistryTest, RefusesMalformedHiveTextAndKeepsTheHive) {
    ASSERT_EQ(ERROR_SUCCESS, Key("Software\\Kept").SetDWORDValue("v", 7));
    const std::string before = registry_test::DumpHive(kUser);
    const std::string head(kHeader);
    const std::string key = "[HKEY_CURRENT_USER\\A]\n";
    const std::string bad[] = {
        key,
        head + "[HKEY_LOCAL_MACHINE\\A]\n",
        head + "[HKEY_CURRENT_USER\\A\n",
        head + "[-HKEY_CURRENT_USER\\A]\n",
        head + "\"before any key\"=dword:00000001\n",
        head + key + "\"x\"=dword:123456789\n",
        head + key + "\"x\"=dword:zz\n",
        head + key + "\"x\"=hex:1g\n",
        head + key + "\"x\"=hex:100\n",
        head + key + "\"x\"=hex(1x):00\n",
        head + key + "\"x\"=\"open\n",
        head + key + "\"x\"=\"text\"junk\n",
        head + key + "\"x\"=-\n",
        head + key + "\"x\"dword:00000001\n",
        head + key + "\"x\"=hex:01,\\\n",
        head + key + ";security=hex:zz\n",
        head + key + "garbage\n",
    };
    for (const std::string& text : bad) EXPECT_FALSE(registry_test::LoadHiveText(kUser, text)) << text;
    EXPECT_EQ(before, registry_test::DumpHive(kUser));
}

TEST_F(RegistryTest, DamagedLineInAHiveFileLosesOnlyThatLine) {
    kvtest::WriteFile(HiveFile(), std::string(kHeader) +
                                      "[HKEY_CURRENT_USER\\Software\\S]\n"
                                      "\"first\"=dword:00000001\n"
                                      "\"damaged\"=dword:xyz\n"
                                      "\"second\"=\"two\"\n");
    RegKey key;
    ASSERT_EQ(ERROR_SUCCESS, key.Open(kUser, "Software\\S"));
    DWORD number = 0;
    EXPECT_EQ(ERROR_SUCCESS, key.QueryDWORDValue("first", number));
    std::string text;
    EXPECT_EQ(ERROR_SUCCESS, key.QueryStringValue("second", text));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, key.QueryDWORDValue("damaged", number));
}

// The files of the registry folder other than the hives and their locks.
std::vector<std::filesystem::path> DamagedCopies(const std::filesystem::path& folder) {
    std::vector<std::filesystem::path> copies;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (entry.path().filename().string().find(".damaged-") != std::string::npos) copies.push_back(entry.path());
    }
    return copies;
}

TEST_F(RegistryTest, DamagedHiveIsKeptAsideOnceAndTheRestGoesOn) {
    const std::string damaged = std::string(kHeader) +
                                "[HKEY_CURRENT_USER\\Software\\Good]\n"
                                "\"first\"=dword:00000001\n"
                                "\"damaged\"=dword:xyz\n"
                                "\n"
                                "[HKEY_CURRENT_USER\\Software\\Broken key\n"
                                "\"lost\"=\"below a key line that cannot be read\"\n"
                                "\n"
                                "[HKEY_CURRENT_USER\\Software\\Later]\n"
                                "\"second\"=\"two\"\n";
    kvtest::WriteFile(HiveFile(), damaged);
    testing::internal::CaptureStderr();
    RegKey key;
    ASSERT_EQ(ERROR_SUCCESS, key.Open(kUser, "Software\\Good"));
    ASSERT_EQ(ERROR_SUCCESS, key.Open(kUser, "Software\\Later"));
    std::string text;
    EXPECT_EQ(ERROR_SUCCESS, key.QueryStringValue("second", text));
    // A second process reading the same hive keeps no second copy.
    const pid_t reader = StartChild([] {
        RegKey mine;
        return mine.Open(HKEY_CURRENT_USER, "Software\\Later") == ERROR_SUCCESS ? 0 : 1;
    });
    EXPECT_TRUE(ChildSucceeded(reader));
    ASSERT_EQ(ERROR_SUCCESS, Key("Software\\Good").SetDWORDValue("third", 3));
    const std::string said = testing::internal::GetCapturedStderr();

    const auto copies = DamagedCopies(root() / "registry");
    ASSERT_EQ(1u, copies.size());
    EXPECT_EQ(damaged, kvtest::ReadFile(copies[0]));
    const std::string notice = "has 3 lines that cannot be read (the first is line 5); it is kept unchanged as " +
                               copies[0].string();
    EXPECT_NE(std::string::npos, said.find(notice)) << said;
    EXPECT_EQ(said.find("cannot be read"), said.rfind("cannot be read")) << "said more than once: " << said;
    EXPECT_NE(std::string::npos, kvtest::ReadFile(root() / "program/Kavelin.log").find(notice));
    EXPECT_NE(std::string::npos, kvtest::ReadFile(HiveFile()).find("\"third\"=dword:00000003"));
    EXPECT_EQ(std::string::npos, kvtest::ReadFile(HiveFile()).find("xyz"));
}

TEST_F(RegistryTest, ReadsHivesSavedInUtf16AndUtf8) {
    const std::string text = "Windows Registry Editor Version 5.00\r\n\r\n"
                             "[HKEY_CURRENT_USER\\Software\\Export]\r\n"
                             "\"Number\"=dword:0000002a\r\n"
                             "\"Text\"=\"caf\xc3\xa9 \xf0\x9f\x98\x80\"\r\n";
    // UTF-8 to UTF-16 code units.
    std::vector<std::uint16_t> units;
    for (std::size_t i = 0; i < text.size();) {
        const auto b = static_cast<unsigned char>(text[i]);
        std::uint32_t cp = b;
        std::size_t n = 1;
        if (b >= 0xF0) { cp = b & 0x07; n = 4; }
        else if (b >= 0xE0) { cp = b & 0x0F; n = 3; }
        else if (b >= 0xC0) { cp = b & 0x1F; n = 2; }
        for (std::size_t k = 1; k < n; ++k) cp = (cp << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        i += n;
        if (cp >= 0x10000) {
            units.push_back(static_cast<std::uint16_t>(0xD800 + ((cp - 0x10000) >> 10)));
            units.push_back(static_cast<std::uint16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF)));
        } else {
            units.push_back(static_cast<std::uint16_t>(cp));
        }
    }
    const auto utf16 = [&units](bool bigEndian, bool mark) {
        std::string out;
        if (mark) out += bigEndian ? "\xFE\xFF" : "\xFF\xFE";
        for (const std::uint16_t u : units) {
            const char hi = static_cast<char>(u >> 8);
            const char lo = static_cast<char>(u & 0xFF);
            out += bigEndian ? std::string{hi, lo} : std::string{lo, hi};
        }
        return out;
    };
    const struct {
        const char* what;
        std::string bytes;
    } cases[] = {
        {"UTF-16 little-endian with its mark (as registry editors export)", utf16(false, true)},
        {"UTF-16 big-endian with its mark", utf16(true, true)},
        {"UTF-16 little-endian without a mark", utf16(false, false)},
        {"UTF-8 with its mark", "\xEF\xBB\xBF" + text},
        {"UTF-8", text},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        kvtest::WriteFile(HiveFile(), c.bytes);
        RegKey key;
        ASSERT_EQ(ERROR_SUCCESS, key.Open(kUser, "Software\\Export"));
        DWORD number = 0;
        EXPECT_EQ(ERROR_SUCCESS, key.QueryDWORDValue("Number", number));
        EXPECT_EQ(42u, number);
        std::string value;
        EXPECT_EQ(ERROR_SUCCESS, key.QueryStringValue("Text", value));
        EXPECT_EQ("caf\xc3\xa9 \xf0\x9f\x98\x80", value);
        // Saved again in UTF-8, with nothing lost.
        ASSERT_EQ(ERROR_SUCCESS, key.SetDWORDValue("Saved", 1));
        EXPECT_NE(std::string::npos, kvtest::ReadFile(HiveFile()).find("\"Text\"=\"caf\xc3\xa9 \xf0\x9f\x98\x80\""));
        EXPECT_TRUE(DamagedCopies(root() / "registry").empty());
    }

    // A unit that is no character damages its line only.
    std::string lone = utf16(false, true);
    lone += std::string("\x00\xD8", 2) + std::string("\r\0\n\0", 4);
    testing::internal::CaptureStderr();
    kvtest::WriteFile(HiveFile(), lone);
    RegKey key;
    ASSERT_EQ(ERROR_SUCCESS, key.Open(kUser, "Software\\Export"));
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(1u, DamagedCopies(root() / "registry").size());
}

TEST_F(RegistryTest, ReadingARootWithoutARegistryMakesNothing) {
    RegKey key;
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, key.Open(kUser, "Software"));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, key.Open(HKEY_LOCAL_MACHINE, "Software"));
    EXPECT_TRUE(std::filesystem::is_empty(root()));
}

TEST_F(RegistryTest, BatchThatCannotBeSavedSaysSoAndKeepsTheFile) {
    ASSERT_EQ(ERROR_SUCCESS, Key("Software\\Kept").SetDWORDValue("v", 1));
    const std::string before = kvtest::ReadFile(HiveFile());
    LONG committed = ERROR_SUCCESS;
    {
        RegistryBatch batch;
        ASSERT_EQ(ERROR_SUCCESS, Key("Software\\Kept").SetDWORDValue("v", 2));
        safefile_test::FailTemporaryFiles(true);   // a full disk
        committed = batch.Commit();
        safefile_test::FailTemporaryFiles(false);
    }
    EXPECT_NE(ERROR_SUCCESS, committed);
    EXPECT_EQ(before, kvtest::ReadFile(HiveFile()));
    DWORD v = 0;
    ASSERT_EQ(ERROR_SUCCESS, Key("Software\\Kept").QueryDWORDValue("v", v));
    EXPECT_EQ(1u, v);

    RegistryBatch fine;
    ASSERT_EQ(ERROR_SUCCESS, Key("Software\\Kept").SetDWORDValue("v", 3));
    EXPECT_EQ(ERROR_SUCCESS, fine.Commit());
    EXPECT_EQ(ERROR_INVALID_HANDLE, fine.Commit());
}

TEST_F(RegistryTest, BatchReadsOneSaveWhileAnotherProcessWrites) {
    ASSERT_EQ(ERROR_SUCCESS, Key("Software\\Seen").SetDWORDValue("v", 1));
    int go[2];
    ASSERT_EQ(0, ::pipe(go));
    const pid_t child = StartChild([&go] {
        ::close(go[1]);
        char byte = 0;
        if (::read(go[0], &byte, 1) != 1) return 1;
        RegKey other;
        if (other.Open(HKEY_CURRENT_USER, "Software\\Seen") != ERROR_SUCCESS) return 2;
        return other.SetDWORDValue("v", 2) == ERROR_SUCCESS ? 0 : 3;
    });
    ::close(go[0]);
    {
        const RegistryBatch batch;
        RegKey key;
        ASSERT_EQ(ERROR_SUCCESS, key.Open(kUser, "Software\\Seen"));
        DWORD first = 0;
        ASSERT_EQ(ERROR_SUCCESS, key.QueryDWORDValue("v", first));
        ASSERT_EQ(1, ::write(go[1], "g", 1));
        std::this_thread::sleep_for(200ms);   // room for the other write, were it not held off
        DWORD second = 0;
        ASSERT_EQ(ERROR_SUCCESS, key.QueryDWORDValue("v", second));
        EXPECT_EQ(first, second) << "one read of the batch saw another save";
    }
    ::close(go[1]);
    EXPECT_TRUE(ChildSucceeded(child));
    DWORD after = 0;
    ASSERT_EQ(ERROR_SUCCESS, Key("Software\\Seen").QueryDWORDValue("v", after));
    EXPECT_EQ(2u, after);
}

TEST_F(RegistryTest, SeesChangesOtherWritersMadeToTheFile) {
    RegKey key = Key("Software\\Shared");
    for (DWORD round = 0; round < 3; ++round) {
        ASSERT_EQ(ERROR_SUCCESS, key.SetDWORDValue("v", 2 * round));
        struct stat ours {};
        ASSERT_EQ(0, ::stat(HiveFile().c_str(), &ours));
        const pid_t child = StartChild([round] {
            RegKey mine;
            if (mine.Open(HKEY_CURRENT_USER, "Software\\Shared") != ERROR_SUCCESS) return 1;
            return mine.SetDWORDValue("v", 2 * round + 1) == ERROR_SUCCESS ? 0 : 2;
        });
        ASSERT_TRUE(ChildSucceeded(child));
        // The other write had the same size; make it look as if it also fell
        // within the same mtime tick.
        const struct timespec times[2] = {ours.st_atim, ours.st_mtim};
        ASSERT_EQ(0, ::utimensat(AT_FDCWD, HiveFile().c_str(), times, 0));
        DWORD v = 0;
        ASSERT_EQ(ERROR_SUCCESS, key.QueryDWORDValue("v", v));
        EXPECT_EQ(2 * round + 1, v);
    }
    // A program that rewrites the file in place.
    kvtest::WriteFile(HiveFile(), std::string(kHeader) + "[HKEY_CURRENT_USER\\Software\\Shared]\n\"w\"=\"new\"\n");
    std::string text;
    EXPECT_EQ(ERROR_SUCCESS, key.QueryStringValue("w", text));
    EXPECT_EQ("new", text);
    DWORD v = 0;
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, key.QueryDWORDValue("v", v));
}

TEST_F(RegistryTest, TwoProcessesWritingDifferentValuesToTheSameHiveLoseNeitherWrite) {
    constexpr int kPerWriter = 200;
    Key("Software\\Race");
    int go[2];
    ASSERT_EQ(0, ::pipe(go));
    std::vector<pid_t> children;
    for (const char* prefix : {"first", "second"}) {
        children.push_back(StartChild([&go, prefix] {
            ::close(go[1]);
            char byte = 0;
            if (::read(go[0], &byte, 1) != 1) return 1;
            RegKey key;
            if (key.Open(HKEY_CURRENT_USER, "Software\\Race") != ERROR_SUCCESS) return 2;
            for (int i = 0; i < kPerWriter; ++i) {
                if (key.SetDWORDValue(std::string(prefix) + std::to_string(i), i) != ERROR_SUCCESS) return 3;
            }
            return 0;
        }));
    }
    ::close(go[0]);
    ASSERT_EQ(2, ::write(go[1], "gg", 2));
    ::close(go[1]);
    for (const pid_t child : children) EXPECT_TRUE(ChildSucceeded(child));

    RegKey key;
    ASSERT_EQ(ERROR_SUCCESS, key.Open(kUser, "Software\\Race"));
    DWORD values = 0;
    ASSERT_EQ(ERROR_SUCCESS, key.QueryInfoKey(nullptr, &values));
    EXPECT_EQ(2u * kPerWriter, values);
    for (const char* prefix : {"first", "second"}) {
        for (int i = 0; i < kPerWriter; ++i) {
            DWORD v = 0;
            ASSERT_EQ(ERROR_SUCCESS, key.QueryDWORDValue(std::string(prefix) + std::to_string(i), v));
            EXPECT_EQ(static_cast<DWORD>(i), v);
        }
    }
}

TEST_F(RegistryTest, BatchWritesTheHiveOnceAndKeepsOtherWritersWaiting) {
    Key("Software\\Batch");
    const std::string before = kvtest::ReadFile(HiveFile());
    int go[2];
    int done[2];
    ASSERT_EQ(0, ::pipe(go));
    ASSERT_EQ(0, ::pipe(done));
    // Forked before the batch: a child must not inherit a batch in progress.
    const pid_t child = StartChild([&go, &done] {
        ::close(go[1]);
        ::close(done[0]);
        char byte = 0;
        if (::read(go[0], &byte, 1) != 1) return 1;
        RegKey other;
        const LONG created = other.Create(HKEY_CURRENT_USER, "Software\\Batch");
        const LONG set = other.SetStringValue("fromChild", "x");
        if (::write(done[1], &byte, 1) != 1) return 1;
        return created == ERROR_SUCCESS && set == ERROR_SUCCESS ? 0 : 1;
    });
    ::close(go[0]);
    ::close(done[1]);
    {
        const platform::RegistryBatch batch;
        RegKey key = Key("Software\\Batch");
        for (int i = 0; i < 20; ++i) ASSERT_EQ(ERROR_SUCCESS, key.SetDWORDValue("v" + std::to_string(i), i));
        DWORD seen = 0;
        EXPECT_EQ(ERROR_SUCCESS, key.QueryDWORDValue("v19", seen));
        EXPECT_EQ(19u, seen);
        EXPECT_EQ(before, kvtest::ReadFile(HiveFile()));   // nothing written yet

        ASSERT_EQ(1, ::write(go[1], "g", 1));
        pollfd wait{done[0], POLLIN, 0};
        EXPECT_EQ(0, ::poll(&wait, 1, 200)) << "the other writer must wait for the batch";
    }
    EXPECT_TRUE(ChildSucceeded(child));
    ::close(go[1]);
    ::close(done[0]);
    FromCopiedFiles([] {
        RegKey key;
        ASSERT_EQ(ERROR_SUCCESS, key.Open(HKEY_CURRENT_USER, "Software\\Batch"));
        DWORD values = 0;
        ASSERT_EQ(ERROR_SUCCESS, key.QueryInfoKey(nullptr, &values));
        EXPECT_EQ(21u, values);
    });
}

TEST_F(RegistryTest, ThreadsOfOneProcessWritingAtOnceLoseNoWrite) {
    constexpr int kPerThread = 50;
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([t] {
            RegKey key;
            key.Create(HKEY_CURRENT_USER, "Software\\Threads\\" + std::to_string(t % 2));
            for (int i = 0; i < kPerThread; ++i) key.SetDWORDValue(std::to_string(t) + "-" + std::to_string(i), i);
        });
    }
    for (std::thread& thread : threads) thread.join();
    DWORD total = 0;
    for (const char* sub : {"Software\\Threads\\0", "Software\\Threads\\1"}) {
        RegKey key;
        ASSERT_EQ(ERROR_SUCCESS, key.Open(kUser, sub));
        DWORD values = 0;
        ASSERT_EQ(ERROR_SUCCESS, key.QueryInfoKey(nullptr, &values));
        total += values;
    }
    EXPECT_EQ(4u * kPerThread, total);
}

TEST_F(RegistryTest, DeniedPathsRefuseCreateOpenAndDeleteUntilCleared) {
    Key("Software\\Locked\\Inner");
    registry_test::DenyPath(kUser, "software\\LOCKED");
    RegKey key;
    EXPECT_EQ(ERROR_ACCESS_DENIED, key.Open(kUser, "Software\\Locked"));
    EXPECT_EQ(ERROR_ACCESS_DENIED, key.Open(kUser, "Software\\Locked\\Inner"));
    EXPECT_EQ(ERROR_ACCESS_DENIED, key.Create(kUser, "Software\\Locked\\New"));
    EXPECT_EQ(ERROR_ACCESS_DENIED, Key("Software").RecurseDeleteKey(""));
    EXPECT_EQ(ERROR_ACCESS_DENIED, Key("Software").DeleteSubKey("Locked\\Inner"));
    EXPECT_EQ(ERROR_SUCCESS, key.Create(kUser, "Software\\LockedNot"));
    EXPECT_EQ(ERROR_SUCCESS, key.Create(HKEY_LOCAL_MACHINE, "Software\\Locked"));
    registry_test::ClearDenials();
    EXPECT_EQ(ERROR_SUCCESS, key.Open(kUser, "Software\\Locked\\Inner"));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, key.Open(kUser, "Software\\Locked\\New"));
}

TEST_F(RegistryTest, HivesLiveInTheirOwnFilesBelowTheCurrentRoot) {
    ASSERT_EQ(ERROR_SUCCESS, Key("Software\\Here").SetDWORDValue("v", 1));
    RegKey machine;
    ASSERT_EQ(ERROR_SUCCESS, machine.Create(HKEY_LOCAL_MACHINE, "Software\\M"));
    RegKey classes;
    ASSERT_EQ(ERROR_SUCCESS, classes.Create(HKEY_CLASSES_ROOT, "CLSID"));
    EXPECT_NE(std::string::npos, kvtest::ReadFile(HiveFile("HKLM.reg")).find("[HKEY_LOCAL_MACHINE\\Software\\M]"));
    EXPECT_NE(std::string::npos, kvtest::ReadFile(HiveFile("HKCR.reg")).find("[HKEY_CLASSES_ROOT\\CLSID]"));
    {
        kvtest::TempRoot other;
        RegKey key;
        EXPECT_EQ(ERROR_FILE_NOT_FOUND, key.Open(kUser, "Software\\Here"));
        ASSERT_EQ(ERROR_SUCCESS, key.Create(kUser, "Software\\There"));
    }
    RegKey key;
    EXPECT_EQ(ERROR_SUCCESS, key.Open(kUser, "Software\\Here"));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, key.Open(kUser, "Software\\There"));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, key.Open(HKEY_LOCAL_MACHINE, "Software\\Here"));
}

}  // namespace
