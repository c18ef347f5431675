#pragma once
// The links of an HTML page (libxml2's forgiving HTML parser): the "href"
// of every anchor, as written, in document order.

#include <string>
#include <vector>

class CLinkExtractor {
public:
    static std::vector<std::string> AnchorHrefs(const std::string& html);
};
