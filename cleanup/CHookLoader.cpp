#include "cleanup/CHookLoader.h"

#include <string>

#include "platform/Root.h"

namespace {

// The longest library path, terminating zero included; a longer one is
// refused rather than cut.
constexpr std::size_t kPathChars = 260;

using PFNHOOK = bool (*)(platform::HWND notify);

}  // namespace

CHookLoader::CHookLoader(platform::HWND notify, std::string_view libraryFile) : mNotifyWnd(notify) {
    std::string fragment(libraryFile);
    while (!fragment.empty() && (fragment.front() == '\\' || fragment.front() == '/'))
        fragment.erase(fragment.begin());
    const std::filesystem::path file = platform::ProgramImageFolder() / fragment;
    if (file.string().size() < kPathChars) mModule = platform::LoadLibrary(file);
}

bool CHookLoader::StartHook() { return CallHook("SetHook"); }

bool CHookLoader::StopHook() { return CallHook("ClearHook"); }

bool CHookLoader::CallHook(const char* exportName) {
    const auto hook = reinterpret_cast<PFNHOOK>(platform::GetProcAddress(mModule, exportName));
    if (!hook) return false;
    hook(mNotifyWnd);
    return true;
}
