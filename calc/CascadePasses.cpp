// Passes 7-9: power, cos phi and currents carried through the panels of every cascade, each panel
// with the load of the members beyond it.
#include <algorithm>
#include <array>
#include <cmath>

#include "calc/CascadeWalk.h"
#include "calc/Formulas.h"
#include "calc/PhaseFields.h"
#include "calc/Recalculation.h"
#include "platform/Conversions.h"

namespace {

bool HasGroups(const TSitid& panel) {
    return panel.SchemeGroupCount > 0;
}

// Pass 7: each panel's own power added to that of the members beyond it.
class CarriedLoads : public calc::CascadeActions {
public:
    void Member(TSitid& panel) override { Carry(panel); }
    void Head(TSitid& panel) override { Carry(panel); }
    void Reset() override {
        phases_ = {};
        design_ = 0.0;
    }

private:
    void Carry(TSitid& panel) {
        for (int x = 0; x < 3; ++x) {
            phases_[x] = static_cast<double>(panel.*calc::kPanelPower[x] + phases_[x]);
            panel.*calc::kCascadePower[x] = phases_[x];
        }
        design_ = panel.DesignPower + design_;
        panel.CascadePower = design_;
    }

    std::array<double, 3> phases_{};
    double design_ = 0.0;
};

// Pass 8: the current-weighted cos phi of the load each panel carries.
class CarriedCosPhi : public calc::CascadeActions {
public:
    void Member(TSitid& panel) override {
        if (members_ == 0) {
            CopyOwn(panel);
            Finish(panel);
            for (int x = 0; x < 3; ++x) Contribute(panel, x);
        }
        if (HasGroups(panel) && members_ > 0) {
            Combine(panel);
        } else {
            CopySaved(panel);
        }
        if (HasGroups(panel)) ++members_;
    }

    void Head(TSitid& panel) override {
        if (members_ == 0) {
            CopyOwn(panel);
            Finish(panel);
        }
        if (HasGroups(panel) && members_ > 0) {
            Combine(panel);
        } else {
            CopySaved(panel);
        }
    }

    void Reset() override {
        sums_ = {};
        saved_ = {};
        members_ = 0;
    }

private:
    void Contribute(const TSitid& panel, int x) {
        sums_[x].Add(panel.*calc::kOwnCurrent[x], panel.*calc::kPanelCosPhi[x]);
    }

    // Adds the panel's contribution and stores the combined value, phase by phase; a phase
    // without current so far repeats the value given before. Not replaced by 1.0 when 0.
    void Combine(TSitid& panel) {
        for (int x = 0; x < 3; ++x) {
            Contribute(panel, x);
            const double magnitude = sums_[x].Magnitude();
            const double value = magnitude != 0.0 ? sums_[x].Active / magnitude : saved_[x];
            panel.*calc::kCascadeCosPhi[x] = platform::RoundTo(value, -2);
            saved_[x] = panel.*calc::kCascadeCosPhi[x];
        }
        Finish(panel);
    }

    void CopyOwn(TSitid& panel) {
        for (int x = 0; x < 3; ++x) panel.*calc::kCascadeCosPhi[x] = panel.*calc::kPanelCosPhi[x];
    }

    void CopySaved(TSitid& panel) {
        for (int x = 0; x < 3; ++x) panel.*calc::kCascadeCosPhi[x] = saved_[x];
        Finish(panel);
    }

    void Finish(TSitid& panel) {
        panel.CascadeCosPhi =
            std::min({panel.CascadeCosPhiA, panel.CascadeCosPhiB, panel.CascadeCosPhiC});
        for (int x = 0; x < 3; ++x) saved_[x] = panel.*calc::kCascadeCosPhi[x];
    }

    std::array<CosPhiSums, 3> sums_{};
    std::array<double, 3> saved_{};
    int members_ = 0;  // members with groups handled in the open cascade
};

// Pass 9: phase, neutral and design currents of the load each panel carries.
class CarriedCurrents : public calc::CascadeActions {
public:
    void Member(TSitid& panel) override {
        if (HasGroups(panel)) {
            FromCarriedPower(panel);
        } else {
            RepeatSaved(panel);
            panel.CascadeCosPhi = DominantCosPhi(panel);
            DesignCurrent(panel, panel.CascadeCosPhi);
        }
        for (int x = 0; x < 3; ++x) saved_[x] = panel.*calc::kCascadeCurrent[x];
        savedNeutral_ = panel.CascadeNeutralCurrent;
    }

    void Head(TSitid& panel) override {
        if (HasGroups(panel)) {
            FromCarriedPower(panel);
        } else {
            // The cos phi of the cos phi pass stands; the design current is that of the most
            // loaded phase at its own cos phi, as for every other panel.
            RepeatSaved(panel);
            DesignCurrent(panel, DominantCosPhi(panel));
        }
    }

    void Reset() override {
        saved_ = {};
        savedNeutral_ = 0.0;
    }

private:
    void FromCarriedPower(TSitid& panel) {
        for (int x = 0; x < 3; ++x)
            panel.*calc::kCascadeCurrent[x] =
                PhaseCurrent(panel.*calc::kCascadePower[x], panel.*calc::kCascadeCosPhi[x]);
        panel.CascadeNeutralCurrent = NetworkCalculation::NeutralCurrent(
            panel.CascadeCurrentA, panel.CascadeCurrentB, panel.CascadeCurrentC);
        panel.CascadeCosPhi = DominantCosPhi(panel);
        DesignCurrent(panel, panel.CascadeCosPhi);
    }

    void RepeatSaved(TSitid& panel) {
        for (int x = 0; x < 3; ++x) panel.*calc::kCascadeCurrent[x] = saved_[x];
        panel.CascadeNeutralCurrent = savedNeutral_;
    }

    // The cos phi of the phase with the largest carried current: B on a tie of A and B, C only
    // when strictly larger than both.
    static double DominantCosPhi(const TSitid& panel) {
        int phase = panel.CascadeCurrentA > panel.CascadeCurrentB ? 0 : 1;
        if (panel.CascadeCurrentC > std::max(panel.CascadeCurrentA, panel.CascadeCurrentB))
            phase = 2;
        return panel.*calc::kCascadeCosPhi[phase];
    }

    // As a switchboard's: the trunk's breaker and cable carry its most loaded phase, which the
    // three-phase current of the total carried power falls below when the phases are unequal.
    static void DesignCurrent(TSitid& panel, double cosPhi) {
        panel.CascadeDesignCurrent = LargestPhaseDesignCurrent(
            static_cast<double>(panel.CascadePowerA), static_cast<double>(panel.CascadePowerB),
            static_cast<double>(panel.CascadePowerC), cosPhi);
    }

    std::array<double, 3> saved_{};
    double savedNeutral_ = 0.0;
};

}  // namespace

void TGrsed::AddCascadeLoads() {
    CarriedLoads actions;
    calc::WalkCascades(*this, actions);
}

void TGrsed::AddCascadeCosPhi() {
    CarriedCosPhi actions;
    calc::WalkCascades(*this, actions);
}

void TGrsed::AddCascadeCurrents() {
    CarriedCurrents actions;
    calc::WalkCascades(*this, actions);
}
