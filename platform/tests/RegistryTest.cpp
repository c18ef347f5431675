#include "platform/Registry.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "RegistryFixture.h"

namespace {
using namespace platform;
using kvtest::RegistryTest;

struct StoredValue {
    const char* name;
    DWORD type;
    std::string bytes;
};

const StoredValue kEveryKind[] = {
    {"Number", REG_DWORD, std::string("\x1f\x00\x00\x00", 4)},
    {"Text", REG_SZ, std::string("hello\0", 6)},
    {"", REG_SZ, std::string("default\0", 8)},
    {"Empty text", REG_SZ, std::string("\0", 1)},
    {"Expand", REG_EXPAND_SZ, std::string("%TEMP%\\x\0", 9)},
    {"Blob", REG_BINARY, std::string("\x00\x01\xfe\xff", 4)},
    {"No bytes", REG_BINARY, std::string()},
    {"Multi", REG_MULTI_SZ, std::string("a\0bc\0\0", 6)},
    {"Unterminated", REG_SZ, std::string("abc")},
    {"Short dword", REG_DWORD, std::string("\x01\x02", 2)},
    {"None", REG_NONE, std::string("\x07", 1)},
};

void ExpectStored(const RegKey& key, const StoredValue& v) {
    DWORD type = 0xdead;
    DWORD size = 100;
    char data[100] = {};
    ASSERT_EQ(ERROR_SUCCESS, key.QueryValue(v.name, &type, data, &size)) << v.name;
    EXPECT_EQ(v.type, type) << v.name;
    EXPECT_EQ(std::string(data, size), v.bytes) << v.name;
}

TEST_F(RegistryTest, EveryKindOfValueKeepsTypeSizeAndBytesThroughTheFile) {
    RegKey key = Key("Software\\Kinds");
    for (const auto& v : kEveryKind) {
        ASSERT_EQ(ERROR_SUCCESS, key.SetValue(v.name, v.type, v.bytes.data(), static_cast<DWORD>(v.bytes.size())));
    }
    for (const auto& v : kEveryKind) ExpectStored(key, v);
    FromCopiedFiles([] {
        RegKey copy;
        ASSERT_EQ(ERROR_SUCCESS, copy.Open(HKEY_CURRENT_USER, "Software\\Kinds"));
        for (const auto& v : kEveryKind) ExpectStored(copy, v);
    });
}

TEST_F(RegistryTest, TypedSettersStoreWindowsLayoutAndTypedQueriesReadIt) {
    RegKey key = Key("Software\\Typed");
    ASSERT_EQ(ERROR_SUCCESS, key.SetDWORDValue("_PORT", 0x12345678));
    ASSERT_EQ(ERROR_SUCCESS, key.SetStringValue("_IP", "127.0.0.1"));
    ASSERT_EQ(ERROR_SUCCESS, key.SetStringValue("_PATH", "%APPDATA%\\x", REG_EXPAND_SZ));
    ASSERT_EQ(ERROR_SUCCESS, key.SetBinaryValue("_BLOB", "\x01\x00\x02", 3));
    EXPECT_EQ(ERROR_INVALID_PARAMETER, key.SetStringValue("_BAD", "x", REG_BINARY));

    ExpectStored(key, {"_PORT", REG_DWORD, "\x78\x56\x34\x12"});
    ExpectStored(key, {"_IP", REG_SZ, std::string("127.0.0.1\0", 10)});
    ExpectStored(key, {"_PATH", REG_EXPAND_SZ, std::string("%APPDATA%\\x\0", 12)});
    ExpectStored(key, {"_BLOB", REG_BINARY, std::string("\x01\x00\x02", 3)});

    DWORD number = 0;
    EXPECT_EQ(ERROR_SUCCESS, key.QueryDWORDValue("_port", number));
    EXPECT_EQ(0x12345678u, number);
    std::string text;
    EXPECT_EQ(ERROR_SUCCESS, key.QueryStringValue("_IP", text));
    EXPECT_EQ("127.0.0.1", text);
    EXPECT_EQ(ERROR_SUCCESS, key.QueryStringValue("_PATH", text));
    EXPECT_EQ("%APPDATA%\\x", text);
    std::vector<BYTE> blob;
    EXPECT_EQ(ERROR_SUCCESS, key.QueryBinaryValue("_BLOB", blob));
    EXPECT_EQ(Bytes(std::string_view("\x01\x00\x02", 3)), blob);
}

TEST_F(RegistryTest, ShortBufferGivesMoreDataWithTheSizeNeeded) {
    RegKey key = Key("Software\\Short");
    ASSERT_EQ(ERROR_SUCCESS, key.SetStringValue("Name", "hello"));
    ASSERT_EQ(ERROR_SUCCESS, key.SetBinaryValue("Blob", "12345678", 8));

    char buf[16] = {};
    DWORD type = 0;
    DWORD size = 5;
    EXPECT_EQ(ERROR_MORE_DATA, key.QueryValue("Name", &type, buf, &size));
    EXPECT_EQ(6u, size);
    EXPECT_EQ(REG_SZ, type);
    size = 0;
    EXPECT_EQ(ERROR_SUCCESS, key.QueryValue("Blob", nullptr, nullptr, &size));
    EXPECT_EQ(8u, size);
    size = 7;
    EXPECT_EQ(ERROR_MORE_DATA, key.QueryValue("Blob", nullptr, buf, &size));
    EXPECT_EQ(8u, size);
    EXPECT_EQ(ERROR_INVALID_PARAMETER, key.QueryValue("Blob", nullptr, buf, nullptr));

    DWORD chars = 5;
    EXPECT_EQ(ERROR_MORE_DATA, key.QueryStringValue("Name", buf, &chars));
    EXPECT_EQ(6u, chars);
    chars = 0;
    EXPECT_EQ(ERROR_SUCCESS, key.QueryStringValue("Name", nullptr, &chars));
    EXPECT_EQ(6u, chars);
    chars = 6;
    EXPECT_EQ(ERROR_SUCCESS, key.QueryStringValue("Name", buf, &chars));
    EXPECT_STREQ("hello", buf);
    EXPECT_EQ(6u, chars);
}

TEST_F(RegistryTest, TypedQueriesAnswerMissingAndWrongTypes) {
    RegKey key = Key("Software\\Types");
    ASSERT_EQ(ERROR_SUCCESS, key.SetDWORDValue("dword", 1));
    ASSERT_EQ(ERROR_SUCCESS, key.SetStringValue("text", "x"));
    ASSERT_EQ(ERROR_SUCCESS, key.SetBinaryValue("blob", "x", 1));
    ASSERT_EQ(ERROR_SUCCESS, key.SetValue("unterminated", REG_SZ, "abc", 3));
    ASSERT_EQ(ERROR_SUCCESS, key.SetValue("short dword", REG_DWORD, "ab", 2));

    DWORD number = 0;
    std::string text;
    std::vector<BYTE> blob;
    char buf[8] = {'?'};
    DWORD chars = sizeof buf;
    const struct {
        const char* what;
        std::function<LONG()> query;
        LONG expected;
    } cases[] = {
        {"dword of text", [&] { return key.QueryDWORDValue("text", number); }, ERROR_INVALID_DATA},
        {"dword of 2 bytes", [&] { return key.QueryDWORDValue("short dword", number); }, ERROR_INVALID_DATA},
        {"missing dword", [&] { return key.QueryDWORDValue("nothing", number); }, ERROR_FILE_NOT_FOUND},
        {"text of dword", [&] { return key.QueryStringValue("dword", text); }, ERROR_INVALID_DATA},
        {"text of blob", [&] { return key.QueryStringValue("blob", buf, &chars); }, ERROR_INVALID_DATA},
        {"missing text", [&] { return key.QueryStringValue("nothing", text); }, ERROR_FILE_NOT_FOUND},
        {"text without zero", [&] { return key.QueryStringValue("unterminated", buf, &chars); },
         ERROR_INVALID_DATA},
        {"blob of text", [&] { return key.QueryBinaryValue("text", blob); }, ERROR_INVALID_DATA},
        {"missing blob", [&] { return key.QueryBinaryValue("nothing", blob); }, ERROR_FILE_NOT_FOUND},
        {"missing raw", [&] { return key.QueryValue("nothing", nullptr, nullptr, nullptr); },
         ERROR_FILE_NOT_FOUND},
        {"delete missing", [&] { return key.DeleteValue("nothing"); }, ERROR_FILE_NOT_FOUND},
    };
    for (const auto& c : cases) {
        chars = sizeof buf;
        EXPECT_EQ(c.expected, c.query()) << c.what;
    }
    // A text without its zero never reaches the caller as a C string.
    EXPECT_EQ('\0', buf[0]);
}

TEST_F(RegistryTest, NamesMatchWithoutCaseAndKeepTheirFirstSpelling) {
    RegKey first = Key("Software\\MixedCase");
    ASSERT_EQ(ERROR_SUCCESS, first.SetDWORDValue("Value", 1));

    RegKey again;
    ASSERT_EQ(ERROR_SUCCESS, again.Open(kUser, "SOFTWARE\\mixedcase"));
    ASSERT_EQ(ERROR_SUCCESS, again.SetDWORDValue("VALUE", 2));
    ASSERT_EQ(ERROR_SUCCESS, again.Create(kUser, "software\\MIXEDCASE\\Sub"));

    DWORD subKeys = 0;
    DWORD values = 0;
    ASSERT_EQ(ERROR_SUCCESS, first.QueryInfoKey(&subKeys, &values));
    EXPECT_EQ(1u, subKeys);
    EXPECT_EQ(1u, values);
    std::string name;
    ASSERT_EQ(ERROR_SUCCESS, RegKey::Root(kUser).EnumKey(0, name));
    EXPECT_EQ("Software", name);
    ASSERT_EQ(ERROR_SUCCESS, first.EnumValue(0, name));
    EXPECT_EQ("Value", name);
    DWORD number = 0;
    ASSERT_EQ(ERROR_SUCCESS, first.QueryDWORDValue("vALUE", number));
    EXPECT_EQ(2u, number);
    // Only ASCII letters fold.
    ASSERT_EQ(ERROR_SUCCESS, first.SetDWORDValue("\xc3\x84", 3));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, first.QueryDWORDValue("\xc3\xa4", number));
}

TEST_F(RegistryTest, PathsTolerateOuterAndDoubledSeparators) {
    RegKey key;
    ASSERT_EQ(ERROR_SUCCESS, key.Create(kUser, "\\Software\\\\Kavelin Ver 2.0\\General\\"));
    EXPECT_EQ("Software\\Kavelin Ver 2.0\\General", key.path());
    RegKey same;
    ASSERT_EQ(ERROR_SUCCESS, same.Open(kUser, "Software\\Kavelin Ver 2.0\\General"));
    RegKey parent;
    ASSERT_EQ(ERROR_SUCCESS, parent.Open(kUser, "Software"));
    ASSERT_EQ(ERROR_SUCCESS, same.Open(parent, ""));
    EXPECT_EQ("Software", same.path());
    ASSERT_EQ(ERROR_SUCCESS, same.Open(parent, "kavelin ver 2.0\\general"));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, same.Open(parent, "Missing\\Deeper"));
    EXPECT_EQ("Software\\kavelin ver 2.0\\general", same.path()) << "a failed open leaves the key as it was";
    EXPECT_EQ(ERROR_INVALID_PARAMETER, key.Create(kUser, "Software\\Line\nBreak"));
    EXPECT_EQ(ERROR_INVALID_PARAMETER, key.Create(kUser, std::string(256, 'k')));
}

TEST_F(RegistryTest, DeletingKeysNeedsRecursionForSubkeysAndStalesOpenHandles) {
    RegKey tree = Key("Software\\Tree\\Branch\\Leaf");
    RegKey software = Key("Software");
    ASSERT_EQ(ERROR_SUCCESS, tree.SetDWORDValue("x", 1));

    EXPECT_EQ(ERROR_ACCESS_DENIED, software.DeleteSubKey("Tree"));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, software.DeleteSubKey("Nothing"));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, software.RecurseDeleteKey("Nothing"));
    EXPECT_EQ(ERROR_ACCESS_DENIED, RegKey::Root(kUser).DeleteSubKey(""));
    EXPECT_EQ(ERROR_SUCCESS, software.DeleteSubKey("Tree\\Branch\\Leaf"));
    EXPECT_EQ(ERROR_KEY_DELETED, tree.SetDWORDValue("x", 2));

    tree = Key("Software\\Tree\\Branch\\Leaf");
    ASSERT_EQ(ERROR_SUCCESS, software.RecurseDeleteKey("TREE"));
    RegKey gone;
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, gone.Open(kUser, "Software\\Tree"));
    DWORD number = 0;
    std::string name;
    const struct {
        const char* what;
        std::function<LONG()> call;
    } stale[] = {
        {"query", [&] { return tree.QueryDWORDValue("x", number); }},
        {"set", [&] { return tree.SetDWORDValue("x", 1); }},
        {"enum", [&] { return tree.EnumKey(0, name); }},
        {"info", [&] { return tree.QueryInfoKey(nullptr, nullptr); }},
        {"create below", [&] { return RegKey().Create(tree, "New"); }},
        {"delete below", [&] { return tree.DeleteSubKey("New"); }},
    };
    for (const auto& s : stale) EXPECT_EQ(ERROR_KEY_DELETED, s.call()) << s.what;
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, gone.Open(kUser, "Software\\Tree")) << "nothing was recreated";
    EXPECT_EQ(ERROR_SUCCESS, tree.Close());
}

TEST_F(RegistryTest, EnumeratesSubkeysAndValuesInStoredOrder) {
    RegKey key = Key("Software\\Order");
    for (const char* sub : {"b", "a", "c"}) Key(std::string("Software\\Order\\") + sub);
    ASSERT_EQ(ERROR_SUCCESS, key.SetStringValue("zeta", "1"));
    ASSERT_EQ(ERROR_SUCCESS, key.SetDWORDValue("alpha", 2));
    ASSERT_EQ(ERROR_SUCCESS, key.SetBinaryValue("mid", "", 0));
    ASSERT_EQ(ERROR_SUCCESS, key.SetDWORDValue("ZETA", 3)) << "rewriting keeps the place";
    ASSERT_EQ(ERROR_SUCCESS, key.DeleteSubKey("a"));

    const auto check = [] {
        RegKey key;
        ASSERT_EQ(ERROR_SUCCESS, key.Open(HKEY_CURRENT_USER, "Software\\Order"));
        std::vector<std::string> subs;
        std::string name;
        DWORD i = 0;
        for (; key.EnumKey(i, name) == ERROR_SUCCESS; ++i) subs.push_back(name);
        EXPECT_EQ(ERROR_NO_MORE_ITEMS, key.EnumKey(i, name));
        EXPECT_EQ((std::vector<std::string>{"b", "c"}), subs);

        std::vector<std::pair<std::string, DWORD>> values;
        DWORD type = 0;
        for (i = 0; key.EnumValue(i, name, &type) == ERROR_SUCCESS; ++i) values.emplace_back(name, type);
        EXPECT_EQ(ERROR_NO_MORE_ITEMS, key.EnumValue(i, name));
        EXPECT_EQ((std::vector<std::pair<std::string, DWORD>>{{"zeta", REG_DWORD}, {"alpha", REG_DWORD},
                                                               {"mid", REG_BINARY}}),
                  values);
        DWORD subKeys = 0;
        DWORD valueCount = 0;
        EXPECT_EQ(ERROR_SUCCESS, key.QueryInfoKey(&subKeys, &valueCount));
        EXPECT_EQ(2u, subKeys);
        EXPECT_EQ(3u, valueCount);
    };
    check();
    FromCopiedFiles(check);
}

// Values are found by name through an index; deleting some, in any place,
// leaves every other one found (without case) and in its stored place.
TEST_F(RegistryTest, ValuesStayFoundAndOrderedWhenOthersAreDeleted) {
    RegKey key = Key("Software\\Many");
    for (int n = 0; n < 50; ++n) ASSERT_EQ(ERROR_SUCCESS, key.SetDWORDValue("v" + std::to_string(n), n));
    for (const int n : {0, 17, 18, 49, 25}) ASSERT_EQ(ERROR_SUCCESS, key.DeleteValue("V" + std::to_string(n)));
    ASSERT_EQ(ERROR_SUCCESS, key.SetDWORDValue("V17", 117));
    const auto check = [] {
        RegKey key;
        ASSERT_EQ(ERROR_SUCCESS, key.Open(HKEY_CURRENT_USER, "Software\\Many"));
        std::vector<std::string> expected;
        for (int n = 1; n < 49; ++n)
            if (n != 17 && n != 18 && n != 25) expected.push_back("v" + std::to_string(n));
        expected.push_back("V17");
        std::vector<std::string> names;
        std::string name;
        for (DWORD i = 0; key.EnumValue(i, name) == ERROR_SUCCESS; ++i) names.push_back(name);
        EXPECT_EQ(expected, names);
        for (const std::string& stored : expected) {
            DWORD value = 0;
            std::string upper = stored;
            upper[0] = 'V';
            EXPECT_EQ(ERROR_SUCCESS, key.QueryDWORDValue(upper, value)) << stored;
            EXPECT_EQ(stored == "V17" ? 117u : static_cast<DWORD>(std::stoi(stored.substr(1))), value);
        }
        DWORD value = 0;
        for (const char* gone : {"v0", "v18", "v25", "v49"})
            EXPECT_EQ(ERROR_FILE_NOT_FOUND, key.QueryDWORDValue(gone, value)) << gone;
    };
    check();
    FromCopiedFiles(check);
}

TEST_F(RegistryTest, ClosedKeyFailsWithInvalidHandle) {
    RegKey closed = Key("Software\\Closed");
    ASSERT_EQ(ERROR_SUCCESS, closed.Close());
    RegKey never;
    for (RegKey* key : {&closed, &never}) {
        EXPECT_FALSE(key->IsOpen());
        DWORD number = 0;
        std::string text;
        std::vector<BYTE> bytes;
        char buf[4];
        DWORD chars = sizeof buf;
        const std::function<LONG()> calls[] = {
            [&] { return key->QueryValue("x", nullptr, nullptr, nullptr); },
            [&] { return key->SetValue("x", REG_BINARY, "", 0); },
            [&] { return key->QueryDWORDValue("x", number); },
            [&] { return key->SetDWORDValue("x", 1); },
            [&] { return key->QueryStringValue("x", buf, &chars); },
            [&] { return key->QueryStringValue("x", text); },
            [&] { return key->SetStringValue("x", "y"); },
            [&] { return key->QueryBinaryValue("x", bytes); },
            [&] { return key->DeleteValue("x"); },
            [&] { return key->DeleteSubKey("x"); },
            [&] { return key->RecurseDeleteKey("x"); },
            [&] { return key->EnumKey(0, text); },
            [&] { return key->EnumValue(0, text); },
            [&] { return key->QueryInfoKey(nullptr, nullptr); },
            [&] { return key->GetKeySecurity(bytes); },
            [&] { return key->SetKeySecurity(bytes); },
            [&] { return RegKey().Create(*key, "x"); },
            [&] { return RegKey().Open(*key, ""); },
            [&] { return key->Close(); },
        };
        for (std::size_t i = 0; i < std::size(calls); ++i) EXPECT_EQ(ERROR_INVALID_HANDLE, calls[i]()) << i;
    }
    RegKey exists;
    EXPECT_EQ(ERROR_SUCCESS, exists.Open(kUser, "Software\\Closed")) << "closing left the key in place";
}

TEST_F(RegistryTest, SecurityDescriptorPersistsOutsideTheValues) {
    RegKey key = Key("Software\\Secured");
    std::vector<BYTE> descriptor;
    ASSERT_EQ(ERROR_SUCCESS, key.GetKeySecurity(descriptor));
    EXPECT_TRUE(descriptor.empty());
    const std::vector<BYTE> sd = {0x01, 0x00, 0x04, 0x80, 0x14, 0x00, 0x00, 0x00};
    ASSERT_EQ(ERROR_SUCCESS, key.SetKeySecurity(sd));
    ASSERT_EQ(ERROR_SUCCESS, key.SetDWORDValue("only", 1));
    FromCopiedFiles([&] {
        RegKey copy;
        ASSERT_EQ(ERROR_SUCCESS, copy.Open(HKEY_CURRENT_USER, "software\\secured"));
        std::vector<BYTE> read;
        ASSERT_EQ(ERROR_SUCCESS, copy.GetKeySecurity(read));
        EXPECT_EQ(sd, read);
        DWORD values = 0;
        ASSERT_EQ(ERROR_SUCCESS, copy.QueryInfoKey(nullptr, &values));
        EXPECT_EQ(1u, values);
    });
    ASSERT_EQ(ERROR_SUCCESS, key.SetKeySecurity({}));
    ASSERT_EQ(ERROR_SUCCESS, key.GetKeySecurity(descriptor));
    EXPECT_TRUE(descriptor.empty());
}

}  // namespace
