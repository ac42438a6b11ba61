// The planner's storage: search nodes, their pool, the closed set's hash table of node chains and
// the fixed-capacity ring buffer that holds the open list.
// Depends on nothing; knows nothing about costs or search order.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>

struct Node {
    Node* parent;  // null for the start
    int32_t x, y;
    float key;     // the open list's ordering value
    float cost;    // best known cost from the start
    Node* next;    // next node in the same hash bucket
};

// Every node a search can need, allocated once; nodes are handed out in order and given back by
// count only, because a search always returns all of them at once.
class NodeFactory {
public:
    explicit NodeFactory(size_t count);
    Node* Acquire();  // null once every node is out
    void Release();   // one node back; never below none out
    size_t Count() const { return count_; }
    size_t InUse() const { return nextFree_; }

private:
    size_t count_;
    std::unique_ptr<Node[]> nodes_;
    size_t nextFree_ = 0;
};

// 2^b chains of nodes; bucket (x AND m) OR ((y AND m) << b/2), m = 2^(b/2) - 1, so every square
// tile of 2^(b/2) cells on a side shares its buckets with no other cell of the tile.
class NodeHashTable {
public:
    explicit NodeHashTable(int sizeExponent);
    static int EffectiveExponent(int sizeExponent);  // capped at 24, rounded down to even
    size_t BucketCount() const { return size_t(1) << exponent_; }
    size_t BucketOf(int32_t x, int32_t y) const;

    // Find remembers where its walk stopped; RemoveFound unlinks the node it returned.
    Node* Find(int32_t x, int32_t y);
    void RemoveFound();
    void Insert(Node* node);  // at the head of its bucket
    size_t CountNodes() const { return nodeCount_; }
    void Empty();
    template <typename Visit>
    void ForEach(Visit visit) const {
        for (size_t b = 0; b < BucketCount(); ++b)
            for (const Node* n = buckets_[b]; n; n = n->next) visit(*n);
    }

private:
    int exponent_;
    int32_t mask_;
    std::unique_ptr<Node*[]> buckets_;
    Node** foundLink_ = nullptr;  // the link that points at the last found node
    size_t nodeCount_ = 0;
};

// Ring buffer of fixed capacity; elements are reached by logical index from the head.
template <typename T>
class FixedDeque {
public:
    bool Reserve(size_t capacity) {
        buffer_.reset(new T[capacity > 0 ? capacity : 1]);
        capacity_ = capacity;
        Clear();
        return true;
    }
    size_t Capacity() const { return capacity_; }
    bool Empty() const { return empty_; }
    size_t Size() const {
        if (empty_) return 0;
        return tail_ > head_ ? tail_ - head_ : capacity_ - head_ + tail_;
    }
    void Clear() {
        head_ = tail_ = 0;
        empty_ = true;
    }

    T& At(size_t index) { return buffer_[Wrap(head_ + index)]; }
    const T& At(size_t index) const { return buffer_[Wrap(head_ + index)]; }
    T& Front() { return At(0); }
    T& Back() { return At(Size() - 1); }

    bool PushBack(const T& value) {
        if (Size() == capacity_) return false;
        buffer_[tail_] = value;
        tail_ = Wrap(tail_ + 1);
        empty_ = false;
        return true;
    }
    void PopBack() {
        if (empty_) return;
        tail_ = tail_ == 0 ? capacity_ - 1 : tail_ - 1;
        empty_ = tail_ == head_;
    }
    bool PushFront(const T& value) {
        if (Size() == capacity_) return false;
        head_ = head_ == 0 ? capacity_ - 1 : head_ - 1;
        buffer_[head_] = value;
        empty_ = false;
        return true;
    }
    void PopFront() {
        if (empty_) return;
        head_ = Wrap(head_ + 1);
        empty_ = tail_ == head_;
    }
    // Shifts the elements from index on one place towards the tail.
    bool Insert(size_t index, const T& value) {
        size_t size = Size();
        if (size == capacity_ || index > size) return false;
        PushBack(value);
        for (size_t i = size; i > index; --i) At(i) = At(i - 1);
        At(index) = value;
        return true;
    }
    void Erase(size_t index) {
        size_t size = Size();
        if (index >= size) return;
        for (size_t i = index; i + 1 < size; ++i) At(i) = At(i + 1);
        PopBack();
    }

private:
    size_t Wrap(size_t index) const { return index >= capacity_ ? index - capacity_ : index; }

    std::unique_ptr<T[]> buffer_;
    size_t capacity_ = 0;
    size_t head_ = 0, tail_ = 0;
    bool empty_ = true;
};
