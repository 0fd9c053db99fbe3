// The pure formulas of the selection: the current series, design currents, element impedances,
// line losses, deviation, the cube root of the arc factor, the temperature factor and the pass
// test. Expected values are worked from the formulas by hand (shown beside each row).
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

#include "calc/Recalculation.h"
#include "model/Classd.h"
#include "selection/CurrentSeries.h"
#include "selection/EquipmentSelection.h"
#include "selection/ShortCircuit.h"
#include "selection/TemperatureCorrection.h"

namespace {

struct ValueCase {
    double in;
    double expected;
};

TEST(StandardRatingTest, SmallestSeriesValueNotBelowTheCurrentUpTo630) {
    const ValueCase cases[] = {
        {0.1, 0.4},    // below the first value: the second one
        {0.32, 0.32},  // equal to the first value
        {0.33, 0.4},  {16, 16},   {16.01, 20},
        {629.9, 630}, {630, 630}, {630.5, 0},  // above 630 A: no rating
        {0, 0},       {-3, 0},
    };
    for (const ValueCase& c : cases)
        EXPECT_EQ(TGrsed::StandardRating(c.in), c.expected) << "current " << c.in;
}

TEST(StandardRatingTest, FirstSeriesValueStrictlyAbove) {
    const ValueCase cases[] = {
        {0, 0},          {0.1, 0.4},  {0.32, 0.4},  {-5, 0.4},  // index 0 is never returned
        {16, 20},        {15.99, 16}, {2500, 4000}, {3999.9, 4000},
        {4000, 0},        // nothing above the largest breaker
        {4000.01, 5000},  // beyond the series
    };
    for (const ValueCase& c : cases) {
        EXPECT_EQ(TGrsed::StandardRatingAbove(c.in), c.expected) << "current " << c.in;
        EXPECT_EQ(EquipmentSelection::StandardRatingAbove(c.in), c.expected) << "current " << c.in;
    }
}

TEST(StandardRatingTest, StepsAlongTheSeries) {
    struct Case {
        double rating;
        double above;  // 0: not on the series
        double keeping630;
    };
    const Case cases[] = {
        {25, 32, 32},     {500, 630, 630}, {630, 1000, 630}, {1000, 1600, 1600}, {4000, 4000, 4000},
        {0.32, 0.4, 0.4}, {33, 0, 0},      {0, 0, 0},        {5000, 0, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(selection::StepAbove(c.rating).value_or(0.0), c.above) << c.rating;
        EXPECT_EQ(selection::StepAboveKeeping630(c.rating).value_or(0.0), c.keeping630) << c.rating;
    }
}

TEST(CurrentFormulasTest, DesignCurrentByConductorCount) {
    struct Case {
        int conductors;
        double power, cosPhi, expected;
    };
    const Case cases[] = {
        {2, 2.2, 1, 10.0},    // 2200 / 220
        {3, 4.4, 0.5, 20.0},  // 4400 / (440 x 0.5)
        {4, 10, 0.8, 18.99},  // 10000 / (sqrt3 x 380 x 0.8) = 18.9918
        {4, 1, 1, 1.52},      // 1000 / 658.18 = 1.5193
        {5, 10, 1, 0.0},      // no such line
    };
    for (const Case& c : cases)
        EXPECT_DOUBLE_EQ(EquipmentSelection::CurrentFromPower(c.conductors, c.power, c.cosPhi),
                         c.expected)
            << c.conductors << " conductors";
}

TEST(CurrentFormulasTest, NeutralCurrentOfTheWorkedValues) {
    struct Case {
        double a, b, c, expected;
    };
    const Case cases[] = {
        {10, 10, 10, 0},     {0, 0, 0, 0},       {10, 10, 20, 10},  {20, 20, 10, 10},
        {0, 10, 20, 17.32},  {10, 0, 0, 10},     {0, 0, 10, 10},    {10, 20, 30, 13.63},
        {30, 20, 10, 17.07}, {10, 20, 20, 7.15}, {12, 10, 8, 3.77},
    };
    for (const Case& c : cases)
        EXPECT_NEAR(NetworkCalculation::NeutralCurrent(c.a, c.b, c.c), c.expected, 1e-9)
            << c.a << " " << c.b << " " << c.c;
}

TEST(ElementImpedanceTest, ConductorResistance) {
    // ((t - 20) alpha + 1) x rho / S x 1000
    EXPECT_NEAR(TGrsed::ConductorResistance(20, 2.5, true), 7.12, 1e-12);
    EXPECT_NEAR(TGrsed::ConductorResistance(65, 2.5, true), 8.494516, 1e-12);  // 1.19305 x 7.12
    EXPECT_NEAR(TGrsed::ConductorResistance(20, 10, false), 2.994, 1e-12);
    EXPECT_NEAR(TGrsed::ConductorResistance(65, 10, false), 3.5787282, 1e-12);  // 1.1953 x 2.994
    EXPECT_EQ(TGrsed::ConductorResistance(65, 0, true), 0.0);
}

TEST(ElementImpedanceTest, CableReactanceRows) {
    struct Case {
        const char* laying;
        double section, expected;
    };
    const Case cases[] = {
        {"В земле", 35, 0.0637},  // larger than for 25 mm2
        {"В земле", 25, 0.0622},
        {"В воздухе", 1.5, 0.113},
        {"В воздухе", 240, 0.0587},
        {"Два провода в трубе", 6, 0.09997},
        {"Три провода в трубе", 10, 0.099},
        {"Четыре провода в трубе", 185, 0.08},
        {"В воздухе", 300, 0.0},  // not a row of the table
        {"В воздухе", 3, 0.0},
        {"По стене", 16, 0.0},  // not a laying of the table
        {"", 16, 0.0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TGrsed::CableReactance(c.laying, c.section), c.expected)
            << c.laying << " " << c.section;
}

// A rating between two rows of the table takes the smaller one; below the 50 A row the 50 A row,
// so a small breaker is never taken as none; no breaker (0) adds nothing.
TEST(ElementImpedanceTest, BreakerImpedanceOfTheRowAtOrBelowTheRating) {
    struct Case {
        int rating;
        double r, x;
    };
    const Case cases[] = {
        {0, 0, 0},          {1, 7, 4.5},        {16, 7, 4.5},       {32, 7, 4.5},
        {40, 7, 4.5},       {50, 7, 4.5},       {63, 3.5, 2},       {80, 3.5, 2},
        {100, 2.15, 1.2},   {125, 1.3, 0.7},    {200, 1.1, 0.5},    {320, 0.65, 0.17},
        {500, 0.65, 0.17},  {630, 0.41, 0.13},  {800, 0.41, 0.13},  {1600, 0.14, 0.08},
        {4000, 0.1, 0.05},  {5000, 0.1, 0.05},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(TGrsed::BreakerResistance(c.rating), c.r) << c.rating;
        EXPECT_EQ(TGrsed::BreakerReactance(c.rating), c.x) << c.rating;
    }
}

TEST(LineLossTest, ByCoefficientC) {
    struct Case {
        const char* material;
        int conductors;
        double length, power, section, expected;
    };
    const Case cases[] = {
        {"Медь", 4, 100, 10, 10, 1.299},      // 1000 / 770 = 1.2987
        {"Алюминий", 4, 100, 10, 10, 2.174},  // 1000 / 460 = 2.1739
        {"Медь", 3, 100, 6, 6, 2.941},        // 600 / 204 = 2.94118
        {"Медь", 2, 100, 2, 6, 2.604},        // 200 / 76.8 = 2.60417
        {"Алюминий", 2, 77, 1, 1, 10.0},      // 77 / 7.7
        {"Алюминий", 3, 10, 2, 1, 1.0},       // 20 / 20
        {"Медь", 4, 100, 10, 0, 0.0},         // no section
        {"Сталь", 4, 100, 10, 10, 0.0},       // no coefficient for the material
        {"Медь", 5, 100, 10, 10, 0.0},        // nor for the conductor count
    };
    for (const Case& c : cases)
        EXPECT_NEAR(EquipmentSelection::LineVoltageLossC(c.material, c.conductors, c.length,
                                                         c.power, c.section),
                    c.expected, 1e-12)
            << c.material << " " << c.conductors;
}

// The loss of each loaded phase in per cent of its voltage: K = 100000 for the power of three
// phases, 450000 for the power of one phase of two with their neutral, 600000 for one phase with
// its neutral (a phase power loses twice as much alone as in a symmetric line).
TEST(LineLossTest, ByResistanceAndReactance) {
    // r0 = 1.78 (copper, 10 mm2, 20 C), x0 = 0.073 (air), tan(acos 0.8) = 0.75:
    // (1.78 + 0.05475) x K x 10 x 0.1 / 160000 = 1.83475 x K / 160000.
    const struct {
        int conductors;
        double expected;
    } cases[] = {{4, 1.147}, {3, 5.160}, {2, 6.880}, {1, 0.0}, {5, 0.0}};
    for (const auto& c : cases)
        EXPECT_NEAR(EquipmentSelection::LineVoltageLossRX(true, "", 10, 100, 0.8, 20, 10,
                                                          "В воздухе", c.conductors),
                    c.expected, 1e-12)
            << c.conductors;
    // The ambient temperature is the conductor temperature: at 45 C, r0 = 1.1073 x 1.78.
    // (1.970994 + 0.05475) x 1e5 x 10 x 0.1 / 160000 = 1.26609
    EXPECT_NEAR(
        EquipmentSelection::LineVoltageLossRX(true, "", 10, 100, 0.8, 45, 10, "В воздухе", 4),
        1.266, 1e-12);
}

TEST(LineLossTest, DeviationAndConsumerVoltage) {
    struct Case {
        double loss, nominal, deviation, voltage;
    };
    const Case cases[] = {
        {0, 380, 5.26, 400.0},                           // 400 x 100 / 380 - 100 = 5.263
        {5, 380, 0.0, 380.0},  {2.5, 380, 2.63, 390.0},  // 390 / 3.8 - 100 = 2.6316
        {0, 220, 4.97, 230.9},                           // 230.94 / 2.2 - 100 = 4.9728
        {3, 220, 1.82, 224.0},                           // 224.0119 / 2.2 - 100 = 1.8236
        {0, 400, 0.0, 0.0},                              // no other nominal voltage
    };
    for (const Case& c : cases) {
        EXPECT_NEAR(EquipmentSelection::VoltageDeviation(c.loss, c.nominal), c.deviation, 1e-12)
            << c.loss << " at " << c.nominal;
        EXPECT_NEAR(EquipmentSelection::ConsumerVoltage(c.loss, c.nominal), c.voltage, 1e-12)
            << c.loss << " at " << c.nominal;
    }
}

// The cube root as the walk defines it, step by step: the reference the program's halving search
// must give to the last bit.
double CubeRootStepByStep(double x) {
    int n = 0;
    for (int i = 1; i <= 999; ++i) {
        const double low = static_cast<double>(i) * i * i;
        const double high = static_cast<double>(i + 1) * (i + 1) * (i + 1);
        if (low <= x && x < high) {
            n = i;
            break;
        }
    }
    if (n == 0) return std::cbrt(x);
    if (x == static_cast<double>(n) * n * n) return n;
    double c = n + 0.9999;
    for (int step = 0; step < 10000 && c * c * c > x; ++step) c = c - 0.0001;
    return c;
}

TEST(ArcFactorTest, CubeRootIsTheWalkToTheLastBit) {
    std::mt19937_64 random(17);
    std::vector<double> values = {0.0,
                                  0.5,
                                  1.0,
                                  1.0000001,
                                  7.9999999,
                                  8.0,
                                  26.999,
                                  27.0,
                                  474.95576,
                                  700.0,
                                  728.999,
                                  729.0,
                                  999.0,
                                  1331.0,
                                  5.0e8,
                                  std::nextafter(8.0, 0.0),
                                  std::nextafter(8.0, 9.0)};
    std::uniform_real_distribution<double> small(0.0, 1000.0);
    std::uniform_real_distribution<double> large(0.0, 1.0e9);
    for (int i = 0; i < 20000; ++i) values.push_back(small(random));
    for (int i = 0; i < 2000; ++i) values.push_back(large(random));
    // Values just above and below each cube and each step of the walk from 2.
    for (int n = 1; n <= 20; ++n) {
        const double cube = double(n) * n * n;
        values.push_back(std::nextafter(cube, 0.0));
        values.push_back(std::nextafter(cube, 1e12));
    }
    double c = 2.9999;
    for (int step = 0; step < 10000; step += 37, c = c - 0.0037) {
        values.push_back(c * c * c);
        values.push_back(std::nextafter(c * c * c, 0.0));
    }
    int differing = 0;
    for (double x : values) {
        const double expected = CubeRootStepByStep(x);
        const double got = CubeRoot(x);
        if (std::memcmp(&expected, &got, sizeof got) != 0 && ++differing <= 5)
            ADD_FAILURE() << "x = " << x << ": " << got << " instead of " << expected;
    }
    EXPECT_EQ(differing, 0);
}

TEST(ArcFactorTest, CubeRootSteps) {
    // Exactly n for a cube; otherwise the root cut to four decimals (plus the drift of the
    // double steps). An integer part divisible by n^3 is no cube: 5 is not 1, 16.5 is not 2.
    EXPECT_EQ(CubeRoot(27), 3.0);
    EXPECT_EQ(CubeRoot(1), 1.0);
    EXPECT_EQ(CubeRoot(8), 2.0);
    EXPECT_NEAR(CubeRoot(474.95576), 7.8022000000005, 1e-12);
    const ValueCase cases[] = {
        {30, 3.1072},    // 3.10723
        {5, 1.7099},     // 1.709976
        {16.5, 2.5458},  // 2.545822
        {54.2, 3.7844},  // 3.784424
        {7.999, 1.9999},
    };
    for (const ValueCase& c : cases) EXPECT_NEAR(CubeRoot(c.in), c.expected, 1e-9) << c.in;
    // Outside the stepped range, the plain root.
    EXPECT_NEAR(CubeRoot(0.125), 0.5, 1e-12);
    EXPECT_NEAR(CubeRoot(8e9), 2000, 1e-9);
}

TEST(ArcFactorTest, FormulaUpTo700AndConstantAbove) {
    // 0.55 - 1.4 + 0.1 sqrt(700) - 0.12 x 8.879 (CubeRoot(700))
    EXPECT_NEAR(TGrsed::ArcFactor(700), 0.7302713, 1e-7);
    // 0.55 - 0.2 + 1 - 0.12 x 4.6415
    EXPECT_NEAR(TGrsed::ArcFactor(100), 0.79302, 1e-9);
    EXPECT_EQ(TGrsed::ArcFactor(700.5), 0.7);
    EXPECT_EQ(TGrsed::ArcFactor(5000), 0.7);
}

// Every 5 degrees from -5 to 50 in both columns; a temperature between two takes the warmer one.
TEST(TemperatureFactorTest, RowsOfBothColumns) {
    struct Case {
        int temperature;
        bool inAir;
        double expected;
    };
    const Case cases[] = {
        {25, true, 1.0},   {15, false, 1.0},                                        // references
        {25, false, 0.89}, {15, true, 1.12},   {5, true, 1.22},  {5, false, 1.10},  // the rows
        {35, true, 0.87},  {35, false, 0.77},  {45, true, 0.71}, {45, false, 0.63},
        {-5, true, 1.32},  {-5, false, 1.18},  {50, true, 0.61}, {50, false, 0.55},
        {26, true, 0.94},  {29, true, 0.94},   {16, false, 0.95}, {1, true, 1.22},  // between
        {-4, false, 1.14}, {49, true, 0.61},
        {-6, true, 1.32},  {-40, false, 1.18}, {51, true, 0.61}, {70, false, 0.55},  // outside
    };
    for (const Case& c : cases)
        EXPECT_EQ(CableCurrentCorrection::AmbientTemperatureFactor(c.temperature, c.inAir),
                  c.expected)
            << c.temperature << (c.inAir ? " in air" : " in ground");
}

// A warmer ambient never allows more current, in either column, degree by degree.
TEST(TemperatureFactorTest, AWarmerAmbientNeverAllowsMore) {
    for (const bool inAir : {true, false}) {
        double previous = CableCurrentCorrection::AmbientTemperatureFactor(-20, inAir);
        for (int t = -19; t <= 70; ++t) {
            const double factor = CableCurrentCorrection::AmbientTemperatureFactor(t, inAir);
            EXPECT_LE(factor, previous) << t << (inAir ? " in air" : " in ground");
            previous = factor;
        }
    }
}

// Every trip comparison: strictly greater, equality only where the transformer walks ask for it;
// no series (multiplicity 0) trips at any current, a series the breaker base does not hold never.
TEST(PassTestTest, StrictlyGreaterAndNeverForAnUnknownSeries) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const BreakerTrip b250{10, 250, true};  // 25 A x 10
    const BreakerTrip none{0, 0, true};
    const BreakerTrip unknown{0, 0, false};
    const struct {
        double current;
        BreakerTrip trip;
        bool equalTrips;
        bool exceeds;
    } cases[] = {
        {250.1, b250, false, true},  {250, b250, false, false},  {249.9, b250, false, false},
        {250, b250, true, true},     {249.9, b250, true, false}, {nan, b250, false, false},
        {0.01, none, false, true},   {0, none, false, false},    {1e6, unknown, false, false},
        {1e6, unknown, true, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(EquipmentSelection::CurrentExceeds(c.current, c.trip, c.equalTrips), c.exceeds)
            << c.current << " " << c.trip.current << " " << c.trip.known << " " << c.equalTrips;
    EXPECT_TRUE(none.Unchecked());
    EXPECT_FALSE(unknown.Unchecked());
    EXPECT_FALSE(b250.Unchecked());
}

}  // namespace
