#pragma once
// Opera 7's history folder, removed only when it is empty.

class COperaHistory {
public:
    // Removes the traces when enable is set (true); false when it is not.
    bool Clear(bool enable);
};
