#pragma once
// Which sub-page a container page shows: a click on a header zone shows
// its sub-page unless it is shown already; every switch closes the old one
// first, shows the new header and then makes the new sub-page (which may
// fail, leaving the frame empty under the new header).

#include <vector>

class ISubPageFrame;

class CSubPageSwitch {
public:
    struct Kind {
        int zone;              // the header zone's control
        int code;              // the sub-page's template
        unsigned headerImage;  // the header picture while it is shown
    };

    CSubPageSwitch(ISubPageFrame& frame, std::vector<Kind> kinds);

    // Shows the sub-page of code; false when it was shown already or the
    // code is unknown.
    bool Show(int code);
    // A click on a header zone.
    bool OnZone(int zone);
    // Closes the sub-page now shown (the container is going).
    void Close();

    // The code shown (0 none).
    int Shown() const { return m_Shown; }
    bool HasPage() const { return m_bHasPage; }

private:
    ISubPageFrame& m_Frame;
    std::vector<Kind> m_Kinds;
    int m_Shown = 0;
    bool m_bHasPage = false;
};
