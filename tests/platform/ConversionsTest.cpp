#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <clocale>
#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "platform/Conversions.h"

using platform::EConvertError;

namespace {

struct FloatText {
    long double value;
    const char* text;
};

TEST(ConversionsFloatToStr, GeneralFormWithFifteenDigits) {
    const std::vector<FloatText> cases = {
        {180.0, "180"},
        {0.85, "0,85"},
        {-2.5, "-2,5"},
        {0.0, "0"},
        {-0.0, "0"},
        {0.1 + 0.2, "0,3"},  // 0.30000000000000004 has 17 digits
        {1e-6, "1E-6"},
        {1.5e-6, "1,5E-6"},
        {-1e-7, "-1E-7"},
        {1e-5, "0,00001"},  // the smallest magnitude still written fixed
        {0.000012345, "0,000012345"},
        {9.99999999999999e-6, "9,99999999999999E-6"},
        {9.999999999999999e-6, "0,00001"},  // rounds up to 1e-5 first, so fixed
        {1e20, "1E20"},
        {1e14, "100000000000000"},
        {999999999999999.0, "999999999999999"},
        {999999999999999.9, "1E15"},  // rounds up to 1e15 first, so scientific
        {123456789012345.6, "123456789012346"},
        {123456789012345678.0, "1,23456789012346E17"},
        {1e-300, "1E-300"},
        {1.0L / 3, "0,333333333333333"},
        {2.0L / 3, "0,666666666666667"},
        // Just above the half-way point between 1,00000000000014 and 1,00000000000015, so up;
        // the double nearest to it lies below that point and would round down.
        {1.000000000000145000001L, "1,00000000000015"},
    };
    for (const auto& c : cases) EXPECT_EQ(platform::FloatToStr(c.value), c.text) << c.text;
}

// Texts are kept for the values written last: each value keeps its own text whatever was
// written before it, many values taking turns in few places. The texts of a first round, each
// value written once, are those of later rounds in other orders.
TEST(ConversionsFloatToStr, ValuesWrittenAgainInAnyOrderKeepTheirTexts) {
    std::mt19937 random(5);
    std::uniform_real_distribution<double> any(-1e6, 1e6);
    std::vector<long double> values;
    for (int i = 0; i < 3000; ++i) values.push_back(any(random));
    for (int i = 0; i < 300; ++i) values.push_back(i * 0.25L);
    values.push_back(0.1L);
    values.push_back(static_cast<long double>(0.1));  // another number, the same text
    std::vector<std::string> first;
    for (long double v : values) first.push_back(platform::FloatToStr(v));
    for (int round = 0; round < 3; ++round) {
        std::vector<std::size_t> order(values.size());
        for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
        std::shuffle(order.begin(), order.end(), random);
        for (std::size_t i : order) ASSERT_EQ(platform::FloatToStr(values[i]), first[i]) << i;
    }
}

TEST(ConversionsFloatToStr, NotANumberAndInfinities) {
    EXPECT_EQ(platform::FloatToStr(std::numeric_limits<double>::quiet_NaN()), "NAN");
    EXPECT_EQ(platform::FloatToStr(HUGE_VAL), "INF");
    EXPECT_EQ(platform::FloatToStr(-HUGE_VAL), "-INF");
}

struct ParsedFloat {
    const char* text;
    bool valid;
    double value;
};

TEST(ConversionsStrToFloat, CommaOrPointSeparatesDecimals) {
    const std::vector<ParsedFloat> cases = {
        {"12,5", true, 12.5},
        {"-3", true, -3},
        {"+2,25", true, 2.25},
        {"0,1", true, 0.1},
        {"2,675", true, 2.675},
        {",5", true, 0.5},
        {"5,", true, 5},
        {"1,5E3", true, 1500},
        {"1e-2", true, 0.01},
        {"1E+2", true, 100},
        {"  7 ", true, 7},
        {"1E-400", true, 0},  // below the smallest double: the nearest value is zero
        {"12.5", true, 12.5},
        {"0.95", true, 0.95},
        {".5", true, 0.5},
        {"-2.5E1", true, -25},
        {"", false, 0},
        {"   ", false, 0},
        {"abc", false, 0},
        {"1,2,3", false, 0},
        {",", false, 0},
        {".", false, 0},
        {"1.2,3", false, 0},
        {"1,2.3", false, 0},
        {"1.2.3", false, 0},
        {"-", false, 0},
        {"+-1", false, 0},
        {"- 5", false, 0},
        {"1 000", false, 0},
        {"5 x", false, 0},
        {"1E", false, 0},
        {"1E+", false, 0},
        {"E5", false, 0},
        {"1E400", false, 0},
    };
    for (const auto& c : cases) {
        double value = -99;
        EXPECT_EQ(platform::TryStrToFloat(c.text, value), c.valid) << '"' << c.text << '"';
        EXPECT_EQ(value, c.valid ? c.value : -99) << '"' << c.text << '"';
    }
}

TEST(ConversionsStrToFloat, LongDoubleKeepsExtendedPrecision) {
    long double value = 0;
    ASSERT_TRUE(platform::TryStrToFloat("0,1", value));
    EXPECT_EQ(value, 0.1L);
    ASSERT_TRUE(platform::TryStrToFloat("0.1", value));
    EXPECT_EQ(value, 0.1L);
    EXPECT_NE(value, static_cast<long double>(0.1));
}

TEST(ConversionsStrToFloat, InvalidTextThrowsWithTheText) {
    EXPECT_EQ(platform::StrToFloat("0,85"), 0.85);
    EXPECT_EQ(platform::StrToFloat("0.85"), 0.85);
    try {
        platform::StrToFloat("12;5");
        FAIL() << "no exception";
    } catch (const EConvertError& e) {
        EXPECT_STREQ(e.what(), "'12;5' is not a valid floating point value");
    }
}

TEST(ConversionsStrToFloat, WrittenTextReadsBackAsTheNearestDouble) {
    // Values of at most 15 significant digits come back exactly.
    for (double v : {180.0, 0.85, 1e-6, 1.5e-6, 1e20, -2.5, 50.64, 123456789012345.0}) {
        double back = 0;
        ASSERT_TRUE(platform::TryStrToFloat(platform::FloatToStr(v), back)) << v;
        EXPECT_EQ(back, v);
    }
}

// Qt sets the C locale from LANG at start-up; a comma locale must change nothing.
TEST(ConversionsLocale, ResultsIgnoreTheProcessLocale) {
    const std::string saved = std::setlocale(LC_ALL, nullptr);
    const char* locales[] = {"ru_RU.UTF-8", "ru_RU.utf8", "de_DE.UTF-8", "de_DE.utf8"};
    bool switched = false;
    for (const char* name : locales)
        if (std::setlocale(LC_ALL, name)) {
            switched = true;
            break;
        }
    if (!switched) GTEST_SKIP() << "no locale with a comma separator installed";
    double value = 0;
    EXPECT_EQ(platform::FloatToStr(0.85), "0,85");
    EXPECT_EQ(platform::FloatToStr(1.5e-6), "1,5E-6");
    EXPECT_TRUE(platform::TryStrToFloat("12,5", value) && value == 12.5);
    EXPECT_TRUE(platform::TryStrToFloat("0.85", value) && value == 0.85);
    std::setlocale(LC_ALL, saved.c_str());
}

struct ParsedInt {
    const char* text;
    bool valid;
    int value;
};

TEST(ConversionsStrToInt, DecimalThirtyTwoBitIntegers) {
    const std::vector<ParsedInt> cases = {
        {"12", true, 12},
        {"-3", true, -3},
        {"+7", true, 7},
        {"007", true, 7},
        {"  42", true, 42},
        {"2147483647", true, INT_MAX},
        {"-2147483648", true, INT_MIN},
        {"42 ", false, 0},
        {"", false, 0},
        {" ", false, 0},
        {"-", false, 0},
        {"+-1", false, 0},
        {"2147483648", false, 0},
        {"-2147483649", false, 0},
        {"99999999999999999999", false, 0},
        {"1,5", false, 0},
        {"1E2", false, 0},
        {"0x10", false, 0},
        {"$1F", false, 0},
    };
    for (const auto& c : cases) {
        int value = -99;
        EXPECT_EQ(platform::TryStrToInt(c.text, value), c.valid) << '"' << c.text << '"';
        EXPECT_EQ(value, c.valid ? c.value : -99) << '"' << c.text << '"';
    }
}

TEST(ConversionsStrToInt, InvalidTextThrowsWithTheText) {
    EXPECT_EQ(platform::StrToInt("-15"), -15);
    try {
        platform::StrToInt("12,5");
        FAIL() << "no exception";
    } catch (const EConvertError& e) {
        EXPECT_STREQ(e.what(), "'12,5' is not a valid integer value");
    }
}

TEST(ConversionsIntToStr, PlainDecimal) {
    EXPECT_EQ(platform::IntToStr(0), "0");
    EXPECT_EQ(platform::IntToStr(-15), "-15");
    EXPECT_EQ(platform::IntToStr(2147483648LL), "2147483648");
    EXPECT_EQ(platform::IntToStr(LLONG_MIN), "-9223372036854775808");
}

struct Rounding {
    double x;
    int digits;
    double expected;
};

TEST(ConversionsRoundTo, ExtendedQuotientAndTiesToEven) {
    const std::vector<Rounding> cases = {
        // 2.675 is stored as 2.67499999999999982..., 0.01 as 0.01000000000000000020...: the
        // extended quotient is 267.49999999999997..., below the tie that a double quotient hits.
        {2.675, -2, 2.67},    {-2.675, -2, -2.67},  {0.375, -2, 0.37},  // exact 0.375:
                                                                        // quotient 37.5 - 7.8e-16
                                                                        // in extended
        {0.125, -2, 0.12},    {50.6448, -2, 50.64}, {0.04558, -2, 0.05}, {230.5, 0, 230},
        {231.5, 0, 232},      {-2.5, 0, -2},        {-3.5, 0, -4},       {0.4, 0, 0},
        {1234.5678, 1, 1230}, {1250, 2, 1200},      {1350, 2, 1400},
    };
    for (const auto& c : cases)
        EXPECT_EQ(platform::RoundTo(c.x, c.digits), c.expected) << c.x << " at " << c.digits;
}

TEST(ConversionsRoundTo, NotANumberAndInfinityPassThrough) {
    EXPECT_TRUE(std::isnan(platform::RoundTo(std::numeric_limits<double>::quiet_NaN(), -2)));
    EXPECT_EQ(platform::RoundTo(HUGE_VAL, -2), HUGE_VAL);
}

}  // namespace
