#pragma once
// The lists and counters of the windows that the tree edits rebuild. The edits compute each list
// from the whole tree, in tree order, and hand it over in one piece; the windows' side
// (app/WindowListsOnWindows) puts it into the controls and fields. Tests record it instead.
#include <string>
#include <vector>

class WindowLists {
public:
    virtual ~WindowLists() = default;

    // TDan1::GroupNames.
    virtual void SetGroupNames(const std::vector<std::string>& names) = 0;
    // One entry of TDan1::GroupCountCopies: 0 scheme, 1 single-phase, 2 two-phase, 3 three-phase.
    virtual void SetGroupCountCopy(int kind, int count) = 0;
    // TDan1 ComboBox2 ("Щит №"): these items, the last one selected; empty text when none.
    virtual void SetGroupEntryPanelList(const std::vector<std::string>& items) = 0;
    // TForm3 ComboBox3: these items, the first one selected; empty text when none.
    virtual void SetEditDialogFirstList(const std::vector<std::string>& items) = 0;
    // TForm3 ComboBox4: cleared.
    virtual void ClearEditDialogSecondList() = 0;
    // TShiti::CableNames.
    virtual void SetCableNames(const std::vector<std::string>& names) = 0;
    // TShiti ComboBox2: these switchboard numbers, none chosen.
    virtual void SetSwitchboardNumberList(const std::vector<std::string>& items) = 0;
    // TShiti::SwitchboardCounter.
    virtual void SetSwitchboardCounter(int count) = 0;
    // TShiti::PanelCounter: set, or lowered by one (never below 0).
    virtual void SetPanelCounter(int count) = 0;
    virtual void LowerPanelCounter() = 0;

    void SetAllGroupCountCopies(int count) {
        for (int kind = 0; kind < 4; ++kind) SetGroupCountCopy(kind, count);
    }
};

// Does nothing: the tree edits use it while no windows are attached.
class NoWindowLists : public WindowLists {
public:
    void SetGroupNames(const std::vector<std::string>&) override {}
    void SetGroupCountCopy(int, int) override {}
    void SetGroupEntryPanelList(const std::vector<std::string>&) override {}
    void SetEditDialogFirstList(const std::vector<std::string>&) override {}
    void ClearEditDialogSecondList() override {}
    void SetCableNames(const std::vector<std::string>&) override {}
    void SetSwitchboardNumberList(const std::vector<std::string>&) override {}
    void SetSwitchboardCounter(int) override {}
    void SetPanelCounter(int) override {}
    void LowerPanelCounter() override {}
};
