#include "path/node_store.h"

NodeFactory::NodeFactory(size_t count) : count_(count), nodes_(new Node[count > 0 ? count : 1]) {}

Node* NodeFactory::Acquire() {
    if (nextFree_ >= count_) return nullptr;
    return &nodes_[nextFree_++];
}

void NodeFactory::Release() {
    if (nextFree_ > 0) --nextFree_;
}

int NodeHashTable::EffectiveExponent(int sizeExponent) {
    if (sizeExponent < 0) return 0;
    if (sizeExponent > 24) sizeExponent = 24;
    return sizeExponent & ~1;
}

NodeHashTable::NodeHashTable(int sizeExponent)
    : exponent_(EffectiveExponent(sizeExponent)),
      mask_((int32_t(1) << (exponent_ / 2)) - 1),
      buckets_(new Node*[size_t(1) << exponent_]()) {}

size_t NodeHashTable::BucketOf(int32_t x, int32_t y) const {
    return size_t(uint32_t(x & mask_) | (uint32_t(y & mask_) << (exponent_ / 2)));
}

Node* NodeHashTable::Find(int32_t x, int32_t y) {
    Node** link = &buckets_[BucketOf(x, y)];
    while (*link && ((*link)->x != x || (*link)->y != y)) link = &(*link)->next;
    foundLink_ = link;
    return *link;
}

void NodeHashTable::RemoveFound() {
    if (!foundLink_ || !*foundLink_) return;
    Node* node = *foundLink_;
    *foundLink_ = node->next;
    node->next = nullptr;
    foundLink_ = nullptr;
    --nodeCount_;
}

void NodeHashTable::Insert(Node* node) {
    Node*& head = buckets_[BucketOf(node->x, node->y)];
    node->next = head;
    head = node;
    ++nodeCount_;
    // A remembered link may now point at the wrong place.
    foundLink_ = nullptr;
}

void NodeHashTable::Empty() {
    for (size_t b = 0; b < BucketCount(); ++b) buckets_[b] = nullptr;
    foundLink_ = nullptr;
    nodeCount_ = 0;
}
