#include "ScreenCheck.h"

#include <wx/toplevel.h>

#include <algorithm>
#include <atomic>
#include <exception>
#include <set>
#include <utility>

#include "CXServer.h"
#include "ControlLayout.h"
#include "Screenshot.h"

namespace kvtest {
namespace {

bool Listed(const std::vector<const wxWindow*>& list, const wxWindow* window) {
    return std::find(list.begin(), list.end(), window) != list.end();
}

// Overhangs of inner past outer, as "12 px past the right edge" phrases.
std::string Overhangs(const SScreenRect& inner, const SScreenRect& outer) {
    std::string text;
    const auto add = [&](int by, const char* edge) {
        if (by <= 0) return;
        if (!text.empty()) text += ", ";
        text += std::to_string(by) + " px past the " + edge + " edge";
    };
    add(outer.x - inner.x, "left");
    add(outer.y - inner.y, "top");
    add(inner.Right() - outer.Right(), "right");
    add(inner.Bottom() - outer.Bottom(), "bottom");
    return text;
}

std::string SizeText(int width, int height) { return std::to_string(width) + "x" + std::to_string(height); }

// A part of a control's area: what it shows or what it paints.
enum class ePiece { Face, Background, Text, Mark };

struct SPiece {
    int control;
    ePiece kind;
    SScreenRect rect;
};

const char* ToString(ePiece kind) {
    switch (kind) {
        case ePiece::Face: return "face";
        case ePiece::Background: return "background (a colour of its own)";
        case ePiece::Text: return "text";
        case ePiece::Mark: return "check mark";
    }
    return "?";
}

// Ink may pass a control's edge by this much: a glyph's anti-aliased side
// bearing, not a letter the user misses.
constexpr int kInkSlack = 1;

class CChecker {
public:
    CChecker(const wxTopLevelWindow& window, const SWindowLayout& layout, const SLayoutExpect& expect)
        : mWindow(window), mLayout(layout), mExpect(expect) {}

    std::vector<SLayoutFinding> Run(const SXWindow& onScreen) {
        CheckSize(onScreen);
        for (std::size_t i = 0; i < mLayout.controls.size(); ++i) {
            const SControl& control = mLayout.controls[i];
            if (!control.mapped) continue;
            CheckInsideParent(control);
            CheckTexts(control);
        }
        CheckCovering();
        return std::move(mFindings);
    }

private:
    const SControl& At(int index) const { return mLayout.controls[static_cast<std::size_t>(index)]; }

    void Add(eLayoutFault fault, const wxWindow* control, std::string text) {
        mFindings.push_back({fault, control, std::move(text)});
    }

    std::string ParentName(const SControl& control) const {
        return control.parent < 0 ? Describe(mWindow) : Describe(*At(control.parent).window);
    }

    // The control's rectangle in its parent's coordinates.
    static SScreenRect InParent(const SControl& control) {
        return control.rect.MovedBy(-control.containerArea.x, -control.containerArea.y);
    }

    void CheckSize(const SXWindow& onScreen) {
        const SScreenRect shown =
            mLayout.client.Intersect({0, 0, onScreen.onRoot.width, onScreen.onRoot.height});
        const wxSize wanted = mExpect.minClientSize;
        if (shown.width >= wanted.x && shown.height >= wanted.y) return;
        const wxSize wxClient = mWindow.GetClientSize();
        Add(eLayoutFault::TooSmall, &mWindow,
            Describe(mWindow) + " shows a client area of " + SizeText(shown.width, shown.height) +
                " px (X window " + SizeText(onScreen.onRoot.width, onScreen.onRoot.height) +
                ", wx reports a client size of " + SizeText(wxClient.x, wxClient.y) +
                "), smaller than its template " + SizeText(wanted.x, wanted.y));
    }

    void CheckInsideParent(const SControl& control) {
        if (!control.container || control.containerArea.Contains(control.rect)) return;
        Add(eLayoutFault::OutsideParent, control.window,
            Describe(*control.window) + " at " + InParent(control).ToString() + " lies outside its parent " +
                ParentName(control) + " (area " +
                SizeText(control.containerArea.width, control.containerArea.height) +
                "): " + Overhangs(control.rect, control.containerArea));
    }

    void CheckTexts(const SControl& control) {
        for (const SControlText& text : control.texts) {
            if (text.ink.Empty()) continue;
            const std::string what = Describe(*control.window) + ": its text " + Quoted(text.text);
            if (text.ellipsized) {
                Add(eLayoutFault::Clipped, control.window, what + " is shortened with an ellipsis");
                continue;
            }
            const SScreenRect room{control.rect.x - kInkSlack, control.rect.y - kInkSlack,
                                   control.rect.width + 2 * kInkSlack, control.rect.height + 2 * kInkSlack};
            if (room.Contains(text.ink)) continue;
            const SScreenRect ink = text.ink.MovedBy(-control.rect.x, -control.rect.y);
            const std::string wrapped =
                text.lines > 1 ? " (wrapped to " + std::to_string(text.lines) + " lines)" : std::string();
            Add(eLayoutFault::Clipped, control.window,
                what + wrapped + " needs " + SizeText(ink.width, ink.height) + " px at " +
                    std::to_string(ink.x) + "," + std::to_string(ink.y) + " in a control of " +
                    SizeText(control.rect.width, control.rect.height) + ": cut " +
                    Overhangs(text.ink, control.rect));
        }
    }

    bool SeeThrough(const SControl& control) const {
        return control.drawsOnlyContent || Listed(mExpect.seeThrough, control.window);
    }

    // What a control shows the user: its texts and marks, or all of it when
    // it draws a face of its own (a button, a field, a picture).
    void Content(int index, const SScreenRect& clip, std::vector<SPiece>& pieces) const {
        const SControl& control = At(index);
        if (!control.mapped) return;
        const SScreenRect visible = control.rect.Intersect(clip);
        if (!Listed(mExpect.backdrops, control.window)) {
            if (!SeeThrough(control)) {
                pieces.push_back({index, ePiece::Face, visible});
            } else {
                AddTextsAndMarks(index, visible, pieces);
            }
        }
        for (const int child : control.children) Content(child, visible, pieces);
    }

    // What a control paints over the controls under it.
    void Paint(int index, const SScreenRect& clip, std::vector<SPiece>& pieces) const {
        const SControl& control = At(index);
        if (!control.mapped) return;
        const SScreenRect visible = control.rect.Intersect(clip);
        if (!SeeThrough(control) || control.ownBackground) {
            pieces.push_back({index, SeeThrough(control) ? ePiece::Background : ePiece::Face, visible});
            return;
        }
        AddTextsAndMarks(index, visible, pieces);
        for (const int child : control.children) Paint(child, visible, pieces);
    }

    void AddTextsAndMarks(int index, const SScreenRect& visible, std::vector<SPiece>& pieces) const {
        const SControl& control = At(index);
        for (const SControlText& text : control.texts) {
            pieces.push_back({index, ePiece::Text, text.ink.Intersect(visible)});
        }
        for (const SScreenRect& mark : control.marks) pieces.push_back({index, ePiece::Mark, mark.Intersect(visible)});
    }

    std::string HowItPaints(int over, const SPiece& paint) const {
        if (paint.control == over) return std::string("its ") + ToString(paint.kind);
        return std::string("the ") + ToString(paint.kind) + " of its child " + Describe(*At(paint.control).window);
    }

    // Siblings in one container, each against those painted after it.
    void CheckCovering() {
        const int count = static_cast<int>(mLayout.controls.size());
        std::vector<std::vector<SPiece>> shown(static_cast<std::size_t>(count));
        std::vector<std::vector<SPiece>> painted(static_cast<std::size_t>(count));
        for (int i = 0; i < count; ++i) {
            const SControl& control = At(i);
            if (!control.mapped || !control.container) continue;
            Content(i, control.containerArea, shown[static_cast<std::size_t>(i)]);
            Paint(i, control.containerArea, painted[static_cast<std::size_t>(i)]);
        }
        std::set<std::pair<int, int>> reported;
        for (int under = 0; under < count; ++under) {
            const SControl& low = At(under);
            for (int over = 0; over < count; ++over) {
                const SControl& high = At(over);
                if (high.container != low.container || high.paintOrder <= low.paintOrder) continue;
                for (const SPiece& piece : shown[static_cast<std::size_t>(under)]) {
                    for (const SPiece& paint : painted[static_cast<std::size_t>(over)]) {
                        if (!piece.rect.Overlaps(paint.rect) || !reported.insert({piece.control, over}).second) continue;
                        ReportCovered(piece, over, paint);
                    }
                }
            }
        }
    }

    void ReportCovered(const SPiece& piece, int over, const SPiece& paint) {
        const SControl& hidden = At(piece.control);
        const SControl& high = At(over);
        const SScreenRect where = piece.rect.Intersect(paint.rect).MovedBy(-hidden.rect.x, -hidden.rect.y);
        Add(eLayoutFault::Covered, hidden.window,
            Describe(*hidden.window) + " at " + InParent(hidden).ToString() + " is painted over by the later " +
                Describe(*high.window) + " at " + InParent(high).ToString() + ", with " + HowItPaints(over, paint) +
                " over " + where.ToString() + " of it");
    }

    const wxTopLevelWindow& mWindow;
    const SWindowLayout& mLayout;
    const SLayoutExpect& mExpect;
    std::vector<SLayoutFinding> mFindings;
};

}  // namespace

const char* ToString(eLayoutFault fault) {
    switch (fault) {
        case eLayoutFault::NotShown: return "not shown";
        case eLayoutFault::TooSmall: return "too small";
        case eLayoutFault::OutsideParent: return "outside its parent";
        case eLayoutFault::Covered: return "covered";
        case eLayoutFault::Clipped: return "clipped";
    }
    return "?";
}

std::vector<SLayoutFinding> CheckLayoutOnScreen(const wxTopLevelWindow& window, const SLayoutExpect& expect) {
    const SWindowLayout layout = ReadLayout(window);
    if (layout.xWindow == 0) return {{eLayoutFault::NotShown, &window, Describe(window) + " has never been shown"}};
    CXServer server;
    const SXWindow onScreen = server.Window(layout.xWindow);
    if (!onScreen.viewable) {
        return {{eLayoutFault::NotShown, &window, Describe(window) + " is not viewable on the X server"}};
    }
    return CChecker(window, layout, expect).Run(onScreen);
}

::testing::AssertionResult IsLaidOutOnScreen(const wxTopLevelWindow& window, const SLayoutExpect& expect) {
    std::vector<SLayoutFinding> findings;
    try {
        findings = CheckLayoutOnScreen(window, expect);
    } catch (const std::exception& error) {
        return ::testing::AssertionFailure() << "the on-screen check could not run: " << error.what();
    }
    if (findings.empty()) return ::testing::AssertionSuccess();
    auto failure = ::testing::AssertionFailure();
    failure << findings.size() << " on-screen fault(s):";
    for (const SLayoutFinding& finding : findings) failure << "\n  [" << ToString(finding.fault) << "] " << finding.text;
    // Several checks in one test each keep their own picture.
    static std::atomic<int> shots{0};
    const wxString title = window.GetTitle().empty() ? window.GetName() : window.GetTitle();
    try {
        failure << "\n  screenshot: "
                << SaveScreenshot(window, title.utf8_string() + "-" + std::to_string(++shots)).string();
    } catch (const std::exception& error) {
        failure << "\n  no screenshot: " << error.what();
    }
    return failure;
}

}  // namespace kvtest
