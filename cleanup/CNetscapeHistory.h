#pragma once
// The Netscape/Mozilla profile's history.

class CNetscapeHistory {
public:
    // Removes the traces when enable is set (true); false when it is not.
    bool Clear(bool enable);
};
