#pragma once
// The file search's recent names and texts.

class CClearFindFile {
public:
    // Removes the traces when enable is set (true); false when it is not.
    bool Clear(bool enable);
};
