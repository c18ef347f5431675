#pragma once
// The program-requests page without its widgets: it shows the engine's
// program log while it is attached to it.

#include "platform/Messages.h"

class CProgLog;
class IRowSink;

class CActivProgModel {
public:
    // log: the engine's program log; page: the window its notices reach.
    CActivProgModel(CProgLog& log, platform::HWND page);

    // Attaches the page and has the log post every entry.
    void Init();
    // WM_RELAY_PROGLOG_ITEM: an index the log no longer holds is dropped.
    void OnItem(IRowSink& list, platform::WPARAM index);
    // The "clear" picture: the log empties and posts its reset.
    void OnClear();
    void Destroy();

private:
    CProgLog& m_Log;
    platform::HWND m_Page;
};
