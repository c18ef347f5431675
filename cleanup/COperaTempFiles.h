#pragma once
// Opera 7's temporary files.

class COperaTempFiles {
public:
    // Removes the traces when enable is set (true); false when it is not.
    bool Clear(bool enable);
};
