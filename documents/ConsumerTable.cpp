#include "documents/ConsumerTable.h"

#include "model/Chains.h"
#include "model/Classd.h"
#include "platform/Conversions.h"

using platform::FloatToStr;
using platform::IntToStr;
using platform::RoundTo;

namespace {

// Cells 3, 4, 5, 7 and 11 (0-based 2, 3, 4, 6, 10) depend on the kind of the group.
enum Cell { kPower = 2, kCosPhi = 3, kCurrent = 4, kRating = 6, kDrop = 10 };

void SchemeValues(const TCxemaGrupd& group, std::vector<std::string>& row) {
    row[kPower] = FloatToStr(group.Power);
    row[kCosPhi] = FloatToStr(group.CosPhi);
    row[kCurrent] = FloatToStr(group.DesignCurrent);
    row[kRating] = FloatToStr(group.BreakerRating);
}

std::string Rating(double current) {
    return FloatToStr(TGrsed::StandardRating(current));
}

void SinglePhaseDrop(TSitid& panel, const TCxemaGrupd& group, std::vector<std::string>& row) {
    // As many rows as the panel counts, each chain ending on its own.
    chains::ResultRow<TFasaGrup1d, chains::SinglePhaseByPhaseLink> e(panel.SinglePhaseByPhase);
    for (int n = 0; n < panel.RowsOfThree; ++n) {
        for (TFasaGrup1d* element : e.Records())
            if (element && element->GroupName1 == group.GroupName && element->VoltageLoss1 != 0)
                row[kDrop] = FloatToStr(element->ConsumerVoltageLoss1);
        e.Advance();
    }
}

// The current of a two-phase element on its own phase.
double TwoPhaseCurrent(const TFasaGrup2d& element, int phase) {
    return phase == 0 ? element.CurrentA : phase == 1 ? element.CurrentB : element.CurrentC;
}

void TwoPhaseValues(TSitid& panel, const TCxemaGrupd& group, std::vector<std::string>& row) {
    chains::ResultRow<TFasaGrup2d, chains::TwoPhaseByPhaseLink> e(panel.TwoPhaseByPhase);
    TFasaGrup2d* record = panel.TwoPhaseGroups.First;
    std::array<double, 3> current{};
    for (int n = 0; n < panel.TwoPhaseCount; ++n) {
        const auto& at = e.Records();
        const bool matches = std::any_of(at.begin(), at.end(), [&](const TFasaGrup2d* x) {
            return x && x->GroupName2 == group.GroupName;
        });
        if (matches && !e.AnyEnded()) {
            row[kDrop] =
                FloatToStr(std::max({at[0]->ConsumerVoltageLoss2, at[1]->ConsumerVoltageLoss2,
                                     at[2]->ConsumerVoltageLoss2}));
            if (record && record->Symmetric2) {
                SchemeValues(group, row);
            } else {
                // Each pair of loaded phases in turn; the last one found is kept.
                static constexpr int kPairs[3][2] = {{0, 1}, {0, 2}, {1, 2}};
                for (const auto& pair : kPairs) {
                    const TFasaGrup2d& f = *at[pair[0]];
                    const TFasaGrup2d& s = *at[pair[1]];
                    if (f.Power2 == 0 || s.Power2 == 0) continue;
                    const double fi = TwoPhaseCurrent(f, pair[0]);
                    const double si = TwoPhaseCurrent(s, pair[1]);
                    row[kPower] = FloatToStr(RoundTo(double(f.Power2), -1)) + " / " +
                                  FloatToStr(RoundTo(double(s.Power2), -1));
                    row[kCosPhi] = FloatToStr(f.CosPhi2) + "/" + FloatToStr(s.CosPhi2);
                    row[kCurrent] = FloatToStr(fi) + "/" + FloatToStr(si);
                    current[pair[0]] = fi;
                    current[pair[1]] = si;
                }
                for (const auto& pair : kPairs)
                    if (current[pair[0]] != 0 && current[pair[1]] != 0)
                        row[kRating] = Rating(current[pair[0]]) + "/" + Rating(current[pair[1]]);
            }
        }
        if (record) record = record->TwoPhaseGroups.Next;
        e.Advance();
    }
}

void ThreePhaseValues(TSitid& panel, const TCxemaGrupd& group, std::vector<std::string>& row) {
    chains::ResultRow<TFasaGrup3d, chains::ThreePhaseByPhaseLink> e(panel.ThreePhaseByPhase);
    for (int n = 0; n < panel.ThreePhaseCount; ++n) {
        const TFasaGrup3d* a = e[0];
        const TFasaGrup3d* b = e[1];
        const TFasaGrup3d* c = e[2];
        if (a && b && c && a->GroupName3 == group.GroupName) {
            row[kDrop] = FloatToStr(std::max(
                {a->ConsumerVoltageLoss3, b->ConsumerVoltageLoss3, c->ConsumerVoltageLoss3}));
            if (a->Symmetric3) {
                SchemeValues(group, row);
            } else {
                const double ia = a->CurrentA3;
                const double ib = b->CurrentB3;
                const double ic = c->CurrentC3;
                row[kPower] = FloatToStr(RoundTo(double(a->Power3), -1)) + "/" +
                              FloatToStr(RoundTo(double(b->Power3), -1)) + "/" +
                              FloatToStr(RoundTo(double(c->Power3), -1));
                row[kCosPhi] = FloatToStr(a->CosPhi3) + "/" + FloatToStr(b->CosPhi3) + "/" +
                               FloatToStr(c->CosPhi3);
                row[kRating] = Rating(ia) + "/" + Rating(ib) + "/" + Rating(ic);
                row[kCurrent] = FloatToStr(RoundTo(ia, 0)) + "/" + FloatToStr(RoundTo(ib, 0)) +
                                "/" + FloatToStr(RoundTo(ic, 0));
            }
        }
        e.Advance();
    }
}

TSitid* FoundPanel(TGrsed& root, int panelNumber) {
    if (!root.FindPanel(panelNumber)) return nullptr;
    return root.CurrentPanel();
}

}  // namespace

std::vector<std::vector<std::string>> ConsumerTableRows(TGrsed& root, int panelNumber) {
    std::vector<std::vector<std::string>> rows;
    TSitid* panel = FoundPanel(root, panelNumber);
    if (panel == nullptr) return rows;
    chains::StepCursor(panel->SchemeGroups, chains::SchemeLink{}, panel->SchemeGroupCount,
                       [&](TCxemaGrupd& group) {
                           std::vector<std::string> row(kConsumerTableCells);
                           row[0] = group.GroupName;
                           row[1] = IntToStr(group.PhaseKind - 1);
                           row[5] = group.BreakerType;
                           row[7] = group.CableBrand;
                           row[8] = FloatToStr(group.LineLength);
                           row[9] =
                               IntToStr(group.PhaseKind) + " x " + FloatToStr(group.CrossSection);
                           row[11] = FloatToStr(group.SinglePhaseFaultCurrent);
                           switch (group.PhaseKind) {
                               case 2:
                                   SchemeValues(group, row);
                                   SinglePhaseDrop(*panel, group, row);
                                   break;
                               case 3:
                                   TwoPhaseValues(*panel, group, row);
                                   break;
                               case 4:
                                   ThreePhaseValues(*panel, group, row);
                                   break;
                               default:
                                   break;
                           }
                           rows.push_back(std::move(row));
                       });
    return rows;
}

int ConsumerTableRowCount(TGrsed& root, int panelNumber) {
    TSitid* panel = FoundPanel(root, panelNumber);
    if (panel == nullptr) return 0;
    return static_cast<int>(
        chains::Elements(panel->SchemeGroups, chains::SchemeLink{}, panel->SchemeGroupCount)
            .size());
}
