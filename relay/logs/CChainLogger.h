#pragma once
// Which chain of proxies each relayed connection used and where it went,
// for the control panel's chain page: at most 40 connections, in order of
// arrival. Each entry keeps copies of its hops, so it stays readable after
// the pool frees its proxies.
//
// Locks: m_ListCS guards both lists (additions, clears and every read);
// m_WndCS guards m_Wnd and every post. Order: m_ListCS, then m_WndCS.

#include <string>
#include <vector>

#include "platform/CriticalSection.h"
#include "platform/Messages.h"
#include "relay/pool/CProxy.h"

class CBProxyChain;
class ITreeSink;

class CChainLogger {
public:
    // More chains than this empty the log first.
    static constexpr std::size_t kMaxChains = 40;

    CChainLogger() = default;
    CChainLogger(const CChainLogger& other);
    CChainLogger& operator=(const CChainLogger& other);
    virtual ~CChainLogger() = default;

    void Attach(platform::HWND wnd);
    void Dettach();

    // Appends a copy of the chain's hops and the destination and shows it.
    // The int and bool are not used.
    void AddItem(CBProxyChain& chain, int, bool, const char* dest);
    // Applies the 40-chain limit (which may set index to 0), then posts
    // WM_RELAY_CHAINLOG_ITEM with index.
    void UpdateView(unsigned& index);
    void ViewAllElements();
    // Empties the log and posts WM_RELAY_CHAINLOG_RESET.
    void RemoveAllElements();

    // Adds connection n to tree: "Connection<n+1>", one child per hop, the
    // destination last. Out of range: the root and an empty last child.
    void AddToList(ITreeSink& tree, unsigned n) const;
    void ClearAllElements(ITreeSink& tree) const;

    int GetListCount() const;
    // Copies of the hops of chain n; empty when n is out of range.
    std::vector<CProxy> GetProxyChainArrayAt(int n) const;
    // -1 when n is out of range.
    int GetProxyChainLengthAt(int n) const;
    // Out of range: empty address, port 0, type unknown, country "unknown".
    CProxy GetProxyAt(int n, int hop) const;
    // Empty when n is out of range.
    std::string GetDestAt(int n) const;

private:
    bool InRange(int n) const;
    void Post(platform::UINT message, platform::WPARAM wParam);

    std::vector<std::vector<CProxy>> m_ChainList;
    std::vector<std::string> m_DestList;
    platform::HWND m_Wnd;
    mutable platform::CriticalSection m_WndCS;
    mutable platform::CriticalSection m_ListCS;
};
