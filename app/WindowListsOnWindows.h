#pragma once
#include "model/WindowLists.h"

// The window lists of the tree edits as the windows hold them: TDan1's group names, count copies
// and "Щит №" list, TForm3's two lists, TShiti's cable names, switchboard list and counters.
// Windows that do not exist (yet, or any more) are left alone.
class WindowListsOnWindows : public WindowLists {
public:
    void SetGroupNames(const std::vector<std::string>& names) override;
    void SetGroupCountCopy(int kind, int count) override;
    void SetGroupEntryPanelList(const std::vector<std::string>& items) override;
    void SetEditDialogFirstList(const std::vector<std::string>& items) override;
    void ClearEditDialogSecondList() override;
    void SetCableNames(const std::vector<std::string>& names) override;
    void SetSwitchboardNumberList(const std::vector<std::string>& items) override;
    void SetSwitchboardCounter(int count) override;
    void SetPanelCounter(int count) override;
    void LowerPanelCounter() override;
};
