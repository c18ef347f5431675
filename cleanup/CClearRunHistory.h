#pragma once
// The Run dialog's list of recent commands.

class CClearRunHistory {
public:
    // Removes the traces when enable is set (true); false when it is not.
    bool Clear(bool enable);
};
