#include "engine/core/TreeNode.h"

#include <gtest/gtest.h>

#include <vector>

namespace mareldon {
namespace {

std::vector<int32_t> Priorities(const TreeNode& parent) {
    std::vector<int32_t> out;
    const TreeNode* node = parent.firstChild;
    for (int32_t i = 0; i < parent.childCount; ++i, node = node->next) {
        out.push_back(node->priority);
        EXPECT_EQ(node->next->prev, node);
        EXPECT_EQ(node->parent, &parent);
    }
    if (parent.childCount > 0) {
        EXPECT_EQ(node, parent.firstChild);  // a closed ring
    }
    return out;
}

TEST(TreeNodeTest, AttachKeepsAscendingPriority) {
    TreeNode root;
    std::vector<TreeNode*> nodes;
    for (int32_t p : {5, 1, 5, 3, 0, 9, 3}) {
        nodes.push_back(new TreeNode);
        nodes.back()->Attach(&root, p);
    }
    EXPECT_EQ(Priorities(root), (std::vector<int32_t>{0, 1, 3, 3, 5, 5, 9}));
    EXPECT_EQ(root.firstChild, nodes[4]);
    EXPECT_EQ(root.firstChild->next->next->next, nodes[6]);  // the second 3 behind the first
}

TEST(TreeNodeTest, ReattachAndSetPriorityMoveTheSubtree) {
    TreeNode a;
    TreeNode b;
    TreeNode* x = new TreeNode;
    TreeNode* y = new TreeNode;
    TreeNode* grandchild = new TreeNode;
    x->Attach(&a, 1);
    y->Attach(&a, 2);
    grandchild->Attach(x, 0);

    x->SetPriority(3);
    EXPECT_EQ(Priorities(a), (std::vector<int32_t>{2, 3}));
    EXPECT_EQ(a.firstChild, y);

    x->Reattach(&b, 7);
    EXPECT_EQ(Priorities(a), (std::vector<int32_t>{2}));
    EXPECT_EQ(Priorities(b), (std::vector<int32_t>{7}));
    EXPECT_EQ(x->firstChild, grandchild);

    y->Attach(nullptr, 0);  // unlinks, keeps the node alone
    EXPECT_EQ(a.childCount, 0);
    EXPECT_EQ(a.firstChild, nullptr);
    EXPECT_EQ(y->next, y);
    delete y;
}

}  // namespace
}  // namespace mareldon
