#pragma once
// BandHost's command line: "/RegServer" or "-RegServer" registers the band
// library beside it, "/UnregServer" or "-UnregServer" unregisters it (any
// letter case); anything else shows the band.

#include <string>
#include <vector>

enum class eBandHostAction { Show, Register, Unregister };

// arguments: the command line without the program name.
eBandHostAction BandHostAction(const std::vector<std::string>& arguments);
