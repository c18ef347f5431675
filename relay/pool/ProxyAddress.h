#pragma once
// Address conversions of the pool: dotted text to a network-order number
// and back, and the range number of the country table.

#include <string>

#include "platform/Types.h"

// The address in network byte order: 0 for null; the parsed value of a
// dotted address; otherwise the first IPv4 address of a host-name lookup,
// or 0 when the lookup fails.
platform::DWORD ConvertIP(const char* name);

// Dotted text of an address given in network byte order.
std::string ConvertIP(platform::DWORD address);

// a.b.c.d as a*256^3 + b*256^2 + c*256 + d; 0 unless the text is four
// dot-separated runs of digits, each at most 255.
double ConvertIPToInteger(const char* address);
