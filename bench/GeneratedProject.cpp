#include "GeneratedProject.h"

#include <string>

#include "calc/Recalculation.h"
#include "model/Classd.h"

int GeneratedPanelNumber(int sw, int panel) {
    return sw * 1000 + panel;
}

namespace {

// Panels 1-3, 7-9, ... head cascades of three (head, then two members, each fed from the one
// before); the others are plain, every tenth on a trunk line.
void ConnectPanel(TSitid& panel, int sw, int p) {
    const int inBlock = (p - 1) % 6;
    if (inBlock == 0) {
        panel.FedFromSwitchboard = 1;
        panel.CascadeHeadNumber = panel.PanelNumber;
    } else if (inBlock < 3) {
        panel.FedFromPanel = 1;
        panel.FeedingPanelNumber = GeneratedPanelNumber(sw, p - 1);
        panel.CascadeHeadNumber = GeneratedPanelNumber(sw, p - inBlock);
        panel.HangsOnPanel = panel.FeedingPanelNumber;
    } else if (p % 10 == 0) {
        panel.OnTrunk = 1;
    }
    panel.DemandFactor = p % 4 == 0 ? 0.8 : 1.0;
}

}  // namespace

void BuildGeneratedProject(int switchboards, int panels, int groups) {
    ProjectRoot = new TGrsed;
    for (int s = 1; s <= switchboards; ++s) {
        TGrsed sw;
        sw.SwitchboardNumber = s;
        ProjectRoot->AddSwitchboard(sw);
        ++ProjectRoot->SwitchboardCount;
    }
    for (TGrsed* sw = ProjectRoot->Switchboards.First; sw; sw = sw->Switchboards.Next) {
        for (int p = 1; p <= panels; ++p) {
            TSitid panel;
            panel.PanelNumber = GeneratedPanelNumber(sw->SwitchboardNumber, p);
            panel.Position = p;
            ConnectPanel(panel, sw->SwitchboardNumber, p);
            ProjectRoot->AddPanel(sw->SwitchboardNumber, panel);
            ++sw->PanelCount;
        }
    }
    for (int s = 1; s <= switchboards; ++s) {
        for (int p = 1; p <= panels; ++p) {
            const int number = GeneratedPanelNumber(s, p);
            ProjectRoot->FindPanel(number);
            const int scan = ProjectRoot->CountPanels();
            for (int g = 0; g < groups; ++g) {
                const std::string name = std::to_string(number) + "-" + std::to_string(g);
                const long double power = 0.5L + (g * 7 + p) % 23 * 0.25L;
                const double cosPhi = 0.75 + (g % 5) * 0.05;
                TCxemaGrupd scheme;
                scheme.GroupName = name;
                scheme.PhaseKind = 2 + g % 3;
                scheme.Power = power;
                ProjectRoot->AddCxemaGroup(number, scan, scheme);
                if (g % 3 == 0) {
                    TFasaGrup1d record;
                    record.GroupName1 = name;
                    record.Power1 = power;
                    record.CosPhi1 = cosPhi;
                    ProjectRoot->AddFasaGroup1(number, scan, record);
                } else if (g % 3 == 1) {
                    TFasaGrup2d record;
                    record.GroupName2 = name;
                    record.PartPowers = {power * 0.6L, power * 0.4L};
                    record.PartCosPhi = {cosPhi, cosPhi - 0.05};
                    ProjectRoot->AddFasaGroup2(number, scan, record);
                } else {
                    TFasaGrup3d record;
                    record.GroupName3 = name;
                    record.PhasePowers = {power / 3, power / 3, power / 3};
                    record.PhaseCosPhi = {cosPhi, cosPhi, cosPhi};
                    ProjectRoot->AddFasaGroup3(number, scan, record);
                }
            }
            ProjectRoot->FindPanel(number);
            TSitid* panel = ProjectRoot->CurrentPanel();
            panel->SchemeGroupCount = groups;
            // Kinds in turn: single-phase, two-phase, three-phase.
            panel->SinglePhaseCount = (groups + 2) / 3;
            panel->TwoPhaseCount = (groups + 1) / 3;
            panel->ThreePhaseCount = groups / 3;
        }
    }
    // Every panel distributed once and the loads rolled up, as after loading.
    DistributeEveryPanel();
    RunLoadPasses(*ProjectRoot);
}

void DistributeEveryPanel() {
    for (TGrsed* sw = ProjectRoot->Switchboards.First; sw; sw = sw->Switchboards.Next) {
        for (TSitid* p = sw->Panels.First; p; p = p->Panels.Next) {
            ProjectRoot->Switchboards.Cursor = sw;
            sw->Panels.Cursor = p;
            RunDistributionPasses(*ProjectRoot);
        }
    }
}
