#include "cleanup/NetscapeProfile.h"

#include "platform/FileFind.h"
#include "platform/NoCasePath.h"
#include "platform/Root.h"

namespace cleanup {

std::string GetNetscapePath() {
    const auto appData = platform::ShellFolder(platform::CSIDL_APPDATA);
    if (!appData) return {};
    const auto profiles = platform::ResolveNoCase(*appData, "Mozilla\\profiles\\default");
    if (!profiles) return {};
    for (const platform::FindData& entry : platform::FindFiles(*profiles, "*.*")) {
        if (!entry.IsDots() && entry.IsDirectory() && !entry.IsLink())
            return (*profiles / entry.name).string();
    }
    return {};
}

}  // namespace cleanup
