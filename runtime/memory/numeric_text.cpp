// Decimal text to numbers and back, on the x87 in the runtime's fixed mode.
//
// The x87 steps are inline assembly with the "t" and "u" (top two stack
// registers) constraints, and long double is the 80-bit format on MinGW:
// GCC and Clang agree on both, so one form serves the two compilers.
#include <cstring>

#include "rt_numbers.h"

namespace {

// Packed-decimal image of the last value formatted: nine bytes of two digits,
// least significant first, and a sign byte.
unsigned char RealToTextWork[10];

// b * log2(a), a > 0, kept in extended precision.
long double Log2Product(long double a, long double b) {
    long double product;
    __asm__("fyl2x" : "=t"(product) : "0"(a), "u"(b) : "st(1)");
    return product;
}

// 2^x as 2^f * 2^r with r = x rounded and |f| <= 1/2, the range f2xm1 takes.
long double PowerOfTwo(long double x) {
    if (__builtin_isinf(x)) return x > 0 ? x : 0.0L;
    long double result;
    __asm__(
        "fld %%st(0)\n\t"
        "frndint\n\t"             // st0 = r, st1 = x
        "fxch\n\t"
        "fsub %%st(1), %%st\n\t"  // st0 = f = x - r, st1 = r
        "f2xm1\n\t"
        "fld1\n\t"
        "faddp\n\t"               // st0 = 2^f
        "fscale\n\t"              // st0 = 2^f * 2^r
        "fstp %%st(1)"
        : "=t"(result)
        : "0"(x));
    return result;
}

// One rounding toward zero; the previous mode comes back afterwards.
long double TruncateTowardZero(long double x) {
    uint16_t saved;
    __asm__ __volatile__("fnstcw %0" : "=m"(saved));
    const uint16_t chop = static_cast<uint16_t>(saved | 0x0C00);
    long double result;
    __asm__ __volatile__(
        "fldcw %2\n\t"
        "frndint\n\t"
        "fldcw %3"
        : "=t"(result)
        : "0"(x), "m"(chop), "m"(saved));
    return result;
}

int32_t WriteFixed(char* destination, const char* text) {
    const size_t length = std::strlen(text);
    std::memcpy(destination, text, length + 1);
    return static_cast<int32_t>(length);
}

int32_t FormatExtended(char* destination, long double value, int32_t decimals) {
    if (!destination) return 0;
    if (decimals < 0 || decimals > 17) return WriteFixed(destination, " ERR");
    if (value != value) return WriteFixed(destination, " NAN");
    if (__builtin_isinf(value)) return WriteFixed(destination, value < 0 ? "-INF" : " INF");

    long double scaled = value;
    if (decimals > 0) {
        long double power = 10;
        for (int32_t i = 1; i < decimals; ++i) power *= 10;
        scaled = value * power;
    }
    // Rounds with the current mode (nearest even) and packs 18 digits.
    __asm__ __volatile__("fbstp %0" : "=m"(RealToTextWork) : "t"(scaled) : "st");
    // Byte 8 holds the top two digits (at most 0x99); 0xFF there is the
    // indefinite pattern stored for magnitudes of 1e18 and more.
    if (RealToTextWork[8] == 0xFF) return WriteFixed(destination, value < 0 ? "-OVERFLOW" : " OVERFLOW");

    char digits[18];
    for (int32_t i = 0; i < 9; ++i) {
        const unsigned char pair = RealToTextWork[8 - i];
        digits[2 * i] = static_cast<char>('0' + (pair >> 4));
        digits[2 * i + 1] = static_cast<char>('0' + (pair & 0x0F));
    }
    const int32_t integerDigits = 18 - decimals;
    int32_t first = 0;
    while (first < integerDigits && digits[first] == '0') ++first;

    int32_t n = 0;
    destination[n++] = (RealToTextWork[9] & 0x80) ? '-' : ' ';
    if (first == integerDigits) destination[n++] = '0';
    for (int32_t i = first; i < integerDigits; ++i) destination[n++] = digits[i];
    if (decimals > 0) {
        destination[n++] = '.';
        for (int32_t i = integerDigits; i < 18; ++i) destination[n++] = digits[i];
    }
    destination[n] = 0;
    return n;
}

int32_t WriteMagnitude(char* destination, uint64_t magnitude, bool negative) {
    if (!destination) return 0;
    char reversed[20];
    int32_t count = 0;
    // 64 by 32 bits in two steps: the high word, then the remainder with the low word.
    uint32_t high = static_cast<uint32_t>(magnitude >> 32);
    uint32_t low = static_cast<uint32_t>(magnitude);
    do {
        const uint32_t remainderHigh = high % 10;
        high /= 10;
        const uint64_t partial = (static_cast<uint64_t>(remainderHigh) << 32) | low;
        low = static_cast<uint32_t>(partial / 10);
        reversed[count++] = static_cast<char>('0' + partial % 10);
    } while (high != 0 || low != 0);

    int32_t n = 0;
    if (negative) destination[n++] = '-';
    while (count > 0) destination[n++] = reversed[--count];
    destination[n++] = ' ';
    destination[n] = 0;
    return n;
}

}  // namespace

int32_t IsDecimalDigit(int32_t value) {
    const int32_t byte = value & 0xFF;
    return byte >= '0' && byte <= '9' ? 1 : 0;
}

int32_t FirstCharCode(const char* text) {
    return text ? static_cast<unsigned char>(text[0]) : 0;
}

double RealAbs(double x) { return x >= 0 ? x : -x; }

double RealPower(double a, double b) {
    if (b == 0) return 1.0;
    if (a > 0) return static_cast<double>(PowerOfTwo(Log2Product(a, b)));
    if (a == 0) return 0.0;
    const long double n = TruncateTowardZero(b);
    if (static_cast<long double>(b) != n) return 0.0;
    const long double magnitude = PowerOfTwo(Log2Product(-static_cast<long double>(a), n));
    const long double half = n / 2;
    const bool odd = TruncateTowardZero(half) != half;
    return static_cast<double>(odd ? -magnitude : magnitude);
}

double TextToReal(const char* text) {
    const char* p = text ? text : "";
    while (*p == ' ' || *p == '\t') ++p;
    bool negative = false;
    if (FirstCharCode(p) == FirstCharCode("-")) {
        negative = true;
        ++p;
    }
    double result = 0.0;
    for (; IsDecimalDigit(*p); ++p) result = result * 10.0 + (*p - '0');
    if (FirstCharCode(p) == FirstCharCode(".")) {
        ++p;
        for (int32_t k = 1; IsDecimalDigit(*p); ++p, ++k) {
            const double step = 1.0 / RealPower(10.0, k);
            result = result + (*p - '0') * step;
        }
    }
    return negative ? -result : result;
}

int32_t RealToText(char* destination, double value, int32_t decimals) {
    return FormatExtended(destination, value, decimals);
}

int32_t RealToTextSingle(char* destination, float value, int32_t decimals) {
    return FormatExtended(destination, value, decimals);
}

int32_t Int64ToText(char* destination, int64_t value) {
    // Unsigned negation also gives the magnitude of the most negative value.
    const uint64_t magnitude = value < 0 ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
    return WriteMagnitude(destination, magnitude, value < 0);
}

int32_t UInt64ToText(char* destination, uint64_t value) {
    return WriteMagnitude(destination, value, false);
}
