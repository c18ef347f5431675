#pragma once
// The fixed pieces of the pool's SQL statements. Texts placed in a where
// clause are escaped like inserted values.

#include <string>

namespace proxysql {

// "delete one proxy": " IP='<address>' ", then " and Port = <port> " when
// the port is above 0.
std::string WhereAddress(const char* ip, int port);
// "country of an address": " FromIP <= n and ToIP >= n " with n whole.
std::string WhereCountry(double addressNumber);
// "one public list of a type": rank above 0 and stamped after date.
std::string WherePublicList(int type, const std::string& date);
// "one private list of a type".
std::string WherePrivateList(int type);

inline constexpr const char* kProxyTable = "Proxy";
inline constexpr const char* kProxyTableSpaced = " Proxy ";
inline constexpr const char* kPrivateTable = " KVList ";
inline constexpr const char* kCountriesTable = " Countries ";

inline constexpr const char* kAllFields = "*";
inline constexpr const char* kAllFieldsSpaced = " * ";
inline constexpr const char* kCountryField = " Country ";

inline constexpr const char* kWhereUnanalysed = " Type < 2 OR Rank <= 0";
inline constexpr const char* kOrderRank = " Rank ";
inline constexpr const char* kOrderRankPlain = "Rank";
inline constexpr const char* kOrderListView = " type desc, rank desc, timestamp desc ";
inline constexpr const char* kOrderTypeRank = " type desc, rank desc ";
inline constexpr int kListLimit = 20;

}  // namespace proxysql
