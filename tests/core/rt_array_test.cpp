#include "core/rt_array.h"

#include <cmath>

#include <gtest/gtest.h>

#include "core/errors.h"
#include "tests/support/runtime_exit.h"

namespace {

TEST(RtArrayDim, CapacityIsTheNextMultipleOfEightAboveAndSmallArraysStayInline) {
    const struct { double size; int capacity; bool inlined; } cases[] = {
        {300, 304, false}, {8, 16, true}, {16, 24, false}};
    for (const auto& c : cases) {
        RtArray a;
        ArrayDim(a, c.size);
        EXPECT_EQ(a.capacity, c.capacity) << c.size;
        EXPECT_EQ(a.data == a.inlineStorage, c.inlined) << c.size;
    }
    RtArray cave;
    ArrayDim(cave, 300);
    EXPECT_EQ(ArrayBounds(cave, 0), 300);
    EXPECT_EQ(ArrayBounds(cave, 4), 0);
    EXPECT_EQ(ArrayBounds(cave, -1), 0);
}

TEST(RtArrayDim, DimensioningAgainClearsButNeverShrinks) {
    RtArray a;
    ArrayDim(a, 100);
    double* storage = a.data;
    a[50] = 7;
    ArrayDim(a, 10);
    EXPECT_EQ(a.data, storage);
    EXPECT_EQ(a.capacity, 104);
    for (int i = 0; i < a.capacity; ++i) EXPECT_EQ(a.data[i], 0.0) << i;
    ArrayDim(a, 200);
    ArrayDim(a, 4);
    EXPECT_EQ(a.capacity, 208);
}

TEST(RtArrayDim, SeveralDimensionsAndStorageBeyondReach) {
    RtArray grid;
    ArrayDim(grid, 20, 15);
    ArrayElement2(grid, 3, 2) = 5;
    EXPECT_EQ(grid.data[43], 5);
    EXPECT_EQ(ArrayBounds(grid, 1), 15);
    EXPECT_RUNTIME_ERROR(ArrayElement2(grid, 20, 0), 9);
    EXPECT_RUNTIME_ERROR(ArrayElement2(grid, 0, 15), 9);
    EXPECT_RUNTIME_ERROR(ArrayElement2(grid, 0, -1), 9);
    RtArray huge;
    EXPECT_RUNTIME_ERROR(ArrayDim(huge, 1e6, 1e6), 7);
    EXPECT_RUNTIME_ERROR(ArrayDim(huge, 10, std::nan("")), 7);
}

TEST(RtArrayIndex, TheCaveIndexIsTruncatedAndCheckedAndEmptyArraysRefuseEveryIndex) {
    RtArray cave, never, none;
    ArrayDim(cave, 300);
    cave[299] = 97;
    double y = 14, x = 19.7;
    EXPECT_EQ(cave[y * 20 + x], 97) << "a fractional index truncates towards zero";
    cave[-0.5] = 3;
    EXPECT_EQ(cave[0], 3);
    for (double index : {300.0, -1.0, std::nan(""), 1e12}) EXPECT_RUNTIME_ERROR(cave[index], 9);
    EXPECT_RUNTIME_ERROR(ArrayElement(cave, 300), 9);
    EXPECT_RUNTIME_ERROR(never[0], 9);
    EXPECT_RUNTIME_ERROR(ArrayElement(never, 0), 9);
    for (double size : {0.0, -5.0}) {
        ArrayDim(none, size);
        EXPECT_RUNTIME_ERROR(none[0], 9) << size;
    }
}

TEST(RtStringArray, DimensionsInStepsOf64WithEmptyStrings) {
    RtStringArray names;
    EXPECT_RUNTIME_ERROR(names[0], 9);
    ArrayDim(names, 800);
    EXPECT_EQ(names.capacity, 832);
    StrAssignChars(names[5], "ROCKFORD");
    EXPECT_RUNTIME_ERROR(names[800], 9);
    EXPECT_RUNTIME_ERROR(names.at(-1), 9);
    RtString* storage = names.data;
    ArrayDim(names, 100);
    EXPECT_EQ(names.data, storage);
    EXPECT_STREQ(StrChars(names[5]), "") << "dimensioning again empties the strings";
    ArrayDim(names, 0);
    EXPECT_EQ(names.capacity, 64);
    EXPECT_RUNTIME_ERROR(names[0], 9);
}

}  // namespace
