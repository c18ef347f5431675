#pragma once
// What the pages share for their texts: the panel's string table, the
// number reading of their edit fields and the connection test of the
// hunter and the analyzer.

#include <string>
#include <string_view>

// The text of id in the panel's string table (empty when it has none).
std::string PageString(unsigned id);

// Reads text as a C library atoi does (leading blanks, a sign, the digits
// up to the first other character; 0 when there are none), saturating at
// the int range instead of overflowing.
int AsciiToInt(std::string_view text);

// The decimal text of a stored number.
std::string DecimalText(long long value);

// A log text as a multi-line edit shows it: a line ends with "\r\n", or with
// "\r\r\n" where a status line brings its own "\r"; each is one line
// break, and a lone "\r" shows nothing.
std::string EditLineBreaks(std::string_view text);

// The pages' connection test: a connection is there unless the system
// reports none, or reports only the offline flag.
bool IsInternetConnected();
