#include "rig/Origin.h"

#include <functional>
#include <random>
#include <utility>

namespace kvtest {

Origin::Origin(const Peer& peer, std::map<std::string, std::string> contents)
    : peer_(peer), contents_(std::move(contents)) {}

std::string Origin::Url(const std::string& name) const {
    return "http://" + peer_.Address() + "/" + name;
}

const std::string& Origin::Content(const std::string& name) const {
    return contents_.at(name);
}

std::string Origin::MakeContent(const std::string& name, std::size_t size) {
    std::mt19937 generator(static_cast<std::mt19937::result_type>(std::hash<std::string>{}(name)));
    std::uniform_int_distribution<int> byte(0, 255);
    std::string content(size, '\0');
    for (char& c : content) {
        c = static_cast<char>(byte(generator));
    }
    return content;
}

}  // namespace kvtest
