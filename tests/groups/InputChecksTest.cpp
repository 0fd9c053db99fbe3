// The input checks of "Применить": each refusal in the order of the checks, with its message, and
// a project that a refused entry leaves as it was.
#include "GroupsFixture.h"
#include "editing/Shiti12.h"
#include "groups/Dan12.h"

using platform::mrNo;
using platform::mrOk;
using platform::MsgButtons;
using platform::MsgIcon;

namespace {

constexpr char kLower[] = "предупреждение.";
constexpr char kUpper[] = "Предупреждение.";

struct InputCase {
    const char* what;
    // Changes the valid entry; each case also spoils an entry that a later check tests, so that
    // the message shows which check comes first.
    void (*spoil)(Entry&);
    Shown message;
    std::string cosPhiAfter = "1";
};

const InputCase kInputCases[] = {
    {"cos phi not a number",
     [](Entry& e) {
         e.cosPhi = "x";
         e.length = "0";
     },
     {"Введите число.", kLower, MsgIcon::Warning}},
    {"cos phi above 1",
     [](Entry& e) {
         e.cosPhi = "1,1";
         e.length = "0";
     },
     {"Коэффициент мощности не может быть больше 1 или меньше или равно 0.", kLower,
      MsgIcon::Warning}},
    {"cos phi 0",
     [](Entry& e) {
         e.cosPhi = "0";
         e.temperature = "x";
     },
     {"Коэффициент мощности не может быть больше 1 или меньше или равно 0.", kLower,
      MsgIcon::Warning}},
    {"length with a fraction",
     [](Entry& e) {
         e.length = "12,5";
         e.temperature = "x";
     },
     {"Введите длину трассы.", kUpper, MsgIcon::Warning},
     "1"},
    // A line is at least 1 m long: 0 or a negative length would give no or negative losses.
    {"length 0",
     [](Entry& e) {
         e.length = "0";
         e.power = "0";
     },
     {"Введите длину трассы.", kUpper, MsgIcon::Warning}},
    {"negative length",
     [](Entry& e) {
         e.length = "-5";
         e.power = "0";
     },
     {"Введите длину трассы.", kUpper, MsgIcon::Warning}},
    {"temperature with a fraction",
     [](Entry& e) {
         e.temperature = "20,5";
         e.power = "x";
     },
     {"Введите температуру среды.", kUpper, MsgIcon::Warning}},
    {"temperature below -5",
     [](Entry& e) {
         e.temperature = "-6";
         e.power = "x";
     },
     {"Интервал температуры <от -5 до 50>.", kUpper, MsgIcon::Warning}},
    {"temperature above 50",
     [](Entry& e) {
         e.temperature = "51";
         e.name = "";
     },
     {"Интервал температуры <от -5 до 50>.", kUpper, MsgIcon::Warning}},
    {"power not a number",
     [](Entry& e) {
         e.power = "x";
         e.name = "";
     },
     {"Введите мощность.", "", MsgIcon::None}},
    {"power 0",
     [](Entry& e) {
         e.power = "0,0";
         e.name = "";
     },
     {"Введите мощность.", "", MsgIcon::None}},
    // A load takes power: a negative one would give negative currents and losses.
    {"negative power",
     [](Entry& e) {
         e.power = "-3";
         e.name = "";
     },
     {"Мощность должна быть больше нуля.", "", MsgIcon::None}},
    {"no group name",
     [](Entry& e) {
         e.name = "";
         e.cable = "";
     },
     {"Введите название группы.", kLower, MsgIcon::Warning}},
    {"a group name with a letter the project file cannot hold",
     [](Entry& e) {
         e.name = "Гр☃";
         e.cable = "";
     },
     {"Название группы содержит символы, которые нельзя сохранить в файле проекта.", kUpper,
      MsgIcon::Warning}},
    {"the group name of a line of the project",
     [](Entry& e) {
         e.name = "Гр0";
         e.cable = "";
     },
     {"Группа с таким именим существует. Измените название группы.", "", MsgIcon::None}},
    {"no cable name",
     [](Entry& e) { e.cable = ""; },
     {"Введите название кабеля или провода.", "", MsgIcon::None}},
    {"a cable name with a letter the project file cannot hold",
     [](Entry& e) { e.cable = "К☃"; },
     {"Название кабеля или провода содержит символы, которые нельзя сохранить в файле проекта.",
      kUpper, MsgIcon::Warning}},
    {"the cable name of a line",
     [](Entry& e) { e.cable = "К0"; },
     {"Название кабеля или провода с таким именим существует. Измените название.", "",
      MsgIcon::None}},
    {"the cable name of a panel feeder",
     [](Entry& e) { e.cable = "КЩ1"; },
     {"Название кабеля или провода с таким именим существует. Измените название.", "",
      MsgIcon::None}},
};

}  // namespace

class InputChecksTest : public GroupDialogTest {
protected:
    // A project with the line "Гр0" (cable "К0") on panel 1, and the window opened again.
    void SetUp() override {
        GroupDialogTest::SetUp();
        AddFirstLine();
        OpenGroupWindow();
    }

    struct Lists {
        std::vector<std::string> groups, cables;
        bool operator==(const Lists&) const = default;
    };
    static Lists ListsNow() { return {Dan1->GroupNames, Shiti->CableNames}; }
};

TEST_F(InputChecksTest, EachRefusalInTheOrderOfTheChecks) {
    const TreeImage tree = ImageOf(*ProjectRoot);
    const Lists lists = ListsNow();
    std::size_t shown = responder_.Messages().size();
    for (const InputCase& c : kInputCases) {
        Entry entry;
        c.spoil(entry);
        Fill(entry);
        responder_.ExpectMessage(c.message.text, c.message.caption, mrOk);
        Apply();
        const std::vector<platform::MessageRecord> messages = responder_.Messages();
        ASSERT_EQ(messages.size(), shown + 1) << c.what;
        EXPECT_EQ(messages.back().icon, c.message.icon) << c.what;
        EXPECT_EQ(messages.back().buttons, MsgButtons::Ok) << c.what;
        shown = messages.size();
        // Nothing of the project changed; the window is back with the entries.
        EXPECT_TRUE(ImageOf(*ProjectRoot) == tree) << c.what;
        EXPECT_TRUE(ListsNow() == lists) << c.what;
        EXPECT_TRUE(Dan1->isVisible()) << c.what;
        EXPECT_EQ(Dan1->Edit1->text().toStdString(), c.cosPhiAfter) << c.what;
        EXPECT_EQ(Dan1->GroupCounter, 2) << c.what;
    }
}

// A name differing only in letter case is another name.
TEST_F(InputChecksTest, NamesAreComparedExactly) {
    Entry entry;
    entry.name = "гр0";
    entry.cable = "к0";
    Fill(entry);
    ExpectBreakerDialogs({"Группы"});
    Apply();
    EXPECT_NE(SchemeRecord("гр0"), nullptr);
    EXPECT_EQ(Dan1->GroupCounter, 3);
}

// The temperature range is inclusive at both ends.
TEST_F(InputChecksTest, TemperaturesAtTheEndsOfTheRangePass) {
    int n = 0;
    for (const char* temperature : {"-5", "50"}) {
        Entry entry;
        entry.temperature = temperature;
        entry.name = "Т" + std::string(n == 0 ? "1" : "2");
        entry.cable = "Кт" + std::string(n == 0 ? "1" : "2");
        EnterLine(entry);
        const TCxemaGrupd* record = SchemeRecord(entry.name);
        ASSERT_NE(record, nullptr) << temperature;
        EXPECT_EQ(record->AmbientTemperature, n == 0 ? -5 : 50);
        ++n;
    }
}

// No laying method, and so no table, chosen.
TEST_F(InputChecksTest, NoTableChosen) {
    Fill(Entry{});
    Choose(*Dan1->ComboBox1, "3");  // the laying method and table choices go
    ASSERT_EQ(Dan1->ComboBox3->currentIndex(), -1);
    responder_.ExpectMessage("Нет таблиц.", kUpper, mrOk);
    Apply();
    ExpectShown({{"Нет таблиц.", kUpper, MsgIcon::Warning}});
}

// A window left without a conductor count but with a laying method and a table refuses the
// entry before the breaker base is searched for the line's poles. The user cannot unchoose a
// conductor count (and activating the window empties the other two lists then), so the state is
// set up here and the command run as the button runs it.
TEST_F(InputChecksTest, NoConductorCount) {
    const TreeImage tree = ImageOf(*ProjectRoot);
    Fill(Entry{});
    Dan1->ComboBox1->setCurrentIndex(-1);
    responder_.ExpectMessage("Введите количество жил.", kUpper, mrOk);
    Dan1->sledychiClick(Dan1->sledychi);
    ExpectShown({{"Введите количество жил.", kUpper, MsgIcon::Warning}});
    EXPECT_TRUE(ImageOf(*ProjectRoot) == tree);
}

// The reference tables the line needs: an empty table asks to open its window (the group window
// closes whatever the answer); a breaker base without breakers of the poles needed asks too, and
// "No" there leaves the window open.
TEST_F(InputChecksTest, ReferenceTablesWithoutData) {
    const std::string emptyTable =
        "В базе данных <Допустимые длительные токи> нет данных.Открыть "
        "базу данных?";
    // The chosen table loses its rows after it was listed.
    Fill(Entry{});
    WriteCableTable(kWire2, "ПВ1", "2", "Провод", {});
    responder_.ExpectMessage(emptyTable, kLower, platform::mrYes);
    responder_.ExpectModal("TBazaT", [](QDialog&) { return platform::mrCancel; });
    Apply();
    ExpectShown({{emptyTable, kLower, MsgIcon::Warning, MsgButtons::YesNo}});
    responder_.VerifyDone();
}

TEST_F(InputChecksTest, BreakerBaseWithoutThePolesOfTheLine) {
    const std::string single =
        "В базе данных <Автоматы> нет однополюсных автоматов.Открыть базу данных?";
    const std::string three =
        "В базе данных <Автоматы> нет трехполюсных автоматов.Открыть базу данных?";
    const struct {
        std::vector<BreakerSeriesRow> base;
        std::string conductors, table, question;
    } cases[] = {
        {{{"A2", 0.32, 1600, 2, 0}, {"A3", 0.32, 1600, 3, 0}}, "2", kWire2, single},
        // Single-pole breakers only: the line's own poles are there, the panel's are not.
        {{{"A1", 0.32, 1600, 1, 0}}, "2", kWire2, three},
        // Four conductors need only a breaker of 3 or 4 poles.
        {{{"A1", 0.32, 1600, 1, 0}, {"A2", 0.32, 1600, 2, 0}}, "4", kCable4, three},
    };
    for (const auto& c : cases) {
        WriteBreakerBase(c.base);
        Entry entry;
        entry.conductors = c.conductors;
        entry.table = c.table;
        Fill(entry);
        responder_.ExpectMessage(c.question, kLower, mrNo);
        Apply();
        responder_.VerifyDone();
        EXPECT_TRUE(Dan1->isVisible()) << c.question;
    }
}
