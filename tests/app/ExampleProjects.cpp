#include "ExampleProjects.h"

#include <gtest/gtest.h>

#include "TreeLookup.h"
#include "calc/Formulas.h"
#include "calc/Recalculation.h"
#include "groups/Dan12.h"
#include "model/Chains.h"
#include "platform/Conversions.h"
#include "refdb/BazaT.h"
#include "refdb/BazaTran.h"
#include "refdb/TableSchemas.h"

namespace {

// What a node takes from its cable current table.
struct TableInfo {
    std::string brand;
    std::string laying;
    std::string material;
    std::vector<double> sections;
    std::vector<double> zeroSections;
    int fieldCount = 0;
};

// The table's parameters are the names of its five text fields: brand, laying method, core
// count, kind, material.
TableInfo ReadTable(const std::string& name) {
    TableInfo t;
    if (!Dan1->OpenCurrentTable(name)) {
        ADD_FAILURE() << "no cable table " << name;
        return t;
    }
    platform::TClientDataSet& ds = BazaT->ClientDataSet1;
    ds.SetIndexFieldNames(refdb::kCrossSection);
    t.fieldCount = ds.FieldCount();
    const int firstText = ds.FieldDefs().IndexOf(refdb::kContinuousCurrent) + 1;
    t.brand = ds.FieldDefs()[firstText].Name();
    t.laying = ds.FieldDefs()[firstText + 1].Name();
    t.material = ds.FieldDefs()[ds.FieldDefs().Count() - 1].Name();
    const bool zero = ds.FieldDefs().IndexOf(refdb::kZeroCrossSection) >= 0;
    for (ds.First(); !ds.Eof(); ds.Next()) {
        t.sections.push_back(ds.FieldByName(refdb::kCrossSection).AsFloat());
        if (zero) t.zeroSections.push_back(ds.FieldByName(refdb::kZeroCrossSection).AsFloat());
    }
    return t;
}

// The breaker series of the shipped breaker table that makes a rating with so many poles.
std::string BreakerSeries(int poles, double rating) {
    const std::string p = platform::IntToStr(poles) + "P";
    if (poles < 3 && rating <= 63) return "ВА47-29 " + p + " C";
    if (poles < 3 && rating <= 100) return "ВА47-100 " + p + " C";
    if (rating <= 63) return "ВА47-29 3P C";
    if (rating <= 125) return "ВА88-32 3P";
    if (rating <= 160) return "ВА88-33 3P";
    if (rating <= 250) return "ВА88-35 3P";
    if (rating <= 400) return "ВА88-37 3P";
    if (rating <= 800) return "ВА88-40 3P";
    if (rating <= 1000) return "Э06В 3P";
    if (rating <= 1600) return "Э16В 3P";
    if (rating <= 2500) return "Э25В 3P";
    return "Э40В 3P";
}

// Appends a record the way group entry does: the panel found, the append scanning the panels of
// its switchboard, the panel's count raised.
template <typename Append>
TSitid* AppendToPanel(int panelNumber, Append append, int TSitidFields::*count) {
    TGrsed& root = *ProjectRoot;
    root.ResetCursors();
    root.FindPanel(panelNumber);
    append(root.CountPanels());
    root.FindPanel(panelNumber);
    TSitid* panel = root.CurrentPanel();
    ++(panel->*count);
    return panel;
}

// The line's scheme record and phase record, then its cross-section and breaker as "Применить"
// chooses them for the line added last.
void AddLine(int panelNumber, const LineSpec& line) {
    TGrsed& root = *ProjectRoot;
    const TableInfo table = ReadTable(line.table);
    TCxemaGrupd scheme;
    scheme.Power = line.power;
    scheme.CosPhi = line.cosPhi;
    scheme.LineLength = line.length;
    scheme.DesignCurrent =
        EquipmentSelection::CurrentFromPower(line.conductors, line.power, line.cosPhi);
    scheme.CableBrand = table.brand;
    scheme.LayingMethod = table.laying;
    scheme.CableTable = line.table;
    scheme.ConductorMaterial = table.material;
    scheme.PhaseKind = line.conductors;
    scheme.AmbientTemperature = 25;
    scheme.GroupName = line.name;
    scheme.CableName = line.cableName;
    scheme.AllowedSections = table.sections;
    scheme.AllowedSectionCount = static_cast<int>(table.sections.size());
    AppendToPanel(
        panelNumber, [&](int scan) { root.AddCxemaGroup(panelNumber, scan, scheme); },
        &TSitidFields::SchemeGroupCount);

    TSitid* panel = nullptr;
    if (line.conductors == 2) {
        TFasaGrup1d record;
        record.Power1 = line.power;
        record.CosPhi1 = line.cosPhi;
        record.LineLength1 = line.length;
        record.Current1 = PhaseCurrent(line.power, line.cosPhi);
        record.PhaseKind1 = 2;
        record.CableBrand1 = table.brand;
        record.GroupName1 = line.name;
        record.CableTable1 = line.table;
        panel = AppendToPanel(
            panelNumber, [&](int scan) { root.AddFasaGroup1(panelNumber, scan, record); },
            &TSitidFields::SinglePhaseCount);
    } else if (line.conductors == 3) {
        TFasaGrup2d record;
        record.Symmetric2 = 1;
        record.Power2 = line.power;
        record.PartPowers = {line.power / 2, line.power / 2};
        record.PartCosPhi = {line.cosPhi, line.cosPhi};
        record.CosPhi2 = line.cosPhi;
        record.LineLength2 = line.length;
        record.CableBrand2 = table.brand;
        record.CableTable2 = line.table;
        record.PhaseKind2 = 3;
        record.GroupName2 = line.name;
        panel = AppendToPanel(
            panelNumber, [&](int scan) { root.AddFasaGroup2(panelNumber, scan, record); },
            &TSitidFields::TwoPhaseCount);
    } else {
        TFasaGrup3d record;
        record.Symmetric3 = 1;
        record.Power3 = line.power;
        record.PhasePowers = {line.power / 3, line.power / 3, line.power / 3};
        record.CosPhi3 = line.cosPhi;
        record.PhaseCosPhi = {line.cosPhi, line.cosPhi, line.cosPhi};
        record.LineLength3 = line.length;
        record.PhaseKind3 = 4;
        record.GroupName3 = line.name;
        record.CableTable3 = line.table;
        record.CableBrand3 = table.brand;
        panel = AppendToPanel(
            panelNumber, [&](int scan) { root.AddFasaGroup3(panelNumber, scan, record); },
            &TSitidFields::ThreePhaseCount);
    }

    root.FindPanel(panelNumber);
    RunDistributionPasses(root);
    Dan1->SelectLastGroupCrossSection();
    Dan1->SelectLastGroupBreaker();
    TCxemaGrupd* added = panel->SchemeGroups.Last;
    added->BreakerType = BreakerSeries(line.conductors - 1, added->BreakerRating);
    if (line.conductors == 2) panel->SinglePhaseGroups.Last->AllowedCurrent1 = added->CrossSection;
    // The phase record carries its scheme record's breaker series.
    if (line.conductors == 2)
        panel->SinglePhaseGroups.Last->TCxemaGrupd::BreakerType = added->BreakerType;
    if (line.conductors == 3)
        panel->TwoPhaseGroups.Last->TCxemaGrupd::BreakerType = added->BreakerType;
    if (line.conductors == 4)
        panel->ThreePhaseGroups.Last->TCxemaGrupd::BreakerType = added->BreakerType;
}

struct TransformerRow {
    double power = 0, uk = 0, pk = 0;
};

TransformerRow ProjectTransformer() {
    platform::TClientDataSet& base = BazaTran->ClientDataSet2;
    for (base.First(); !base.Eof(); base.Next()) {
        if (base.FieldByName("Трансформатор").AsString() != ProjectRoot->TransformerName) continue;
        return {base.FieldByName("Мощность кВА").AsFloat(),
                base.FieldByName("Напряжение к.з. %").AsFloat(),
                base.FieldByName("Потери к.з. Вт").AsFloat()};
    }
    ADD_FAILURE() << "no transformer " << ProjectRoot->TransformerName;
    return {};
}

bool InCascade(const TSitid& p) {
    return p.FedFromPanel || p.FedFromSwitchboard;
}

double PanelSection(const TSitid& p) {
    return InCascade(p) ? p.FeederSection2 : p.FeederSection;
}

std::vector<TSitid*> PanelsOf(const TGrsed& sw) {
    return chains::Elements(sw.Panels, chains::PanelLink{}, sw.PanelCount);
}

std::vector<TCxemaGrupd*> LinesOf(const TSitid& p) {
    return chains::Elements(p.SchemeGroups, chains::SchemeLink{}, p.SchemeGroupCount);
}

// Breakers of the panels, cascades, switchboards and the transformer side, with their series.
void SelectBreakers() {
    TGrsed& root = *ProjectRoot;
    for (TGrsed* sw = root.Switchboards.First; sw; sw = sw->Switchboards.Next) {
        // Twice: a cascade head's trunk breaker is graded above its members' breakers.
        for (int pass = 0; pass < 2; ++pass) {
            for (TSitid* p : PanelsOf(*sw)) {
                root.Switchboards.Cursor = sw;
                sw->Panels.Cursor = p;
                Dan1->SelectPanelRating();
            }
        }
        for (TSitid* p : PanelsOf(*sw)) {
            p->PanelBreakerType =
                BreakerSeries(3, std::max(p->PanelBreakerRating, p->FeederBreakerRating));
            if (p->FedFromSwitchboard)
                p->TrunkBreakerType = BreakerSeries(3, p->TrunkBreakerRating);
        }
        root.Switchboards.Cursor = sw;
        Dan1->SelectSwitchboardBreakerRating();
        sw->SwitchboardBreakerType = BreakerSeries(3, sw->SwitchboardInputRating);
    }
    Dan1->SelectTransformerBreakerRating();
    root.SectionBreakerType = BreakerSeries(3, root.TransformerBreakerRating);
}

// Feeder sections by the breakers, then every cable by its current with the losses and the
// deviations at the consumers, as the loader refreshes them.
void SelectCablesAndLosses() {
    TGrsed& root = *ProjectRoot;
    for (TGrsed* sw = root.Switchboards.First; sw; sw = sw->Switchboards.Next) {
        root.Switchboards.Cursor = sw;
        Dan1->SelectSwitchboardSectionForBreaker();
        for (TSitid* p : PanelsOf(*sw)) {
            if (InCascade(*p)) continue;
            sw->Panels.Cursor = p;
            Dan1->SelectPanelSectionForBreaker();
        }
    }
    for (TGrsed* sw = root.Switchboards.First; sw; sw = sw->Switchboards.Next) {
        root.Switchboards.Cursor = sw;
        Dan1->CheckSwitchboardCables();
        for (TSitid* p : PanelsOf(*sw)) {
            root.Switchboards.Cursor = sw;
            sw->Panels.Cursor = p;
            Dan1->CheckPanelCables();
            sw->Panels.Cursor = p;
            Dan1->SumPanelVoltageLosses();
            for (TCxemaGrupd* g : LinesOf(*p)) {
                root.Switchboards.Cursor = sw;
                sw->Panels.Cursor = p;
                Dan1->CheckGroupCables(g->GroupName);
                sw->Panels.Cursor = p;
                g->VoltageDeviation = Dan1->VoltageDeviation(
                    Dan1->GroupVoltageLoss(g->GroupName, g->CrossSection), 220.0);
            }
        }
    }
}

// Single-phase fault currents at the switchboards, the panels and the ends of the lines; the
// three-phase and surge currents at the switchboards and panels.
void ComputeFaultCurrents() {
    TGrsed& root = *ProjectRoot;
    const TransformerRow t = ProjectTransformer();
    for (TGrsed* sw = root.Switchboards.First; sw; sw = sw->Switchboards.Next) {
        root.Switchboards.Cursor = sw;
        sw->Panels.Cursor = nullptr;
        const double swLength = sw->SwitchboardFeederLength;
        const double swSection = sw->SwitchboardSection;
        const std::string& swMaterial = sw->SwitchboardConductorMaterial;
        const TGrsed::FaultInputs supply{.switchboardLength = swLength,
                                         .switchboardSection = swSection,
                                         .transformerPower = t.power,
                                         .shortCircuitVoltage = t.uk,
                                         .shortCircuitLosses = t.pk,
                                         .switchboardMaterial = swMaterial};
        sw->SwitchboardFaultCurrent1 = root.SinglePhaseFaultCurrent(supply);
        sw->SwitchboardFaultCurrent3 = root.ThreePhaseFaultCurrentAtGroup(supply);
        sw->SwitchboardSurgeCurrent = root.ThreePhaseFaultCurrent(supply);
        for (TSitid* p : PanelsOf(*sw)) {
            root.Switchboards.Cursor = sw;
            sw->Panels.Cursor = p;
            p->SchemeGroups.Cursor = nullptr;
            TGrsed::FaultInputs path = supply;
            path.panelLength = p->FeederLength;
            path.panelSection = PanelSection(*p);
            path.panelMaterial = p->FeederConductorMaterial;
            path.panel = p;
            p->PanelFaultCurrent1 = root.SinglePhaseFaultCurrent(path);
            sw->Panels.Cursor = p;
            p->PanelFaultCurrent3 = root.ThreePhaseFaultCurrentAtGroup(path);
            sw->Panels.Cursor = p;
            p->PanelSurgeCurrent = root.ThreePhaseFaultCurrent(path);
            for (TCxemaGrupd* g : LinesOf(*p)) {
                root.Switchboards.Cursor = sw;
                sw->Panels.Cursor = p;
                p->SchemeGroups.Cursor = g;
                TGrsed::FaultInputs line = path;
                line.groupLength = g->LineLength;
                line.groupSection = g->CrossSection;
                line.groupMaterial = g->ConductorMaterial;
                g->SinglePhaseFaultCurrent = root.SinglePhaseFaultCurrent(line);
            }
        }
    }
}

int LineCount(const ProjectSpec& project) {
    int n = 0;
    for (const SwitchboardSpec& s : project.switchboards)
        for (const PanelSpec& p : s.panels) n += static_cast<int>(p.lines.size());
    return n;
}

}  // namespace

void BuildProject(const ProjectSpec& project) {
    DeleteProjectTree(ProjectRoot);
    ProjectRoot = new TGrsed;
    TGrsed& root = *ProjectRoot;
    root.TransformerName = project.transformer;

    int order = 0;
    for (const SwitchboardSpec& s : project.switchboards) {
        const TableInfo t = ReadTable(s.table);
        TGrsed record;
        record.SwitchboardNumber = s.number;
        record.SchemeOrder = order++;
        record.SwitchboardFeederLength = s.length;
        record.SwitchboardTable = s.table;
        record.SwitchboardLaying = t.laying;
        record.SwitchboardTemperature = s.temperature;
        record.SwitchboardConductorMaterial = t.material;
        record.SwitchboardCableBrand = t.brand;
        record.SwitchboardCableName = s.cableName;
        record.SwitchboardSections = t.sections;
        record.SwitchboardZeroSections = t.zeroSections;
        record.SwitchboardSectionCount = static_cast<int>(t.sections.size());
        record.SwitchboardZeroCoreTable = t.fieldCount != 7 ? 1 : 0;
        root.AddSwitchboard(record);
        ++root.SwitchboardCount;
    }
    for (TGrsed* sw = root.Switchboards.First; sw; sw = sw->Switchboards.Next)
        sw->SwitchboardCount = root.SwitchboardCount;

    for (const SwitchboardSpec& s : project.switchboards) {
        TGrsed* sw = SwitchboardNumbered(s.number);
        for (const PanelSpec& p : s.panels) {
            const TableInfo t = ReadTable(p.table);
            TSitid record;
            record.PanelNumber = p.number;
            record.Position = sw->PanelCount + 1;
            record.CurrentTableName = p.table;
            record.FeederCableName = p.cableName;
            record.FeederLayingMethod = t.laying;
            record.FeederLength = p.length;
            record.FeederTemperature = p.temperature;
            record.FeederCableBrand = t.brand;
            record.FeederConductorMaterial = t.material;
            record.DemandFactor = p.demandFactor;
            record.FeederSections = t.sections;
            record.FeederZeroSections = t.zeroSections;
            record.FeederSectionCount = static_cast<int>(t.sections.size());
            record.ZeroCoreTable = t.fieldCount != 7 ? 1 : 0;
            if (p.cascadeHead) {
                record.FedFromSwitchboard = 1;
                record.CascadeHeadNumber = p.number;
            } else if (p.feedingPanel != 0) {
                record.FedFromPanel = 1;
                record.FeedingPanelNumber = p.feedingPanel;
                record.CascadeHeadNumber = p.headNumber;
                record.HangsOnPanel = p.feedingPanel;
            }
            root.AddPanel(s.number, record);
            ++sw->PanelCount;
        }
    }

    for (const SwitchboardSpec& s : project.switchboards)
        for (const PanelSpec& p : s.panels)
            for (const LineSpec& line : p.lines) AddLine(p.number, line);

    RunLoadPasses(root);
    SelectBreakers();
    SelectCablesAndLosses();
    ComputeFaultCurrents();
    Dan1->FailureFlag = 0;
    root.ResetCursors();
}

projectfile::ProjectFileExtras ProjectExtras(const ProjectSpec& project) {
    projectfile::ProjectFileExtras extras;
    extras.GroupCounter = 1 + LineCount(project);
    extras.GroupCounterCode = 100 * extras.GroupCounter + 700;
    extras.Stamp = project.stamp;
    return extras;
}

// ---------------------------------------------------------------------------------------------
// The projects

namespace {

LineSpec Line(const std::string& name, int conductors, double power, double cosPhi, double length,
              const std::string& table) {
    return LineSpec{name, conductors, power, cosPhi, length, table, "К" + name};
}

PanelSpec Panel(int number, double length, const std::string& table, std::vector<LineSpec> lines) {
    PanelSpec p;
    p.number = number;
    p.length = length;
    p.table = table;
    p.cableName = "КЩ" + platform::IntToStr(number);
    p.lines = std::move(lines);
    return p;
}

PanelSpec Head(PanelSpec p) {
    p.cascadeHead = true;
    return p;
}

PanelSpec Member(PanelSpec p, int feedingPanel, int headNumber) {
    p.feedingPanel = feedingPanel;
    p.headNumber = headNumber;
    return p;
}

SwitchboardSpec Switchboard(int number, double length, const std::string& table,
                            std::vector<PanelSpec> panels) {
    SwitchboardSpec s;
    s.number = number;
    s.length = length;
    s.table = table;
    s.temperature = 15;
    s.cableName = "КГ" + platform::IntToStr(number);
    s.panels = std::move(panels);
    return s;
}

}  // namespace

ProjectSpec SmallProject() {
    ProjectSpec project;
    project.transformer = "ТМ-250/10";
    project.switchboards = {Switchboard(
        1, 50, "АВВГз4.xml",
        {Panel(1, 20, "ВВГв4.xml", {Line("1.1", 2, 1.5, 0.95, 25, "ВВГв2.xml")}),
         Head(Panel(2, 30, "ВВГв4.xml", {Line("2.1", 4, 5.5, 0.85, 20, "ВВГв4.xml")})),
         Member(Panel(3, 15, "ВВГв4.xml", {Line("3.1", 3, 3.0, 0.9, 15, "ВВГв3.xml")}), 2, 2)})};
    project.stamp = {"ВП-01-ЭМ", "Иванов", "Петров", "Сидоров", "Смирнова"};
    return project;
}
