#pragma once
// The standard series of nominal currents on which every breaker rating is chosen, and the steps
// along it that grade breakers one above another.
#include <array>
#include <optional>

namespace selection {

// 38 nominal currents, A, ascending.
inline constexpr std::array<double, 38> StandardCurrentSeries = {
    0.32, 0.4, 0.5, 0.6,  0.8, 1,   1.25, 1.6, 2,    2.5,  3.2,  4,   5,
    6,    8,   10,  12.5, 16,  20,  25,   32,  40,   50,   63,   80,  100,
    125,  160, 200, 250,  320, 400, 500,  630, 1000, 1600, 2500, 4000};

// Index of 630 A, the last value the capped lookup considers, and of 4000 A, the largest rating.
inline constexpr int kIndex630 = 33;
inline constexpr int kLastIndex = 37;

// A rating that stands for a current beyond the largest breaker.
inline constexpr double kBeyondSeries = 5000.0;

// Index of the value exactly equal to x, searched over the first `count` values.
std::optional<int> SeriesIndex(double x, int count = kLastIndex + 1);

// The next value above a rating of the series; 4000 A stays 4000 A. Nothing for a value that is
// not on the series (0, the 5000 beyond it, anything in between): the caller keeps its field.
std::optional<double> StepAbove(double rating);

// The same, but 630 A stays 630 A (so 500 gives 630 and 1000 gives 1600); 4000 A stays 4000 A.
std::optional<double> StepAboveKeeping630(double rating);

}  // namespace selection
