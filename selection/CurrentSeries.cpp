#include "selection/CurrentSeries.h"

#include "model/Classd.h"

namespace selection {

std::optional<int> SeriesIndex(double x, int count) {
    for (int i = 0; i < count && i <= kLastIndex; ++i)
        if (StandardCurrentSeries[i] == x) return i;
    return std::nullopt;
}

std::optional<double> StepAbove(double rating) {
    const std::optional<int> i = SeriesIndex(rating);
    if (!i) return std::nullopt;
    return *i == kLastIndex ? StandardCurrentSeries[kLastIndex] : StandardCurrentSeries[*i + 1];
}

std::optional<double> StepAboveKeeping630(double rating) {
    const std::optional<int> i = SeriesIndex(rating);
    if (!i) return std::nullopt;
    if (*i == kIndex630 || *i == kLastIndex) return StandardCurrentSeries[*i];
    return StandardCurrentSeries[*i + 1];
}

}  // namespace selection

using selection::StandardCurrentSeries;

double TGrsed::StandardRating(double current) {
    // Below the first value the lookup gives the second one (0.32 A is never chosen for a current
    // under it); no current, or one above 630 A, gives no rating.
    if (!(current > 0.0) || current > StandardCurrentSeries[selection::kIndex630]) return 0.0;
    if (current < StandardCurrentSeries[0]) return StandardCurrentSeries[1];
    for (int i = 0; i <= selection::kIndex630; ++i)
        if (StandardCurrentSeries[i] >= current) return StandardCurrentSeries[i];
    return 0.0;
}

double TGrsed::StandardRatingAbove(double current) {
    if (current == 0.0) return 0.0;
    if (current > StandardCurrentSeries[selection::kLastIndex]) return selection::kBeyondSeries;
    // Strictly above; index 0 is never returned, so a current below 0.4 A gives 0.4 A.
    for (int i = 1; i <= selection::kLastIndex; ++i)
        if (StandardCurrentSeries[i] > current) return StandardCurrentSeries[i];
    return 0.0;
}
