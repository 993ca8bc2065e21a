// The string pool when its buffers cannot be allocated. A program of its own:
// the pool is made once per process, and here the making must fail.
#include <cstring>
#include <set>
#include <string>

#include <gtest/gtest.h>

#include "toolbox/tbas.h"
#include "toolbox/tplat_posix.h"

namespace {

int allocations = 0;
std::set<std::string> messages;
int messageCount = 0;

// Every third allocation fails, so the pool gets some buffers of its own.
bool everyThirdFails(std::size_t) { return ++allocations % 3 != 0; }

int countMessage(const char *text, const char *caption, unsigned) {
    ++messageCount;
    messages.insert(std::string(caption) + " / " + text);
    return 1;
}

}  // namespace

TEST(PoolFailure, OneMessageThenDistinctBuffers) {
    platMessageQuiet = 1;
    PlatMessageHook answer = platMessageHook;
    platMessageHook = countMessage;
    platAllocHook = everyThirdFails;
    EXPECT_EQ(initStringPool(), 1);
    EXPECT_EQ(messageCount, 1);
    EXPECT_EQ(messages, (std::set<std::string>{"Fatal Error / Could not allocate string pool"}));
    EXPECT_GE(allocations, poolStringCount);

    // Memory stays short. Later requests neither report again nor share a
    // buffer: each of 250 keeps its text while the 249 after it are taken.
    EXPECT_EQ(toolboxInit(), 0);
    EXPECT_EQ(initStringPool(), 0);
    std::set<char *> distinct;
    for (int i = 0; i < 3 * poolStringCount; ++i) distinct.insert(poolFormat("string %d", i));
    EXPECT_EQ(distinct.size(), static_cast<size_t>(poolStringCount));
    char *kept = poolString();
    std::strcpy(kept, "kept");
    for (int i = 1; i < poolStringCount; ++i) std::strcpy(poolString(), "other");
    EXPECT_STREQ(kept, "kept");
    EXPECT_EQ(poolString(), kept);
    EXPECT_STREQ(kept, "");
    EXPECT_EQ(messageCount, 1);
    platAllocHook = nullptr;
    platMessageHook = answer;
}
