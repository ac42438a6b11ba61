#include <gtest/gtest.h>

#include "path/node_store.h"

namespace {

Node At(int32_t x, int32_t y) { return Node{nullptr, x, y, 0, 0, nullptr}; }

TEST(NodeHashTable, ExponentEightTilesTheGridInSixteenBySixteenSquares) {
    NodeHashTable table(8);
    EXPECT_EQ(table.BucketCount(), 256u);
    EXPECT_EQ(table.BucketOf(0, 0), 0u);
    EXPECT_EQ(table.BucketOf(15, 0), 15u);
    EXPECT_EQ(table.BucketOf(0, 1), 16u);
    EXPECT_EQ(table.BucketOf(15, 15), 255u);
    EXPECT_EQ(table.BucketOf(17, 18), 1u | (2u << 4));
    // Cells one tile apart share a bucket.
    EXPECT_EQ(table.BucketOf(3, 5), table.BucketOf(3 + 16, 5 + 32));
}

TEST(NodeHashTable, ExponentIsCappedAndRoundedDownToEven) {
    EXPECT_EQ(NodeHashTable::EffectiveExponent(8), 8);
    EXPECT_EQ(NodeHashTable::EffectiveExponent(9), 8);
    EXPECT_EQ(NodeHashTable::EffectiveExponent(24), 24);
    EXPECT_EQ(NodeHashTable::EffectiveExponent(31), 24);
    EXPECT_EQ(NodeHashTable::EffectiveExponent(-3), 0);
    NodeHashTable single(1);
    EXPECT_EQ(single.BucketCount(), 1u);
    EXPECT_EQ(single.BucketOf(123, 456), 0u);
}

TEST(NodeHashTable, NodesSharingABucketAreFoundAndRemovedSeparately) {
    NodeHashTable table(8);
    Node a = At(1, 1), b = At(17, 1), c = At(33, 17);
    table.Insert(&a);
    table.Insert(&b);
    table.Insert(&c);
    EXPECT_EQ(table.CountNodes(), 3u);
    EXPECT_EQ(table.Find(17, 1), &b);
    table.RemoveFound();
    EXPECT_EQ(table.Find(17, 1), nullptr);
    EXPECT_EQ(table.Find(1, 1), &a);
    EXPECT_EQ(table.Find(33, 17), &c);
    EXPECT_EQ(table.CountNodes(), 2u);
    // A removal after a failed lookup removes nothing.
    EXPECT_EQ(table.Find(2, 2), nullptr);
    table.RemoveFound();
    EXPECT_EQ(table.CountNodes(), 2u);
    table.Empty();
    EXPECT_EQ(table.CountNodes(), 0u);
    EXPECT_EQ(table.Find(1, 1), nullptr);
}

TEST(NodeFactory, HandsOutEachNodeOnceAndTakesThemBackByCount) {
    NodeFactory pool(3);
    Node* first = pool.Acquire();
    Node* second = pool.Acquire();
    Node* third = pool.Acquire();
    ASSERT_NE(third, nullptr);
    EXPECT_NE(first, second);
    EXPECT_EQ(pool.Acquire(), nullptr);
    for (int i = 0; i < 5; ++i) pool.Release();
    EXPECT_EQ(pool.InUse(), 0u);
    EXPECT_EQ(pool.Acquire(), first);
}

std::vector<int> Contents(const FixedDeque<int>& deque) {
    std::vector<int> values;
    for (size_t i = 0; i < deque.Size(); ++i) values.push_back(deque.At(i));
    return values;
}

TEST(FixedDeque, RefusesToGrowPastItsCapacity) {
    FixedDeque<int> deque;
    deque.Reserve(3);
    EXPECT_TRUE(deque.PushBack(1));
    EXPECT_TRUE(deque.PushBack(2));
    EXPECT_TRUE(deque.PushBack(3));
    EXPECT_EQ(deque.Size(), 3u);
    EXPECT_FALSE(deque.PushBack(4));
    EXPECT_FALSE(deque.PushFront(0));
    EXPECT_FALSE(deque.Insert(1, 9));
    EXPECT_EQ(Contents(deque), (std::vector<int>{1, 2, 3}));
}

TEST(FixedDeque, KeepsLogicalOrderAcrossTheWrap) {
    FixedDeque<int> deque;
    deque.Reserve(4);
    deque.PushBack(1);
    deque.PushBack(2);
    deque.PushBack(3);
    deque.PopFront();
    deque.PopFront();
    deque.PushBack(4);
    deque.PushBack(5);  // the tail has wrapped
    EXPECT_EQ(deque.Size(), 3u);
    EXPECT_TRUE(deque.Insert(1, 9));
    EXPECT_EQ(Contents(deque), (std::vector<int>{3, 9, 4, 5}));
    EXPECT_EQ(deque.Size(), 4u);
    deque.Erase(0);
    EXPECT_EQ(Contents(deque), (std::vector<int>{9, 4, 5}));
    EXPECT_EQ(deque.Back(), 5);
    deque.PopBack();
    deque.PopBack();
    deque.PopBack();
    EXPECT_TRUE(deque.Empty());
    deque.PopBack();  // popping an empty deque changes nothing
    EXPECT_EQ(deque.Size(), 0u);
}

TEST(FixedDeque, InsertsAtEitherEnd) {
    FixedDeque<int> deque;
    deque.Reserve(4);
    EXPECT_TRUE(deque.Insert(0, 2));
    EXPECT_TRUE(deque.Insert(1, 4));
    EXPECT_TRUE(deque.Insert(1, 3));
    EXPECT_TRUE(deque.PushFront(1));
    EXPECT_EQ(Contents(deque), (std::vector<int>{1, 2, 3, 4}));
    EXPECT_EQ(deque.Front(), 1);
}

}  // namespace
