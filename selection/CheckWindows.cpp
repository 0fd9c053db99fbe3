#include "selection/CheckWindows.h"

namespace selection {
namespace {

// The windows' side the program installed; none while no main window exists.
CheckWindows* installed = nullptr;

}  // namespace

void SetCheckWindows(CheckWindows* windows) {
    installed = windows;
}

ChangeKind CurrentChange() {
    return installed ? installed->CurrentChange() : ChangeKind::None;
}

bool AutomaticBreakers() {
    return installed && installed->AutomaticBreakers();
}

bool EditTakenBack() {
    return installed && installed->EditTakenBack();
}

void MarkShortCircuitFailed() {
    if (installed) installed->MarkShortCircuitFailed();
}

void MarkPanelRestored() {
    if (installed) installed->MarkPanelRestored();
}

TGrsed* EditSavedSwitchboard() {
    return installed ? installed->EditSavedSwitchboard() : nullptr;
}

TSitid* EditSavedPanel() {
    return installed ? installed->EditSavedPanel() : nullptr;
}

void DropGroupEditUndoData() {
    if (installed) installed->DropGroupEditUndoData();
}

void SelectLastPanelInEditList(const TGrsed& switchboard) {
    if (installed) installed->SelectLastPanelInEditList(switchboard);
}

TSitid* PanelToRestore() {
    return installed ? installed->PanelToRestore() : nullptr;
}

void CloseConnectionWindow() {
    if (installed) installed->CloseConnectionWindow();
}

void RefreshGroupEntryLists(const TSitid& panel) {
    if (installed) installed->RefreshGroupEntryLists(panel);
}

void SetBreakerSeriesList(const std::vector<std::string>& series) {
    if (installed) installed->SetBreakerSeriesList(series);
}

void SetBreakerDialogCaptions(const std::string& target, const std::optional<std::string>& node,
                              const std::optional<std::string>& heading) {
    if (installed) installed->SetBreakerDialogCaptions(target, node, heading);
}

void RunBreakerDialog(bool automatic) {
    if (installed) installed->RunBreakerDialog(automatic);
}

void ShowBreakerBase() {
    if (installed) installed->ShowBreakerBase();
}

void SelectTransformerInPowerSystem(const std::string& name) {
    if (installed) installed->SelectTransformerInPowerSystem(name);
}

}  // namespace selection
