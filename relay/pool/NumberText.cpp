#include "relay/pool/NumberText.h"

#include <charconv>
#include <cstring>

namespace numbertext {
namespace {

const char* SkipBlanks(const char* text) {
    while (*text == ' ' || *text == '\t' || *text == '\n' || *text == '\r' || *text == '\f' ||
           *text == '\v') {
        ++text;
    }
    return text;
}

}  // namespace

int ToInt(const char* text) {
    if (!text) return 0;
    text = SkipBlanks(text);
    if (*text == '+') ++text;
    int value = 0;
    const auto [end, ec] = std::from_chars(text, text + std::strlen(text), value);
    (void)end;
    return ec == std::errc() ? value : 0;
}

double ToDouble(const char* text) {
    if (!text) return 0;
    text = SkipBlanks(text);
    if (*text == '+') ++text;
    double value = 0;
    const auto [end, ec] = std::from_chars(text, text + std::strlen(text), value);
    (void)end;
    return ec == std::errc() ? value : 0;
}

std::string FromInt(int value) {
    char buffer[16];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

std::string Fixed3(double value) {
    char buffer[512];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 3);
    if (result.ec != std::errc()) return "0.000";
    return std::string(buffer, result.ptr);
}

}  // namespace numbertext
