#include "relay/pool/CProxy.h"

#include <algorithm>

#include "relay/pool/IListSink.h"
#include "relay/pool/NumberText.h"
#include "relay/pool/ProxyAddress.h"

namespace {

// Column names of the tables Proxy and KVList; the order is binding, rows
// are read back by position.
constexpr const char* kColumns[CProxy::kColumnCount] = {
    "IP",        "Port",         "Type",    "Country",    "Rank",       "ResponseTime",
    "Anonymous", "TimeStamp", "authonticate", "GateWay", "FailReason", "FailCount"};

const char* OrEmpty(const char* text) { return text ? text : ""; }

}  // namespace

CProxy::CProxy(const char* address, int port, eProxyType type, const char* country)
    : CProxyAttrib(address, port, type, country) {}

CProxy::CProxy(platform::DWORD address, int port, eProxyType type)
    : CProxyAttrib(address, port, type) {}

CProxy::CProxy(const CProxy& other) : CProxyAttrib() { *this = other; }

CProxy& CProxy::operator=(const CProxy& other) {
    CProxyAttrib::operator=(other);
    return *this;
}

bool CProxy::Read(const char* const* values, int count) {
    for (int i = 0; i < count && i < kColumnCount; ++i) {
        const char* value = OrEmpty(values[i]);
        switch (i) {
        case 0: setIP(value); break;
        case 1: setPort(numbertext::ToInt(value)); break;
        case 2: setType(static_cast<eProxyType>(numbertext::ToInt(value))); break;
        case 3: setCountry(value); break;
        case 4: setRank(numbertext::ToDouble(value)); break;
        // Read as a whole number on purpose: the rank follows from it.
        case 5: setResponseTime(numbertext::ToInt(value)); break;
        case 6: setIsAnonymous(numbertext::ToInt(value) != 0); break;
        case 7: setTimeStamp(value); break;
        case 8: setNeedAuth(numbertext::ToInt(value) != 0); break;
        case 9: setGateWay(value); break;
        case 10: setFailReason(value); break;
        case 11: setFailCount(numbertext::ToInt(value)); break;
        }
    }
    return count > 0;
}

bool CProxy::Write(std::vector<std::string>& names, std::vector<std::string>& values) const {
    const std::string texts[kColumnCount] = {
        getIP(),
        numbertext::FromInt(getPort()),
        numbertext::FromInt(getType()),
        getCountry(),
        numbertext::Fixed3(getRank()),
        numbertext::Fixed3(getResponseTime()),
        numbertext::FromInt(getIsAnonymous() ? 1 : 0),
        getTimeStamp(),
        numbertext::FromInt(getNeedAuth() ? 1 : 0),
        getGateWay(),
        getFailReason(),
        numbertext::FromInt(getFailCount()),
    };
    for (int i = 0; i < kColumnCount; ++i) {
        names.emplace_back(kColumns[i]);
        values.push_back(texts[i]);
    }
    return true;
}

bool CProxy::Write(IListSink& list, bool hideUnusable) {
    if (hideUnusable && getRank() <= -1) return true;
    if (!list.HasWindow()) return false;
    const int row = list.AppendItem(getIP());
    setListRow(row);
    const int last = std::min(list.GetColumnCount() - 1, 10);
    for (int column = 1; column <= last; ++column) {
        std::string text;
        switch (column) {
        case 1: text = numbertext::FromInt(getPort()); break;
        case 2:
            text = OrEmpty(getTypeAsString());
            list.SetItemImage(row, getType() == PROXY_TYPE_UNKNOWN ? 1 : 0);
            break;
        case 3: text = getCountry(); break;
        case 4: text = numbertext::Fixed3(getRank()); break;
        case 5: text = numbertext::Fixed3(getResponseTime()); break;
        case 6: text = getIsAnonymous() ? "YES" : "NO"; break;
        case 7: text = getTimeStamp(); break;
        case 8: text = getNeedAuth() ? "YES" : "FALSE"; break;
        case 9: text = getGateWay(); break;
        case 10: text = getFailReason(); break;
        }
        list.SetItemText(row, column, text.c_str());
    }
    return true;
}

double CProxy::ConvertIPToInteger(const char* address) { return ::ConvertIPToInteger(address); }
