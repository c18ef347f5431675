#pragma once
// Opera 7's typed addresses.

class COperaTypedUrls {
public:
    // Removes the traces when enable is set (true); false when it is not.
    bool Clear(bool enable);
};
