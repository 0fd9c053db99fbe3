// A refused edit of a group line: the line goes back as it was before the edit.
#include "editing/EditDialog.h"
#include "groups/Dan12.h"
#include "model/Chains.h"

bool TDan1::RestoreEditedGroup(TGrsed* switchboard, TSitid* panel) {
    if (!Form3) return true;
    TForm3& editor = *Form3;
    editor.EditedGroupRestored = 1;
    TGrsed* root = ProjectRoot;
    if (!root || !switchboard || !panel || !editor.SavedGroup) return true;
    const Cursors at{switchboard, panel};
    SetCursors(at);
    const TCxemaGrupd& saved = *editor.SavedGroup;
    OpenCurrentTable(saved.CableTable);

    root->AddCxemaGroup(panel->PanelNumber, switchboard->PanelCount, saved);
    SetCursors(at);
    ++panel->SchemeGroupCount;
    GroupNames.push_back(saved.GroupName);
    const TForm3::PhaseRecords& phase = editor.SavedPhaseRecords;
    if (saved.PhaseKind == 2 && phase.Single) {
        root->AddFasaGroup1(panel->PanelNumber, switchboard->PanelCount, *phase.Single);
        ++panel->SinglePhaseCount;
    } else if (saved.PhaseKind == 3 && phase.Two) {
        root->AddFasaGroup2(panel->PanelNumber, switchboard->PanelCount, *phase.Two);
        ++panel->TwoPhaseCount;
    } else if (saved.PhaseKind == 4 && phase.Three) {
        root->AddFasaGroup3(panel->PanelNumber, switchboard->PanelCount, *phase.Three);
        ++panel->ThreePhaseCount;
    }
    // Where it stood before the edit: a refused edit leaves the order of the lines, and with it
    // their phases, as they were.
    chains::MoveLastTo(panel->SchemeGroups, chains::SchemeLink{}, editor.SavedGroupPlace);
    if (saved.PhaseKind == 2 && phase.Single)
        chains::MoveLastTo(panel->SinglePhaseGroups, chains::SinglePhaseLink{},
                           editor.SavedPhasePlace);
    else if (saved.PhaseKind == 3 && phase.Two)
        chains::MoveLastTo(panel->TwoPhaseGroups, chains::TwoPhaseLink{}, editor.SavedPhasePlace);
    else if (saved.PhaseKind == 4 && phase.Three)
        chains::MoveLastTo(panel->ThreePhaseGroups, chains::ThreePhaseLink{},
                           editor.SavedPhasePlace);
    SetCursors(at);
    // The line put back, not whatever record the append left current.
    editor.EditGroup = nullptr;
    for (TCxemaGrupd* r = panel->SchemeGroups.First; r && !editor.EditGroup;
         r = r->SchemeGroups.Next)
        if (r->GroupName == saved.GroupName) editor.EditGroup = r;

    RecalculateNetwork();
    SetCursors(at);
    // The values the root, the switchboard and the panel had when the edit began.
    if (editor.ProjectCopy) TForm3::PutSwitchboardLevelBack(*root, *editor.ProjectCopy);
    if (editor.SwitchboardCopy)
        TForm3::PutSwitchboardLevelBack(*switchboard, *editor.SwitchboardCopy);
    if (!editor.PanelCopies.empty())
        static_cast<TSitidFields&>(*panel) =
            static_cast<const TSitidFields&>(editor.PanelCopies.front());
    // The counts follow the chains as they are now.
    chains::CountGroupChains(*panel);
    // Everything the refused version left behind in the branch (a section or a breaker raised
    // for a trip, the other lines' fault currents) as it was when it was applied; the per-phase
    // results are distributed again from the records put back.
    if (editor.GroupEditValues.PutBack(*root)) {
        RecalculateNetwork();
        SetCursors(at);
        editor.GroupEditValues.PutBack(*root);
    }
    CopyPanelCounts();
    return true;
}
