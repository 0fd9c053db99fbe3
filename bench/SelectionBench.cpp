// The selection passes over a large project: 10 switchboards x 30 panels x 30 group lines, the
// last three panels of each switchboard a cascade. The cable pass (every supply, panel and group
// cable chosen from its table, with the losses), the loss pass (the total loss and deviation at
// every group) and the fault-current pass (the single-phase fault current at every group). Then
// the same project saved and opened as the main window opens it, beside only reading its bytes,
// and one more group line added to it through the group line window ("Применить").
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "BenchApplication.h"
#include "FileBytes.h"
#include "ProcessMemory.h"
#include "app/Mainform.h"
#include "app/ProjectFile.h"
#include "calc/Recalculation.h"
#include "editing/EditDialog.h"
#include "editing/Shiti12.h"
#include "groups/Dan12.h"
#include "groups/InsertAvtomat.h"
#include "model/Chains.h"
#include "model/Classd.h"
#include "platform/ClientDataSet.h"
#include "platform/Conversions.h"
#include "platform/Messages.h"
#include "platform/ProgramFolder.h"
#include "platform/Registry.h"
#include "refdb/TableSchemas.h"
#include "selection/CheckSupport.h"
#include "app/PowerSystem.h"

namespace {

// Switchboards of the project BuildProject made last: 10, or 40 for the larger project.
int projectSwitchboards = 10;
constexpr int kPanels = 30;
constexpr int kGroups = 30;
constexpr char kTable[] = "Кабель.xml";

struct Row {
    double section, zero, current;
};
const std::vector<Row> kRows = {{2.5, 2.5, 27}, {4, 4, 36},     {6, 6, 46},     {10, 10, 63},
                                {16, 16, 84},   {25, 16, 112},  {35, 16, 137},  {50, 25, 167},
                                {70, 35, 211},  {95, 50, 255},  {120, 70, 295}, {150, 70, 335},
                                {185, 95, 385}, {240, 120, 460}};

void WriteTables(const std::string& folder) {
    platform::TClientDataSet cable;
    refdb::DefineCableTable(cable, {"ВВГ", "В воздухе", "4", "Кабель", "Медь"});
    cable.CreateDataSet();
    for (const Row& r : kRows) {
        cable.Append();
        cable.FieldByName("Сечение").SetAsFloat(r.section);
        cable.FieldByName("Сечение 0 жилы").SetAsFloat(r.zero);
        cable.FieldByName("Длительный ток").SetAsFloat(r.current);
        cable.Post();
    }
    cable.SaveToFile(folder + kTable);

    platform::TClientDataSet transformers;
    refdb::DefineTransformerTable(transformers);
    transformers.CreateDataSet();
    transformers.Append();
    transformers.FieldByName("Трансформатор").SetAsString("ТМ-1000/10");
    transformers.FieldByName("Мощность кВА").SetAsFloat(1000);
    transformers.FieldByName("Потери к.з. Вт").SetAsFloat(12200);
    transformers.FieldByName("Напряжение к.з. %").SetAsFloat(5.5);
    transformers.Post();
    transformers.SaveToFile(folder + "tranform.xml");
}

// The application with the tables in its program folder, written once, its bases open on them.
void StartWithTables() {
    static const bool written = [] {
        const std::string& folder = StartApplication();
        WriteTables(folder);
        OpenBaseTables(folder);
        return true;
    }();
    (void)written;
}

int PanelNumber(int sw, int panel) {
    return sw * 100 + panel;
}

// Builds and recalculates the project of that many switchboards, then selects breakers and
// sections as the group dialog does once for every line. A larger project has its lines' powers
// scaled down so that the whole load, and with it the section breaker, stays that of 10
// switchboards.
void BuildProject(int switchboards = 10) {
    projectSwitchboards = switchboards;
    ProjectRoot = new TGrsed;
    ProjectRoot->TransformerName = "ТМ-1000/10";
    std::vector<double> sections;
    std::vector<double> zeros;
    for (const Row& r : kRows) {
        sections.push_back(r.section);
        zeros.push_back(r.zero);
    }
    for (int s = 1; s <= projectSwitchboards; ++s) {
        TGrsed sw;
        sw.SwitchboardNumber = s;
        sw.SwitchboardTable = kTable;
        sw.SwitchboardLaying = "В воздухе";
        sw.SwitchboardTemperature = 25;
        sw.SwitchboardConductorMaterial = "Медь";
        sw.SwitchboardFeederLength = 120;
        sw.SwitchboardSections = sections;
        sw.SwitchboardZeroSections = zeros;
        sw.SwitchboardSectionCount = static_cast<int>(sections.size());
        sw.SwitchboardZeroCoreTable = 1;
        ProjectRoot->AddSwitchboard(sw);
        ++ProjectRoot->SwitchboardCount;
    }
    for (TGrsed* sw = ProjectRoot->Switchboards.First; sw; sw = sw->Switchboards.Next) {
        for (int p = 1; p <= kPanels; ++p) {
            TSitid panel;
            panel.PanelNumber = PanelNumber(sw->SwitchboardNumber, p);
            panel.Position = p;
            panel.CurrentTableName = kTable;
            panel.FeederLayingMethod = "В воздухе";
            panel.FeederTemperature = 25;
            panel.FeederConductorMaterial = "Медь";
            panel.FeederLength = 20 + p;
            panel.FeederSections = sections;
            panel.FeederZeroSections = zeros;
            panel.FeederSectionCount = static_cast<int>(sections.size());
            panel.ZeroCoreTable = 1;
            const int head = PanelNumber(sw->SwitchboardNumber, kPanels - 2);
            if (panel.PanelNumber == head) {
                panel.FedFromSwitchboard = 1;
                panel.CascadeHeadNumber = head;
            } else if (panel.PanelNumber > head) {
                panel.FedFromPanel = 1;
                panel.FeedingPanelNumber = panel.PanelNumber - 1;
                panel.CascadeHeadNumber = head;
            }
            ProjectRoot->AddPanel(sw->SwitchboardNumber, panel);
            ++sw->PanelCount;
        }
    }
    for (int s = 1; s <= projectSwitchboards; ++s) {
        for (int p = 1; p <= kPanels; ++p) {
            const int number = PanelNumber(s, p);
            ProjectRoot->FindPanel(number);
            const int scan = ProjectRoot->CountPanels();
            for (int g = 0; g < kGroups; ++g) {
                const std::string name = std::to_string(number) + "-" + std::to_string(g);
                const long double base = 0.03L * (1 + g % 7);
                const long double power = switchboards == 10 ? base : base * 10 / switchboards;
                TCxemaGrupd scheme;
                scheme.GroupName = name;
                scheme.PhaseKind = 2 + g % 3;
                scheme.Power = power;
                scheme.CosPhi = 0.9;
                scheme.LineLength = 15 + g;
                scheme.CableTable = kTable;
                scheme.LayingMethod = "В воздухе";
                scheme.AmbientTemperature = 25;
                scheme.ConductorMaterial = "Медь";
                scheme.AllowedSections = sections;
                scheme.AllowedSectionCount = static_cast<int>(sections.size());
                ProjectRoot->AddCxemaGroup(number, scan, scheme);
                if (g % 3 == 0) {
                    TFasaGrup1d record;
                    record.GroupName1 = name;
                    record.Power1 = power;
                    record.CosPhi1 = 0.9;
                    record.LineLength1 = 15 + g;
                    ProjectRoot->AddFasaGroup1(number, scan, record);
                } else if (g % 3 == 1) {
                    TFasaGrup2d record;
                    record.GroupName2 = name;
                    record.Power2 = power;
                    record.PartPowers = {power / 2, power / 2};
                    record.PartCosPhi = {0.9, 0.9};
                    record.LineLength2 = 15 + g;
                    ProjectRoot->AddFasaGroup2(number, scan, record);
                } else {
                    TFasaGrup3d record;
                    record.GroupName3 = name;
                    record.Power3 = power;
                    record.PhasePowers = {power / 3, power / 3, power / 3};
                    record.PhaseCosPhi = {0.9, 0.9, 0.9};
                    record.LineLength3 = 15 + g;
                    ProjectRoot->AddFasaGroup3(number, scan, record);
                }
            }
            ProjectRoot->FindPanel(number);
            TSitid* panel = ProjectRoot->CurrentPanel();
            panel->SchemeGroupCount = kGroups;
            panel->SinglePhaseCount = panel->TwoPhaseCount = panel->ThreePhaseCount = kGroups / 3;
            RunDistributionPasses(*ProjectRoot);
        }
    }
    RunLoadPasses(*ProjectRoot);

    // Breakers and sections, once.
    for (TGrsed* sw : chains::Elements(ProjectRoot->Switchboards, chains::SwitchboardLink{},
                                       projectSwitchboards)) {
        ProjectRoot->Switchboards.Cursor = sw;
        for (TSitid* p : chains::Elements(sw->Panels, chains::PanelLink{}, kPanels)) {
            sw->Panels.Cursor = p;
            for (TCxemaGrupd* g :
                 chains::Elements(p->SchemeGroups, chains::SchemeLink{}, kGroups)) {
                g->BreakerRating = Dan1->StandardRatingAbove(g->DesignCurrent + 1);
                Dan1->SelectGroupCrossSection(g);
            }
            Dan1->SelectPanelRating();
            Dan1->SelectPanelSectionForBreaker();
        }
        Dan1->SelectSwitchboardBreakerRating();
        Dan1->SelectSwitchboardSectionForBreaker();
    }
    Dan1->SelectTransformerBreakerRating();
}

template <typename Visit>
void ForEveryGroup(Visit visit) {
    for (TGrsed* sw : chains::Elements(ProjectRoot->Switchboards, chains::SwitchboardLink{},
                                       projectSwitchboards)) {
        ProjectRoot->Switchboards.Cursor = sw;
        for (TSitid* p : chains::Elements(sw->Panels, chains::PanelLink{}, kPanels)) {
            sw->Panels.Cursor = p;
            for (TCxemaGrupd* g : chains::Elements(p->SchemeGroups, chains::SchemeLink{}, kGroups))
                visit(*sw, *p, *g);
        }
    }
}

// Every cable of the project chosen from its table, with its losses: the voltage refresh of
// every switchboard, panel and group line.
void CablePass() {
    // As the refresh and the opening of a project run it.
    platform::FileCheckBatch batch;
    for (TGrsed* sw : chains::Elements(ProjectRoot->Switchboards, chains::SwitchboardLink{},
                                       projectSwitchboards)) {
        ProjectRoot->Switchboards.Cursor = sw;
        Dan1->CheckSwitchboardCables();
        for (TSitid* p : chains::Elements(sw->Panels, chains::PanelLink{}, kPanels)) {
            sw->Panels.Cursor = p;
            Dan1->CheckPanelCables();
            Dan1->SumPanelVoltageLosses();
        }
    }
    ForEveryGroup([](TGrsed&, TSitid&, TCxemaGrupd& g) { Dan1->CheckGroupCables(g.GroupName); });
}

void BM_CablePass(benchmark::State& state) {
    StartWithTables();
    BuildProject();
    for (auto _ : state) CablePass();
    DeleteProjectTree(ProjectRoot);
}
BENCHMARK(BM_CablePass)->Unit(benchmark::kMillisecond);

// The total loss and the deviation at every group line.
void BM_LossPass(benchmark::State& state) {
    StartWithTables();
    BuildProject();
    for (auto _ : state) {
        ForEveryGroup([](TGrsed&, TSitid&, TCxemaGrupd& g) {
            g.VoltageDeviation =
                Dan1->VoltageDeviation(Dan1->GroupVoltageLoss(g.GroupName, g.CrossSection), 220);
        });
    }
    DeleteProjectTree(ProjectRoot);
}
BENCHMARK(BM_LossPass)->Unit(benchmark::kMillisecond);

// The single-phase fault current at the far end of every group line.
void BM_FaultCurrentPass(benchmark::State& state) {
    StartWithTables();
    BuildProject();
    for (auto _ : state) {
        ForEveryGroup([](TGrsed& sw, TSitid& p, TCxemaGrupd& g) {
            p.SchemeGroups.Cursor = &g;
            const bool cascade = p.FedFromPanel || p.FedFromSwitchboard;
            g.SinglePhaseFaultCurrent = ProjectRoot->SinglePhaseFaultCurrent(
                {.groupLength = g.LineLength,
                 .panelLength = p.FeederLength,
                 .switchboardLength = sw.SwitchboardFeederLength,
                 .groupSection = g.CrossSection,
                 .panelSection = cascade ? p.FeederSection2 : p.FeederSection,
                 .switchboardSection = sw.SwitchboardSection,
                 .transformerPower = 1000,
                 .shortCircuitVoltage = 5.5,
                 .shortCircuitLosses = 12200,
                 .groupMaterial = g.ConductorMaterial,
                 .panelMaterial = p.FeederConductorMaterial,
                 .switchboardMaterial = sw.SwitchboardConductorMaterial,
                 .panel = &p});
        });
    }
    DeleteProjectTree(ProjectRoot);
}
BENCHMARK(BM_FaultCurrentPass)->Unit(benchmark::kMillisecond);

// The project built and selected once, saved in the program folder.
const std::string& SavedProject() {
    static const std::string path = [] {
        StartWithTables();
        BuildProject();
        const std::string file = platform::ProgramFolder() + "Проект.VPQ";
        if (!projectfile::SaveProjectFile(file, *ProjectRoot, {}).empty()) std::abort();
        DeleteProjectTree(ProjectRoot);
        return file;
    }();
    return path;
}

// Opening the project as File > Open does: the file read and checked, the cable tables attached,
// the loads recalculated, the cables and voltage losses of every line refreshed (deleting the
// project afterwards is not timed).
void BM_LoadProject(benchmark::State& state) {
    const std::string& path = SavedProject();
    double added = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const double before = ResidentMegabytes();
        RestartPeak();
        state.ResumeTiming();
        if (!Form1->LoadProject(path)) state.SkipWithError("not loaded");
        state.PauseTiming();
        added = std::max(added, PeakMegabytes() - before);
        Form1->DropProject();
        state.ResumeTiming();
    }
    // The most memory the opening adds to what the process held before it, the project included.
    state.counters["peakAddedMB"] = added;
}
BENCHMARK(BM_LoadProject)->Unit(benchmark::kMillisecond);

// Only reading the same file's bytes into memory, for comparison with the load.
void BM_ReadProjectBytes(benchmark::State& state) {
    const std::string& path = SavedProject();
    for (auto _ : state) ReadFileBytes(path);
}
BENCHMARK(BM_ReadProjectBytes)->Unit(benchmark::kMillisecond);

// The reference tables of the apply command: a breaker base with a series of each pole count for
// every rating, none held against a short circuit, so that every breaker keeps the type the
// project gives it, and a transformer base that carries the project's load.
constexpr char kSeries[] = "ВА";

void WriteApplyTables() {
    platform::TClientDataSet breakers;
    refdb::DefineBreakerTable(breakers);
    breakers.CreateDataSet();
    for (int poles = 1; poles <= 4; ++poles) {
        breakers.Append();
        breakers.FieldByName("Серии").SetAsString(kSeries + platform::IntToStr(poles));
        breakers.FieldByName("Мин. ном. ток. А").SetAsFloat(0.32);
        breakers.FieldByName("Мак. ном. ток А").SetAsFloat(4000);
        breakers.FieldByName("Число полюсов").SetAsInteger(poles);
        breakers.FieldByName("Кратность тока при КЗ").SetAsFloat(0);
        breakers.Post();
    }
    breakers.SaveToFile(platform::ProgramFolder() + refdb::kBreakerFile);
    selection::LoadBreakerRows();

    // The project's load is above the 1000 kVA of its transformer: the apply command takes the
    // next one of the base.
    platform::TClientDataSet transformers;
    refdb::DefineTransformerTable(transformers);
    transformers.CreateDataSet();
    const struct {
        const char* name;
        double power, uk, losses;
    } rows[] = {{"ТМ-1000/10", 1000, 5.5, 12200}, {"ТМ-1600/10", 1600, 6, 18000}};
    for (const auto& row : rows) {
        transformers.Append();
        transformers.FieldByName("Трансформатор").SetAsString(row.name);
        transformers.FieldByName("Мощность кВА").SetAsFloat(row.power);
        transformers.FieldByName("Потери к.з. Вт").SetAsFloat(row.losses);
        transformers.FieldByName("Напряжение к.з. %").SetAsFloat(row.uk);
        transformers.Post();
    }
    transformers.SaveToFile(platform::ProgramFolder() + refdb::kTransformerFile);
    selection::ReloadTransformerBase();
}

// Every breaker of the project with a type of the base: no breaker dialog is shown.
void GiveBreakerTypes() {
    TGrsed& root = *ProjectRoot;
    root.SectionBreakerType = kSeries + platform::IntToStr(3);
    for (TGrsed* sw : chains::SwitchboardsOf(root)) {
        sw->SwitchboardBreakerType = root.SectionBreakerType;
        for (TSitid* p : chains::PanelsOf(*sw)) {
            p->PanelBreakerType = p->TrunkBreakerType = root.SectionBreakerType;
            for (TCxemaGrupd* g : chains::Elements(p->SchemeGroups, chains::SchemeLink{}, kGroups))
                g->BreakerType = kSeries + platform::IntToStr(g->PhaseKind == 2   ? 1
                                                              : g->PhaseKind == 3 ? 2
                                                                                  : 3);
        }
    }
}

// The group line window filled as a user fills it for a line of four conductors on a panel in
// the middle of the project (switchboard 5, panel 15).
void FillGroupWindow(const std::string& name) {
    TDan1& d = *Dan1;
    d.ComboBox2->clear();
    d.ComboBox2->addItem(QString::fromStdString(platform::IntToStr(PanelNumber(5, 15))));
    d.ComboBox2->setCurrentIndex(0);
    d.ComboBox1->setCurrentIndex(2);
    d.ComboBox1Change();
    d.ComboBox3->setCurrentIndex(0);
    d.ComboBox4->clear();
    d.ComboBox4->addItem(kTable);
    d.ComboBox4->setCurrentIndex(0);
    d.Edit4->setText("20");
    d.Edit2->setText("1");
    d.Edit1->setText("0,9");
    d.Edit6->setText(QString::fromStdString(name));
    d.Edit5->setText("25");
    d.Edit7->setText(QString::fromStdString(name));
}

// The user of the apply command: the new line's breaker type (the only one not set yet) is
// confirmed at once with the first series offered; every message is answered with OK.
// It stands in for the benchmark's silent user while it lives.
class FirstSeries : public platform::Responder {
public:
    FirstSeries() : before_(platform::CurrentResponder()) { platform::SetResponder(this); }
    ~FirstSeries() override { platform::SetResponder(before_); }
    FirstSeries(const FirstSeries&) = delete;
    FirstSeries& operator=(const FirstSeries&) = delete;

    int OnMessage(const platform::MessageRecord&) override { return platform::mrOk; }
    void OnTerminate() override {}
    int OnModal(QDialog& dialog) override {
        if (&dialog != InsertAvtomat) return platform::mrOk;
        InsertAvtomat->ComboBox1->setCurrentIndex(0);
        InsertAvtomat->Button2Click();
        return dialog.result();
    }

private:
    platform::Responder* before_;
};

// The application with the tables of the edits in its program folder: the cable table and the
// apply command's breaker and transformer bases.
void StartForEdits() {
    StartWithTables();
    WriteApplyTables();
}

// The generated project of that many switchboards with every breaker typed, and the lists of the
// group line window and the power system dialog filled from it; refreshed once, as a project is
// after any change made to it (the generator's sections are those of the currents alone, and a
// first refresh raises some of them for their deviations).
void BuildTypedProject(int switchboards = 10) {
    BuildProject(switchboards);
    GiveBreakerTypes();
    Dan1->ListNamesFromTree();
    PowerSystem->ListTransformers();
    Dan1->RefreshProject();
}

// The edit window in the mode its caption names, with switchboard 5 and panel 15 of it chosen.
void ChooseInEditWindow(const char* caption) {
    Form3->setWindowTitle(caption);
    Form3->ComboBox4->clear();
    Form3->ComboBox4->addItem("5");
    Form3->ComboBox4->setCurrentIndex(0);
    Form3->ComboBox3->clear();
    Form3->ComboBox3->addItem(QString::fromStdString(platform::IntToStr(PanelNumber(5, 15))));
    Form3->ComboBox3->setCurrentIndex(0);
}

// "Применить" for one more line on the generated project, whose breakers all have their types.
// Between two runs the line is taken off again (not timed), so that every run adds to the same
// project.
void BM_ApplyGroupLine(benchmark::State& state) {
    StartForEdits();
    BuildTypedProject();
    PowerSystem->ShortCircuitPowerMva = 180;
    FirstSeries user;
    TSitid* panel = nullptr;
    for (auto _ : state) {
        state.PauseTiming();
        FillGroupWindow("Б1");
        state.ResumeTiming();
        Dan1->sledychiClick();
        state.PauseTiming();
        ProjectRoot->FindPanel(PanelNumber(5, 15));
        panel = ProjectRoot->CurrentPanel();
        if (!panel || panel->SchemeGroupCount != kGroups + 1 || !panel->SchemeGroups.Last ||
            panel->SchemeGroups.Last->GroupName != "Б1") {
            state.SkipWithError("the line was not added");
            break;
        }
        Dan1->TrackGroupChange(panel->SchemeGroups.Last);
        Dan1->RemoveLastGroup();
        Dan1->RecalculateNetwork();
        Dan1->ListNamesFromTree();
        state.ResumeTiming();
    }
    DeleteProjectTree(ProjectRoot);
}
BENCHMARK(BM_ApplyGroupLine)->Unit(benchmark::kMillisecond);

// "Изменить" of the panel editor with another feeder length for panel 15 of switchboard 5 (30
// group lines): the panel is rebuilt and every group line added again with the whole-project
// recalculation and the checks, then the project is refreshed. The editor's opening (the undo
// copies taken) is not timed; the lengths alternate so that every run rebuilds.
void BM_PanelFeederLengthEdit(benchmark::State& state) {
    StartForEdits();
    BuildTypedProject(int(state.range(0)));
    FirstSeries user;
    int run = 0;
    for (auto _ : state) {
        state.PauseTiming();
        ChooseInEditWindow("Щиты (редактирование)");
        Form3->OpenPanelEditor(nullptr);
        Shiti->Edit4->setText(++run % 2 ? "40" : "35");
        // A cable name of its own: the generated panels have none.
        Shiti->Edit8->setText(QString::fromStdString("КЩ" + platform::IntToStr(run)));
        state.ResumeTiming();
        Shiti->Button6Click();
        state.PauseTiming();
        ProjectRoot->FindPanel(PanelNumber(5, 15));
        const TSitid* panel = ProjectRoot->CurrentPanel();
        if (!panel || panel->SchemeGroupCount != kGroups ||
            panel->FeederLength != (run % 2 ? 40.0 : 35.0)) {
            state.SkipWithError("the panel was not rebuilt");
            break;
        }
        state.ResumeTiming();
    }
    DeleteProjectTree(ProjectRoot);
}
BENCHMARK(BM_PanelFeederLengthEdit)->Arg(10)->Arg(40)->Unit(benchmark::kMillisecond);

// "Удалить" in the edit window for panel 15 of switchboard 5, and for switchboard 5 with its 30
// panels: the tree changed, the breakers chosen again and the project refreshed. Each run deletes
// from a project built anew (not timed).
void DeleteThroughEditWindow(benchmark::State& state, bool switchboard) {
    StartForEdits();
    FirstSeries user;
    for (auto _ : state) {
        state.PauseTiming();
        if (ProjectRoot) DeleteProjectTree(ProjectRoot);
        BuildTypedProject();
        ChooseInEditWindow(switchboard ? "Грщ (редактирование)" : "Щиты (редактирование)");
        state.ResumeTiming();
        Form3->Button3Click();
        state.PauseTiming();
        const bool gone = switchboard ? ProjectRoot->SwitchboardCount == projectSwitchboards - 1
                                      : !ProjectRoot->FindPanel(PanelNumber(5, 15));
        if (!gone) {
            state.SkipWithError("nothing was deleted");
            break;
        }
        state.ResumeTiming();
    }
    if (ProjectRoot) DeleteProjectTree(ProjectRoot);
}

void BM_DeletePanelThroughEditWindow(benchmark::State& state) {
    DeleteThroughEditWindow(state, false);
}
BENCHMARK(BM_DeletePanelThroughEditWindow)->Unit(benchmark::kMillisecond);

void BM_DeleteSwitchboardThroughEditWindow(benchmark::State& state) {
    DeleteThroughEditWindow(state, true);
}
BENCHMARK(BM_DeleteSwitchboardThroughEditWindow)->Unit(benchmark::kMillisecond);

// "Применить" for a line of 20,000 kW on panel 15 of switchboard 5: the checks refuse it and the
// project is put back as it was.
void BM_RefusedGroupLine(benchmark::State& state) {
    StartForEdits();
    BuildTypedProject(int(state.range(0)));
    PowerSystem->ShortCircuitPowerMva = 180;
    FirstSeries user;
    for (auto _ : state) {
        state.PauseTiming();
        FillGroupWindow("Б1");
        Dan1->Edit2->setText("20000");
        state.ResumeTiming();
        Dan1->sledychiClick();
        state.PauseTiming();
        ProjectRoot->FindPanel(PanelNumber(5, 15));
        const TSitid* panel = ProjectRoot->CurrentPanel();
        int panels = 0;
        for (const TGrsed* sw : chains::SwitchboardsOf(*ProjectRoot)) panels += sw->PanelCount;
        if (!panel || panel->SchemeGroupCount != kGroups ||
            panels != projectSwitchboards * kPanels) {
            state.SkipWithError("the line was not refused");
            break;
        }
        state.ResumeTiming();
    }
    DeleteProjectTree(ProjectRoot);
}
BENCHMARK(BM_RefusedGroupLine)->Arg(10)->Arg(40)->Unit(benchmark::kMillisecond);

}  // namespace
