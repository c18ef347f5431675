#pragma once
// What the page framework needs of an open wizard page, apart from its
// window: ending its modal loop and the page that opened it.

namespace wizard {

// The result every wizard page ends with.
inline constexpr int kPageEndResult = 5;

class IWizardPage {
public:
    virtual ~IWizardPage() = default;
    // Ends the page's modal loop with result; a page that has a page of its
    // own open ends once that one has returned.
    virtual void EndDialog(int result) = 0;
    // The page that opened this one; null for the welcome page.
    virtual IWizardPage* GetPrevious() const = 0;
};

}  // namespace wizard
