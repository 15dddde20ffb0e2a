// Numeric text conversion.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <cstdlib>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "rt_numbers.h"

namespace {

TEST(NumericText, ProcessRunsInTheRuntimeFpuMode) {
    // Bit 6 may read back set whatever was loaded.
    EXPECT_EQ(FpuReadControlWord() & ~0x40, 0x033F);
}

TEST(TextToReal, LeadingNumberOfText) {
    struct Row {
        const char* text;
        double value;
    };
    const Row rows[] = {
        {"  12.5", 12.5}, {"\t-3", -3.0}, {"-.25", -0.25}, {".5", 0.5}, {"7abc", 7.0},
        {"+4", 0.0},      {"", 0.0},      {"1.2.3", 1.2},  {"1e3", 1.0}, {"0012", 12.0},
        {"12.", 12.0},    {" - 5", -0.0}, {"123456789", 123456789.0}, {"3.75", 3.75},
    };
    for (const Row& row : rows) {
        const double value = TextToReal(row.text);
        EXPECT_EQ(value, row.value) << '"' << row.text << '"';
        EXPECT_EQ(std::signbit(value), std::signbit(row.value)) << '"' << row.text << '"';
    }
    const double negativeZero = TextToReal("-");
    EXPECT_EQ(negativeZero, 0.0);
    EXPECT_TRUE(std::signbit(negativeZero));
    EXPECT_EQ(TextToReal(nullptr), 0.0);
}

// Every decimal text gives the nearest double, ties to even, checked against
// the C library's correctly rounded reading: all n / 10^d for n < 10,000 and
// d = 1..4, random digit strings up to 40 digits with the point anywhere,
// long ones, and the edges of the range.
TEST(TextToReal, NearestDoubleTiesToEven) {
    std::vector<std::string> texts;
    for (int d = 1; d <= 4; ++d) {
        for (int n = 0; n < 10000; ++n) {
            std::string digits = std::to_string(n);
            digits.insert(0, static_cast<size_t>(d + 1 > static_cast<int>(digits.size()) ? d + 1 - digits.size() : 0), '0');
            texts.push_back(digits.insert(digits.size() - static_cast<size_t>(d), "."));
        }
    }
    std::mt19937 random(20261209);
    for (int i = 0; i < 20000; ++i) {
        const int length = 1 + static_cast<int>(random() % (i < 19800 ? 40 : 900));
        std::string text;
        for (int k = 0; k < length; ++k) text += static_cast<char>('0' + random() % 10);
        text.insert(random() % (text.size() + 1), ".");
        texts.push_back(text);
    }
    const std::string zeros308(308, '0');
    const std::string zeros323(323, '0');
    for (const std::string& edge : std::vector<std::string>{
             "9007199254740993", "9007199254740993." + std::string(700, '0') + "1", "1" + zeros308,
          "17976931348623158" + zeros308.substr(16), "17976931348623159" + zeros308.substr(16),
             "0." + zeros323 + "2", "0." + zeros323 + "25", "0." + zeros323 + "5", "0.0254", "1609.344", "0.3"}) {
        texts.push_back(edge);
    }
    int wrong = 0;
    for (const std::string& text : texts) {
        const double expected = __mingw_strtod(text.c_str(), nullptr);
        const double value = TextToReal(text.c_str());
        if (std::memcmp(&value, &expected, sizeof(value)) != 0 && ++wrong <= 5) {
            ADD_FAILURE() << '"' << text.substr(0, 60) << (text.size() > 60 ? "..." : "") << "\" gives "
                          << std::hexfloat << value << ", nearest " << expected;
        }
    }
    EXPECT_EQ(wrong, 0) << "of " << texts.size();
    EXPECT_EQ(TextToReal("9007199254740993"), 9007199254740992.0);
    EXPECT_EQ(TextToReal(("2" + zeros308).c_str()), std::numeric_limits<double>::infinity());
}

TEST(TextToReal, CharacterHelpers) {
    EXPECT_EQ(IsDecimalDigit('0'), 1);
    EXPECT_EQ(IsDecimalDigit('9'), 1);
    EXPECT_EQ(IsDecimalDigit('/'), 0);
    EXPECT_EQ(IsDecimalDigit(':'), 0);
    EXPECT_EQ(IsDecimalDigit(0x1235), 1);  // only the low byte counts
    EXPECT_EQ(FirstCharCode("A"), 65);
    EXPECT_EQ(FirstCharCode("\xE9"), 0xE9);
    EXPECT_EQ(FirstCharCode(""), 0);
    EXPECT_EQ(RealAbs(-2.5), 2.5);
    EXPECT_EQ(RealAbs(3.0), 3.0);
}

TEST(RealPower, Values) {
    struct Row {
        double a, b, expected;
    };
    const Row rows[] = {
        {2, 10, 1024}, {0, 0, 1},   {0, -1, 0},  {-2, 3, -8},  {-2, 2, 4},     {-2, 0.5, 0},
        {5, 0, 1},     {2, -2, 0.25}, {10, 1, 10}, {10, 3, 1000}, {4, 0.5, 2}, {-3, -1, -1.0 / 3},
        {1, 1e6, 1},   {-1, 1e15, 1},
    };
    for (const Row& row : rows) {
        EXPECT_DOUBLE_EQ(RealPower(row.a, row.b), row.expected) << row.a << " ^ " << row.b;
    }
    // Powers of ten that parsing divides by are exact.
    double power = 1;
    for (int k = 1; k <= 22; ++k) {
        power *= 10;
        EXPECT_EQ(RealPower(10, k), power) << k;
    }
    EXPECT_EQ(RealPower(10, 400), std::numeric_limits<double>::infinity());
    EXPECT_EQ(RealPower(10, -400), 0.0);
}

struct FormatRow {
    double value;
    int32_t decimals;
    const char* text;
};

void ExpectFormats(const FormatRow* rows, size_t count) {
    for (size_t i = 0; i < count; ++i) {
        const FormatRow& row = rows[i];
        char buffer[32];
        std::memset(buffer, '#', sizeof(buffer));
        const int32_t length = RealToText(buffer, row.value, row.decimals);
        EXPECT_STREQ(buffer, row.text) << row.value << " with " << row.decimals;
        EXPECT_EQ(length, static_cast<int32_t>(std::strlen(row.text)));
        // Bounded: never more than 21 bytes, terminator included.
        for (size_t j = 21; j < sizeof(buffer); ++j) ASSERT_EQ(buffer[j], '#');
    }
}

TEST(RealToText, FixedDecimals) {
    const FormatRow rows[] = {
        {3.14159, 2, " 3.14"},  {-0.5, 0, "-0"},     {0, 0, " 0"},         {0.05, 2, " 0.05"},
        {2.5, 0, " 2"},         {3.5, 0, " 4"},      {1, 3, " 1.000"},     {-0.05, 2, "-0.05"},
        {-12.345, 1, "-12.3"},  {0.5, 1, " 0.5"},    {123456789, 0, " 123456789"},
        {1e17, 0, " 100000000000000000"},            {999999999999999999.0, 0, " OVERFLOW"},
        {0.25, 17, " 0.25000000000000000"},          {-1.5, 0, "-2"},
        // Scaled in extended precision: 267.49999999999997 stays below the
        // half that a double product would round up to.
        {2.6749999999999998, 2, " 2.67"},            {-2.6749999999999998, 2, "-2.67"},
    };
    ExpectFormats(rows, sizeof(rows) / sizeof(rows[0]));
}

TEST(RealToText, OutsideTheRangeGivesShortFixedTexts) {
    const double inf = std::numeric_limits<double>::infinity();
    const FormatRow rows[] = {
        {1e18, 0, " OVERFLOW"},   {-1e18, 0, "-OVERFLOW"}, {1e300, 0, " OVERFLOW"},
        {10, 17, " OVERFLOW"},    {1, 18, " ERR"},         {1, -1, " ERR"},
        {inf, 2, " INF"},         {-inf, 0, "-INF"},
        {std::numeric_limits<double>::quiet_NaN(), 2, " NAN"},
    };
    ExpectFormats(rows, sizeof(rows) / sizeof(rows[0]));
    EXPECT_EQ(RealToText(nullptr, 1, 0), 0);
}

TEST(RealToText, SinglePrecisionEntry) {
    char buffer[32];
    EXPECT_EQ(RealToTextSingle(buffer, 2.5f, 1), 4);
    EXPECT_STREQ(buffer, " 2.5");
    RealToTextSingle(buffer, -0.125f, 3);
    EXPECT_STREQ(buffer, "-0.125");
}

TEST(IntegerToText, SignedAndUnsigned) {
    char buffer[32];
    struct Row {
        int64_t value;
        const char* text;
    };
    const Row rows[] = {
        {0, "0 "},
        {-45, "-45 "},
        {42949672960LL, "42949672960 "},
        {INT64_MAX, "9223372036854775807 "},
        {INT64_MIN, "-9223372036854775808 "},
        {4294967295LL, "4294967295 "},
        {4294967296LL, "4294967296 "},
    };
    for (const Row& row : rows) {
        std::memset(buffer, '#', sizeof(buffer));
        EXPECT_EQ(Int64ToText(buffer, row.value), static_cast<int32_t>(std::strlen(row.text)));
        EXPECT_STREQ(buffer, row.text);
    }
    EXPECT_EQ(UInt64ToText(buffer, 42949672960ULL), 12);
    EXPECT_STREQ(buffer, "42949672960 ");
    EXPECT_EQ(UInt64ToText(buffer, UINT64_MAX), 21);
    EXPECT_STREQ(buffer, "18446744073709551615 ");
    EXPECT_EQ(Int64ToText(nullptr, 5), 0);
}

TEST(IntegerToText, AgreesWithStandardFormattingAcrossMagnitudes) {
    char buffer[32];
    uint64_t value = 1;
    for (int step = 0; step < 200; ++step) {
        value = value * 6364136223846793005ULL + 1442695040888963407ULL;
        const uint64_t sample = value >> (step % 64);
        UInt64ToText(buffer, sample);
        ASSERT_EQ(std::string(buffer), std::to_string(sample) + " ");
        Int64ToText(buffer, static_cast<int64_t>(sample));
        ASSERT_EQ(std::string(buffer), std::to_string(static_cast<int64_t>(sample)) + " ");
    }
}

}  // namespace
