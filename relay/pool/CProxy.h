#pragma once
// A proxy of the pool with its row forms: the twelve columns of the tables
// Proxy and KVList, and one row of a list view.

#include <string>
#include <vector>

#include "relay/pool/CProxyAttrib.h"

class IListSink;

class CProxy : public CProxyAttrib {
public:
    // Number of table columns a record fills, in table order.
    static constexpr int kColumnCount = 12;

    CProxy(const char* address = "", int port = 0, eProxyType type = PROXY_TYPE_UNKNOWN,
           const char* country = "unknown");
    CProxy(platform::DWORD address, int port, eProxyType type);
    CProxy(const CProxy& other);
    CProxy& operator=(const CProxy& other);
    ~CProxy() override = default;

    // Applies values[0..count-1] by table column position; null values count
    // as empty text. True when count is above 0.
    bool Read(const char* const* values, int count);
    // Appends the column names and, in step, their stored texts.
    bool Write(std::vector<std::string>& names, std::vector<std::string>& values) const;
    // Shows the record as the last row of list. With hideUnusable a record
    // ranked -1 or below is skipped (true). False when list has no window.
    bool Write(IListSink& list, bool hideUnusable);

    static double ConvertIPToInteger(const char* address);
};
