#include "relay/http/CHeadCollector.h"

#include <algorithm>

#include "relay/engine/HttpHeadFields.h"

void CHeadCollector::Reset() {
    m_Head.clear();
    m_Searched = 0;
}

CHeadCollector::eCollect CHeadCollector::Collect(std::string_view& input) {
    if (m_Head.empty()) {
        while (!input.empty() && (input.front() == '\r' || input.front() == '\n')) input.remove_prefix(1);
    }
    const std::size_t before = m_Head.size();
    const std::size_t take = std::min(input.size(), m_Limit - before);
    m_Head.append(input.substr(0, take));
    const std::size_t end = httphead::FindHeadEnd(m_Head, m_Searched);
    if (end != httphead::npos) {
        input.remove_prefix(end - before);
        m_Head.resize(end);
        return eCollect::Done;
    }
    input.remove_prefix(take);
    m_Searched = m_Head.size();
    return m_Head.size() >= m_Limit ? eCollect::TooLarge : eCollect::NeedMore;
}
