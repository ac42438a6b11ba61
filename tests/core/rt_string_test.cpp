#include "core/rt_string.h"

#include <cmath>
#include <string>

#include <gtest/gtest.h>

namespace {

const double kNaN = std::nan("");

// The text a command leaves in a fresh result string.
template <typename Command>
std::string Made(Command command) {
    RtString s;
    command(s);
    std::string text(StrChars(s), s.length);
    StrRelease(s);
    return text;
}

std::string NumberText(double x) {
    return Made([x](RtString& s) { StrFromNumber(s, x); });
}

TEST(RtString, CopiesOwnTheirBytesOperandsInTheirOwnBufferAreSafeAndConcatLeavesOperandsAlone) {
    RtStr original("gem");
    RtStr copy(original);
    StrAppendChars(copy.raw(), "s");
    copy = copy;
    EXPECT_STREQ(original.c_str(), "gem");
    EXPECT_STREQ(copy.c_str(), "gems");
    RtStr s(std::string(400, 'a').c_str());
    StrAppend(s.raw(), s.raw());  // grows past 512: the operand's old buffer is freed
    EXPECT_EQ(std::string(s.c_str()), std::string(800, 'a'));
    StrAssignChars(s.raw(), s.c_str() + 798);
    EXPECT_STREQ(s.c_str(), "aa");
    RtStr left("Score: ");
    EXPECT_EQ(Made([&](RtString& r) { StrConcat(r, left.raw(), "1250"); }), "Score: 1250");
    EXPECT_EQ(Made([&](RtString& r) { StrConcat(r, left.raw(), copy.raw()); }), "Score: gems");
    EXPECT_EQ(Made([&](RtString& r) { StrConcat(r, "no ", copy.raw()); }), "no gems");
    EXPECT_EQ(Made([](RtString& r) { StrConcat(r, "Level ", 12.0); }), "Level 12");
    EXPECT_EQ(Made([](RtString& r) { StrConcat(r, 7.0, " left"); }), "7 left");
    EXPECT_STREQ(left.c_str(), "Score: ");
}

TEST(NumberText, TenSignificantDigitsNeverEndingInAPointAndBackByTheAtofRule) {
    const std::pair<double, const char*> cases[] = {
        {5, "5"}, {-12, "-12"}, {0, "0"}, {-0.0, "0"}, {100, "100"}, {0.5, "0.5"}, {-0.5, "-0.5"},
        {1.0 / 3, "0.3333333333"}, {2.0 / 3, "0.6666666667"}, {4294967295.0, "4294967295"},
        {12345.678, "12345.678"}, {999999999.99999, "1000000000"}, {1e20, "1e+20"}, {-1.5e20, "-1.5e+20"},
        {1e100, "1e+100"}, {12345678901.0, "1.23456789e+10"}, {9999999999.5, "1e+10"}, {0.00001, "0.00001"},
        {0.000001, "1e-06"}, {1e-300, "1e-300"}, {kNaN, "nan"}};
    for (const auto& [x, text] : cases) EXPECT_EQ(NumberText(x), text) << x;
    EXPECT_EQ(Made([](RtString& s) { StrFromInt(s, INT32_MIN); }), "-2147483648");
    for (double x : {0.1, 3.25, 123456.789}) EXPECT_DOUBLE_EQ(StrToNumber(NumberText(x).c_str()), x);
    const std::pair<const char*, double> texts[] = {
        {"  42", 42}, {"\t-3.5xyz", -3.5}, {"+.5", 0.5}, {"1e3", 1000}, {"2e", 2}, {"gems", 0},
        {"", 0},      {".", 0},            {"0x10", 0},  {"inf", 0},    {"nan", 0}};
    for (const auto& [text, value] : texts) EXPECT_EQ(StrToNumber(text), value) << text;
}

// Texts compare bytewise unsigned; against a number the text is converted, and NaN is only unequal.
TEST(StrCompare, EveryOperatorOnTextsAndNumbers) {
    RtStr abc("abc"), high("\xC8"), ten("10"), letters("GEMS");
    EXPECT_EQ(StrCompare(CmpOp::Lt, abc.raw(), "abd"), 1.0);
    EXPECT_EQ(StrCompare(CmpOp::Gt, abc.raw(), "abd"), 0.0);
    EXPECT_EQ(StrCompare(CmpOp::Lt, "ab", abc.raw()), 1.0) << "a proper prefix is smaller";
    EXPECT_EQ(StrCompare(CmpOp::Ne, "abc", abc.raw()), 0.0);
    EXPECT_EQ(StrCompare(CmpOp::Ge, "abc", "abc"), 1.0);
    EXPECT_EQ(StrCompare(CmpOp::Le, "abc", "abc"), 1.0);
    EXPECT_EQ(StrCompare(CmpOp::Le, "b", "abc"), 0.0);
    EXPECT_EQ(StrCompare(CmpOp::Gt, high.raw(), "z"), 1.0);
    EXPECT_EQ(StrCompare(CmpOp::Eq, ten.raw(), 10.0), 1.0);
    EXPECT_EQ(StrCompare(CmpOp::Lt, 9.0, ten.raw()), 1.0);
    EXPECT_EQ(StrCompare(CmpOp::Eq, letters.raw(), 0.0), 1.0);
    for (CmpOp op : {CmpOp::Eq, CmpOp::Lt, CmpOp::Gt, CmpOp::Le, CmpOp::Ge, CmpOp::Ne}) {
        EXPECT_EQ(StrCompare(op, ten.raw(), kNaN), op == CmpOp::Ne ? 1.0 : 0.0);
        EXPECT_EQ(StrCompare(op, kNaN, ten.raw()), op == CmpOp::Ne ? 1.0 : 0.0);
    }
}

TEST(StringCommands, LengthCharacterCodesMidAndFormatKeepToTheString) {
    RtStr gem("Gem"), high("\xC8x"), empty, five("abcde");
    EXPECT_EQ(StrLen(gem.raw()), 3);
    EXPECT_EQ(CharCode(gem.raw()), 71);
    EXPECT_EQ(CharCode(high.raw()), 200) << "unsigned, not -56";
    EXPECT_EQ(CharCode(empty.raw()), 0);
    const std::pair<double, const char*> codes[] = {{65, "A"},  {321, "A"},    {65.9, "A"},   {0, ""},   {256, ""},
                                                    {-191, "A"}, {40000, ""}, {-40000, ""}, {kNaN, ""}};
    for (const auto& [code, text] : codes) EXPECT_EQ(Made([&](RtString& s) { CharFromCode(s, code); }), text) << code;
    struct Case { double start, count; const char* text; };
    for (Case c : {Case{1, 3, "bcd"}, Case{3, 10, "de"}, Case{5, 1, ""}, Case{-1, 2, ""}, Case{0, 0, ""},
                   Case{4.9, 1, "e"}, Case{2, -1, ""}, Case{6, 1, ""}, Case{0, 1e300, "abcde"},
                   Case{kNaN, 2, ""}, Case{1, kNaN, ""}}) {
        EXPECT_EQ(Made([&](RtString& s) { StrMid(s, five.raw(), c.start, c.count); }), c.text)
            << "from " << c.start << " for " << c.count;
    }
    EXPECT_EQ(Made([](RtString& s) { FormatNumber(s, 8, 2, 3.14159); }), "    3.14");
    EXPECT_EQ(Made([](RtString& s) { FormatNumber(s, 3, -4, 2.5); }), "  2");
    EXPECT_EQ(Made([](RtString& s) { FormatNumber(s, 0, 0, 1e300); }).size(), 255u) << "never overruns";
}

}  // namespace
