#include "core/rt_string.h"

#include <cmath>
#include <cstring>
#include <limits>
#include <string>

#include <gtest/gtest.h>

namespace {

std::string Text(const RtString& s) { return std::string(StrChars(s), s.length); }

std::string NumberText(double x) {
    RtStr s;
    StrRelease(s.raw());
    StrFromNumber(s.raw(), x);
    return Text(s.raw());
}

TEST(RtStringLifetime, EmptyStringOwnsNothingUntilAssigned) {
    RtString s;
    StrInitEmpty(s);
    EXPECT_EQ(s.capacity, 0u);
    EXPECT_EQ(s.length, 0u);
    const char* shared = StrChars(s);
    EXPECT_STREQ(shared, "");

    RtString other;
    StrInitEmpty(other);
    EXPECT_EQ(StrChars(other), shared) << "every empty string shares one text";

    StrAssignChars(s, "");
    EXPECT_EQ(s.capacity, 512u) << "assigning even an empty text takes a buffer";
    EXPECT_EQ(s.length, 0u);
    EXPECT_NE(s.data, shared);
    StrRelease(s);
    EXPECT_EQ(s.data, nullptr);
    StrRelease(other);
}

TEST(RtStringLifetime, GrowsInStepsOf512AndKeepsItsText) {
    RtStr s("abc");
    StrReserve(s.raw(), 511);
    EXPECT_EQ(s.raw().capacity, 512u);
    StrReserve(s.raw(), 512);
    EXPECT_EQ(s.raw().capacity, 1024u);
    EXPECT_STREQ(s.c_str(), "abc");
    StrReserve(s.raw(), 100);
    EXPECT_EQ(s.raw().capacity, 1024u) << "a buffer never shrinks";

    RtStr line;
    for (int i = 0; i < 600; ++i) StrAppendChars(line.raw(), "x");
    EXPECT_EQ(line.raw().length, 600u);
    EXPECT_EQ(line.raw().capacity, 1024u);
    EXPECT_EQ(line.raw().capacity % 512, 0u);
    EXPECT_EQ(line.raw().data[600], 0);
}

TEST(RtStringLifetime, CopiesOwnTheirBytes) {
    RtStr original("gem");
    RtStr copy(original);
    EXPECT_NE(copy.raw().data, original.raw().data);
    StrAppendChars(copy.raw(), "s");
    EXPECT_STREQ(original.c_str(), "gem");
    EXPECT_STREQ(copy.c_str(), "gems");

    copy = copy;  // self-assignment keeps the text
    EXPECT_STREQ(copy.c_str(), "gems");
}

TEST(RtStringLifetime, AppendingToItselfAndFromItsOwnBufferIsSafe) {
    RtStr s;
    StrAssignChars(s.raw(), std::string(400, 'a').c_str());
    StrAppend(s.raw(), s.raw());  // grows past 512: the operand's old buffer is freed
    EXPECT_EQ(std::string(s.c_str()), std::string(800, 'a'));

    RtStr t("abcdef");
    StrAssignChars(t.raw(), t.c_str() + 2);
    EXPECT_STREQ(t.c_str(), "cdef");
}

TEST(RtStringLifetime, RecountStopsAtTheFirstZeroByte) {
    RtStr s;
    char* buffer = StrBuffer(s.raw(), 10);
    std::strcpy(buffer, "abc");
    StrRecount(s.raw());
    EXPECT_EQ(s.raw().length, 3u);

    RtString empty;
    StrInitEmpty(empty);
    StrRecount(empty);
    EXPECT_EQ(empty.length, 0u);
}

TEST(RtStringConcat, BuildsNewStringsAndLeavesOperandsAlone) {
    RtStr left("Score: ");
    RtString result;
    StrConcat(result, left.raw(), "1250");
    EXPECT_EQ(Text(result), "Score: 1250");
    StrRelease(result);

    StrConcat(result, "Level ", 12.0);
    EXPECT_EQ(Text(result), "Level 12");
    StrRelease(result);

    StrConcat(result, 7.0, " left");
    EXPECT_EQ(Text(result), "7 left");
    StrRelease(result);

    RtStr right("gems");
    StrConcat(result, left.raw(), right.raw());
    EXPECT_EQ(Text(result), "Score: gems");
    StrRelease(result);

    StrConcat(result, "no ", right.raw());
    EXPECT_EQ(Text(result), "no gems");
    StrRelease(result);
    EXPECT_STREQ(left.c_str(), "Score: ");
    EXPECT_STREQ(right.c_str(), "gems");

    RtStr chained("a");
    StrAppendChars(StrAppendChars(chained.raw(), "b"), "c");
    EXPECT_STREQ(chained.c_str(), "abc");
}

TEST(NumberText, WholeNumbersAndFractions) {
    EXPECT_EQ(NumberText(5), "5");
    EXPECT_EQ(NumberText(7), "7");
    EXPECT_EQ(NumberText(-12), "-12");
    EXPECT_EQ(NumberText(0), "0");
    EXPECT_EQ(NumberText(-0.0), "0");
    EXPECT_EQ(NumberText(100), "100");
    EXPECT_EQ(NumberText(0.5), "0.5");
    EXPECT_EQ(NumberText(-0.5), "-0.5");
    EXPECT_EQ(NumberText(1.0 / 3.0), "0.3333333333");
    EXPECT_EQ(NumberText(2.0 / 3.0), "0.6666666667");
    EXPECT_EQ(NumberText(1234567890), "1234567890");
    EXPECT_EQ(NumberText(4294967295.0), "4294967295");
    EXPECT_EQ(NumberText(12345.678), "12345.678");
}

TEST(NumberText, ExponentNotationForLargeAndSmallMagnitudes) {
    EXPECT_EQ(NumberText(1e20), "1e+20");
    EXPECT_EQ(NumberText(-1.5e20), "-1.5e+20");
    EXPECT_EQ(NumberText(12345678901.0), "1.23456789e+10");
    EXPECT_EQ(NumberText(9999999999.5), "1e+10") << "rounding up carries into the exponent";
    EXPECT_EQ(NumberText(0.00001), "0.00001");
    EXPECT_EQ(NumberText(0.000001), "1e-06");
    EXPECT_EQ(NumberText(1e-300), "1e-300");
}

TEST(NumberText, NeverEndsInAPoint) {
    const double samples[] = {1, 10, 1e9, 1e10, 123.0, 0.1, 1e100, -3, 999999999.99999};
    for (double x : samples) {
        std::string text = NumberText(x);
        ASSERT_FALSE(text.empty());
        EXPECT_NE(text.back(), '.') << x;
        EXPECT_EQ(text.find('+') == 0, false) << x;
    }
    EXPECT_EQ(NumberText(std::numeric_limits<double>::quiet_NaN()), "nan");
}

TEST(NumberText, IntegerVariantAndWrittenNumbersReadBack) {
    RtString s;
    StrFromInt(s, -2147483647 - 1);
    EXPECT_EQ(Text(s), "-2147483648");
    StrRelease(s);
    StrFromFloat(s, 0.25f);
    EXPECT_EQ(Text(s), "0.25");
    StrRelease(s);
    for (double x : {0.1, 3.25, -17.0, 1e20, 123456.789}) {
        StrFromNumber(s, x);
        EXPECT_DOUBLE_EQ(StrToNumber(s), x);
        StrRelease(s);
    }
}

TEST(StrToNumber, FollowsTheAtofRule) {
    EXPECT_EQ(StrToNumber("  42"), 42);
    EXPECT_EQ(StrToNumber("\t-3.5xyz"), -3.5);
    EXPECT_EQ(StrToNumber("+.5"), 0.5);
    EXPECT_EQ(StrToNumber("1e3"), 1000);
    EXPECT_EQ(StrToNumber("2e"), 2) << "an exponent without digits is not part of the number";
    EXPECT_EQ(StrToNumber("gems"), 0);
    EXPECT_EQ(StrToNumber(""), 0);
    EXPECT_EQ(StrToNumber("."), 0);
    EXPECT_EQ(StrToNumber("0x10"), 0) << "no hexadecimal";
    EXPECT_EQ(StrToNumber("inf"), 0);
    EXPECT_EQ(StrToNumber("nan"), 0);
}

TEST(StrCompare, TextsCompareBytewise) {
    RtStr abc("abc"), abd("abd"), ab("ab"), high("\xC8");
    EXPECT_EQ(StrCompare(CmpOp::Lt, abc.raw(), abd.raw()), 1.0);
    EXPECT_EQ(StrCompare(CmpOp::Gt, abc.raw(), abd.raw()), 0.0);
    EXPECT_EQ(StrCompare(CmpOp::Lt, ab.raw(), abc.raw()), 1.0) << "a proper prefix is smaller";
    EXPECT_EQ(StrCompare(CmpOp::Eq, abc.raw(), "abc"), 1.0);
    EXPECT_EQ(StrCompare(CmpOp::Ne, "abc", abc.raw()), 0.0);
    EXPECT_EQ(StrCompare(CmpOp::Ge, "abc", "abc"), 1.0);
    EXPECT_EQ(StrCompare(CmpOp::Le, "b", "abc"), 0.0);
    EXPECT_EQ(StrCompare(CmpOp::Gt, high.raw(), "z"), 1.0) << "bytes compare unsigned";
    RtString empty;
    StrInitEmpty(empty);
    EXPECT_EQ(StrCompare(CmpOp::Eq, empty, ""), 1.0);
}

TEST(StrCompare, StringAgainstNumberConvertsTheString) {
    RtStr ten("10"), letters("GEMS");
    EXPECT_EQ(StrCompare(CmpOp::Eq, ten.raw(), 10.0), 1.0);
    EXPECT_EQ(StrCompare(CmpOp::Lt, 9.0, ten.raw()), 1.0);
    EXPECT_EQ(StrCompare(CmpOp::Eq, letters.raw(), 0.0), 1.0);
}

TEST(StrCompare, NaNMakesEverythingFalseButNotEqual) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    RtStr one("1");
    for (CmpOp op : {CmpOp::Eq, CmpOp::Lt, CmpOp::Gt, CmpOp::Le, CmpOp::Ge}) {
        EXPECT_EQ(StrCompare(op, one.raw(), nan), 0.0);
        EXPECT_EQ(StrCompare(op, nan, one.raw()), 0.0);
    }
    EXPECT_EQ(StrCompare(CmpOp::Ne, one.raw(), nan), 1.0);
    EXPECT_EQ(StrCompare(CmpOp::Ne, nan, one.raw()), 1.0);
}

TEST(StringCommands, LengthAndCharacterCodes) {
    RtStr gem("Gem"), high("\xC8x"), empty;
    EXPECT_EQ(StrLen(gem.raw()), 3);
    EXPECT_EQ(CharCode(gem.raw()), 71);
    EXPECT_EQ(CharCode(high.raw()), 200) << "unsigned, not -56";
    EXPECT_EQ(CharCode(empty.raw()), 0);

    struct Case { double code; const char* text; };
    for (Case c : {Case{65, "A"}, Case{321, "A"}, Case{65.9, "A"}, Case{0, ""}, Case{256, ""}, Case{-191, "A"},
                   Case{40000, ""}, Case{-40000, ""}, Case{std::nan(""), ""}}) {
        RtString s;
        CharFromCode(s, c.code);
        EXPECT_EQ(Text(s), c.text) << c.code;
        StrRelease(s);
    }
}

TEST(StringCommands, MidKeepsToTheString) {
    RtStr five("abcde");
    struct Case { double start, count; const char* text; };
    for (Case c : {Case{1, 3, "bcd"}, Case{3, 10, "de"}, Case{5, 1, ""}, Case{-1, 2, ""}, Case{0, 0, ""},
                   Case{0, 5, "abcde"}, Case{4.9, 1, "e"}, Case{2, -1, ""}, Case{6, 1, ""}, Case{0, 1e300, "abcde"},
                   Case{std::nan(""), 2, ""}, Case{1, std::nan(""), ""}}) {
        RtString s;
        StrMid(s, five.raw(), c.start, c.count);
        EXPECT_EQ(Text(s), c.text) << "from " << c.start << " for " << c.count;
        StrRelease(s);
    }
}

TEST(StringCommands, FormatNumberUsesWidthAndDecimals) {
    RtString s;
    FormatNumber(s, 8, 2, 3.14159);
    EXPECT_EQ(Text(s), "    3.14");
    StrRelease(s);
    FormatNumber(s, 0, 0, 1e300);  // longer than the 256 bytes reserved: cut, never overrun
    EXPECT_EQ(s.length, 255u);
    StrRelease(s);
    FormatNumber(s, 3, -4, 2.5);
    EXPECT_EQ(Text(s), "  2");
    StrRelease(s);
}

TEST(Truncation, OutOfRangeGivesTheMostNegativeValue) {
    EXPECT_EQ(TruncInt32(3.9), 3);
    EXPECT_EQ(TruncInt32(-2.5), -2);
    EXPECT_EQ(TruncInt32(3e9), INT32_MIN);
    EXPECT_EQ(TruncInt32(std::nan("")), INT32_MIN);
    EXPECT_EQ(TruncInt16(32767.9), 32767);
    EXPECT_EQ(TruncInt16(32768), INT16_MIN);
    EXPECT_EQ(TruncInt16(-32768.5), -32768);
}

}  // namespace
