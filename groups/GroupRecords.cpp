// The records of a group line built from the window's entries, and their appends to a panel.
#include <cmath>

#include "calc/Formulas.h"
#include "groups/Dan12.h"
#include "groups/NotSimmetr2F.h"
#include "groups/NotSimmetr3F.h"
#include "platform/ClientDataSet.h"
#include "platform/Conversions.h"
#include "platform/Events.h"
#include "refdb/BazaT.h"
#include "refdb/TableSchemas.h"

namespace {

// The conductor material of the open cable table: the name of its last field.
std::string OpenTableMaterial() {
    if (!BazaT) return std::string();
    const platform::TFieldDefs& fields = BazaT->ClientDataSet1.FieldDefs();
    return fields.Count() > 0 ? fields[fields.Count() - 1].Name() : std::string();
}

double Number(const QLineEdit& edit) {
    return platform::StrToFloat(platform::Text(edit));
}

// A power as typed, held as the project file gives it back: the double nearest the text, in the
// 80-bit field. Taken any closer, a line would stand on other phases after the project is opened
// again (the balancing compares sums exactly).
long double ExtendedNumber(const QLineEdit& edit) {
    double value = 0;
    if (!platform::TryStrToFloat(platform::Text(edit), value))
        throw platform::EConvertError("'" + platform::Text(edit) +
                                      "' is not a valid floating point value");
    return value;
}

// Design current of the scheme record at the phase voltage 380 / sqrt 3 (kinds 2 and 3) or of a
// balanced three-phase load (kind 4); unrounded below 0.01 kW. It is the network's current of
// the line, in doubles: 2.2 kW at cos phi 1 gives 10.03 A here, where the phase record holds the
// 10.00 A of the consumer's 220 V (CurrentFromPower); both are saved and printed as they are.
double SchemeDesignCurrent(int kind, double power, double cosPhi) {
    if (cosPhi == 0.0) return 0.0;
    double current = 0.0;
    switch (kind) {
        case 2:
            current = power * 1000 / (PhaseVoltage() * cosPhi);
            break;
        case 3:
            current = power * 1000 / (2 * PhaseVoltage() * cosPhi);
            break;
        case 4:
            current = power * 1000 / (std::sqrt(3.0) * 380 * cosPhi);
            break;
        default:
            break;
    }
    return power >= 0.01 ? platform::RoundTo(current, -2) : current;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Builders

TCxemaGrupd TDan1::BuildGroupRecord() {
    TCxemaGrupd record;
    const std::string table = platform::Text(*ComboBox4);
    const std::string material = OpenChosenTable();
    ++GroupCountCopies[0];

    record.Power = ExtendedNumber(*Edit2);
    record.CosPhi = Number(*Edit1);
    record.LineLength = Number(*Edit4);
    record.PhaseKind = platform::StrToInt(platform::Text(*ComboBox1));
    record.AmbientTemperature = platform::StrToInt(platform::Text(*Edit5));
    record.GroupName = platform::Text(*Edit6);
    record.CableName = platform::Text(*Edit7);
    record.LayingMethod = platform::Text(*ComboBox3);
    record.CableTable = table;
    record.DesignCurrent =
        SchemeDesignCurrent(record.PhaseKind, static_cast<double>(record.Power), record.CosPhi);
    record.CableBrand = TGrsed::CableTableBrand(table);
    record.ConductorMaterial = material;

    // The allowed cross-sections: every "Сечение" of the table, smallest first.
    if (BazaT && BazaT->ClientDataSet1.Active()) {
        platform::TClientDataSet& ds = BazaT->ClientDataSet1;
        ds.SetIndexFieldNames(refdb::kCrossSection);
        for (ds.First(); !ds.Eof(); ds.Next())
            record.AllowedSections.push_back(ds.FieldByName(refdb::kCrossSection).AsFloat());
    }
    record.AllowedSectionCount = static_cast<int>(record.AllowedSections.size());
    return record;
}

namespace {

// Where a phase record keeps the entries every phase record takes from the window: power, cos
// phi, length, conductors, group name, table, the table's brand and conductor material.
template <typename Fields>
struct PhaseEntries {
    long double Fields::*power;
    double Fields::*cosPhi;
    double Fields::*length;
    int Fields::*conductors;
    std::string Fields::*groupName;
    std::string Fields::*table;
    std::string Fields::*brand;
    std::string Fields::*material;
};

const PhaseEntries<TFasaGrup1dFields> kSinglePhaseEntries = {
    &TFasaGrup1dFields::Power1,      &TFasaGrup1dFields::CosPhi1,
    &TFasaGrup1dFields::LineLength1, &TFasaGrup1dFields::PhaseKind1,
    &TFasaGrup1dFields::GroupName1,  &TFasaGrup1dFields::CableTable1,
    &TFasaGrup1dFields::CableBrand1, &TFasaGrup1dFields::ConductorMaterial1};
const PhaseEntries<TFasaGrup2dFields> kTwoPhaseEntries = {
    &TFasaGrup2dFields::Power2,      &TFasaGrup2dFields::CosPhi2,
    &TFasaGrup2dFields::LineLength2, &TFasaGrup2dFields::PhaseKind2,
    &TFasaGrup2dFields::GroupName2,  &TFasaGrup2dFields::CableTable2,
    &TFasaGrup2dFields::CableBrand2, &TFasaGrup2dFields::ConductorMaterial2};
const PhaseEntries<TFasaGrup3dFields> kThreePhaseEntries = {
    &TFasaGrup3dFields::Power3,      &TFasaGrup3dFields::CosPhi3,
    &TFasaGrup3dFields::LineLength3, &TFasaGrup3dFields::PhaseKind3,
    &TFasaGrup3dFields::GroupName3,  &TFasaGrup3dFields::CableTable3,
    &TFasaGrup3dFields::CableBrand3, &TFasaGrup3dFields::ConductorMaterial3};

template <typename Fields>
void FillPhaseEntries(TDan1& dialog, Fields& record, const PhaseEntries<Fields>& at,
                      const std::string& material) {
    record.*at.power = ExtendedNumber(*dialog.Edit2);
    record.*at.cosPhi = Number(*dialog.Edit1);
    record.*at.length = Number(*dialog.Edit4);
    record.*at.conductors = platform::StrToInt(platform::Text(*dialog.ComboBox1));
    record.*at.groupName = platform::Text(*dialog.Edit6);
    record.*at.table = platform::Text(*dialog.ComboBox4);
    // Opens the table again, by its name.
    record.*at.brand = dialog.CableTableBrand(record.*at.table);
    record.*at.material = material;
}

}  // namespace

std::string TDan1::OpenChosenTable() {
    OpenCurrentTable(platform::Text(*ComboBox4));
    return OpenTableMaterial();
}

TFasaGrup1d TDan1::BuildSinglePhaseRecord() {
    const std::string material = OpenChosenTable();
    TFasaGrup1d record;
    record.Current1 = CurrentFromPower(2, Number(*Edit2), Number(*Edit1));
    ++GroupCountCopies[1];
    FillPhaseEntries(*this, static_cast<TFasaGrup1dFields&>(record), kSinglePhaseEntries, material);
    return record;
}

TFasaGrup2d TDan1::BuildTwoPhaseRecord() {
    const std::string material = OpenChosenTable();
    TFasaGrup2d record;
    if (RadioButton2->isChecked() && NotSimmetr_2F) {
        const TNotSimmetr_2F& d = *NotSimmetr_2F;
        record.PartPowers = {ExtendedNumber(*d.Edit1), ExtendedNumber(*d.Edit2)};
        record.PartCosPhi = {Number(*d.Edit3), Number(*d.Edit4)};
        record.Symmetric2 = 0;
    } else {
        // Halves in double precision, kept as extended values.
        const double half = Number(*Edit2) * 0.5;
        record.PartPowers = {half, half};
        record.PartCosPhi = {Number(*Edit1), Number(*Edit1)};
        record.Symmetric2 = 1;
    }
    ++GroupCountCopies[2];
    FillPhaseEntries(*this, static_cast<TFasaGrup2dFields&>(record), kTwoPhaseEntries, material);
    return record;
}

TFasaGrup3d TDan1::BuildThreePhaseRecord() {
    const std::string material = OpenChosenTable();
    TFasaGrup3d record;
    if (RadioButton2->isChecked() && NotSimmetr_3F) {
        const TNotSimmetr_3F& d = *NotSimmetr_3F;
        record.PhasePowers = {ExtendedNumber(*d.Edit1), ExtendedNumber(*d.Edit2),
                              ExtendedNumber(*d.Edit3)};
        record.PhaseCosPhi = {Number(*d.Edit4), Number(*d.Edit5), Number(*d.Edit6)};
        record.Symmetric3 = 0;
    } else {
        // A third in double precision, kept as extended values, as the project file gives it
        // back (its 15 significant digits read again): the sums over the phases, and the losses
        // rounded from them, are then those of the project opened again.
        const double third = platform::StrToFloat(
            platform::FloatToStr(static_cast<double>(Number(*Edit2) * kOneThird)));
        record.PhasePowers = {third, third, third};
        record.PhaseCosPhi = {Number(*Edit1), Number(*Edit1), Number(*Edit1)};
        record.Symmetric3 = 1;
    }
    ++GroupCountCopies[3];
    FillPhaseEntries(*this, static_cast<TFasaGrup3dFields&>(record), kThreePhaseEntries, material);
    return record;
}

// ---------------------------------------------------------------------------------------------
// Adders

namespace {

// The adders' walk: the panel with that number current, and the number of panels of its
// switchboard to search. False when the project has no such panel.
bool FindPanelForAppend(int panelNumber, int& panelsToScan) {
    TGrsed* root = ProjectRoot;
    if (!root) return false;
    root->ResetCursors();
    if (!root->FindPanel(panelNumber)) return false;
    panelsToScan = root->CountPanels();
    return true;
}

}  // namespace

void TDan1::AddSchemeGroup(int panelNumber, int count, const TCxemaGrupd& record) {
    int panels = 0;
    if (!FindPanelForAppend(panelNumber, panels)) return;
    ProjectRoot->AddCxemaGroup(panelNumber, panels, record);
    ProjectRoot->FindPanel(panelNumber);
    ProjectRoot->CurrentPanel()->SchemeGroupCount = count;
}

void TDan1::AddSinglePhaseGroup(int panelNumber, int count, const TFasaGrup1d& record) {
    int panels = 0;
    if (!FindPanelForAppend(panelNumber, panels)) return;
    ProjectRoot->AddFasaGroup1(panelNumber, panels, record);
    ProjectRoot->FindPanel(panelNumber);
    ProjectRoot->CurrentPanel()->SinglePhaseCount = count;
    ProjectRoot->CalcFasaGroups1();
}

void TDan1::AddTwoPhaseGroup(int panelNumber, int count, const TFasaGrup2d& record) {
    int panels = 0;
    if (!FindPanelForAppend(panelNumber, panels)) return;
    ProjectRoot->AddFasaGroup2(panelNumber, panels, record);
    ProjectRoot->FindPanel(panelNumber);
    ProjectRoot->CurrentPanel()->TwoPhaseCount = count;
    ProjectRoot->CalcFasaGroups2();
}

void TDan1::AddThreePhaseGroup(int panelNumber, int count, const TFasaGrup3d& record) {
    int panels = 0;
    if (!FindPanelForAppend(panelNumber, panels)) return;
    ProjectRoot->AddFasaGroup3(panelNumber, panels, record);
    ProjectRoot->FindPanel(panelNumber);
    ProjectRoot->CurrentPanel()->ThreePhaseCount = count;
    ProjectRoot->CalcFasaGroups3();
}
