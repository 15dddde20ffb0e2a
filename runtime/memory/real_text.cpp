// Reals to decimal text through the x87's packed-decimal store, in the
// runtime's fixed mode (see numeric_text.cpp for the inline assembly's form).
#include <cstring>

#include "rt_numbers.h"

namespace {

// Packed-decimal image of the last value formatted: nine bytes of two digits,
// least significant first, and a sign byte.
unsigned char RealToTextWork[10];

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

}  // namespace

int32_t RealToText(char* destination, double value, int32_t decimals) {
    return FormatExtended(destination, value, decimals);
}

int32_t RealToTextSingle(char* destination, float value, int32_t decimals) {
    return FormatExtended(destination, value, decimals);
}
