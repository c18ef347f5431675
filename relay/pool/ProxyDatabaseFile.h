#pragma once
// Where the pool's database lives: the per-user program folder holds the
// writable copy, made on first use from the seed installed beside the
// engine library.

#include <filesystem>

// <program folder>/dbase/proxypool.db
std::filesystem::path ProxyDatabasePath();
// <folder of the engine library>/dbase/proxypool.db
std::filesystem::path SeedDatabasePath();
// Copies the seed into place when the user has no database yet and makes an
// existing one writable; returns ProxyDatabasePath() whatever happened (a
// missing file then fails to open).
std::filesystem::path PrepareProxyDatabase();
