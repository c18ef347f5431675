#pragma once
// A container page's frame as its switch drives it: one sub-page at a time
// under a header picture.

class ISubPageFrame {
public:
    virtual ~ISubPageFrame() = default;

    // Hides, destroys and deletes the sub-page now shown.
    virtual void CloseSubPage() = 0;
    virtual void ShowHeader(unsigned image) = 0;
    // Makes the sub-page of code inside the frame; false when none was made.
    virtual bool CreateSubPage(int code) = 0;
    // Moves the new sub-page over the frame, shows and enables it.
    virtual void PlaceSubPage() = 0;
    // Repaints the container.
    virtual void Repaint() = 0;
};
