#include "platform/DebugOutput.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace platform {

namespace {

std::atomic<bool>& Switch() {
    static std::atomic<bool> on{[] {
        const char* value = std::getenv("KAVELIN_DEBUG_OUTPUT");
        return value && std::strcmp(value, "1") == 0;
    }()};
    return on;
}

}  // namespace

void OutputDebugString(const char* text) {
    if (!text || !DebugOutputEnabled()) return;
    std::fputs(text, stderr);
}

bool DebugOutputEnabled() { return Switch().load(std::memory_order_relaxed); }

void SetDebugOutput(bool on) { Switch().store(on); }

}  // namespace platform
