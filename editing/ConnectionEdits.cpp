// The edit layouts of the connection window: a panel's or a main switchboard's connection
// changed, in place or by rebuilding it with its group lines, and put back when a check refuses
// the change.
#include <algorithm>
#include <cmath>
#include <optional>

#include "app/DialogForm.h"
#include "app/Mainform.h"
#include "app/SchemeWindow.h"
#include "drawings/PanelChooser.h"
#include "editing/CableTables.h"
#include "editing/EditDialog.h"
#include "editing/EditLists.h"
#include "editing/FeederEntries.h"
#include "editing/Shiti12.h"
#include "editing/TreeCursors.h"
#include "groups/Dan12.h"
#include "model/Chains.h"
#include "model/TreeEditing.h"
#include "platform/Choices.h"
#include "platform/ClientDataSet.h"
#include "platform/Conversions.h"
#include "platform/Events.h"
#include "platform/Messages.h"
#include "selection/SelectionSupport.h"
#include "selection/TreeEdits.h"

namespace {

using editing::ClearBreakerTypes;
using editing::InCascade;
using editing::PutBack;

constexpr char kDemandFactorRange[] = "Коэффициент спроса больше 0 и меньше 1.";
constexpr char kBreakerQuestion[] =
    "Автоматы можно установить автоиатически или вручную.\nУстановить автоматически?";

bool Hanging(const TSitid& panel) {
    return panel.OnTrunk || panel.PanelFlagC;
}

// The trunk the panel is in numbered again from its head, and the head's feeder cables chosen.
void RenumberCascade(TreeEditing& tree, TDan1& d, TGrsed& sw, TSitid& panel) {
    tree.SelectCascadeHead(&panel);
    if (InCascade(panel) && sw.Panels.Cursor) {
        TSitid* head = sw.Panels.Cursor;
        tree.NumberPanelCascade(head);
        d.SelectCascadeFeederCables(head, true);
    }
}

// The group line window's conductor list on the kind of the panel's last group line.
void ShowLastGroupConductors(TDan1& d, const TSitid& panel) {
    if (const TCxemaGrupd* g = panel.SchemeGroups.Last; g && g->PhaseKind >= 2 && g->PhaseKind <= 4)
        d.ComboBox1->setCurrentIndex(g->PhaseKind - 2);
}

double Largest(double a, double b, double c) {
    return std::max({a, b, c});
}

// The panels that name `from` as their feeding panel, trunk head or the panel they hang on name
// `to` instead (the panel was renumbered).
void RepointPanelNumber(TGrsed& sw, int from, int to) {
    if (from == to) return;
    for (TSitid* p : chains::PanelsOf(sw)) {
        if (p->FeedingPanelNumber == from) p->FeedingPanelNumber = to;
        if (p->CascadeHeadNumber == from) p->CascadeHeadNumber = to;
        if (p->HangsOnPanel == from) p->HangsOnPanel = to;
    }
}

void MarkProjectChanged() {
    if (!Form1) return;
    Form1->ProjectSaved = 0;
    Form1->ToolButton4->setEnabled(true);
}

// The group lines of the copies that hang on copy j, behind copy j's own: the working tables of
// a rebuild (entry j only; the other entries stay empty). A copy marked both ways is taken once.
// The hanging copies follow in copy order (a panel's rebuild) or, `byMark`, those with a
// separate breaker first (a switchboard's re-creation).
SavedGroupTables FoldedGroupTables(const TForm3& form, int j, bool byMark) {
    SavedGroupTables tables;
    tables.Ensure(std::max(j, form.GroupSnapshots.Entries() - 1));
    const std::vector<TSitid>& copies = form.PanelCopies;
    const auto append = [&](int p) {
        const SavedGroupTables& saved = form.GroupSnapshots;
        const int records = std::min(
            saved.Records(p), form.GroupSnapshotCounts[0].size() > static_cast<std::size_t>(p)
                                  ? form.GroupSnapshotCounts[0][p]
                                  : 0);
        for (int i = 0; i < records; ++i) {
            const TCxemaGrupd& scheme = saved.Scheme[p][i];
            tables.Scheme[j].push_back(scheme);
            // The phase records of another name stay at their defaults.
            tables.Single[j].push_back(i < static_cast<int>(saved.Single[p].size()) &&
                                               saved.Single[p][i].GroupName1 == scheme.GroupName
                                           ? saved.Single[p][i]
                                           : TFasaGrup1d());
            tables.Two[j].push_back(i < static_cast<int>(saved.Two[p].size()) &&
                                            saved.Two[p][i].GroupName2 == scheme.GroupName
                                        ? saved.Two[p][i]
                                        : TFasaGrup2d());
            tables.Three[j].push_back(i < static_cast<int>(saved.Three[p].size()) &&
                                              saved.Three[p][i].GroupName3 == scheme.GroupName
                                          ? saved.Three[p][i]
                                          : TFasaGrup3d());
        }
    };
    append(j);
    const int number = copies[j].PanelNumber;
    const auto hangs = [&](int p) { return p != j && copies[p].HangsOnPanel == number; };
    const int count = static_cast<int>(copies.size());
    if (!byMark) {
        for (int p = 0; p < count; ++p)
            if (hangs(p) && (copies[p].OnTrunk || copies[p].PanelFlagC)) append(p);
        return tables;
    }
    for (int p = 0; p < count; ++p)
        if (hangs(p) && copies[p].OnTrunk) append(p);
    for (int p = 0; p < count; ++p)
        if (hangs(p) && copies[p].PanelFlagC && !copies[p].OnTrunk) append(p);
    return tables;
}

// The checks of a re-added line choose the feeders for their breakers' current alone, and store
// the voltage losses of those cables; the raising that follows (for the fault current to trip the
// breakers) may give the feeders larger sections. The losses the next lines are checked with are
// those of the cables the feeders now have.
void StoreLossesOfRaisedCables(TDan1& d, TGrsed& sw, TSitid& panel) {
    PutBack(&sw, &panel);
    d.CheckSwitchboardCables();
    PutBack(&sw, &panel);
    d.CheckPanelCables();
    if (panel.OnTrunk) {
        PutBack(&sw, &panel);
        d.CheckShiftedPanelCables();
    }
    PutBack(&sw, &panel);
    d.SumPanelVoltageLosses();
}

int SavedSchemeCount(const TForm3& form, int p) {
    const std::vector<int>& counts = form.GroupSnapshotCounts[0];
    const int counted = p >= 0 && p < static_cast<int>(counts.size()) ? counts[p] : 0;
    return std::min(counted, form.GroupSnapshots.Records(p));
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Leaving an editor

void TShiti::Button3Click() {
    if (Form3) Form3->EndEdit();
    close();
}

void TShiti::Button5Click() {
    if (Form3) Form3->EndEdit();
    ComboBox3->setEnabled(true);
    ComboBox5->setEnabled(true);
    close();
}

void TShiti::Button6Click() {
    ComboBox3->setEnabled(true);
    ComboBox5->setEnabled(true);
    // The rebuild's passes and its refresh check every table file once.
    platform::FileCheckBatch batch;
    ChangePanelConnection();
}

void TShiti::Button7Click() {
    platform::FileCheckBatch batch;
    ChangeSwitchboardConnection();
}

// ---------------------------------------------------------------------------------------------
// Panel connection

bool TShiti::ValidatePanelEdit() {
    TForm3& form = *Form3;
    const TSitid* edited = form.SavedPanel;
    const std::string lengthText = platform::Text(*Edit4);
    if (lengthText.empty() || lengthText == "0") {
        editing::Warn(editing::kEnterLength);
        return false;
    }
    double factor = 0;
    if (!platform::TryStrToFloat(platform::Text(*Edit9), factor) || !std::isfinite(factor) ||
        factor > 1.0 || factor <= 0.0) {
        editing::Warn(kDemandFactorRange);
        return false;
    }
    double length = 0;
    if (!editing::ReadLength(*Edit4, length)) {
        editing::Warn(editing::kEnterLength);
        return false;
    }
    if (ComboBox3->currentIndex() < 0) {
        editing::Warn(editing::kOpenTable);
        return false;
    }
    int number = 0;
    if (!editing::ReadInt(*Edit1, number)) {
        editing::Warn(editing::kEnterPanelNumber);
        return false;
    }
    if (number == 0) {
        editing::Warn(editing::kPanelNumberZero);
        return false;
    }
    // Every panel of the project counts, those hanging on another panel too.
    for (const TGrsed* sw : chains::SwitchboardsOf(*ProjectRoot)) {
        for (const TSitid* p : chains::PanelsOf(*sw)) {
            if (p != edited && p->PanelNumber == number) {
                editing::Warn(editing::kPanelNumberTaken);
                return false;
            }
        }
    }
    int temperature = 0;
    if (!editing::ReadInt(*Edit5, temperature)) {
        editing::Warn(editing::kEnterTemperature);
        return false;
    }
    if (temperature < editing::kLowestTemperature || temperature > editing::kHighestTemperature) {
        editing::Warn(editing::kTemperatureRange);
        return false;
    }
    const std::string cable = platform::Text(*Edit8);
    if (const std::string problem = editing::CableNameProblem(cable); !problem.empty()) {
        editing::Say(problem);
        return false;
    }
    const std::string own = edited ? edited->FeederCableName : std::string();
    if (cable != own &&
        std::find(CableNames.begin(), CableNames.end(), cable) != CableNames.end()) {
        editing::Say(editing::kCableNameTaken);
        return false;
    }
    return true;
}

void TShiti::ChangePanelConnection() {
    TGrsed* root = ProjectRoot;
    if (!root || !Form3 || !Dan1) return;
    TForm3& form = *Form3;
    TGrsed* sw = form.SavedSwitchboard;
    TSitid* panel = form.SavedPanel;
    if (!sw || !panel || form.PanelCopies.empty()) return;
    if (!ValidatePanelEdit()) return;

    // Whether the calculation is touched: the texts against the stored values.
    const bool rebuild = platform::Text(*Edit4) != platform::FloatToStr(panel->FeederLength) ||
                         platform::Text(*ComboBox3) != panel->CurrentTableName ||
                         platform::Text(*Edit5) != platform::IntToStr(panel->FeederTemperature) ||
                         platform::Text(*Edit9) != platform::FloatToStr(panel->DemandFactor);
    const int number = platform::StrToInt(platform::Text(*Edit1));
    applying_ = true;
    if (!rebuild) {
        close();
        applying_ = false;
        const int old = panel->PanelNumber;
        panel->PanelNumber = number;
        panel->FeederCableName = platform::Text(*Edit8);
        RepointPanelNumber(*sw, old, number);
        editing::RefillGroupEntryLists();
        form.ComboBox4Change(this);
        MarkProjectChanged();
        form.EndEdit();
        Dan1->ApplyAndRefresh(this);
        return;
    }

    // Rebuilding: the demand factor no lower than the largest group line asks for.
    double k = 1.0;
    platform::TryStrToFloat(platform::Text(*Edit9), k);
    long double largest = 0;
    for (const TCxemaGrupd* g :
         chains::Elements(panel->SchemeGroups, chains::SchemeLink{}, panel->SchemeGroupCount))
        largest = std::max(largest, g->Power);
    const double installed = panel->InstalledPower;
    const double needed = platform::RoundTo(static_cast<double>(largest), 0);
    if (installed > 0.0 && platform::RoundTo(installed * k, 0) < needed) {
        k = std::min(1.0, needed / installed);
        Edit9->setText(platform::Q(platform::FloatToStr(k)));
        editing::Say("Коэффициент спроса должен быть не меньше " + platform::Text(*Edit9));
    }
    close();
    applying_ = false;
    RebuildPanel(k);
}

void TShiti::RebuildPanel(double k) {
    TForm3& form = *Form3;
    TDan1& d = *Dan1;
    TGrsed* sw = form.SavedSwitchboard;
    TSitid* panel = form.SavedPanel;
    if (ProjectRoot) form.PanelEditValues = BranchValues::Of(*ProjectRoot, sw);
    if (Form2) Form2->repaint();
    platform::WaitCursor hourglass;
    form.PanelEditMode = 1;
    PanelToRestore = panel;
    d.RemedyActive = 0;
    platform::ChooseText(*ComboBox2, platform::IntToStr(sw->SwitchboardNumber));
    ComboBox2Change();

    // The panel's group lines, and the panels hanging on it, come off.
    PutBack(sw, panel);
    const int oldNumber = panel->PanelNumber;
    TreeEditing& tree = selection::TreeEdits();
    if (panel->PanelFlagB) {
        tree.DeletePanelsFedFrom(panel);
        PutBack(sw, panel);
    }
    form.DeletePanelGroups(panel);
    PutBack(sw, panel);

    // The copy that carries the hanging panels' group lines (the edited panel's, when any).
    const std::vector<TSitid>& copies = form.PanelCopies;
    int last = 0;
    for (int j = 0; j < static_cast<int>(copies.size()); ++j)
        if (copies[j].PanelFlagB) last = j;
    const bool folded = copies[last].PanelFlagB != 0;
    const SavedGroupTables working =
        folded ? FoldedGroupTables(form, last, false) : SavedGroupTables();
    d.GroupCountCopies = {0, 0, 0, 0};

    // The panel refilled where it stands.
    const TSitid& copyL = copies[last];
    const std::string tableName = platform::Text(*ComboBox3);
    const std::optional<editing::FeederTable> table = editing::ReadFeederTable(tableName);
    const std::array<double, 3> spare = panel->SparePanelValues;
    static_cast<TSitidFields&>(*panel) = TSitidFields();
    panel->SparePanelValues = spare;
    panel->PanelBreakerType = copies[0].PanelBreakerType;
    panel->PanelNumber = platform::StrToInt(platform::Text(*Edit1));
    editing::ReadLength(*Edit4, panel->FeederLength);
    panel->CurrentTableName = tableName;
    panel->FeederLayingMethod = platform::Text(*ComboBox5);
    panel->FeederTemperature = platform::StrToInt(platform::Text(*Edit5));
    panel->FeederCableName = platform::Text(*Edit8);
    panel->PanelFlagB = copyL.PanelFlagB;
    panel->FedFromPanel = copyL.FedFromPanel;
    panel->FedFromSwitchboard = copyL.FedFromSwitchboard;
    panel->FeedingPanelNumber = copyL.FeedingPanelNumber;
    panel->CascadeFlag = copyL.CascadeFlag;
    panel->CascadeHeadNumber = copyL.CascadeHeadNumber;
    panel->Position = copyL.Position;
    panel->CascadeLength = copyL.CascadeLength;
    panel->DemandFactor = k;
    // The sections of the table now chosen (the copy's when it cannot be read).
    if (table) {
        panel->FeederConductorMaterial = table->material;
        panel->FeederSections = table->sections;
        panel->FeederZeroSections = table->zeroColumn ? table->zeroSections : std::vector<double>();
        panel->FeederSectionCount = static_cast<int>(table->sections.size());
        panel->ZeroCoreTable = table->zeroColumn ? 1 : 0;
    } else {
        panel->FeederConductorMaterial = copyL.FeederConductorMaterial;
        panel->FeederSections = copyL.FeederSections;
        panel->FeederZeroSections = copyL.FeederZeroSections;
        panel->FeederSectionCount = copyL.FeederSectionCount;
        panel->ZeroCoreTable = copyL.ZeroCoreTable;
    }
    if (Form5) Form5->PanelNumber = panel->PanelNumber;
    if (InCascade(*panel))
        panel->TrunkBreakerType = copyL.TrunkBreakerType;
    else
        panel->PanelBreakerType = copyL.PanelBreakerType;
    const int newNumber = panel->PanelNumber;
    RepointPanelNumber(*sw, oldNumber, newNumber);
    if (panel->FedFromSwitchboard) panel->CascadeHeadNumber = newNumber;
    if (InCascade(*panel)) {
        PutBack(sw, panel);
        tree.SelectCascadeHead(panel);
        if (TSitid* head = sw->Panels.Cursor) {
            d.ReorderCascade(head);
            PutBack(sw, panel);
            tree.SelectCascadeHead(panel);
            if (TSitid* h = sw->Panels.Cursor)
                d.ApplyTrunkTable(h, panel->FeederConductorMaterial, tableName);
        }
    }
    PutBack(sw, panel);

    // The group lines to put back: the panel's own, and those of the panels that hung on it.
    const int n = folded ? working.Records(last) : SavedSchemeCount(form, 0);
    panel->SchemeGroupCount = panel->SinglePhaseCount = panel->TwoPhaseCount =
        panel->ThreePhaseCount = panel->RowsOfThree = 0;
    editing::RefillGroupEntryLists();
    platform::ChooseText(*d.ComboBox2, platform::IntToStr(newNumber));
    d.ComboBox2Change();
    PutBack(sw, panel);
    ShowWaitNotice(Form1);
    d.SelectSwitchboardSectionForBreaker();
    PutBack(sw, panel);
    if (n == 0) {
        d.RecalculateNetwork();
        PutBack(sw, panel);
        if (!form.RecalcAfterEdit(this)) {
            AbandonPanelEdit(false);
            return;
        }
    }

    const bool automatic =
        platform::MessageBox(kBreakerQuestion, "Установка автоматов.", platform::MsgButtons::YesNo,
                             platform::MsgIcon::Warning) == platform::mrYes;
    AutoBreakers = true;
    if (n > 0 && !ReAddPanelGroups(panel, n, folded ? working : form.GroupSnapshots,
                                   folded ? last : 0, k, automatic))
        return;

    // Finished.
    if (!d.RemedyActive) panel->PanelFlagB = 0;
    for (TSitid* p : chains::PanelsOf(*sw)) p->RebuildMark = 0;
    form.DropUndoCopies();
    form.PanelEditMode = 0;
    d.RemedyActive = 0;
    PanelToRestore = nullptr;
    d.RefreshAndClose(this);
    editing::RefillGroupEntryLists();
    editing::RefillSwitchboardList();
    MarkProjectChanged();
}

bool TShiti::ReAddPanelGroups(TSitid* panel, int n, const SavedGroupTables& tables, int position,
                              double k, bool automatic) {
    TForm3& form = *Form3;
    TDan1& d = *Dan1;
    TGrsed* sw = form.SavedSwitchboard;
    TreeEditing& tree = selection::TreeEdits();
    PutBack(sw, panel);
    ClearBreakerTypes(*ProjectRoot, *sw, *panel);
    TSitid* working = panel;
    TSitid* remembered = panel;
    int c = 0;
    for (int i = 0; i < n; ++i) {
        TSitid* current = ProjectRoot->CurrentPanel();
        if (!automatic) {
            if (i == n - 1) AutoBreakers = false;
            if (current) ClearBreakerTypes(*ProjectRoot, *sw, *current);
        }
        ++c;
        if (!d.RemedyActive) {
            remembered = ProjectRoot->CurrentPanel();
            if (remembered) remembered->DemandFactor = i < 2 ? 1.0 : k;
        } else {
            // A group line went to a new panel: the following ones go there too.
            TSitid* added = sw->Panels.Last;
            PutBack(sw, added);
            ClearBreakerTypes(*ProjectRoot, *sw, *added);
            added->PanelBreakerType.clear();
            c = 0;
            added->RebuildMark = 1;
            added->DemandFactor =
                added->SchemeGroupCount < 2 || (remembered && remembered->DemandFactor == 1.0) ? 1.0
                                                                                               : k;
        }
        current = ProjectRoot->CurrentPanel();
        if (current && current->DemandFactor < 1.0 && c == 3)
            ClearBreakerTypes(*ProjectRoot, *sw, *current);
        form.RestoreGroupRecord(position, i, tables);
        current = ProjectRoot->CurrentPanel();
        if (!current) break;
        current->SchemeGroups.Cursor = current->SchemeGroups.Last;
        working = current;
        ShowLastGroupConductors(d, *current);

        // The feeder's table must carry the panel's current.
        double load = Largest(current->OwnCurrentA, current->OwnCurrentB, current->OwnCurrentC);
        if (InCascade(*current)) {
            const TSitid* head = selection::CascadeHeadOf(*sw, current);
            load = current->FedFromSwitchboard || current->CascadeFlag
                       ? (head ? Largest(head->CascadeCurrentA, head->CascadeCurrentB,
                                         head->CascadeCurrentC)
                               : 0.0)
                       : Largest(current->CascadeCurrentA, current->CascadeCurrentB,
                                 current->CascadeCurrentC);
        }
        if (d.CheckCurrentTableRow(current->CurrentTableName, load)) {
            AbandonPanelEdit(true);
            return false;
        }
        PutBack(sw, working);
        RenumberCascade(tree, d, *sw, *working);
        PutBack(sw, working);
        d.SelectSwitchboardSectionForBreaker();
        d.SelectPanelSectionForBreaker();
        PutBack(sw, working);
        working->SchemeGroups.Cursor = working->SchemeGroups.Last;
        if (!form.RecalcAfterEdit(this)) {
            AbandonPanelEdit(false);
            return false;
        }
        // The group window's rollback copies follow the project as it now stands.
        PutBack(sw, ProjectRoot->CurrentPanel() ? ProjectRoot->CurrentPanel() : working);
        d.TakeProjectSnapshot();
        PutBack(sw, working);
    }
    return true;
}

void TShiti::AbandonPanelEdit(bool tableRefused) {
    TForm3& form = *Form3;
    TDan1& d = *Dan1;
    TGrsed* sw = form.SavedSwitchboard;
    if (tableRefused) {
        form.ComboBox4Change(this);
        if (sw && sw->Panels.Last)
            platform::ChooseText(*form.ComboBox3, platform::IntToStr(sw->Panels.Last->PanelNumber));
    }
    // The panel goes back as it was, once, whichever check refused it.
    TSitid* panel = PanelToRestore ? PanelToRestore : form.SavedPanel;
    if (!form.PanelRestoredFlag && panel) {
        PutBack(sw, panel);
        RestorePanelFromSnapshot(panel);
    }
    if (tableRefused && panel && InCascade(*panel)) {
        PutBack(sw, panel);
        TreeEditing& tree = selection::TreeEdits();
        tree.SelectCascadeHead(panel);
        if (TSitid* head = sw->Panels.Cursor)
            d.ApplyTrunkTable(head, head->FeederConductorMaterial, head->CurrentTableName);
    }
    form.DropUndoCopies();
    form.PanelEditMode = 0;
    form.PanelRestoredFlag = 0;
    PanelToRestore = nullptr;
    d.RemedyActive = 0;
    if (isVisible()) close();
    d.RefreshAndClose(this);
    editing::RefillGroupEntryLists();
    editing::RefillSwitchboardList();
}

void TShiti::RestorePanelFromSnapshot(TSitid* panel) {
    TGrsed* root = ProjectRoot;
    TGrsed* sw = root ? root->CurrentSwitchboard() : nullptr;
    if (!sw && Form3) sw = Form3->SavedSwitchboard;
    if (!sw || !panel || !Form3 || !Dan1 || Form3->PanelCopies.empty()) {
        PanelToRestore = nullptr;
        return;
    }
    TForm3& form = *Form3;
    TDan1& d = *Dan1;
    TreeEditing& tree = selection::TreeEdits();
    root->Switchboards.Cursor = sw;

    // The panels the new-panel remedy made meanwhile go.
    for (bool removed = true; removed;) {
        removed = false;
        const std::vector<TSitid*> panels = chains::PanelsOf(*sw);
        for (auto it = panels.rbegin(); it != panels.rend(); ++it) {
            if (!(*it)->RebuildMark || *it == panel) continue;
            root->Switchboards.Cursor = sw;
            tree.DeletePanel(*it);
            removed = true;
            break;
        }
    }
    form.PanelRestoredFlag = 1;
    const int switchboardNumber = sw->SwitchboardNumber;
    PutBack(sw, panel);

    const auto reAdd = [&](TSitid* target, int position) {
        PutBack(sw, target);
        d.GroupCountCopies = {0, 0, 0, 0};
        target->SchemeGroupCount = target->SinglePhaseCount = target->TwoPhaseCount =
            target->ThreePhaseCount = target->RowsOfThree = 0;
        const int count = SavedSchemeCount(form, position);
        for (int i = 0; i < count; ++i) {
            PutBack(sw, target);
            form.RestoreGroupRecord(position, i, form.GroupSnapshots);
        }
        PutBack(sw, target);
    };
    // The panel's own fields: the copy's, with the counts of the chains as rebuilt.
    const auto copyOver = [&](TSitid* target, const TSitid& copy) {
        const std::array<double, 3> spare = target->SparePanelValues;
        static_cast<TSitidFields&>(*target) = copy;
        target->SparePanelValues = spare;
        chains::CountGroupChains(*target);
    };

    const bool hadHanging = panel->PanelFlagB != 0;
    form.DeletePanelGroups(panel);
    reAdd(panel, 0);
    copyOver(panel, form.PanelCopies[0]);
    bool hangingBack = false;
    if (hadHanging) {
        const int copies = std::min<int>(form.PanelCopyCount, form.PanelCopies.size());
        for (int k = 1; k < copies; ++k) {
            const TSitid copy = form.PanelCopies[k];
            d.OpenCurrentTable(copy.CurrentTableName);
            if (copy.OnTrunk) hangingBack = true;
            root->AddPanel(switchboardNumber, copy);
            root->Switchboards.Cursor = sw;
            sw->PanelCount = chains::Length(sw->Panels, chains::PanelLink{});
            PanelCounter = sw->PanelCount;
            TSitid* added = sw->Panels.Last;
            copyOver(added, copy);
            reAdd(added, k);
            copyOver(added, copy);
        }
    }
    // The root's and the switchboard's own fields as they were; the chains stay as they are.
    const int switchboards = root->SwitchboardCount;
    if (form.ProjectCopy) TForm3::PutSwitchboardLevelBack(*root, *form.ProjectCopy);
    root->SwitchboardCount = switchboards;
    if (form.SwitchboardCopy) TForm3::PutSwitchboardLevelBack(*sw, *form.SwitchboardCopy);
    sw->PanelCount = chains::Length(sw->Panels, chains::PanelLink{});
    // Panels hanging on another one stood at the end: the refresh puts them behind it.
    if (hangingBack) sw->ChangedMark = 1;
    for (std::size_t i = 0; i < chains::PanelsOf(*sw).size(); ++i)
        chains::PanelsOf(*sw)[i]->Position = static_cast<int>(i) + 1;

    PutBack(sw, panel);
    form.RecalcAfterEdit(nullptr);
    root->Switchboards.Cursor = sw;
    form.RecalcSwitchboardGroups();
    // Everything the refused rebuild left behind in the switchboard (the panels' places, a trunk
    // table given to the other members, a section raised for a trip) as it was before it; the
    // per-phase results are distributed again from the records put back.
    if (form.PanelEditValues.PutBack(*root)) {
        d.RecalculateNetwork();
        form.PanelEditValues.PutBack(*root);
    }
    PutBack(sw, panel);
    editing::RefillGroupEntryLists();
    PanelToRestore = nullptr;
}

// ---------------------------------------------------------------------------------------------
// Main switchboard connection

void TShiti::ChangeSwitchboardConnection() {
    TGrsed* root = ProjectRoot;
    if (!root || !Form3 || !Dan1) return;
    TForm3& form = *Form3;
    form.SwitchboardEditMode = 1;
    if (!ValidateSwitchboardConnection()) return;
    const TGrsed* copy = form.SwitchboardCopy.get();
    if (!copy) return;
    applying_ = true;
    close();
    applying_ = false;
    const bool recreate =
        platform::Text(*Edit3) != platform::FloatToStr(copy->SwitchboardFeederLength) ||
        platform::Text(*ComboBox1) != copy->SwitchboardTable ||
        platform::Text(*Edit6) != platform::IntToStr(copy->SwitchboardTemperature);
    if (recreate) {
        RecreateSwitchboard();
        return;
    }
    TGrsed* target = nullptr;
    for (TGrsed* sw : chains::SwitchboardsOf(*root))
        if (!target && sw->SwitchboardNumber == copy->SwitchboardNumber) target = sw;
    if (target) {
        root->Switchboards.Cursor = target;
        target->SwitchboardNumber = platform::StrToInt(platform::Text(*Edit2));
        target->SwitchboardCableName = platform::Text(*Edit7);
    }
    form.EndEdit();
    Dan1->ApplyAndRefresh(this);
    editing::RefillSwitchboardList();
    editing::RefillGroupEntryLists();
    if (target) MarkProjectChanged();
}

void TShiti::RecreateSwitchboard() {
    TGrsed& root = *ProjectRoot;
    TForm3& form = *Form3;
    if (Form2) Form2->repaint();
    platform::WaitCursor hourglass;
    ShowWaitNotice(Form1);

    TGrsed* old = ChosenEditedSwitchboard();
    // The switchboard is no longer in the project: nothing is changed.
    if (!old) {
        form.EndEdit();
        Dan1->ApplyAndRefresh(this);
        return;
    }
    selection::TreeEdits().DeleteSwitchboardNode(old);
    form.SavedSwitchboard = nullptr;
    form.SavedPanel = nullptr;
    // The breaker of the section, chosen again for the switchboards that remain, refused the
    // edit and the switchboard is back from its copies: nothing is connected anew.
    if (form.EditTakenBack() || !ConnectSwitchboardToVru()) {
        AbandonSwitchboardEdit();
        return;
    }
    TGrsed* s = root.Switchboards.Last;
    root.Switchboards.Cursor = s;
    form.SavedSwitchboard = s;
    const bool automatic =
        platform::MessageBox(kBreakerQuestion, "Установка автоматов.", platform::MsgButtons::YesNo,
                             platform::MsgIcon::Warning) == platform::mrYes;
    AutoBreakers = true;
    editing::RefillSwitchboardList();
    form.ComboBox4->clear();
    for (const TGrsed* sw : chains::SwitchboardsOf(root))
        form.ComboBox4->addItem(platform::Q(platform::IntToStr(sw->SwitchboardNumber)));
    platform::ChooseText(*form.ComboBox4, platform::IntToStr(s->SwitchboardNumber));
    root.Switchboards.Cursor = s;

    const int copyCount = AddPlainPanelsAgain(*s);
    if (!AddGroupLinesAgain(s, copyCount, automatic)) {
        AbandonSwitchboardEdit();
        return;
    }

    editing::RefillGroupEntryLists();
    form.DropUndoCopies();
    Dan1->RefreshAndClose(this);
    form.SwitchboardEditMode = 0;
    editing::RefillGroupEntryLists();
    editing::RefillSwitchboardList();
    MarkProjectChanged();
}

TGrsed* TShiti::ChosenEditedSwitchboard() const {
    int number = 0;
    if (!platform::TryStrToInt(platform::Text(*Form3->ComboBox4), number)) return nullptr;
    for (TGrsed* sw : chains::SwitchboardsOf(*ProjectRoot))
        if (sw->SwitchboardNumber == number) return sw;
    return nullptr;
}

int TShiti::AddPlainPanelsAgain(TGrsed& s) {
    TGrsed& root = *ProjectRoot;
    TForm3& form = *Form3;
    TDan1& d = *Dan1;
    // The panels again, plain ones only: those that hung on another panel are folded into it.
    const std::vector<TSitid>& copies = form.PanelCopies;
    const int copyCount =
        std::min<int>(form.SwitchboardCopy->PanelCount, static_cast<int>(copies.size()));
    PanelCounter = 0;
    for (int i = 0; i < copyCount; ++i) {
        if (Hanging(copies[i])) continue;
        d.GroupCountCopies = {0, 0, 0, 0};
        root.AddPanel(s.SwitchboardNumber, copies[i]);
        root.Switchboards.Cursor = &s;
        ++PanelCounter;
        s.PanelCount = chains::Length(s.Panels, chains::PanelLink{});
        TSitid* added = s.Panels.Last;
        s.Panels.Cursor = added;
        added->Position = PanelCounter;
        added->PanelFlagB = 0;
        added->SchemeGroupCount = added->SinglePhaseCount = added->TwoPhaseCount =
            added->ThreePhaseCount = added->RowsOfThree = 0;
    }
    editing::RefillGroupEntryLists();
    for (TSitid* p : chains::PanelsOf(s)) {
        PutBack(&s, p);
        d.ReorderCascade(p);
    }
    return copyCount;
}

bool TShiti::AddGroupLinesAgain(TGrsed* s, int copyCount, bool automatic) {
    TGrsed& root = *ProjectRoot;
    TForm3& form = *Form3;
    TDan1& d = *Dan1;
    const std::vector<TSitid>& copies = form.PanelCopies;
    // The group lines, panel by panel from the last one.
    const std::vector<TSitid*> panels = chains::PanelsOf(*s);
    const int m = static_cast<int>(panels.size());
    TreeEditing& tree = selection::TreeEdits();
    for (int x = m - 1; x >= 0; --x) {
        TSitid* p = chains::PanelsOf(*s)[x];
        // A new panel made by the remedy takes the rest of its own panel's lines only: the
        // lines of the next panel go back to that panel (left set, they all went to the new
        // panel under counts begun afresh, and the refresh dropped them).
        d.RemedyActive = 0;
        d.GroupCountCopies = {0, 0, 0, 0};
        p->SchemeGroupCount = p->SinglePhaseCount = p->TwoPhaseCount = p->ThreePhaseCount =
            p->RowsOfThree = 0;
        int j = -1;
        for (int q = 0; q < copyCount && j < 0; ++q)
            if (!Hanging(copies[q]) && copies[q].PanelNumber == p->PanelNumber) j = q;
        if (j < 0) continue;
        const bool folded = copies[j].PanelFlagB != 0;
        const SavedGroupTables working =
            folded ? FoldedGroupTables(form, j, true) : SavedGroupTables();
        const SavedGroupTables& tables = folded ? working : form.GroupSnapshots;
        const int n = folded ? working.Records(j) : SavedSchemeCount(form, j);
        PutBack(s, p);
        if (n > 0) ClearBreakerTypes(root, *s, *p);
        const double demand = p->DemandFactor;
        TSitid* remembered = p;
        int c = 0;
        for (int k = 0; k < n; ++k) {
            TSitid* current = root.CurrentPanel();
            if (!automatic) {
                if (k == n - 1 && x == 0) AutoBreakers = false;
                if (current) ClearBreakerTypes(root, *s, *current);
            }
            ++c;
            if (!d.RemedyActive) {
                remembered = root.CurrentPanel();
                if (remembered) remembered->DemandFactor = k < 2 ? 1.0 : demand;
            } else {
                TSitid* added = s->Panels.Last;
                PutBack(s, added);
                c = 0;
                added->DemandFactor =
                    added->SchemeGroupCount < 2 || (remembered && remembered->DemandFactor == 1.0)
                        ? 1.0
                        : demand;
            }
            current = root.CurrentPanel();
            if (current && current->DemandFactor < 1.0 && c == 3)
                ClearBreakerTypes(root, *s, *current);
            d.FailureFlag = 0;
            form.RestoreGroupRecord(j, k, tables);
            TSitid* q = root.CurrentPanel();
            if (!q) break;
            q->SchemeGroups.Cursor = q->SchemeGroups.Last;
            RenumberCascade(tree, d, *s, *q);
            PutBack(s, q);
            d.SelectPanelSectionForBreaker();
            PutBack(s, q);
            q->SchemeGroups.Cursor = q->SchemeGroups.Last;
            const bool refused =
                d.CheckCurrentTableRow(s->SwitchboardTable, d.MaxSwitchboardPhaseCurrent()) ||
                (PutBack(s, q), !form.RecalcAfterEdit(this));
            if (refused) return false;
            PutBack(s, q);
            form.RecalcSwitchboardGroups();
            StoreLossesOfRaisedCables(d, *s, *q);
            PutBack(s, q);
            d.TakeProjectSnapshot();
            PutBack(s, q);
            ShowLastGroupConductors(d, *q);
        }
    }
    return true;
}

void TShiti::AbandonSwitchboardEdit() {
    TForm3& form = *Form3;
    editing::RefillGroupEntryLists();
    form.RebuildFromUndoCopy();
    editing::RefillSwitchboardList();
    if (isVisible()) close();
    form.DropUndoCopies();
    Dan1->RefreshAndClose(this);
    form.SwitchboardEditMode = 0;
    editing::RefillGroupEntryLists();
    editing::RefillSwitchboardList();
}
