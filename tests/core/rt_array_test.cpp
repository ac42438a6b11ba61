#include "core/rt_array.h"

#include <cmath>

#include <gtest/gtest.h>

#include "core/errors.h"
#include "tests/support/runtime_exit.h"

namespace {

TEST(RtArray, IndicesAreTruncatedAndCheckedAndEmptyArraysRefuseEveryIndex) {
    RtArray cave, never, none;
    ArrayDim(cave, 300);
    EXPECT_EQ(ArrayBounds(cave, 0), 300);
    EXPECT_EQ(ArrayBounds(cave, 4), 0);
    cave[299] = 97;
    double y = 14, x = 19.7;
    EXPECT_EQ(cave[y * 20 + x], 97) << "a fractional index truncates towards zero";
    cave[-0.5] = 3;
    EXPECT_EQ(cave[0], 3);
    for (double index : {300.0, -1.0, std::nan(""), 1e12}) EXPECT_RUNTIME_ERROR(cave[index], 9);
    EXPECT_RUNTIME_ERROR(cave.at(300), 9);
    EXPECT_RUNTIME_ERROR(never[0], 9);
    for (double size : {0.0, -5.0}) {
        ArrayDim(none, size);
        EXPECT_RUNTIME_ERROR(none[0], 9) << size;
    }
}

TEST(RtArray, DimensioningAgainClearsEveryElementAndSecondIndicesAreCheckedToo) {
    RtArray a;
    ArrayDim(a, 100);
    a[50] = 7;
    ArrayDim(a, 60);
    for (int i = 0; i < 60; ++i) ASSERT_EQ(a[i], 0.0) << i;
    ArrayDim(a, 200);
    EXPECT_EQ(a[199], 0.0);
    RtArray grid;
    ArrayDim(grid, 20, 15);
    ArrayElement2(grid, 3, 2) = 5;
    EXPECT_EQ(grid.data[43], 5);
    EXPECT_EQ(ArrayBounds(grid, 1), 15);
    for (auto [i, j] : {std::pair{20, 0}, {0, 15}, {0, -1}}) EXPECT_RUNTIME_ERROR(ArrayElement2(grid, i, j), 9);
    RtArray huge;
    EXPECT_RUNTIME_ERROR(ArrayDim(huge, 1e6, 1e6), 7);
    EXPECT_RUNTIME_ERROR(ArrayDim(huge, 10, std::nan("")), 7);
}

TEST(RtStringArray, HoldsEmptyStringsAgainAfterEveryDimensioning) {
    RtStringArray names;
    EXPECT_RUNTIME_ERROR(names[0], 9);
    ArrayDim(names, 800);
    StrAssignChars(names[5], "ROCKFORD");
    EXPECT_RUNTIME_ERROR(names[800], 9);
    EXPECT_RUNTIME_ERROR(names.at(-1), 9);
    ArrayDim(names, 100);
    EXPECT_STREQ(StrChars(names[5]), "");
    ArrayDim(names, 0);
    EXPECT_RUNTIME_ERROR(names[0], 9);
}

}  // namespace
