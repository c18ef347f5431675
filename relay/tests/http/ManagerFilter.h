#pragma once
// The engine's response filter behind a response stream, as an HTTP
// connection has it (its own filter state), and a sink that collects what
// the stream gives the client.

#include <string>
#include <string_view>

#include "relay/filter/CFiltrationManager.h"
#include "relay/http/CHttpResponseStream.h"

namespace httptest {

class ManagerFilter : public IResponseFilter {
public:
    explicit ManagerFilter(CFiltrationManager& manager) : manager_(manager) {}
    bool StartBody(std::string_view head) override { return manager_.FilterResponseHead(head, state_); }
    std::size_t FilterBody(char* text, std::size_t size, bool last) override {
        int length = static_cast<int>(size);
        manager_.FilterResponse(text, length, state_, last);
        return static_cast<std::size_t>(length);
    }

private:
    CFiltrationManager& manager_;
    CScriptFilterState state_;
};

struct CollectingSink : IByteSink {
    void Emit(std::string_view bytes) override { out += bytes; }
    std::string out;
};

}  // namespace httptest
