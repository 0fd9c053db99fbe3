#include "app/CheckWindowsOnWindows.h"

#include <QComboBox>

#include "app/Mainform.h"
#include "app/PowerSystem.h"
#include "editing/EditDialog.h"
#include "editing/Shiti12.h"
#include "groups/Dan12.h"
#include "groups/InsertAvtomat.h"
#include "model/Chains.h"
#include "platform/Choices.h"
#include "platform/Conversions.h"
#include "platform/Events.h"
#include "platform/Messages.h"
#include "refdb/BazaAvt.h"

selection::ChangeKind CheckWindowsOnWindows::CurrentChange() {
    if (Form3) {
        if (Form3->GroupEditMode) return selection::ChangeKind::GroupEdit;
        if (Form3->PanelEditMode) return selection::ChangeKind::PanelEdit;
        if (Form3->SwitchboardEditMode) return selection::ChangeKind::SwitchboardEdit;
    }
    return Dan1 && Dan1->GroupChangeTracked() ? selection::ChangeKind::AddingGroup
                                              : selection::ChangeKind::None;
}

bool CheckWindowsOnWindows::AutomaticBreakers() {
    const selection::ChangeKind change = CurrentChange();
    return change != selection::ChangeKind::AddingGroup && change != selection::ChangeKind::None &&
           Shiti && Shiti->AutoBreakers;
}

bool CheckWindowsOnWindows::EditTakenBack() {
    return Form3 && Form3->EditTakenBack();
}

void CheckWindowsOnWindows::MarkShortCircuitFailed() {
    if (Form3) Form3->ShortCircuitFailed = 1;
}

void CheckWindowsOnWindows::MarkPanelRestored() {
    if (Form3) Form3->PanelRestoredFlag = 1;
}

TGrsed* CheckWindowsOnWindows::EditSavedSwitchboard() {
    return Form3 ? Form3->SavedSwitchboard : nullptr;
}

TSitid* CheckWindowsOnWindows::EditSavedPanel() {
    return Form3 ? Form3->SavedPanel : nullptr;
}

void CheckWindowsOnWindows::DropGroupEditUndoData() {
    if (!Form3) return;
    Form3->SavedGroup.reset();
    Form3->SavedPhaseRecords.Single.reset();
    Form3->SavedPhaseRecords.Two.reset();
    Form3->SavedPhaseRecords.Three.reset();
    Form3->ProjectCopy.reset();
    Form3->SwitchboardCopy.reset();
    Form3->PanelCopies.clear();
}

void CheckWindowsOnWindows::SelectLastPanelInEditList(const TGrsed& switchboard) {
    if (!Form3 || !switchboard.Panels.Last) return;
    const int found = Form3->ComboBox3->findText(
        platform::Q(platform::IntToStr(switchboard.Panels.Last->PanelNumber)), Qt::MatchExactly);
    if (found >= 0) Form3->ComboBox3->setCurrentIndex(found);
}

TSitid* CheckWindowsOnWindows::PanelToRestore() {
    return Shiti ? Shiti->PanelToRestore : nullptr;
}

void CheckWindowsOnWindows::CloseConnectionWindow() {
    if (Shiti && Shiti->isVisible()) Shiti->close();
}

void CheckWindowsOnWindows::RefreshGroupEntryLists(const TSitid& panel) {
    if (!Dan1) return;
    Dan1->GroupCountCopies = {panel.SchemeGroupCount, panel.SinglePhaseCount, panel.TwoPhaseCount,
                              panel.ThreePhaseCount};
    Dan1->GroupNames.clear();
    if (!ProjectRoot) return;
    for (TGrsed* sw : chains::SwitchboardsOf(*ProjectRoot))
        for (TSitid* p : chains::Elements(sw->Panels, chains::PanelLink{}, sw->PanelCount))
            for (TCxemaGrupd* g :
                 chains::Elements(p->SchemeGroups, chains::SchemeLink{}, p->SchemeGroupCount))
                Dan1->GroupNames.push_back(g->GroupName);
}

void CheckWindowsOnWindows::SetBreakerSeriesList(const std::vector<std::string>& series) {
    if (!InsertAvtomat) return;
    QComboBox& list = *InsertAvtomat->ComboBox1;
    list.clear();
    for (const std::string& item : series) list.addItem(platform::Q(item));
    // Filling the list chooses nothing: the series is chosen in the dialog.
    list.setCurrentIndex(-1);
    list.setEditText(QString());
}

void CheckWindowsOnWindows::SetBreakerDialogCaptions(const std::string& target,
                                                     const std::optional<std::string>& node,
                                                     const std::optional<std::string>& heading) {
    if (!InsertAvtomat) return;
    InsertAvtomat->GroupBox1->setTitle(platform::Q(target));
    if (node) InsertAvtomat->Label4->setText(platform::Q(*node));
    if (heading) InsertAvtomat->Label1->setText(platform::Q(*heading));
}

void CheckWindowsOnWindows::RunBreakerDialog(bool automatic) {
    if (!InsertAvtomat) return;
    TInsertAvtomat& dialog = *InsertAvtomat;
    // In the middle of the main window.
    if (Form1) {
        const QRect main = Form1->geometry();
        dialog.move(main.x() + main.width() / 2 - dialog.width() / 2,
                    main.y() + main.height() / 2 - dialog.height() / 2);
    }
    if (automatic) {
        dialog.ComboBox1->setCurrentIndex(dialog.ComboBox1->count() > 0 ? 0 : -1);
        dialog.Button2Click();
        return;
    }
    platform::ShowModal(dialog);
}

void CheckWindowsOnWindows::ShowBreakerBase() {
    if (BazaAvt) platform::ShowModal(*BazaAvt);
}

void CheckWindowsOnWindows::SelectTransformerInPowerSystem(const std::string& name) {
    if (!PowerSystem) return;
    // A list without the name would store whatever it shows instead.
    if (platform::ChooseText(*PowerSystem->ComboBox5, name)) PowerSystem->ComboBox5Change();
}
