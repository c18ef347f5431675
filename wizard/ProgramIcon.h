#pragma once
// The program's icon (icon 128), shown by the welcome page and the About box.

#include <wx/icon.h>

namespace wizard {

// An empty icon when the resource is missing or cannot be decoded.
wxIcon ProgramIcon();

}  // namespace wizard
