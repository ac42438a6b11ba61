// Runtime arrays of numbers and strings: dimensioning, bounds-checked element access.
// Depends on rt_string.h and errors.h (a bad index is runtime error 9).
#pragma once
#include <cstdint>
#include "core/rt_string.h"

struct RtArray {
    double* data = nullptr;
    double inlineStorage[16] = {};
    uint32_t stride1 = 0, stride2 = 0, stride3 = 0;
    int32_t size0 = 0, size1 = 0, size2 = 0, size3 = 0;
    int32_t dimensions = 0;
    int32_t capacity = 0;

    RtArray() = default;
    RtArray(const RtArray&) = delete;  // data may point into inlineStorage
    RtArray& operator=(const RtArray&) = delete;
    ~RtArray();

    // Cave[i + 20]: the index is truncated towards zero and checked (error 9).
    double& operator[](double index);
    double& at(int32_t index);
};

struct RtStringArray {
    RtString* data = nullptr;
    uint32_t stride1 = 0, stride2 = 0, stride3 = 0;
    int32_t size0 = 0, size1 = 0, size2 = 0, size3 = 0;
    int32_t dimensions = 0;
    int32_t capacity = 0;

    RtStringArray() = default;
    RtStringArray(const RtStringArray&) = delete;
    RtStringArray& operator=(const RtStringArray&) = delete;
    ~RtStringArray();

    RtString& operator[](double index);
    RtString& at(int32_t index);
};

void ArrayDim(RtArray& a, double d0, double d1 = 0, double d2 = 0, double d3 = 0);
void ArrayDim(RtStringArray& a, double d0, double d1 = 0, double d2 = 0, double d3 = 0);
double* ArrayElement(RtArray& a, int32_t i);
double ArrayBounds(const RtArray& a, double n);
double ArrayBounds(const RtStringArray& a, double n);
// Multi-dimensional access; each index is checked against its own size.
double& ArrayElement2(RtArray& a, double i0, double i1);
