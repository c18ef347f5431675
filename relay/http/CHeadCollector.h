#pragma once
// Collects one HTTP head (to its blank line) from bytes that arrive in any
// pieces, up to a limit. Empty lines before a head are skipped, as a
// message boundary may carry a stray line end.

#include <cstddef>
#include <string>
#include <string_view>

class CHeadCollector {
public:
    enum class eCollect { NeedMore, Done, TooLarge };

    explicit CHeadCollector(std::size_t limit) : m_Limit(limit) {}

    // Takes the head's bytes from the front of input (nothing past its blank
    // line). TooLarge once limit bytes came without a blank line.
    eCollect Collect(std::string_view& input);
    // The bytes collected: the whole head once Done.
    const std::string& Head() const { return m_Head; }
    void Reset();

private:
    const std::size_t m_Limit;
    std::string m_Head;
    std::size_t m_Searched = 0;
};
