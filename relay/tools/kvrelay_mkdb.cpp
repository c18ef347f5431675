// Build tool: makes the seed pool database from the schema text.
//   kvrelay_mkdb <schema.sql> <output.db>
// The database is made under a temporary name beside the output and renamed
// over it only when complete, so a failed run never leaves a half-made file.

#include <sqlite3.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>

namespace fs = std::filesystem;

namespace {

int Fail(const std::string& what) {
    std::fprintf(stderr, "kvrelay_mkdb: %s\n", what.c_str());
    return 1;
}

bool ApplySchema(const fs::path& file, const std::string& schema, std::string& error) {
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) !=
        SQLITE_OK) {
        error = db ? sqlite3_errmsg(db) : "cannot open";
        sqlite3_close(db);
        return false;
    }
    char* message = nullptr;
    const bool ok = sqlite3_exec(db, schema.c_str(), nullptr, nullptr, &message) == SQLITE_OK;
    if (!ok) error = message ? message : sqlite3_errmsg(db);
    sqlite3_free(message);
    return sqlite3_close(db) == SQLITE_OK && ok;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) return Fail("usage: kvrelay_mkdb <schema.sql> <output.db>");
    std::ifstream in(argv[1], std::ios::binary);
    if (!in) return Fail(std::string("cannot read ") + argv[1]);
    const std::string schema{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};

    const fs::path output = argv[2];
    std::error_code ec;
    if (output.has_parent_path()) fs::create_directories(output.parent_path(), ec);
    const fs::path temporary = output.string() + ".tmp";
    fs::remove(temporary, ec);

    std::string error;
    if (!ApplySchema(temporary, schema, error)) {
        fs::remove(temporary, ec);
        return Fail(error);
    }
    fs::rename(temporary, output, ec);
    if (ec) {
        fs::remove(temporary, ec);
        return Fail("cannot rename into " + output.string());
    }
    return 0;
}
