#include "GroupsFixture.h"

#include <QAbstractButton>
#include <QTest>
#include <algorithm>

#include "TreeLookup.h"
#include "app/Mainform.h"
#include "app/SchemeWindow.h"
#include "drawings/DrawingState.h"
#include "editing/EditDialog.h"
#include "groups/Dan12.h"
#include "groups/InsertAvtomat.h"
#include "model/Chains.h"
#include "platform/Canvas.h"
#include "platform/ClientDataSet.h"
#include "platform/Conversions.h"
#include "platform/Image.h"
#include "platform/Messages.h"
#include "refdb/TableSchemas.h"
#include "selection/CheckSupport.h"
#include "app/PowerSystem.h"

const std::vector<TableRow> kWire2Rows = {{1.5, 19}, {2.5, 27}, {4, 38},
                                          {6, 46},   {10, 70},  {16, 100}};
const std::vector<TableRow> kCable3Rows = {{1.5, 19}, {2.5, 25}, {4, 35},  {6, 42},
                                           {10, 55},  {16, 75},  {25, 95}, {35, 120}};
const std::vector<TableRow> kCable4Rows = {{1.5, 19}, {2.5, 25}, {4, 35},   {6, 42},  {10, 55},
                                           {16, 75},  {25, 95},  {35, 120}, {50, 145}};
const std::vector<TableRow> kFeederRows = {{4, 38},    {6, 46},    {10, 70},  {16, 90},  {25, 115},
                                           {35, 140},  {50, 175},  {70, 215}, {95, 260}, {120, 300},
                                           {150, 340}, {185, 390}, {240, 465}};

void GroupDialogTest::SetUp() {
    AppFixture::SetUp();
    WriteBreakerBase(BreakerSeries({1600, 1600, 1600, 1600}));
    // An ideal transformer: no voltage loss of its own.
    WriteTransformerBase({{"ТМ-400/10", 400, 0, 0}, {"ТМ-630/10", 630, 0, 0}});
    WriteCableTable(kWire2, "ПВ1", "2", refdb::kWire, kWire2Rows);
    WriteCableTable(kCable3, "ВВГ", "3", refdb::kCable, kCable3Rows);
    WriteCableTable(kCable4, "ВВГ", "4", refdb::kCable, kCable4Rows);
    WriteCableTable(kFeeder, "АВВГ", "4", refdb::kCable, kFeederRows);

    ProjectRoot = new TGrsed;
    ProjectRoot->TransformerName = "ТМ-400/10";
    sw = AddSwitchboard(1);
    panel = AddPanel(sw, 1);
}

void GroupDialogTest::TearDown() {
    DeleteProjectTree(ProjectRoot);
    AppFixture::TearDown();
}

void GroupDialogTest::WriteBreakerBase(const std::vector<BreakerSeriesRow>& rows) {
    WriteBreakerBaseFile(ProgramFile(refdb::kBreakerFile), rows);
    selection::LoadBreakerRows();
}

void GroupDialogTest::WriteTransformerBase(const std::vector<TransformerBaseRow>& rows) {
    WriteTransformerBaseFile(ProgramFile(refdb::kTransformerFile), rows);
    selection::ReloadTransformerBase();
}

void GroupDialogTest::WriteCableTable(const std::string& fileName, const std::string& brand,
                                      const std::string& conductors, const std::string& kind,
                                      const std::vector<TableRow>& rows) {
    const refdb::CableTableParameters parameters{brand, refdb::kInAir, conductors, kind,
                                                 refdb::kCopper};
    const bool zeroCore = refdb::HasZeroConductorField(parameters);
    platform::TClientDataSet ds;
    refdb::DefineCableTable(ds, parameters);
    ds.CreateDataSet();
    // Written largest first: the program orders a table by its sections itself.
    for (auto row = rows.rbegin(); row != rows.rend(); ++row) {
        ds.Append();
        ds.FieldByName(refdb::kCrossSection).SetAsFloat(row->section);
        if (zeroCore) ds.FieldByName(refdb::kZeroCrossSection).SetAsFloat(row->section);
        ds.FieldByName(refdb::kContinuousCurrent).SetAsFloat(row->current);
        ds.Post();
    }
    ds.SaveToFile(ProgramFile(fileName));
    ds.SetFileName("");
    ds.Close();
}

TGrsed* GroupDialogTest::AddSwitchboard(int number) {
    TGrsed record;
    record.SwitchboardNumber = number;
    record.SwitchboardTable = kFeeder;
    record.SwitchboardLaying = refdb::kInAir;
    record.SwitchboardTemperature = 25;
    record.SwitchboardConductorMaterial = refdb::kCopper;
    record.SwitchboardCableName = "КГ" + platform::IntToStr(number);
    record.SwitchboardZeroCoreTable = 1;
    for (const TableRow& row : kFeederRows) {
        record.SwitchboardSections.push_back(row.section);
        record.SwitchboardZeroSections.push_back(row.section);
    }
    record.SwitchboardSectionCount = static_cast<int>(kFeederRows.size());
    ProjectRoot->AddSwitchboard(record);
    ++ProjectRoot->SwitchboardCount;
    TGrsed* added = ProjectRoot->Switchboards.Last;
    added->SwitchboardSections = record.SwitchboardSections;
    added->SwitchboardZeroSections = record.SwitchboardZeroSections;
    ProjectRoot->Switchboards.Cursor = added;
    return added;
}

TSitid* GroupDialogTest::AddPanel(TGrsed* board, int number) {
    TSitid record;
    record.PanelNumber = number;
    record.Position = board->PanelCount + 1;
    record.CurrentTableName = kFeeder;
    record.FeederLayingMethod = refdb::kInAir;
    record.FeederTemperature = 25;
    record.FeederConductorMaterial = refdb::kCopper;
    record.FeederCableName = "КЩ" + platform::IntToStr(number);
    record.ZeroCoreTable = 1;
    for (const TableRow& row : kFeederRows) {
        record.FeederSections.push_back(row.section);
        record.FeederZeroSections.push_back(row.section);
    }
    record.FeederSectionCount = static_cast<int>(kFeederRows.size());
    ProjectRoot->AddPanel(board->SwitchboardNumber, record);
    ++board->PanelCount;
    TSitid* added = board->Panels.Last;
    ProjectRoot->Switchboards.Cursor = board;
    board->Panels.Cursor = added;
    return added;
}

void GroupDialogTest::OpenGroupWindow() {
    responder_.ExpectModal("TPowerSystem", [](QDialog&) {
        QTest::mouseClick(PowerSystem->Button1, Qt::LeftButton);
        return platform::mrNone;
    });
    Form1->N11->trigger();
    ASSERT_TRUE(Dan1->isVisible());
}

void GroupDialogTest::Choose(QComboBox& list, const std::string& item) {
    const int index = list.findText(QString::fromStdString(item));
    ASSERT_GE(index, 0) << item;
    list.setFocus();
    // From the first item down to the one wanted, each step a choice of the user's; a list
    // without a choice starts above its first item.
    if (list.currentIndex() > 0) QTest::keyClick(&list, Qt::Key_Home);
    while (list.currentIndex() < index) QTest::keyClick(&list, Qt::Key_Down);
    ASSERT_EQ(list.currentIndex(), index);
}

void GroupDialogTest::Type(QLineEdit& edit, const std::string& text) {
    edit.setFocus();
    QTest::keyClick(&edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(&edit, Qt::Key_Delete);
    // Letters one by one with their text: Cyrillic letters have no key code of their own.
    for (const QChar letter : QString::fromStdString(text))
        QTest::sendKeyEvent(QTest::Click, &edit, Qt::Key_unknown, QString(letter), Qt::NoModifier);
}

void GroupDialogTest::Click(QAbstractButton& button) {
    QTest::mouseClick(&button, Qt::LeftButton);
}

void GroupDialogTest::Fill(const Entry& entry) {
    TDan1& d = *Dan1;
    Choose(*d.ComboBox2, entry.panel);
    Choose(*d.ComboBox1, entry.conductors);
    Type(*d.Edit4, entry.length);
    Type(*d.Edit2, entry.power);
    Type(*d.Edit1, entry.cosPhi);
    Type(*d.Edit6, entry.name);
    Type(*d.Edit5, entry.temperature);
    Choose(*d.ComboBox3, entry.laying);
    Choose(*d.ComboBox4, entry.table);
    Type(*d.Edit7, entry.cable);
}

void GroupDialogTest::ExpectBreakerDialogs(const std::vector<std::string>& targets) {
    for (const std::string& target : targets) {
        responder_.ExpectModal("TInsertAvtomat", [target](QDialog&) {
            EXPECT_EQ(InsertAvtomat->GroupBox1->title().toStdString(), target);
            InsertAvtomat->ComboBox1->setCurrentIndex(0);
            QTest::mouseClick(InsertAvtomat->Button2, Qt::LeftButton);
            return platform::mrNone;
        });
    }
}

void GroupDialogTest::Apply() {
    Click(*Dan1->sledychi);
}

void GroupDialogTest::EnterLine(const Entry& entry, const std::vector<std::string>& breakers) {
    Fill(entry);
    ExpectBreakerDialogs(breakers);
    Apply();
    responder_.VerifyDone();
}

void GroupDialogTest::AddLine(const Entry& entry, const std::vector<std::string>& breakers) {
    OpenGroupWindow();
    EnterLine(entry, breakers);
    Click(*Dan1->ok);
}

void GroupDialogTest::AddFirstLine() {
    Entry first;
    first.name = "Гр0";
    first.cable = "К0";
    AddLine(first, kNewProjectBreakers);
}

void GroupDialogTest::AddFourConductorLine() {
    Entry second;
    second.conductors = "4";
    second.table = kCable4;
    second.power = "6";
    second.cosPhi = "0,9";
    AddLine(second);
}

void GroupDialogTest::TakeTheFirstSeriesEveryTime() {
    responder_.AnswerEvery("TInsertAvtomat", [](QDialog&) {
        InsertAvtomat->ComboBox1->setCurrentIndex(InsertAvtomat->ComboBox1->count() > 0 ? 0 : -1);
        QTest::mouseClick(InsertAvtomat->Button2, Qt::LeftButton);
        return platform::mrNone;
    });
}

void GroupDialogTest::OpenGroupEditor(const std::string& name) {
    Form1->N25->trigger();
    ASSERT_TRUE(Form3->isVisible());
    Choose(*Form3->ComboBox4, platform::IntToStr(panel->PanelNumber));
    Choose(*Form3->ComboBox3, name);
    responder_.ExpectModal("TPowerSystem", [](QDialog&) {
        QTest::mouseClick(PowerSystem->Button1, Qt::LeftButton);
        return platform::mrNone;
    });
    Click(*Form3->Button5);
    responder_.VerifyDone();
    ASSERT_TRUE(Dan1->isVisible());
}

void GroupDialogTest::ExpectShown(const std::vector<Shown>& expected) {
    const std::vector<platform::MessageRecord> shown = responder_.Messages();
    ASSERT_EQ(shown.size(), expected.size());
    for (std::size_t i = 0; i < shown.size(); ++i) {
        EXPECT_EQ(shown[i].text, expected[i].text) << i;
        EXPECT_EQ(shown[i].caption, expected[i].caption) << i;
        EXPECT_EQ(shown[i].icon, expected[i].icon) << i;
        EXPECT_EQ(shown[i].buttons, expected[i].buttons) << i;
    }
}

namespace {

// The link accessor of a chain gives a panel's owner block too: a panel is a record of each kind.
template <typename Link, typename Name>
auto FindRecord(Link link, Name name, const std::string& wanted)
    -> decltype(link(std::declval<TSitid&>()).First) {
    if (!ProjectRoot) return nullptr;
    for (TGrsed* board = ProjectRoot->Switchboards.First; board; board = board->Switchboards.Next)
        for (TSitid* p = board->Panels.First; p; p = p->Panels.Next)
            for (auto* r = link(*p).First; r; r = link(*r).Next)
                if (name(*r) == wanted) return r;
    return nullptr;
}

}  // namespace

std::vector<BreakerSeriesRow> BreakerSeries(const std::array<double, 4>& largest,
                                            double multiplicity) {
    std::vector<BreakerSeriesRow> rows;
    for (int poles = 1; poles <= 4; ++poles)
        rows.push_back(
            {"A" + platform::IntToStr(poles), 0.32, largest[poles - 1], poles, multiplicity});
    return rows;
}

std::vector<std::string> NamesOf(const TSitid& panel) {
    return GroupNames(panel, panel.SchemeGroupCount);
}

TCxemaGrupd* SchemeRecord(const std::string& name) {
    return FindRecord(
        chains::SchemeLink{}, [](const TCxemaGrupd& r) { return r.GroupName; }, name);
}
TFasaGrup1d* SinglePhaseRecord(const std::string& name) {
    return FindRecord(
        chains::SinglePhaseLink{}, [](const TFasaGrup1d& r) { return r.GroupName1; }, name);
}
TFasaGrup2d* TwoPhaseRecord(const std::string& name) {
    return FindRecord(
        chains::TwoPhaseLink{}, [](const TFasaGrup2d& r) { return r.GroupName2; }, name);
}
TFasaGrup3d* ThreePhaseRecord(const std::string& name) {
    return FindRecord(
        chains::ThreePhaseLink{}, [](const TFasaGrup3d& r) { return r.GroupName3; }, name);
}
