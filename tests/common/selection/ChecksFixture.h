#pragma once
// The network checks on a hand-built project: a breaker base and a transformer base of our own in
// the program folder, the adding of a group line as the group dialog does it (snapshot, append,
// tracked, recalculated), and an image of the whole tree to compare before and after a rollback.
#include <string>
#include <vector>

#include "BaseTableFiles.h"
#include "SelectionFixture.h"
#include "TreeImage.h"
#include "selection/CheckSupport.h"

// "A1".."A4": 1 to 4 poles, 16..63 A (A1 and A2 from 0.32 A); "B3": 80..250 A; "C3": 320..1600 A
// with multiplicity 5; every other series multiplicity 10.
extern const std::vector<BreakerSeriesRow> kBreakerRows;

class ChecksTest : public SelectionTest {
protected:
    void SetUp() override;

    void WriteBreakerBase(const std::vector<BreakerSeriesRow>& rows);
    // Writes "tranform.xml" (without the unique index on power) and loads it into the window.
    void WriteTransformerBase(const std::vector<TransformerBaseRow>& rows);

    // Switchboard 1 (20 m of copper cable, 50 mm2, breaker "B3" of 160 A) with the plain panel 1
    // (30 m of copper cable, 25 mm2), both on the copper cable table.
    void BuildProject();
    // The recalculation with the panel current; the cursors on it afterwards.
    void Recalculate(TSitid* panel);
    // The adding command's first steps: the snapshot, the line appended and tracked, the
    // recalculation; the line is the panel's current group afterwards.
    TCxemaGrupd* BeginAdding(TSitid* panel, const GroupLine& line);
    // The last message shown (an empty record, and a failure, when there was none).
    platform::MessageRecord LastMessage() const;
    // The single-phase fault current of a path with the largest transformer of the base.
    static double BestCaseCurrent(const selection::FaultPath& path);

    TGrsed* sw = nullptr;
    TSitid* panel = nullptr;
};
