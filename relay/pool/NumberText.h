#pragma once
// Locale-independent number texts of the pool's tables and views: numbers
// are read the way the C runtime's atoi and atof read them, and written as
// "%d" and "%.3f" would be in the C locale.

#include <string>

namespace numbertext {

// Leading blanks, an optional sign and digits; 0 when none (or on
// overflow, which no stored value reaches).
int ToInt(const char* text);
// Leading blanks and a decimal number; 0 when none.
double ToDouble(const char* text);

std::string FromInt(int value);
// Three decimals.
std::string Fixed3(double value);

}  // namespace numbertext
