#pragma once
// The window state and window actions that the network checks use: the edit modes and undo data
// of the editing window (TForm3), the connection window's flags (TShiti), the group-entry
// window's count copies and name list (TDan1), the breaker dialog (TInsertAvtomat), the breaker
// base window and the transformer list of the power-system dialog. The checks reach the windows
// only through here, and here through the windows' side the program installs (CheckWindows).
// Without it, or without a window, what the window would hold counts as not set and its actions
// do nothing.
#include <optional>
#include <string>
#include <vector>

class TGrsed;
class TSitid;

namespace selection {

// The operation in progress, by the editing window's modes (tested in the order group, panel,
// switchboard; the first set decides). None set: a group line is being added while the group
// line window tracks one, otherwise no operation is in progress (a deletion, a trunk member
// connected): a refusal then cancels nothing.
enum class ChangeKind { None, AddingGroup, GroupEdit, PanelEdit, SwitchboardEdit };
ChangeKind CurrentChange();
// An edit of the editing window is under way and the user chose automatic breakers.
bool AutomaticBreakers();
// The edit under way has been taken back already (TForm3::EditTakenBack): a refusal met in the
// recalculation of what was put back says nothing more and undoes nothing more.
bool EditTakenBack();

// TForm3::ShortCircuitFailed and TForm3::PanelRestoredFlag := set.
void MarkShortCircuitFailed();
void MarkPanelRestored();
// TForm3::SavedSwitchboard and TForm3::SavedPanel.
TGrsed* EditSavedSwitchboard();
TSitid* EditSavedPanel();
// Releases the undo data of a group edit: the saved group line and its phase records, the
// project, switchboard and panel copies.
void DropGroupEditUndoData();
// Selects, in the editing window's panel list (ComboBox3), the item that holds the number of
// the switchboard's last panel; the selection stays when there is none.
void SelectLastPanelInEditList(const TGrsed& switchboard);
// TShiti::PanelToRestore.
TSitid* PanelToRestore();
// Closes the connection window (TShiti).
void CloseConnectionWindow();

// The group-entry window's copies of the panel's four group counts, and its list of every
// group name of the project (tree order), after a group line left the panel.
void RefreshGroupEntryLists(const TSitid& panel);

// The breaker dialog: its list of series, its captions (a caption given as nothing stays as it
// is) and its run: modal, or "Установить" at once on the first series.
void SetBreakerSeriesList(const std::vector<std::string>& series);
void SetBreakerDialogCaptions(const std::string& target, const std::optional<std::string>& node,
                              const std::optional<std::string>& heading);
void RunBreakerDialog(bool automatic);
// The breaker base window, modally.
void ShowBreakerBase();

// Makes every item of the power-system dialog's transformer list that equals the name the
// selected item and stores it as the project's transformer (TPowerSystem::ComboBox5Change).
void SelectTransformerInPowerSystem(const std::string& name);

// The windows' side of the functions above, one member each.
class CheckWindows {
public:
    virtual ~CheckWindows() = default;
    virtual ChangeKind CurrentChange() = 0;
    virtual bool AutomaticBreakers() = 0;
    virtual bool EditTakenBack() = 0;
    virtual void MarkShortCircuitFailed() = 0;
    virtual void MarkPanelRestored() = 0;
    virtual TGrsed* EditSavedSwitchboard() = 0;
    virtual TSitid* EditSavedPanel() = 0;
    virtual void DropGroupEditUndoData() = 0;
    virtual void SelectLastPanelInEditList(const TGrsed& switchboard) = 0;
    virtual TSitid* PanelToRestore() = 0;
    virtual void CloseConnectionWindow() = 0;
    virtual void RefreshGroupEntryLists(const TSitid& panel) = 0;
    virtual void SetBreakerSeriesList(const std::vector<std::string>& series) = 0;
    virtual void SetBreakerDialogCaptions(const std::string& target,
                                          const std::optional<std::string>& node,
                                          const std::optional<std::string>& heading) = 0;
    virtual void RunBreakerDialog(bool automatic) = 0;
    virtual void ShowBreakerBase() = 0;
    virtual void SelectTransformerInPowerSystem(const std::string& name) = 0;
};
// Installs the windows' side; null takes it away.
void SetCheckWindows(CheckWindows* windows);

}  // namespace selection
