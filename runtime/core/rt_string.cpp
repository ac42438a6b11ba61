// Runtime strings: growth in steps of 512, the shared empty text, concatenation, comparison,
// and the number <-> text conversions.
#include "core/rt_string.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>

namespace {

// The one read-only empty text; strings that point here own nothing.
const char kSharedEmpty[1] = {0};

char* SharedEmpty() { return const_cast<char*>(kSharedEmpty); }

bool OwnsBuffer(const RtString& s) { return s.data != nullptr && s.data != kSharedEmpty && s.capacity != 0; }

constexpr uint32_t kGrowthStep = 512;
constexpr uint32_t kNumberReserve = 64;

}  // namespace

// ---------------------------------------------------------------------------------------------
// Lifetime and assignment

void StrInitEmpty(RtString& s) {
    s.data = SharedEmpty();
    s.capacity = 0;
    s.length = 0;
}

void StrRelease(RtString& s) {
    if (OwnsBuffer(s)) std::free(s.data);
    s.data = nullptr;
    s.capacity = 0;
    s.length = 0;
}

void StrReserve(RtString& s, uint32_t n) {
    if (s.capacity > n) return;
    if (n >= UINT32_MAX - kGrowthStep) throw std::bad_alloc();
    uint32_t newCapacity = (n & ~(kGrowthStep - 1)) + kGrowthStep;
    char* buffer = static_cast<char*>(std::malloc(newCapacity));
    if (buffer == nullptr) throw std::bad_alloc();
    if (OwnsBuffer(s)) {
        size_t oldText = strnlen(s.data, s.capacity);
        std::memcpy(buffer, s.data, oldText);
        buffer[oldText] = 0;
        std::free(s.data);
    } else {
        buffer[0] = 0;
    }
    s.data = buffer;
    s.capacity = newCapacity;
}

const char* StrChars(const RtString& s) { return s.length != 0 ? s.data : kSharedEmpty; }

// Copies `count` bytes of `text` (which may lie inside s's own buffer) into s.
static RtString& AssignBytes(RtString& s, const char* text, uint32_t count) {
    bool insideOwnBuffer = OwnsBuffer(s) && text >= s.data && text < s.data + s.capacity;
    if (!insideOwnBuffer) StrReserve(s, count);
    std::memmove(s.data, text, count);
    s.data[count] = 0;
    s.length = count;
    return s;
}

RtString& StrAssign(RtString& s, const RtString& other) {
    if (&s == &other) {
        StrReserve(s, s.length);
        return s;
    }
    return AssignBytes(s, StrChars(other), other.length);
}

RtString& StrAssignChars(RtString& s, const char* text) {
    if (text == nullptr) text = kSharedEmpty;
    return AssignBytes(s, text, static_cast<uint32_t>(std::strlen(text)));
}

void StrFromChars(RtString& s, const char* text) {
    StrInitEmpty(s);
    StrAssignChars(s, text);
}

void StrCopy(RtString& s, const RtString& other) {
    StrInitEmpty(s);
    StrAssign(s, other);
}

void StrFromNumber(RtString& s, double x) {
    StrInitEmpty(s);
    StrReserve(s, kNumberReserve);
    NumberToText(x, s.data);
    s.length = static_cast<uint32_t>(std::strlen(s.data));
}

void StrFromInt(RtString& s, int32_t x) {
    StrInitEmpty(s);
    StrReserve(s, kNumberReserve);
    s.length = static_cast<uint32_t>(std::snprintf(s.data, s.capacity, "%d", static_cast<int>(x)));
}

void StrFromFloat(RtString& s, float x) { StrFromNumber(s, static_cast<double>(x)); }

char* StrBuffer(RtString& s, uint32_t n) {
    StrReserve(s, n);
    return s.data;
}

void StrRecount(RtString& s) {
    s.length = s.capacity == 0 ? 0 : static_cast<uint32_t>(strnlen(s.data, s.capacity));
}

// ---------------------------------------------------------------------------------------------
// Concatenation and appending

static RtString& AppendBytes(RtString& s, const char* text, uint32_t count) {
    // The operand may live in s's own buffer, which growing would free.
    bool insideOwnBuffer = OwnsBuffer(s) && text >= s.data && text < s.data + s.capacity;
    size_t offset = insideOwnBuffer ? static_cast<size_t>(text - s.data) : 0;
    uint32_t oldLength = s.length;
    StrReserve(s, oldLength + count);
    if (insideOwnBuffer) text = s.data + offset;
    std::memmove(s.data + oldLength, text, count);
    s.length = oldLength + count;
    s.data[s.length] = 0;
    return s;
}

RtString& StrAppend(RtString& s, const RtString& other) { return AppendBytes(s, StrChars(other), other.length); }

RtString& StrAppendChars(RtString& s, const char* text) {
    if (text == nullptr) text = kSharedEmpty;
    return AppendBytes(s, text, static_cast<uint32_t>(std::strlen(text)));
}

void StrConcat(RtString& result, const RtString& left, const char* right) {
    StrCopy(result, left);
    StrAppendChars(result, right);
}

void StrConcat(RtString& result, const RtString& left, const RtString& right) {
    StrCopy(result, left);
    StrAppend(result, right);
}

void StrConcat(RtString& result, const char* left, const RtString& right) {
    StrFromChars(result, left);
    StrAppend(result, right);
}

void StrConcat(RtString& result, double left, const char* right) {
    StrFromNumber(result, left);
    StrAppendChars(result, right);
}

void StrConcat(RtString& result, const char* left, double right) {
    StrFromChars(result, left);
    RtString number;
    StrFromNumber(number, right);
    StrAppend(result, number);
    StrRelease(number);
}

// ---------------------------------------------------------------------------------------------
// Comparison

template <typename T>
static double Compare(CmpOp op, T a, T b) {
    bool result = false;
    switch (op) {
        case CmpOp::Eq: result = a == b; break;
        case CmpOp::Ne: result = a != b; break;
        case CmpOp::Lt: result = a < b; break;
        case CmpOp::Gt: result = a > b; break;
        case CmpOp::Le: result = a <= b; break;
        case CmpOp::Ge: result = a >= b; break;
    }
    return result ? 1.0 : 0.0;
}

double StrCompare(CmpOp op, const char* a, const char* b) {
    return Compare(op, std::strcmp(a ? a : kSharedEmpty, b ? b : kSharedEmpty), 0);
}
double StrCompare(CmpOp op, const RtString& a, const RtString& b) { return StrCompare(op, StrChars(a), StrChars(b)); }
double StrCompare(CmpOp op, const RtString& a, const char* b) { return StrCompare(op, StrChars(a), b); }
double StrCompare(CmpOp op, const char* a, const RtString& b) { return StrCompare(op, a, StrChars(b)); }
// NaN on either side makes every operator false but "<>", as IEEE comparison does.
double StrCompare(CmpOp op, const RtString& a, double b) { return Compare(op, StrToNumber(a), b); }
double StrCompare(CmpOp op, double a, const RtString& b) { return Compare(op, a, StrToNumber(b)); }

// ---------------------------------------------------------------------------------------------
// Commands

double StrLen(const RtString& s) { return s.length; }

double CharCode(const RtString& s) { return static_cast<unsigned char>(StrChars(s)[0]); }

void CharFromCode(RtString& result, double code) {
    int16_t wide = TruncInt16(code);
    char text[2] = {static_cast<char>(wide & 0xFF), 0};
    // The most negative 16-bit value marks a code outside the range; its low byte is 0 anyway.
    StrFromChars(result, text);
}

void StrMid(RtString& result, const RtString& s, double start, double count) {
    StrInitEmpty(result);
    double length = s.length;
    if (std::trunc(start + count) > length) count = length - start;
    if (!(count > 0)) return;
    if (!(start >= 0 && start <= length)) return;
    uint32_t first = static_cast<uint32_t>(start);
    double available = length - first;
    uint32_t bytes = static_cast<uint32_t>(std::min(std::trunc(count), available));
    AssignBytes(result, StrChars(s) + first, bytes);
    StrRecount(result);
}

// The atof rule: white space, sign, digits with an optional point, an optional exponent.
// Hexadecimal, "inf" and "nan" are not numbers here, as they were not for the original runtime.
double StrToNumber(const char* text) {
    if (text == nullptr) return 0.0;
    const char* p = text;
    while (std::isspace(static_cast<unsigned char>(*p))) ++p;
    const char* start = p;
    if (*p == '+' || *p == '-') ++p;
    size_t digits = 0;
    while (std::isdigit(static_cast<unsigned char>(*p))) ++p, ++digits;
    if (*p == '.') {
        ++p;
        while (std::isdigit(static_cast<unsigned char>(*p))) ++p, ++digits;
    }
    if (digits == 0) return 0.0;
    if (*p == 'e' || *p == 'E') {
        const char* exponent = p + 1;
        if (*exponent == '+' || *exponent == '-') ++exponent;
        if (std::isdigit(static_cast<unsigned char>(*exponent))) {
            p = exponent;
            while (std::isdigit(static_cast<unsigned char>(*p))) ++p;
        }
    }
    std::string number(start, p);
    return std::strtod(number.c_str(), nullptr);
}

double StrToNumber(const RtString& s) { return StrToNumber(StrChars(s)); }

void FormatNumber(RtString& result, double width, double decimals, double value) {
    // Clamped so that the format text stays a valid printf format.
    int fieldWidth = std::max(-255, std::min(255, static_cast<int>(TruncInt16(width))));
    int precision = std::max(0, std::min(99, static_cast<int>(TruncInt16(decimals))));
    char format[32];
    std::snprintf(format, sizeof format, "%%%d.%df", fieldWidth, precision);
    StrInitEmpty(result);
    StrReserve(result, 256);
    std::snprintf(result.data, 256, format, value);
    StrRecount(result);
}

// ---------------------------------------------------------------------------------------------
// Numbers

int32_t TruncInt32(double x) {
    if (!(x > -2147483649.0 && x < 2147483648.0)) return INT32_MIN;
    return static_cast<int32_t>(x);
}

int16_t TruncInt16(double x) {
    if (!(x > -32769.0 && x < 32768.0)) return INT16_MIN;
    return static_cast<int16_t>(x);
}

// 10 significant digits: fixed-point while the decimal exponent lies in -5..9, otherwise
// exponent notation ("1e+20", "1.5e-07"); trailing zeros and a trailing point are dropped.
static constexpr int kSignificantDigits = 10;

static void TrimFraction(std::string& digits) {
    while (!digits.empty() && digits.back() == '0') digits.pop_back();
}

void NumberToText(double x, char* out) {
    if (std::isnan(x)) { std::strcpy(out, "nan"); return; }
    if (std::isinf(x)) { std::strcpy(out, x < 0 ? "-inf" : "inf"); return; }
    if (x == 0) { std::strcpy(out, "0"); return; }

    // "d.ddddddddde+XXX": correctly rounded digits and the decimal exponent.
    char scientific[40];
    std::snprintf(scientific, sizeof scientific, "%.*e", kSignificantDigits - 1, std::fabs(x));
    std::string digits;
    digits += scientific[0];
    digits.append(scientific + 2, kSignificantDigits - 1);
    int exponent = std::atoi(std::strchr(scientific, 'e') + 1);
    TrimFraction(digits);

    std::string text = x < 0 ? "-" : "";
    if (exponent >= -5 && exponent < kSignificantDigits) {
        if (exponent < 0) {
            text += "0." + std::string(static_cast<size_t>(-exponent - 1), '0') + digits;
        } else {
            size_t integerDigits = static_cast<size_t>(exponent) + 1;
            if (digits.size() <= integerDigits) {
                text += digits + std::string(integerDigits - digits.size(), '0');
            } else {
                text += digits.substr(0, integerDigits) + "." + digits.substr(integerDigits);
            }
        }
    } else {
        text += digits.substr(0, 1);
        if (digits.size() > 1) text += "." + digits.substr(1);
        char exponentText[16];
        std::snprintf(exponentText, sizeof exponentText, "e%c%02d", exponent < 0 ? '-' : '+', std::abs(exponent));
        text += exponentText;
    }
    std::memcpy(out, text.c_str(), text.size() + 1);
}
