#pragma once
// The recycle bins of all drives.

class CEmptyRecycleBin {
public:
    // Removes the traces when enable is set (true); false when it is not.
    bool Clear(bool enable);
};
