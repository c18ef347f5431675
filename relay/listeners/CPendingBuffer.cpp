#include "relay/listeners/CPendingBuffer.h"

#include <algorithm>

#include "platform/Sockets.h"

eSendOutcome SendUntilBlocked(std::string_view& bytes, const SendFunction& send) {
    while (!bytes.empty()) {
        const int sent = send(bytes.data(), static_cast<int>(bytes.size()));
        if (sent > 0) {
            bytes.remove_prefix(static_cast<std::size_t>(sent));
        } else if (sent < 0 && platform::WSAGetLastError() == platform::WSAEWOULDBLOCK) {
            return eSendOutcome::WouldBlock;
        } else {
            return eSendOutcome::Failed;
        }
    }
    return eSendOutcome::Sent;
}

void CPendingBuffer::Append(std::string_view bytes) {
    // Sent bytes are dropped before the buffer grows.
    if (m_Begin > 0 && m_Bytes.size() + bytes.size() > m_Bytes.capacity()) {
        m_Bytes.erase(m_Bytes.begin(), m_Bytes.begin() + static_cast<std::ptrdiff_t>(m_Begin));
        m_Begin = 0;
    }
    m_Bytes.insert(m_Bytes.end(), bytes.begin(), bytes.end());
}

std::string_view CPendingBuffer::Front() const {
    return {m_Bytes.data() + m_Begin, Size()};
}

void CPendingBuffer::Consume(std::size_t n) {
    m_Begin += std::min(n, Size());
    if (m_Begin == m_Bytes.size()) Clear();
}

void CPendingBuffer::Clear() {
    m_Bytes.clear();
    m_Begin = 0;
}

eSendOutcome CPendingBuffer::SendTo(const SendFunction& send) {
    std::string_view waiting = Front();
    const eSendOutcome outcome = SendUntilBlocked(waiting, send);
    Consume(Size() - waiting.size());
    return outcome;
}
