// Whether the reference tables can supply the loads of a new group line: the cable table, the
// breaker range and the transformer base.
#include <exception>

#include "editing/EditDialog.h"
#include "editing/Shiti12.h"
#include "groups/Dan12.h"
#include "platform/ClientDataSet.h"
#include "platform/Conversions.h"
#include "platform/Events.h"
#include "platform/Messages.h"
#include "refdb/BazaT.h"
#include "refdb/TableSchemas.h"
#include "selection/CheckWindows.h"

namespace {

constexpr char kCaption[] = "Предупреждение.";
// The largest breaker the program has data for, A.
constexpr double kLargestBreakerCurrent = 630.0;

void Warn(const std::string& text) {
    platform::MessageBox(text, kCaption, platform::MsgButtons::Ok, platform::MsgIcon::Warning);
}

}  // namespace

bool TDan1::CheckCurrentTableRow(const std::string& tableName, double current) {
    // The last row of the table in ascending order of sections carries the most.
    double largest = 0;
    try {
        if (!OpenCurrentTable(tableName) || !BazaT) return true;
        platform::TClientDataSet& table = BazaT->ClientDataSet1;
        table.Last();
        if (table.IsEmpty()) return true;
        largest = table.FieldByName(refdb::kContinuousCurrent).AsFloat();
    } catch (const std::exception&) {
        return true;
    }
    if (largest >= current) return false;

    TSitid* panel = ProjectRoot ? ProjectRoot->CurrentPanel() : nullptr;
    if (panel && Form3 && Form3->PanelEditMode && panel->PanelFlagB) {
        // A panel that others hang on keeps the route length typed in the connection window.
        double length = 0;
        const QLineEdit* typed = Shiti ? Shiti->Edit4 : nullptr;
        if (typed && platform::TryStrToFloat(platform::Text(*typed), length))
            for (TSitid& copy : Form3->PanelCopies) copy.FeederLength = length;
        return true;
    }
    Warn("Для данной мощности, в таблице нет данных.");
    return true;
}

bool TDan1::CheckBreakerData(double current) {
    if (!(current > kLargestBreakerCurrent)) return false;
    Warn("Для данной мощности, нет данных для автомата.");
    return true;
}

bool TDan1::TransformerDataMissing(bool baseRanOut, double load, double transformerPower) {
    if (!baseRanOut || load <= transformerPower) return false;
    Warn("Для данной мощности нагрузки, для трансформатора нет данных.");
    const std::optional<int> number = ChosenPanelNumber();
    if (ProjectRoot && number) ProjectRoot->FindPanel(*number);
    const Cursors at = CurrentCursors();
    // An edited group is put back by the apply command itself.
    if (selection::CurrentChange() != selection::ChangeKind::GroupEdit) {
        RollBackAdding(nullptr, at);
        SetCursors(at);
        FailureFlag = 1;
    }
    return true;
}
