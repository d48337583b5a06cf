// Value splitting and the integer forms of skin values.
#include <gtest/gtest.h>

#include "skin/acntUtils.h"

using namespace sk;

TEST(FieldSplitting, CountFieldAndIntField) {
    struct Case { const wchar_t* text; const wchar_t* delims; int count; const wchar_t* second; int secondInt; } cases[] = {
        {L"0;;255;;100;0;0", L";", 5, L"255", 255},
        {L";;a;b;;", L";", 2, L"b", 0},
        {L"", L";", 0, L"", 0},
        {L";;;", L";", 0, L"", 0},
        {L"!HUGE.BMP!3!0", L"!", 3, L"3", 3},
        {L"1, 2 3", L" ,", 3, L"2", 2},
        {L"x;-17", L";", 2, L"-17", -17},
        {L"x;12a", L";", 2, L"12a", 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CountFields(c.text, c.delims), c.count) << c.text;
        EXPECT_EQ(FieldAt(2, c.text, c.delims), c.second) << c.text;
        EXPECT_EQ(IntFieldAt(2, c.text, c.delims), c.secondInt) << c.text;
    }
    EXPECT_EQ(FieldAt(1, L"a;b", L";"), L"a");
    EXPECT_EQ(FieldAt(3, L"a;b", L";"), L"");
    EXPECT_EQ(FieldAt(0, L"a;b", L";"), L"");
    EXPECT_EQ(DeleteAllChars(L"a-b--c-", L'-'), L"abc");
}

TEST(SkinIntegers, DecimalAndHexForms) {
    struct Case { const wchar_t* text; std::optional<int> value; } cases[] = {
        {L"42", 42}, {L"-16777201", -16777201}, {L"+7", 7}, {L"$FF", 255}, {L"0x1F", 31},
        {L"$FFFFFFFF", -1}, {L"0x", std::nullopt}, {L"", std::nullopt}, {L"-", std::nullopt},
        {L"12 ", std::nullopt}, {L"N/A", std::nullopt}, {L"2147483647", 2147483647},
        {L"2147483648", std::nullopt}, {L"-2147483648", INT32_MIN}, {L"$123456789", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(ParseSkinInt(c.text), c.value) << c.text;
    EXPECT_EQ(ParseDecimal(L"$FF"), std::nullopt);
    EXPECT_THROW(DecimalOrThrow(L"00x1"), std::invalid_argument);
    EXPECT_EQ(DecimalOrThrow(L"0037"), 37);
}
