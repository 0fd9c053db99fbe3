// Every view of a table or journal takes as many cells as the row builder gives: a row of
// another width would lose its last cells in a grid or on a page, or shift every later cell of a
// Word table.
#include <gtest/gtest.h>

#include "TablesFixture.h"
#include "documents/ConsumerTable.h"
#include "documents/GroupResults.h"
#include "documents/JournalRows.h"
#include "documents/NetworkTable.h"

namespace {

using Row = std::vector<std::string>;

// Switchboard 1 with panel 1 (a line of each kind) and panel 2 without load, and switchboard 2
// without panels: every kind of row each table and journal has.
TEST_F(TablesTest, EveryRowHasTheCellsOfItsViews) {
    TGrsed& sw = AddSwitchboard(1);
    TSitid& loaded = AddPanel(sw, 1);
    AddGroup(loaded, "1.1", 2);
    AddGroup(loaded, "1.2", 3);
    AddGroup(loaded, "1.3", 4);
    AddPanel(sw, 2).InstalledPower = 0;
    AddSwitchboard(2);

    const struct {
        int kind;
        int number;
    } journals[] = {
        {GeneralJournal, 0}, {SectionJournal, 0}, {SwitchboardJournal, 1}, {PanelJournal, 1}};
    int journalRows = 0;
    for (const auto& j : journals) {
        for (const JournalEntry& entry : JournalEntries(*ProjectRoot, j.kind, j.number)) {
            SCOPED_TRACE(j.kind);
            EXPECT_EQ(JournalGridRow(entry, 1).size(), std::size_t(kJournalGridCells));
            EXPECT_EQ(JournalPageRow(entry, j.kind).size(), std::size_t(kJournalPageCells));
            EXPECT_EQ(JournalReportRow(entry, j.kind).size(), std::size_t(kJournalReportCells));
            ++journalRows;
        }
    }
    EXPECT_GE(journalRows, 2 + 2 + 2 + 3);

    const std::vector<NetworkTableEntry> network = NetworkTableEntries(*ProjectRoot);
    ASSERT_EQ(network.size(), 4u);
    for (const NetworkTableEntry& entry : network) {
        SCOPED_TRACE(entry.number);
        EXPECT_EQ(NetworkGridRow(entry).size(), std::size_t(kNetworkGridCells));
        EXPECT_EQ(NetworkPageRow(entry).size(), std::size_t(kNetworkPageCells));
        // A row without load is left out of the report.
        const Row report = NetworkReportRow(entry);
        if (entry.installedPower != 0) {
            EXPECT_EQ(report.size(), std::size_t(kNetworkReportCells));
        } else {
            EXPECT_TRUE(report.empty());
        }
    }

    const std::vector<Row> consumers = ConsumerTableRows(*ProjectRoot, 1);
    ASSERT_EQ(consumers.size(), 3u);
    for (const Row& row : consumers) EXPECT_EQ(row.size(), std::size_t(kConsumerTableCells));

    EXPECT_EQ(GroupResultHeadings().size(), std::size_t(kGroupResultCells));
    for (const Row& row : GroupResultRows(loaded))
        EXPECT_EQ(row.size(), std::size_t(kGroupResultCells));
    EXPECT_EQ(SwitchboardResultHeadings().size(), std::size_t(kSwitchboardResultCells));
    EXPECT_EQ(SwitchboardResultRow(sw).size(), std::size_t(kSwitchboardResultCells));
}

}  // namespace
