#pragma once
// Every change the platform makes durable for a user (a hive saved, a file
// replaced or removed, the desktop proxy setting applied) passes here once it
// is complete. Crash tests use it: a child started with
// KAVELIN_KILL_AFTER_WRITES=N in its environment is killed (SIGKILL) right
// after its Nth such change, so every point between two writes can be
// crashed at in turn, without depending on timing.

namespace platform {

void AfterDurableWrite();

}  // namespace platform
