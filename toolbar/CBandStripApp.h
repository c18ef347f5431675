#pragma once
// The library's application object: starts the socket layer for the whole
// process when the library loads and ends it when it unloads, names the
// type library, and counts the objects and locks that keep the library in
// use.

#include <atomic>
#include <string>

class CBandStripApp {
public:
    static CBandStripApp& Instance();

    CBandStripApp();
    ~CBandStripApp();
    CBandStripApp(const CBandStripApp&) = delete;
    CBandStripApp& operator=(const CBandStripApp&) = delete;

    const std::string& TypeLibId() const { return m_TypeLibId; }
    // Whether the socket layer gave version 2.2.
    bool HasSockets() const { return m_bSockets; }

    void AddObject() { ++m_nObjects; }
    void ReleaseObject() { --m_nObjects; }
    void Lock() { ++m_nLocks; }
    void Unlock() { --m_nLocks; }
    // No object lives and no lock is held.
    bool CanUnload() const { return m_nObjects.load() == 0 && m_nLocks.load() == 0; }

private:
    bool InitInstance();
    void ExitInstance();

    std::string m_TypeLibId;
    bool m_bSockets = false;
    std::atomic<int> m_nObjects{0};
    std::atomic<int> m_nLocks{0};
};
