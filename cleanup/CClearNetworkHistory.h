#pragma once
// The network places visited: the NetHood folder itself.

class CClearNetworkHistory {
public:
    // Removes the traces when enable is set (true); false when it is not.
    bool Clear(bool enable);
};
