#include "relay/pool/ProxyStatements.h"

#include <cstdio>

#include "relay/pool/CProxyDatabase.h"
#include "relay/pool/NumberText.h"

namespace proxysql {

std::string WhereAddress(const char* ip, int port) {
    std::string where = " IP='" + CProxyDatabase::Escape(ip ? ip : "") + "' ";
    if (port > 0) where += " and Port = " + numbertext::FromInt(port) + " ";
    return where;
}

std::string WhereCountry(double addressNumber) {
    char text[128];
    std::snprintf(text, sizeof text, " FromIP <= %.0f and ToIP >= %.0f ", addressNumber,
                  addressNumber);
    return text;
}

std::string WherePublicList(int type, const std::string& date) {
    return " Type = " + numbertext::FromInt(type) + " and Rank > 0 and TimeStamp > '" +
           CProxyDatabase::Escape(date) + "'";
}

std::string WherePrivateList(int type) {
    return " Type = " + numbertext::FromInt(type) + " and Rank > 0 ";
}

}  // namespace proxysql
