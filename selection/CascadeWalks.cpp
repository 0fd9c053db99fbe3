// Walks over cascades of panels (a head fed from the switchboard, members fed in turn from it):
// the list order that keeps each cascade behind its head, and the helpers that spread one table
// or one cross-section over a trunk and add up its length.
#include <algorithm>
#include <optional>

#include "model/Classd.h"
#include "model/TreeEditing.h"
#include "refdb/CableTableLoader.h"
#include "selection/EquipmentSelection.h"
#include "selection/SelectionSupport.h"
#include "selection/TreeEdits.h"

namespace {

// A head of p's cascade: fed from the switchboard and numbered as p's head, or p itself.
bool IsHeadFor(const TSitid& q, const TSitid& p) {
    return q.FedFromSwitchboard && (q.PanelNumber == p.CascadeHeadNumber || &q == &p);
}

bool IsMemberOf(const TSitid& q, int headNumber) {
    return q.FedFromPanel && q.CascadeHeadNumber == headNumber;
}

// Exchanges the places of two panels of the switchboard, each keeping its fields and group lines.
void Exchange(TGrsed& sw, TSitid* a, TSitid* b) {
    selection::TreeEdits().SwapPanels(&sw, a, b);
}

}  // namespace

void EquipmentSelection::PlaceHeadsFirst(TSitid* panel) {
    TGrsed* sw = selection::CurrentSwitchboard();
    if (!panel || !sw) return;
    // The list nodes stay where they are; exchanging two panels exchanges what the nodes hold.
    const std::vector<TSitid*> nodes = selection::PanelsToChainEnd(*sw);
    for (std::size_t i = 0; i < nodes.size(); ++i) {
        if (!nodes[i]->FedFromSwitchboard) continue;
        std::size_t h = i;
        const int number = nodes[i]->PanelNumber;
        for (std::size_t m = 0; m < nodes.size(); ++m) {
            if (m < h && IsMemberOf(*nodes[m], number)) {
                Exchange(*sw, nodes[h], nodes[m]);
                h = m;
            }
        }
    }
}

void EquipmentSelection::ReorderCascade(TSitid* panel) {
    TGrsed* sw = selection::CurrentSwitchboard();
    if (!panel || !sw) return;
    const int number = panel->PanelNumber;
    PlaceHeadsFirst(panel);
    const std::vector<TSitid*> nodes = selection::PanelsToChainEnd(*sw);

    // The members of each cascade in ascending Position.
    for (std::size_t i = 0; i < nodes.size(); ++i) {
        if (!nodes[i]->FedFromPanel) continue;
        for (std::size_t j = i + 1; j < nodes.size(); ++j) {
            const TSitid& c = *nodes[i];
            if (IsMemberOf(*nodes[j], c.CascadeHeadNumber) && nodes[j]->Position < c.Position)
                Exchange(*sw, nodes[i], nodes[j]);
        }
    }

    // Each cascade contiguous behind its head.
    for (std::size_t i = 0; i < nodes.size(); ++i) {
        if (!nodes[i]->FedFromSwitchboard) continue;
        const int head = nodes[i]->PanelNumber;
        ProjectRoot->Switchboards.Cursor = sw;
        const std::size_t members = static_cast<std::size_t>(
            std::max(selection::TreeEdits().NumberPanelCascade(nodes[i]), 0));
        for (std::size_t k = i + 1; k <= i + members && k < nodes.size(); ++k) {
            if (IsMemberOf(*nodes[k], head)) continue;
            for (std::size_t j = k + 1; j < nodes.size(); ++j) {
                if (IsMemberOf(*nodes[j], head)) {
                    Exchange(*sw, nodes[k], nodes[j]);
                    break;
                }
            }
        }
    }

    // The given panel, wherever its fields now stand.
    ProjectRoot->Switchboards.Cursor = sw;
    sw->Panels.Cursor = panel;
    for (TSitid* q : nodes)
        if (q->PanelNumber == number) sw->Panels.Cursor = q;
}

void EquipmentSelection::SeekCascadeFeederSection(TSitid* panel) {
    TGrsed* sw = selection::CurrentSwitchboard();
    if (!panel || !sw) return;
    selection::WalkUpChain(
        *sw, panel, [](TSitid& q) { return selection::CascadeSection(q) > 0; }, [](TSitid&) {});
}

bool EquipmentSelection::CascadeHasGroups(TSitid* panel) {
    TGrsed* sw = selection::CurrentSwitchboard();
    if (!panel || !sw) return false;
    for (const TSitid* q : selection::PanelsToChainEnd(*sw))
        if (IsHeadFor(*q, *panel) && q->SchemeGroupCount > 0) return true;
    if (panel->SchemeGroupCount > 0) return true;
    for (const TSitid* q : selection::ChainBelow(*sw, panel))
        if (q->SchemeGroupCount > 0) return true;
    return false;
}

void EquipmentSelection::ApplyTrunkTable(TSitid* panel, const std::string& brand,
                                         const std::string& table) {
    TGrsed* sw = selection::CurrentSwitchboard();
    if (!panel || !sw || !panel->CascadeFlag) return;
    std::vector<TSitid*> trunk;
    for (TSitid* q : selection::PanelsToChainEnd(*sw))
        if (IsHeadFor(*q, *panel)) trunk.push_back(q);
    for (TSitid* q : selection::ChainBelow(*sw, panel)) trunk.push_back(q);
    // What each member holds of the table comes with the name: its sections, the zero
    // conductor's column and the material (the member kept those of its old table, which the
    // name no longer described, and opening the project gave it others).
    std::optional<refdb::CableSections> read;
    if (refdb::OpenCableTable(table)) read = refdb::ReadOpenCableSections();
    for (TSitid* q : trunk) {
        q->FeederCableBrand = brand;
        q->CurrentTableName = table;
        if (!read || read->sections.empty()) continue;
        q->FeederSections = read->sections;
        q->FeederZeroSections = read->zeroColumn ? read->zeroSections : std::vector<double>();
        q->FeederSectionCount = static_cast<int>(read->sections.size());
        q->ZeroCoreTable = read->zeroColumn ? 1 : 0;
        q->FeederConductorMaterial = read->material;
    }
}

void EquipmentSelection::CascadeMaxCrossSection(TSitid* panel) {
    TGrsed* sw = selection::CurrentSwitchboard();
    if (!panel || !sw) return;
    double largest = 0.0;
    const auto note = [&](TSitid& q) { largest = std::max(largest, selection::CascadeSection(q)); };
    selection::WalkUpChain(
        *sw, panel,
        [&](TSitid& q) {
            note(q);
            return false;
        },
        note);
    // Members below the first sized one keep no section.
    bool sized = false;
    selection::WalkUpChain(
        *sw, panel,
        [&](TSitid& q) {
            if (selection::CascadeSection(q) != 0) sized = true;
            if (sized) selection::CascadeSection(q) = largest;
            return false;
        },
        [&](TSitid& q) { selection::CascadeSection(q) = largest; });
}

double EquipmentSelection::CascadeLength(TSitid* panel) {
    TGrsed* sw = selection::CurrentSwitchboard();
    if (!panel || !sw) return 0.0;
    if (panel->FedFromSwitchboard) {
        panel->CascadeLength = panel->FeederLength;
        return panel->CascadeLength;
    }
    TSitid* head = selection::CascadeHeadOf(*sw, panel);
    if (!head) return 0.0;
    sw->Panels.Cursor = head;
    double length = head->FeederLength;
    for (TSitid* q : selection::PanelsInFeedOrder(*sw)) {
        if (IsMemberOf(*q, head->PanelNumber)) {
            length += q->FeederLength;
            q->CascadeLength = length;
        }
    }
    return length;
}

void EquipmentSelection::SetCascadeLargestSections(TSitid* panel) {
    TGrsed* sw = selection::CurrentSwitchboard();
    if (!panel || !sw) return;
    const auto largest = [](TSitid& q) {
        selection::CascadeSection(q) =
            selection::LastSection(q.FeederSections, q.FeederSectionCount);
    };
    bool sized = false;
    selection::WalkUpChain(
        *sw, panel,
        [&](TSitid& q) {
            if (selection::CascadeSection(q) > 0) sized = true;
            if (sized) largest(q);
            return false;
        },
        largest);
}
