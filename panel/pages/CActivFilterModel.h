#pragma once
// The filtration page without its widgets: the text of the engine's
// filtration counters while it is attached to them.

#include "platform/Messages.h"

class CFiltrationLogger;
class ITextSink;

class CActivFilterModel {
public:
    CActivFilterModel(CFiltrationLogger& log, platform::HWND page);

    void Init();
    // WM_RELAY_FILTERLOG_CHANGED.
    void OnChanged(ITextSink& text);
    // The "clear" picture resets the engine's statistics; the text follows
    // when the log next posts.
    void OnClear();
    void Destroy();

private:
    CFiltrationLogger& m_Log;
    platform::HWND m_Page;
};
