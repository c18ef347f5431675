#pragma once
// What the X server itself holds about a window, asked over a connection of
// our own so that no toolkit cache stands in between. Under GTK 3 only
// top-level windows (and the rare native child) are X windows; controls are
// drawn into them.

#include <cstdint>
#include <memory>
#include <vector>

#include "ScreenRect.h"

struct xcb_connection_t;

namespace kvtest {

struct SXWindow {
    bool viewable = false;  // mapped, and so are all its ancestors
    SScreenRect onRoot;     // position on the screen and size
};

// Pixels as 8-bit red, green, blue triples, row by row.
struct SRgbImage {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> rgb;
};

class CXServer {
public:
    // Connects to the display the toolkit uses, after the toolkit's own
    // requests have reached the server. Throws std::runtime_error.
    CXServer();
    ~CXServer();
    CXServer(const CXServer&) = delete;
    CXServer& operator=(const CXServer&) = delete;

    SXWindow Window(std::uint32_t id);
    // The screen's pixels inside area (cut to the screen), as the user sees
    // them: overlapping windows included.
    SRgbImage Capture(const SScreenRect& area);

private:
    struct SDisconnect {
        void operator()(xcb_connection_t* connection) const;
    };
    std::unique_ptr<xcb_connection_t, SDisconnect> mConnection;
    int mScreen = 0;
};

}  // namespace kvtest
