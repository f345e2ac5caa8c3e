#pragma once

#include <cstdint>

namespace mareldon {

// A node that owns its children. The children form a circular doubly linked ring
// entered at firstChild, in ascending priority; equal priorities stay in the order
// they were attached.
class TreeNode {
  public:
    TreeNode() = default;
    // Unlinks from the parent, then deletes the children. Owners whose children call
    // back into them while dying call DeleteChildren() in their own destructor first.
    virtual ~TreeNode();
    TreeNode(const TreeNode&) = delete;
    TreeNode& operator=(const TreeNode&) = delete;

    // Links the node among newParent's children. A node that is linked already is
    // unlinked first (keeping its own subtree); a null parent leaves a ring of one.
    void Attach(TreeNode* newParent, int32_t newPriority);
    // Takes the node out of its parent's ring and attaches it under newParent.
    void Reattach(TreeNode* newParent, int32_t newPriority) { Attach(newParent, newPriority); }
    // Moves the node among its siblings to its place for the new priority.
    void SetPriority(int32_t newPriority) { Attach(parent, newPriority); }
    // Deletes the children one by one (always the current first child).
    void DeleteChildren();

    TreeNode* next = this;
    TreeNode* prev = this;
    TreeNode* parent = nullptr;
    TreeNode* firstChild = nullptr;
    int32_t priority = 0;
    int32_t childCount = 0;

  private:
    void Unlink();
};

}  // namespace mareldon
