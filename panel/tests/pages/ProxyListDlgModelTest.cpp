#include <gtest/gtest.h>

#include "FakePageHost.h"
#include "support/MessageBoxRecorder.h"
#include "support/TempRoot.h"
#include "panel/pages/CProxyListDlgModel.h"

namespace {

using pagetest::FakePool;
using pagetest::FakeRows;
using Proxies = std::vector<std::pair<std::string, int>>;

class ProxyListDlgModelTest : public kvtest::RootedTest {
protected:
    void Rows(std::initializer_list<FakeRows::Row> rows) { rows_.rows = rows; }

    FakeRows rows_;
    FakePool pool_;
    CProxyListDlgModel model_{rows_, pool_};
};

TEST_F(ProxyListDlgModelTest, DeletingWithEveryRowSelectedEmptiesThePoolInOneCall) {
    Rows({{"1.2.3.4", "80", true}, {"5.6.7.8", "3128", true}});
    model_.OnDeleteProxy();
    EXPECT_TRUE(rows_.rows.empty());
    EXPECT_EQ(pool_.deleteAlls, 1);
    EXPECT_TRUE(pool_.posted.empty());
    EXPECT_EQ(rows_.renumberCalls, (std::vector<bool>{false, true}));
}

TEST_F(ProxyListDlgModelTest, DeletingSomeRowsPostsOneRemoveForEachRowWithAnAddress) {
    Rows({{"1.2.3.4", "80", true}, {"", "81", true}, {"9.9.9.9", "1080", false}, {"5.6.7.8", "3128x", true}});
    model_.OnDeleteProxy();
    ASSERT_EQ(rows_.rows.size(), 1u);
    EXPECT_EQ(rows_.rows[0].address, "9.9.9.9");
    EXPECT_EQ(pool_.posted, (Proxies{{"1.2.3.4", 80}, {"5.6.7.8", 3128}}));
    EXPECT_EQ(pool_.deleteAlls, 0);
    EXPECT_EQ(rows_.renumberCalls, (std::vector<bool>{false, true}));
}

TEST_F(ProxyListDlgModelTest, ARefusedPostStillTakesTheRowOutOfTheView) {
    pool_.refusePosts = true;
    Rows({{"1.2.3.4", "80", true}, {"9.9.9.9", "1080", false}});
    model_.OnDeleteProxy();
    EXPECT_EQ(pool_.returned, (Proxies{{"1.2.3.4", 80}}));
    EXPECT_EQ(rows_.rows.size(), 1u);
}

TEST_F(ProxyListDlgModelTest, RemoveAllAsksFirstAndAnEmptyListAsksNothing) {
    {
        kvtest::MessageBoxRecorder boxes(platform::IDYES);
        model_.OnRemoveAll();
        EXPECT_TRUE(boxes.boxes().empty());
        EXPECT_EQ(pool_.deleteAlls, 0);
    }
    Rows({{"1.2.3.4", "80", false}});
    {
        kvtest::MessageBoxRecorder boxes(platform::IDNO);
        model_.OnRemoveAll();
        ASSERT_EQ(boxes.boxes().size(), 1u);
        EXPECT_EQ(boxes.boxes()[0].text, "Are you sure you want to delete all the proxy list?");
        EXPECT_EQ(boxes.boxes()[0].caption, "Kavelin Confirmation");
        EXPECT_EQ(boxes.boxes()[0].type, platform::MB_YESNO);
        EXPECT_EQ(pool_.deleteAlls, 0);
        EXPECT_EQ(rows_.rows.size(), 1u);
    }
    kvtest::MessageBoxRecorder boxes(platform::IDYES);
    model_.OnRemoveAll();
    EXPECT_EQ(pool_.deleteAlls, 1);
    EXPECT_TRUE(rows_.rows.empty());
}

TEST_F(ProxyListDlgModelTest, DeletingFromAnEmptyListDoesNothing) {
    model_.OnDeleteProxy();
    EXPECT_EQ(pool_.deleteAlls, 0);
    EXPECT_TRUE(rows_.renumberCalls.empty());
}

}  // namespace
