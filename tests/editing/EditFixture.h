#pragma once
// The edit and delete window as the user meets it: a project of shipped cable tables, the window
// opened through the menu "Редактирование", its lists chosen with the keys and its buttons
// clicked; the breaker dialogs take the first series offered. After every test each panel's
// counts agree with its chains and every window list agrees with the tree.
#include <string>
#include <vector>

#include "ConnectionFixture.h"

// The faster way of the edits on or off: what a pass over the project read of the reference
// tables kept for its later lookups, a refresh leaving alone the switchboards a change did not
// reach, the lines of a panel put back and a panel deleted recalculating only their switchboard,
// a switchboard deleted listing and recalculating once. Off, everything is read, selected and
// recalculated whole: the reference the faster way is held against.
void UseFasterPath(bool on);

class EditTest : public ConnectionTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // The project as the refresh after a change leaves it: recalculated, equipment selected.
    void Refresh();
    // "Редактирование" > "Группы", "Щиты", "Грщ".
    void OpenGroups();
    void OpenPanels();
    void OpenSwitchboards();
    // Chooses in the edit window's left list (ComboBox4) and right list (ComboBox3).
    void ChooseLeft(const std::string& item);
    void ChooseRight(const std::string& item);
    // "Удалить", "Изменить".
    void Delete();
    void Edit();
    // "Изменить" of panel `number` of switchboard 1, and of switchboard `number`.
    void OpenPanel(const std::string& number);
    void OpenSwitchboard(const std::string& number);
    // The answer to the breaker question of a connection change.
    void ExpectBreakerQuestion(int answer);
    // File > Open of a project in the program folder's "Project" (no project is open).
    void OpenProject(const std::string& name);
    // File > Save As into the program folder's "Project", then File > Open of that file (just
    // saved, the project is not asked about). The project then holds what its file gives.
    void SaveAndOpenAgain();
};

// A three-phase group line of `power` kW on the panel, and the panel's demand factor.
void AddLoads(int panel, const std::vector<double>& powers, const std::string& prefix = "Г");

// A group line of 5 kW on every panel without one (the refresh clears what an unloaded panel
// keeps, its hanging mark too).
void LoadEveryPanel();

// The names of the panel's group lines in chain order.
std::vector<std::string> GroupsOf(int panel);

// Each panel's four counts against its chains, each switchboard's panel count against its
// chain, the root's switchboard count against its chain.
void ExpectCountsAgreeWithChains();

// The counts as above, and the lists of the windows against the tree: cable names and group names
// in tree order, the switchboard numbers of the connection window and its counter, the panels of
// the group line window (`groupWindowPanels`: that list too; the window fills it anew whenever it
// opens).
void ExpectListsAgreeWithTree(bool groupWindowPanels = true);
