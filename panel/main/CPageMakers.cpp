#include "panel/main/CPageMakers.h"

#include <map>

#include "panel/main/CBaseDlg.h"

namespace {

std::map<int, CPageMakers::Maker>& Makers() {
    static std::map<int, CPageMakers::Maker> makers;
    return makers;
}

}  // namespace

CPageMakers::Maker CPageMakers::Set(int templateId, Maker maker) {
    Maker previous;
    auto found = Makers().find(templateId);
    if (found != Makers().end()) {
        previous = std::move(found->second);
        Makers().erase(found);
    }
    if (maker) Makers().emplace(templateId, std::move(maker));
    return previous;
}

std::unique_ptr<CBaseDlg> CPageMakers::Make(int templateId, CServerHost& host) {
    auto found = Makers().find(templateId);
    if (found == Makers().end()) return nullptr;
    return found->second(host);
}
