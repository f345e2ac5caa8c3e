#include "engine/core/TreeNode.h"

namespace mareldon {

TreeNode::~TreeNode() {
    Unlink();
    DeleteChildren();
}

void TreeNode::Unlink() {
    if (parent == nullptr)
        return;
    if (next != this) {
        next->prev = prev;
        prev->next = next;
        if (parent->firstChild == this)
            parent->firstChild = next;
    } else {
        parent->firstChild = nullptr;
    }
    if (--parent->childCount == 0)
        parent->firstChild = nullptr;
    parent = nullptr;
    next = this;
    prev = this;
}

void TreeNode::Attach(TreeNode* newParent, int32_t newPriority) {
    Unlink();
    parent = newParent;
    priority = newPriority;
    if (newParent == nullptr)
        return;
    TreeNode* first = newParent->firstChild;
    if (first == nullptr) {
        next = this;
        prev = this;
        newParent->firstChild = this;
    } else {
        // Walk back from the end to the last sibling whose priority is not greater.
        TreeNode* after = first->prev;
        int32_t remaining = newParent->childCount;
        while (remaining > 0 && after->priority > newPriority) {
            after = after->prev;
            --remaining;
        }
        // None qualified: `after` is back at the last element, so the node lands in
        // front of firstChild, ring-wise.
        next = after->next;
        prev = after;
        after->next->prev = this;
        after->next = this;
        if (newPriority < first->priority)
            newParent->firstChild = this;
    }
    ++newParent->childCount;
}

void TreeNode::DeleteChildren() {
    while (childCount > 0)
        delete firstChild;
}

}  // namespace mareldon
