#include "toolbar/host/BandHostCommandLine.h"

#include <algorithm>
#include <cctype>

eBandHostAction BandHostAction(const std::vector<std::string>& arguments) {
    if (arguments.size() != 1 || arguments[0].size() < 2) return eBandHostAction::Show;
    const std::string& argument = arguments[0];
    if (argument[0] != '/' && argument[0] != '-') return eBandHostAction::Show;
    std::string flag = argument.substr(1);
    std::transform(flag.begin(), flag.end(), flag.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (flag == "regserver") return eBandHostAction::Register;
    if (flag == "unregserver") return eBandHostAction::Unregister;
    return eBandHostAction::Show;
}
