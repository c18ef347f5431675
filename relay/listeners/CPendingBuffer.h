#pragma once
// Bytes accepted from one side that the other side could not take yet.
// The owner reads its source only while Size() is below its limit, so the
// buffer holds at most the limit plus one read.

#include <cstddef>
#include <functional>
#include <string_view>
#include <vector>

// What became of bytes handed to a socket.
enum class eSendOutcome { Sent, WouldBlock, Failed };

// A socket's Send: bytes sent, or a negative value with the WSA error set.
using SendFunction = std::function<int(const char* data, int length)>;

// Sends bytes until all are sent or the socket would block; bytes keeps
// what was not sent.
eSendOutcome SendUntilBlocked(std::string_view& bytes, const SendFunction& send);

class CPendingBuffer {
public:
    void Append(std::string_view bytes);
    std::string_view Front() const;
    void Consume(std::size_t n);
    std::size_t Size() const { return m_Bytes.size() - m_Begin; }
    bool Empty() const { return Size() == 0; }
    void Clear();

    // Sends what waits until the buffer is empty or the socket would block.
    eSendOutcome SendTo(const SendFunction& send);

private:
    std::vector<char> m_Bytes;
    std::size_t m_Begin = 0;
};
