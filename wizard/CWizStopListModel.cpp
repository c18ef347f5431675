#include "wizard/CWizStopListModel.h"

namespace wizard {

CWizStopListModel::CWizStopListModel() : servers_("Are You Sure You Want To Remove This Title %s") {
    servers_.SetState({.list = true, .add = true, .edit = false, .remove = false});
}

void CWizStopListModel::Load(const CSettings& s) {
    const CFiltrationSettings& filtration = *s.getFiltrationSettings();
    servers_.Load(filtration.mOutFiltration.GetServerStopList());
    // The hidden list box sorts what it receives, and is stored in its order.
    CWizEntryList custom{std::string()};
    custom.Load(filtration.mInFiltration.mBanners.GetCustomServerList());
    custom_ = custom.Lines();
}

void CWizStopListModel::Store(CSettings& s) const {
    CFiltrationSettings& filtration = *s.getFiltrationSettings();
    filtration.mInFiltration.mBanners.SetCustomServerList(custom_);
    filtration.mOutFiltration.SetServerStopList(servers_.Lines());
}

void CWizStopListModel::SetStopListBox(bool checked) {
    stopListBox_ = checked;
    servers_.SetBoxChecked(checked);
}

bool CWizStopListModel::AddServer(const std::string& text) {
    const std::string server = CWizEntryList::Trim(text);
    if (server.empty()) return false;
    servers_.EnableEditAndRemove();
    return servers_.Append(server);
}

}  // namespace wizard
