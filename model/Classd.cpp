#include "model/Classd.h"

#include "model/Chains.h"

TGrsed* ProjectRoot = nullptr;

namespace {

// Appends a copy of the record's own level to every panel with this number among the first
// `panelsToScan` panels of the current switchboard (the group appends share this walk).
template <typename Record, typename Level, typename Link, typename Adjust>
void AppendGroup(TGrsed& root, int panelNumber, int panelsToScan, const Record& record, Link link,
                 Adjust adjust) {
    TGrsed* sw = root.Switchboards.Cursor;
    if (!sw) return;
    root.Switchboards.Walker = sw;
    sw->Panels.Cursor = sw->Panels.First;
    for (int i = 0; i < panelsToScan && sw->Panels.Cursor; ++i) {
        TSitid* panel = sw->Panels.Cursor;
        if (panel->PanelNumber == panelNumber) {
            sw->Panels.Walker = panel;
            auto* stored = new Record;
            static_cast<Level&>(*stored) = static_cast<const Level&>(record);
            adjust(*stored);
            chains::AppendWalking(link(*panel), stored, link);
        }
        sw->Panels.Cursor = panel->Panels.Next;
    }
}

}  // namespace

void DestroyGroupChains(TSitid& panel) {
    chains::DestroyAll(panel.SchemeGroups, chains::SchemeLink{});
    chains::DestroyAll(panel.SinglePhaseGroups, chains::SinglePhaseLink{});
    chains::DestroyAll(panel.TwoPhaseGroups, chains::TwoPhaseLink{});
    chains::DestroyAll(panel.ThreePhaseGroups, chains::ThreePhaseLink{});
}

void DestroyResultChains(TSitid& panel) {
    for (int phase = 0; phase < 3; ++phase) {
        chains::DestroyAll(panel.SinglePhaseByPhase[phase], chains::SinglePhaseByPhaseLink{phase});
        chains::DestroyAll(panel.TwoPhaseByPhase[phase], chains::TwoPhaseByPhaseLink{phase});
        chains::DestroyAll(panel.ThreePhaseByPhase[phase], chains::ThreePhaseByPhaseLink{phase});
    }
}

void TGrsed::AddSwitchboard(const TGrsed& record) {
    auto* sw = new TGrsed;
    static_cast<TGrsedFields&>(*sw) = static_cast<const TGrsedFields&>(record);
    sw->TotalCosPhiA = sw->TotalCosPhiB = sw->TotalCosPhiC = TGrsedFields{}.TotalCosPhiA;
    if (Switchboards.Last)
        Switchboards.Last->Switchboards.Next = sw;
    else
        Switchboards.First = sw;
    Switchboards.Walker = Switchboards.Last = sw;
    Switchboards.Cursor = Switchboards.First;
}

void TGrsed::AddPanel(int switchboardNumber, const TSitid& record) {
    Switchboards.Cursor = Switchboards.Walker = Switchboards.First;
    for (int i = 0; i < SwitchboardCount && Switchboards.Cursor; ++i) {
        TGrsed* sw = Switchboards.Cursor;
        if (sw->SwitchboardNumber == switchboardNumber) {
            auto* panel = new TSitid;
            static_cast<TSitidFields&>(*panel) = static_cast<const TSitidFields&>(record);
            panel->SparePanelValues = TSitidFields{}.SparePanelValues;
            chains::AppendWalking(sw->Panels, panel, chains::PanelLink{});
        }
        Switchboards.Cursor = Switchboards.Walker = sw->Switchboards.Next;
    }
}

void TGrsed::AddCxemaGroup(int panelNumber, int panelsToScan, const TCxemaGrupd& record) {
    AppendGroup<TCxemaGrupd, TCxemaGrupdFields>(
        *this, panelNumber, panelsToScan, record, chains::SchemeLink{},
        [](TCxemaGrupd& r) { r.SpareValue = TCxemaGrupdFields{}.SpareValue; });
}

void TGrsed::AddFasaGroup1(int panelNumber, int panelsToScan, const TFasaGrup1d& record) {
    AppendGroup<TFasaGrup1d, TFasaGrup1dFields>(*this, panelNumber, panelsToScan, record,
                                                chains::SinglePhaseLink{}, [](TFasaGrup1d&) {});
}

void TGrsed::AddFasaGroup2(int panelNumber, int panelsToScan, const TFasaGrup2d& record) {
    AppendGroup<TFasaGrup2d, TFasaGrup2dFields>(*this, panelNumber, panelsToScan, record,
                                                chains::TwoPhaseLink{}, [](TFasaGrup2d&) {});
}

void TGrsed::AddFasaGroup3(int panelNumber, int panelsToScan, const TFasaGrup3d& record) {
    AppendGroup<TFasaGrup3d, TFasaGrup3dFields>(*this, panelNumber, panelsToScan, record,
                                                chains::ThreePhaseLink{}, [](TFasaGrup3d&) {});
}

void TGrsed::ResetCursors() {
    Switchboards.Cursor = Switchboards.First;
    TGrsed* sw = Switchboards.Cursor;
    if (!sw) return;
    sw->Panels.Cursor = sw->Panels.First;
    if (TSitid* panel = sw->Panels.Cursor) panel->SchemeGroups.Cursor = panel->SchemeGroups.First;
}

int TGrsed::CountPanels() {
    TGrsed* sw = Switchboards.Cursor;
    if (!sw) return 0;
    const int n = chains::Length(sw->Panels, chains::PanelLink{});
    sw->Panels.Cursor = sw->Panels.First;
    return n;
}

bool TGrsed::FindPanel(int panelNumber) {
    Switchboards.Walker = Switchboards.Cursor = Switchboards.First;
    for (int i = 0; i < SwitchboardCount && Switchboards.Cursor; ++i) {
        TGrsed* sw = Switchboards.Cursor;
        for (sw->Panels.Cursor = sw->Panels.First; sw->Panels.Cursor;
             sw->Panels.Cursor = sw->Panels.Cursor->Panels.Next) {
            if (sw->Panels.Cursor->PanelNumber == panelNumber) return true;
        }
        Switchboards.Cursor = sw->Switchboards.Next;
    }
    return false;
}

int TGrsed::CxemaGroupCount() {
    TSitid* panel = CurrentPanel();
    if (!panel || !panel->SchemeGroups.First) return 0;
    const int n = chains::Length(panel->SchemeGroups, chains::SchemeLink{});
    panel->SchemeGroups.Cursor = panel->SchemeGroups.First;
    return n;
}

void TGrsed::SeekPanelAt(TSitid* panel) {
    TGrsed* sw = Switchboards.Cursor;
    if (!sw || !panel) return;
    sw->Panels.Cursor = panel;
    if (panel->Position < 1) return;
    sw->Panels.Cursor = sw->Panels.First;
    for (int i = 0; i < panel->Position - 2 && sw->Panels.Cursor; ++i)
        sw->Panels.Cursor = sw->Panels.Cursor->Panels.Next;
}

TSitid* TGrsed::CurrentPanel() const {
    return Switchboards.Cursor ? Switchboards.Cursor->Panels.Cursor : nullptr;
}

void DestroyPanel(TSitid* panel) {
    if (!panel) return;
    DestroyGroupChains(*panel);
    DestroyResultChains(*panel);
    delete panel;
}

void DestroySwitchboard(TGrsed* switchboard) {
    if (!switchboard) return;
    TSitid* panel = switchboard->Panels.First;
    while (panel) {
        TSitid* next = panel->Panels.Next;
        DestroyPanel(panel);
        panel = next;
    }
    DestroyGroupChains(*switchboard);
    DestroyResultChains(*switchboard);
    delete switchboard;
}

void DeleteProjectTree(TGrsed*& root) {
    if (!root) return;
    TGrsed* sw = root->Switchboards.First;
    while (sw) {
        TGrsed* next = sw->Switchboards.Next;
        DestroySwitchboard(sw);
        sw = next;
    }
    root->Switchboards.First = root->Switchboards.Last = nullptr;
    DestroySwitchboard(root);
    root = nullptr;
}
