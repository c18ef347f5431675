#pragma once
// The computer search's recent names.

class CClearFindComputerHistory {
public:
    // Removes the traces when enable is set (true); false when it is not.
    bool Clear(bool enable);
};
