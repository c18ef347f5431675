#include "relay/hunter/CLinkExtractor.h"

#include <libxml/HTMLparser.h>
#include <libxml/tree.h>

#include <memory>
#include <mutex>
#include <vector>

std::vector<std::string> CLinkExtractor::AnchorHrefs(const std::string& html) {
    std::vector<std::string> hrefs;
    if (html.empty()) return hrefs;
    static std::once_flag once;
    std::call_once(once, [] { xmlInitParser(); });
    const int options = HTML_PARSE_RECOVER | HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING | HTML_PARSE_NONET;
    std::unique_ptr<xmlDoc, void (*)(xmlDocPtr)> doc(
        htmlReadMemory(html.data(), static_cast<int>(html.size()), nullptr, nullptr, options), xmlFreeDoc);
    if (!doc) return hrefs;
    // Walked without recursion: a page may nest elements very deeply.
    std::vector<xmlNode*> pending;
    if (xmlNode* root = xmlDocGetRootElement(doc.get())) pending.push_back(root);
    while (!pending.empty()) {
        xmlNode* node = pending.back();
        pending.pop_back();
        if (node->type == XML_ELEMENT_NODE && xmlStrcasecmp(node->name, BAD_CAST "a") == 0) {
            if (xmlChar* href = xmlGetProp(node, BAD_CAST "href")) {
                hrefs.emplace_back(reinterpret_cast<const char*>(href));
                xmlFree(href);
            }
        }
        std::vector<xmlNode*> children;
        for (xmlNode* child = node->children; child; child = child->next) children.push_back(child);
        pending.insert(pending.end(), children.rbegin(), children.rend());
    }
    return hrefs;
}
