#include "relay/http/CRequestFramer.h"

#include <algorithm>

#include "relay/engine/HttpHeadFields.h"
#include "relay/http/HttpFraming.h"

CRequestFramer::Step CRequestFramer::Fail(eFailure failure) {
    m_State = eState::Failed;
    m_Failure = failure;
    return {eStep::Failed, {}};
}

CRequestFramer::Step CRequestFramer::BeginBody() {
    const std::string& head = m_Head.Head();
    if (httphead::EqualNoCase(RequestMethod(head), "connect")) {
        m_State = eState::Tunnel;
        return {eStep::Head, head};
    }
    const BodyFraming framing = RequestBodyFraming(head);
    switch (framing.kind) {
    case BodyFraming::eKind::Length:
        m_State = eState::Length;
        m_Left = framing.length;
        break;
    case BodyFraming::eKind::Chunked:
        m_State = eState::Chunked;
        m_Chunks.Reset();
        break;
    case BodyFraming::eKind::None:
        m_State = eState::Ended;
        break;
    default:
        return Fail(eFailure::BadFraming);
    }
    return {eStep::Head, head};
}

CRequestFramer::Step CRequestFramer::Next(std::string_view& input) {
    switch (m_State) {
    case eState::Failed:
        return {eStep::Failed, {}};
    case eState::Ended:
        m_State = eState::Head;
        m_Head.Reset();
        return {eStep::End, {}};
    case eState::Tunnel: {
        if (input.empty()) return {};
        const std::string_view bytes = input;
        input = {};
        return {eStep::Body, bytes};
    }
    case eState::Head:
        if (input.empty()) return {};
        switch (m_Head.Collect(input)) {
        case CHeadCollector::eCollect::Done:
            return BeginBody();
        case CHeadCollector::eCollect::TooLarge:
            return Fail(eFailure::HeadTooLarge);
        default:
            return {};
        }
    case eState::Length: {
        if (input.empty()) return {};
        const std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(m_Left, input.size()));
        const std::string_view bytes = input.substr(0, n);
        input.remove_prefix(n);
        m_Left -= n;
        if (m_Left == 0) m_State = eState::Ended;
        return {eStep::Body, bytes};
    }
    case eState::Chunked: {
        // The chunked coding passes as it came: the step spans every byte the
        // parser took, size lines and trailer included.
        if (input.empty()) return {};
        const std::string_view before = input;
        CChunkedBody::eStep kind = CChunkedBody::eStep::Data;
        while (kind == CChunkedBody::eStep::Data && !input.empty()) kind = m_Chunks.Next(input).kind;
        if (kind == CChunkedBody::eStep::Failed) return Fail(eFailure::BadFraming);
        if (kind == CChunkedBody::eStep::End) m_State = eState::Ended;
        return {eStep::Body, before.substr(0, before.size() - input.size())};
    }
    }
    return {};
}
