#include "cleanup/CIEAutoComlete.h"

bool CIEAutoComlete::Clear(bool) { return false; }
