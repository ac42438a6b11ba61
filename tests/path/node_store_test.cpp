#include <gtest/gtest.h>

#include "path/node_store.h"

namespace {

TEST(NodeHashTable, ExponentEightTilesTheGridInSixteenBySixteenSquares) {
    NodeHashTable table(8);
    EXPECT_EQ(table.BucketCount(), 256u);
    const struct { int x, y; unsigned bucket; } cases[] = {
        {0, 0, 0}, {15, 0, 15}, {0, 1, 16}, {15, 15, 255}, {17, 18, 1 | (2 << 4)}, {3 + 16, 5 + 32, 3 | (5 << 4)}};
    for (const auto& c : cases) EXPECT_EQ(table.BucketOf(c.x, c.y), c.bucket) << c.x << "," << c.y;
    // The exponent is capped at 24 and rounded down to even.
    const std::pair<int, int> exponents[] = {{8, 8}, {9, 8}, {24, 24}, {31, 24}, {-3, 0}};
    for (const auto& [asked, used] : exponents) EXPECT_EQ(NodeHashTable::EffectiveExponent(asked), used) << asked;
    EXPECT_EQ(NodeHashTable(1).BucketOf(123, 456), 0u);
}

TEST(NodeHashTable, NodesSharingABucketAreFoundAndRemovedSeparately) {
    NodeHashTable table(8);
    Node a{nullptr, 1, 1, 0, 0, nullptr}, b{nullptr, 17, 1, 0, 0, nullptr}, c{nullptr, 33, 17, 0, 0, nullptr};
    for (Node* n : {&a, &b, &c}) table.Insert(n);
    EXPECT_EQ(table.Find(17, 1), &b);
    table.RemoveFound();
    EXPECT_EQ(table.Find(17, 1), nullptr);
    EXPECT_EQ(table.Find(1, 1), &a);
    EXPECT_EQ(table.Find(33, 17), &c);
    EXPECT_EQ(table.Find(2, 2), nullptr);
    table.RemoveFound();  // after a failed lookup this removes nothing
    EXPECT_EQ(table.CountNodes(), 2u);
    table.Empty();
    EXPECT_EQ(table.Find(1, 1), nullptr);
}

std::vector<int> Contents(const FixedDeque<int>& deque) {
    std::vector<int> values;
    for (size_t i = 0; i < deque.Size(); ++i) values.push_back(deque.At(i));
    return values;
}

TEST(FixedDeque, KeepsOrderAcrossTheWrapAndRefusesToGrowPastItsCapacity) {
    FixedDeque<int> deque;
    deque.Reserve(4);
    for (int i = 1; i <= 3; ++i) deque.PushBack(i);
    deque.PopFront();
    deque.PopFront();
    deque.PushBack(4);
    deque.PushBack(5);  // the tail has wrapped
    EXPECT_TRUE(deque.Insert(1, 9));
    EXPECT_EQ(Contents(deque), (std::vector<int>{3, 9, 4, 5}));
    EXPECT_FALSE(deque.PushBack(6));
    EXPECT_FALSE(deque.PushFront(0));
    EXPECT_FALSE(deque.Insert(1, 7));
    deque.Erase(0);
    EXPECT_EQ(Contents(deque), (std::vector<int>{9, 4, 5}));
    EXPECT_TRUE(deque.PushFront(1));
    EXPECT_EQ(deque.Front(), 1);
    EXPECT_EQ(deque.Back(), 5);
    for (int i = 0; i < 5; ++i) deque.PopBack();  // popping an empty deque changes nothing
    EXPECT_TRUE(deque.Empty());
}

}  // namespace
