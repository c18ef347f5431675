#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <vector>

#include "wizard/CDragTracker.h"
#include "wizard/CPageLoop.h"
#include "wizard/CPageStack.h"
#include "wizard/DialogIds.h"
#include "wizard/PageGeometry.h"
#include "wizard/PageTraits.h"

namespace wizard {
namespace {

// A page as the framework sees it, with the nesting of modal loops played
// out by hand: opening a page runs its loop inside its opener's.
class FakePage : public IWizardPage {
public:
    FakePage(FakePage* previous, std::vector<FakePage*>& ended) : previous_(previous), ended_(ended) {
        if (previous_) previous_->loop_.ChildOpened();
        loop_.Begin();
    }
    void EndDialog(int result) override {
        if (loop_.RequestEnd(result)) Ended(result);
    }
    IWizardPage* GetPrevious() const override { return previous_; }
    // The opener's handler gets control back once this loop has ended.
    void Ended(int result) {
        result_ = result;
        ended_.push_back(this);
        if (!previous_) return;
        if (const auto pending = previous_->loop_.ChildClosed()) previous_->Ended(*pending);
    }
    int result() const { return result_; }

private:
    FakePage* previous_;
    std::vector<FakePage*>& ended_;
    CPageLoop loop_;
    int result_ = -1;
};

struct NestedPages {
    std::vector<FakePage*> ended;
    std::vector<std::unique_ptr<FakePage>> pages;
    explicit NestedPages(int count) {
        for (int i = 0; i < count; ++i) {
            pages.push_back(std::make_unique<FakePage>(i ? pages.back().get() : nullptr, ended));
        }
    }
};

TEST(PageStackTest, PopsLastAndRefusesIndexesBeyondCount) {
    CPageStack stack;
    NestedPages nest(3);
    for (auto& page : nest.pages) stack.Push(page.get());
    stack.Pop();
    ASSERT_EQ(stack.Count(), 2u);
    EXPECT_EQ(stack.At(1), nest.pages[1].get());
    EXPECT_THROW(stack.At(2), std::out_of_range);
    stack.Pop();
    stack.Pop();
    stack.Pop();
    EXPECT_EQ(stack.Count(), 0u);
}

TEST(PageStackTest, ForgetsEveryEntryOfAPageThatGoesAway) {
    CPageStack stack;
    NestedPages nest(2);
    stack.Push(nest.pages[0].get());
    stack.Push(nest.pages[1].get());
    stack.Push(nest.pages[1].get());
    stack.Remove(nest.pages[1].get());
    ASSERT_EQ(stack.Count(), 1u);
    EXPECT_EQ(stack.At(0), nest.pages[0].get());
}

TEST(PageLoopTest, EndsOnlyTheInnermostLoopAndUnwindsTheRestInOrder) {
    NestedPages nest(4);
    CPageStack stack;
    for (auto& page : nest.pages) stack.Push(page.get());
    // Ending from the oldest page on, as Cancel and Finish do.
    for (IWizardPage* page : PagesToEnd(eCancelScope::WholeStack, nest.pages[3].get(), stack)) {
        page->EndDialog(kPageEndResult);
    }
    ASSERT_EQ(nest.ended.size(), 4u);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(nest.ended[i], nest.pages[3 - i].get());
        EXPECT_EQ(nest.pages[i]->result(), kPageEndResult);
    }
}

TEST(PageLoopTest, KeepsTheFirstResultAndEndsOnce) {
    CPageLoop loop;
    EXPECT_FALSE(loop.RequestEnd(5)) << "a loop that does not run ends nothing";
    loop.Begin();
    loop.ChildOpened();
    EXPECT_FALSE(loop.RequestEnd(5));
    EXPECT_FALSE(loop.RequestEnd(7));
    EXPECT_EQ(loop.ChildClosed(), 5);
    EXPECT_FALSE(loop.IsRunning());
    EXPECT_FALSE(loop.RequestEnd(5));
    loop.Begin();
    loop.ChildOpened();
    EXPECT_EQ(loop.ChildClosed(), std::nullopt) << "a page returning without an end asked leaves its opener running";
    EXPECT_TRUE(loop.RequestEnd(5));
}

TEST(PageTraitsTest, CancelScopesEndTheNamedPages) {
    NestedPages nest(3);
    CPageStack stack;
    for (auto& page : nest.pages) stack.Push(page.get());
    FakePage* top = nest.pages[2].get();
    const struct {
        eCancelScope scope;
        std::vector<IWizardPage*> expected;
    } cases[] = {
        {eCancelScope::Quit, {}},
        {eCancelScope::SelfAndPrevious, {top, nest.pages[1].get()}},
        {eCancelScope::SelfAndTwoPrevious, {top, nest.pages[1].get(), nest.pages[0].get()}},
        {eCancelScope::WholeStack, {nest.pages[0].get(), nest.pages[1].get(), top}},
    };
    for (const auto& c : cases) EXPECT_EQ(PagesToEnd(c.scope, top, stack), c.expected);
    // Openers run out before the scope does on the second page.
    EXPECT_EQ(PagesToEnd(eCancelScope::SelfAndTwoPrevious, nest.pages[1].get(), stack),
              (std::vector<IWizardPage*>{nest.pages[1].get(), nest.pages[0].get()}));
}

TEST(PageTraitsTest, EveryYesOfTheBuiltPagesEndsTheWholeWizard) {
    // Welcome, auto-configuration and setup type are the first three pages:
    // their scopes reach back to the welcome page.
    EXPECT_EQ(PageTraits(dlg::kWelcome).cancelScope, eCancelScope::Quit);
    EXPECT_EQ(PageTraits(dlg::kAutoConfig).cancelScope, eCancelScope::SelfAndPrevious);
    EXPECT_EQ(PageTraits(dlg::kSetupType).cancelScope, eCancelScope::SelfAndTwoPrevious);
    EXPECT_EQ(PageTraits(dlg::kFinish).cancelScope, eCancelScope::WholeStack);
    EXPECT_TRUE(PageTraits(dlg::kFinish).closeIgnored) << "close does nothing on the finish page";
    EXPECT_FALSE(PageTraits(dlg::kSetupType).closeIgnored);
    EXPECT_THROW(PageTraits(100), std::out_of_range);
}

TEST(PageTraitsTest, OnlyTheFirstTwoPagesStayShownUnderLaterOnes) {
    // The setup-type page's timer would hide the auto-configuration page;
    // that page and the welcome page stay shown beneath every later page.
    for (const auto& [dialog, stays] : {std::pair{dlg::kWelcome, true}, std::pair{dlg::kAutoConfig, true},
                                        std::pair{dlg::kSetupType, false}, std::pair{dlg::kFinish, false}}) {
        EXPECT_EQ(PageTraits(dialog).staysShown, stays) << dialog;
    }
    EXPECT_EQ(PageTraits(dlg::kSetupType).hideTimer, kHideTimerShort);
    EXPECT_EQ(PageTraits(dlg::kFinish).hideDelayMs, 1u);
}

TEST(PageGeometryTest, RegionCutsTheTemplateMargins) {
    const SPoint size = PageSizePixels();
    EXPECT_EQ(size, (SPoint{651, 445}));
    const struct {
        int dialog;
        SRect region;
    } cases[] = {
        {dlg::kWelcome, {14, 14, 531, 433}},
        {dlg::kAutoConfig, {14, 14, 531, 435}},
        {dlg::kFinish, {14, 14, 531, 435}},
    };
    for (const auto& c : cases) EXPECT_EQ(PageRegion(size.x, size.y, PageTraits(c.dialog)), c.region) << c.dialog;
    EXPECT_EQ(PageRegion(50, 5, PageTraits(dlg::kWelcome)), (SRect{14, 14, 14, 14})) << "never inverted";
}

TEST(DragTrackerTest, WindowFollowsThePointerFromWhereItWasPressed) {
    CDragTracker drag;
    EXPECT_EQ(drag.Move({5, 5}), std::nullopt);
    drag.Press({130, 70}, {100, 50});
    EXPECT_EQ(drag.Move({200, 10}), (SPoint{170, -10}));
    EXPECT_EQ(drag.Move({130, 70}), (SPoint{100, 50}));
    drag.Release();
    EXPECT_EQ(drag.Move({300, 300}), std::nullopt);
}

}  // namespace
}  // namespace wizard
