#include "engine/core/NamedNode.h"

#include <gtest/gtest.h>

#include <string>

namespace mareldon {
namespace {

struct Entry : NamedNode {
    Entry(NamedNode* root, const char* name, int* deletions) : NamedNode(root, name), deletions(deletions) {}
    ~Entry() override { ++*deletions; }
    int* deletions;
};

TEST(NamedNodeTest, BucketsHashSignedBytes) {
    NamedNode root(512);
    EXPECT_EQ(root.BucketOf(""), 0u);
    EXPECT_EQ(root.BucketOf("ab"), 33u);
    EXPECT_EQ(root.BucketOf("\x82"), 386u);  // unsigned bytes would give 130
    // Every length and byte value hashes as h = h * 31 + signed byte, one by one.
    std::string name;
    for (int length = 0; length < 40; ++length) {
        uint32_t h = 0;
        for (char c : name)
            h = h * 31u + uint32_t(int32_t(static_cast<signed char>(c)));
        EXPECT_EQ(NamedNode::NameHash(name.c_str()), h) << length;
        name += char((length * 37 + 129) % 255 + 1);  // never 0, both signs
    }
}

TEST(NamedNodeTest, FindGivesTheEarliestBuilt) {
    int deletions = 0;
    NameDictionary root;
    Entry* first = new Entry(&root, "x", &deletions);
    Entry* second = new Entry(&root, "x", &deletions);
    new Entry(&root, "xy", &deletions);
    EXPECT_EQ(root.Find("x"), first);
    EXPECT_EQ(root.Find(String("xy"))->GetName(), String("xy"));
    EXPECT_EQ(root.Find("y"), nullptr);
    delete first;
    EXPECT_EQ(root.Find("x"), second);
    EXPECT_EQ(root.NextEntry(), second);  // insertion order, minus the deleted one
}

TEST(NamedNodeTest, RootDeletesEntriesAndFreesTheTableOnce) {
    int baseline = NameBucketTable::LiveCount();
    int deletions = 0;
    NamedNode* root = new NameDictionary;
    for (const char* name : {"a", "b", "c"})
        new Entry(root, name, &deletions);
    EXPECT_EQ(root->table->useCount, 4);
    EXPECT_EQ(NameBucketTable::LiveCount(), baseline + 1);
    delete root;
    EXPECT_EQ(deletions, 3);
    EXPECT_EQ(NameBucketTable::LiveCount(), baseline);

    // A plain root deletes them too; an entry alone leaves the rest intact.
    NamedNode* plain = new NamedNode(8);
    Entry* lone = new Entry(plain, "a", &deletions);
    new Entry(plain, "b", &deletions);
    delete lone;
    EXPECT_NE(plain->Find("b"), nullptr);
    EXPECT_EQ(plain->table->useCount, 2);
    delete plain;
    EXPECT_EQ(deletions, 5);
    EXPECT_EQ(NameBucketTable::LiveCount(), baseline);
}

}  // namespace
}  // namespace mareldon
