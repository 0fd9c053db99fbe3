// The shared current and cos phi formulas and the neutral current.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <vector>

#include "CalcSupport.h"
#include "calc/Formulas.h"
#include "calc/Recalculation.h"

namespace {

// U = 380 / sqrt(3) = 219.39310229205...
TEST(Formulas, PhaseVoltage) {
    EXPECT_NEAR(PhaseVoltage(), 219.3931022920578, 1e-12);
}

struct CurrentCase {
    const char* what;
    bool threePhase;
    long double power;
    double cosPhi;
    double expected;
    double tolerance;  // 0: rounded to hundredths
};

TEST(Formulas, PhaseAndThreePhaseCurrents) {
    const std::vector<CurrentCase> cases = {
        // 10000 / (219.3931 * 0.9) = 50.6448 -> 50.64
        {"phase, 10 kW at 0.9", false, 10.0L, 0.9, 50.64, 0},
        // 10000 / (sqrt(3) * 380 * 0.9) = 16.8816 -> 16.88
        {"three-phase, 10 kW at 0.9", true, 10.0L, 0.9, 16.88, 0},
        // 5 / (219.3931 * 0.8) = 0.0284877, below 0.01 kW: not rounded
        {"phase, 0.005 kW at 0.8", false, 0.005L, 0.8, 0.02848767775606706, 1e-15},
        // 5 / 219.3931 = 0.022790142...
        {"phase, 0.005 kW at 1", false, 0.005L, 1.0, 0.022790142204853647, 1e-15},
        // 10 / 219.3931 = 0.04558, at 0.01 kW: rounded
        {"phase, 0.01 kW at 1", false, 0.01L, 1.0, 0.05, 0},
        {"phase, 1 kW at 1", false, 1.0L, 1.0, 4.56, 0},
        {"phase, 4 kW at 1", false, 4.0L, 1.0, 18.23, 0},
        // 6000 / 658.1793 = 9.116
        {"three-phase, 6 kW at 1", true, 6.0L, 1.0, 9.12, 0},
        {"phase, cos phi 0", false, 25.0L, 0.0, 0.0, 0},
        {"three-phase, cos phi 0", true, 25.0L, 0.0, 0.0, 0},
        {"phase, no power", false, 0.0L, 0.8, 0.0, 0},
        // 4 / 219.3931 = 0.0182321...
        {"phase, 0.004 kW at 1", false, 0.004L, 1.0, 0.01823211376388292, 1e-15},
    };
    for (const CurrentCase& c : cases) {
        const double current =
            c.threePhase ? ThreePhaseCurrent(c.power, c.cosPhi) : PhaseCurrent(c.power, c.cosPhi);
        if (c.tolerance == 0)
            EXPECT_EQ(current, Hundredths(c.expected)) << c.what;
        else
            EXPECT_NEAR(current, c.expected, c.tolerance) << c.what;
    }
}

TEST(Formulas, PhaseCurrentOfANonNumberIsNotRounded) {
    const double current = PhaseCurrent(std::numeric_limits<long double>::quiet_NaN(), 1.0);
    EXPECT_TRUE(std::isnan(current));
}

struct AggregateCase {
    const char* what;
    std::vector<std::pair<double, double>> contributions;  // weight, cos phi
    double before;
    ZeroCosPhi zero;
    double expected;
};

TEST(Formulas, AggregateCosPhi) {
    const std::vector<AggregateCase> cases = {
        // Pa = 10 + 6 = 16, Pr = 0 + 8 = 8, S = 17.8885, 16 / 17.8885 = 0.894 -> 0.89
        {"10 at 1.0 and 10 at 0.6", {{10, 1.0}, {10, 0.6}}, 1.0, ZeroCosPhi::BecomesOne, 0.89},
        {"one load at 0.004 rounds to 0.00: 1.0", {{5, 0.004}}, 0.7, ZeroCosPhi::BecomesOne, 1.0},
        {"the switchboard rule keeps the 0.0", {{5, 0.004}}, 0.7, ZeroCosPhi::StaysZero, 0.0},
        // A phase without current has the cos phi of no load, whatever it had before.
        {"no weight gives the cos phi of no load",
         {{0, 0.5}, {0, 0.8}},
         0.75,
         ZeroCosPhi::BecomesOne,
         1.0},
        // Pa = 3 * 0.8 = 2.4, Pr = 1.8, ratio 0.8 exactly enough: 0.80
        {"a zero weight after a load changes nothing",
         {{3, 0.8}, {0, 0.1}},
         1.0,
         ZeroCosPhi::BecomesOne,
         0.8},
        // Pa = 20 * 0.85 + 10 * 0.5 = 22, Pr = 20 * 0.52678 + 10 * 0.86603 = 19.196,
        // S = 29.197, 22 / 29.197 = 0.7535 -> 0.75
        {"currents as weights", {{20, 0.85}, {10, 0.5}}, 1.0, ZeroCosPhi::BecomesOne, 0.75},
    };
    for (const AggregateCase& c : cases) {
        CosPhiSums sums;
        double target = c.before;
        for (const auto& [weight, cosPhi] : c.contributions)
            AggregateCosPhi(sums, weight, cosPhi, target, c.zero);
        EXPECT_EQ(target, Hundredths(c.expected)) << c.what;
    }
}

// Each contribution adds weight x cos and weight x sin(acos(cos)) to the last bit, whatever the
// contributions before it: the same few cos values again and again, and many different ones.
TEST(Formulas, CosPhiSumsAddTheSineOfEachValueToTheLastBit) {
    std::mt19937 random(11);
    std::uniform_int_distribution<int> few(75, 100);
    std::uniform_real_distribution<double> any(-1.0, 1.0);
    CosPhiSums sums;
    double active = 0;
    double reactive = 0;
    for (int i = 0; i < 50000; ++i) {
        const double cosPhi = i % 3 ? few(random) / 100.0 : any(random);
        const double weight = 1 + i % 7;
        sums.Add(weight, cosPhi);
        active += weight * cosPhi;
        reactive += weight * std::sin(std::acos(cosPhi));
        ASSERT_EQ(sums.Active, active) << i;
        ASSERT_EQ(sums.Reactive, reactive) << i;
    }
}

// The passes add their contributions with CosPhiAggregate, which rounds once at the end: the
// stored value must be the one the shared rule leaves after the same contributions (and the
// cos phi of no load, 1.0, after none).
TEST(Formulas, RoundingOnceAtTheEndLeavesTheSameValue) {
    std::mt19937 random(7);
    std::uniform_int_distribution<int> weights(0, 4);  // many zero weights
    std::uniform_int_distribution<int> hundredths(0, 100);
    for (int round = 0; round < 2000; ++round) {
        const ZeroCosPhi zero = round % 2 ? ZeroCosPhi::BecomesOne : ZeroCosPhi::StaysZero;
        CosPhiSums sums;
        CosPhiAggregate aggregate;
        double stepwise = round % 5 ? 0.42 : 1.0;
        double atTheEnd = 0.42;
        for (int i = round % 5; i > 0; --i) {
            const double weight = weights(random) * 3.7;
            const double cosPhi = hundredths(random) / 100.0;
            AggregateCosPhi(sums, weight, cosPhi, stepwise, zero);
            aggregate.Add(weight, cosPhi);
        }
        aggregate.StoreInto(atTheEnd, zero);
        ASSERT_EQ(atTheEnd, stepwise) << "round " << round;
    }
}

struct NeutralCase {
    double a, b, c;
    double expected;
};

// The neutral current's own worked values; the result depends on the order of the phases.
TEST(Formulas, NeutralCurrent) {
    const std::vector<NeutralCase> cases = {
        {10, 10, 10, 0},       {10, 10, 20, 10},  {20, 20, 10, 10},    {0, 10, 20, 17.32},
        {10, 0, 0, 10},        {0, 0, 10, 10},    {10, 20, 30, 13.63}, {30, 20, 10, 17.07},
        {10, 20, 20, 7.15},    {12, 10, 8, 3.77}, {0, 0, 0, 0},        {0, 7.5, 0, 7.5},
        {4.56, 4.56, 4.56, 0},
        // Phase C without current: A and B scaled to 1 and 0.5, sqrt(1 + 0.25 - 0.5) x 20.
        {20, 10, 0, 17.32},
    };
    for (const NeutralCase& c : cases)
        EXPECT_EQ(NetworkCalculation::NeutralCurrent(c.a, c.b, c.c), Hundredths(c.expected))
            << c.a << ", " << c.b << ", " << c.c;
}

}  // namespace
