#include "CXServer.h"

#include <gdk/gdk.h>
#include <gdk/gdkx.h>
#include <xcb/xcb.h>

#include <bit>
#include <cstdlib>
#include <stdexcept>
#include <string>

#include "XReply.h"

namespace kvtest {
namespace {

std::runtime_error XFailure(const std::string& what, xcb_generic_error_t* error) {
    const int code = error ? error->error_code : 0;
    std::free(error);
    return std::runtime_error("X server: " + what + " failed (error " + std::to_string(code) + ")");
}

// Scales the bits of one colour channel to 0..255.
struct SChannel {
    std::uint32_t mask;
    int shift;
    std::uint32_t max;

    explicit SChannel(std::uint32_t m)
        : mask(m), shift(m ? std::countr_zero(m) : 0), max(m ? (m >> shift) : 1) {}
    unsigned char Of(std::uint32_t pixel) const {
        return static_cast<unsigned char>(((pixel & mask) >> shift) * 255u / max);
    }
};

const xcb_visualtype_t* FindVisual(const xcb_screen_t& screen, xcb_visualid_t id) {
    for (auto depths = xcb_screen_allowed_depths_iterator(&screen); depths.rem; xcb_depth_next(&depths)) {
        for (auto visuals = xcb_depth_visuals_iterator(depths.data); visuals.rem; xcb_visualtype_next(&visuals)) {
            if (visuals.data->visual_id == id) return visuals.data;
        }
    }
    return nullptr;
}

const xcb_format_t* FindFormat(const xcb_setup_t& setup, std::uint8_t depth) {
    for (auto formats = xcb_setup_pixmap_formats_iterator(&setup); formats.rem; xcb_format_next(&formats)) {
        if (formats.data->depth == depth) return formats.data;
    }
    return nullptr;
}

}  // namespace

void CXServer::SDisconnect::operator()(xcb_connection_t* connection) const { xcb_disconnect(connection); }

CXServer::CXServer() {
    GdkDisplay* display = gdk_display_get_default();
    if (!display || !GDK_IS_X11_DISPLAY(display)) throw std::runtime_error("the toolkit is not on an X display");
    // Whatever the toolkit asked for (map, move, resize) is done before we look.
    gdk_display_sync(display);
    mConnection.reset(xcb_connect(gdk_display_get_name(display), &mScreen));
    if (xcb_connection_has_error(mConnection.get())) {
        throw std::runtime_error(std::string("cannot connect to X display ") + gdk_display_get_name(display));
    }
}

CXServer::~CXServer() = default;

SXWindow CXServer::Window(std::uint32_t id) {
    xcb_connection_t* c = mConnection.get();
    const auto attributesCookie = xcb_get_window_attributes(c, id);
    const auto geometryCookie = xcb_get_geometry(c, id);
    xcb_generic_error_t* error = nullptr;
    const auto attributes = TakeReply(xcb_get_window_attributes_reply(c, attributesCookie, &error));
    if (!attributes) throw XFailure("reading window attributes", error);
    const auto geometry = TakeReply(xcb_get_geometry_reply(c, geometryCookie, &error));
    if (!geometry) throw XFailure("reading window geometry", error);
    const auto place = TakeReply(xcb_translate_coordinates_reply(
        c, xcb_translate_coordinates(c, id, geometry->root, 0, 0), &error));
    if (!place) throw XFailure("placing the window on the screen", error);
    return {attributes->map_state == XCB_MAP_STATE_VIEWABLE,
            {place->dst_x, place->dst_y, geometry->width, geometry->height}};
}

SRgbImage CXServer::Capture(const SScreenRect& area) {
    xcb_connection_t* c = mConnection.get();
    const xcb_setup_t& setup = *xcb_get_setup(c);
    auto screens = xcb_setup_roots_iterator(&setup);
    for (int i = 0; i < mScreen && screens.rem; ++i) xcb_screen_next(&screens);
    if (!screens.rem) throw std::runtime_error("X server: no screen " + std::to_string(mScreen));
    const xcb_screen_t& screen = *screens.data;
    const SScreenRect shown = area.Intersect({0, 0, screen.width_in_pixels, screen.height_in_pixels});
    if (shown.Empty()) throw std::runtime_error("the window " + area.ToString() + " lies off the screen");

    xcb_generic_error_t* error = nullptr;
    const auto image = TakeReply(xcb_get_image_reply(
        c,
        xcb_get_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, screen.root, static_cast<std::int16_t>(shown.x),
                      static_cast<std::int16_t>(shown.y), static_cast<std::uint16_t>(shown.width),
                      static_cast<std::uint16_t>(shown.height), ~0u),
        &error));
    if (!image) throw XFailure("reading the screen's pixels", error);
    const xcb_visualtype_t* visual = FindVisual(screen, screen.root_visual);
    const xcb_format_t* format = FindFormat(setup, image->depth);
    if (!visual || !format || (visual->_class != XCB_VISUAL_CLASS_TRUE_COLOR &&
                               visual->_class != XCB_VISUAL_CLASS_DIRECT_COLOR)) {
        throw std::runtime_error("X server: the screen's pixel format is not a true-colour one");
    }
    const int bytesPerPixel = format->bits_per_pixel / 8;
    if (bytesPerPixel < 2 || bytesPerPixel > 4) {
        throw std::runtime_error("X server: " + std::to_string(format->bits_per_pixel) + " bits per pixel");
    }
    const int pad = format->scanline_pad;
    const int stride = (shown.width * format->bits_per_pixel + pad - 1) / pad * pad / 8;
    if (xcb_get_image_data_length(image.get()) < stride * shown.height) {
        throw std::runtime_error("X server: short image reply");
    }
    const SChannel red(visual->red_mask), green(visual->green_mask), blue(visual->blue_mask);
    const bool lsbFirst = setup.image_byte_order == XCB_IMAGE_ORDER_LSB_FIRST;
    const std::uint8_t* data = xcb_get_image_data(image.get());

    SRgbImage out{shown.width, shown.height, std::vector<unsigned char>(std::size_t(shown.width) * shown.height * 3)};
    unsigned char* rgb = out.rgb.data();
    for (int y = 0; y < shown.height; ++y) {
        const std::uint8_t* row = data + std::size_t(y) * stride;
        for (int x = 0; x < shown.width; ++x) {
            const std::uint8_t* bytes = row + std::size_t(x) * bytesPerPixel;
            std::uint32_t pixel = 0;
            for (int b = 0; b < bytesPerPixel; ++b) {
                const int at = lsbFirst ? bytesPerPixel - 1 - b : b;
                pixel = (pixel << 8) | bytes[at];
            }
            *rgb++ = red.Of(pixel);
            *rgb++ = green.Of(pixel);
            *rgb++ = blue.Of(pixel);
        }
    }
    return out;
}

}  // namespace kvtest
