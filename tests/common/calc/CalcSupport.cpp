#include "CalcSupport.h"

#include <cmath>
#include <sstream>

#include "TreeLookup.h"
#include "calc/Recalculation.h"

namespace {

// Appends a group record of one kind the way group entry does and raises the panel's count.
template <typename Append>
void AppendLikeGroupEntry(int panelNumber, Append append, int TSitidFields::*count) {
    TGrsed* root = ProjectRoot;
    root->ResetCursors();
    ASSERT_TRUE(root->FindPanel(panelNumber)) << "no panel " << panelNumber;
    append(root->CountPanels());
    ASSERT_TRUE(root->FindPanel(panelNumber));
    ++(root->CurrentPanel()->*count);
}

void AddScheme(int panelNumber, const std::string& name, int phaseKind, long double power) {
    TCxemaGrupd scheme;
    scheme.GroupName = name;
    scheme.PhaseKind = phaseKind;
    scheme.Power = power;
    AppendLikeGroupEntry(
        panelNumber, [&](int scan) { ProjectRoot->AddCxemaGroup(panelNumber, scan, scheme); },
        &TSitidFields::SchemeGroupCount);
}

}  // namespace

TGrsed* ProjectBuilder::AddSwitchboard(int number) {
    TGrsed record;
    record.SwitchboardNumber = number;
    ProjectRoot->AddSwitchboard(record);
    ++ProjectRoot->SwitchboardCount;
    return ProjectRoot->Switchboards.Last;
}

TSitid* ProjectBuilder::AddPanel(int switchboardNumber, const std::string& token,
                                 double demandFactor) {
    TGrsed* sw = Switchboard(switchboardNumber);
    if (!sw) return nullptr;
    std::string rest = token;
    TSitid record;
    auto takeFlag = [&](const std::string& flag) {
        const std::size_t at = rest.find(flag);
        if (at == std::string::npos) return false;
        rest.erase(at, flag.size());
        return true;
    };
    record.OnTrunk = takeFlag("+trunk") ? 1 : 0;
    record.PanelFlagC = takeFlag("+flagc") ? 1 : 0;
    const std::size_t colon = rest.find(':');
    record.PanelNumber = std::stoi(rest.substr(0, colon));
    record.Position = sw->PanelCount + 1;
    record.DemandFactor = demandFactor;
    if (colon != std::string::npos) {
        const std::string role = rest.substr(colon + 1);
        if (role == "head") {
            record.FedFromSwitchboard = 1;
            record.CascadeHeadNumber = record.PanelNumber;
        } else {
            const std::size_t caret = role.find('^');
            record.FedFromPanel = 1;
            record.FeedingPanelNumber = std::stoi(role.substr(0, caret));
            record.CascadeHeadNumber = std::stoi(role.substr(caret + 1));
            record.HangsOnPanel = record.FeedingPanelNumber;
        }
    }
    ProjectRoot->AddPanel(switchboardNumber, record);
    ++sw->PanelCount;
    return sw->Panels.Last;
}

void ProjectBuilder::AddPanels(int switchboardNumber, const std::string& tokens) {
    std::istringstream in(tokens);
    std::string token;
    while (in >> token) AddPanel(switchboardNumber, token);
}

void ProjectBuilder::AddSingle(int panelNumber, const std::string& name, long double power,
                               double cosPhi) {
    AddScheme(panelNumber, name, 2, power);
    TFasaGrup1d record;
    record.GroupName1 = name;
    record.Power1 = power;
    record.CosPhi1 = cosPhi;
    AppendLikeGroupEntry(
        panelNumber, [&](int scan) { ProjectRoot->AddFasaGroup1(panelNumber, scan, record); },
        &TSitidFields::SinglePhaseCount);
}

void ProjectBuilder::AddTwo(int panelNumber, const std::string& name, long double part0,
                            long double part1, double cos0, double cos1) {
    AddScheme(panelNumber, name, 3, part0 + part1);
    TFasaGrup2d record;
    record.GroupName2 = name;
    record.Power2 = part0 + part1;
    record.PartPowers = {part0, part1};
    record.PartCosPhi = {cos0, cos1};
    AppendLikeGroupEntry(
        panelNumber, [&](int scan) { ProjectRoot->AddFasaGroup2(panelNumber, scan, record); },
        &TSitidFields::TwoPhaseCount);
}

void ProjectBuilder::AddThree(int panelNumber, const std::string& name,
                              std::array<long double, 3> parts, std::array<double, 3> cosPhi) {
    AddScheme(panelNumber, name, 4, parts[0] + parts[1] + parts[2]);
    TFasaGrup3d record;
    record.GroupName3 = name;
    record.Power3 = parts[0] + parts[1] + parts[2];
    record.PhasePowers = {parts[0], parts[1], parts[2]};
    record.PhaseCosPhi = {cosPhi[0], cosPhi[1], cosPhi[2]};
    AppendLikeGroupEntry(
        panelNumber, [&](int scan) { ProjectRoot->AddFasaGroup3(panelNumber, scan, record); },
        &TSitidFields::ThreePhaseCount);
}

TGrsed* ProjectBuilder::Switchboard(int number) const {
    return SwitchboardNumbered(number);
}

TSitid* ProjectBuilder::Panel(int number) const {
    return PanelNumbered(number);
}

void ProjectBuilder::MakeCurrent(int panelNumber) const {
    ASSERT_TRUE(ProjectRoot->FindPanel(panelNumber)) << "no panel " << panelNumber;
}

void ProjectBuilder::DistributeAll() const {
    for (TGrsed* sw = ProjectRoot->Switchboards.First; sw; sw = sw->Switchboards.Next) {
        for (TSitid* p = sw->Panels.First; p; p = p->Panels.Next) {
            ProjectRoot->Switchboards.Cursor = sw;
            sw->Panels.Cursor = p;
            RunDistributionPasses(*ProjectRoot);
        }
    }
}

void CalcTest::SetUp() {
    ProjectRoot = new TGrsed;
}

void CalcTest::TearDown() {
    DeleteProjectTree(ProjectRoot);
}

void CalcTest::NewProject() {
    DeleteProjectTree(ProjectRoot);
    ProjectRoot = new TGrsed;
}

std::vector<std::string> SingleChain(const TSitid& panel, int phase) {
    std::vector<std::string> names;
    for (const TFasaGrup1d* r : SingleRecords(panel, phase))
        names.push_back(r->GroupName1.empty() ? "-" : r->GroupName1);
    return names;
}

std::vector<const TFasaGrup1d*> SingleRecords(const TSitid& panel, int phase) {
    std::vector<const TFasaGrup1d*> records;
    for (const TFasaGrup1d* r = panel.SinglePhaseByPhase[phase].First; r;
         r = r->SinglePhaseByPhase[phase].Next)
        records.push_back(r);
    return records;
}

std::vector<const TFasaGrup2d*> TwoRecords(const TSitid& panel, int phase) {
    std::vector<const TFasaGrup2d*> records;
    for (const TFasaGrup2d* r = panel.TwoPhaseByPhase[phase].First; r;
         r = r->TwoPhaseByPhase[phase].Next)
        records.push_back(r);
    return records;
}

std::vector<const TFasaGrup3d*> ThreeRecords(const TSitid& panel, int phase) {
    std::vector<const TFasaGrup3d*> records;
    for (const TFasaGrup3d* r = panel.ThreePhaseByPhase[phase].First; r;
         r = r->ThreePhaseByPhase[phase].Next)
        records.push_back(r);
    return records;
}

double Hundredths(double decimal) {
    const long double hundredths = std::llround(decimal * 100);
    return static_cast<double>(hundredths * static_cast<long double>(0.01));
}

std::string Join(const std::vector<std::string>& items) {
    std::string out;
    for (const std::string& item : items) {
        if (!out.empty()) out += ' ';
        out += item;
    }
    return out;
}
