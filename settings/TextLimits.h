#pragma once
// The buffers the settings texts are read back with, terminating zero
// included: a text of this many bytes or more cannot be read back whole, so
// it is never stored (CSettings::SetRegistry refuses the whole save).

#include "platform/Types.h"

namespace textlimits {

// _USER_IP, _LISTENER_IP, _STARTING_IP, _FIRE_WALL_IP and the Kazaa server
// address and user name.
inline constexpr platform::DWORD kAddress = 20;
// The Kazaa server password.
inline constexpr platform::DWORD kPassword = 50;
// The replacement page title.
inline constexpr platform::DWORD kTitle = 259;
// The hunter's start URL, local page and own list page.
inline constexpr platform::DWORD kHunterUrl = 256;
// Each entry of a server list.
inline constexpr platform::DWORD kListEntry = 500;

}  // namespace textlimits
