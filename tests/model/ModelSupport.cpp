#include "ModelSupport.h"

#include <sstream>

#include "TreeLookup.h"
#include "model/Chains.h"

namespace {

template <typename T, typename Link>
std::string ProblemsOf(const std::string& what, const ChainBlock<T>& owner, Link link, int count) {
    std::string problems;
    T* tail = nullptr;
    int length = 0;
    for (T* e = owner.First; e; e = link(*e).Next) {
        tail = e;
        ++length;
    }
    if (length != count)
        problems +=
            what + ": count " + std::to_string(count) + ", length " + std::to_string(length) + "; ";
    if (owner.Last != tail) problems += what + ": last is not the tail; ";
    return problems;
}

}  // namespace

void ModelTest::SetUp() {
    ProjectRoot = new TGrsed;
    editing.SetWindowLists(&lists);
}

void ModelTest::TearDown() {
    DeleteProjectTree(ProjectRoot);
    EXPECT_EQ(ProjectRoot, nullptr);
}

void ModelTest::NewProject() {
    DeleteProjectTree(ProjectRoot);
    ProjectRoot = new TGrsed;
    lists = RecordedLists{};
}

TGrsed* ModelTest::AddSwitchboard(int number, const std::string& cableName) {
    TGrsed record;
    record.SwitchboardNumber = number;
    record.SwitchboardCableName = cableName;
    ProjectRoot->AddSwitchboard(record);
    ++ProjectRoot->SwitchboardCount;
    return ProjectRoot->Switchboards.Last;
}

TSitid* ModelTest::AddPanel(int switchboardNumber, const std::string& token) {
    TGrsed* sw = Switchboard(switchboardNumber);
    if (!sw) return nullptr;
    TSitid record;
    const std::size_t colon = token.find(':');
    record.PanelNumber = std::stoi(token.substr(0, colon));
    record.Position = sw->PanelCount + 1;
    record.FeederCableName = "feeder" + std::to_string(record.PanelNumber);
    if (colon != std::string::npos) {
        const std::string role = token.substr(colon + 1);
        if (role == "head") {
            record.FedFromSwitchboard = 1;
            record.CascadeHeadNumber = record.PanelNumber;
        } else {
            const std::size_t caret = role.find('^');
            record.FedFromPanel = 1;
            record.FeedingPanelNumber = std::stoi(role.substr(0, caret));
            record.CascadeHeadNumber = std::stoi(role.substr(caret + 1));
        }
    }
    ProjectRoot->AddPanel(switchboardNumber, record);
    ++sw->PanelCount;
    return sw->Panels.Last;
}

void ModelTest::AddPanels(int switchboardNumber, const std::string& panels) {
    std::istringstream in(panels);
    std::string token;
    while (in >> token) AddPanel(switchboardNumber, token);
}

void ModelTest::AddGroupLine(int panelNumber, const std::string& name, int phaseKind,
                             const std::string& cableName) {
    TGrsed* root = ProjectRoot;
    TCxemaGrupd scheme;
    scheme.GroupName = name;
    scheme.CableName = cableName;
    scheme.PhaseKind = phaseKind;
    scheme.Power = 1.5L;
    root->ResetCursors();
    ASSERT_TRUE(root->FindPanel(panelNumber));
    root->AddCxemaGroup(panelNumber, root->CountPanels(), scheme);
    ASSERT_TRUE(root->FindPanel(panelNumber));
    ++root->CurrentPanel()->SchemeGroupCount;

    root->ResetCursors();
    ASSERT_TRUE(root->FindPanel(panelNumber));
    const int scan = root->CountPanels();
    if (phaseKind == 2) {
        TFasaGrup1d record;
        record.GroupName1 = name;
        record.Power1 = 1.5L;
        root->AddFasaGroup1(panelNumber, scan, record);
    } else if (phaseKind == 3) {
        TFasaGrup2d record;
        record.GroupName2 = name;
        record.PartPowers = {1.0L, 0.5L};
        root->AddFasaGroup2(panelNumber, scan, record);
    } else {
        TFasaGrup3d record;
        record.GroupName3 = name;
        record.PhasePowers = {0.5L, 0.5L, 0.5L};
        root->AddFasaGroup3(panelNumber, scan, record);
    }
    ASSERT_TRUE(root->FindPanel(panelNumber));
    TSitid* panel = root->CurrentPanel();
    if (phaseKind == 2) ++panel->SinglePhaseCount;
    if (phaseKind == 3) ++panel->TwoPhaseCount;
    if (phaseKind == 4) ++panel->ThreePhaseCount;
}

TGrsed* ModelTest::Switchboard(int number) const {
    return SwitchboardNumbered(number);
}

TSitid* ModelTest::Panel(int number) const {
    return PanelNumbered(number);
}

void ModelTest::MakeCurrent(TGrsed* sw, TSitid* panel) {
    ProjectRoot->Switchboards.Cursor = sw;
    if (sw && panel) sw->Panels.Cursor = panel;
}

std::string ModelTest::DescribePanels(int switchboardNumber) const {
    const TGrsed* sw = Switchboard(switchboardNumber);
    if (!sw) return "(no switchboard)";
    std::string out;
    for (const TSitid* p = sw->Panels.First; p; p = p->Panels.Next) {
        if (!out.empty()) out += ' ';
        const std::string n = std::to_string(p->PanelNumber);
        out += n;
        const bool plain = !p->FedFromSwitchboard && !p->FedFromPanel &&
                           p->FeedingPanelNumber == 0 && p->CascadeHeadNumber == 0;
        if (plain) {
        } else if (p->FedFromSwitchboard && !p->FedFromPanel && p->FeedingPanelNumber == 0 &&
                   p->CascadeHeadNumber == p->PanelNumber) {
            out += ":head";
        } else if (p->FedFromPanel && !p->FedFromSwitchboard) {
            out += ":" + std::to_string(p->FeedingPanelNumber) + "^" +
                   std::to_string(p->CascadeHeadNumber);
        } else {
            out += ":?" + std::to_string(p->FedFromSwitchboard) + "," +
                   std::to_string(p->FedFromPanel) + "," + std::to_string(p->FeedingPanelNumber) +
                   "," + std::to_string(p->CascadeHeadNumber);
        }
        out += "@" + std::to_string(p->Position);
    }
    return out;
}

std::string ModelTest::DescribeSwitchboards() const {
    std::string out;
    for (const TGrsed* sw = ProjectRoot->Switchboards.First; sw; sw = sw->Switchboards.Next) {
        if (!out.empty()) out += ' ';
        out += std::to_string(sw->SwitchboardNumber);
    }
    return out;
}

std::vector<std::string> ModelTest::GroupNamesOf(const TSitid& panel, int kind) const {
    std::vector<std::string> names;
    switch (kind) {
        case 1:
            for (auto* r = panel.SchemeGroups.First; r; r = r->SchemeGroups.Next)
                names.push_back(r->GroupName);
            break;
        case 2:
            for (auto* r = panel.SinglePhaseGroups.First; r; r = r->SinglePhaseGroups.Next)
                names.push_back(r->GroupName1);
            break;
        case 3:
            for (auto* r = panel.TwoPhaseGroups.First; r; r = r->TwoPhaseGroups.Next)
                names.push_back(r->GroupName2);
            break;
        default:
            for (auto* r = panel.ThreePhaseGroups.First; r; r = r->ThreePhaseGroups.Next)
                names.push_back(r->GroupName3);
            break;
    }
    return names;
}

std::string ModelTest::ChainProblems() const {
    std::string problems = ProblemsOf("switchboards", ProjectRoot->Switchboards,
                                      chains::SwitchboardLink{}, ProjectRoot->SwitchboardCount);
    for (TGrsed* sw = ProjectRoot->Switchboards.First; sw; sw = sw->Switchboards.Next) {
        const std::string s = "switchboard " + std::to_string(sw->SwitchboardNumber);
        problems += ProblemsOf(s, sw->Panels, chains::PanelLink{}, sw->PanelCount);
        for (TSitid* p = sw->Panels.First; p; p = p->Panels.Next) {
            const std::string n = "panel " + std::to_string(p->PanelNumber);
            problems += ProblemsOf(n + " scheme", p->SchemeGroups, chains::SchemeLink{},
                                   p->SchemeGroupCount);
            problems += ProblemsOf(n + " single", p->SinglePhaseGroups, chains::SinglePhaseLink{},
                                   p->SinglePhaseCount);
            problems +=
                ProblemsOf(n + " two", p->TwoPhaseGroups, chains::TwoPhaseLink{}, p->TwoPhaseCount);
            problems += ProblemsOf(n + " three", p->ThreePhaseGroups, chains::ThreePhaseLink{},
                                   p->ThreePhaseCount);
        }
    }
    return problems;
}
