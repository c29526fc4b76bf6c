#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "core/Fragment.h"

namespace {
TEST(Fragment, TypeColourTable) {
    const struct {
        int type;
        int32_t colour;
    } table[] = {{0, 0x00BEB3FF}, {1, 0x00D9FFC6}, {2, 0x00C6FFF8}, {3, 0x00FFF0C6},
                 {4, 0x00FFC6EF}, {5, 0x00D1D1D1}, {6, 0x00FFFFFF}, {7, 0x00FFFFFF}, {255, 0x00FFFFFF}};
    for (const auto& row : table) {
        TFragment f;
        f.setTypeOfFragments(static_cast<uint8_t>(row.type));
        EXPECT_EQ(f.color, row.colour) << row.type;
        EXPECT_EQ(f.typeOfFragments(), row.type);
    }
}

TEST(Fragment, Constructors) {
    TFragment a(1, true, 2.0L, 3.0L);
    EXPECT_EQ(a.typeOfFragments(), 1);
    EXPECT_EQ(a.color, 0x00D9FFC6);
    EXPECT_TRUE(a.paint);

    TFragment b(0, 4.0L, 5.0L);
    EXPECT_EQ(b.color, 0x00BEB3FF);
    EXPECT_FALSE(b.paint);

    // Start and end alone: type 0 but white.
    TFragment c(4.0L, 5.0L);
    EXPECT_EQ(c.typeOfFragments(), 0);
    EXPECT_EQ(c.color, 0x00FFFFFF);
    EXPECT_FALSE(c.paint);
    EXPECT_EQ(TFragment().color, 0x00FFFFFF);
}

TEST(Fragment, AssignKeepsAColourOtherThanTheTypes) {
    TFragment src(2, true, 1.0L, 9.0L);
    src.name = "Интервал 3";
    src.color = 0x00123456;
    TFragment dst;
    dst.assign(src);
    EXPECT_EQ(dst.name, "Интервал 3");
    EXPECT_EQ(dst.typeOfFragments(), 2);
    EXPECT_EQ(dst.color, 0x00123456);
    EXPECT_EQ(dst.endPoint, 9.0L);
}

struct CountingList : TFragmentList {
    int changes = 0;
    int repaints = 0;
    CountingList() {
        OnChangeFragments = [this] { ++changes; };
        OnRepaint = [this] { ++repaints; };
    }
};

TEST(FragmentList, AddChangeDeleteAndNaming) {
    CountingList list;
    list.typeOfCurFragments = 1;
    list.paintOfCurFragments = true;
    list.addFragment(1.0L, 2.0L);
    list.addFragment(3.0L, 4.0L);
    ASSERT_EQ(list.numOfFragments(), 2);
    EXPECT_EQ(list.fragments[0].name, "Интервал 1");
    EXPECT_EQ(list.fragments[1].name, "Интервал 2");
    EXPECT_EQ(list.fragments[1].color, 0x00D9FFC6);
    EXPECT_TRUE(list.fragments[1].paint);
    EXPECT_EQ(list.changes, 2);

    // The number is the new count, not a running serial.
    list.delFragment(0);
    list.addFragment(5.0L, 6.0L);
    EXPECT_EQ(list.fragments[1].name, "Интервал 2");
    EXPECT_EQ(list.changes, 4);

    list.addFragment("Мой", 0, 7.0L, 8.0L);
    EXPECT_EQ(list.fragments[2].name, "Мой");
    EXPECT_TRUE(list.fragments[2].paint);
    EXPECT_EQ(list.fragments[2].color, 0x00BEB3FF);

    list.fragments[0].paint = false;
    list.changeFragment(0, "Новый", 3, 10.0L, 11.0L);
    EXPECT_EQ(list.fragments[0].name, "Новый");
    EXPECT_EQ(list.fragments[0].color, 0x00FFF0C6);
    EXPECT_EQ(list.fragments[0].startPoint, 10.0L);
    EXPECT_FALSE(list.fragments[0].paint);  // paint flag stays
    const int before = list.changes;

    // Indexes out of range are ignored, without an event.
    list.changeFragment(3, "x", 0, 0, 1);
    list.changeFragment(-1, "x", 0, 0, 1);
    list.delFragment(3);
    list.delFragment(-1);
    EXPECT_EQ(list.changes, before);
    EXPECT_EQ(list.numOfFragments(), 3);

    list.delAllFragment();
    EXPECT_EQ(list.numOfFragments(), 0);
    EXPECT_EQ(list.changes, before + 1);
    list.delAllFragment();  // empty: no event
    EXPECT_EQ(list.changes, before + 1);
    EXPECT_GE(list.repaints, list.changes);
}

TEST(FragmentList, EventOrderOfEachChange) {
    // add and delete tell the change, then repaint; a change of a fragment repaints with it
    // first, then tells the change and repaints again.
    TFragmentList list;
    std::string log;
    list.OnChangeFragments = [&] { log += 'E'; };
    list.OnRepaint = [&] { log += 'R'; };
    list.addFragment(1.0L, 2.0L);
    EXPECT_EQ(log, "ER");
    log.clear();
    list.changeFragment(0, "x", 1, 1.0L, 3.0L);
    EXPECT_EQ(log, "RER");
    log.clear();
    list.delFragment(0);
    EXPECT_EQ(log, "ER");
}

TEST(FragmentList, MouseMarking) {
    struct Step {
        bool down;
        TMouseButton button;
        double x;
    };
    struct Case {
        const char* what;
        std::vector<Step> steps;
        bool created;
        double start, end;
    };
    const double lo = 10, hi = 20;
    const std::vector<Case> cases = {
        {"left to right", {{true, TMouseButton::Left, 12}, {false, TMouseButton::Left, 15}}, true, 12, 15},
        {"right to left", {{true, TMouseButton::Left, 15}, {false, TMouseButton::Left, 12}}, true, 12, 15},
        {"starts left of the axis", {{true, TMouseButton::Left, 5}, {false, TMouseButton::Left, 15}}, true, 10, 15},
        {"ends right of the axis", {{true, TMouseButton::Left, 15}, {false, TMouseButton::Left, 99}}, true, 15, 20},
        {"click without move", {{true, TMouseButton::Left, 12}, {false, TMouseButton::Left, 12}}, false, 0, 0},
        {"wholly beyond the axis", {{true, TMouseButton::Left, 1}, {false, TMouseButton::Left, 2}}, false, 0, 0},
        {"right press cancels",
         {{true, TMouseButton::Left, 12}, {true, TMouseButton::Right, 14}, {false, TMouseButton::Left, 15}},
         false, 0, 0},
        {"release of another button finishes",
         {{true, TMouseButton::Left, 12}, {false, TMouseButton::Middle, 16}}, true, 12, 16},
        {"a new left press restarts",
         {{true, TMouseButton::Left, 12}, {true, TMouseButton::Left, 13}, {false, TMouseButton::Left, 17}},
         true, 13, 17},
        {"right press alone", {{true, TMouseButton::Right, 12}, {false, TMouseButton::Right, 14}}, false, 0, 0},
    };
    for (const auto& cs : cases) {
        CountingList list;
        list.fragmentsOn = true;
        for (const auto& s : cs.steps) {
            if (s.down)
                list.chartMouseDown(s.button, true, s.x, lo, hi);
            else
                list.chartMouseUp(s.button, true, s.x, lo, hi);
        }
        EXPECT_FALSE(list.holdCheck) << cs.what;
        EXPECT_EQ(list.cursor, kCursorDefault) << cs.what;
        ASSERT_EQ(list.numOfFragments(), cs.created ? 1 : 0) << cs.what;
        EXPECT_EQ(list.changes, cs.created ? 1 : 0) << cs.what;
        if (cs.created) {
            EXPECT_EQ(list.fragments[0].startPoint, cs.start) << cs.what;
            EXPECT_EQ(list.fragments[0].endPoint, cs.end) << cs.what;
            EXPECT_EQ(list.fragments[0].name, "Интервал 1");
        }
    }
}

TEST(FragmentList, MarkingNeedsSeriesAndPermission) {
    TFragmentList list;
    list.chartMouseDown(TMouseButton::Left, true, 12, 10, 20);
    EXPECT_FALSE(list.holdCheck);  // fragmentsOn is off
    list.fragmentsOn = true;
    list.chartMouseDown(TMouseButton::Left, false, 12, 10, 20);
    EXPECT_FALSE(list.holdCheck);  // no series
    list.chartMouseDown(TMouseButton::Left, true, 12, 10, 20);
    EXPECT_TRUE(list.holdCheck);
    EXPECT_EQ(list.cursor, kCursorHSplit);
    list.chartMouseUp(TMouseButton::Left, false, 15, 10, 20);
    EXPECT_TRUE(list.holdCheck);  // no series: the release is ignored
    list.chartMouseUp(TMouseButton::Left, true, 15, 10, 20);
    EXPECT_EQ(list.numOfFragments(), 1);
}

TEST(FragmentList, BandGeometry) {
    const struct {
        bool paint;
        double s, e;
        bool drawn;
        double left, right;
    } cases[] = {
        {true, 12, 15, true, 12, 15},
        {true, 5, 25, true, 10, 20},   // beyond both ends: the whole width
        {true, 5, 10, false, 0, 0},    // ends exactly at the minimum
        {true, 20, 25, false, 0, 0},   // starts exactly at the maximum
        {false, 12, 15, false, 0, 0},  // not painted
    };
    for (const auto& c : cases) {
        TFragment f(1, c.paint, c.s, c.e);
        double l = -1, r = -1;
        EXPECT_EQ(fragmentBand(f, 10, 20, l, r), c.drawn);
        if (c.drawn) {
            EXPECT_EQ(l, c.left);
            EXPECT_EQ(r, c.right);
        }
    }
}

TEST(FragmentList, EqualIntervals) {
    // Times 0, 1, 2, ... so the spans read as point indices.
    const struct {
        int points, n;
        std::vector<std::pair<int, int>> spans;
    } cases[] = {
        {95, 10, {{0, 9}, {10, 19}, {20, 29}, {30, 39}, {40, 49}, {50, 59}, {60, 69}, {70, 79}, {80, 89}, {90, 94}}},
        {30, 10, {{0, 9}, {10, 19}, {20, 29}}},  // no remainder: no short piece
        {5, 10, {{0, 4}}},                       // fewer points than n: one piece
        {3, 1, {{0, 0}, {1, 1}, {2, 2}}},
        {3, 0, {{0, 0}, {1, 1}, {2, 2}}},        // below 1 counts as 1
        {7, 3, {{0, 2}, {3, 5}, {6, 6}}},        // a remainder of one point
        {0, 10, {}},
    };
    for (const auto& c : cases) {
        std::vector<double> x(static_cast<size_t>(c.points));
        for (int i = 0; i < c.points; ++i) x[static_cast<size_t>(i)] = i;
        const std::vector<TFragmentSpan> spans = equalIntervals(x, c.n);
        ASSERT_EQ(spans.size(), c.spans.size()) << c.points << "/" << c.n;
        for (size_t k = 0; k < spans.size(); ++k) {
            EXPECT_EQ(spans[k].start, c.spans[k].first) << c.points << "/" << c.n << " #" << k;
            EXPECT_EQ(spans[k].end, c.spans[k].second) << c.points << "/" << c.n << " #" << k;
        }
    }
}

TEST(FragmentList, BatchIsOneChange) {
    CountingList list;
    list.typeOfCurFragments = 1;
    list.paintOfCurFragments = true;
    list.addFragment(0.0L, 1.0L);
    list.addFragments(std::vector<TFragmentSpan>{{2, 3}, {4, 5}, {6, 7}});
    EXPECT_EQ(list.changes, 2);
    ASSERT_EQ(list.numOfFragments(), 4);
    EXPECT_EQ(list.fragments[1].name, "Интервал 2");
    EXPECT_EQ(list.fragments[3].name, "Интервал 4");
    EXPECT_EQ(list.fragments[3].startPoint, 6.0L);
    EXPECT_EQ(list.fragments[3].color, 0x00D9FFC6);

    TFragment bad(0, false, 8, 9);
    bad.name = "Плохой участок";
    TFragment grey(5, false, 10, 11);
    grey.name = "Серый";
    list.addFragments(arrayOfFragment{bad, grey});
    EXPECT_EQ(list.changes, 3);
    ASSERT_EQ(list.numOfFragments(), 6);
    EXPECT_EQ(list.fragments[4].name, "Плохой участок");
    EXPECT_TRUE(list.fragments[4].paint);  // named ones are painted, as the single add paints them
    EXPECT_EQ(list.fragments[5].color, 0x00D1D1D1);

    // Empty batches change nothing and tell nothing.
    list.addFragments(std::vector<TFragmentSpan>{});
    list.addFragments(arrayOfFragment{});
    EXPECT_EQ(list.changes, 3);
}

}  // namespace
