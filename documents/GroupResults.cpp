#include "documents/GroupResults.h"

#include <cmath>

#include "calc/Recalculation.h"
#include "model/Chains.h"
#include "model/Classd.h"
#include "platform/Conversions.h"
#include "selection/EquipmentSelection.h"

using platform::FloatToStr;
using platform::IntToStr;

namespace {

using Row = std::vector<std::string>;

// Columns of the group results grid.
enum Column {
    kName = 0,
    kPower = 1,
    kBrand = 2,
    kSection = 3,
    kCurrentA = 4,  // 5, 6 for B, C
    kNeutral = 7,
    kBreakerType = 8,
    kRatingA = 9,      // 10, 11
    kLossA = 12,       // 13, 14
    kDeviationA = 15,  // 16, 17
    kLength = 18,
    kCosPhiA = 19,  // 20, 21
    kFaultCurrent = 22,
};
static_assert(kFaultCurrent + 1 == kGroupResultCells);

// "D    (U вольт)": the deviation at the consumer and the voltage there, at 220 V.
std::string DeviationText(double loss) {
    return FloatToStr(EquipmentSelection::VoltageDeviation(loss, 220.0)) + "    (" +
           FloatToStr(EquipmentSelection::ConsumerVoltage(loss, 220.0)) + " вольт" + ")";
}

std::string LossText(double loss) {
    return FloatToStr(loss) + " %";
}

// The current of one phase of a two- or three-phase line from its power and cos f; to 0.01 A
// from 0.01 kW on.
double PhaseCurrent(long double power, double cosPhi) {
    if (cosPhi == 0) return 0;
    const double current = double(power) * 1000 / ((380 / std::sqrt(3.0)) * cosPhi);
    return power >= 0.01L ? platform::RoundTo(current, -2) : current;
}

// The columns that come from the panel's scheme record of that name: breaker type,
// short-circuit current, power and cross-section. Every record of the name writes them.
void SchemeColumns(TSitid& panel, Row& row) {
    for (TCxemaGrupd* record :
         chains::Elements(panel.SchemeGroups, chains::SchemeLink{}, panel.SchemeGroupCount)) {
        if (record->GroupName != row[kName]) continue;
        row[kBreakerType] = record->BreakerType;
        row[kFaultCurrent] = FloatToStr(record->SinglePhaseFaultCurrent);
        row[kPower] = FloatToStr(record->Power);
        // The phase records carry no cross-section of their own.
        row[kSection] = FloatToStr(record->CrossSection);
    }
}

// The elements at the same place of the three result chains of a kind.
template <typename T, typename Link>
std::array<T*, 3> Firsts(const std::array<ChainBlock<T>, 3>& owners) {
    return {owners[0].First, owners[1].First, owners[2].First};
}
template <typename T, typename Link>
void Advance(std::array<T*, 3>& at) {
    for (int x = 0; x < 3; ++x)
        if (at[x]) at[x] = Link{x}(*at[x]).Next;
}

double SinglePhaseCurrent(const TFasaGrup1d& e, int phase) {
    return phase == 0 ? e.PhaseCurrentA1 : phase == 1 ? e.PhaseCurrentB1 : e.PhaseCurrentC1;
}

// The columns of the phase a single-phase line was placed on.
void SinglePhaseColumns(const TFasaGrup1d& e, int phase, Row& row) {
    const double current = SinglePhaseCurrent(e, phase);
    row[kBrand] = e.CableBrand1;
    row[kCurrentA + phase] = FloatToStr(current);
    if (phase > 0)
        for (int other = 0; other < 3; ++other)
            if (other != phase) row[kCurrentA + other] = "0";
    row[kNeutral] = FloatToStr(current);
    row[kRatingA + phase] = FloatToStr(TGrsed::StandardRatingAbove(current));
    row[kLossA + phase] = LossText(e.ConsumerVoltageLoss1);
    for (int other = 0; other < 3; ++other) row[kDeviationA + other] = "";
    row[kDeviationA + phase] = DeviationText(e.ConsumerVoltageLoss1);
    row[kCosPhiA + phase] = FloatToStr(e.CosPhi1);
}

void SinglePhaseRows(TSitid& panel, std::vector<Row>& rows, std::size_t first) {
    const std::vector<TFasaGrup1d*> records = chains::Elements(
        panel.SinglePhaseGroups, chains::SinglePhaseLink{}, panel.SinglePhaseCount);
    auto at = Firsts<TFasaGrup1d, chains::SinglePhaseByPhaseLink>(panel.SinglePhaseByPhase);
    for (int pass = 0; pass < panel.RowsOfThree; ++pass) {
        for (std::size_t r = 0; r < records.size(); ++r) {
            Row& row = rows[first + r];
            row[kName] = records[r]->GroupName1;
            SchemeColumns(panel, row);
            row[kLength] = FloatToStr(records[r]->LineLength1);
            for (int phase = 0; phase < 3; ++phase)
                if (at[phase] && at[phase]->GroupName1 == row[kName])
                    SinglePhaseColumns(*at[phase], phase, row);
        }
        Advance<TFasaGrup1d, chains::SinglePhaseByPhaseLink>(at);
    }
}

void TwoPhaseRows(TSitid& panel, std::vector<Row>& rows, std::size_t first) {
    const std::vector<TFasaGrup2d*> records =
        chains::Elements(panel.TwoPhaseGroups, chains::TwoPhaseLink{}, panel.TwoPhaseCount);
    auto at = Firsts<TFasaGrup2d, chains::TwoPhaseByPhaseLink>(panel.TwoPhaseByPhase);
    for (std::size_t r = 0; r < records.size(); ++r) {
        Row& row = rows[first + r];
        row[kLength] = FloatToStr(records[r]->LineLength2);
        if (at[0] && at[1] && at[2]) {
            // The phase left free is the one whose copy is not used; the name comes from the B
            // copy, or from the A copy when B is free.
            int f = -1, s = -1, naming = 1;
            if (!at[0]->PhaseUsed) {
                f = 1, s = 2;
            } else if (!at[1]->PhaseUsed) {
                f = 0, s = 2, naming = 0;
            } else if (!at[2]->PhaseUsed) {
                f = 0, s = 1;
            }
            if (f >= 0) {
                const int free = 3 - f - s;
                std::array<double, 3> current{};
                current[f] = PhaseCurrent(at[f]->Power2, at[f]->CosPhi2);
                current[s] = PhaseCurrent(at[s]->Power2, at[s]->CosPhi2);
                const TFasaGrup2d& name = *at[naming];
                row[kName] = name.GroupName2;
                SchemeColumns(panel, row);
                row[kBrand] = name.CableBrand2;
                row[kCurrentA + free] = "0";
                for (int phase : {f, s}) {
                    row[kCurrentA + phase] = FloatToStr(current[phase]);
                    row[kLossA + phase] = LossText(at[phase]->ConsumerVoltageLoss2);
                    row[kDeviationA + phase] = DeviationText(at[phase]->ConsumerVoltageLoss2);
                    row[kCosPhiA + phase] = FloatToStr(at[phase]->CosPhi2);
                    row[kRatingA + phase] = FloatToStr(TGrsed::StandardRating(current[phase]));
                }
                row[kNeutral] = FloatToStr(
                    NetworkCalculation::NeutralCurrent(current[0], current[1], current[2]));
            }
        }
        Advance<TFasaGrup2d, chains::TwoPhaseByPhaseLink>(at);
    }
}

void ThreePhaseRows(TSitid& panel, std::vector<Row>& rows, std::size_t first) {
    const std::vector<TFasaGrup3d*> records =
        chains::Elements(panel.ThreePhaseGroups, chains::ThreePhaseLink{}, panel.ThreePhaseCount);
    auto at = Firsts<TFasaGrup3d, chains::ThreePhaseByPhaseLink>(panel.ThreePhaseByPhase);
    for (std::size_t r = 0; r < records.size(); ++r) {
        Row& row = rows[first + r];
        row[kLength] = FloatToStr(records[r]->LineLength3);
        if (at[0] && at[1] && at[2]) {
            row[kName] = at[0]->GroupName3;
            SchemeColumns(panel, row);
            row[kBrand] = at[0]->CableBrand3;
            std::array<double, 3> current{};
            for (int phase = 0; phase < 3; ++phase) {
                const TFasaGrup3d& e = *at[phase];
                current[phase] = PhaseCurrent(e.Power3, e.CosPhi3);
                row[kCurrentA + phase] = FloatToStr(current[phase]);
                row[kLossA + phase] = LossText(e.ConsumerVoltageLoss3);
                row[kDeviationA + phase] = DeviationText(e.ConsumerVoltageLoss3);
                row[kCosPhiA + phase] = FloatToStr(e.CosPhi3);
                row[kRatingA + phase] = FloatToStr(TGrsed::StandardRating(current[phase]));
            }
            row[kNeutral] =
                FloatToStr(NetworkCalculation::NeutralCurrent(current[0], current[1], current[2]));
        }
        Advance<TFasaGrup3d, chains::ThreePhaseByPhaseLink>(at);
    }
}

}  // namespace

const std::vector<std::string>& GroupResultHeadings() {
    static const std::vector<std::string> headings = {
        "Наим. гр.",
        "Pном  кВт",
        "Марка кабеля",
        "Сечение кв.мм",
        "IA   А.",
        "IB   А.",
        "IC   А.",
        "IN   А.",
        "Марка автомата",
        "Ном. ток авт. A",
        "Ном. ток авт. B",
        "Ном. ток авт. C",
        "Участок трасформатор - потребитель UA%",
        "Участок трасформатор - потребитель UB%",
        "Участок трасформатор - потребитель UC%",
        "Отклонение напряжения на потребителе UA%",
        "Отклонение напряжения на потребителе UB%",
        "Отклонение напряжения на потребителе UC%",
        "Длина м.",
        "Cos f A",
        "Cos f B",
        "Cos f C",
        "Однофазный ток КЗ   А.",
    };
    return headings;
}

std::vector<std::vector<std::string>> GroupResultRows(TSitid& panel) {
    const auto count = [](int n) { return static_cast<std::size_t>(std::max(n, 0)); };
    const std::size_t single =
        chains::Elements(panel.SinglePhaseGroups, chains::SinglePhaseLink{}, panel.SinglePhaseCount)
            .size();
    const std::size_t two =
        chains::Elements(panel.TwoPhaseGroups, chains::TwoPhaseLink{}, panel.TwoPhaseCount).size();
    const std::size_t three =
        chains::Elements(panel.ThreePhaseGroups, chains::ThreePhaseLink{}, panel.ThreePhaseCount)
            .size();
    std::vector<Row> rows(single + two + three, Row(kGroupResultCells));
    SinglePhaseRows(panel, rows, 0);
    TwoPhaseRows(panel, rows, single);
    ThreePhaseRows(panel, rows, single + two);
    // The grid has one row per scheme record.
    rows.resize(std::min(rows.size(), count(panel.SchemeGroupCount)), Row(kGroupResultCells));
    return rows;
}

const std::vector<std::string>& SwitchboardResultHeadings() {
    static const std::vector<std::string> headings = {
        "Грщ №",   "PA",     "PB",  "PC", "Марка кабеля",   "Сечение кв.мм",
        "IA",      "IB",     "IC",  "IN", "Марка автомата", "Ном. ток авт. A",
        "UA%",     "UB%",    "UC%", "L",  "Cos f A",        "Cos f B",
        "Cos f C", "Ток КЗ",
    };
    return headings;
}

std::vector<std::string> SwitchboardResultRow(const TGrsed& sw) {
    return {IntToStr(sw.SwitchboardNumber),     FloatToStr(sw.SwitchboardPowerA),
            FloatToStr(sw.SwitchboardPowerB),   FloatToStr(sw.SwitchboardPowerC),
            sw.SwitchboardCableBrand,           FloatToStr(sw.SwitchboardSection),
            FloatToStr(sw.SwitchboardCurrentA), FloatToStr(sw.SwitchboardCurrentB),
            FloatToStr(sw.SwitchboardCurrentC), FloatToStr(sw.SwitchboardNeutralCurrent),
            sw.SwitchboardBreakerType,          FloatToStr(sw.SwitchboardInputRating),
            FloatToStr(sw.SwitchboardLossA),    FloatToStr(sw.SwitchboardLossB),
            FloatToStr(sw.SwitchboardLossC),    FloatToStr(sw.SwitchboardFeederLength),
            FloatToStr(sw.SwitchboardCosPhiA),  FloatToStr(sw.SwitchboardCosPhiB),
            FloatToStr(sw.SwitchboardCosPhiC),  FloatToStr(sw.SwitchboardFaultCurrent1)};
}
