#pragma once
// What the response filter carries from one buffer of a connection to the
// next: kept by the connection, so one site's scripts or redirect never
// change how another connection's bytes are filtered.

struct CScriptFilterState {
    // The last location header named an allowed script site.
    bool mScriptExempt = false;
    // A script element opened in an earlier buffer is not closed yet.
    bool mInsideScript = false;

    void Reset() { *this = CScriptFilterState{}; }
};
