#pragma once

#include <cstdint>

#include "engine/core/String.h"

namespace mareldon {

class NamedNode;

// A place in a bucket ring: the bucket heads are only this, the entries are nodes.
struct NameBucketLink {
    NameBucketLink* nextInBucket;
    NameBucketLink* prevInBucket;
};

// The buckets a root shares with its entries; freed by the last node that uses it.
struct NameBucketTable {
    explicit NameBucketTable(int32_t count);
    ~NameBucketTable();
    NameBucketTable(const NameBucketTable&) = delete;
    NameBucketTable& operator=(const NameBucketTable&) = delete;

    // Tables alive in the process (for tests of ownership).
    static int32_t LiveCount();

    NameBucketLink* sentinels;
    int32_t bucketCount;
    int32_t useCount = 0;
};

// An intrusive string-keyed dictionary: the entries are the named objects
// themselves (derive from NamedNode). An entry links itself into its root's entry
// ring and into its bucket when built and unlinks itself when destroyed; lookup
// finds the earliest-built entry of a name. Destroying the root deletes the entries
// that are still linked.
class NamedNode : private NameBucketLink {
  public:
    static constexpr int32_t kDefaultBucketCount = 512;

    // A root with `bucketCount` buckets (512 throughout the program).
    explicit NamedNode(int32_t bucketCount);
    // An entry under root (a null root gives an unlinked node).
    NamedNode(NamedNode* root, const char* name);
    virtual ~NamedNode();
    NamedNode(const NamedNode&) = delete;
    NamedNode& operator=(const NamedNode&) = delete;

    // h = h * 31 + signed byte, 32-bit wrap-around.
    static uint32_t NameHash(const char* name);
    // The bucket of name in this node's table.
    uint32_t BucketOf(const char* name) const;
    NamedNode* Find(const char* name) const;
    NamedNode* Find(const String& name) const;
    // Deletes the entries of a root, always the one after the root, until none is left.
    void DeleteEntries();

    const String& GetName() const { return name; }
    bool IsRoot() const { return nextInBucket == this; }
    NamedNode* NextEntry() const { return nextEntry; }

    String name;
    NamedNode* nextEntry;
    NamedNode* prevEntry;
    NameBucketTable* table;

  private:
    NamedNode* FindBytes(const char* bytes, uint32_t length) const;
};

// A root that owns its entries.
class NameDictionary : public NamedNode {
  public:
    explicit NameDictionary(int32_t bucketCount = kDefaultBucketCount) : NamedNode(bucketCount) {}
    ~NameDictionary() override { DeleteEntries(); }
};

}  // namespace mareldon
