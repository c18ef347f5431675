#pragma once
// Opera 7's cookies and its cache folder.

class COperaCookies {
public:
    // Removes the traces when enable is set (true); false when it is not.
    bool Clear(bool enable);
};
