#include "relay/engine/CStdStringVector.h"

#include <mutex>

CStdStringVector::CStdStringVector(const CStdStringVector& other) {
    std::lock_guard lock(other.m_CS);
    m_Strings = other.m_Strings;
}

CStdStringVector& CStdStringVector::operator=(const CStdStringVector& other) {
    if (this == &other) return *this;
    std::vector<std::string> copy;
    {
        std::lock_guard lock(other.m_CS);
        copy = other.m_Strings;
    }
    std::lock_guard lock(m_CS);
    m_Strings = std::move(copy);
    return *this;
}

void CStdStringVector::push_back(const char* text) {
    if (!text) return;
    std::lock_guard lock(m_CS);
    m_Strings.emplace_back(text);
}

void CStdStringVector::erase(iterator position) {
    std::lock_guard lock(m_CS);
    if (m_Strings.empty() || position == m_Strings.end()) return;
    m_Strings.erase(position);
}

void CStdStringVector::clear() {
    std::lock_guard lock(m_CS);
    m_Strings.clear();
}

bool CStdStringVector::empty() {
    std::lock_guard lock(m_CS);
    return m_Strings.empty();
}

int CStdStringVector::size() {
    std::lock_guard lock(m_CS);
    return static_cast<int>(m_Strings.size());
}

CStdStringVector::iterator CStdStringVector::begin() {
    std::lock_guard lock(m_CS);
    return m_Strings.begin();
}

CStdStringVector::iterator CStdStringVector::end() {
    std::lock_guard lock(m_CS);
    return m_Strings.end();
}

std::string& CStdStringVector::operator[](int index) {
    std::lock_guard lock(m_CS);
    return m_Strings[static_cast<std::size_t>(index)];
}
