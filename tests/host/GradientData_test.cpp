// Gradient description strings.
#include <gtest/gtest.h>

#include "skin/GradientData.h"

using namespace sk;

TEST(GradientData, ParsesGroupsOfFive) {
    TsGradArray a{{1, 2, 3, 4, 5}};
    ParseGradientData(L"0;;255;;100;0;0", a);  // empty fields skipped: five fields
    ASSERT_EQ(a.size(), 1u);
    EXPECT_EQ(a[0].Color1, 0);
    EXPECT_EQ(a[0].Color2, 255);
    EXPECT_EQ(a[0].Percent, 100);
    EXPECT_EQ(a[0].Mode1, 0);
    EXPECT_EQ(a[0].Mode2, 0);

    ParseGradientData(L"3421243;3421243;97;0;0;3421243;3421243;0;0;0;1;2", a);  // trailing pair ignored
    ASSERT_EQ(a.size(), 2u);
    EXPECT_EQ(a[0].Percent, 97);
    EXPECT_EQ(a[1].Color1, 3421243);

    ParseGradientData(L"-16777201;5;150;1;9;1;2;-5;0;0", a);
    ASSERT_EQ(a.size(), 2u);
    EXPECT_EQ(a[0].Color1, 0x00F0F0F0);  // system colour resolved
    EXPECT_EQ(a[0].Percent, 100);        // clamped
    EXPECT_EQ(a[0].Mode1, 1);
    EXPECT_EQ(a[0].Mode2, 0);
    EXPECT_EQ(a[1].Percent, 0);

    for (const wchar_t* none : {L"N/A", L"", L" ", L"1;2;3;4"}) {
        ParseGradientData(none, a);
        EXPECT_TRUE(a.empty()) << none;
    }
    EXPECT_THROW(ParseGradientData(L"1;2;x;4;5", a), std::invalid_argument);
}
