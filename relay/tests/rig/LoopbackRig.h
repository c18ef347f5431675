#pragma once
// Real peers on loopback for the relay's network tests. A rig owns a
// temporary folder for the peers' configuration files and logs; each Start
// picks a free 127.0.0.1 port, writes the configuration, starts the program
// and waits (bounded) until it listens there, or throws std::runtime_error
// with the program's log. Everything started is killed, with its whole
// process group, when the rig goes (also on a failed assertion or a throw).
//
//   kvtest::LoopbackRig rig;
//   const kvtest::Origin& origin = rig.StartOrigin({{"page.bin", 5000}});
//   const kvtest::Peer& socks = rig.StartDante();
//   kvtest::CurlResult got = rig.Curl({"--socks4", socks.Address(), origin.Url("page.bin")});
//   EXPECT_EQ(got.body, origin.Content("page.bin"));

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "rig/Origin.h"
#include "rig/Peer.h"

namespace kvtest {

struct TinyproxyOptions {
    // Ports CONNECT may reach; empty allows every port. Others get
    // "HTTP/1.1 403 Access violation".
    std::vector<std::uint16_t> connectPorts;
};

struct CurlResult {
    int exitCode = -1;  // -1 when curl did not end within its limit
    std::string body;   // what curl wrote to its output file
    std::string log;    // its error messages
};

struct BrowserResult {
    int exitCode = -1;   // -1 when the browser did not end within its limit
    std::string output;  // the page's DOM and the browser's messages
};

class LoopbackRig {
public:
    // The headless browser Browse runs (Debian's package chromium).
    static constexpr const char* kBrowserProgram = "chromium";

    static constexpr std::chrono::seconds kListenLimit{10};

    LoopbackRig();
    ~LoopbackRig();
    LoopbackRig(const LoopbackRig&) = delete;
    LoopbackRig& operator=(const LoopbackRig&) = delete;

    const std::filesystem::path& folder() const { return folder_; }

    // HTTP proxy: plain requests and CONNECT (run in the foreground, -d -c).
    const Peer& StartTinyproxy(const TinyproxyOptions& options = {});
    // SOCKS4 and SOCKS5 without authentication (danted -f); it connects out
    // from 127.0.0.1 and only to 127.0.0.0/8. A refused destination gets
    // SOCKS4 0x5B or SOCKS5 status 05.
    const Peer& StartDante();
    // SOCKS5 only (microsocks -i 127.0.0.1 -p N); answers SOCKS4 with 05 FF.
    const Peer& StartMicrosocks();
    // ncat as an HTTP proxy (plain and CONNECT). ncat's proxy mode binds the
    // wildcard address whatever address it is given, so it is started with
    // -4 and --allow 127.0.0.0/8: it serves loopback clients only.
    const Peer& StartNcatHttp();
    // python3 http.server on 127.0.0.1 serving the given generated files.
    const Origin& StartOrigin(const std::vector<OriginFile>& files);

    // Runs curl with args (proxy options and a URL) plus -q -sS, a time
    // limit and an output file; waits for it, bounded by limit.
    CurlResult Curl(const std::vector<std::string>& args,
                    std::chrono::seconds limit = std::chrono::seconds(20));

    // Whether the browser is installed here.
    static bool HasBrowser();
    // Loads url in a headless browser with a fresh profile through the
    // SOCKS5 proxy at socks5Proxy ("127.0.0.1:N"), loopback addresses
    // included, and prints the page's DOM; waits for it, bounded by limit.
    BrowserResult Browse(const std::string& url, const std::string& socks5Proxy,
                         std::chrono::seconds limit = std::chrono::seconds(60));

    // Process groups of every peer started, for checks that none is left.
    std::vector<pid_t> ProcessGroups() const;
    // Stops every peer, last started first.
    void StopAll();

private:
    struct Command {
        std::string program;
        std::vector<std::string> args;
    };
    template <typename Prepare>
    const Peer& Launch(const std::string& name, Prepare prepare);
    std::filesystem::path NewFile(const std::string& stem, const std::string& extension);

    std::filesystem::path folder_;
    int files_ = 0;
    std::vector<std::unique_ptr<Peer>> peers_;
    std::vector<std::unique_ptr<Origin>> origins_;
};

}  // namespace kvtest
