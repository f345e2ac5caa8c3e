#include "engine/core/NamedNode.h"

#include <atomic>
#include <cstring>

namespace mareldon {

namespace {
std::atomic<int32_t> liveTables{0};
}  // namespace

NameBucketTable::NameBucketTable(int32_t count)
    : sentinels(new NameBucketLink[static_cast<size_t>(count > 0 ? count : 1)]),
      bucketCount(count > 0 ? count : 1) {
    for (int32_t i = 0; i < bucketCount; ++i) {
        sentinels[i].nextInBucket = &sentinels[i];
        sentinels[i].prevInBucket = &sentinels[i];
    }
    ++liveTables;
}

NameBucketTable::~NameBucketTable() {
    delete[] sentinels;
    --liveTables;
}

int32_t NameBucketTable::LiveCount() {
    return liveTables.load();
}

NamedNode::NamedNode(int32_t bucketCount)
    : NameBucketLink{this, this}, nextEntry(this), prevEntry(this), table(new NameBucketTable(bucketCount)) {
    ++table->useCount;
}

NamedNode::NamedNode(NamedNode* root, const char* entryName)
    : NameBucketLink{this, this}, name(entryName), nextEntry(this), prevEntry(this), table(nullptr) {
    if (root == nullptr || root->table == nullptr)
        return;
    table = root->table;
    ++table->useCount;
    // At the end of the entry ring, just before the root.
    nextEntry = root;
    prevEntry = root->prevEntry;
    root->prevEntry->nextEntry = this;
    root->prevEntry = this;
    // At the end of the bucket ring, just before its head.
    NameBucketLink* head = &table->sentinels[BucketOf(name.Text())];
    nextInBucket = head;
    prevInBucket = head->prevInBucket;
    head->prevInBucket->nextInBucket = this;
    head->prevInBucket = this;
}

NamedNode::~NamedNode() {
    if (table != nullptr && IsRoot())
        DeleteEntries();
    // Unlink before the table can go: the bucket heads live in it.
    nextEntry->prevEntry = prevEntry;
    prevEntry->nextEntry = nextEntry;
    nextInBucket->prevInBucket = prevInBucket;
    prevInBucket->nextInBucket = nextInBucket;
    if (table != nullptr && --table->useCount == 0)
        delete table;
}

uint32_t NamedNode::NameHash(const char* bytes) {
    auto value = [](char c) {
        return static_cast<uint32_t>(static_cast<int32_t>(static_cast<signed char>(c)));
    };
    // Four bytes a round, h * 31^4 + (c0 * 31^3 + c1 * 31^2 + c2 * 31 + c3): the same
    // value, without a multiply waiting on the one before for every byte (shader
    // keys run to hundreds of bytes and are looked up for every part drawn).
    uint32_t h = 0;
    const char* p = bytes;
    while (p[0] != 0 && p[1] != 0 && p[2] != 0 && p[3] != 0) {
        h = h * 923521u + (value(p[0]) * 29791u + value(p[1]) * 961u + value(p[2]) * 31u + value(p[3]));
        p += 4;
    }
    for (; *p != 0; ++p) {
        h = h * 31u + value(*p);
    }
    return h;
}

uint32_t NamedNode::BucketOf(const char* bytes) const {
    if (table == nullptr)
        return 0;
    return NameHash(bytes) % static_cast<uint32_t>(table->bucketCount);
}

NamedNode* NamedNode::FindBytes(const char* bytes, uint32_t length) const {
    if (table == nullptr)
        return nullptr;
    const NameBucketLink* head = &table->sentinels[BucketOf(bytes)];
    for (NameBucketLink* link = head->nextInBucket; link != head; link = link->nextInBucket) {
        NamedNode* node = static_cast<NamedNode*>(link);
        if (node->name.Length() == length && std::memcmp(node->name.Text(), bytes, length) == 0)
            return node;
    }
    return nullptr;
}

NamedNode* NamedNode::Find(const char* bytes) const {
    return FindBytes(bytes != nullptr ? bytes : "", StrLength(bytes));
}

NamedNode* NamedNode::Find(const String& key) const {
    return FindBytes(key.Text(), key.Length());
}

void NamedNode::DeleteEntries() {
    if (!IsRoot())
        return;  // an entry's ring holds the root
    while (nextEntry != this)
        delete nextEntry;
}

}  // namespace mareldon
