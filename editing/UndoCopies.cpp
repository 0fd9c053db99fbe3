// The undo copies of an edit, and the group lines of a panel taken off and put back one by one.
#include <algorithm>

#include "editing/EditDialog.h"
#include "editing/EditLists.h"
#include "editing/Shiti12.h"
#include "groups/Dan12.h"
#include "model/Chains.h"

namespace {

// A record of a phase class holding only that class's own level of `source`.
template <typename Record, typename Fields>
Record OwnLevel(const Fields& source) {
    Record record;
    static_cast<Fields&>(record) = source;
    return record;
}

// A scheme record with its fields and no chain links.
TCxemaGrupd Detached(const TCxemaGrupd& source) {
    TCxemaGrupd record;
    static_cast<TCxemaGrupdFields&>(record) = source;
    return record;
}

// Element i of the entry, the entry grown to hold it.
template <typename T>
T& Slot(std::vector<T>& entry, std::size_t i) {
    if (entry.size() <= i) entry.resize(i + 1);
    return entry[i];
}

// The last record of the chain whose name (by `nameOf`) is `name`.
template <typename T, typename Link, typename Name>
const T* LastNamed(const ChainBlock<T>& owner, Link link, int count, const std::string& name,
                   Name nameOf) {
    const T* found = nullptr;
    for (const T* r : chains::Elements(owner, link, count))
        if (nameOf(*r) == name) found = r;
    return found;
}

// The first record of the chain with that name, the chain's cursor on it (on none without one).
template <typename T, typename Link, typename Name>
T* CursorOnFirstNamed(ChainBlock<T>& owner, Link link, const std::string& name, Name nameOf) {
    owner.Cursor = nullptr;
    for (T* r = owner.First; r; r = link(*r).Next) {
        if (nameOf(*r) != name) continue;
        owner.Cursor = r;
        return r;
    }
    return nullptr;
}

void KeepSwitchboardLevel(TGrsed& copy, const TGrsed& source) {
    static_cast<TGrsedFields&>(copy) = source;
    // The three section cos phi factors are not part of the copy.
    const TGrsed fresh;
    copy.TotalCosPhiA = fresh.TotalCosPhiA;
    copy.TotalCosPhiB = fresh.TotalCosPhiB;
    copy.TotalCosPhiC = fresh.TotalCosPhiC;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Buffers

void SavedGroupTables::Ensure(int p) {
    const std::size_t size = static_cast<std::size_t>(std::max(p + 1, Entries()));
    Scheme.resize(size);
    Single.resize(size);
    Two.resize(size);
    Three.resize(size);
}

int SavedGroupTables::Records(int p) const {
    return p >= 0 && p < Entries() ? static_cast<int>(Scheme[p].size()) : 0;
}

void SavedGroupTables::Clear() {
    Scheme.clear();
    Single.clear();
    Two.clear();
    Three.clear();
}

void TForm3::DropUndoCopies() {
    SavedGroup.reset();
    SavedPhaseRecords = {};
    ProjectCopy.reset();
    SwitchboardCopy.reset();
    SwitchboardOrderBefore.clear();
    GroupEditValues = BranchValues();
    PanelEditValues = BranchValues();
    PanelCopies.clear();
    PanelCopyCount = 0;
    GroupSnapshots.Clear();
    for (std::vector<int>& counts : GroupSnapshotCounts) counts.clear();
}

bool TForm3::EditTakenBack() const {
    return (GroupEditMode && EditedGroupRestored) || (PanelEditMode && PanelRestoredFlag) ||
           (SwitchboardEditMode && rebuiltFromCopy_);
}

void TForm3::EndEdit() {
    GroupEditMode = PanelEditMode = SwitchboardEditMode = 0;
    ShortCircuitFailed = PanelRestoredFlag = 0;
    EditedGroupRestored = 0;
    DropUndoCopies();
    if (Shiti) Shiti->PanelToRestore = nullptr;
    editing::UpdateEditCommands();
}

// ---------------------------------------------------------------------------------------------
// Copies of the root, the switchboard and the panels

void TForm3::PutSwitchboardLevelBack(TGrsed& target, const TGrsed& copy) {
    const double a = target.TotalCosPhiA, b = target.TotalCosPhiB, c = target.TotalCosPhiC;
    static_cast<TGrsedFields&>(target) = copy;
    target.TotalCosPhiA = a;
    target.TotalCosPhiB = b;
    target.TotalCosPhiC = c;
}

void TForm3::BackupProject() {
    if (!ProjectRoot) return;
    if (!ProjectCopy) ProjectCopy = std::make_unique<TGrsed>();
    KeepSwitchboardLevel(*ProjectCopy, *ProjectRoot);
}

void TForm3::BackupSwitchboard() {
    TGrsed* sw = ProjectRoot ? ProjectRoot->CurrentSwitchboard() : nullptr;
    if (!sw) return;
    if (!SwitchboardCopy) SwitchboardCopy = std::make_unique<TGrsed>();
    KeepSwitchboardLevel(*SwitchboardCopy, *sw);
}

void TForm3::BackupPanel(int n) {
    TSitid* panel = ProjectRoot ? ProjectRoot->CurrentPanel() : nullptr;
    if (!panel || n < 0) return;
    static_cast<TSitidFields&>(Slot(PanelCopies, static_cast<std::size_t>(n))) = *panel;
}

// ---------------------------------------------------------------------------------------------
// Copies of the group lines

void TForm3::SnapshotPanelGroups(GroupTables& tables, int p) {
    TSitid* panel = ProjectRoot ? ProjectRoot->CurrentPanel() : nullptr;
    if (!panel || p < 0) return;
    tables.Ensure(p);
    const std::vector<TCxemaGrupd*> schemes =
        chains::Elements(panel->SchemeGroups, chains::SchemeLink{}, panel->SchemeGroupCount);
    for (std::size_t i = 0; i < schemes.size(); ++i) {
        const TCxemaGrupd& scheme = *schemes[i];
        panel->SchemeGroups.Cursor = schemes[i];
        Slot(tables.Scheme[p], i) = Detached(scheme);
        // Every entry holds an element for each scheme record, defaults where no phase record
        // of that class carries the name.
        TFasaGrup1d& single = Slot(tables.Single[p], i);
        TFasaGrup2d& two = Slot(tables.Two[p], i);
        TFasaGrup3d& three = Slot(tables.Three[p], i);
        const std::string& name = scheme.GroupName;
        if (const TFasaGrup1d* r =
                LastNamed(panel->SinglePhaseGroups, chains::SinglePhaseLink{},
                          panel->SinglePhaseCount, name, [](auto& x) { return x.GroupName1; }))
            single = OwnLevel<TFasaGrup1d, TFasaGrup1dFields>(*r);
        if (const TFasaGrup2d* r =
                LastNamed(panel->TwoPhaseGroups, chains::TwoPhaseLink{}, panel->TwoPhaseCount, name,
                          [](auto& x) { return x.GroupName2; }))
            two = OwnLevel<TFasaGrup2d, TFasaGrup2dFields>(*r);
        if (const TFasaGrup3d* r =
                LastNamed(panel->ThreePhaseGroups, chains::ThreePhaseLink{}, panel->ThreePhaseCount,
                          name, [](auto& x) { return x.GroupName3; }))
            three = OwnLevel<TFasaGrup3d, TFasaGrup3dFields>(*r);
    }
}

void TForm3::SnapshotFedPanelGroups(int p) {
    TGrsed* sw = ProjectRoot ? ProjectRoot->CurrentSwitchboard() : nullptr;
    TSitid* start = ProjectRoot ? ProjectRoot->CurrentPanel() : nullptr;
    if (!sw || !start || p < 0) return;
    GroupSnapshots.Ensure(p);
    const int number = start->PanelNumber;
    std::vector<TSitid*> taken;
    for (TSitid* q = start; q; q = q->Panels.Next) {
        const bool feeds = q->PanelFlagB && !q->OnTrunk;
        const bool hangs = number != 0 && q->HangsOnPanel == number;
        // A panel that does both is taken once.
        if (feeds || hangs) taken.push_back(q);
    }
    std::size_t k = 0;
    for (TSitid* q : taken)
        for (const TCxemaGrupd* r :
             chains::Elements(q->SchemeGroups, chains::SchemeLink{}, q->SchemeGroupCount))
            Slot(GroupSnapshots.Scheme[p], k++) = Detached(*r);
    k = 0;
    for (TSitid* q : taken)
        for (const TFasaGrup1d* r :
             chains::Elements(q->SinglePhaseGroups, chains::SinglePhaseLink{}, q->SinglePhaseCount))
            Slot(GroupSnapshots.Single[p], k++) = OwnLevel<TFasaGrup1d, TFasaGrup1dFields>(*r);
    k = 0;
    for (TSitid* q : taken)
        for (const TFasaGrup2d* r :
             chains::Elements(q->TwoPhaseGroups, chains::TwoPhaseLink{}, q->TwoPhaseCount))
            Slot(GroupSnapshots.Two[p], k++) = OwnLevel<TFasaGrup2d, TFasaGrup2dFields>(*r);
    k = 0;
    for (TSitid* q : taken)
        for (const TFasaGrup3d* r :
             chains::Elements(q->ThreePhaseGroups, chains::ThreePhaseLink{}, q->ThreePhaseCount))
            Slot(GroupSnapshots.Three[p], k++) = OwnLevel<TFasaGrup3d, TFasaGrup3dFields>(*r);
    sw->Panels.Cursor = start;
}

// ---------------------------------------------------------------------------------------------
// Group lines taken off a panel and put back

void TForm3::DeletePanelGroups(TSitid* panel) {
    TGrsed* root = ProjectRoot;
    TGrsed* sw = root ? root->CurrentSwitchboard() : nullptr;
    if (!sw || !panel) return;
    sw->Panels.Cursor = panel;
    root->Switchboards.Walker = sw;
    sw->Panels.Walker = panel;
    // The saved cursor of a group edit must not point at a record that goes.
    for (const TCxemaGrupd* r = panel->SchemeGroups.First; r; r = r->SchemeGroups.Next)
        if (r == EditGroup) EditGroup = nullptr;
    DestroyGroupChains(*panel);
    if (panel->SinglePhaseCount > 0) panel->RowsOfThree = 0;
    panel->SchemeGroupCount = panel->SinglePhaseCount = panel->TwoPhaseCount =
        panel->ThreePhaseCount = 0;
    if (Dan1) Dan1->GroupCountCopies = {0, 0, 0, 0};
    editing::RefillGroupEntryLists();
    root->Switchboards.Cursor = sw;
    sw->Panels.Cursor = panel;
}

void TForm3::RestoreGroupRecord(int panelPosition, int groupIndex, const GroupTables& tables) {
    TGrsed* root = ProjectRoot;
    TGrsed* sw = root ? root->CurrentSwitchboard() : nullptr;
    TSitid* panel = root ? root->CurrentPanel() : nullptr;
    if (!Dan1 || !panel || groupIndex < 0 || groupIndex >= tables.Records(panelPosition)) return;
    const auto at = [&](const auto& table) -> const auto& {
        return table[panelPosition][static_cast<std::size_t>(groupIndex)];
    };
    const TCxemaGrupd& scheme = at(tables.Scheme);
    const int number = panel->PanelNumber;
    std::array<int, 4>& counts = Dan1->GroupCountCopies;

    Dan1->GroupNames.push_back(scheme.GroupName);
    Dan1->AddSchemeGroup(number, ++counts[0], scheme);
    if (scheme.PhaseKind >= 2 && scheme.PhaseKind <= 4)
        Dan1->ComboBox1->setCurrentIndex(scheme.PhaseKind - 2);
    if (TSitid* added = root->CurrentPanel()) added->SchemeGroups.Cursor = added->SchemeGroups.Last;
    const auto phaseAt = [&](const auto& table) -> const auto* {
        return static_cast<std::size_t>(groupIndex) < table[panelPosition].size()
                   ? &table[panelPosition][static_cast<std::size_t>(groupIndex)]
                   : nullptr;
    };
    switch (scheme.PhaseKind) {
        case 2:
            if (const TFasaGrup1d* r = phaseAt(tables.Single))
                Dan1->AddSinglePhaseGroup(number, ++counts[1], *r);
            break;
        case 3:
            if (const TFasaGrup2d* r = phaseAt(tables.Two))
                Dan1->AddTwoPhaseGroup(number, ++counts[2], *r);
            break;
        case 4:
            if (const TFasaGrup3d* r = phaseAt(tables.Three))
                Dan1->AddThreePhaseGroup(number, ++counts[3], *r);
            break;
        default:
            break;
    }
    // The lines of a panel come back one after the other, each with a recalculation: the
    // first recalculates the project, the following ones change nothing but this switchboard.
    if (groupIndex == 0)
        Dan1->RecalculateNetwork();
    else
        Dan1->RecalculateCurrentSwitchboard();
    root->Switchboards.Cursor = sw;
    if (sw) sw->Panels.Cursor = panel;
}

void TForm3::SaveEditedGroup(TSitid* panel, const std::string& groupName) {
    TGrsed* sw = ProjectRoot ? ProjectRoot->CurrentSwitchboard() : nullptr;
    if (!sw || !panel) return;
    sw->Panels.Cursor = panel;
    SavedGroup = std::make_unique<TCxemaGrupd>();
    SavedPhaseRecords.Single = std::make_unique<TFasaGrup1d>();
    SavedPhaseRecords.Two = std::make_unique<TFasaGrup2d>();
    SavedPhaseRecords.Three = std::make_unique<TFasaGrup3d>();
    SavedGroupPlace = SavedPhasePlace = -1;
    const auto named = [&](auto& owner, auto link, auto nameOf) {
        auto* found = CursorOnFirstNamed(owner, link, groupName, nameOf);
        return found;
    };
    if (const TCxemaGrupd* r =
            named(panel->SchemeGroups, chains::SchemeLink{}, [](auto& x) { return x.GroupName; })) {
        const double spare = SavedGroup->SpareValue;
        static_cast<TCxemaGrupdFields&>(*SavedGroup) = *r;
        SavedGroup->SpareValue = spare;
        SavedGroupPlace = chains::PlaceOf(panel->SchemeGroups, chains::SchemeLink{}, r);
    }
    if (const TFasaGrup1d* r = named(panel->SinglePhaseGroups, chains::SinglePhaseLink{},
                                     [](auto& x) { return x.GroupName1; })) {
        static_cast<TFasaGrup1dFields&>(*SavedPhaseRecords.Single) = *r;
        if (SavedGroup->PhaseKind == 2)
            SavedPhasePlace =
                chains::PlaceOf(panel->SinglePhaseGroups, chains::SinglePhaseLink{}, r);
    }
    if (const TFasaGrup2d* r = named(panel->TwoPhaseGroups, chains::TwoPhaseLink{},
                                     [](auto& x) { return x.GroupName2; })) {
        static_cast<TFasaGrup2dFields&>(*SavedPhaseRecords.Two) = *r;
        if (SavedGroup->PhaseKind == 3)
            SavedPhasePlace = chains::PlaceOf(panel->TwoPhaseGroups, chains::TwoPhaseLink{}, r);
    }
    if (const TFasaGrup3d* r = named(panel->ThreePhaseGroups, chains::ThreePhaseLink{},
                                     [](auto& x) { return x.GroupName3; })) {
        static_cast<TFasaGrup3dFields&>(*SavedPhaseRecords.Three) = *r;
        if (SavedGroup->PhaseKind == 4)
            SavedPhasePlace = chains::PlaceOf(panel->ThreePhaseGroups, chains::ThreePhaseLink{}, r);
    }
}
