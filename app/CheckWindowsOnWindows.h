#pragma once
// The windows' side of the network checks: the edit modes and undo data of the editing window
// (TForm3), the connection window's flags (TShiti), the group-entry window's count copies and
// name list (TDan1), the breaker dialog (TInsertAvtomat), the breaker base window and the
// transformer list of the power-system dialog. A window that does not exist holds nothing that
// is set, and its actions do nothing.
#include "selection/CheckWindows.h"

class CheckWindowsOnWindows final : public selection::CheckWindows {
public:
    selection::ChangeKind CurrentChange() override;
    bool AutomaticBreakers() override;
    bool EditTakenBack() override;
    void MarkShortCircuitFailed() override;
    void MarkPanelRestored() override;
    TGrsed* EditSavedSwitchboard() override;
    TSitid* EditSavedPanel() override;
    void DropGroupEditUndoData() override;
    void SelectLastPanelInEditList(const TGrsed& switchboard) override;
    TSitid* PanelToRestore() override;
    void CloseConnectionWindow() override;
    void RefreshGroupEntryLists(const TSitid& panel) override;
    void SetBreakerSeriesList(const std::vector<std::string>& series) override;
    void SetBreakerDialogCaptions(const std::string& target, const std::optional<std::string>& node,
                                  const std::optional<std::string>& heading) override;
    void RunBreakerDialog(bool automatic) override;
    void ShowBreakerBase() override;
    void SelectTransformerInPowerSystem(const std::string& name) override;
};
