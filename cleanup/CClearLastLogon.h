#pragma once
// The name of the user who logged on last.

class CClearLastLogon {
public:
    // Removes the traces when enable is set (true); false when it is not.
    bool Clear(bool enable);
};
