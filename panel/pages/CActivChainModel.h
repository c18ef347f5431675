#pragma once
// The chains page without its widgets: it shows the engine's chain log
// while it is attached to it.

#include "platform/Messages.h"

class CChainLogger;
class ITreeSink;

class CActivChainModel {
public:
    CActivChainModel(CChainLogger& log, platform::HWND page);

    void Init();
    // WM_RELAY_CHAINLOG_ITEM: an index the log no longer holds is dropped
    // (a clear in between is followed by its reset notice, which empties
    // the tree).
    void OnItem(ITreeSink& tree, platform::WPARAM index);
    void OnClear();
    void Destroy();

private:
    CChainLogger& m_Log;
    platform::HWND m_Page;
};
