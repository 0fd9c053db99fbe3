#pragma once
// The cable journals: one row per cable of the network, walked from the project tree. The same
// walk gives the journal window's grid, the painted journal pages and the rows of the Word report;
// their texts differ only where each form has its own wording.
#include <string>
#include <vector>

class TGrsed;
class TSitid;
class TCxemaGrupd;

// Which journal: 0 general, 1 substation section to main switchboards, 2 the panels of one main
// switchboard, 3 the group lines of one panel.
enum JournalKindValue {
    GeneralJournal = 0,
    SectionJournal = 1,
    SwitchboardJournal = 2,
    PanelJournal = 3
};

// One cable of a journal, with where its route starts.
struct JournalEntry {
    enum Cable { SwitchboardFeeder, PanelFeeder, GroupLine };
    enum Start { FromSection, FromSwitchboard, FromPanel };

    Cable cable = SwitchboardFeeder;
    const TGrsed* switchboard = nullptr;  // the switchboard walked (feeder rows) or the panel's
    const TSitid* panel = nullptr;        // panel feeder and group line rows
    const TCxemaGrupd* group = nullptr;   // group line rows
    // Panel feeders: the route starts at the substation section, at the switchboard or at the
    // panel numbered `startPanel` that feeds it in a cascade.
    Start start = FromSwitchboard;
    int startPanel = 0;
};

// The cables of the journal of that kind, in journal order; `number` is the switchboard (kind 2)
// or panel (kind 3) whose cables are listed. Switchboards in chain order, their panels in chain
// order, each panel's group lines in chain order; the tree's cursors end past the end. A cascade
// member starts at the panel that feeds it (its FeedingPanelNumber), wherever that panel stands
// in the chain; the grid, the pages and the report all take their starts from here.
std::vector<JournalEntry> JournalEntries(TGrsed& root, int journalKind, int number);

// The cells of a row in each form of the journal: the grid, the painted page and the Word report
// (the columns of the journal template's table). Every view takes as many as its row has.
inline constexpr int kJournalGridCells = 7;
inline constexpr int kJournalPageCells = 7;
inline constexpr int kJournalReportCells = 10;

// The cells of a row as the journal window's grid shows them: the running number `rowNumber`,
// designation, start, end, mark, cross-section, length.
std::vector<std::string> JournalGridRow(const JournalEntry& entry, int rowNumber);
// The texts of a row on the painted page: designation, start, end, route, mark, cross-section,
// length. Group lines are written as in the general journal or, for kind 3, as in the panel
// journal.
std::vector<std::string> JournalPageRow(const JournalEntry& entry, int journalKind);
// The cells of a row of the Word report: the page texts and empty cells to the template's width.
std::vector<std::string> JournalReportRow(const JournalEntry& entry, int journalKind);
