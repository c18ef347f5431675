#pragma once
// The program log: notices about a user's files that someone has to see (a
// damaged hive kept aside, settings that could not be stored). Each notice
// goes to stderr and is appended, with its time and the program's id, to
// <program folder>/Kavelin.log below the per-user root.

#include <string_view>

namespace platform {

void LogNotice(std::string_view text);

}  // namespace platform
