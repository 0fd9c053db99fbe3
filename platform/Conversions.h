#pragma once
#include <stdexcept>
#include <string>
#include <string_view>

// Number <-> text conversions used everywhere in the program. They never look at the process
// locale: the decimal separator is always DecimalSeparator.
namespace platform {

// The one decimal separator of the program (Russian convention).
constexpr char DecimalSeparator = ',';

// Raised by StrToFloat and StrToInt for a text that is not a number.
class EConvertError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// General form with at most 15 significant digits and no trailing zeros: fixed notation for
// 1e-5 <= |v| < 1e15 (judged after rounding), otherwise "1,5E-6" / "1E20". NaN gives "NAN",
// infinities "INF" / "-INF", zero of either sign "0".
std::string FloatToStr(long double v);

// A number typed by the user or read from a file: optional blanks, optional sign, digits with at
// most one decimal separator, optional exponent ("1,5E3", "1e-2"), optional blanks. Either
// DecimalSeparator or '.' serves as the separator, so that a number typed with a point reads as
// it does in the project files and tables written under either convention. The result is the
// value nearest to the text.
bool TryStrToFloat(std::string_view s, double& out);
bool TryStrToFloat(std::string_view s, long double& out);
double StrToFloat(const std::string& s);

// A 32-bit signed integer: leading blanks, optional sign, decimal digits, nothing after them.
bool TryStrToInt(std::string_view s, int& out);
int StrToInt(const std::string& s);

std::string IntToStr(long long v);

// x / 10^digits rounded to the nearest integer (a tie to the even one), times 10^digits. 10^digits
// is the double nearest to it; quotient and product are formed in long double.
double RoundTo(double x, int digits);

}  // namespace platform
