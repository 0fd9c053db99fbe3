// A main switchboard thrown away and built again from the undo copy of its edit.
#include <algorithm>

#include "editing/EditDialog.h"
#include "editing/EditLists.h"
#include "editing/Shiti12.h"
#include "groups/Dan12.h"
#include "model/Chains.h"
#include "model/NodeResets.h"
#include "model/TreeEditing.h"
#include "platform/Conversions.h"
#include "platform/Events.h"
#include "selection/TreeEdits.h"

void TForm3::DeleteSwitchboard(int number) {
    TGrsed* root = ProjectRoot;
    if (!root) return;
    TGrsed* target = nullptr;
    for (TGrsed* sw : chains::SwitchboardsOf(*root))
        if (!target && sw->SwitchboardNumber == number) target = sw;
    if (!target) return;
    TreeEditing& tree = selection::TreeEdits();
    // Its panels from the last one, then the last switchboard takes its place in the chain.
    for (int guard = target->PanelCount; target->Panels.First && guard >= 0; --guard) {
        root->Switchboards.Cursor = target;
        tree.RemoveLastPanel();
    }
    tree.ExchangeSwitchboardNode(target);
    tree.RemoveLastSwitchboard();
    NodeResets::ResetRootNodeKeepScPower();
    root->SumSwitchboardTotalLoads();
    root->CalcSwitchboardTotalCosPhi();
    root->CalcSwitchboardTotalCurrents();
    if (Dan1) {
        for (TGrsed* sw : chains::SwitchboardsOf(*root)) {
            root->Switchboards.Cursor = sw;
            Dan1->SelectTransformerBreakerRating();
            Dan1->SelectTransformerVruBreaker();
        }
    }
    close();
}

bool TForm3::RebuildFromUndoCopy() {
    TGrsed* root = ProjectRoot;
    int number = 0;
    // Once per edit, and only from the copies of that edit.
    if (!root || !Dan1 || !SwitchboardCopy || rebuiltFromCopy_ ||
        !platform::TryStrToInt(platform::Text(*ComboBox4), number))
        return true;
    rebuiltFromCopy_ = true;
    TDan1& d = *Dan1;
    DeleteSwitchboard(number);

    root->AddSwitchboard(*SwitchboardCopy);
    TGrsed* sw = root->Switchboards.Last;
    root->Switchboards.Cursor = sw;
    d.OpenCurrentTable(sw->SwitchboardTable);
    ++root->SwitchboardCount;
    if (Shiti) Shiti->SwitchboardCounter = root->SwitchboardCount;

    // The panels with their own fields and no group lines yet.
    PanelCopyCount = std::min<int>(sw->PanelCount, static_cast<int>(PanelCopies.size()));
    for (int i = 0; i < PanelCopyCount; ++i) {
        const TSitid& copy = PanelCopies[i];
        d.OpenCurrentTable(copy.CurrentTableName);
        if (copy.OnTrunk) sw->ChangedMark = 1;
        root->AddPanel(sw->SwitchboardNumber, copy);
        root->Switchboards.Cursor = sw;
        if (ProjectCopy) {
            const int count = root->SwitchboardCount;
            PutSwitchboardLevelBack(*root, *ProjectCopy);
            root->SwitchboardCount = count;
        }
        TSitid* added = sw->Panels.Last;
        sw->Panels.Cursor = added;
        added->SchemeGroupCount = added->SinglePhaseCount = added->TwoPhaseCount =
            added->ThreePhaseCount = added->RowsOfThree = 0;
        if (Shiti) ++Shiti->PanelCounter;
    }
    sw->PanelCount = chains::Length(sw->Panels, chains::PanelLink{});

    // The group lines of each panel, in their order.
    const std::vector<TSitid*> panels = chains::PanelsOf(*sw);
    for (int p = 0; p < static_cast<int>(panels.size()); ++p) {
        d.GroupCountCopies = {0, 0, 0, 0};
        const int saved = p < static_cast<int>(GroupSnapshotCounts[0].size())
                              ? std::min(GroupSnapshotCounts[0][p], GroupSnapshots.Records(p))
                              : 0;
        for (int j = 0; j < saved; ++j) {
            root->Switchboards.Cursor = sw;
            sw->Panels.Cursor = panels[p];
            RestoreGroupRecord(p, j, GroupSnapshots);
        }
        root->Switchboards.Cursor = sw;
        sw->Panels.Cursor = panels[p];
    }
    d.GroupCountCopies = {0, 0, 0, 0};
    // The switchboards in the order they had when the edit began: the rebuilt one came at the
    // end, and a deletion on the way may have moved another one.
    std::vector<TGrsed*> order = chains::SwitchboardsOf(*root);
    const auto placeOf = [&](const TGrsed* x) {
        const auto at = std::find(SwitchboardOrderBefore.begin(), SwitchboardOrderBefore.end(),
                                  x->SwitchboardNumber);
        return at - SwitchboardOrderBefore.begin();
    };
    std::stable_sort(order.begin(), order.end(),
                     [&](const TGrsed* a, const TGrsed* b) { return placeOf(a) < placeOf(b); });
    if (static_cast<int>(order.size()) == root->SwitchboardCount)
        chains::Relink(root->Switchboards, chains::SwitchboardLink{}, order);
    root->Switchboards.Cursor = sw;
    sw->Panels.Cursor = nullptr;
    SavedSwitchboard = sw;
    SavedPanel = nullptr;
    editing::RefillGroupEntryLists();
    editing::RefillSwitchboardList();
    return true;
}
