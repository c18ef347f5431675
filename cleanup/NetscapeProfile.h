#pragma once
// Where the Netscape/Mozilla profile lives: the first folder inside
// <application data>/Mozilla/profiles/default, whatever its random name.

#include <string>

namespace cleanup {

// The profile folder without a trailing separator; empty when the
// application-data folder or any profile folder is missing. A link is
// never taken for a profile folder.
std::string GetNetscapePath();

}  // namespace cleanup
