#include "view/drawing_objects.h"

#include <gtest/gtest.h>

namespace {

struct Slot {
    int key;
    unsigned lastUse;
};

// A key is found in any slot of its set and nowhere else; a new key takes an unused slot first,
// then the slot used longest ago, and a slot found again counts as used.
TEST(KeptWays, AKeyTakesTheSlotOfItsSetUsedLongestAgo) {
    Slot slots[2 * kKeptWays] = {};
    unsigned clock = 0;
    auto take = [&](int key, unsigned set, bool* found) {
        int i = KeptWayOf(
            slots, set, ++clock, [=](const Slot& s) { return s.key == key; }, found);
        if (!*found) slots[i].key = key;
        return i;
    };
    bool found = true;
    for (int key = 1; key <= kKeptWays; ++key) {
        EXPECT_EQ(kKeptWays + key - 1, take(key, 1, &found));
        EXPECT_FALSE(found);
    }
    EXPECT_EQ(kKeptWays, take(1, 1, &found)); // found again: now the newest
    EXPECT_TRUE(found);
    take(1, 0, &found); // the same key in another set is another key
    EXPECT_FALSE(found);
    EXPECT_EQ(kKeptWays + 1, take(99, 1, &found)); // key 2 was used longest ago
    EXPECT_FALSE(found);
    take(2, 1, &found);
    EXPECT_FALSE(found);
}

} // namespace
