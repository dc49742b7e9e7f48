#include "framework/core/CRect.h"

#include <gtest/gtest.h>

namespace {

::testing::AssertionResult Is(const RECT& r, int l, int t, int rr, int b)
{
    if (r.left == l && r.top == t && r.right == rr && r.bottom == b)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "(" << r.left << "," << r.top << "," << r.right << "," << r.bottom
                                         << ") instead of (" << l << "," << t << "," << rr << "," << b << ")";
}

TEST(Rect, IntersectAndUnionTable)
{
    struct Case {
        CRect a, b;
        BOOL intersects;
        CRect intersection;
        BOOL unites;
        CRect union_;
    } cases[] = {
        {{0, 0, 10, 10}, {5, 5, 15, 15}, TRUE, {5, 5, 10, 10}, TRUE, {0, 0, 15, 15}},
        {{0, 0, 10, 10}, {10, 0, 20, 10}, FALSE, {0, 0, 0, 0}, TRUE, {0, 0, 20, 10}},  // touching edges
        {{0, 0, 10, 10}, {2, 2, 3, 3}, TRUE, {2, 2, 3, 3}, TRUE, {0, 0, 10, 10}},
        {{0, 0, 10, 10}, {5, 5, 5, 20}, FALSE, {0, 0, 0, 0}, TRUE, {0, 0, 10, 10}},    // empty one ignored
        {{3, 3, 3, 3}, {1, 1, 1, 9}, FALSE, {0, 0, 0, 0}, FALSE, {0, 0, 0, 0}},        // both empty
        {{-5, -5, 0, 0}, {-10, -1, -4, 4}, TRUE, {-5, -1, -4, 0}, TRUE, {-10, -5, 0, 4}},
        {{10, 10, 0, 0}, {0, 0, 5, 5}, FALSE, {0, 0, 0, 0}, TRUE, {0, 0, 5, 5}},      // inverted is empty
    };
    for (const Case& c : cases) {
        CRect r(99, 99, 99, 99);
        EXPECT_EQ(r.IntersectRect(&c.a, &c.b), c.intersects);
        EXPECT_TRUE(r == c.intersection) << Is(r, c.intersection.left, c.intersection.top, c.intersection.right,
                                              c.intersection.bottom).message();
        EXPECT_EQ(r.UnionRect(&c.a, &c.b), c.unites);
        EXPECT_TRUE(r == c.union_) << Is(r, c.union_.left, c.union_.top, c.union_.right, c.union_.bottom).message();
        EXPECT_TRUE((c.a & c.b) == c.intersection);
        EXPECT_TRUE((c.a | c.b) == c.union_);
    }

    CRect self(0, 0, 10, 10);
    self &= CRect(5, 5, 20, 20);  // the destination may be a source
    EXPECT_TRUE(Is(self, 5, 5, 10, 10));
    self |= CRect(0, 0, 1, 1);
    EXPECT_TRUE(Is(self, 0, 0, 10, 10));
}

TEST(Rect, GeometryOperations)
{
    CRect r(10, 20, 40, 60);
    EXPECT_EQ(r.Width(), 30);
    EXPECT_EQ(r.Height(), 40);
    EXPECT_TRUE(r.Size() == CSize(30, 40));
    EXPECT_TRUE(r.CenterPoint() == CPoint(25, 40));
    EXPECT_TRUE(r.TopLeft() == CPoint(10, 20));
    r.BottomRight() = CPoint(50, 70);  // a reference into the rectangle
    EXPECT_TRUE(Is(r, 10, 20, 50, 70));

    struct Point {
        int x, y;
        bool inside;
    } points[] = {{10, 20, true}, {49, 69, true}, {50, 30, false}, {30, 70, false}, {9, 30, false}};
    for (const Point& p : points)
        EXPECT_EQ(r.PtInRect(CPoint(p.x, p.y)) != FALSE, p.inside) << p.x << "," << p.y;

    r.InflateRect(1, 2);
    EXPECT_TRUE(Is(r, 9, 18, 51, 72));
    r.DeflateRect(1, 2, 3, 4);
    EXPECT_TRUE(Is(r, 10, 20, 48, 68));
    r.OffsetRect(-10, 5);
    EXPECT_TRUE(Is(r, 0, 25, 38, 73));
    r += CPoint(1, 1);
    r -= CSize(2, 2);
    EXPECT_TRUE(Is(r, -1, 24, 37, 72));
    CRect border(1, 1, 1, 1);
    r += &border;  // inflate by a rectangle
    EXPECT_TRUE(Is(r, -2, 23, 38, 73));
    EXPECT_TRUE(Is(r - CPoint(1, 1), -3, 22, 37, 72));
    r.MoveToXY(0, 0);
    EXPECT_TRUE(Is(r, 0, 0, 40, 50));

    CRect inverted(30, 40, 10, 20);
    EXPECT_TRUE(inverted.IsRectEmpty());
    inverted.NormalizeRect();
    EXPECT_TRUE(Is(inverted, 10, 20, 30, 40));
    EXPECT_FALSE(inverted.IsRectEmpty());
    EXPECT_TRUE(CRect(5, 5, 5, 9).IsRectEmpty());
    EXPECT_FALSE(CRect(5, 5, 5, 9).IsRectNull());
    EXPECT_TRUE(CRect().IsRectNull());
    EXPECT_TRUE(inverted.EqualRect(CRect(10, 20, 30, 40)));
    EXPECT_FALSE(inverted.EqualRect(nullptr));
    inverted.SetRectEmpty();
    EXPECT_TRUE(inverted.IsRectNull());

    const RECT raw = {1, 2, 3, 4};
    CRect fromRaw(raw);
    LPCRECT asPointer = fromRaw;
    EXPECT_EQ(asPointer->bottom, 4);
    EXPECT_TRUE(CPoint(MAKELONG(-3, 7)) == CPoint(-3, 7));
    EXPECT_TRUE(CPoint(5, 5) - CPoint(2, 1) == CSize(3, 4));
}

}  // namespace
