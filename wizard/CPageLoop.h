#pragma once
// The modal loop of one page among the nested ones. Only the innermost loop
// can end at once; an end asked of a page whose own page is still open is
// kept and carried out when that page returns, so many nested pages unwind
// one level at a time.

#include <optional>

namespace wizard {

class CPageLoop {
public:
    // The page's modal loop starts.
    void Begin();
    // True when the loop is to end now (it runs and has no page open above
    // it); otherwise the first result asked is kept, or, when the loop does
    // not run, nothing happens.
    bool RequestEnd(int result);
    // A page opened from this one starts and returns.
    void ChildOpened();
    // The result to end with now, when an end was asked meanwhile.
    std::optional<int> ChildClosed();

    bool IsRunning() const { return running_; }
    bool HasChildOpen() const { return childOpen_; }

private:
    bool running_ = false;
    bool childOpen_ = false;
    std::optional<int> pending_;
};

}  // namespace wizard
