#pragma once
// The HTTP filter as the engine facade calls it. The default passes every
// request and response through unchanged; the filtration manager takes its
// place with CBaseServer::SetHttpFilter.

#include "relay/eRequestState.h"

class CSettings;

class IHttpFilter {
public:
    virtual ~IHttpFilter() = default;

    // Takes the filter settings at a server start.
    virtual void Load(CSettings&) {}
    // May change the data and its length (the buffer holds at least
    // length + 1 bytes and is zero-terminated).
    virtual eRequestState FilterRequest(char*, int&) { return REQUEST_STATE_PASS; }
    virtual void FilterResponse(char*, int&) {}
};
