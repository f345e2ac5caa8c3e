#include "engine/core/RefPtr.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace mareldon {
namespace {

struct Probe {
    explicit Probe(int* deletions) : deletions(deletions) {}
    virtual ~Probe() { ++*deletions; }
    int* deletions;
    RefPtr<Probe> inner;  // a handle owned by the object itself
};

struct DerivedProbe : Probe {
    using Probe::Probe;
};

TEST(RefPtrTest, EmptyHandleOwnsACell) {
    int freeTop = theCounterCellPool.FreeTop();
    {
        RefPtr<Probe> empty;
        EXPECT_EQ(empty.UseCount(), 1);
        EXPECT_EQ(empty.Get(), nullptr);
        EXPECT_EQ(theCounterCellPool.FreeTop(), freeTop - 1);
        RefPtr<Probe> copy(empty);
        EXPECT_EQ(copy.Cell(), empty.Cell());
        EXPECT_EQ(empty.UseCount(), 2);
    }
    EXPECT_EQ(theCounterCellPool.FreeTop(), freeTop);
}

TEST(RefPtrTest, LastReleaseDeletesOnce) {
    int deletions = 0;
    int freeTop = theCounterCellPool.FreeTop();
    {
        RefPtr<Probe> a(new Probe(&deletions));
        RefPtr<Probe> b(a);
        RefPtr<Probe> c;
        c = b;
        EXPECT_EQ(a.UseCount(), 3);
        a.Reset();
        b.Reset();
        EXPECT_EQ(deletions, 0);
        EXPECT_EQ(c.UseCount(), 1);
    }
    EXPECT_EQ(deletions, 1);
    EXPECT_EQ(theCounterCellPool.FreeTop(), freeTop);
}

TEST(RefPtrTest, SelfAssignmentAndSelfResetKeepTheObject) {
    int deletions = 0;
    RefPtr<Probe> a(new Probe(&deletions));
    Probe* object = a.Get();
    RefPtr<Probe>& alias = a;
    a = alias;
    EXPECT_EQ(a.Get(), object);
    EXPECT_EQ(a.UseCount(), 1);
    a.Reset(object);
    EXPECT_EQ(a.Get(), object);
    EXPECT_EQ(deletions, 0);

    RefPtr<Probe> b(a);  // assignment between handles sharing the cell
    a = b;
    EXPECT_EQ(a.UseCount(), 2);
    EXPECT_EQ(deletions, 0);
}

TEST(RefPtrTest, AssignFromAHandleInsideTheReleasedObject) {
    int deletions = 0;
    RefPtr<Probe> outer(new Probe(&deletions));
    outer->inner.Reset(new Probe(&deletions));
    Probe* inner = outer->inner.Get();
    outer = outer->inner;  // releasing outer destroys the handle we copy from
    EXPECT_EQ(deletions, 1);
    EXPECT_EQ(outer.Get(), inner);
    EXPECT_EQ(outer.UseCount(), 1);
}

TEST(RefPtrTest, BaseHandlesAndCustomDeleters) {
    int deletions = 0;
    {
        RefPtr<DerivedProbe> derived(new DerivedProbe(&deletions));
        RefPtr<Probe> base(derived);
        EXPECT_EQ(base.UseCount(), 2);
        derived.Reset();
    }
    EXPECT_EQ(deletions, 1);

    RefPtr<char> block(static_cast<char*>(std::malloc(16)), [](char* p) { std::free(p); });
    EXPECT_TRUE(block);
}

}  // namespace
}  // namespace mareldon
