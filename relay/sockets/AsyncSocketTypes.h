#pragma once
// Shared pieces of the socket engine: the per-thread record, the lock type,
// and the message numbers and table limits of the helper window.

#include <forward_list>
#include <memory>

#include "platform/CriticalSection.h"
#include "platform/Messages.h"
#include "platform/Types.h"

class CAsyncSocketExHelperWindow;

using CCriticalSectionWrapper = platform::CriticalSection;

// One per thread that owns sockets.
struct t_AsyncSocketExThreadData {
    std::unique_ptr<CAsyncSocketExHelperWindow> m_pHelperWindow;
    int nInstanceCount = 0;  // live sockets registered on this thread
    platform::DWORD nThreadId = 0;
};

// Newest first.
using t_AsyncSocketExThreadDataList = std::forward_list<std::unique_ptr<t_AsyncSocketExThreadData>>;

// Helper window messages: a name-lookup reply, and socket notices from
// WM_SOCKETEX_NOTIFY + slot index on.
inline constexpr platform::UINT WM_SOCKETEX_GETHOST = platform::WM_USER + 1;
inline constexpr platform::UINT WM_SOCKETEX_NOTIFY = platform::WM_USER + 2;

// Socket table: first size, growth step, and the largest size, which keeps
// WM_SOCKETEX_NOTIFY + index below the registered messages (0xC000).
inline constexpr int kSocketTableInitialSize = 512;
inline constexpr int kSocketTableGrowth = 512;
inline constexpr int kSocketTableMaxSize = 48126;
// The table grows once this few free entries are left.
inline constexpr int kSocketTableSlack = 10;

// Event code of TriggerEvent that calls OnReceive without asking whether
// bytes wait.
inline constexpr long FD_FORCEREAD = 0x8000;
