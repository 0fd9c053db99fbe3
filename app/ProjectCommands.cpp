// The commands that begin, replace, save and end a project: New, Open, Save, Save As, the exits
// and the close queries, with the save question they share.
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <algorithm>
#include <cctype>
#include <climits>

#include "app/Mainform.h"
#include "app/ProjectFile.h"
#include "app/SchemeWindow.h"
#include "documents/AdjustmentProject.h"
#include "documents/Preview.h"
#include "editing/EditDialog.h"
#include "editing/Shiti12.h"
#include "groups/Dan12.h"
#include "model/Chains.h"
#include "platform/Events.h"
#include "platform/FileDialogs.h"
#include "platform/Messages.h"
#include "platform/ProgramFolder.h"
#include "refdb/BazaAvt.h"
#include "refdb/BazaTran.h"

namespace {

constexpr char kOpenFilter[] = "(*.VPQ)|*.VPQ";
constexpr char kSaveFilter[] = "(*.VPQ)|*.VPQ|(*.*)|*.*";
constexpr char kExtension[] = ".VPQ";

// A chosen name gets the project extension unless it already has it (in any case), so that
// choosing an existing project file replaces that file.
std::string WithProjectExtension(const std::string& name) {
    const std::string extension = kExtension;
    if (name.size() > extension.size()) {
        std::string tail = name.substr(name.size() - extension.size());
        std::transform(tail.begin(), tail.end(), tail.begin(),
                       [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
        if (tail == extension) return name;
    }
    return name + extension;
}

std::string ProjectFolder() {
    return platform::ProgramFolder() + "Project";
}

// Offers to open a reference table that has no rows; true when it has rows.
bool ReferenceTableFilled(bool empty, const char* text, QDialog* window) {
    if (!empty) return true;
    if (platform::MessageBox(text, "предупреждение.", platform::MsgButtons::YesNo,
                             platform::MsgIcon::Warning) == platform::mrYes &&
        window)
        platform::ShowModal(*window);
    return false;
}

bool HasSwitchboard() {
    return ProjectRoot && ProjectRoot->Switchboards.First;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Set-up

// The menus, the toolbars and the scale combo box are laid out in forms/TForm1.ui and connected
// to their commands by ConnectCommands; here the status bar's text and the recent projects.
void TForm1::SetUpProjectCommands() {
    statusText_ = new QLabel(StatusBar1);
    statusText_->setObjectName("StatusText");
    StatusBar1->addWidget(statusText_, 1);
    FormCreate();
}

// ---------------------------------------------------------------------------------------------
// Shared steps

bool TForm1::SchemeWindowShown() const {
    // Shown in the main window's client area, whether the main window is on the screen or not.
    return Form2 && !Form2->isHidden();
}

std::string TForm1::SchemeCaption() const {
    return Form2 ? Form2->windowTitle().toStdString() : std::string();
}

void TForm1::ShowProjectCaption() {
    if (Form2) Form2->setWindowTitle(QString::fromStdString(ProjectFileName));
    SetStatusText(SchemeCaption());
}

void TForm1::SetStatusText(const std::string& text) {
    if (statusText_) statusText_->setText(QString::fromStdString(text));
}

std::string TForm1::StatusText() const {
    return statusText_ ? statusText_->text().toStdString() : std::string();
}

void TForm1::ClosePreview() {
    if (PreviewShown()) Form7->close();
}

bool TForm1::PreviewShown() const {
    // Shown in the main window's client area, whether the main window is on the screen or not.
    return Form7 != nullptr && !Form7->isHidden();
}

void TForm1::EndOpenEdits() {
    // The group line window in its edit mode: "Отменa".
    if (Dan1 && Form3 && Dan1->isVisible() && Form3->GroupEditMode) Dan1->Button1Click();
    // The connection window in an edit layout: the "Отменить" of its box.
    if (Shiti && Shiti->isVisible()) {
        if (Shiti->CurrentLayout() == TShiti::Layout::PanelEdit) Shiti->Button5Click();
        if (Shiti->CurrentLayout() == TShiti::Layout::SwitchboardEdit) Shiti->Button3Click();
    }
    // The edit window: "Закрыть".
    if (Form3 && Form3->isVisible()) Form3->Button4Click();
}

void TForm1::DropProject() {
    if (!ProjectRoot) return;
    // No editor stays open over a project that is gone.
    EndOpenEdits();
    ProjectRoot->Switchboards.Cursor = nullptr;
    DeleteProjectTree(ProjectRoot);
    // Nothing may keep pointing into the deleted tree: the group change being tracked and the
    // edit dialog's undo data belong to the project that is gone.
    if (Dan1) Dan1->EndGroupChange();
    if (Form3) {
        Form3->SavedSwitchboard = nullptr;
        Form3->SavedPanel = nullptr;
        Form3->SavedGroup.reset();
        Form3->SavedPhaseRecords = {};
        Form3->ProjectCopy.reset();
        Form3->SwitchboardCopy.reset();
        Form3->PanelCopies.clear();
        Form3->GroupEditMode = Form3->PanelEditMode = Form3->SwitchboardEditMode = 0;
    }
}

void TForm1::ResetProjectDialogs() {
    if (Shiti) {
        Shiti->ComboBox2->clear();
        Shiti->PanelCounter = 0;
        Shiti->SwitchboardCounter = 0;
    }
    if (Dan1) {
        Dan1->ComboBox2->clear();
        Dan1->GroupCountCopies = {};
    }
    if (Form3) Form3->ComboBox4->clear();
}

void TForm1::CloseEmptySchemeWindow() {
    if (ProjectRoot || !SchemeWindowShown()) return;
    Form2->hide();
    Form2->setWindowTitle(QString::fromStdString(UntitledName));
    SetStatusText("");
    ToolButton4->setEnabled(false);
}

int TForm1::AskSaveQuestion(const std::string& caption) {
    return platform::MessageBox("Сохранить изменения в файле?" + ProjectFileName, caption,
                                platform::MsgButtons::YesNoCancel, platform::MsgIcon::Warning);
}

bool TForm1::CheckReferenceDatabases() {
    return ReferenceTableFilled(BazaAvt && BazaAvt->AVT1.IsEmpty(),
                                "В базе данных <Автоматы> нет данных.Открыть базу данных?",
                                BazaAvt) &&
           ReferenceTableFilled(BazaTran && BazaTran->ClientDataSet2.IsEmpty(),
                                "В базе данных <Трансформаторы> нет данных.Открыть базу данных?",
                                BazaTran);
}

// The counts the loader recorded against the tree: switchboards, panels of each switchboard
// (the walk stops at the first difference or at a switchboard without panels), scheme records
// of each panel. A place the snapshot does not hold counts as changed.
bool TForm1::ProjectChangedSinceLoad() const {
    const TGrsed& root = *ProjectRoot;
    bool changed = root.SwitchboardCount != SnapshotSwitchboardCount;
    const std::vector<TGrsed*> switchboards =
        chains::Elements(root.Switchboards, chains::SwitchboardLink{}, root.SwitchboardCount);
    for (size_t i = 0; i < switchboards.size(); ++i) {
        const int panels = chains::Length(switchboards[i]->Panels, chains::PanelLink{});
        if (i >= SnapshotPanelCounts.size() || panels != SnapshotPanelCounts[i]) {
            changed = true;
            break;
        }
        if (panels == 0) break;
    }
    for (size_t i = 0; i < switchboards.size(); ++i) {
        const std::vector<TSitid*> panels =
            chains::Elements(switchboards[i]->Panels, chains::PanelLink{}, INT_MAX);
        for (size_t j = 0; j < panels.size(); ++j) {
            const int groups = chains::Length(panels[j]->SchemeGroups, chains::SchemeLink{});
            if (i >= SnapshotGroupCounts.size() || j >= SnapshotGroupCounts[i].size() ||
                groups != SnapshotGroupCounts[i][j])
                changed = true;
        }
    }
    return changed;
}

bool TForm1::QueryCloseProject() {
    if (!SchemeWindowShown()) return true;
    if (!ProjectRoot) return false;
    ClosePreview();
    if (ProjectChangedSinceLoad()) {
        ProjectSaved = 0;
        ToolButton4->setEnabled(true);
    }
    if (ProjectSaved == 1) return true;
    switch (AskSaveQuestion("Veltranovaplanir 1.1")) {
        case platform::mrYes:
            // A cancelled or failed save keeps the project open.
            if (!SaveForQuestion()) return false;
            ProjectSaved = 1;
            if (HasSwitchboard()) {
                DropProject();
                ResetProjectDialogs();
                if (Dan1) Dan1->GroupCounterCode = 0;
            }
            return true;
        case platform::mrNo:
            ToolButton4->setEnabled(false);
            ProjectSaved = 1;
            if (HasSwitchboard()) DropProject();
            ResetProjectDialogs();
            if (Dan1) Dan1->GroupCounterCode = 0;
            Form2->close();
            return true;
        default:
            return false;
    }
}

// ---------------------------------------------------------------------------------------------
// Saving

bool TForm1::ProjectUntitled() const {
    // Not by the scheme window's caption: a phasing picture shows its panel there.
    return ProjectFileName == UntitledName;
}

bool TForm1::SaveForQuestion() {
    return ProjectUntitled() ? SaveProjectAs() : SaveProject();
}

bool TForm1::WriteProjectFile() {
    if (!ProjectRoot) return false;
    // Lines entered since the group line window opened are written as closing it leaves them,
    // as the file gives them back when it is opened.
    if (Dan1) Dan1->SettleGroupEntry();
    projectfile::ProjectFileExtras extras;
    if (Dan1) {
        extras.GroupCounter = Dan1->GroupCounter;
        extras.GroupCounterCode = Dan1->GroupCounterCode;
    }
    if (AdjustmentProjectForm) {
        extras.Stamp = {AdjustmentProjectForm->DocumentCode, AdjustmentProjectForm->DevelopedBy,
                        AdjustmentProjectForm->CheckedBy, AdjustmentProjectForm->ApprovedBy,
                        AdjustmentProjectForm->NormControl};
    }
    // The old file stays as it was unless the new one was written whole.
    const std::string error = projectfile::SaveProjectFile(ProjectFileName, *ProjectRoot, extras);
    if (!error.empty()) {
        platform::MessageBox(error, "Ошибка", platform::MsgButtons::Ok, platform::MsgIcon::Error);
        return false;
    }
    ProjectSaved = 1;
    ToolButton4->setEnabled(false);
    // The file is now what the project is compared with before it is replaced or closed.
    TakeProjectSnapshots();
    return true;
}

bool TForm1::SaveProject() {
    if (!SchemeWindowShown()) {
        ToolButton4->setEnabled(false);
        return false;
    }
    if (ProjectUntitled()) return SaveProjectAs();
    if (SaveAsPending) return false;
    return WriteProjectFile();
}

bool TForm1::SaveProjectAs() {
    if (!SchemeWindowShown()) return false;
    platform::MakeProgramFolderCurrent();
    SaveAsPending = 1;
    const std::string chosen =
        platform::SaveFileDialog(this, ProjectFolder(), ProjectFileName, kSaveFilter, "VPQ");
    SaveDialog1Close();
    if (chosen.empty()) {
        // A close that led here is refused.
        CloseAllowed = 0;
        Form2->CloseAllowed = 0;
        return false;
    }
    const std::string previousName = ProjectFileName;
    const QString previousCaption = Form2->windowTitle();
    ProjectFileName = WithProjectExtension(chosen);
    Form2->setWindowTitle(QString::fromStdString(ProjectFileName));
    if (WriteProjectFile()) return true;
    // Not written: the project keeps the name it had.
    ProjectFileName = previousName;
    Form2->setWindowTitle(previousCaption);
    return false;
}

void TForm1::Save1Click() {
    SaveProject();
}

void TForm1::SaveAsClick() {
    SaveProjectAs();
}

void TForm1::SaveDialog1Close() {
    SaveAsPending = 0;
}

// ---------------------------------------------------------------------------------------------
// New and Open

void TForm1::LayOutSwitchboardDialog() {
    if (!Shiti) return;
    // Laid out for connecting switchboards and panels, over the main window.
    Shiti->SetLayout(TShiti::Layout::Connection);
    Shiti->move(frameGeometry().center() - Shiti->rect().center());
}

void TForm1::New1Click() {
    if (!CheckReferenceDatabases()) return;
    ClosePreview();
    PictureBitmap.reset();
    if (ProjectSaved == 0) {
        switch (AskSaveQuestion("Veltranovaplanir 1.2")) {
            case platform::mrYes:
                // A cancelled or failed save keeps the project.
                if (!SaveProject()) return;
                break;
            case platform::mrNo:
                break;
            default:
                return;
        }
        ToolButton4->setEnabled(false);
        ProjectSaved = 1;
    }
    {
        platform::WaitCursor wait;
        DropProject();
    }
    if (Shiti) Shiti->CableNames.clear();
    ResetProjectDialogs();
    if (Dan1) {
        Dan1->GroupNames.clear();
        Dan1->GroupCounterCode = 0;
    }

    Form2->FreePicture();
    Form2->setWindowTitle(QString::fromStdString(UntitledName));
    Form2->ShowOverMainWindow();
    SetStatusText(SchemeCaption());
    ProjectFileName = UntitledName;
    ToolButton4->setEnabled(true);
    ProjectSaved = 0;
    ProjectRoot = new TGrsed;
    ComboBox1->setCurrentIndex(0);

    LayOutSwitchboardDialog();
    if (Shiti) platform::ShowModal(*Shiti);
}

void TForm1::Open1Click() {
    if (!CheckReferenceDatabases() || !QueryCloseProject()) return;
    platform::MakeProgramFolderCurrent();
    const std::string path = platform::OpenFileDialog(this, ProjectFolder(), kOpenFilter);
    if (!path.empty()) {
        if (LoadProject(path)) ProjectFileName = path;
        DocumentKind = 1;
    }
    CloseEmptySchemeWindow();
}

// ---------------------------------------------------------------------------------------------
// Closing

void TForm1::FormCloseQuery(bool& canClose) {
    CloseAllowed = 1;
    if (ProjectSaved != 0 || !SchemeWindowShown()) return;
    switch (AskSaveQuestion("Veltranovaplanir 1.1")) {
        case platform::mrYes:
            // The program stays when the project could not be written.
            if (!SaveForQuestion()) CloseAllowed = 0;
            break;
        case platform::mrNo:
            CloseAllowed = 1;
            break;
        default:
            CloseAllowed = 0;
            break;
    }
    canClose = CloseAllowed != 0;
}

void TForm1::closeEvent(QCloseEvent* event) {
    bool canClose = true;
    platform::RunGuarded([&] { FormCloseQuery(canClose); });
    // The program ends with its main window. The other windows close first; one that refuses
    // (a table row that cannot be stored yet) keeps the program running.
    if (canClose) canClose = CloseOtherWindows();
    event->setAccepted(canClose);
    if (!canClose) return;
    platform::RunGuarded([this] { FormClose(); });
    platform::Terminate();
}

bool TForm1::CloseOtherWindows() {
    bool allClosed = true;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window == this || !window->isVisible()) continue;
        if (!window->close()) allClosed = false;
    }
    return allClosed;
}

void TForm1::Exit1Click() {
    close();
}

void TForm1::ToolButton8Click() {
    if (ProjectSaved == 0) {
        switch (AskSaveQuestion("Veltranovaplanir 1.1")) {
            case platform::mrYes:
                // The program stays, with its project, when the project could not be written.
                if (!SaveForQuestion()) return;
                ProjectSaved = 1;
                if (!HasSwitchboard()) break;
                DropProject();
                break;
            case platform::mrNo:
                ToolButton4->setEnabled(false);
                ProjectSaved = 1;
                DropProject();
                break;
            default:
                return;
        }
        if (!ProjectRoot) {
            if (Shiti) {
                Shiti->PanelCounter = 0;
                Shiti->SwitchboardCounter = 0;
            }
            if (Dan1) {
                Dan1->GroupCountCopies = {};
                Dan1->GroupCounterCode = 0;
            }
        }
    }
    close();
}
