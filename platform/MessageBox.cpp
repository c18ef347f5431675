#include "platform/MessageBox.h"

#include <iostream>
#include <mutex>

namespace platform {

namespace {

int WriteToStderr(HWND, const std::string& text, const std::string& caption, UINT type) {
    std::cerr << caption << ": " << text << std::endl;
    return DefaultMessageBoxAnswer(type);
}

struct HandlerSlot {
    std::mutex mutex;
    MessageBoxHandler handler = WriteToStderr;
};

HandlerSlot& slot() {
    static HandlerSlot* s = new HandlerSlot;
    return *s;
}

}  // namespace

int DefaultMessageBoxAnswer(UINT type) {
    switch (type & MB_TYPEMASK) {
    case MB_ABORTRETRYIGNORE:
        return IDABORT;
    case MB_YESNOCANCEL:
    case MB_YESNO:
        return IDYES;
    case MB_RETRYCANCEL:
        return IDRETRY;
    default:
        return IDOK;
    }
}

int MessageBox(HWND owner, std::string_view text, std::string_view caption, UINT type) {
    MessageBoxHandler handler;
    {
        std::lock_guard lock(slot().mutex);
        handler = slot().handler;
    }
    return handler(owner, std::string(text), std::string(caption), type);
}

MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler) {
    std::lock_guard lock(slot().mutex);
    MessageBoxHandler previous = std::move(slot().handler);
    slot().handler = handler ? std::move(handler) : MessageBoxHandler(WriteToStderr);
    return previous;
}

}  // namespace platform
