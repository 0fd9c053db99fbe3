// "Изменить": an existing group line is changed by taking it out and adding it again with the
// entries of the window, through the same checks as a new line.
#include "app/DialogForm.h"
#include "app/Mainform.h"
#include "calc/PanelNumbers.h"
#include "editing/EditDialog.h"
#include "editing/Shiti12.h"
#include "groups/Dan12.h"
#include "model/Chains.h"
#include "platform/Conversions.h"
#include "platform/Events.h"
#include "selection/TreeEdits.h"

namespace {

// Each entry equal to the name goes.
void RemoveName(std::vector<std::string>& names, const std::string& name) {
    std::erase(names, name);
}

// The automatic breaker choice holds for the recalculation of the edit only, whichever way the
// command ends.
class AutomaticBreakers {
public:
    AutomaticBreakers() {
        if (Shiti) Shiti->AutoBreakers = true;
    }
    ~AutomaticBreakers() { End(); }
    AutomaticBreakers(const AutomaticBreakers&) = delete;
    AutomaticBreakers& operator=(const AutomaticBreakers&) = delete;
    static void End() {
        if (Shiti) Shiti->AutoBreakers = false;
    }
};

}  // namespace

void TDan1::cancelClick(QObject* sender) {
    ChangeEditedLine(sender);  // "Изменить"
}

void TDan1::ChangeEditedLine(QObject* sender) {
    // Whatever ends the command, the name lists follow the tree and no breaker is chosen
    // without asking any more.
    struct Finish {
        TDan1& dialog;
        ~Finish() {
            AutomaticBreakers::End();
            dialog.SupplyBeforeLine.reset();
            dialog.ListNamesFromTree();
        }
    } finish{*this};

    const std::string conductors = platform::Text(*ComboBox1);
    // The panel list of the whole project.
    ComboBox2->clear();
    TGrsed* root = ProjectRoot;
    if (!root || !Form3) return;
    for (const std::string& item : ProjectPanelItems(*root)) ComboBox2->addItem(platform::Q(item));
    ComboBox2->setCurrentIndex(-1);
    TGrsed* sw = Form3->SavedSwitchboard;
    TSitid* panel = Form3->SavedPanel;
    TCxemaGrupd* group = Form3->EditGroup;
    if (!sw || !panel || !group) return;
    const Cursors at{sw, panel};
    SetCursors(at);
    panel->SchemeGroups.Cursor = group;
    ComboBox2->setCurrentIndex(ComboBox2->findText(platform::Q(PanelListItem(*panel))));

    // The line's own names do not count as taken while its entries are checked.
    const std::string cableName = group->CableName;
    const std::string groupName = group->GroupName;
    if (Shiti) RemoveName(Shiti->CableNames, cableName);
    RemoveName(GroupNames, groupName);
    SetCursors(at);
    panel->SchemeGroups.Cursor = group;
    if (ValidateInput()) return;

    std::optional<platform::WaitCursor> hourglass;
    hourglass.emplace();
    // The line goes; the panel without it is selected and checked again. That check may raise
    // the transformer: a refused edit puts back the supply the project had before the edit.
    SupplyBeforeLine = SupplyChoice{root->TransformerName, root->SupplyScPower};
    Form3->GroupEditValues = BranchValues::Of(*root, sw);
    selection::TreeEdits().DeleteGroupByName(groupName);
    Form3->EditGroup = nullptr;
    RecalculateNetwork();
    SetCursors(at);
    const auto clearBreakerTypes = [&] {
        root->SectionBreakerType.clear();
        sw->SwitchboardBreakerType.clear();
        panel->PanelBreakerType.clear();
        panel->TrunkBreakerType.clear();
    };
    clearBreakerTypes();
    bool rechecked = false;
    {
        AutomaticBreakers automatic;
        rechecked = Form3->RecalcAfterEdit(sender);
    }
    if (!rechecked) {
        // Refused, and the line is back as it was: the edit ends here, as after a refused new
        // version (left open, a second "Изменить" would take the line out with no copy left to
        // put back).
        RefreshAndClose(sender);
        Form3->EndEdit();
        return;
    }

    // Short-circuit data, cables and deviations of the panel without the line.
    SetCursors(at);
    EnsureSwitchboardTripCurrent();
    SetCursors(at);
    EnsurePanelTripCurrent();
    for (TCxemaGrupd* g :
         chains::Elements(panel->SchemeGroups, chains::SchemeLink{}, panel->SchemeGroupCount)) {
        SetCursors(at);
        panel->SchemeGroups.Cursor = g;
        EnsureGroupTripCurrent();
    }
    SetCursors(at);
    CheckSwitchboardCables();
    SetCursors(at);
    CheckPanelCables();
    if (panel->OnTrunk) CheckShiftedPanelCables();
    SumPanelVoltageLosses();
    if (panel->DeviationWork == 0) panel->DeviationWork = panel->MaxVoltageLoss;
    for (TCxemaGrupd* g :
         chains::Elements(panel->SchemeGroups, chains::SchemeLink{}, panel->SchemeGroupCount)) {
        SetCursors(at);
        panel->SchemeGroups.Cursor = g;
        CheckGroupCables(g->GroupName);
        SetCursors(at);
        g->VoltageDeviation = DeviationAt(g->GroupName, g->CrossSection);
    }

    ComboBox1->setCurrentIndex(ComboBox1->findText(platform::Q(conductors)));
    keepEditOnClose_ = true;
    CloseQuietly();
    keepEditOnClose_ = false;
    hourglass.reset();
    ShowWaitNotice(Form1);

    // The line comes back with the new entries, through every check of a new line; a refusal
    // puts it back as it was.
    SetCursors(at);
    panel->SchemeGroups.Cursor = panel->SchemeGroups.Last;
    clearBreakerTypes();
    sledychiClick(sender);
    RefreshAndClose(sender);

    SetCursors(at);
    Form3->EndEdit();
    if (Form1) {
        Form1->ProjectSaved = 0;
        Form1->ToolButton4->setEnabled(true);
    }
}
