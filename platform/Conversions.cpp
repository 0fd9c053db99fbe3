#include "platform/Conversions.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <cstdlib>
#include <string_view>
#include <system_error>

namespace platform {
namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Checks the number grammar and writes the number in the form from_chars reads ("-12.5e3") to
// `text`, which has room for as many characters as `s` (it never writes more). The end of what it
// wrote, or null.
char* CanonicalFloatText(std::string_view s, char* text) {
    size_t i = 0, n = s.size();
    while (i < n && s[i] == ' ') ++i;
    while (n > i && s[n - 1] == ' ') --n;
    if (i < n && (s[i] == '+' || s[i] == '-')) {
        if (s[i] == '-') *text++ = '-';
        ++i;
    }
    int mantissaDigits = 0;
    bool separatorSeen = false;
    for (; i < n; ++i) {
        const char c = s[i];
        if (IsDigit(c)) {
            *text++ = c;
            ++mantissaDigits;
        } else if (!separatorSeen && (c == DecimalSeparator || c == '.')) {
            *text++ = '.';
            separatorSeen = true;
        } else {
            break;
        }
    }
    if (mantissaDigits == 0) return nullptr;
    if (i < n && (s[i] == 'e' || s[i] == 'E')) {
        *text++ = 'e';
        ++i;
        if (i < n && (s[i] == '+' || s[i] == '-')) {
            if (s[i] == '-') *text++ = '-';
            ++i;
        }
        int exponentDigits = 0;
        for (; i < n && IsDigit(s[i]); ++i, ++exponentDigits) *text++ = s[i];
        if (exponentDigits == 0) return nullptr;
    }
    return i == n ? text : nullptr;
}

template <typename T>
bool ParseFloat(std::string_view s, T& out) {
    // Whole numbers of up to 15 digits, the texts met most, are exact in either type: the value
    // is the one from_chars gives.
    if (!s.empty() && s.size() <= 15) {
        std::uint64_t whole = 0;
        size_t i = 0;
        for (; i < s.size() && IsDigit(s[i]); ++i) whole = whole * 10 + (s[i] - '0');
        if (i == s.size()) {
            out = static_cast<T>(whole);
            return true;
        }
    }
    // Numbers are short: the canonical text goes to the stack unless it cannot.
    char small[64];
    std::string large;
    char* begin = small;
    if (s.size() > sizeof small) {
        large.resize(s.size());
        begin = large.data();
    }
    const char* end = CanonicalFloatText(s, begin);
    if (!end) return false;
    T value{};
    auto [ptr, ec] = std::from_chars(begin, end, value);
    if (ptr != end) return false;
    if (ec == std::errc::result_out_of_range) {
        // Too small for the type: the nearest value is zero. Too large: not a number we can hold.
        long double wide{};
        auto [widePtr, wideEc] = std::from_chars(begin, end, wide);
        if (widePtr != end || wideEc != std::errc() || std::fabs(wide) >= 1) return false;
        value = std::copysign(T(0), T(wide));
    } else if (ec != std::errc()) {
        return false;
    }
    out = value;
    return true;
}

// The double nearest to 10^digits.
double PowerOfTen(int digits) {
    // Powers of ten up to 1e22 are exact doubles, so the product chain and the one division
    // below are correctly rounded.
    if (digits >= -22 && digits <= 22) {
        double power = 1.0;
        for (int i = 0; i < std::abs(digits); ++i) power *= 10.0;
        return digits < 0 ? 1.0 / power : power;
    }
    const std::string text = "1e" + IntToStr(digits);
    double power = digits < 0 ? 0.0 : HUGE_VAL;
    std::from_chars(text.data(), text.data() + text.size(), power);
    return power;
}

// Rounds to the nearest integer, a tie to the even one, whatever the FPU rounding mode is.
long double RoundHalfEven(long double q) {
    const long double lower = std::floor(q);
    const long double rest = q - lower;
    if (rest > 0.5L || (rest == 0.5L && std::fmod(lower, 2.0L) != 0)) return lower + 1;
    return lower;
}

}  // namespace

namespace {

std::string FiniteFloatToStr(long double v);

}  // namespace

std::string FloatToStr(long double v) {
    if (std::isnan(v)) return "NAN";
    if (std::isinf(v)) return v < 0 ? "-INF" : "INF";
    if (v == 0) return "0";
    // The texts of the values written last: drawings and tables write the same values again and
    // again (currents of 0 A, sections, lengths), and formatting one takes microseconds. Finite
    // values other than 0 are equal exactly when they are the same number.
    struct Kept {
        long double value = 0;
        std::string text;
    };
    static thread_local Kept kept[256];
    const double near = static_cast<double>(v);
    std::uint64_t bits;
    std::memcpy(&bits, &near, sizeof bits);
    Kept& slot = kept[(bits ^ (bits >> 17) ^ (bits >> 41)) & 255];
    if (slot.value != v || slot.text.empty()) slot = Kept{v, FiniteFloatToStr(v)};
    return slot.text;
}

namespace {

std::string FiniteFloatToStr(long double v) {
    // 15 significant digits, correctly rounded, as d.dddddddddddddde+x. Both forms round the
    // exact value correctly, so a value that is a double (as nearly all are) takes the double
    // one, many times faster than the long double one.
    char buffer[64];
    const long double magnitude = std::fabs(v);
    const double near = static_cast<double>(magnitude);
    const auto result =
        static_cast<long double>(near) == magnitude
            ? std::to_chars(buffer, buffer + sizeof buffer, near, std::chars_format::scientific, 14)
            : std::to_chars(buffer, buffer + sizeof buffer, magnitude,
                            std::chars_format::scientific, 14);
    char digits[32];
    int count = 0;
    const char* p = buffer;
    for (; p != result.ptr && *p != 'e'; ++p)
        if (IsDigit(*p)) digits[count++] = *p;
    if (p != result.ptr) ++p;               // 'e'
    if (p != result.ptr && *p == '+') ++p;  // from_chars takes no '+'
    int exponent = 0;
    std::from_chars(p, result.ptr, exponent);
    while (count > 1 && digits[count - 1] == '0') --count;

    // Built in a buffer: the longest text, with its sign, separator and exponent, takes 24
    // characters.
    char text[64];
    char* out = text;
    if (v < 0) *out++ = '-';
    if (exponent >= -5 && exponent < 15) {
        if (exponent < 0) {
            *out++ = '0';
            *out++ = DecimalSeparator;
            out = std::fill_n(out, -exponent - 1, '0');
            out = std::copy_n(digits, count, out);
        } else {
            const int integerDigits = exponent + 1;
            if (count <= integerDigits) {
                out = std::copy_n(digits, count, out);
                out = std::fill_n(out, integerDigits - count, '0');
            } else {
                out = std::copy_n(digits, integerDigits, out);
                *out++ = DecimalSeparator;
                out = std::copy_n(digits + integerDigits, count - integerDigits, out);
            }
        }
    } else {
        *out++ = digits[0];
        if (count > 1) {
            *out++ = DecimalSeparator;
            out = std::copy_n(digits + 1, count - 1, out);
        }
        *out++ = 'E';
        out = std::to_chars(out, text + sizeof text, exponent).ptr;
    }
    return std::string(text, out);
}

}  // namespace

bool TryStrToFloat(std::string_view s, double& out) {
    return ParseFloat(s, out);
}

bool TryStrToFloat(std::string_view s, long double& out) {
    return ParseFloat(s, out);
}

double StrToFloat(const std::string& s) {
    double value;
    if (!TryStrToFloat(s, value))
        throw EConvertError("'" + s + "' is not a valid floating point value");
    return value;
}

bool TryStrToInt(std::string_view s, int& out) {
    const char* p = s.data();
    const char* end = p + s.size();
    while (p != end && *p == ' ') ++p;
    bool negative = false;
    if (p != end && (*p == '+' || *p == '-')) {
        negative = *p == '-';
        ++p;
    }
    if (p == end || !IsDigit(*p)) return false;
    long long magnitude = 0;
    auto [ptr, ec] = std::from_chars(p, end, magnitude);
    if (ec != std::errc() || ptr != end) return false;
    const long long value = negative ? -magnitude : magnitude;
    if (value < INT_MIN || value > INT_MAX) return false;
    out = static_cast<int>(value);
    return true;
}

int StrToInt(const std::string& s) {
    int value;
    if (!TryStrToInt(s, value)) throw EConvertError("'" + s + "' is not a valid integer value");
    return value;
}

std::string IntToStr(long long v) {
    char buffer[24];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, v);
    return std::string(buffer, result.ptr);
}

double RoundTo(double x, int digits) {
    const long double factor = PowerOfTen(digits);
    const long double quotient = static_cast<long double>(x) / factor;
    return static_cast<double>(RoundHalfEven(quotient) * factor);
}

}  // namespace platform
