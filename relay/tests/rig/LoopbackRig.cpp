#include "rig/LoopbackRig.h"

#include <unistd.h>

#include <cstdlib>
#include <map>
#include <stdexcept>
#include <system_error>

#include "rig/Loopback.h"
#include "rig/PeerProcess.h"
#include "support/TempRoot.h"

namespace kvtest {
namespace fs = std::filesystem;

namespace {

// A free port can be taken by another test between the check and the
// peer's bind; a peer that exits at once is started again on another port.
constexpr int kStartAttempts = 4;

std::string PythonProgram() {
    // The system interpreter, not a per-user shim in front of it.
    return FindProgram("/usr/bin/python3").empty() ? "python3" : "/usr/bin/python3";
}

}  // namespace

LoopbackRig::LoopbackRig() {
    std::string pattern = (fs::temp_directory_path() / "kvrig-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) {
        throw std::runtime_error("cannot make the rig's folder");
    }
    folder_ = pattern;
}

LoopbackRig::~LoopbackRig() {
    StopAll();
    std::error_code ec;
    fs::remove_all(folder_, ec);
}

fs::path LoopbackRig::NewFile(const std::string& stem, const std::string& extension) {
    return folder_ / (stem + "-" + std::to_string(++files_) + extension);
}

template <typename Prepare>
const Peer& LoopbackRig::Launch(const std::string& name, Prepare prepare) {
    std::string log;
    for (int attempt = 0; attempt < kStartAttempts; ++attempt) {
        const std::uint16_t port = FreeLoopbackPort();
        const Command command = prepare(port);
        auto process = std::make_unique<PeerProcess>(command.program, command.args,
                                                     NewFile(name, ".log"));
        if (process->WaitListening(port, kListenLimit)) {
            peers_.push_back(std::make_unique<Peer>(name, port, std::move(process)));
            return *peers_.back();
        }
        const bool endedEarly = !process->Running();
        process->Stop();
        log = process->Log();
        if (!endedEarly) {
            break;
        }
    }
    throw std::runtime_error(name + " did not listen on loopback; its log:\n" + log);
}

const Peer& LoopbackRig::StartTinyproxy(const TinyproxyOptions& options) {
    return Launch("tinyproxy", [&](std::uint16_t port) {
        std::string config = "Port " + std::to_string(port) +
                             "\n"
                             "Listen 127.0.0.1\n"
                             "Timeout 30\n"
                             "MaxClients 64\n"
                             "LogLevel Info\n"
                             "Allow 127.0.0.0/8\n"
                             "DisableViaHeader Yes\n";
        for (const std::uint16_t allowed : options.connectPorts) {
            config += "ConnectPort " + std::to_string(allowed) + "\n";
        }
        const fs::path file = NewFile("tinyproxy", ".conf");
        WriteFile(file, config);
        return Command{"tinyproxy", {"-d", "-c", file.string()}};
    });
}

const Peer& LoopbackRig::StartDante() {
    return Launch("danted", [&](std::uint16_t port) {
        std::string config = "logoutput: stderr\n"
                             "internal: 127.0.0.1 port = " +
                             std::to_string(port) +
                             "\n"
                             "external: 127.0.0.1\n"
                             "clientmethod: none\n"
                             "socksmethod: none\n";
        if (::geteuid() == 0) {
            // Dante drops to the unprivileged user when it may; staying root
            // keeps the death signal, which a change of user would clear.
            config += "user.privileged: root\nuser.unprivileged: root\n";
        }
        config += "client pass {\n  from: 127.0.0.0/8 to: 0.0.0.0/0\n}\n"
                  "socks pass {\n  from: 127.0.0.0/8 to: 127.0.0.0/8\n"
                  "  command: connect\n  protocol: tcp\n}\n";
        const fs::path file = NewFile("danted", ".conf");
        WriteFile(file, config);
        return Command{"danted", {"-f", file.string(), "-p", NewFile("danted", ".pid").string()}};
    });
}

const Peer& LoopbackRig::StartMicrosocks() {
    return Launch("microsocks", [](std::uint16_t port) {
        return Command{"microsocks", {"-i", kLoopbackHost, "-p", std::to_string(port), "-b", kLoopbackHost}};
    });
}

const Peer& LoopbackRig::StartNcatHttp() {
    return Launch("ncat", [](std::uint16_t port) {
        return Command{"ncat",
                       {"-4", "-l", kLoopbackHost, std::to_string(port), "--proxy-type", "http",
                        "-k", "--allow", "127.0.0.0/8"}};
    });
}

const Origin& LoopbackRig::StartOrigin(const std::vector<OriginFile>& files) {
    const fs::path root = NewFile("origin", "");
    std::map<std::string, std::string> contents;
    for (const OriginFile& file : files) {
        if (file.name.empty() || file.name.find('/') != std::string::npos) {
            throw std::invalid_argument("origin file names are plain names: " + file.name);
        }
        contents[file.name] = file.text.empty() ? Origin::MakeContent(file.name, file.size) : file.text;
        WriteFile(root / file.name, contents[file.name]);
    }
    fs::create_directories(root);
    const Peer& peer = Launch("origin", [&](std::uint16_t port) {
        return Command{PythonProgram(),
                       {"-m", "http.server", std::to_string(port), "--bind", kLoopbackHost,
                        "--directory", root.string()}};
    });
    origins_.push_back(std::make_unique<Origin>(peer, std::move(contents)));
    return *origins_.back();
}

CurlResult LoopbackRig::Curl(const std::vector<std::string>& args, std::chrono::seconds limit) {
    const fs::path output = NewFile("curl", ".out");
    std::vector<std::string> all{"-q", "-sS", "--max-time", std::to_string(limit.count()), "-o",
                                 output.string()};
    all.insert(all.end(), args.begin(), args.end());
    PeerProcess curl("curl", all, NewFile("curl", ".log"));
    CurlResult result;
    // curl's own limit comes first; ours only guards against a hang.
    result.exitCode = curl.WaitExit(limit + std::chrono::seconds(5)).value_or(-1);
    curl.Stop();
    result.body = ReadFile(output);
    result.log = curl.Log();
    return result;
}

BrowserResult LoopbackRig::Browse(const std::string& url, const std::string& socks5Proxy,
                                  std::chrono::seconds limit) {
    const fs::path profile = NewFile("browser", ".profile");
    fs::create_directories(profile);
    // Loopback addresses bypass a proxy unless the bypass list takes them
    // out ("<-loopback>").
    PeerProcess browser(kBrowserProgram,
                        {"--headless", "--no-sandbox", "--disable-gpu", "--no-first-run",
                         "--disable-background-networking", "--user-data-dir=" + profile.string(),
                         "--proxy-server=socks5://" + socks5Proxy, "--proxy-bypass-list=<-loopback>", "--dump-dom",
                         url},
                        NewFile("browser", ".log"));
    BrowserResult result;
    result.exitCode = browser.WaitExit(limit).value_or(-1);
    browser.Stop();
    result.output = browser.Log();
    return result;
}

bool LoopbackRig::HasBrowser() { return !FindProgram(kBrowserProgram).empty(); }

std::vector<pid_t> LoopbackRig::ProcessGroups() const {
    std::vector<pid_t> groups;
    for (const auto& peer : peers_) {
        groups.push_back(peer->processGroup());
    }
    return groups;
}

void LoopbackRig::StopAll() {
    for (auto it = peers_.rbegin(); it != peers_.rend(); ++it) {
        (*it)->Stop();
    }
}

}  // namespace kvtest
