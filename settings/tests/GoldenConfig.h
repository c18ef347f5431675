#pragma once
// What each program holds once pointed at a relay on 127.0.0.1:9050, for
// each listener type, starting from the seeded user configuration.

#include <string>

#include "ConfigFixture.h"

namespace cfgtest {

// As ConfigTest::Dump gives it.
std::string Golden(Program program, int listenerType);

}  // namespace cfgtest
