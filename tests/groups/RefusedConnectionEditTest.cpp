// A refused change of a panel's or a main switchboard's connection is taken back once: the panel
// is put back from its copies, or the switchboard rebuilt from them, and a refusal that their own
// recalculation meets again (the tables or the breaker base changed after the lines were
// entered) says nothing more and takes nothing back again. Each refusal shows its messages once
// and the project ends as it was before the edit.
#include <functional>
#include <ostream>

#include "GroupsFixture.h"
#include "app/Mainform.h"
#include "editing/EditDialog.h"
#include "editing/Shiti12.h"
#include "groups/Dan12.h"
#include "platform/Conversions.h"
#include "refdb/TableSchemas.h"

namespace {

using Messages = std::vector<std::pair<std::string, std::string>>;

constexpr char kBreakerQuestion[] =
    "Автоматы можно установить автоиатически или вручную.\nУстановить автоматически?";
constexpr char kCaption[] = "Предупреждение";
constexpr char kCancelled[] = "Редактирование отменяется";
constexpr char kNoRow[] = "Для данной мощности, в таблице нет данных.";
constexpr char kNoPanelBreaker[] =
    "В базе данных нет нужного автомата. Открыть базу данных для редактирования?";
constexpr char kShortCircuit[] =
    "Ток короткого замыкания превышает ток электромагнитного расцепителя.Редактирование "
    "отменяется";
constexpr char kDeviation[] =
    "Отклонение напряжения на потребителе более 10 %,редактирование отменяется";

class RefusedConnectionEdit : public GroupDialogTest {
public:
    // "Гр0" (one phase, 2.2 kW) and "Гр1" (four conductors, 6 kW) on panel 1 of switchboard 1.
    // The breaker dialogs of the edits take the first series offered.
    void SetUp() override {
        GroupDialogTest::SetUp();
        AddFirstLine();
        AddFourConductorLine();
        TakeTheFirstSeriesEveryTime();
    }

    // The base without a three-pole series above 10 A (the user took them out), or with every
    // series tripping at 50 times its rating.
    void TakeOutThreePoleSeries() { WriteBreakerBase(BreakerSeries({1600, 1600, 10, 1600})); }
    void TripAt50Times() { WriteBreakerBase(BreakerSeries({1600, 1600, 1600, 1600}, 50)); }
    // A four-core table that carries 5 A at most.
    void WriteSmallTable() {
        WriteCableTable("Мал4.xml", "ВВГ", "4", refdb::kCable, {{1.5, 4}, {2.5, 5}});
    }

    // The edit, refused with these messages after the breaker question (answered No, so that
    // the breakers are chosen by hand); the project is then as it was before the edit.
    void ExpectRefused(const std::function<void()>& edit, const Messages& messages,
                       bool breakerQuestion = true) {
        Dan1->ApplyAndRefresh(nullptr);
        responder_.VerifyDone();
        const TreeImage before = ImageWithoutResultSectionCopies(*ProjectRoot);
        if (breakerQuestion)
            responder_.ExpectMessage(kBreakerQuestion, "Установка автоматов.", platform::mrNo);
        for (const auto& [text, caption] : messages)
            responder_.ExpectMessage(text, caption, platform::mrNo);
        edit();
        responder_.VerifyDone();
        EXPECT_EQ(responder_.Messages().size(), messages.size() + (breakerQuestion ? 1 : 0));
        EXPECT_EQ(FirstDifference(ImageWithoutResultSectionCopies(*ProjectRoot), before), "");
        EXPECT_FALSE(Shiti->isVisible());
        const TForm3& form = *Form3;
        EXPECT_EQ(form.PanelEditMode + form.SwitchboardEditMode + form.PanelRestoredFlag, 0);
        EXPECT_TRUE(form.PanelCopies.empty());
        EXPECT_FALSE(form.SwitchboardCopy);
        EXPECT_EQ(Shiti->PanelToRestore, nullptr);
        EXPECT_TRUE(Form1->N4->isEnabled());
    }
};

class RefusedPanelEdit;

struct PanelCase {
    const char* what;
    // What the project meets, made before the edit.
    void (RefusedPanelEdit::*spoil)();
    std::string length;
    std::string demandFactor;
    Messages messages;
};

void PrintTo(const PanelCase& c, std::ostream* os) {
    *os << c.what;
}

class RefusedPanelEdit : public RefusedConnectionEdit,
                         public ::testing::WithParamInterface<PanelCase> {
public:
    // The switchboard's table no longer carries its current.
    void SmallSwitchboardTable() {
        WriteSmallTable();
        sw->SwitchboardTable = "Мал4.xml";
    }

    // "Щиты" > panel 1 > "Изменить", the feeder's length typed (and the demand factor, when
    // given), "Изменить" of the editor.
    static void EditPanel(const std::string& length, const std::string& demandFactor) {
        Form1->N4->trigger();
        Choose(*Form3->ComboBox4, "1");
        Choose(*Form3->ComboBox3, "1");
        Click(*Form3->Button5);
        ASSERT_TRUE(Shiti->isVisible());
        Type(*Shiti->Edit4, length);
        if (!demandFactor.empty()) Type(*Shiti->Edit9, demandFactor);
        Click(*Shiti->Button6);
    }

    // Seven lines of 390 kW on four conductors (592.6 A each, on busbars that carry 650 A) on
    // panel 1 at a demand factor of 0.5: 2730 kW in all, 4148 A at the factor 1, more than the
    // 4000 A of the largest breaker, 2074 A at 0.5. The feeders' table, the breakers and the
    // transformer are made for such a panel.
    void SevenHeavyLines() {
        WriteBreakerBase(BreakerSeries({1600, 1600, 4000, 4000}));
        WriteTransformerBase({{"ТМ-400/10", 400, 0, 0}, {"ТМ-6300/10", 6300, 0, 0}});
        std::vector<TableRow> feeder = kFeederRows;
        feeder.insert(feeder.end(), {{400, 3000}, {625, 4500}, {800, 6000}});
        WriteCableTable(kFeeder, "АВВГ", "4", refdb::kCable, feeder);
        std::vector<TableRow> busbars = kCable4Rows;
        busbars.push_back({240, 650});
        WriteCableTable("Шина4.xml", "ШМА", "4", refdb::kCable, busbars);
        ProjectRoot->TransformerName = "ТМ-6300/10";
        panel->DemandFactor = 0.5;
        for (int i = 0; i < 7; ++i) {
            Entry line;
            line.conductors = "4";
            line.table = "Шина4.xml";
            line.power = "390";
            line.name = "Ш" + platform::IntToStr(i);
            line.cable = "КШ" + platform::IntToStr(i);
            AddLine(line, {});
        }
    }
};

TEST_P(RefusedPanelEdit, ThePanelIsPutBackOnce) {
    const PanelCase& c = GetParam();
    if (c.spoil) (this->*c.spoil)();
    ExpectRefused([&] { EditPanel(c.length, c.demandFactor); }, c.messages);
}

INSTANTIATE_TEST_SUITE_P(
    Refusals, RefusedPanelEdit,
    ::testing::Values(
        // The switchboard's table no longer carries its current: the panel put back meets it
        // again in its own recalculation.
        PanelCase{"table row",
                  &RefusedPanelEdit::SmallSwitchboardTable,
                  "5",
                  "",
                  {{kNoRow, "Предупреждение."}, {kCancelled, kCaption}}},
        // The panel's breaker is not in the base any more, nor is it for the panel put back.
        PanelCase{"breaker list",
                  &RefusedPanelEdit::TakeOutThreePoleSeries,
                  "5",
                  "",
                  {{kNoPanelBreaker, kCaption}, {kCancelled, kCaption}}},
        // The demand factor 1 puts 4148 A on the panel.
        PanelCase{
            "beyond the series",
            &RefusedPanelEdit::SevenHeavyLines,
            "5",
            "1",
            {{"Максимальный номинальный ток автомата 4000 А.Ввод группы отменяется", kCaption},
             {kCancelled, kCaption}}},
        // 3 km of even the largest cable of the feeder's table keep a fault at the panel below
        // what trips its breaker.
        PanelCase{"short circuit",
                  &RefusedPanelEdit::TripAt50Times,
                  "3000",
                  "",
                  {{kShortCircuit, kCaption}}},
        PanelCase{"deviation", nullptr, "2000", "", {{kDeviation, kCaption}}}));

// Switchboard 2 with panel 2 and its lines "Гр2" and "Гр3" (3 kW on one phase each) stands
// after switchboard 1; it is edited, so that rebuilt from its copies it stands where it stood,
// last.
class RefusedSwitchboardEdit : public RefusedConnectionEdit {
public:
    void SetUp() override {
        RefusedConnectionEdit::SetUp();
        AddPanel(AddSwitchboard(2), 2);
        for (const auto& [name, cable] : {std::pair{"Гр2", "К2"}, std::pair{"Гр3", "К3"}}) {
            Entry line;
            line.panel = "2";
            line.name = name;
            line.cable = cable;
            line.power = "3";
            AddLine(line, {});
        }
    }

    // "Грщ" > switchboard 2 > "Изменить", the feeder's length typed (and the table chosen, when
    // given), "Изменить" of the editor.
    static void EditSwitchboard(const std::string& length, const std::string& table = "") {
        Form1->N30->trigger();
        Choose(*Form3->ComboBox4, "2");
        Click(*Form3->Button5);
        ASSERT_TRUE(Shiti->isVisible());
        Type(*Shiti->Edit3, length);
        if (!table.empty()) Choose(*Shiti->ComboBox1, table);
        Click(*Shiti->Button7);
    }
};

// The new switchboard's table does not carry its current.
TEST_F(RefusedSwitchboardEdit, ByATableRow) {
    WriteSmallTable();
    ExpectRefused([] { EditSwitchboard("5", "Мал4.xml"); }, {{kNoRow, "Предупреждение."}});
}

// Without the three-pole series the breaker of the section is chosen again for switchboard 1,
// left alone while switchboard 2 is connected anew: refused before anything is connected, and
// not asked again while switchboard 2 is rebuilt. For one switchboard the section's breaker is
// rated as the switchboard's input breaker.
TEST_F(RefusedSwitchboardEdit, ByTheBreakerList) {
    TakeOutThreePoleSeries();
    const std::string rating =
        platform::FloatToStr(ProjectRoot->Switchboards.First->SwitchboardInputRating);
    ExpectRefused([] { EditSwitchboard("5"); },
                  {{"Номинальный ток автомата " + rating +
                        " A. На участке трансформатор- Вру  В базе данных нет такого автомата. "
                        "Открыть базу данных для редактирования?",
                    kCaption},
                   {kCancelled, kCaption}},
                  false);
}

TEST_F(RefusedSwitchboardEdit, ByAShortCircuit) {
    TripAt50Times();
    ExpectRefused([] { EditSwitchboard("3000"); }, {{kShortCircuit, kCaption}});
}

TEST_F(RefusedSwitchboardEdit, ByTheDeviation) {
    ExpectRefused([] { EditSwitchboard("90000"); }, {{kDeviation, kCaption}});
}

}  // namespace
