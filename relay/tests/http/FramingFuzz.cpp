// A seeded random driver over HTTP framing and the response filter: random
// request and response streams (lengths, chunks, codings, types, interim
// answers, bodies full of filter markers, plain garbage) cut at random
// points. It checks that the framing does not depend on where the reads
// end, that what is not filtered passes byte for byte, and that a filtered
// body reaches the client validly framed and filtered as a whole. Run
// short by ctest (in the sanitizer build too); longer by hand:
//
//   relay_framing_fuzz --seed 7 --runs 100000

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include <unistd.h>

#include "filter/FilterSettings.h"
#include "http/HttpTestBytes.h"
#include "http/ManagerFilter.h"
#include "relay/filter/CFiltrationManager.h"
#include "relay/http/CHttpResponseStream.h"
#include "relay/http/CRequestFramer.h"
#include "settings/CSettings.h"

namespace {

using Random = std::mt19937_64;

std::size_t Pick(Random& random, std::size_t below) { return below ? random() % below : 0; }
bool Chance(Random& random, int percent) { return static_cast<int>(random() % 100) < percent; }

// What a failing run worked on, escaped and cut, for the report.
void Show(const char* label, std::string_view bytes) {
    std::string shown;
    for (char c : bytes.substr(0, 3000)) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '\r') {
            shown += "\\r";
        } else if (c == '\n') {
            shown += "\\n\n";
        } else if (u < 32 || u >= 127) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02x", u);
            shown += hex;
        } else {
            shown += c;
        }
    }
    std::fprintf(stderr, "--- %s (%zu bytes)\n%s\n", label, bytes.size(), shown.c_str());
}

// Failure report: what and where, then the run stops.
[[noreturn]] void Fail(const std::string& what, std::uint64_t seed, int run) {
    std::fprintf(stderr, "FAILED: %s (seed %llu, run %d)\n", what.c_str(), static_cast<unsigned long long>(seed), run);
    std::exit(1);
}

const char* const kFragments[] = {
    "<script>", "</script>", "<SCRIPT type=x>", "</scr", "ipt>", "<title>", "</title>", "<title", ">T<", "window.open(",
    "window.", "open", "window.status=1;", "window.onunload=f", ";", "document.oncontextmenu=", "window.setTimeout(",
    "text ", "<p>", "\r\n", "\n", "0\r\n\r\n", "HTTP/1.1 200 OK\r\n", "Content-Length: 5\r\n", "Host: x\r\n", "é",
};

std::string Body(Random& random, std::size_t pieces, bool binary) {
    std::string body;
    for (std::size_t i = 0; i < pieces; ++i) {
        if (binary && Chance(random, 30)) {
            body += static_cast<char>(random());
        } else {
            body += kFragments[Pick(random, std::size(kFragments))];
        }
    }
    return body;
}

std::vector<std::size_t> Splits(Random& random, std::size_t size) {
    std::vector<std::size_t> at;
    const std::size_t n = Pick(random, 8);
    for (std::size_t i = 0; i < n; ++i) at.push_back(Pick(random, size + 1));
    if (Chance(random, 10)) {
        for (std::size_t i = 1; i < size && i < 200; ++i) at.push_back(i);  // byte by byte at the start
    }
    std::sort(at.begin(), at.end());
    return at;
}

// --- requests --------------------------------------------------------------

std::string Framed(std::string_view bytes, const std::vector<std::size_t>& at) {
    CRequestFramer framer;
    std::string events;
    for (std::string_view piece : httptest::CutAt(bytes, at)) {
        for (int guard = 0; guard < 1000000; ++guard) {
            const CRequestFramer::Step step = framer.Next(piece);
            if (step.kind == CRequestFramer::eStep::NeedMore) break;
            // Body bytes are joined: only where they end counts.
            if (step.kind != CRequestFramer::eStep::Body) events += "|" + std::to_string(static_cast<int>(step.kind)) + "|";
            events += step.bytes;
            if (step.kind == CRequestFramer::eStep::Failed) return events;
        }
        if (!piece.empty()) return events + "|left bytes|";
    }
    return events;
}

std::string RandomRequests(Random& random) {
    std::string stream;
    const std::size_t n = 1 + Pick(random, 5);
    for (std::size_t i = 0; i < n; ++i) {
        if (Chance(random, 10)) stream += "\r\n";
        const bool bare = Chance(random, 20);
        const char* end = bare ? "\n" : "\r\n";
        std::string body = Body(random, Pick(random, 40), true);
        std::string head = std::string(Chance(random, 50) ? "POST" : "GET") + " http://a/x HTTP/1.1" + end + "Host: a" + end;
        const int framing = static_cast<int>(Pick(random, 4));
        if (framing == 0) {
            body.clear();
        } else if (framing == 1) {
            head += "Content-Length: " + std::to_string(body.size()) + end;
        } else {
            head += std::string("Transfer-Encoding: chunked") + end;
            body = httptest::Chunked(body, {1 + Pick(random, 9), 1 + Pick(random, 30)}, Chance(random, 30) ? "X-T: 1\r\n" : "");
        }
        stream += head + end + body;
    }
    if (Chance(random, 20)) stream += "CONNECT a:443 HTTP/1.1\r\n\r\n" + Body(random, 20, true);
    if (Chance(random, 10)) stream += Body(random, 30, true);  // garbage after the last request
    return stream;
}

// --- responses -------------------------------------------------------------

struct Relayed {
    std::string out;
    bool open = true;
};

Relayed Relay(CFiltrationManager& manager, const std::vector<std::string>& requests, std::string_view bytes,
              const std::vector<std::size_t>& at) {
    httptest::ManagerFilter filter(manager);
    CHttpResponseStream stream(filter);
    for (const std::string& r : requests) stream.ExpectResponse(r);
    httptest::CollectingSink sink;
    Relayed relayed;
    for (std::string_view piece : httptest::CutAt(bytes, at)) {
        if (relayed.open) relayed.open = stream.Feed(piece, sink);
    }
    if (relayed.open) stream.End(sink);
    relayed.out = sink.out;
    return relayed;
}

struct Planned {
    std::string bytes;
    std::vector<std::string> requests;
    std::vector<bool> answersHead;
    std::vector<std::string> bodies;   // the decoded body of each final answer
    std::vector<bool> filterable;      // a page the filter takes
};

std::string Coded(Random& random, const std::string& body, std::string& head) {
    switch (Pick(random, 4)) {
    case 1:
        head += "Content-Encoding: gzip\r\n";
        return httptest::Gzip(body);
    case 2:
        head += "Content-Encoding: deflate\r\n";
        return httptest::Deflate(body, Chance(random, 50));
    default:
        return body;
    }
}

Planned RandomResponses(Random& random) {
    Planned p;
    const std::size_t n = 1 + Pick(random, 4);
    for (std::size_t i = 0; i < n; ++i) {
        const bool last = i + 1 == n;
        const bool head = Chance(random, 10);
        const bool http10 = Chance(random, 15);
        p.requests.push_back(std::string(head ? "HEAD" : "GET") + " / HTTP/1." + (http10 ? "0" : "1") + "\r\nHost: a\r\n\r\n");
        p.answersHead.push_back(head);
        if (Chance(random, 10)) p.bytes += "HTTP/1.1 100 Continue\r\n\r\n";
        const int kind = static_cast<int>(Pick(random, 10));
        const char* type = kind < 5 ? "text/html" : kind < 7 ? "application/javascript" : kind < 9 ? "image/png" : nullptr;
        std::string h = "HTTP/1.1 200 OK\r\n";
        if (type) h += std::string("Content-Type: ") + type + "\r\n";
        const std::string body = Body(random, Pick(random, 120), kind >= 7);
        std::string coded = Coded(random, body, h);
        const bool noBody = head || Chance(random, 5);
        if (noBody && !head) h = "HTTP/1.1 304 Not Modified\r\n" + h.substr(h.find("\r\n") + 2);
        const int framing = last ? static_cast<int>(Pick(random, 3)) : static_cast<int>(Pick(random, 2));
        if (framing == 0) {
            h += "Content-Length: " + std::to_string(coded.size()) + "\r\n";
        } else if (framing == 1) {
            h += "Transfer-Encoding: chunked\r\n";
            coded = httptest::Chunked(coded, {1 + Pick(random, 40), 1 + Pick(random, 400)});
        }
        p.bytes += h + "\r\n";
        if (!noBody) p.bytes += coded;
        p.bodies.push_back(noBody ? std::string() : body);
        // Filtered pages and scripts lose their coding: a 1.0 client's
        // connection then ends with the body.
        p.filterable.push_back(type && std::string(type) != "image/png" && !noBody);
        if (http10 && p.filterable.back() && coded != body && framing != 2) break;
    }
    return p;
}

}  // namespace

int main(int argc, char** argv) {
    std::uint64_t seed = 1;
    int runs = 1000;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string flag = argv[i];
        if (flag == "--seed") seed = std::strtoull(argv[i + 1], nullptr, 10);
        if (flag == "--runs") runs = std::atoi(argv[i + 1]);
    }
    // The engine's singletons may look for the per-user root: give them a
    // private one.
    const std::filesystem::path root = std::filesystem::temp_directory_path() / ("kv-fuzz-" + std::to_string(::getpid()));
    std::filesystem::create_directories(root);
    setenv("KAVELIN_ROOT", root.c_str(), 1);

    CFiltrationManager filtering =
        filtertest::MakeManager([](CFiltrationSettings& f) { filtertest::EveryResponseFilter(f, "Title!"); });
    CFiltrationManager passing = filtertest::MakeManager(nullptr);
    Random random(seed);
    for (int run = 0; run < runs; ++run) {
        // Requests: the same messages wherever the reads end.
        const std::string requests = RandomRequests(random);
        if (Framed(requests, Splits(random, requests.size())) != Framed(requests, {})) Fail("request framing", seed, run);
        const std::string garbage = Body(random, Pick(random, 200), true);
        Framed(garbage, Splits(random, garbage.size()));

        // Responses.
        const Planned plan = RandomResponses(random);
        const std::vector<std::size_t> at = Splits(random, plan.bytes.size());
        if (Relay(passing, plan.requests, plan.bytes, at).out != plan.bytes) Fail("unfiltered bytes changed", seed, run);
        const Relayed whole = Relay(filtering, plan.requests, plan.bytes, {});
        const Relayed split = Relay(filtering, plan.requests, plan.bytes, at);
        const std::vector<httptest::ReadResponse> read = httptest::ReadResponses(split.out, plan.answersHead);
        const std::vector<httptest::ReadResponse> readWhole = httptest::ReadResponses(whole.out, plan.answersHead);
        // Only the cut of re-made chunks may follow the reads.
        bool same = read.size() == readWhole.size() && split.open == whole.open;
        for (std::size_t i = 0; same && i < read.size(); ++i) {
            same = read[i].head == readWhole[i].head && read[i].body == readWhole[i].body &&
                   read[i].trailer == readWhole[i].trailer;
        }
        const auto fail = [&](const std::string& what) {
            Show("input", plan.bytes);
            std::string cuts;
            for (std::size_t a : at) cuts += std::to_string(a) + " ";
            Show("cut at", cuts);
            Show("whole", whole.out);
            Show("split", split.out);
            Fail(what, seed, run);
        };
        if (!same) fail("filtered output depends on the reads");
        std::size_t final = 0;
        for (const httptest::ReadResponse& r : read) {
            if (!r.whole) fail("response " + std::to_string(final) + " is not whole");
            if (r.head.rfind("HTTP/1.1 100", 0) == 0) continue;
            if (final >= plan.bodies.size()) fail("more responses than sent");
            std::string expected = plan.bodies[final];
            if (plan.filterable[final]) {
                const bool page = r.head.find("text/html") != std::string::npos;
                expected = filtertest::FilterWhole(filtering, expected, page ? "text/html" : "text/javascript");
            }
            if (r.body != expected) fail("a body arrived other than filtered whole");
            ++final;
        }
        if (final != plan.bodies.size()) fail("responses lost");
        const std::string noise = Body(random, Pick(random, 300), true);
        Relay(filtering, {}, noise, Splits(random, noise.size()));
    }
    std::filesystem::remove_all(root);
    std::printf("%d runs passed (seed %llu)\n", runs, static_cast<unsigned long long>(seed));
    return 0;
}
