#include "ChecksFixture.h"

#include "model/Chains.h"
#include "platform/ClientDataSet.h"
#include "refdb/BazaTran.h"
#include "refdb/TableSchemas.h"

const std::vector<BreakerSeriesRow> kBreakerRows = {
    {"A1", 0.32, 63, 1, 10}, {"A2", 0.32, 63, 2, 10}, {"A3", 16, 63, 3, 10},
    {"A4", 16, 63, 4, 10},   {"B3", 80, 250, 3, 10},  {"C3", 320, 1600, 3, 5},
};

void ChecksTest::SetUp() {
    SelectionTest::SetUp();
    WriteBreakerBase(kBreakerRows);
}

void ChecksTest::WriteBreakerBase(const std::vector<BreakerSeriesRow>& rows) {
    WriteBreakerBaseFile(ProgramFile("Avtomat.xml"), rows);
}

void ChecksTest::WriteTransformerBase(const std::vector<TransformerBaseRow>& rows) {
    WriteTransformerBaseFile(ProgramFile("tranform.xml"), rows);
    selection::ReloadTransformerBase();
}

void ChecksTest::BuildProject() {
    sw = AddSwitchboard(1);
    sw->SwitchboardFeederLength = 20;
    sw->SwitchboardSection = 50;
    sw->SwitchboardBreakerType = "B3";
    sw->SwitchboardInputRating = 160;
    panel = AddPanel(sw, 1, kCopperCable, kCopperCableRows, true);
    panel->FeederLength = 30;
    panel->FeederSection = 25;
    MakeCurrent(sw, panel);
}

void ChecksTest::Recalculate(TSitid* p) {
    MakeCurrent(sw, p);
    checks().RecalculateNetwork();
    MakeCurrent(sw, p);
}

TCxemaGrupd* ChecksTest::BeginAdding(TSitid* p, const GroupLine& line) {
    MakeCurrent(sw, p);
    checks().TakeProjectSnapshot();
    TCxemaGrupd* group =
        AddGroup(p, line, line.table == kCopperWire ? kCopperWireRows : kCopperCableRows);
    checks().TrackGroupChange(group);
    Recalculate(p);
    p->SchemeGroups.Cursor = group;
    return group;
}

platform::MessageRecord ChecksTest::LastMessage() const {
    const std::vector<platform::MessageRecord> messages = responder_.Messages();
    if (messages.empty()) {
        ADD_FAILURE() << "No message was shown";
        return {};
    }
    return messages.back();
}

double ChecksTest::BestCaseCurrent(const selection::FaultPath& path) {
    const std::vector<selection::TransformerRow> rows = selection::TransformerRows();
    return selection::FaultCurrent(path, rows.back());
}
