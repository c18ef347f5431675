#pragma once
// Message boxes go through one replaceable handler: by default the text is
// written to stderr and the box's default button is the answer; the GUI
// programs install their dialog, tests install a recorder.

#include <functional>
#include <string>
#include <string_view>

#include "platform/Messages.h"
#include "platform/Types.h"

namespace platform {

inline constexpr UINT MB_OK = 0x00;
inline constexpr UINT MB_OKCANCEL = 0x01;
inline constexpr UINT MB_ABORTRETRYIGNORE = 0x02;
inline constexpr UINT MB_YESNOCANCEL = 0x03;
inline constexpr UINT MB_YESNO = 0x04;
inline constexpr UINT MB_RETRYCANCEL = 0x05;
inline constexpr UINT MB_TYPEMASK = 0x0F;
inline constexpr UINT MB_ICONHAND = 0x10;
inline constexpr UINT MB_ICONERROR = MB_ICONHAND;
inline constexpr UINT MB_ICONQUESTION = 0x20;
inline constexpr UINT MB_ICONEXCLAMATION = 0x30;
inline constexpr UINT MB_ICONWARNING = MB_ICONEXCLAMATION;
inline constexpr UINT MB_ICONASTERISK = 0x40;
inline constexpr UINT MB_ICONINFORMATION = MB_ICONASTERISK;
inline constexpr UINT MB_ICONMASK = 0xF0;

inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
inline constexpr int IDABORT = 3;
inline constexpr int IDRETRY = 4;
inline constexpr int IDIGNORE = 5;
inline constexpr int IDYES = 6;
inline constexpr int IDNO = 7;

using MessageBoxHandler =
    std::function<int(HWND owner, const std::string& text, const std::string& caption, UINT type)>;

// Shows the box through the current handler and returns the button (IDOK...).
int MessageBox(HWND owner, std::string_view text, std::string_view caption, UINT type);
// Installs a handler (an empty one restores the stderr default) and returns
// the previous one. Safe from any thread.
MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler);
// The answer of the default button of a box type: IDOK, IDABORT, IDYES, IDRETRY.
int DefaultMessageBoxAnswer(UINT type);

}  // namespace platform
