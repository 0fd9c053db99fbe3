#include "SelectionFixture.h"

#include <cmath>

#include "calc/Recalculation.h"
#include "model/Chains.h"
#include "platform/ClientDataSet.h"
#include "platform/Conversions.h"
#include "refdb/BazaT.h"
#include "refdb/TableSchemas.h"
#include "selection/TreeEdits.h"

const std::vector<CableRow> kCopperCableRows = {
    {2.5, 2.5, 27}, {4, 4, 36},    {6, 6, 46},    {10, 10, 63},  {16, 16, 84},  {25, 16, 112},
    {35, 16, 137},  {50, 25, 167}, {70, 35, 211}, {95, 50, 255}, {120, 70, 295}};
const std::vector<CableRow> kCopperWireRows = {
    {1.5, 0, 19}, {2.5, 0, 27}, {4, 0, 38}, {6, 0, 46}, {10, 0, 70}};
const std::vector<CableRow> kAluminiumCableRows = {{4, 4, 38},   {6, 6, 46},    {10, 10, 65},
                                                   {16, 16, 90}, {25, 16, 115}, {35, 16, 135}};

namespace {

template <typename T, typename Link>
void AppendResult(ChainBlock<T>& owner, T* element, Link link) {
    if (!owner.First) {
        owner.First = owner.Cursor = owner.Last = element;
        return;
    }
    link(*owner.Last).Next = element;
    owner.Last = element;
}

double PhaseCurrentOf(double power, double cosPhi) {
    return platform::RoundTo(power * 1000 / (380 / std::sqrt(3.0) * cosPhi), -2);
}

}  // namespace

void SelectionTest::CreateWindows() {
    RefdbTest::CreateWindows();
    // A swap of panels gives the current panel its new group lines distributed, as the main
    // window's edits do.
    ownEdits_.Hooks.DistributeCurrentPanel = [] {
        if (ProjectRoot) RunDistributionPasses(*ProjectRoot);
    };
    selection::SetTreeEdits(&ownEdits_);
}

void SelectionTest::DestroyWindows() {
    selection::ForgetTreeEdits(&ownEdits_);
    RefdbTest::DestroyWindows();
}

void SelectionTest::SetUp() {
    RefdbTest::SetUp();
    ProjectRoot = new TGrsed;
    ProjectRoot->TransformerName = "ТМ-400/10";
    WriteCableTable(kCopperCable, "ВВГ", "В воздухе", "Медь", true, kCopperCableRows);
    WriteCableTable(kCopperWire, "ПВ1", "Два провода в трубе", "Медь", false, kCopperWireRows);
    WriteCableTable(kAluminiumCable, "АВВГ", "В земле", "Алюминий", true, kAluminiumCableRows);
}

void SelectionTest::TearDown() {
    DeleteProjectTree(ProjectRoot);
    RefdbTest::TearDown();
}

void SelectionTest::WriteCableTable(const std::string& fileName, const std::string& brand,
                                    const std::string& laying, const std::string& material,
                                    bool zeroCore, const std::vector<CableRow>& rows) {
    platform::TClientDataSet ds;
    refdb::DefineCableTable(ds, {brand, laying, zeroCore ? "4" : "2",
                                 zeroCore ? refdb::kCable : refdb::kWire, material});
    ds.CreateDataSet();
    for (const CableRow& row : rows) {
        ds.Append();
        ds.FieldByName(refdb::kCrossSection).SetAsFloat(row.section);
        if (zeroCore) ds.FieldByName(refdb::kZeroCrossSection).SetAsFloat(row.zeroSection);
        ds.FieldByName(refdb::kContinuousCurrent).SetAsFloat(row.current);
        ds.Post();
    }
    ds.SaveToFile(ProgramFile(fileName));
    ds.SetFileName("");
    ds.Close();
}

TGrsed* SelectionTest::AddSwitchboard(int number) {
    TGrsed record;
    record.SwitchboardNumber = number;
    record.SwitchboardTable = kCopperCable;
    record.SwitchboardLaying = "В воздухе";
    record.SwitchboardTemperature = 25;
    record.SwitchboardConductorMaterial = "Медь";
    record.SwitchboardZeroCoreTable = 1;
    for (const CableRow& row : kCopperCableRows) {
        record.SwitchboardSections.push_back(row.section);
        record.SwitchboardZeroSections.push_back(row.zeroSection);
    }
    record.SwitchboardSectionCount = static_cast<int>(kCopperCableRows.size());
    ProjectRoot->AddSwitchboard(record);
    ++ProjectRoot->SwitchboardCount;
    TGrsed* sw = ProjectRoot->Switchboards.Last;
    // The append shares the template's arrays; each switchboard keeps its own.
    sw->SwitchboardSections = record.SwitchboardSections;
    sw->SwitchboardZeroSections = record.SwitchboardZeroSections;
    ProjectRoot->Switchboards.Cursor = sw;
    return sw;
}

TSitid* SelectionTest::AddPanel(TGrsed* sw, int number, const std::string& table,
                                const std::vector<CableRow>& rows, bool zeroCore, int feedingPanel,
                                bool head, int headNumber) {
    TSitid record;
    record.PanelNumber = number;
    record.Position = sw->PanelCount + 1;
    record.CurrentTableName = table;
    record.FeederLayingMethod = "В воздухе";
    record.FeederTemperature = 25;
    record.FeederConductorMaterial = table == kAluminiumCable ? "Алюминий" : "Медь";
    record.ZeroCoreTable = zeroCore ? 1 : 0;
    for (const CableRow& row : rows) {
        record.FeederSections.push_back(row.section);
        record.FeederZeroSections.push_back(row.zeroSection);
    }
    record.FeederSectionCount = static_cast<int>(rows.size());
    if (head) {
        record.FedFromSwitchboard = 1;
        record.CascadeHeadNumber = number;
    } else if (feedingPanel != 0) {
        record.FedFromPanel = 1;
        record.FeedingPanelNumber = feedingPanel;
        record.CascadeHeadNumber = headNumber;
    }
    ProjectRoot->AddPanel(sw->SwitchboardNumber, record);
    ++sw->PanelCount;
    TSitid* panel = sw->Panels.Last;
    MakeCurrent(sw, panel);
    return panel;
}

TCxemaGrupd* SelectionTest::AddGroup(TSitid* panel, const GroupLine& line,
                                     const std::vector<CableRow>& tableRows) {
    auto* scheme = new TCxemaGrupd;
    scheme->Power = line.power;
    scheme->CosPhi = line.cosPhi;
    scheme->LineLength = line.length;
    scheme->PhaseKind = line.kind;
    scheme->GroupName = line.name;
    scheme->CableTable = line.table;
    scheme->LayingMethod = line.laying;
    scheme->AmbientTemperature = line.temperature;
    scheme->ConductorMaterial = line.material;
    for (const CableRow& row : tableRows) scheme->AllowedSections.push_back(row.section);
    scheme->AllowedSectionCount = static_cast<int>(tableRows.size());
    AppendResult(panel->SchemeGroups, scheme, chains::SchemeLink{});
    ++panel->SchemeGroupCount;

    if (line.kind == 2) {
        auto* record = new TFasaGrup1d;
        record->Power1 = line.power;
        record->CosPhi1 = line.cosPhi;
        record->LineLength1 = line.length;
        record->GroupName1 = line.name;
        record->PhaseKind1 = 2;
        AppendResult(panel->SinglePhaseGroups, record, chains::SinglePhaseLink{});
        ++panel->SinglePhaseCount;
        for (int x = 0; x < 3; ++x) {
            auto* copy = new TFasaGrup1d;
            if (x == line.phase) {
                static_cast<TFasaGrup1dFields&>(*copy) = *record;
                const double current = PhaseCurrentOf(line.power, line.cosPhi);
                (x == 0   ? copy->PhaseCurrentA1
                 : x == 1 ? copy->PhaseCurrentB1
                          : copy->PhaseCurrentC1) = current;
            }
            AppendResult(panel->SinglePhaseByPhase[x], copy, chains::SinglePhaseByPhaseLink{x});
        }
        ++panel->RowsOfThree;
    } else if (line.kind == 3) {
        auto* record = new TFasaGrup2d;
        record->Power2 = line.power;
        record->CosPhi2 = line.cosPhi;
        record->LineLength2 = line.length;
        record->GroupName2 = line.name;
        record->PhaseKind2 = 3;
        record->PartPowers = {line.power / 2, line.power / 2};
        AppendResult(panel->TwoPhaseGroups, record, chains::TwoPhaseLink{});
        ++panel->TwoPhaseCount;
        // Halves on phases A and B; phase C unused.
        for (int x = 0; x < 3; ++x) {
            auto* copy = new TFasaGrup2d;
            if (x < 2) {
                static_cast<TFasaGrup2dFields&>(*copy) = *record;
                copy->Power2 = line.power / 2;
                copy->PhaseUsed = 1;
                (x == 0 ? copy->CurrentA : copy->CurrentB) =
                    PhaseCurrentOf(line.power / 2, line.cosPhi);
            }
            AppendResult(panel->TwoPhaseByPhase[x], copy, chains::TwoPhaseByPhaseLink{x});
        }
    } else {
        auto* record = new TFasaGrup3d;
        record->Power3 = line.power;
        record->CosPhi3 = line.cosPhi;
        record->LineLength3 = line.length;
        record->GroupName3 = line.name;
        record->PhaseKind3 = 4;
        record->PhasePowers = {line.power / 3, line.power / 3, line.power / 3};
        AppendResult(panel->ThreePhaseGroups, record, chains::ThreePhaseLink{});
        ++panel->ThreePhaseCount;
        for (int x = 0; x < 3; ++x) {
            auto* copy = new TFasaGrup3d;
            static_cast<TFasaGrup3dFields&>(*copy) = *record;
            copy->Power3 = line.power / 3;
            copy->PhaseNumber = x + 1;
            (x == 0   ? copy->CurrentA3
             : x == 1 ? copy->CurrentB3
                      : copy->CurrentC3) = PhaseCurrentOf(line.power / 3, line.cosPhi);
            AppendResult(panel->ThreePhaseByPhase[x], copy, chains::ThreePhaseByPhaseLink{x});
        }
    }
    return scheme;
}

void SelectionTest::MakeCurrent(TGrsed* sw, TSitid* panel) {
    ProjectRoot->Switchboards.Cursor = sw;
    if (sw) sw->Panels.Cursor = panel;
}

std::vector<double> TableColumn(const char* field) {
    platform::TClientDataSet& ds = BazaT->ClientDataSet1;
    std::vector<double> values;
    ds.First();
    while (!ds.Eof()) {
        values.push_back(ds.FieldByName(field).AsFloat());
        ds.Next();
    }
    return values;
}
