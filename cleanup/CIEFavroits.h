#pragma once
// The system browser's favourites.

#include "cleanup/CCleanIE.h"

class CIEFavroits : public CCleanIE {
public:
    // Removes the traces when enable is set (true); false when it is not.
    bool Clear(bool enable);
};
