#include "core/rt_array.h"

#include <cmath>

#include <gtest/gtest.h>

#include "core/errors.h"
#include "tests/support/runtime_exit.h"

namespace {

TEST(RtArrayDim, CapacityIsTheNextMultipleOfEightAbove) {
    RtArray cave;
    ArrayDim(cave, 300);
    EXPECT_EQ(cave.capacity, 304);
    EXPECT_EQ(cave.size0, 300);
    EXPECT_EQ(cave.dimensions, 1);
    EXPECT_EQ(ArrayBounds(cave, 0), 300);
    EXPECT_EQ(ArrayBounds(cave, 4), 0);
    EXPECT_EQ(ArrayBounds(cave, -1), 0);
}

TEST(RtArrayDim, SmallArraysLiveInsideTheDescriptor) {
    RtArray eight, sixteen;
    ArrayDim(eight, 8);
    EXPECT_EQ(eight.capacity, 16);
    EXPECT_EQ(eight.data, eight.inlineStorage);
    ArrayDim(sixteen, 16);
    EXPECT_EQ(sixteen.capacity, 24);
    EXPECT_NE(sixteen.data, sixteen.inlineStorage);
}

TEST(RtArrayDim, DimensioningAgainClearsButNeverShrinks) {
    RtArray a;
    ArrayDim(a, 100);
    double* storage = a.data;
    a[50] = 7;
    ArrayDim(a, 10);
    EXPECT_EQ(a.data, storage);
    EXPECT_EQ(a.capacity, 104);
    EXPECT_EQ(a.size0, 10);
    for (int i = 0; i < a.capacity; ++i) EXPECT_EQ(a.data[i], 0.0) << i;

    ArrayDim(a, 200);  // grows onto a new heap block
    EXPECT_EQ(a.capacity, 208);
    ArrayDim(a, 4);  // and back to the inline storage only when forced by a size below 1
    EXPECT_EQ(a.capacity, 208);
}

TEST(RtArrayDim, SeveralDimensionsSetStridesAndSizes) {
    RtArray grid;
    ArrayDim(grid, 20, 15);
    EXPECT_EQ(grid.dimensions, 2);
    EXPECT_EQ(grid.stride1, 20u);
    EXPECT_EQ(grid.stride2, 300u);
    EXPECT_EQ(grid.capacity, 304);
    ArrayElement2(grid, 3, 2) = 5;
    EXPECT_EQ(grid.data[43], 5);
    EXPECT_EQ(ArrayBounds(grid, 1), 15);
    EXPECT_RUNTIME_ERROR(ArrayElement2(grid, 20, 0), 9);
    EXPECT_RUNTIME_ERROR(ArrayElement2(grid, 0, 15), 9);
    EXPECT_RUNTIME_ERROR(ArrayElement2(grid, 0, -1), 9);
}

TEST(RtArrayIndex, TheCaveIndexIsCheckedAndTruncated) {
    RtArray cave;
    ArrayDim(cave, 300);
    cave[299] = 97;
    EXPECT_EQ(cave.at(299), 97);
    double y = 14, x = 19.7;
    EXPECT_EQ(cave[y * 20 + x], 97) << "a fractional index truncates towards zero";
    cave[-0.5] = 3;  // truncates to 0
    EXPECT_EQ(cave[0], 3);

    EXPECT_RUNTIME_ERROR(cave[300], 9);
    EXPECT_EQ(gErrorState.number, 9);
    EXPECT_RUNTIME_ERROR(cave[-1], 9);
    EXPECT_RUNTIME_ERROR(cave[std::nan("")], 9);
    EXPECT_RUNTIME_ERROR(cave[1e12], 9);
    EXPECT_RUNTIME_ERROR(ArrayElement(cave, 300), 9);
}

TEST(RtArrayIndex, NeverDimensionedOrEmptyArraysRefuseEveryIndex) {
    RtArray never;
    EXPECT_RUNTIME_ERROR(never[0], 9);
    EXPECT_RUNTIME_ERROR(ArrayElement(never, 0), 9);

    RtArray none;
    ArrayDim(none, 0);
    EXPECT_EQ(none.dimensions, 0);
    EXPECT_EQ(none.size0, 0);
    EXPECT_RUNTIME_ERROR(none[0], 9);
    ArrayDim(none, -5);
    EXPECT_EQ(none.size0, 0);
    EXPECT_RUNTIME_ERROR(none[0], 9);
}

TEST(RtArrayDim, StorageBeyondReachIsError7) {
    RtArray huge;
    EXPECT_RUNTIME_ERROR(ArrayDim(huge, 1e6, 1e6), 7);
    EXPECT_RUNTIME_ERROR(ArrayDim(huge, 10, std::nan("")), 7);
}

TEST(RtStringArray, DimensionsInStepsOf64WithEmptyStrings) {
    RtStringArray names;
    EXPECT_RUNTIME_ERROR(names[0], 9);
    ArrayDim(names, 800);
    EXPECT_EQ(names.capacity, 832);
    EXPECT_EQ(names[799].length, 0u);
    StrAssignChars(names[5], "ROCKFORD");
    EXPECT_STREQ(StrChars(names[5]), "ROCKFORD");
    EXPECT_RUNTIME_ERROR(names[800], 9);
    EXPECT_RUNTIME_ERROR(names.at(-1), 9);

    RtString* storage = names.data;
    ArrayDim(names, 100);
    EXPECT_EQ(names.data, storage);
    EXPECT_STREQ(StrChars(names[5]), "") << "dimensioning again empties the strings";
    EXPECT_EQ(ArrayBounds(names, 0), 100);

    ArrayDim(names, 0);
    EXPECT_EQ(names.capacity, 64);
    EXPECT_RUNTIME_ERROR(names[0], 9);
}

}  // namespace
