// Runtime strings: the RtString value type, its growth rule, concatenation, comparison and
// the number <-> text conversions every game value goes through.
// Depends on nothing. Owns the one shared, read-only empty text.
#pragma once
#include <cstdint>

struct RtString {
    char* data;         // owned buffer, or the shared empty text
    uint32_t capacity;  // 0 while data is the shared empty text; else a multiple of 512
    uint32_t length;    // bytes before the terminator
};

enum class CmpOp { Eq, Ne, Lt, Gt, Le, Ge };

// Lifetime and assignment
void StrInitEmpty(RtString& s);
void StrRelease(RtString& s);
void StrReserve(RtString& s, uint32_t n);
void StrFromChars(RtString& s, const char* text);
void StrCopy(RtString& s, const RtString& other);
RtString& StrAssign(RtString& s, const RtString& other);
RtString& StrAssignChars(RtString& s, const char* text);
void StrFromNumber(RtString& s, double x);
void StrFromInt(RtString& s, int32_t x);
void StrFromFloat(RtString& s, float x);
char* StrBuffer(RtString& s, uint32_t n);
void StrRecount(RtString& s);
const char* StrChars(const RtString& s);

// Concatenation: each constructs a new string in `result` (which must be dead or freshly
// initialised) and leaves the operands unchanged.
void StrConcat(RtString& result, const RtString& left, const char* right);
void StrConcat(RtString& result, const RtString& left, const RtString& right);
void StrConcat(RtString& result, const char* left, const RtString& right);
void StrConcat(RtString& result, double left, const char* right);
void StrConcat(RtString& result, const char* left, double right);
RtString& StrAppend(RtString& s, const RtString& other);
RtString& StrAppendChars(RtString& s, const char* text);

// Comparison: 1.0 or 0.0. A number operand compares against StrToNumber of the string;
// NaN makes every operator false except Ne.
double StrCompare(CmpOp op, const char* a, const char* b);
double StrCompare(CmpOp op, const RtString& a, const RtString& b);
double StrCompare(CmpOp op, const RtString& a, const char* b);
double StrCompare(CmpOp op, const char* a, const RtString& b);
double StrCompare(CmpOp op, const RtString& a, double b);
double StrCompare(CmpOp op, double a, const RtString& b);

// Commands
double StrLen(const RtString& s);
double CharCode(const RtString& s);
void CharFromCode(RtString& result, double code);
void StrMid(RtString& result, const RtString& s, double start, double count);
double StrToNumber(const RtString& s);
double StrToNumber(const char* text);
void FormatNumber(RtString& result, double width, double decimals, double value);

// Writes x with 10 significant digits, never ending in "."; `out` must hold 64 bytes.
void NumberToText(double x, char* out);

// Truncation towards zero into a fixed width, as the runtime's integer arguments need it:
// NaN and values outside the width give its most negative value.
int32_t TruncInt32(double x);
int16_t TruncInt16(double x);

// A game string variable: initialised empty, released when it goes out of scope.
class RtStr {
public:
    RtStr() { StrInitEmpty(s_); }
    RtStr(const char* text) { StrFromChars(s_, text); }
    RtStr(const RtStr& other) { StrCopy(s_, other.s_); }
    RtStr& operator=(const RtStr& other) { StrAssign(s_, other.s_); return *this; }
    RtStr& operator=(const char* text) { StrAssignChars(s_, text); return *this; }
    ~RtStr() { StrRelease(s_); }
    const char* c_str() const { return StrChars(s_); }
    RtString& raw() { return s_; }
    const RtString& raw() const { return s_; }
private:
    RtString s_;
};
