#pragma once
// A filtration manager loaded from settings with every filter off; each
// case turns on what it tests. The filtration log starts at zero, and its
// eight counters read back in their order.

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <functional>
#include <string>

#include "filter/FilterSettings.h"
#include "relay/engine/CBaseServer.h"
#include "relay/filter/CFiltrationManager.h"
#include "relay/logs/ITextSink.h"
#include "settings/CSettings.h"
#include "support/TempRoot.h"

namespace filtertest {

// The log's counters, in member order.
enum Counter { Images, PopUps, Flash, Ads, Servers, StatusBars, ContextMenus, Cookies };
using Counters = std::array<int, 8>;

class FilterTest : public kvtest::RootedTest {
protected:
    FilterTest() { CBaseServer::m_FiltrationLog.ResetLog(); }

    static CFiltrationManager Manager(const Adjust& adjust) { return MakeManager(adjust); }
};

inline Counters ReadCounters() {
    struct Sink : ITextSink {
        void SetWindowText(const char* t) override { text = t; }
        std::string text;
    } sink;
    CBaseServer::m_FiltrationLog.AddToLog(sink);
    Counters counters{};
    std::size_t line = 0;
    for (std::size_t at = 0; line < counters.size() && at < sink.text.size(); ++line) {
        const std::size_t end = sink.text.find('\n', at);
        const std::size_t colon = sink.text.rfind(':', end);
        counters[line] = std::atoi(sink.text.c_str() + colon + 1);
        at = end + 1;
    }
    return counters;
}

inline Counters Only(Counter which, int n) {
    Counters counters{};
    counters[which] = n;
    return counters;
}

// A zero-terminated engine buffer holding text.
inline std::string Buffer(const std::string& text) { return text + '\0'; }

}  // namespace filtertest
