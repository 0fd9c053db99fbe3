#include "calc/Recalculation.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>

#include "model/Chains.h"
#include "platform/Conversions.h"

void RunDistributionPasses(TGrsed& root) {
    root.CalcFasaGroups1();
    root.CalcFasaGroups2();
    root.CalcFasaGroups3();
}

void RunLoadPasses(TGrsed& root) {
    RunPanelAndSwitchboardPasses(root);
    RunSectionTotalPasses(root);
}

void RunPanelAndSwitchboardPasses(TGrsed& root) {
    root.SumPanelPhaseLoads();
    root.CalcPanelCosPhi();
    root.CalcPanelCurrents();
    root.AddCascadeLoads();
    root.AddCascadeCosPhi();
    root.AddCascadeCurrents();
    root.SumSwitchboardLoads();
    root.CalcSwitchboardCosPhi();
    root.CalcSwitchboardCurrents();
}

void RunSectionTotalPasses(TGrsed& root) {
    root.SumSwitchboardTotalLoads();
    root.CalcSwitchboardTotalCosPhi();
    root.CalcSwitchboardTotalCurrents();
    root.CalcPanelFeederCurrents();
}

void NetworkCalculation::RecalculateNetwork() {
    if (!ProjectRoot) return;
    RunDistributionPasses(*ProjectRoot);
    RunLoadPasses(*ProjectRoot);
}

namespace {
bool limitRecalculations = true;
}  // namespace

void NetworkCalculation::LimitRecalculations(bool limit) {
    limitRecalculations = limit;
}

void RunLoadPassesOfCurrentSwitchboard(TGrsed& root) {
    TGrsed* sw = root.Switchboards.Cursor;
    if (!limitRecalculations || !sw) {
        RunLoadPasses(root);
        return;
    }
    // The panel and switchboard passes read nothing of the root but its switchboards, and each
    // switchboard's results come from its own records: walked over a root holding the current
    // switchboard alone, they give it what the whole walk gives it, and the other switchboards
    // would get theirs unchanged. Their cursors end where the totals' walk below leaves them.
    TGrsed alone;
    alone.Switchboards.First = alone.Switchboards.Last = sw;
    alone.SwitchboardCount = 1;
    RunPanelAndSwitchboardPasses(alone);
    RunSectionTotalPasses(root);
}

void NetworkCalculation::RecalculateCurrentSwitchboard() {
    if (!ProjectRoot) return;
    RunDistributionPasses(*ProjectRoot);
    RunLoadPassesOfCurrentSwitchboard(*ProjectRoot);
}

namespace {
// Two phase currents 120 degrees apart, each first scaled to the larger one (x before y, as the
// checks have always done it; the scaled values stay for the cases that follow).
double TwoPhasesApart(double& x, double& y) {
    if (x > y) {
        y = y / x;
        x = 1;
    }
    if (y > x) {
        x = x / y;
        y = 1;
    }
    return std::sqrt(x * x + y * y - 2 * x * y * 0.5);
}
}  // namespace

// The neutral current as the network checks have always computed it: the phases are scaled to
// the largest one, phases A and B are added 120 degrees apart and the sum is combined with C. The
// constants (a product with 0.5 a t where a cosine rule would divide, 380 degrees) are part of
// the established results and are kept as they are.
double NetworkCalculation::NeutralCurrent(double a, double b, double c) {
    double scale = 0.0;
    double r = 0.0;
    if (a == b) {
        if (c > a) {
            scale = c;
            a = a / c;
            b = b / c;
            c = 1;
            r = 1 - std::sqrt(a * a + b * b - 2 * a * b * 0.5);
        }
        if (c < a) {
            scale = a;
            c = c / a;
            a = 1;
            b = 1;
            r = 1 - c;
        }
    } else {
        if (a > b && a > c) {
            scale = a;
            b = b / a;
            c = c / a;
            a = 1;
        }
        if (b > a && b > c) {
            scale = b;
            a = a / b;
            c = c / b;
            b = 1;
        }
        if (c > a && c > b) {
            scale = c;
            a = a / c;
            b = b / c;
            c = 1;
        }
        if (c == a && b < c) {
            scale = c;
            b = b / c;
            a = 1;
            c = 1;
        }
        if (c == b && a < c) {
            scale = c;
            a = a / c;
            b = 1;
            c = 1;
        }
        // Phases A and B summed 120 degrees apart.
        const double t = std::sqrt(a * a + b * b - 2 * a * b * 0.5);
        double w = 0.0;
        if (a > b) w = (a * a + t * t - b * b) * 0.5 * a * t;
        if (a < b) w = (b * b + t * t - a * a) * 0.5 * b * t;
        const double alpha = std::acos(w) * 180.0 / std::numbers::pi;
        const double psi = (380.0 - (120.0 + alpha) * 2) * 0.5 * std::numbers::pi / 180.0;
        r = std::sqrt(c * c + t * t - 2 * c * t * std::cos(psi));
        // One phase without current: the other two, 120 degrees apart.
        if (a == 0) r = TwoPhasesApart(b, c);
        if (b == 0) r = TwoPhasesApart(a, c);
        if (c == 0) r = TwoPhasesApart(b, a);
    }
    return platform::RoundTo(r * scale, -2);
}

void NetworkCalculation::TakeProjectSnapshot() {
    SwitchboardSnapshots = {};
    PanelSnapshots.clear();
    PanelSnapshotCount = 0;
    snapshotTaken_ = switchboardTaken_ = snapshotHoldsLine_ = false;
    if (!ProjectRoot) return;

    static_cast<TGrsedFields&>(SwitchboardSnapshots[0]) =
        static_cast<const TGrsedFields&>(*ProjectRoot);
    if (const TGrsed* sw = ProjectRoot->CurrentSwitchboard()) {
        static_cast<TGrsedFields&>(SwitchboardSnapshots[1]) = static_cast<const TGrsedFields&>(*sw);
        switchboardTaken_ = true;
        for (TSitid* panel : chains::PanelsOf(*sw)) {
            TSitid copy;
            static_cast<TSitidFields&>(copy) = static_cast<const TSitidFields&>(*panel);
            PanelSnapshots.push_back(std::move(copy));
        }
    }
    PanelSnapshotCount = static_cast<int>(PanelSnapshots.size());
    snapshotTaken_ = true;
}

void NetworkCalculation::RestoreSnapshotWithoutLine() {
    if (!ProjectRoot) return;
    TGrsed* sw = ProjectRoot->CurrentSwitchboard();
    TSitid* panel = sw ? sw->Panels.Cursor : nullptr;
    const auto putCursorsBack = [&] {
        ProjectRoot->Switchboards.Cursor = sw;
        if (sw) sw->Panels.Cursor = panel;
    };
    RestoreProjectSnapshot();
    putCursorsBack();
    if (!snapshotHoldsLine_) return;
    RecalculateNetwork();
    putCursorsBack();
}

void NetworkCalculation::TakeProjectSnapshotWithLine() {
    TakeProjectSnapshot();
    snapshotHoldsLine_ = true;
}

void NetworkCalculation::KeepValuesBeforeLine() {
    branch_ = ProjectRoot ? BranchValues::Of(*ProjectRoot, ProjectRoot->CurrentSwitchboard())
                          : BranchValues();
}

void NetworkCalculation::ForgetValuesBeforeLine() {
    branch_ = BranchValues();
}

bool NetworkCalculation::RestoreProjectSnapshot() {
    if (!ProjectRoot || !snapshotTaken_) return true;
    static_cast<TGrsedFields&>(*ProjectRoot) =
        static_cast<const TGrsedFields&>(SwitchboardSnapshots[0]);
    TGrsed* sw = ProjectRoot->CurrentSwitchboard();
    if (!sw || !switchboardTaken_) return true;
    static_cast<TGrsedFields&>(*sw) = static_cast<const TGrsedFields&>(SwitchboardSnapshots[1]);

    // Bounded by the restored count, the snapshot and the chain, whichever ends first.
    const int count =
        std::min({sw->PanelCount, PanelSnapshotCount, static_cast<int>(PanelSnapshots.size())});
    std::size_t i = 0;
    chains::ForEachPanelOf(*sw, count, [&](TSitid& panel) {
        static_cast<TSitidFields&>(panel) = static_cast<const TSitidFields&>(PanelSnapshots[i++]);
        // The counts follow the chains the panel holds now, not those of the snapshot's time.
        chains::CountGroupChains(panel);
    });
    branch_.PutBack(*ProjectRoot);
    return true;
}
