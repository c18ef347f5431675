#pragma once
// What a colour label shows, apart from its window: colours, the font
// description and the flashing of its text or background (one timer,
// every kFlashMs).

#include <optional>
#include <string>
#include <string_view>

#include "controls/ColourRef.h"

class CColourLabelModel {
public:
    static constexpr int kFlashMs = 500;
    static constexpr std::size_t kFaceNameMax = 31;

    enum class FlashKind { None = 0, Text = 1, Background = 2 };

    struct FontDescription {
        int height = 0;      // negative: a character height
        int weight = 400;
        bool italic = false;
        bool underline = false;
        std::string faceName;
    };

    // What the view does after a flash switch or a timer tick.
    struct Change {
        bool stopTimer = false;
        bool startTimer = false;
        std::optional<std::string> text;  // new window text
        bool repaint = false;
    };

    CColourLabelModel(COLORREF text, COLORREF back, COLORREF flashOff, FontDescription font);

    COLORREF mTextColour;
    COLORREF mBackColour;
    COLORREF mFlashOffColour;
    FontDescription mFont;
    std::string mSavedText;
    bool mFlashPhase = false;
    bool mFlashing = false;
    bool mLink = true;
    FlashKind mFlashKind = FlashKind::None;

    // Copies at most kFaceNameMax characters.
    void SetFaceName(std::string_view name);

    Change FlashText(bool on, const std::string& currentText);
    Change FlashBackground(bool on);
    Change Tick();
    // The colour the background is painted with now.
    COLORREF BrushColour() const;
};
