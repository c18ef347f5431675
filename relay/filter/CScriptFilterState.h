#pragma once
// What the response filter carries for one connection: the location
// exemption from one response to the next, and the rest through one body
// from one read to the next, so a marker split between reads is found
// whole. Kept by the connection, so one site's pages never change how
// another connection's bytes are filtered.

struct CScriptFilterState {
    // Which filters a body's type takes: all of them for a page, those on
    // script statements for a script.
    enum class eBody { Html, Script };

    // The last location field named an allowed script site.
    bool mScriptExempt = false;

    eBody mBody = eBody::Html;
    // A script element is open.
    bool mInsideScript = false;
    // A statement is blanked up to its ";".
    bool mCommenting = false;
    // The body's first title was handled.
    bool mTitleDone = false;
    // A NUL showed the body is not text: the rest passes as it is.
    bool mBinary = false;

    void Reset() { *this = CScriptFilterState{}; }
    // A new body begins; the exemption stays.
    void StartBody(eBody body) {
        const bool exempt = mScriptExempt;
        *this = CScriptFilterState{};
        mScriptExempt = exempt;
        mBody = body;
    }
};
