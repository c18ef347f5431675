#pragma once
// The page makers of the control panel, by template id: each makes one
// page object (not yet created; the host creates its window). A page's
// area registers its maker with a static CPageMakers::Registrar in its own
// source file (the program links KVDeskCore whole, so none is dropped).
// The page factory (KavelinA) makes its pages through these makers too.

#include <functional>
#include <memory>

class CBaseDlg;
class CServerHost;

class CPageMakers {
public:
    using Maker = std::function<std::unique_ptr<CBaseDlg>(CServerHost& host)>;

    // Replaces the maker of templateId (an empty one removes it); returns
    // the previous one.
    static Maker Set(int templateId, Maker maker);
    // Null when no maker is registered or it made nothing.
    static std::unique_ptr<CBaseDlg> Make(int templateId, CServerHost& host);

    struct Registrar {
        Registrar(int templateId, Maker maker) { Set(templateId, std::move(maker)); }
    };
};
