#pragma once
// Small tree builders and readers for the model tests. A tree is written the way a test reads:
// panels as "number[:role]" tokens, where role is "head" (fed from the switchboard, heads a
// cascade) or "F^H" (fed from panel F, cascade head H); a token without role is a plain panel.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "model/Classd.h"
#include "model/TreeEditing.h"
#include "model/WindowLists.h"

// Records what the edits hand to the windows.
struct RecordedLists : WindowLists {
    std::vector<std::string> groupNames;
    std::array<int, 4> groupCountCopies{-1, -1, -1, -1};
    std::vector<std::string> groupEntryPanels;
    int groupEntrySelected = -2;
    std::vector<std::string> editFirstList;
    int editFirstSelected = -2;
    int editSecondCleared = 0;
    std::vector<std::string> cableNames;
    std::vector<std::string> switchboardNumbers;
    int switchboardCounter = -1;
    int panelCounter = 0;

    void SetGroupNames(const std::vector<std::string>& names) override { groupNames = names; }
    void SetGroupCountCopy(int kind, int count) override { groupCountCopies[kind] = count; }
    void SetGroupEntryPanelList(const std::vector<std::string>& items) override {
        groupEntryPanels = items;
        groupEntrySelected = static_cast<int>(items.size()) - 1;
    }
    void SetEditDialogFirstList(const std::vector<std::string>& items) override {
        editFirstList = items;
        editFirstSelected = items.empty() ? -1 : 0;
    }
    void ClearEditDialogSecondList() override { ++editSecondCleared; }
    void SetCableNames(const std::vector<std::string>& names) override { cableNames = names; }
    void SetSwitchboardNumberList(const std::vector<std::string>& items) override {
        switchboardNumbers = items;
    }
    void SetSwitchboardCounter(int count) override { switchboardCounter = count; }
    void SetPanelCounter(int count) override { panelCounter = count; }
    void LowerPanelCounter() override {
        if (panelCounter > 0) --panelCounter;
    }
};

// A fresh project root for every test, the whole tree deleted afterwards.
class ModelTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Replaces the project by an empty one (for table cases that each build a tree).
    void NewProject();

    // Appends a switchboard as the connection dialog does and counts it.
    TGrsed* AddSwitchboard(int number, const std::string& cableName = "");
    // Appends panels to a switchboard as the connection dialog does: Position = count + 1, the
    // count raised. `panels` is a list of "number[:role]" tokens (see above).
    void AddPanels(int switchboardNumber, const std::string& panels);
    TSitid* AddPanel(int switchboardNumber, const std::string& token);
    // Adds a group line (scheme record and phase record) the way group entry does.
    // phaseKind: 2 single-phase, 3 two-phase, 4 three-phase.
    void AddGroupLine(int panelNumber, const std::string& name, int phaseKind,
                      const std::string& cableName = "");

    TGrsed* Switchboard(int number) const;
    TSitid* Panel(int number) const;
    // Makes the switchboard current (and its panel, when given).
    void MakeCurrent(TGrsed* sw, TSitid* panel = nullptr);

    // The panels of a switchboard as "number[:role]@position" tokens in chain order.
    std::string DescribePanels(int switchboardNumber) const;
    // The switchboard numbers in chain order, "1 2 3".
    std::string DescribeSwitchboards() const;
    // Group names of a panel's chain of one kind (1 scheme .. 4 three-phase), in chain order.
    std::vector<std::string> GroupNamesOf(const TSitid& panel, int kind) const;
    // Empty when every count equals its chain's length and every last pointer is the real tail.
    std::string ChainProblems() const;

    TreeEditing editing;
    RecordedLists lists;
};
