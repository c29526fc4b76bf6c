#include <gtest/gtest.h>

#include "core/FragmentCopy.h"
#include "core/Project.h"

namespace {

struct Iv {
    std::string name;
    int type;
    double start, end;
};

arrayOfFragment chart(const std::vector<Iv>& ivs) {
    arrayOfFragment out;
    for (const auto& iv : ivs) {
        TFragment f(static_cast<uint8_t>(iv.type), true, iv.start, iv.end);
        f.name = iv.name;
        out.push_back(f);
    }
    return out;
}

TEST(FragmentCopy, CutsBadIntervalsOutOfGoodOnes) {
    struct Case {
        const char* what;
        std::vector<Iv> chart;
        std::vector<Iv> expected;  // type 1 everywhere
    };
    const Case cases[] = {
        {"bad inside good splits it", {{"g", 1, 10, 20}, {"b", 0, 12, 14}}, {{"g", 1, 10, 12}, {"g+", 1, 14, 20}}},
        {"bad over the start", {{"g", 1, 10, 20}, {"b", 0, 5, 12}}, {{"g_cutL", 1, 12, 20}}},
        {"bad over the end", {{"g", 1, 10, 20}, {"b", 0, 18, 25}}, {{"g_cutH", 1, 10, 18}}},
        {"touching does not cut", {{"g", 1, 10, 20}, {"b", 0, 20, 30}}, {{"g", 1, 10, 20}}},
        {"touching on the left", {{"b", 0, 0, 10}, {"g", 1, 10, 20}}, {{"g", 1, 10, 20}}},
        {"equal bad removes", {{"g", 1, 10, 20}, {"b", 0, 10, 20}}, {}},
        {"wider bad removes", {{"g", 1, 10, 20}, {"b", 0, 5, 25}}, {}},
        {"two bads split twice",
         {{"g", 1, 10, 20}, {"b1", 0, 12, 13}, {"b2", 0, 15, 16}},
         {{"g", 1, 10, 12}, {"g+", 1, 13, 15}, {"g++", 1, 16, 20}}},
        {"sorted by start", {{"late", 1, 30, 40}, {"early", 1, 10, 20}}, {{"early", 1, 10, 20}, {"late", 1, 30, 40}}},
        {"other types never usable",
         {{"t2", 2, 0, 5}, {"t5", 5, 6, 7}, {"g", 1, 10, 20}},
         {{"g", 1, 10, 20}}},
        {"equal starts keep good-list order",
         {{"second", 1, 10, 30}, {"first", 1, 10, 20}},
         {{"second", 1, 10, 30}, {"first", 1, 10, 20}}},
        {"suffixes accumulate in cut order",
         {{"g", 1, 10, 20}, {"b1", 0, 5, 12}, {"b2", 0, 18, 25}},
         {{"g_cutL_cutH", 1, 12, 18}}},
        {"a removal re-examines the same position",
         {{"a", 1, 1, 2}, {"b", 1, 3, 4}, {"c", 1, 3.5, 9}, {"bad", 0, 0, 5}},
         {{"c_cutL", 1, 5, 9}}},
        {"no good interval", {{"b", 0, 1, 2}}, {}},
    };
    for (const auto& c : cases) {
        const arrayOfFragment out = cutGoodFragments(chart(c.chart));
        ASSERT_EQ(out.size(), c.expected.size()) << c.what;
        for (size_t i = 0; i < out.size(); ++i) {
            EXPECT_EQ(out[i].name, c.expected[i].name) << c.what << " #" << i;
            EXPECT_EQ(out[i].startPoint, c.expected[i].start) << c.what << " #" << i;
            EXPECT_EQ(out[i].endPoint, c.expected[i].end) << c.what << " #" << i;
            EXPECT_EQ(out[i].typeOfFragments(), 1) << c.what;
            EXPECT_TRUE(out[i].paint) << c.what;
        }
    }
}

TEST(FragmentCopy, SplitPieceKeepsColourAndPaintFlag) {
    arrayOfFragment c = chart({{"g", 1, 10, 20}, {"b", 0, 12, 14}});
    c[0].color = 0x00123456;
    c[0].paint = false;
    const auto out = cutGoodFragments(c);
    ASSERT_EQ(out.size(), 2u);
    EXPECT_EQ(out[1].color, 0x00123456);
    EXPECT_FALSE(out[1].paint);
}

TEST(FragmentCopy, CopiesIntoProjectOnlyWhenFlagged) {
    TProject p;
    TStatisticSeries s;
    s.Title = "T";
    for (int i = 0; i < 30; ++i) s.AddXY(i, i * 2);
    p.addSeries(s, false, false);
    const auto c = chart({{"g", 1, 10, 20}, {"b", 0, 12, 14}, {"y", 3, 0, 1}});

    p.needCalcFragment = false;
    copyChartFragments(p, c);
    EXPECT_TRUE(p.userFragments.empty());
    EXPECT_TRUE(p.fragments.empty());

    p.needCalcFragment = true;
    copyChartFragments(p, c);
    ASSERT_EQ(p.userFragments.size(), 3u);
    EXPECT_EQ(p.userFragments[2].name, "y");
    EXPECT_EQ(p.userFragments[2].typeOfFragments(), 3);
    ASSERT_EQ(p.numOfFragments(), 2);
    EXPECT_FALSE(p.needCalcFragment);
    ASSERT_EQ(p.fragmentsSeriesList.size(), 1u);
    ASSERT_EQ(p.fragmentsSeriesList[0].size(), 2u);
    // 10..12 takes 10, 11, 12; 14..20 takes 14..20.
    EXPECT_EQ(p.fragmentsSeriesList[0][0]->Count(), 3);
    EXPECT_EQ(p.fragmentsSeriesList[0][0]->Title, "T_g");
    EXPECT_EQ(p.fragmentsSeriesList[0][1]->Count(), 7);
    EXPECT_EQ(p.fragmentsSeriesList[0][1]->Title, "T_g+");
}

TEST(FragmentCopy, EachPieceKnowsTheChartIntervalItWasCutFrom) {
    // "b" cuts "g" in two and the end off "g2"; sorted by start: g 10..12, g2_cutH 11..12,
    // g+ 14..20, late 30..40.
    const auto c = chart({{"late", 1, 30, 40}, {"b", 0, 12, 14}, {"g", 1, 10, 20}, {"t2", 2, 0, 5}, {"g2", 1, 11, 13}});
    std::vector<size_t> from;
    const arrayOfFragment out = cutGoodFragments(c, &from);
    ASSERT_EQ(out.size(), 4u);
    EXPECT_EQ(out[1].name, "g2_cutH");
    EXPECT_EQ(from, (std::vector<size_t>{2, 4, 2, 0}));

    // In the project, the chart's ids; a piece of an interval without one gets 0.
    TProject p;
    const struct {
        std::vector<uint64_t> ids;
        std::vector<uint64_t> origins;
    } cases[] = {{{7, 8, 9, 10, 11}, {9, 11, 9, 7}}, {{7}, {0, 0, 0, 7}}, {{}, {0, 0, 0, 0}}};
    for (const auto& k : cases) {
        p.needCalcFragment = true;
        copyChartFragments(p, c, k.ids);
        EXPECT_EQ(p.fragmentOrigins, k.origins);
    }
    // They stay in step with the fragments.
    p.fragmentOrigins = {9, 11, 9, 7};
    p.deleteFragments(1);
    EXPECT_EQ(p.fragmentOrigins, (std::vector<uint64_t>{9, 9, 7}));
    p.deleteAllFragments();
    EXPECT_TRUE(p.fragmentOrigins.empty());
}

}  // namespace
