#include "TreeBuilder.h"

#include <gtest/gtest.h>

#include <sstream>

#include "TreeLookup.h"
#include "editing/Shiti12.h"
#include "model/Classd.h"

void BuildSwitchboard(int number, const std::string& panels) {
    if (!ProjectRoot) ProjectRoot = new TGrsed;
    TGrsed record;
    record.SwitchboardNumber = number;
    // A feeder of a shipped table, as the connection window gives it: the refresh of "Закрыть"
    // selects its cable.
    record.SwitchboardTable = "ВВГв4.xml";
    record.SwitchboardLaying = "В воздухе";
    record.SwitchboardConductorMaterial = "Медь";
    record.SwitchboardFeederLength = 10;
    ProjectRoot->AddSwitchboard(record);
    ++ProjectRoot->SwitchboardCount;
    // The connection dialog lists it, as for a loaded project.
    if (Shiti) {
        Shiti->SwitchboardCounter = ProjectRoot->SwitchboardCount;
        Shiti->ComboBox2->addItem(QString::number(number));
    }
    TGrsed* sw = SwitchboardNumbered(number);
    std::istringstream tokens(panels);
    std::string token;
    while (tokens >> token) {
        TSitid panel;
        std::size_t at = 0;
        panel.PanelNumber = std::stoi(token, &at);
        while (at < token.size()) {
            const char mark = token[at++];
            std::size_t used = 0;
            if (mark == '+') panel.PanelFlagB = 1;
            if (mark == '=') panel.CascadeFlag = 1;
            if (mark == '^') {
                panel.FedFromSwitchboard = 1;
                panel.CascadeHeadNumber = panel.PanelNumber;
            }
            if (mark != '/' && mark != '~' && mark != '<' && mark != '@') continue;
            const int other = std::stoi(token.substr(at), &used);
            at += used;
            if (mark == '/' || mark == '~') {
                (mark == '/' ? panel.OnTrunk : panel.PanelFlagC) = 1;
                panel.HangsOnPanel = other;
            }
            if (mark == '<') {
                panel.FedFromPanel = 1;
                panel.FeedingPanelNumber = other;
            }
            if (mark == '@') panel.CascadeHeadNumber = other;
        }
        panel.CurrentTableName = "ВВГв4.xml";
        panel.FeederLayingMethod = "В воздухе";
        panel.FeederConductorMaterial = "Медь";
        panel.FeederLength = 10;
        panel.Position = ++sw->PanelCount;
        ProjectRoot->AddPanel(number, panel);
    }
}

void AddLoad(int panelNumber, const std::string& name, double power) {
    TGrsed& root = *ProjectRoot;
    TCxemaGrupd scheme;
    scheme.GroupName = name;
    scheme.PhaseKind = 4;
    scheme.Power = power;
    scheme.CosPhi = 0.9;
    scheme.LineLength = 30;
    scheme.CableTable = "ВВГв4.xml";
    scheme.LayingMethod = "В воздухе";
    scheme.ConductorMaterial = "Медь";
    scheme.AmbientTemperature = 25;
    TFasaGrup3d three;
    three.GroupName3 = name;
    three.PhaseKind3 = 4;
    three.Power3 = power;
    three.CosPhi3 = 0.9;
    three.LineLength3 = 30;
    three.PhasePowers = {power / 3, power / 3, power / 3};

    root.ResetCursors();
    ASSERT_TRUE(root.FindPanel(panelNumber));
    root.AddCxemaGroup(panelNumber, root.CountPanels(), scheme);
    ASSERT_TRUE(root.FindPanel(panelNumber));
    ++root.CurrentPanel()->SchemeGroupCount;
    root.AddFasaGroup3(panelNumber, root.CountPanels(), three);
    ASSERT_TRUE(root.FindPanel(panelNumber));
    ++root.CurrentPanel()->ThreePhaseCount;
    root.CalcFasaGroups3();
}

std::vector<int> PanelOrder(int switchboardNumber) {
    std::vector<int> order;
    const TGrsed* sw = SwitchboardNumbered(switchboardNumber);
    if (!sw) return order;
    for (const TSitid* p = sw->Panels.First; p; p = p->Panels.Next) order.push_back(p->PanelNumber);
    return order;
}
