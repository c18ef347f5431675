#pragma once
// Drives the calling thread's message queue in tests: messages are taken
// and dispatched until a condition holds or the time is up, so that every
// wait in a test is bounded.

#include <functional>

namespace kvtest {

// True as soon as done() holds (checked after each message and on each
// wake); false when ms milliseconds passed first.
bool PumpUntil(const std::function<bool()>& done, int ms);
// Dispatches whatever arrives for ms milliseconds.
void PumpFor(int ms);

}  // namespace kvtest
