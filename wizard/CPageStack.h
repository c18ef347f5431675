#pragma once
// The open wizard pages, oldest first. A page pushes itself when it starts,
// Back pops it; Cancel and Finish end every page on it.

#include <cstddef>
#include <vector>

#include "wizard/IWizardPage.h"

namespace wizard {

class CPageStack {
public:
    void Push(IWizardPage* page);
    // Removes the last entry; nothing when empty.
    void Pop();
    // Throws std::out_of_range at or beyond Count().
    IWizardPage* At(std::size_t index) const;
    std::size_t Count() const { return pages_.size(); }
    // Forgets every entry of a page that goes away, so no entry outlives
    // its page.
    void Remove(const IWizardPage* page);

private:
    std::vector<IWizardPage*> pages_;
};

extern CPageStack g_pageStack;

}  // namespace wizard
