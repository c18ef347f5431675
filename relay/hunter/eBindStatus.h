#pragma once
// The steps of a download as the hunter's binding reports them, numbered as
// URL monikers number their progress reports (1 to 47 are defined).

enum eBindStatus : unsigned long {
    BINDSTATUS_FINDINGRESOURCE = 1,
    BINDSTATUS_CONNECTING = 2,
    BINDSTATUS_REDIRECTING = 3,
    BINDSTATUS_BEGINDOWNLOADDATA = 4,
    BINDSTATUS_DOWNLOADINGDATA = 5,
    BINDSTATUS_ENDDOWNLOADDATA = 6,
    BINDSTATUS_USINGCACHEDCOPY = 10,
    BINDSTATUS_SENDINGREQUEST = 11,
    BINDSTATUS_DIRECTBIND = 30,
    BINDSTATUS_LAST = 47,
};
