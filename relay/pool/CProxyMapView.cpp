// The pool's proxy list view: every stored proxy as one row.

#include <strings.h>

#include <mutex>
#include <span>
#include <string>

#include "relay/pool/CDatasetTranslator.h"
#include "relay/pool/CProxyMap.h"
#include "relay/pool/IListSink.h"
#include "relay/pool/NumberText.h"
#include "relay/pool/ProxyStatements.h"
#include "settings/CSettings.h"

namespace {

struct Column {
    const char* heading;
    int width;
    int widthKavelinP;  // when the running program is the second variant
};

constexpr Column kFullColumns[] = {
    {"Address", 80, 80},     {"Port", 40, 40},        {"Type", 60, 60},       {"Country", 80, 60},
    {"Rank", 80, 50},        {"Response Time", 80, 70}, {"Anonymity", 0, 0},  {"Time Stamp", 80, 0},
    {"Authenticate", 0, 0},  {"Gateway", 0, 0},       {"Fail Reason", 80, 0},
};
constexpr Column kShortColumns[] = {{"Address", 120, 120}, {"Port", 80, 80}};

// Table columns shown with three decimals, as the records store them.
constexpr int kRankColumn = 4;
constexpr int kResponseTimeColumn = 5;
constexpr int kTypeColumn = 2;

}  // namespace

const char* CProxyMap::getTypeAsString(int type) {
    switch (type) {
    case PROXY_TYPE_UNKNOWN: return "unknown";
    case PROXY_TYPE_HTTP: return "HTTP";
    case PROXY_TYPE_HTTPS: return "HTTPS";
    case PROXY_TYPE_SOCKS4: return "SOCKS4";
    case PROXY_TYPE_SOCKS5: return "SOCKS5";
    default: return nullptr;
    }
}

void CProxyMap::InsertColumns(IListSink& list, bool full) {
    const bool variant = CSettings::mAppName == eKavelinP;
    int index = 0;
    for (const Column& column : full ? std::span<const Column>(kFullColumns)
                                     : std::span<const Column>(kShortColumns)) {
        list.InsertColumn(index++, column.heading, variant ? column.widthKavelinP : column.width);
    }
}

bool CProxyMap::Write(IListSink& list, bool, bool full) {
    std::lock_guard lock(m_PoolCS);
    InsertColumns(list, full);
    CDatasetTranslator rows(true);
    m_Database.Select(proxysql::kProxyTable, rows, proxysql::kAllFields, "",
                      proxysql::kOrderListView, false, 0);
    for (int r = 0; r < rows.GetRowCount(); ++r) {
        const char* const* values = rows.GetRow(r);
        const int item = list.AppendItem(values[0] ? values[0] : "");
        const int shown = list.GetColumnCount();
        for (int column = 1; column < rows.GetColumnCount(); ++column) {
            const char* value = values[column] ? values[column] : "";
            std::string text = value;
            if (column == kTypeColumn) {
                const char* type = getTypeAsString(numbertext::ToInt(value));
                text = type ? type : "";
                list.SetItemImage(item, type && strcasecmp(type, "unknown") == 0 ? 1 : 0);
            } else if (column == kRankColumn || column == kResponseTimeColumn) {
                text = numbertext::Fixed3(numbertext::ToDouble(value));
            }
            // Texts for columns the view lacks are dropped, as a list control does.
            if (column < shown) list.SetItemText(item, column, text.c_str());
        }
    }
    return rows.GetRowCount() > 0;
}
