// Loading a project file: the tree is read and checked whole, its reference tables attached, and
// only then it replaces the open project; everything the file does not carry is recalculated and
// the windows are filled from it.
#include <QComboBox>
#include <climits>
#include <map>
#include <optional>

#include "app/Mainform.h"
#include "app/ProjectFile.h"
#include "app/SchemeWindow.h"
#include "calc/Recalculation.h"
#include "documents/AdjustmentProject.h"
#include "editing/EditDialog.h"
#include "editing/Shiti12.h"
#include "groups/Dan12.h"
#include "model/Chains.h"
#include "platform/ClientDataSet.h"
#include "platform/Conversions.h"
#include "platform/Messages.h"
#include "refdb/BazaT.h"
#include "refdb/BazaTran.h"
#include "refdb/TableSchemas.h"

namespace {

// The transformer base has a row of that name.
bool TransformerInBase(const std::string& name) {
    if (!BazaTran) return false;
    platform::TClientDataSet& base = BazaTran->ClientDataSet2;
    if (!base.Active()) return false;
    for (base.First(); !base.Eof(); base.Next())
        if (base.FieldByName("Трансформатор").AsString() == name) return true;
    return false;
}

// What the records of a loaded project keep of a cable current table: its cross-sections in
// ascending order and, from a table of 8 fields, the zero-conductor sections beside them (7
// fields: none).
using TableSections = refdb::CableSections;

void AttachSections(const projectfile::CableTableRequest& request, const TableSections& t) {
    const int count = static_cast<int>(t.sections.size());
    const std::uint8_t zeroCore = t.fieldCount != 7 ? 1 : 0;
    if (TGrsed* sw = request.Switchboard) {
        sw->SwitchboardSectionCount = count;
        sw->SwitchboardSections = t.sections;
        if (t.fieldCount == 8) sw->SwitchboardZeroSections = t.zeroSections;
        sw->SwitchboardZeroCoreTable = zeroCore;
    } else if (TSitid* panel = request.Panel) {
        panel->FeederSectionCount = count;
        panel->FeederSections = t.sections;
        if (t.fieldCount == 8) panel->FeederZeroSections = t.zeroSections;
        panel->ZeroCoreTable = zeroCore;
    } else if (TCxemaGrupd* group = request.Group) {
        group->AllowedSectionCount = count;
        group->AllowedSections = t.sections;
    }
}

// Replaces a fixed list's items; none is chosen afterwards.
void FillNumberList(QComboBox* combo, const std::vector<std::string>& items) {
    if (!combo) return;
    combo->clear();
    for (const std::string& item : items) combo->addItem(QString::fromStdString(item));
    combo->setCurrentIndex(-1);
}

std::vector<TGrsed*> SwitchboardsOf(const TGrsed& root) {
    return chains::Elements(root.Switchboards, chains::SwitchboardLink{}, root.SwitchboardCount);
}

std::vector<TSitid*> PanelsOf(const TGrsed& sw) {
    return chains::Elements(sw.Panels, chains::PanelLink{}, sw.PanelCount);
}

std::vector<TCxemaGrupd*> SchemeGroupsOf(const TSitid& panel) {
    return chains::Elements(panel.SchemeGroups, chains::SchemeLink{}, panel.SchemeGroupCount);
}

// The opening's hooks into the reference tables the file names: the transformer must be in the
// base, and every cable table is opened once and its cross-sections given to each record that
// uses it. A refusal closes the wait cursor before it says why.
projectfile::LoadHooks OpeningHooks(std::map<std::string, TableSections>& tables,
                                    std::optional<platform::WaitCursor>& wait) {
    projectfile::LoadHooks hooks;
    hooks.CheckTransformer = [&wait](const std::string& name) {
        if (TransformerInBase(name)) return true;
        wait.reset();
        platform::MessageBox("В базе данных отсутствует трансформатор " + name, "Ошибка",
                             platform::MsgButtons::Ok, platform::MsgIcon::None);
        return false;
    };
    hooks.OpenCableTable = [&tables, &wait](const projectfile::CableTableRequest& request) {
        auto table = tables.find(request.Name);
        if (table == tables.end()) {
            // The opener reports a table that is missing or damaged.
            if (!Dan1 || !BazaT || !Dan1->OpenCurrentTable(request.Name)) return false;
            TableSections sections = refdb::ReadOpenCableSections();
            // A table without rows gives no cable a section: said once, naming it, and the
            // project is not opened, as for a missing table.
            if (sections.sections.empty()) {
                wait.reset();
                platform::MessageBox("В таблице  " + request.Name + "  нет данных.",
                                     "Предупреждение.", platform::MsgButtons::Ok,
                                     platform::MsgIcon::Warning);
                return false;
            }
            table = tables.emplace(request.Name, std::move(sections)).first;
        }
        AttachSections(request, table->second);
        return true;
    };
    return hooks;
}

// The phase distribution of every panel with group lines, then the loads of the whole network.
void DistributeAndSumLoads(TGrsed& root) {
    for (TGrsed* sw : SwitchboardsOf(root)) {
        root.Switchboards.Cursor = sw;
        for (TSitid* panel : PanelsOf(*sw)) {
            if (panel->SchemeGroupCount <= 0) continue;
            sw->Panels.Cursor = panel;
            RunDistributionPasses(root);
        }
    }
    RunLoadPasses(root);
}

// Number lists of the switchboard, group entry and edit dialogs; the group names.
void FillNumberLists(const TGrsed& root) {
    std::vector<std::string> switchboardNumbers;
    std::vector<std::string> panelNumbers;
    std::vector<std::string> groupNames;
    for (const TGrsed* sw : SwitchboardsOf(root)) {
        switchboardNumbers.push_back(platform::IntToStr(sw->SwitchboardNumber));
        for (const TSitid* panel : PanelsOf(*sw)) {
            panelNumbers.push_back(platform::IntToStr(panel->PanelNumber));
            for (const TCxemaGrupd* group : SchemeGroupsOf(*panel))
                groupNames.push_back(group->GroupName);
        }
    }
    if (Shiti) {
        FillNumberList(Shiti->ComboBox2, switchboardNumbers);
        Shiti->SwitchboardCounter = root.SwitchboardCount;
    }
    if (Dan1) {
        FillNumberList(Dan1->ComboBox2, panelNumbers);
        Dan1->GroupNames = groupNames;
    }
    if (Form3) FillNumberList(Form3->ComboBox4, panelNumbers);
}

// The cable names of the connection window, in tree order.
void FillCableNames(const TGrsed& root) {
    if (!Shiti) return;
    Shiti->CableNames.clear();
    for (const TGrsed* sw : SwitchboardsOf(root)) {
        Shiti->CableNames.push_back(sw->SwitchboardCableName);
        for (const TSitid* panel : PanelsOf(*sw)) {
            Shiti->CableNames.push_back(panel->FeederCableName);
            for (const TCxemaGrupd* group : SchemeGroupsOf(*panel))
                Shiti->CableNames.push_back(group->CableName);
        }
    }
}

// The project's stamp in the stamp window, its fields and its boxes.
void ShowProjectStamp(const projectfile::ProjectStamp& stamp) {
    if (!AdjustmentProjectForm) return;
    AdjustmentProjectForm->DocumentCode = stamp.DocumentCode;
    AdjustmentProjectForm->DevelopedBy = stamp.DevelopedBy;
    AdjustmentProjectForm->CheckedBy = stamp.CheckedBy;
    AdjustmentProjectForm->ApprovedBy = stamp.ApprovedBy;
    AdjustmentProjectForm->NormControl = stamp.NormControl;
    AdjustmentProjectForm->Edit1->setText(QString::fromStdString(stamp.DocumentCode));
    AdjustmentProjectForm->Edit2->setText(QString::fromStdString(stamp.DevelopedBy));
    AdjustmentProjectForm->Edit3->setText(QString::fromStdString(stamp.CheckedBy));
    AdjustmentProjectForm->Edit4->setText(QString::fromStdString(stamp.ApprovedBy));
    AdjustmentProjectForm->Edit5->setText(QString::fromStdString(stamp.NormControl));
}

}  // namespace

void TForm1::TakeProjectSnapshots() {
    const TGrsed& root = *ProjectRoot;
    SnapshotSwitchboardCount = root.SwitchboardCount;
    SnapshotPanelCounts.clear();
    SnapshotGroupCounts.clear();
    for (const TGrsed* sw : SwitchboardsOf(root)) {
        SnapshotPanelCounts.push_back(sw->PanelCount);
        std::vector<int> groups;
        for (const TSitid* panel : PanelsOf(*sw)) groups.push_back(panel->SchemeGroupCount);
        SnapshotGroupCounts.push_back(std::move(groups));
    }
}

bool TForm1::LoadProject(const std::string& path) {
    std::optional<platform::WaitCursor> wait(std::in_place);
    // Every table file is checked once for the whole opening.
    platform::FileCheckBatch batch;
    std::map<std::string, TableSections> tables;
    projectfile::LoadResult loaded = projectfile::LoadProjectFile(path, OpeningHooks(tables, wait));
    switch (loaded.Status) {
        case projectfile::LoadStatus::Loaded:
            break;
        case projectfile::LoadStatus::CannotOpen:
            wait.reset();
            platform::MessageBox(projectfile::CannotOpenMessage, "", platform::MsgButtons::Ok,
                                 platform::MsgIcon::None);
            ForgetRecentProject(path);
            return false;
        case projectfile::LoadStatus::Damaged:
            wait.reset();
            platform::MessageBox(loaded.Message, "", platform::MsgButtons::Ok,
                                 platform::MsgIcon::Warning);
            return false;
        case projectfile::LoadStatus::Stopped:
            return false;
    }

    // The file is whole: it becomes the open project.
    DropProject();
    ProjectRoot = loaded.Root.release();
    TGrsed& root = *ProjectRoot;
    DistributeAndSumLoads(root);
    // The cables by their currents and the voltage losses and deviations along the network. A
    // pass whose table lookup fails has said why; the project is not opened with the values it
    // left unfinished.
    if (Dan1 && !Dan1->SelectCablesWithoutRaising()) {
        Dan1->FailureFlag = 0;
        DropProject();
        return false;
    }
    // The fault currents are computed again, not read back: those of a file saved with other
    // data or by an earlier version would show until something changed them.
    const std::vector<std::string> untripped =
        Dan1 ? Dan1->ComputeAllFaultCurrents() : std::vector<std::string>{};
    root.ResetCursors();
    if (Dan1) {
        Dan1->GroupCounter = loaded.Extras.GroupCounter;
        Dan1->GroupCounterCode = loaded.Extras.GroupCounterCode;
    }
    FillNumberLists(root);
    TakeProjectSnapshots();
    FillCableNames(root);
    ShowProjectStamp(loaded.Extras.Stamp);
    RegisterRecentProject(path);

    wait.reset();
    ShowNetworkScheme();
    Form2->setWindowTitle(QString::fromStdString(path));
    Form2->ShowOverMainWindow();
    SetStatusText(path);
    // Said once; the project stays as the file has it.
    if (!untripped.empty()) {
        std::string names;
        for (const std::string& name : untripped) names += (names.empty() ? "" : ", ") + name;
        platform::MessageBox(
            "Ток короткого замыкания в конце линии не превышает ток электромагнитного "
            "расцепителя автомата групп: " +
                names + ".",
            "Предупреждение", platform::MsgButtons::Ok, platform::MsgIcon::Warning);
    }
    return true;
}
