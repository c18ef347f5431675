#pragma once
// An edit control as the engine fills it: the control panel adapts its text
// controls to this, so the engine never includes the UI toolkit.

class ITextSink {
public:
    virtual ~ITextSink() = default;

    // Replaces the whole text.
    virtual void SetWindowText(const char* text) = 0;
};
