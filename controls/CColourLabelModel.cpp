#include "controls/CColourLabelModel.h"

CColourLabelModel::CColourLabelModel(COLORREF text, COLORREF back, COLORREF flashOff, FontDescription font)
    : mTextColour(text), mBackColour(back), mFlashOffColour(flashOff), mFont(std::move(font)) {}

void CColourLabelModel::SetFaceName(std::string_view name) {
    mFont.faceName = std::string(name.substr(0, kFaceNameMax));
}

CColourLabelModel::Change CColourLabelModel::FlashText(bool on, const std::string& currentText) {
    Change change;
    std::string current = currentText;
    if (mFlashing) {
        if (mFlashKind == FlashKind::Text) {
            // A running text flash may have the text hidden right now.
            change.text = mSavedText;
            current = mSavedText;
        }
        change.stopTimer = true;
        // A stopped flash leaves the label as it was before it started.
        mFlashing = false;
        mFlashKind = FlashKind::None;
        change.repaint = true;
    }
    if (on) {
        mSavedText = current;
        mFlashPhase = false;
        mFlashing = true;
        mFlashKind = FlashKind::Text;
        change.startTimer = true;
    }
    return change;
}

CColourLabelModel::Change CColourLabelModel::FlashBackground(bool on) {
    Change change;
    if (mFlashing) {
        if (mFlashKind == FlashKind::Text) {
            change.text = mSavedText;
        }
        change.stopTimer = true;
        mFlashing = false;
        mFlashKind = FlashKind::None;
        change.repaint = true;
    }
    if (on) {
        mFlashPhase = false;
        mFlashing = true;
        mFlashKind = FlashKind::Background;
        change.startTimer = true;
        change.repaint = true;
    }
    return change;
}

CColourLabelModel::Change CColourLabelModel::Tick() {
    Change change;
    const bool wasOn = mFlashPhase;
    mFlashPhase = !mFlashPhase;
    if (mFlashKind == FlashKind::Text) {
        change.text = wasOn ? mSavedText : std::string();
    } else if (mFlashKind == FlashKind::Background) {
        change.repaint = true;
    }
    return change;
}

COLORREF CColourLabelModel::BrushColour() const {
    const bool offPhase = mFlashing && mFlashKind == FlashKind::Background && !mFlashPhase;
    return offPhase ? mFlashOffColour : mBackColour;
}
