// Decimal text to numbers and integers to text, on the x87 in the runtime's
// fixed mode.
//
// The x87 steps are inline assembly with the "t" and "u" (top two stack
// registers) constraints, and long double is the 80-bit format on MinGW:
// GCC and Clang agree on both, so one form serves the two compilers.
#include "rt_numbers.h"

namespace {

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

int32_t WriteMagnitude(char* destination, uint64_t magnitude, bool negative) {
    if (!destination) return 0;
    char reversed[20];
    int32_t count = 0;
    // Long division by 10 in 16-bit digits, so that every step is a 32-bit
    // division: a 64-bit one is a library call on i686.
    uint32_t parts[4] = {static_cast<uint32_t>(magnitude >> 48), static_cast<uint32_t>(magnitude >> 32) & 0xFFFF,
                         static_cast<uint32_t>(magnitude >> 16) & 0xFFFF, static_cast<uint32_t>(magnitude) & 0xFFFF};
    bool more;
    do {
        uint32_t remainder = 0;
        more = false;
        for (uint32_t& part : parts) {
            const uint32_t current = (remainder << 16) | part;
            part = current / 10;
            remainder = current % 10;
            more = more || part != 0;
        }
        reversed[count++] = static_cast<char>('0' + remainder);
    } while (more);

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

int32_t Int64ToText(char* destination, int64_t value) {
    // Unsigned negation also gives the magnitude of the most negative value.
    const uint64_t magnitude = value < 0 ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
    return WriteMagnitude(destination, magnitude, value < 0);
}

int32_t UInt64ToText(char* destination, uint64_t value) {
    return WriteMagnitude(destination, value, false);
}
