#pragma once
// Creates the toolbar band as a browser does: the browser's toolbar list
// must name its class, the class key names the library, which is loaded and
// asked for the class factory.

#include <memory>
#include <string>

class CToolBand;

// The new band, or null with the reason in why.
std::unique_ptr<CToolBand> CreateRegisteredBand(std::string& why);
