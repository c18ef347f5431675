#pragma once
// An engine worker thread as its page drives it (the analyzer, the hunter).

class IWorkerControl {
public:
    virtual ~IWorkerControl() = default;

    virtual bool IsRunning() = 0;
    virtual bool Start() = 0;
    virtual bool Stop() = 0;
    // The worker's own reset after a run (the analyzer's); may do nothing.
    virtual void Reset() = 0;
};
