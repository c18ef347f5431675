#include "relay/hunter/CUrlNode.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <system_error>

namespace {

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

bool Exists(const std::string& path) {
    std::error_code error;
    return !path.empty() && std::filesystem::exists(path, error);
}

bool BeginsWith(const std::string& text, const char* prefix) { return text.rfind(prefix, 0) == 0; }

std::uint64_t Fnv1a(const std::string& text) {
    std::uint64_t hash = 1469598103934665603ull;
    for (unsigned char c : text) {
        hash ^= c;
        hash *= 1099511628211ull;
    }
    return hash;
}

}  // namespace

const std::vector<std::string>& CUrlNode::InitDomainArray() {
    static const std::vector<std::string> labels = {
        "ad", "ae", "af", "ag", "ai", "al", "am", "an", "ao", "aq", "ar", "arpa", "at", "au", "aw", "az",
        "ba", "bb", "bd", "be", "bf", "bg", "bh", "bi", "biz", "bj", "bm", "bn", "bo", "br", "bs", "bt",
        "bv", "bw", "by", "bz", "ca", "cc", "cf", "cg", "ch", "cl", "cm", "cn", "co", "com", "cr", "cs",
        "cu", "cv", "cx", "cy", "cz", "de", "dj", "dk", "dm", "do", "dz", "ec", "edu", "ee", "eg", "eh",
        "er", "es", "et", "fi", "fj", "fk", "fm", "fo", "fr", "fx", "ga", "gb", "gd", "ge", "gf", "gh",
        "gi", "gl", "gm", "gn", "gov", "gp", "gq", "gr", "gs", "gt", "gu", "gw", "gy", "hk", "hm", "hn",
        "hr", "ht", "hu", "id", "ie", "il", "in", "info", "int", "io", "iq", "ir", "is", "it", "jm", "jo",
        "jp", "ke", "kg", "kh", "km", "kp", "kr", "kw", "ky", "kz", "la", "lb", "lc", "li", "lk", "lr",
        "ls", "lt", "lu", "lv", "ly", "ma", "mc", "md", "mg", "mh", "mil", "mk", "ml", "mm", "mn", "mo",
        "mt", "mu", "mx", "my", "mz", "na", "nc", "ne", "net", "nf", "ng", "ni", "nl", "no", "np", "nu",
        "nz", "om", "org", "pa", "pe", "pf", "pg", "ph", "pk", "pl", "pm", "pn", "pr", "pt", "pw", "py",
        "qa", "re", "ro", "ru", "rw", "sa", "sb", "sc", "sd", "se", "sg", "sh", "si", "sj", "sk", "sl",
        "sm", "sn", "so", "sr", "st", "su", "sv", "sy", "sz", "tc", "td", "tf", "tg", "th", "tj", "tk",
        "tm", "tn", "to", "tp", "tr", "tt", "tv", "tw", "tz", "ua", "ug", "uk", "um", "us", "uy", "uz",
        "va", "ve", "vg", "vi", "vn", "vu", "yu", "za", "zm", "zr", "zw", "txt",
    };
    return labels;
}

void CUrlNode::SetParams(const std::string& folder, const std::string& address) {
    setUrl(address);
    RetrieveBaseUrl();
    setLocalFileName(folder, m_Url);
}

void CUrlNode::setUrl(const std::string& address) {
    // Local paths are case-sensitive here: they are kept as written.
    if (Exists(address) || BeginsWith(Lower(address), "file://")) {
        m_Url = address;
        return;
    }
    m_Url = Lower(address);
    const bool hasScheme = m_Url.find("http://") != std::string::npos ||
                           m_Url.find("https://") != std::string::npos ||
                           m_Url.find("ftp://") != std::string::npos;
    if (!hasScheme && !Exists(m_Url)) m_Url = "http://" + m_Url;
}

void CUrlNode::RetrieveBaseUrl() {
    // The host starts after the scheme's "//" (the eighth character for
    // http, ftp and file, the ninth for https).
    const std::size_t from = BeginsWith(m_Url, "https://") ? 8 : 7;
    const std::size_t slash = m_Url.size() > 7 ? m_Url.find('/', from) : std::string::npos;
    if (slash == std::string::npos) {
        m_BaseUrl = m_Url;
        return;
    }
    const std::string host = m_Url.substr(0, slash);
    const std::size_t dot = host.rfind('.');
    if (dot == std::string::npos || dot < from) {
        m_BaseUrl = kErrorInUrl;
        return;
    }
    const std::string label = host.substr(dot + 1);
    const auto& labels = InitDomainArray();
    const bool known = label.size() >= 2 && std::any_of(labels.begin(), labels.end(), [&](const std::string& row) {
                           return row.find(label) != std::string::npos;
                       });
    m_BaseUrl = known ? host : kErrorInUrl;
}

void CUrlNode::setLocalFileName(const std::string& folder, const std::string& address) {
    std::string name = address;
    for (char& c : name) {
        if (std::string_view("/:.\\*?\"<>|").find(c) != std::string_view::npos) c = '_';
    }
    if (name.size() > kMaxFileName) {
        char hash[17];
        std::snprintf(hash, sizeof hash, "%016llx", static_cast<unsigned long long>(Fnv1a(name)));
        name = name.substr(0, kMaxFileName - 17) + "_" + hash;
    }
    if (folder.empty() || folder.back() == '/') {
        m_FileName = folder + name;
    } else {
        m_FileName = folder + "/" + name;
    }
}

bool CUrlNode::IsItLocalFile() const { return Exists(m_Url); }
