#pragma once
// The reference windows (RefdbTest) with a project tree built by hand: switchboards, panels and
// group lines with the loads the recalculation would leave (set directly, so that every expected
// value follows from the selection formulas alone), and small cable current tables written into the
// program folder.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "RefdbFixture.h"
#include "model/Classd.h"
#include "model/TreeEditing.h"
#include "selection/NetworkChecks.h"

struct CableRow {
    double section;
    double zeroSection;  // used only by tables with the "Сечение 0 жилы" column
    double current;
};

// Table "Кабель4Медь.xml": copper, four cores, with a zero-core column; brand "ВВГ".
extern const std::vector<CableRow> kCopperCableRows;
// Table "Провод2Медь.xml": copper wire, two in a pipe; brand "ПВ1".
extern const std::vector<CableRow> kCopperWireRows;
// Table "Кабель4Ал.xml": aluminium, four cores; brand "АВВГ".
extern const std::vector<CableRow> kAluminiumCableRows;

inline constexpr char kCopperCable[] = "Кабель4Медь.xml";
inline constexpr char kCopperWire[] = "Провод2Медь.xml";
inline constexpr char kAluminiumCable[] = "Кабель4Ал.xml";

// A group line as the group dialog enters it.
struct GroupLine {
    std::string name;
    int kind = 4;  // conductors: 2 single-phase, 3 two-phase, 4 three-phase
    double power = 0;
    double cosPhi = 1.0;
    double length = 0;
    std::string table = kCopperCable;
    std::string laying = "В воздухе";
    int temperature = 25;
    std::string material = "Медь";
    int phase = 0;  // single-phase lines: 0, 1, 2 = phase A, B, C
};

class SelectionTest : public RefdbTest {
protected:
    void SetUp() override;
    void TearDown() override;
    // The reference windows, and the fixture's own tree edits installed for the cascade walks.
    void CreateWindows() override;
    void DestroyWindows() override;

    // Writes a cable table into the program folder; with zero core, the 8-field layout.
    void WriteCableTable(const std::string& fileName, const std::string& brand,
                         const std::string& laying, const std::string& material, bool zeroCore,
                         const std::vector<CableRow>& rows);

    TGrsed* AddSwitchboard(int number);
    // A panel of the switchboard with its feeder on the table (its section arrays filled from
    // the rows). role: "" plain, "head", or the number of the feeding panel for a member.
    TSitid* AddPanel(TGrsed* sw, int number, const std::string& table,
                     const std::vector<CableRow>& rows, bool zeroCore, int feedingPanel = 0,
                     bool head = false, int headNumber = 0);
    // Appends a group line to the panel: its scheme record, its phase record and the copies of
    // its per-phase result rows (a single-phase line alone in a new row of three). Counts kept.
    TCxemaGrupd* AddGroup(TSitid* panel, const GroupLine& line,
                          const std::vector<CableRow>& tableRows);

    // Makes the switchboard and the panel current.
    static void MakeCurrent(TGrsed* sw, TSitid* panel);

    // The selection and the checks the test runs: a copy of its own, or the group-entry
    // window's when the test runs with the windows.
    NetworkChecks& checks() { return *checks_; }

    NetworkChecks ownChecks_;
    NetworkChecks* checks_ = &ownChecks_;
    // The tree edits the cascade walks use when no main window installs its own.
    TreeEditing ownEdits_;
};

// The value of one field per row of the open cable table, in its present order.
std::vector<double> TableColumn(const char* field);
