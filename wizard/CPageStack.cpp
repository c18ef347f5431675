#include "wizard/CPageStack.h"

#include <algorithm>
#include <stdexcept>

namespace wizard {

CPageStack g_pageStack;

void CPageStack::Push(IWizardPage* page) { pages_.push_back(page); }

void CPageStack::Pop() {
    if (!pages_.empty()) pages_.pop_back();
}

IWizardPage* CPageStack::At(std::size_t index) const {
    if (index >= pages_.size()) throw std::out_of_range("page stack index");
    return pages_[index];
}

void CPageStack::Remove(const IWizardPage* page) { std::erase(pages_, page); }

}  // namespace wizard
