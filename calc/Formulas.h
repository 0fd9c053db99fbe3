#pragma once
// The electrical formulas every calculation pass shares: phase voltage, the current of a load on
// one phase and of a balanced three-phase load, and the aggregate cos phi of several loads.
//
// Number types are part of the contract: powers arrive as extended (long double) values, currents
// and cos phi are doubles, comparisons are exact, and rounding to hundredths (ties to even) is
// applied only where said.

// Extended-precision one third, used by the demand splits and the single-phase target.
inline constexpr long double kOneThird = 1.0L / 3.0L;

// The phase voltage of the 380 V network: 380 / sqrt(3), as the double quotient (about
// 219.393 V).
double PhaseVoltage();

// Current in A of a load of `power` kW on one phase at `cosPhi`: 0 when cosPhi is exactly 0,
// otherwise P * 1000 / (PhaseVoltage * cosPhi) formed in extended precision; rounded to 0.01 A
// only when P >= 0.01 kW (P is first converted to double; a NaN counts as smaller). The load
// sums' current: the scheme record's formula in doubles can differ from it in the last bit, and
// a last bit can move the hundredth a sum is rounded to; the phase records' 220 V gives 10.00 A
// where both give 10.03 A (2.2 kW at cos phi 1).
double PhaseCurrent(long double power, double cosPhi);

// Current in A of a balanced three-phase load: as PhaseCurrent with the denominator
// sqrt(3) * 380 * cosPhi.
double ThreePhaseCurrent(long double power, double cosPhi);
// The design current of a node whose phases carry unequal loads: ThreePhaseCurrent of three times
// the largest of its phase powers (kW), so that its breaker and cable carry the most loaded
// phase.
double LargestPhaseDesignCurrent(double a, double b, double c, double cosPhi);

// Active and reactive running sums of an aggregate cos phi (doubles; every product is rounded to
// double before it is added).
struct CosPhiSums {
    double Active = 0.0;
    double Reactive = 0.0;

    // Active += w * c; Reactive += w * sin(arccos c).
    void Add(double weight, double cosPhi);
    // sqrt(Active^2 + Reactive^2).
    double Magnitude() const;
};

// What an aggregate stores when its rounded ratio is 0.00.
enum class ZeroCosPhi {
    BecomesOne,  // the shared rule: a rounded 0.0 is stored as 1.0
    StaysZero,   // the switchboard cos phi keeps the 0.0
};

// Adds one contribution (weight w, cos phi c) to the sums and, when the magnitude is not 0,
// stores RoundTo(Active / magnitude, -2) in `target`. A zero magnitude stores 1.0, the cos phi of
// no load: a phase that carries no current keeps nothing of loads it carried before (they would
// enter the smallest of the phases, and opening the project gives 1.0).
void AggregateCosPhi(CosPhiSums& sums, double weight, double cosPhi, double& target,
                     ZeroCosPhi zero = ZeroCosPhi::BecomesOne);

// The same aggregate over a whole set of contributions, for the passes that add many: the ratio
// is formed and rounded once, after the last contribution, which leaves the target exactly as
// AggregateCosPhi applied to every contribution in turn would (1.0 for no contribution).
class CosPhiAggregate {
public:
    void Add(double weight, double cosPhi);
    void StoreInto(double& target, ZeroCosPhi zero = ZeroCosPhi::BecomesOne) const;

private:
    CosPhiSums sums_;
    // The sums at the last contribution after which the magnitude was not 0.
    bool magnitudeSeen_ = false;
    CosPhiSums lastNonZero_;
};
