#pragma once
// Bytes accepted from one side that the other side could not take yet.
// The owner reads its source only while Size() is below its limit, so the
// buffer holds at most the limit plus one read.

#include <cstddef>
#include <string_view>
#include <vector>

class CPendingBuffer {
public:
    void Append(std::string_view bytes);
    std::string_view Front() const;
    void Consume(std::size_t n);
    std::size_t Size() const { return m_Bytes.size() - m_Begin; }
    bool Empty() const { return Size() == 0; }
    void Clear();

private:
    std::vector<char> m_Bytes;
    std::size_t m_Begin = 0;
};
