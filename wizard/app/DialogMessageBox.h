#pragma once
// Message boxes of the wizard shown as the toolkit's dialogs.

#include <string>

#include "platform/Messages.h"
#include "platform/Types.h"

namespace wizard {

// A platform::MessageBoxHandler: the box's buttons and icon as a dialog,
// the button pressed as IDOK, IDYES...
int ShowDialogMessageBox(platform::HWND owner, const std::string& text, const std::string& caption,
                         platform::UINT type);

}  // namespace wizard
