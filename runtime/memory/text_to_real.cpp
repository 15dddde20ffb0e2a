// Decimal text to the nearest double, ties to even, for any number of
// digits: a first guess, then exact comparisons with the midpoints between
// neighbouring doubles, in integers as long as they need to be.
#include "rt_numbers.h"

#include <cstring>

namespace {

// Digits kept: a midpoint between two doubles has at most 767 significant
// digits, so anything past these only says whether the text is above it.
constexpr int32_t kDigitsKept = 800;
constexpr int32_t kLimbs = 180;  // 5760 bits: the largest product below

// An unsigned integer in 32-bit limbs, least significant first.
struct Big {
    uint32_t limb[kLimbs];
    int32_t size;
};

void SetSmall(Big& n, uint64_t value) {
    n.size = 0;
    for (; value; value >>= 32) n.limb[n.size++] = static_cast<uint32_t>(value);
}

void MultiplyAdd(Big& n, uint32_t factor, uint32_t addend) {
    uint64_t carry = addend;
    for (int32_t i = 0; i < n.size; ++i) {
        carry += static_cast<uint64_t>(n.limb[i]) * factor;
        n.limb[i] = static_cast<uint32_t>(carry);
        carry >>= 32;
    }
    if (carry && n.size < kLimbs) n.limb[n.size++] = static_cast<uint32_t>(carry);
}

void MultiplyByPowerOfFive(Big& n, int32_t exponent) {
    for (; exponent >= 13; exponent -= 13) MultiplyAdd(n, 1220703125u, 0);  // 5^13
    uint32_t rest = 1;
    for (; exponent > 0; --exponent) rest *= 5;
    MultiplyAdd(n, rest, 0);
}

void ShiftLeft(Big& n, int32_t bits) {
    if (n.size == 0 || bits <= 0) return;
    const int32_t whole = bits / 32;
    const int32_t part = bits % 32;
    int32_t size = n.size + whole + 1;
    if (size > kLimbs) size = kLimbs;
    for (int32_t i = size - 1; i >= 0; --i) {
        const int32_t from = i - whole;
        uint32_t value = from >= 0 && from < n.size ? n.limb[from] << part : 0;
        if (part && from - 1 >= 0 && from - 1 < n.size) value |= n.limb[from - 1] >> (32 - part);
        n.limb[i] = value;
    }
    n.size = size;
    while (n.size > 0 && n.limb[n.size - 1] == 0) --n.size;
}

int Compare(const Big& a, const Big& b) {
    if (a.size != b.size) return a.size < b.size ? -1 : 1;
    for (int32_t i = a.size - 1; i >= 0; --i) {
        if (a.limb[i] != b.limb[i]) return a.limb[i] < b.limb[i] ? -1 : 1;
    }
    return 0;
}

// The text's value as digits times a power of ten.
struct Decimal {
    char digits[kDigitsKept + 1];
    int32_t count;     // significant digits kept, no leading zeros
    int32_t exponent;  // value = digits * 10^exponent
};

// Sign of digits * 10^exponent - mantissa * 2^binary.
int CompareWith(const Decimal& d, uint64_t mantissa, int32_t binary) {
    Big left;
    Big right;
    SetSmall(left, 0);
    for (int32_t i = 0; i < d.count; ++i) MultiplyAdd(left, 10, static_cast<uint32_t>(d.digits[i] - '0'));
    SetSmall(right, mantissa);
    // 10^e = 5^e * 2^e: the fives go to whichever side keeps them whole, then
    // the twos.
    if (d.exponent >= 0) {
        MultiplyByPowerOfFive(left, d.exponent);
    } else {
        MultiplyByPowerOfFive(right, -d.exponent);
    }
    const int32_t twos = d.exponent - binary;
    if (twos >= 0) {
        ShiftLeft(left, twos);
    } else {
        ShiftLeft(right, -twos);
    }
    return Compare(left, right);
}

uint64_t Bits(double value) {
    uint64_t bits;
    std::memcpy(&bits, &value, sizeof(bits));
    return bits;
}

double FromBits(uint64_t bits) {
    double value;
    std::memcpy(&value, &bits, sizeof(value));
    return value;
}

// Steps from a guess within a few units of the answer to the answer.
double Nearest(const Decimal& d, double guess) {
    constexpr uint64_t kInfinity = 0x7FF0000000000000ull;
    uint64_t bits = Bits(guess);
    if (bits >= kInfinity) bits = kInfinity - 1;  // the largest double
    for (int step = 0; step < 64; ++step) {
        const uint64_t field = bits >> 52;
        const uint64_t fraction = bits & ((uint64_t{1} << 52) - 1);
        const uint64_t f = field ? fraction | (uint64_t{1} << 52) : fraction;
        const int32_t k = field ? static_cast<int32_t>(field) - 1075 : -1074;
        const bool odd = (f & 1) != 0;
        // Above the midpoint with the next double up (infinity past the top).
        const int above = CompareWith(d, 2 * f + 1, k - 1);
        if (above > 0 || (above == 0 && odd)) {
            ++bits;
            if (bits >= kInfinity) return FromBits(kInfinity);
            continue;
        }
        if (bits == 0) break;
        // Below the midpoint with the next double down, whose spacing is half
        // as wide at a power of two.
        const bool narrower = field > 1 && fraction == 0;
        const int below = narrower ? CompareWith(d, 4 * f - 1, k - 2) : CompareWith(d, 2 * f - 1, k - 1);
        if (below < 0 || (below == 0 && odd)) {
            --bits;
            continue;
        }
        break;
    }
    return FromBits(bits);
}

}  // namespace

double TextToReal(const char* text) {
    const char* p = text ? text : "";
    while (*p == ' ' || *p == '\t') ++p;
    bool negative = false;
    if (FirstCharCode(p) == FirstCharCode("-")) {
        negative = true;
        ++p;
    }
    Decimal d;
    d.count = 0;
    d.exponent = 0;
    bool dropped = false;  // a non-zero digit past those kept
    int32_t scale = 0;     // the position of the units digit, from the last kept
    bool fraction = false;
    for (;; ++p) {
        if (!fraction && FirstCharCode(p) == FirstCharCode(".")) {
            fraction = true;
            continue;
        }
        if (!IsDecimalDigit(*p)) break;
        if (d.count == 0 && *p == '0') {
            if (fraction) --scale;
            continue;
        }
        if (d.count < kDigitsKept) {
            d.digits[d.count++] = *p;
            if (fraction) --scale;
        } else {
            dropped = dropped || *p != '0';
            if (!fraction) ++scale;
        }
    }
    // A dropped non-zero digit lies below the last kept: one more digit 1
    // stands for it, enough to break any tie the right way.
    if (dropped) {
        d.digits[d.count++] = '1';
        --scale;
    }
    d.exponent = scale;
    double result = 0.0;
    if (d.count > 0) {
        const int32_t magnitude = d.count + d.exponent;  // value < 10^magnitude
        if (magnitude > 310) {
            result = FromBits(0x7FF0000000000000ull);
        } else if (d.count <= 15 && d.exponent >= -22 && d.exponent <= 22) {
            // Digits and power both exact as doubles: one rounding, the right one.
            double digits = 0;
            for (int32_t i = 0; i < d.count; ++i) digits = digits * 10 + (d.digits[i] - '0');
            double power = 1;
            for (int32_t e = d.exponent < 0 ? -d.exponent : d.exponent; e > 0; --e) power *= 10;
            result = d.exponent < 0 ? digits / power : digits * power;
        } else if (magnitude >= -330) {
            // The guess: the first 19 digits, scaled in extended precision.
            uint64_t leading = 0;
            const int32_t used = d.count < 19 ? d.count : 19;
            for (int32_t i = 0; i < used; ++i) leading = leading * 10 + static_cast<uint64_t>(d.digits[i] - '0');
            long double guess = static_cast<long double>(leading);
            int32_t power = d.exponent + d.count - used;
            long double ten = 10.0L;
            for (int32_t e = power < 0 ? -power : power; e; e >>= 1, ten *= ten) {
                if (e & 1) guess = power < 0 ? guess / ten : guess * ten;
            }
            result = Nearest(d, static_cast<double>(guess));
        }
    }
    return negative ? -result : result;
}
