#include "calc/Formulas.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "platform/Conversions.h"

namespace {

// The shared tail of the two current formulas: the quotient in extended precision, stored as a
// double, rounded to hundredths only for a power of at least 0.01 kW.
double CurrentOverDenominator(long double power, double cosPhi, long double voltage) {
    const double p = static_cast<double>(power);
    if (cosPhi == 0.0) return 0.0;
    double current =
        static_cast<double>(static_cast<long double>(p) * 1000.0L / (voltage * cosPhi));
    if (p >= 0.01) current = platform::RoundTo(current, -2);
    return current;
}

}  // namespace

double PhaseVoltage() {
    return 380.0 / std::sqrt(3.0);
}

double PhaseCurrent(long double power, double cosPhi) {
    return CurrentOverDenominator(power, cosPhi, PhaseVoltage());
}

double ThreePhaseCurrent(long double power, double cosPhi) {
    // The double sqrt(3); the products are formed in extended precision.
    return CurrentOverDenominator(power, cosPhi, static_cast<long double>(std::sqrt(3.0)) * 380.0L);
}

double LargestPhaseDesignCurrent(double a, double b, double c, double cosPhi) {
    return ThreePhaseCurrent(3 * std::max({a, b, c}), cosPhi);
}

namespace {

// sin(acos(c)), kept for the values met last: the passes sum many records of the same few cos φ
// values, and the same value always gives the same sine.
double SineOf(double cosPhi) {
    struct Entry {
        std::uint64_t bits = 0;
        double sine = 0;
        bool kept = false;
    };
    static thread_local Entry kept[64];
    std::uint64_t bits;
    std::memcpy(&bits, &cosPhi, sizeof bits);
    Entry& entry = kept[(bits ^ (bits >> 29) ^ (bits >> 47)) & 63];
    if (!entry.kept || entry.bits != bits) entry = {bits, std::sin(std::acos(cosPhi)), true};
    return entry.sine;
}

}  // namespace

void CosPhiSums::Add(double weight, double cosPhi) {
    const double active = weight * cosPhi;
    const double reactive = weight * SineOf(cosPhi);
    Active += active;
    Reactive += reactive;
}

double CosPhiSums::Magnitude() const {
    return std::sqrt(Active * Active + Reactive * Reactive);
}

void AggregateCosPhi(CosPhiSums& sums, double weight, double cosPhi, double& target,
                     ZeroCosPhi zero) {
    sums.Add(weight, cosPhi);
    const double magnitude = sums.Magnitude();
    if (magnitude == 0.0) {
        target = 1.0;
        return;
    }
    target = platform::RoundTo(sums.Active / magnitude, -2);
    if (target == 0.0 && zero == ZeroCosPhi::BecomesOne) target = 1.0;
}

void CosPhiAggregate::Add(double weight, double cosPhi) {
    sums_.Add(weight, cosPhi);
    // The magnitude is 0 exactly when the sum of squares is (the root of anything else is not).
    if (sums_.Active * sums_.Active + sums_.Reactive * sums_.Reactive != 0.0) {
        magnitudeSeen_ = true;
        lastNonZero_ = sums_;
    }
}

void CosPhiAggregate::StoreInto(double& target, ZeroCosPhi zero) const {
    if (!magnitudeSeen_) {
        target = 1.0;
        return;
    }
    target = platform::RoundTo(lastNonZero_.Active / lastNonZero_.Magnitude(), -2);
    if (target == 0.0 && zero == ZeroCosPhi::BecomesOne) target = 1.0;
}
