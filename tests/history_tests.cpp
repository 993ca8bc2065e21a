// Tests of passage selection: the random routine, the history moves and the
// phrase file swap.
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "main/phrase/phrase.h"
#include "main/settings/settings.h"
#include "toolbox/tbas.h"

namespace {

struct HistoryTest : ::testing::Test {
    void SetUp() override { newPassageHistory(); }
    void fill(std::initializer_list<std::int32_t> positions) {
        for (std::int32_t p : positions) appendToHistory(p);
    }
    // The position a move leads to, or -1 for none.
    std::int32_t move(PassageMove m) {
        ListNode *node = resolvePassageMove(m);
        EXPECT_EQ(node, historyPos);
        return node != nullptr ? historyPosition(node) : -1;
    }
};

}  // namespace

TEST(Random, StaysInRangeAndSwapsReversedBounds) {
    bool seen[4] = {};
    for (int i = 0; i < 2000; ++i) {
        std::int32_t v = randomInRange(5, 2);
        ASSERT_TRUE(inRange(2, v, 5)) << v;
        seen[v - 2] = true;
    }
    EXPECT_TRUE(seen[0] && seen[1] && seen[2] && seen[3]);
    // A span wider than one draw reaches its far end too.
    std::int32_t highest = 0;
    for (int i = 0; i < 5000; ++i) {
        std::int32_t v = randomInRange(0, 100000);
        ASSERT_TRUE(inRange(0, v, 100000)) << v;
        highest = v > highest ? v : highest;
    }
    EXPECT_GT(highest, 90000);  // chance of failing: 0.9^5000
    // Extreme bounds, without overflow: both halves of the range come up.
    bool negative = false, positive = false;
    for (int i = 0; i < 1000; ++i) {
        std::int32_t v = randomInRange(INT32_MIN, INT32_MAX);
        (v < 0 ? negative : positive) = true;
    }
    EXPECT_TRUE(negative && positive);
    EXPECT_EQ(randomInRange(7, 7), 7);
    EXPECT_EQ(randomInRange(-3, -3), -3);
    for (int i = 0; i < 100; ++i) ASSERT_TRUE(inRange(0, coinFlip(), 1));
}

TEST_F(HistoryTest, MovesOnAnEmptyHistoryGiveNone) {
    for (PassageMove m : {PassageMove::First, PassageMove::Last, PassageMove::Next, PassageMove::Previous}) {
        EXPECT_EQ(move(m), -1);
    }
}

TEST_F(HistoryTest, PreviousNextFirstLastWalkTheHistory) {
    fill({10, 20, 30});
    // From a fresh random passage (none), Previous goes to the one before it.
    EXPECT_EQ(move(PassageMove::Previous), 20);
    EXPECT_EQ(move(PassageMove::Previous), 10);
    EXPECT_EQ(move(PassageMove::Previous), 10);  // the oldest again
    EXPECT_EQ(move(PassageMove::Next), 20);
    EXPECT_EQ(move(PassageMove::Next), 30);
    EXPECT_EQ(move(PassageMove::Next), -1);  // past the newest: random again
    EXPECT_EQ(move(PassageMove::Next), -1);
    EXPECT_EQ(move(PassageMove::Last), 30);
    EXPECT_EQ(move(PassageMove::Next), -1);
    EXPECT_EQ(move(PassageMove::First), 10);
}

TEST_F(HistoryTest, PreviousWithOneEntryShowsIt) {
    fill({42});
    EXPECT_EQ(move(PassageMove::Previous), 42);
    EXPECT_EQ(move(PassageMove::Next), -1);
}

TEST_F(HistoryTest, KeepsThe500NewestAndMovesThePositionOnTrim) {
    for (std::int32_t i = 0; i < 500; ++i) appendToHistory(i);
    EXPECT_EQ(move(PassageMove::First), 0);
    appendToHistory(500);  // 501st: the oldest goes, the position moves on
    EXPECT_EQ(lstCount(passageHistory), 500);
    ASSERT_NE(historyPos, nullptr);
    EXPECT_EQ(historyPosition(historyPos), 1);
    EXPECT_EQ(move(PassageMove::First), 1);
    EXPECT_EQ(move(PassageMove::Last), 500);

    newPassageHistory();
    EXPECT_EQ(lstCount(passageHistory), 0);
    EXPECT_EQ(historyPos, nullptr);
}

TEST(Swap, ExchangesWithARecentNameAndBack) {
    copyString(settings.PhraseFn, "a.txt", phraseFnSize);
    copyString(settings.RecentPhraseFn1, "b.txt", phraseFnSize);
    settings.RecentPhraseFn2[0] = '\0';
    EXPECT_FALSE(swapPhraseFile(settings.RecentPhraseFn2));
    EXPECT_STREQ(settings.PhraseFn, "a.txt");
    EXPECT_FALSE(swapPhraseFile(settings.PhraseFn));
    EXPECT_TRUE(swapPhraseFile(settings.RecentPhraseFn1));
    EXPECT_STREQ(settings.PhraseFn, "b.txt");
    EXPECT_STREQ(settings.RecentPhraseFn1, "a.txt");
    EXPECT_TRUE(swapPhraseFile(settings.RecentPhraseFn1));
    EXPECT_STREQ(settings.PhraseFn, "a.txt");
    EXPECT_STREQ(settings.RecentPhraseFn1, "b.txt");
}

TEST(Swap, NamesOfTheFullFieldSizeSurviveASwap) {
    std::string longName(1031, 'L');
    copyString(settings.PhraseFn, "short.txt", phraseFnSize);
    copyString(settings.RecentPhraseFn3, longName.c_str(), phraseFnSize);
    EXPECT_TRUE(swapPhraseFile(settings.RecentPhraseFn3));
    EXPECT_EQ(std::string(settings.PhraseFn), longName);
    EXPECT_TRUE(swapPhraseFile(settings.RecentPhraseFn3));
    EXPECT_EQ(std::string(settings.RecentPhraseFn3), longName);
    EXPECT_STREQ(settings.PhraseFn, "short.txt");
}
