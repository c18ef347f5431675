#pragma once
// The growth of the How picture (dialog 203): from nothing to its full size,
// centred on the desktop, by a width step of 2 and a height step of 4 per
// tick. A step ends once the size taken before a tick has reached its full
// value; the growth ends with the width. No side grows past its full size.
// Its window region, fixed at the full size, cuts 14 pixels away left and
// top, 10 right and 5 bottom.

namespace wizard {

class CWizHowModel {
public:
    struct SRect {
        int x;
        int y;
        int width;
        int height;
    };

    CWizHowModel(int fullWidth, int fullHeight, int desktopWidth, int desktopHeight);

    // The window's place at start: centred, size zero.
    SRect Start() const;
    // One tick with the current size; returns the new place.
    SRect Tick(int width, int height);
    bool Running() const { return running_; }
    // In window coordinates; the growing window shows the part of it that
    // it already covers.
    SRect Region() const;

private:
    SRect Centred(int width, int height) const;

    int fullWidth_;
    int fullHeight_;
    int desktopWidth_;
    int desktopHeight_;
    int widthStep_ = 2;
    int heightStep_ = 4;
    bool running_ = true;
};

}  // namespace wizard
