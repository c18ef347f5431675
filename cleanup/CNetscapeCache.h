#pragma once
// The Netscape/Mozilla profile's cache folder.

class CNetscapeCache {
public:
    // Removes the traces when enable is set (true); false when it is not.
    bool Clear(bool enable);
};
