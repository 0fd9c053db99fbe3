#include "ChecksFixture.h"

#include "groups/InsertAvtomat.h"
#include "model/Chains.h"
#include "platform/ClientDataSet.h"
#include "refdb/BazaTran.h"
#include "refdb/TableSchemas.h"

const std::vector<BreakerSeriesRow> kBreakerRows = {
    {"A1", 0.32, 63, 1, 10}, {"A2", 0.32, 63, 2, 10}, {"A3", 16, 63, 3, 10},
    {"A4", 16, 63, 4, 10},   {"B3", 80, 250, 3, 10},  {"C3", 320, 1600, 3, 5},
};

namespace {

template <typename Fields, typename T, typename Link>
void Collect(std::vector<Fields>& out, std::vector<int>& lengths, const ChainBlock<T>& chain,
             Link link) {
    int n = 0;
    for (T* e = chain.First; e; e = link(*e).Next, ++n) out.push_back(static_cast<Fields&>(*e));
    lengths.push_back(n);
}

}  // namespace

TreeImage ImageOf(const TGrsed& root) {
    TreeImage image;
    image.boards.push_back(root);
    for (TGrsed* sw = root.Switchboards.First; sw; sw = sw->Switchboards.Next) {
        image.boards.push_back(*sw);
        for (TSitid* p = sw->Panels.First; p; p = p->Panels.Next) {
            image.panels.push_back(*p);
            Collect(image.scheme, image.chainLengths, p->SchemeGroups, chains::SchemeLink{});
            Collect(image.single, image.chainLengths, p->SinglePhaseGroups,
                    chains::SinglePhaseLink{});
            Collect(image.two, image.chainLengths, p->TwoPhaseGroups, chains::TwoPhaseLink{});
            Collect(image.three, image.chainLengths, p->ThreePhaseGroups, chains::ThreePhaseLink{});
            for (int x = 0; x < 3; ++x) {
                Collect(image.single, image.chainLengths, p->SinglePhaseByPhase[x],
                        chains::SinglePhaseByPhaseLink{x});
                Collect(image.two, image.chainLengths, p->TwoPhaseByPhase[x],
                        chains::TwoPhaseByPhaseLink{x});
                Collect(image.three, image.chainLengths, p->ThreePhaseByPhase[x],
                        chains::ThreePhaseByPhaseLink{x});
            }
        }
    }
    return image;
}

void ChecksTest::SetUp() {
    SelectionTest::SetUp();
    WriteBreakerBase(kBreakerRows);
}

void ChecksTest::WriteBreakerBase(const std::vector<BreakerSeriesRow>& rows) {
    platform::TClientDataSet ds;
    refdb::DefineBreakerTable(ds);
    ds.CreateDataSet();
    for (const BreakerSeriesRow& row : rows) {
        ds.Append();
        ds.FieldByName("Серии").SetAsString(row.series);
        ds.FieldByName("Мин. ном. ток. А").SetAsFloat(row.minRating);
        ds.FieldByName("Мак. ном. ток А").SetAsFloat(row.maxRating);
        ds.FieldByName("Число полюсов").SetAsInteger(row.poles);
        ds.FieldByName("Кратность тока при КЗ").SetAsFloat(row.multiplicity);
        ds.Post();
    }
    ds.SaveToFile(ProgramFile("Avtomat.xml"));
    ds.SetFileName("");
    ds.Close();
}

void ChecksTest::WriteTransformerBase(const std::vector<TransformerBaseRow>& rows) {
    platform::TClientDataSet ds;
    refdb::DefineTransformerTable(ds);
    ds.IndexDefs().Clear();  // two transformers of one power may stand in a base
    ds.CreateDataSet();
    for (const TransformerBaseRow& row : rows) {
        ds.Append();
        ds.FieldByName("Трансформатор").SetAsString(row.name);
        ds.FieldByName("Мощность кВА").SetAsFloat(row.power);
        ds.FieldByName("Напряжение к.з. %").SetAsFloat(row.uk);
        ds.FieldByName("Потери к.з. Вт").SetAsFloat(row.losses);
        ds.Post();
    }
    ds.SaveToFile(ProgramFile("tranform.xml"));
    ds.SetFileName("");
    ds.Close();
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
    dan().RecalculateNetwork();
    MakeCurrent(sw, p);
}

TCxemaGrupd* ChecksTest::BeginAdding(TSitid* p, const GroupLine& line) {
    MakeCurrent(sw, p);
    dan().TakeProjectSnapshot();
    TCxemaGrupd* group =
        AddGroup(p, line, line.table == kCopperWire ? kCopperWireRows : kCopperCableRows);
    dan().TrackGroupChange(group);
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

std::vector<std::string> ChecksTest::ListedSeries() {
    std::vector<std::string> series;
    for (int i = 0; i < InsertAvtomat->ComboBox1->count(); ++i)
        series.push_back(InsertAvtomat->ComboBox1->itemText(i).toStdString());
    return series;
}

double ChecksTest::BestCaseCurrent(const selection::FaultPath& path) {
    const std::vector<selection::TransformerRow> rows = selection::TransformerRows();
    return selection::FaultCurrent(path, rows.back());
}
