// Runtime arrays: dimensioning (numbers in steps of 8 with 16 inline, strings in steps of 64)
// and the bounds check that turns every bad index into runtime error 9.
#include "core/rt_array.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <string>

#include "core/errors.h"

namespace {

constexpr int32_t kNumberStep = 8;
constexpr int32_t kStringStep = 64;
constexpr int32_t kInlineCapacity = 16;

[[noreturn]] void IndexError(double index) {
    RecordErrorDetail(ErrIndexRange, "index " + std::to_string(static_cast<long long>(std::trunc(index))) +
                                         " out of range");
    RuntimeErrorExit();
}

[[noreturn]] void StorageError() {
    RecordErrorDetail(ErrArgumentRange, "cannot obtain storage for an array");
    RuntimeErrorExit();
}

// The element count, each unused or negative dimension counting as 1; beyond 32 bits is
// storage that cannot be obtained.
int32_t TotalElements(double d0, double d1, double d2, double d3) {
    double total = std::trunc(d0 * std::max(d1, 1.0) * std::max(d2, 1.0) * std::max(d3, 1.0));
    if (!(total >= 0 && total < 2147483648.0 - kStringStep)) StorageError();
    return static_cast<int32_t>(total);
}

int32_t CountDimensions(double d0, double d1, double d2, double d3) {
    if (d3 != 0) return 4;
    if (d2 != 0) return 3;
    if (d1 != 0) return 2;
    return d0 != 0 ? 1 : 0;
}

template <typename Array>
void SetShape(Array& a, double d0, double d1, double d2, double d3) {
    int32_t s0 = TruncInt32(d0), s1 = TruncInt32(d1), s2 = TruncInt32(d2), s3 = TruncInt32(d3);
    a.dimensions = CountDimensions(d0, d1, d2, d3);
    a.stride1 = static_cast<uint32_t>(s0);
    a.stride2 = static_cast<uint32_t>(s0) * static_cast<uint32_t>(s1);
    a.stride3 = a.stride2 * static_cast<uint32_t>(s2);
    a.size0 = s0;
    a.size1 = s1;
    a.size2 = s2;
    a.size3 = s3;
}

void ReleaseStrings(RtString* data, int32_t count) {
    for (int32_t i = count - 1; i >= 0; --i) StrRelease(data[i]);
    delete[] data;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Number arrays

RtArray::~RtArray() {
    if (data != inlineStorage) delete[] data;
}

void ArrayDim(RtArray& a, double d0, double d1, double d2, double d3) {
    bool forceNewStorage = !(d0 >= 1);
    if (forceNewStorage) d0 = 0;
    int32_t total = TotalElements(d0, d1, d2, d3);
    int32_t needed = (total & ~(kNumberStep - 1)) + kNumberStep;
    if (a.capacity < needed || forceNewStorage) {
        if (a.data != a.inlineStorage) delete[] a.data;
        a.data = needed <= kInlineCapacity ? a.inlineStorage : new (std::nothrow) double[needed];
        a.capacity = a.data != nullptr ? needed : 0;
    }
    if (a.data == nullptr) StorageError();
    for (int32_t i = 0; i < a.capacity; ++i) a.data[i] = 0.0;
    SetShape(a, d0, d1, d2, d3);
}

double* ArrayElement(RtArray& a, int32_t i) {
    if (i < 0 || a.data == nullptr || a.size0 <= i) IndexError(i);
    return a.data + i;
}

double& RtArray::operator[](double index) { return *ArrayElement(*this, TruncInt32(index)); }
double& RtArray::at(int32_t index) { return *ArrayElement(*this, index); }

// Number and string arrays share the shape fields.
template <class Array>
static double SizeOfDimension(const Array& a, double n) {
    switch (TruncInt32(n)) {
        case 0: return a.size0;
        case 1: return a.size1;
        case 2: return a.size2;
        case 3: return a.size3;
        default: return 0;
    }
}

double ArrayBounds(const RtArray& a, double n) { return SizeOfDimension(a, n); }

double& ArrayElement2(RtArray& a, double i0, double i1) {
    int32_t x = TruncInt32(i0), y = TruncInt32(i1);
    if (a.data == nullptr || x < 0 || x >= a.size0) IndexError(i0);
    if (y < 0 || y >= a.size1) IndexError(i1);
    return a.data[static_cast<uint32_t>(x) + static_cast<uint32_t>(y) * a.stride1];
}

// ---------------------------------------------------------------------------------------------
// String arrays

RtStringArray::~RtStringArray() {
    if (data != nullptr) ReleaseStrings(data, capacity);
}

void ArrayDim(RtStringArray& a, double d0, double d1, double d2, double d3) {
    bool forceNewStorage = !(d0 >= 1);
    if (forceNewStorage) d0 = 0;
    int32_t total = TotalElements(d0, d1, d2, d3);
    int32_t needed = (total & ~(kStringStep - 1)) + kStringStep;
    if (a.capacity < needed || forceNewStorage) {
        if (a.data != nullptr) ReleaseStrings(a.data, a.capacity);
        a.capacity = 0;
        a.data = new (std::nothrow) RtString[needed];
        if (a.data == nullptr) StorageError();
        for (int32_t i = 0; i < needed; ++i) StrInitEmpty(a.data[i]);
        a.capacity = needed;
    } else {
        for (int32_t i = 0; i < needed; ++i) StrAssignChars(a.data[i], "");
    }
    SetShape(a, d0, d1, d2, d3);
}

static RtString* StringElement(RtStringArray& a, int32_t i) {
    if (i < 0 || a.data == nullptr || a.size0 <= i) IndexError(i);
    return a.data + i;
}

RtString& RtStringArray::operator[](double index) { return *StringElement(*this, TruncInt32(index)); }
RtString& RtStringArray::at(int32_t index) { return *StringElement(*this, index); }

double ArrayBounds(const RtStringArray& a, double n) { return SizeOfDimension(a, n); }
