#pragma once
// The telnet client's recent machines, services and terminal types.

class CClearTelNet {
public:
    // Removes the traces when enable is set (true); false when it is not.
    bool Clear(bool enable);
};
