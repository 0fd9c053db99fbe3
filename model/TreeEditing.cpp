#include "model/TreeEditing.h"

#include <optional>
#include <utility>
#include <vector>

#include "model/Cascades.h"
#include "model/Chains.h"
#include "model/Classd.h"
#include "model/NodeResets.h"
#include "platform/Conversions.h"

namespace {

using chains::PanelsOf;
using chains::SwitchboardsOf;

template <typename T>
int IndexOf(const std::vector<T*>& elements, const T* element) {
    for (std::size_t i = 0; i < elements.size(); ++i)
        if (elements[i] == element) return static_cast<int>(i);
    return -1;
}

// Takes an element out of its chain, given the element before it (null when it is the first).
// The four cases: the only element, the first, the last, one in the middle.
template <typename T, typename Link>
void Unlink(ChainBlock<T>& owner, T* element, T* predecessor, Link link) {
    T* successor = link(*element).Next;
    if (!predecessor && !successor) {
        owner.First = owner.Last = nullptr;
    } else if (!predecessor) {
        owner.First = successor;
    } else if (!successor) {
        link(*predecessor).Next = nullptr;
        owner.Last = predecessor;
    } else {
        link(*predecessor).Next = successor;
    }
}

// Removes and destroys the first of the first `count` records that matches; lowers the count.
template <typename T, typename Link, typename Match>
bool RemoveFirstMatch(TGrsed& root, TGrsed& sw, TSitid& panel, ChainBlock<T>& owner, Link link,
                      int& count, Match match) {
    const std::vector<T*> records = chains::Elements(owner, link, count);
    for (std::size_t i = 0; i < records.size(); ++i) {
        if (!match(*records[i])) continue;
        Unlink(owner, records[i], i > 0 ? records[i - 1] : nullptr, link);
        root.Switchboards.Walker = &sw;
        sw.Panels.Walker = &panel;
        delete records[i];
        owner.Cursor = owner.Walker = nullptr;
        --count;
        return true;
    }
    return false;
}

// A panel that leaves its cascade keeps nothing of it: its place and length in the cascade and
// the load carried through it are those of a radial panel (the cascade passes no longer visit
// it, so nothing else would clear them).
void MakePlain(TSitid& panel) {
    panel.FedFromSwitchboard = 0;
    panel.FedFromPanel = 0;
    panel.FeedingPanelNumber = 0;
    panel.CascadeHeadNumber = 0;
    const TSitidFields radial;
    panel.CascadeSequence = radial.CascadeSequence;
    panel.CascadeEnd = radial.CascadeEnd;
    panel.CascadeLength = radial.CascadeLength;
    panel.CascadePowerA = radial.CascadePowerA;
    panel.CascadePowerB = radial.CascadePowerB;
    panel.CascadePowerC = radial.CascadePowerC;
    panel.CascadePower = radial.CascadePower;
    panel.CascadeCosPhiA = radial.CascadeCosPhiA;
    panel.CascadeCosPhiB = radial.CascadeCosPhiB;
    panel.CascadeCosPhiC = radial.CascadeCosPhiC;
    panel.CascadeCosPhi = radial.CascadeCosPhi;
    panel.CascadeCurrentA = radial.CascadeCurrentA;
    panel.CascadeCurrentB = radial.CascadeCurrentB;
    panel.CascadeCurrentC = radial.CascadeCurrentC;
    panel.CascadeNeutralCurrent = radial.CascadeNeutralCurrent;
    panel.CascadeDesignCurrent = radial.CascadeDesignCurrent;
}

bool HeadsCascadeOf(const TSitid* head, const TSitid& member) {
    return head && head->FedFromSwitchboard && head->PanelNumber == member.CascadeHeadNumber;
}

bool IsMemberUnder(const TSitid* member, const TSitid& head) {
    return member && member->FedFromPanel && member->CascadeHeadNumber == head.PanelNumber;
}

// The lists of the windows, gathered from the whole tree in tree order. The walk moves the
// cursors as the designed refills do: every switchboard's panel cursor and every panel's scheme
// cursor end past the last element walked; the root's cursor ends past the last switchboard.
struct TreeLists {
    std::vector<std::string> cableNames;    // switchboard, then each panel and its groups
    std::vector<std::string> groupNames;    // scheme records
    std::vector<std::string> panelNumbers;  // decimal text
};

TreeLists CollectTreeLists(TGrsed& root) {
    TreeLists lists;
    chains::ForEachSwitchboard(root, [&](TGrsed& sw) {
        lists.cableNames.push_back(sw.SwitchboardCableName);
        chains::ForEachPanelOf(sw, sw.PanelCount, [&](TSitid& panel) {
            lists.cableNames.push_back(panel.FeederCableName);
            lists.panelNumbers.push_back(platform::IntToStr(panel.PanelNumber));
            chains::StepCursor(panel.SchemeGroups, chains::SchemeLink{}, panel.SchemeGroupCount,
                               [&](TCxemaGrupd& record) {
                                   lists.cableNames.push_back(record.CableName);
                                   lists.groupNames.push_back(record.GroupName);
                               });
        });
    });
    return lists;
}

std::vector<std::string> SwitchboardNumbers(TGrsed& root) {
    std::vector<std::string> numbers;
    chains::ForEachSwitchboard(
        root, [&](TGrsed& sw) { numbers.push_back(platform::IntToStr(sw.SwitchboardNumber)); });
    return numbers;
}

// One group line of a panel kept by value during a panel swap: its scheme record and the phase
// record of the same name from the chain its conductor count selects.
struct GroupLine {
    TCxemaGrupd scheme;
    std::optional<TFasaGrup1d> single;
    std::optional<TFasaGrup2d> two;
    std::optional<TFasaGrup3d> three;
};

template <typename T, typename Link, typename Name>
std::optional<T> FindByName(const ChainBlock<T>& owner, Link link, int count,
                            const std::string& name, Name nameOf) {
    for (T* record : chains::Elements(owner, link, count))
        if (nameOf(*record) == name) return *record;
    return std::nullopt;
}

std::vector<GroupLine> SnapshotGroupLines(const TSitid& panel) {
    std::vector<GroupLine> lines;
    for (TCxemaGrupd* scheme :
         chains::Elements(panel.SchemeGroups, chains::SchemeLink{}, panel.SchemeGroupCount)) {
        GroupLine line{*scheme, {}, {}, {}};
        const std::string& name = scheme->GroupName;
        switch (scheme->PhaseKind) {
            case 2:
                line.single = FindByName(panel.SinglePhaseGroups, chains::SinglePhaseLink{},
                                         panel.SinglePhaseCount, name,
                                         [](const TFasaGrup1d& r) { return r.GroupName1; });
                break;
            case 3:
                line.two =
                    FindByName(panel.TwoPhaseGroups, chains::TwoPhaseLink{}, panel.TwoPhaseCount,
                               name, [](const TFasaGrup2d& r) { return r.GroupName2; });
                break;
            case 4:
                line.three = FindByName(panel.ThreePhaseGroups, chains::ThreePhaseLink{},
                                        panel.ThreePhaseCount, name,
                                        [](const TFasaGrup3d& r) { return r.GroupName3; });
                break;
            default:
                break;
        }
        lines.push_back(std::move(line));
    }
    return lines;
}

// Takes every group line off a panel: its four chains end empty and its four counts 0.
void RemoveGroupLines(TSitid& panel) {
    DestroyGroupChains(panel);
    if (panel.SinglePhaseCount > 0) panel.RowsOfThree = 0;
    panel.SchemeGroupCount = panel.SinglePhaseCount = panel.TwoPhaseCount = panel.ThreePhaseCount =
        0;
}

// Adds one record the way group entry does: find the panel, count the panels to scan, append,
// find the panel again and raise its count of that chain.
template <typename Append>
void AddLikeGroupEntry(TGrsed& root, int panelNumber, Append append, int TSitidFields::*count) {
    root.ResetCursors();
    if (!root.FindPanel(panelNumber)) return;
    append(root.CountPanels());
    if (!root.FindPanel(panelNumber)) return;
    ++(root.CurrentPanel()->*count);
}

void RestoreGroupLines(TGrsed& root, int panelNumber, const std::vector<GroupLine>& lines) {
    for (const GroupLine& line : lines) {
        AddLikeGroupEntry(
            root, panelNumber,
            [&](int scan) { root.AddCxemaGroup(panelNumber, scan, line.scheme); },
            &TSitidFields::SchemeGroupCount);
        if (line.single)
            AddLikeGroupEntry(
                root, panelNumber,
                [&](int scan) { root.AddFasaGroup1(panelNumber, scan, *line.single); },
                &TSitidFields::SinglePhaseCount);
        if (line.two)
            AddLikeGroupEntry(
                root, panelNumber,
                [&](int scan) { root.AddFasaGroup2(panelNumber, scan, *line.two); },
                &TSitidFields::TwoPhaseCount);
        if (line.three)
            AddLikeGroupEntry(
                root, panelNumber,
                [&](int scan) { root.AddFasaGroup3(panelNumber, scan, *line.three); },
                &TSitidFields::ThreePhaseCount);
    }
}

}  // namespace

WindowLists& TreeEditing::Lists() {
    return lists_ ? *lists_ : noLists_;
}

// ---------------------------------------------------------------------------------------------
// Cascade walkers

void TreeEditing::SelectCascadeHead(TSitid* panel) {
    if (!panel || !ProjectRoot) return;
    if (!panel->FedFromPanel && !panel->FedFromSwitchboard) return;
    TGrsed* sw = ProjectRoot->CurrentSwitchboard();
    if (!sw) return;
    sw->Panels.Cursor = cascades::SearchedHead(*sw, PanelsOf(*sw), *panel);
}

int TreeEditing::NumberPanelCascade(TSitid* panel) {
    if (!panel || !ProjectRoot) return 0;
    TGrsed* sw = ProjectRoot->CurrentSwitchboard();
    if (!sw) return 0;

    int sequence = 0;
    int members = 0;
    int followed = panel->PanelNumber;
    const std::uint8_t flag = panel->CascadeFlag;
    int endPosition = 0;
    const int headNumber =
        panel->FedFromSwitchboard ? panel->PanelNumber : panel->CascadeHeadNumber;

    const std::vector<TSitid*> panels = PanelsOf(*sw);
    for (TSitid* q : panels) {
        bool inCascade = q == panel || (q->FedFromPanel && q->CascadeHeadNumber == headNumber);
        if (q == panel && q->FedFromSwitchboard) q->CascadeSequence = ++sequence;
        if (q->FedFromPanel && (q->FeedingPanelNumber == followed || q == panel)) {
            ++members;
            followed = q->PanelNumber;
            q->CascadeFlag = flag;
            endPosition = q->Position;
            q->CascadeSequence = ++sequence;
            inCascade = true;
        }
        // The old end marks of the cascade go before the new end is marked.
        if (inCascade) q->CascadeEnd = 0;
    }

    sw->Panels.Cursor = nullptr;
    if (members == 0) return 0;
    for (TSitid* q : panels) {
        if (q->Position == endPosition) {
            q->CascadeEnd = 1;
            sw->Panels.Cursor = q;
            break;
        }
    }
    return members;
}

int TreeEditing::PrevSwitchboardFlaggedPanelPos(int schemeOrder) {
    TGrsed* root = ProjectRoot;
    if (schemeOrder == 0 || !root) return 0;
    root->Switchboards.Cursor = root->Switchboards.First;
    for (int i = 0; i < root->SwitchboardCount; ++i) {
        // The last switchboard of the chain is never examined.
        if (i == root->SwitchboardCount - 1) return 0;
        TGrsed* sw = root->Switchboards.Cursor;
        if (!sw || sw->SchemeOrder == schemeOrder - 1) break;
        root->Switchboards.Cursor = sw->Switchboards.Next;
    }
    TGrsed* sw = root->Switchboards.Cursor;
    if (!sw) return 0;
    int unfed = 0;
    int result = 0;
    for (TSitid* panel : PanelsOf(*sw)) {
        if (!panel->FedFromPanel) ++unfed;
        if (panel->OnTrunk) result = unfed - 1;
    }
    return result;
}

// ---------------------------------------------------------------------------------------------
// Panel deletion

void TreeEditing::RepairCascadeOfDeletedPanel(TGrsed& sw, TSitid& panel) {
    // A member: when it is the only one, its head becomes a plain panel.
    if (panel.FedFromPanel) {
        SelectCascadeHead(&panel);
        TSitid* head = sw.Panels.Cursor;
        if (HeadsCascadeOf(head, panel)) {
            const int members = NumberPanelCascade(head);
            if (members == 1 && sw.Panels.Cursor == &panel) {
                MakePlain(panel);
                MakePlain(*head);
            }
        }
    }
    // Still a member: the trunk closes over the gap, each member fed from the one before it.
    if (panel.FedFromPanel) {
        SelectCascadeHead(&panel);
        TSitid* head = sw.Panels.Cursor;
        const std::vector<TSitid*> panels = PanelsOf(sw);
        const int headIndex = IndexOf(panels, head);
        if (HeadsCascadeOf(head, panel) && headIndex >= 0) {
            int previous = head->PanelNumber;
            for (std::size_t i = headIndex + 1; i < panels.size(); ++i) {
                TSitid* q = panels[i];
                if (q == &panel) continue;
                if (q->FedFromPanel && q->CascadeHeadNumber == head->PanelNumber) {
                    q->FeedingPanelNumber = previous;
                    previous = q->PanelNumber;
                }
            }
        }
    }
    // A head: the first member after it takes over the cascade.
    if (panel.FedFromSwitchboard) {
        const int members = NumberPanelCascade(&panel);
        TSitid* end = sw.Panels.Cursor;
        if (members == 1 && IsMemberUnder(end, panel)) {
            MakePlain(*end);
            MakePlain(panel);
        }
        const std::vector<TSitid*> panels = PanelsOf(sw);
        int newHead = 0;
        for (std::size_t i = IndexOf(panels, &panel) + 1; i < panels.size(); ++i) {
            TSitid* q = panels[i];
            if (IsMemberUnder(q, panel)) {
                q->FedFromPanel = 0;
                q->FedFromSwitchboard = 1;
                q->FeedingPanelNumber = 0;
                q->CascadeHeadNumber = q->PanelNumber;
                newHead = q->PanelNumber;
                break;
            }
        }
        for (TSitid* q : panels)
            if (q != &panel && IsMemberUnder(q, panel)) q->CascadeHeadNumber = newHead;
        MakePlain(panel);
    }
}

bool TreeEditing::RemovePanelFromCurrentSwitchboard(TSitid* panel, bool settle) {
    TGrsed* root = ProjectRoot;
    if (!root || !panel) return false;
    TGrsed* sw = root->CurrentSwitchboard();
    if (!sw || IndexOf(PanelsOf(*sw), panel) < 0) return false;

    RepairCascadeOfDeletedPanel(*sw, *panel);

    sw->Panels.Cursor = panel;
    RemoveGroupLines(*panel);

    const std::vector<TSitid*> panels = PanelsOf(*sw);
    const int index = IndexOf(panels, panel);
    Unlink(sw->Panels, panel, index > 0 ? panels[index - 1] : nullptr, chains::PanelLink{});
    root->Switchboards.Walker = sw;
    DestroyPanel(panel);
    sw->Panels.Cursor = sw->Panels.Walker = nullptr;

    Lists().SetAllGroupCountCopies(0);
    --sw->PanelCount;
    Lists().LowerPanelCounter();

    const std::vector<TSitid*> remaining = PanelsOf(*sw);
    for (std::size_t i = 0; i < remaining.size(); ++i)
        remaining[i]->Position = static_cast<int>(i) + 1;

    if (settle) SettleAfterPanelRemoval(*sw);
    return true;
}

void TreeEditing::SettleAfterPanelRemoval(TGrsed& sw) {
    TGrsed* root = ProjectRoot;
    RefillPanelLists(true);
    root->Switchboards.Cursor = &sw;
    sw.Panels.Cursor = sw.Panels.First;

    if (Hooks.RecalculateAfterPanelDeletion) Hooks.RecalculateAfterPanelDeletion();
    root->Switchboards.Cursor = &sw;
}

void TreeEditing::RefillPanelLists(bool withCableNames) {
    TGrsed* root = ProjectRoot;
    TGrsed* current = root->CurrentSwitchboard();
    const TreeLists lists = CollectTreeLists(*root);
    root->Switchboards.Cursor = current;
    if (withCableNames) Lists().SetCableNames(lists.cableNames);
    Lists().SetGroupNames(lists.groupNames);
    Lists().SetEditDialogFirstList(lists.panelNumbers);
    Lists().SetGroupEntryPanelList(lists.panelNumbers);
}

void TreeEditing::DeletePanel(TSitid* panel) {
    RemovePanelFromCurrentSwitchboard(panel);
}

void TreeEditing::DeletePanelsFedFrom(TSitid* panel) {
    TGrsed* root = ProjectRoot;
    if (!root || !panel) return;
    TGrsed* sw = root->CurrentSwitchboard();
    if (!sw || IndexOf(PanelsOf(*sw), panel) < 0) return;
    sw->Panels.Cursor = panel;
    const int number = panel->PanelNumber;

    // Number 0 names no panel: a plain panel hangs on 0, so nothing may be deleted for it.
    TSitid* q = number != 0 ? sw->Panels.First : nullptr;
    while (q) {
        if (q != panel && q->HangsOnPanel == number) {
            root->Switchboards.Cursor = sw;
            if (RemovePanelFromCurrentSwitchboard(q)) {
                q = sw->Panels.First;
                continue;
            }
        }
        q = q->Panels.Next;
    }

    for (q = sw->Panels.First; q; q = q->Panels.Next)
        if (q->PanelFlagB) sw->ChangedMark = 1;
    sw->Panels.Cursor = nullptr;
}

// ---------------------------------------------------------------------------------------------
// Switchboard deletion

namespace {
bool settleDeletionsOnce = true;
}  // namespace

void TreeEditing::SettleSwitchboardDeletionsOnce(bool once) {
    settleDeletionsOnce = once;
}

void TreeEditing::DeleteSwitchboardNode(TGrsed* switchboard) {
    TGrsed* root = ProjectRoot;
    if (!root || !switchboard || IndexOf(SwitchboardsOf(*root), switchboard) < 0) return;

    root->Switchboards.Cursor = switchboard;
    bool unsettled = false;
    while (TSitid* first = switchboard->Panels.First) {
        root->Switchboards.Cursor = switchboard;
        const bool settle = !settleDeletionsOnce || !first->Panels.Next;
        // Panels beyond the stored count cannot be reached this way; they go with the node.
        if (!RemovePanelFromCurrentSwitchboard(first, settle)) break;
        unsettled = !settle;
    }
    if (unsettled) SettleAfterPanelRemoval(*switchboard);

    const std::vector<TGrsed*> switchboards = SwitchboardsOf(*root);
    const int index = IndexOf(switchboards, switchboard);
    const bool onlyOne = index == 0 && !switchboard->Switchboards.Next;
    Unlink(root->Switchboards, switchboard, index > 0 ? switchboards[index - 1] : nullptr,
           chains::SwitchboardLink{});
    if (onlyOne) Lists().ClearEditDialogSecondList();
    DestroySwitchboard(switchboard);
    root->Switchboards.Cursor = root->Switchboards.Walker = nullptr;

    --root->SwitchboardCount;
    Lists().SetSwitchboardCounter(root->SwitchboardCount);
    Lists().SetPanelCounter(0);
    Lists().SetSwitchboardNumberList(SwitchboardNumbers(*root));
    Lists().SetCableNames(CollectTreeLists(*root).cableNames);

    if (Hooks.RecalculateSwitchboardTotals) Hooks.RecalculateSwitchboardTotals();

    if (root->Switchboards.First) {
        root->SectionBreakerType.clear();
        if (Hooks.SelectTransformerBreakerRating) Hooks.SelectTransformerBreakerRating();
        if (Hooks.SelectTransformerVruBreaker && Hooks.SelectTransformerVruBreaker() &&
            Hooks.ShowSectionBreakerDialog)
            Hooks.ShowSectionBreakerDialog();
    } else {
        NodeResets::ResetRootNodeKeepScPower();
    }
}

void TreeEditing::RemoveLastSwitchboard() {
    TGrsed* root = ProjectRoot;
    if (!root || !root->Switchboards.First || !root->Switchboards.Last) return;
    TGrsed* last = root->Switchboards.Last;
    TGrsed* before = nullptr;
    if (root->Switchboards.First != last) {
        before = root->Switchboards.First;
        while (before && before->Switchboards.Next != last) before = before->Switchboards.Next;
        if (!before) return;  // the tail is not reachable from the first switchboard
    }

    root->Switchboards.Cursor = root->Switchboards.First;
    if (!before) {
        root->Switchboards.First = root->Switchboards.Last = nullptr;
        root->Switchboards.Cursor = root->Switchboards.Walker = nullptr;
    } else {
        before->Switchboards.Next = nullptr;
        root->Switchboards.Last = before;
        if (root->Switchboards.Walker == last) root->Switchboards.Walker = nullptr;
    }

    // After an exchange the tail still refers to the panels the target took over: those stay.
    // Panels that no remaining switchboard refers to go with it.
    bool panelsShared = false;
    for (TGrsed* sw = root->Switchboards.First; sw; sw = sw->Switchboards.Next)
        if (last->Panels.First && sw->Panels.First == last->Panels.First) panelsShared = true;
    if (panelsShared)
        delete last;
    else
        DestroySwitchboard(last);

    if (root->SwitchboardCount > 0) --root->SwitchboardCount;
    Lists().SetSwitchboardCounter(root->SwitchboardCount);
    Lists().SetPanelCounter(0);
    Lists().SetSwitchboardNumberList(SwitchboardNumbers(*root));
}

// ---------------------------------------------------------------------------------------------
// Group deletion by name

void TreeEditing::DeleteGroupByName(const std::string& name) {
    TGrsed* root = ProjectRoot;
    if (!root) return;
    TGrsed* sw = root->CurrentSwitchboard();
    TSitid* panel = root->CurrentPanel();
    if (!sw || !panel) return;

    NodeResets::ResetRootNode();
    NodeResets::ResetSwitchboardNode();
    NodeResets::ResetPanelNode();

    if (RemoveFirstMatch(*root, *sw, *panel, panel->SchemeGroups, chains::SchemeLink{},
                         panel->SchemeGroupCount,
                         [&](const TCxemaGrupd& r) { return r.GroupName == name; }))
        Lists().SetGroupCountCopy(0, panel->SchemeGroupCount);

    const TreeLists lists = CollectTreeLists(*root);
    Lists().SetGroupNames(lists.groupNames);
    Lists().SetCableNames(lists.cableNames);
    root->Switchboards.Cursor = sw;
    sw->Panels.Cursor = panel;
    std::vector<std::string> panelGroups;
    for (TCxemaGrupd* r :
         chains::Elements(panel->SchemeGroups, chains::SchemeLink{}, panel->SchemeGroupCount))
        panelGroups.push_back(r->GroupName);
    Lists().SetEditDialogFirstList(panelGroups);

    if (RemoveFirstMatch(*root, *sw, *panel, panel->SinglePhaseGroups, chains::SinglePhaseLink{},
                         panel->SinglePhaseCount,
                         [&](const TFasaGrup1d& r) { return r.GroupName1 == name; })) {
        if (panel->SinglePhaseCount == 0) panel->RowsOfThree = 0;
        Lists().SetGroupCountCopy(1, panel->SinglePhaseCount);
    }
    if (RemoveFirstMatch(*root, *sw, *panel, panel->TwoPhaseGroups, chains::TwoPhaseLink{},
                         panel->TwoPhaseCount,
                         [&](const TFasaGrup2d& r) { return r.GroupName2 == name; }))
        Lists().SetGroupCountCopy(2, panel->TwoPhaseCount);
    if (RemoveFirstMatch(*root, *sw, *panel, panel->ThreePhaseGroups, chains::ThreePhaseLink{},
                         panel->ThreePhaseCount,
                         [&](const TFasaGrup3d& r) { return r.GroupName3 == name; }))
        Lists().SetGroupCountCopy(3, panel->ThreePhaseCount);
}

// ---------------------------------------------------------------------------------------------
// Last panel removal

void TreeEditing::RemoveLastPanel() {
    TGrsed* root = ProjectRoot;
    if (!root) return;
    TGrsed* sw = root->CurrentSwitchboard();
    if (!sw || !sw->Panels.First || !sw->Panels.Last) return;
    TSitid* last = sw->Panels.Last;
    TSitid* before = nullptr;
    if (sw->Panels.First != last) {
        before = sw->Panels.First;
        while (before && before->Panels.Next != last) before = before->Panels.Next;
        if (!before) return;  // the tail is not reachable from the first panel
    }

    root->Switchboards.Walker = sw;
    // Its group records go with it, whatever its counts say.
    RemoveGroupLines(*last);

    sw->Panels.Cursor = sw->Panels.Walker = sw->Panels.First;
    if (!before) {
        sw->Panels.First = sw->Panels.Last = nullptr;
        sw->Panels.Cursor = sw->Panels.Walker = nullptr;
    } else {
        before->Panels.Next = nullptr;
        sw->Panels.Last = before;
    }
    DestroyPanel(last);

    Lists().SetAllGroupCountCopies(0);
    if (sw->PanelCount > 0) --sw->PanelCount;
    Lists().LowerPanelCounter();

    const TreeLists lists = CollectTreeLists(*root);
    root->Switchboards.Cursor = sw;
    Lists().SetGroupNames(lists.groupNames);
    Lists().SetEditDialogFirstList(lists.panelNumbers);
    Lists().SetGroupEntryPanelList(lists.panelNumbers);
}

// ---------------------------------------------------------------------------------------------
// Panel swap

void TreeEditing::SwapPanels(TGrsed* switchboard, TSitid* first, TSitid* second) {
    TGrsed* root = ProjectRoot;
    if (!root || !switchboard || !first || !second || first == second) return;
    if (IndexOf(SwitchboardsOf(*root), switchboard) < 0) return;
    const std::vector<TSitid*> panels = PanelsOf(*switchboard);
    if (IndexOf(panels, first) < 0 || IndexOf(panels, second) < 0) return;
    root->Switchboards.Cursor = switchboard;

    switchboard->Panels.Cursor = first;
    const std::vector<GroupLine> firstLines = SnapshotGroupLines(*first);
    RemoveGroupLines(*first);
    switchboard->Panels.Cursor = second;
    const std::vector<GroupLine> secondLines = SnapshotGroupLines(*second);
    RemoveGroupLines(*second);

    // The panel-level fields change nodes; the spare values stay.
    const auto firstSpare = first->SparePanelValues;
    const auto secondSpare = second->SparePanelValues;
    std::swap(static_cast<TSitidFields&>(*first), static_cast<TSitidFields&>(*second));
    first->SparePanelValues = firstSpare;
    second->SparePanelValues = secondSpare;

    // Each node gets the group lines of the panel whose fields it now holds.
    RestoreGroupLines(*root, second->PanelNumber, firstLines);
    root->Switchboards.Cursor = switchboard;
    switchboard->Panels.Cursor = second;
    if (Hooks.DistributeCurrentPanel) Hooks.DistributeCurrentPanel();

    RestoreGroupLines(*root, first->PanelNumber, secondLines);
    root->Switchboards.Cursor = switchboard;
    switchboard->Panels.Cursor = first;
    if (Hooks.DistributeCurrentPanel) Hooks.DistributeCurrentPanel();

    const TreeLists lists = CollectTreeLists(*root);
    Lists().SetGroupNames(lists.groupNames);
    Lists().SetGroupEntryPanelList(lists.panelNumbers);
    Lists().SetGroupCountCopy(0, first->SchemeGroupCount);
    Lists().SetGroupCountCopy(1, first->SinglePhaseCount);
    Lists().SetGroupCountCopy(2, first->TwoPhaseCount);
    Lists().SetGroupCountCopy(3, first->ThreePhaseCount);

    root->Switchboards.Cursor = switchboard;
    switchboard->Panels.Cursor = first;
}

// ---------------------------------------------------------------------------------------------
// Switchboard node exchange

void TreeEditing::ExchangeSwitchboardNode(TGrsed* target) {
    TGrsed* root = ProjectRoot;
    if (!root || !target || IndexOf(SwitchboardsOf(*root), target) < 0) return;
    TGrsed* last = root->Switchboards.Last;
    if (!last) return;

    root->Switchboards.Cursor = last;
    TSitid* lastFirstPanel = last->Panels.First;
    TSitid* lastLastPanel = last->Panels.Last;
    root->Switchboards.Cursor = target;

    const TGrsedFields targetFields = *target;
    static_cast<TGrsedFields&>(*target) = static_cast<const TGrsedFields&>(*last);
    static_cast<TGrsedFields&>(*last) = targetFields;

    // A target that still holds panels hands them to the tail, which its caller then removes
    // with them; an emptied target (the designed sequence) leaves the tail's links as they are.
    if (target != last && target->Panels.First) {
        last->Panels.First = target->Panels.First;
        last->Panels.Last = target->Panels.Last;
    }
    target->Panels.First = lastFirstPanel;
    target->Panels.Last = lastLastPanel;
    target->Panels.Cursor = target->Panels.Walker = lastFirstPanel;
}
