// Connecting main switchboards to the substation section in the upper box of "Щиты".
#include <gtest/gtest.h>

#include <QFile>

#include "ConnectionFixture.h"
#include "TreeLookup.h"
#include "app/Mainform.h"
#include "editing/EditDialog.h"
#include "editing/Shiti12.h"

namespace {

using platform::MsgIcon;
using Strings = std::vector<std::string>;
using Numbers = std::vector<double>;

using SwitchboardConnection = ConnectionTest;

TEST_F(SwitchboardConnection, EachSwitchboardGetsItsCreationNumberAndItsFeeder) {
    NewProject([] {
        ConnectSwitchboard({"1", "50", "В воздухе", "ВВГв4.xml", "15", "КГ1"});
        ConnectSwitchboard({"2", "12,5", "В земле", "АВВГз4.xml", "-5", "КГ2"});
    });
    EXPECT_TRUE(responder_.Messages().empty());
    ASSERT_EQ(ProjectRoot->SwitchboardCount, 2);
    EXPECT_EQ(Shiti->SwitchboardCounter, 2);
    EXPECT_EQ(Items(*Shiti->ComboBox2), (Strings{"1", "2"}));
    EXPECT_EQ(Shiti->CableNames, (Strings{"КГ1", "КГ2"}));

    const TGrsed* first = SwitchboardNumbered(1);
    const TGrsed* second = SwitchboardNumbered(2);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(ProjectRoot->Switchboards.First, first);
    EXPECT_EQ(first->Switchboards.Next, second);
    EXPECT_EQ(first->SwitchboardCount, 1);
    EXPECT_EQ(first->SchemeOrder, 0);
    EXPECT_EQ(second->SwitchboardCount, 2);
    EXPECT_EQ(second->SchemeOrder, 1);

    EXPECT_EQ(first->SwitchboardFeederLength, 50.0);
    EXPECT_EQ(first->SwitchboardLaying, "В воздухе");
    EXPECT_EQ(first->SwitchboardTable, "ВВГв4.xml");
    EXPECT_EQ(first->SwitchboardConductorMaterial, "Медь");
    EXPECT_EQ(first->SwitchboardTemperature, 15);
    EXPECT_EQ(first->SwitchboardCableName, "КГ1");
    EXPECT_EQ(first->SupplyScPower, 180.0);
    EXPECT_EQ(first->PanelCount, 0);
    EXPECT_EQ(second->SwitchboardFeederLength, 12.5);
    EXPECT_EQ(second->SwitchboardLaying, "В земле");
    EXPECT_EQ(second->SwitchboardConductorMaterial, "Алюминий");
    EXPECT_EQ(second->SwitchboardTemperature, -5);
    EXPECT_TRUE(Form1->ToolButton4->isEnabled());
}

// The table's rows stand in the file as 16, 4, 10, 2.5; the feeder keeps them ascending, each
// zero conductor's section beside its phase section.
TEST_F(SwitchboardConnection, CrossSectionsAreKeptInAscendingOrder) {
    AddProgramFile("editing/КГТв4.xml", "КГТв4.xml");
    AddProgramFile("editing/Пустаяв4.xml", "ПВ3в4.xml");
    NewProject([] {
        ConnectSwitchboard({"1", "50", "В воздухе", "КГТв4.xml", "15", "КГ1"});
        // Seven fields: no zero conductor column.
        ConnectSwitchboard({"2", "50", "В воздухе", "ПВ1в4.xml", "15", "КГ2"});
        // As connected.
        EXPECT_EQ(SwitchboardNumbered(1)->SwitchboardZeroSections, (Numbers{2.5, 4, 6, 10}));
        EXPECT_EQ(SwitchboardNumbered(1)->SwitchboardZeroCoreTable, 1);
    });
    const TGrsed* cable = SwitchboardNumbered(1);
    // The refresh of "Закрыть" keeps them for a switchboard without load.
    EXPECT_EQ(cable->SwitchboardSections, (Numbers{2.5, 4, 10, 16}));
    EXPECT_EQ(cable->SwitchboardZeroSections, (Numbers{2.5, 4, 6, 10}));
    EXPECT_EQ(cable->SwitchboardSectionCount, 4);
    EXPECT_EQ(cable->SwitchboardZeroCoreTable, 1);
    const TGrsed* wire = SwitchboardNumbered(2);
    EXPECT_EQ(wire->SwitchboardSections, (Numbers{1, 1.5, 2.5, 4, 6, 10, 16, 25, 35, 50, 70, 95,
                                                  120, 150, 185, 240, 300, 400}));
    EXPECT_TRUE(wire->SwitchboardZeroSections.empty());
    EXPECT_EQ(wire->SwitchboardSectionCount, 18);
    EXPECT_EQ(wire->SwitchboardZeroCoreTable, 0);
    EXPECT_EQ(wire->SwitchboardConductorMaterial, "Медь");
}

// Entries at the edges of what is allowed.
struct Accepted {
    const char* what;
    SwitchboardEntry entry;
    double length;
    int temperature;
};

void PrintTo(const Accepted& c, std::ostream* os) {
    *os << c.what;
}

class SwitchboardAccepted : public ConnectionTest,
                            public ::testing::WithParamInterface<Accepted> {};

TEST_P(SwitchboardAccepted, IsConnected) {
    const Accepted& c = GetParam();
    NewProject([&] { ConnectSwitchboard(c.entry); });
    EXPECT_TRUE(responder_.Messages().empty());
    ASSERT_EQ(ProjectRoot->SwitchboardCount, 1);
    EXPECT_EQ(ProjectRoot->Switchboards.First->SwitchboardFeederLength, c.length);
    EXPECT_EQ(ProjectRoot->Switchboards.First->SwitchboardTemperature, c.temperature);
}

INSTANTIATE_TEST_SUITE_P(
    Edges, SwitchboardAccepted,
    ::testing::Values(
        Accepted{"coldest", {"1", "50", "В воздухе", "ВВГв4.xml", "-5", "КГ1"}, 50, -5},
        Accepted{"hottest", {"1", "50", "В воздухе", "ВВГв4.xml", "50", "КГ1"}, 50, 50},
        Accepted{"short length", {"1", "0,5", "В воздухе", "ВВГв4.xml", "15", "КГ1"}, 0.5, 15},
        Accepted{"length with a point",
                 {"1", "12.5", "В воздухе", "ВВГв4.xml", "15", "КГ1"},
                 12.5,
                 15}));

// A refused entry: its message, and nothing changed. Switchboard 1 with "КГ1" is connected
// before; each case changes one entry of a good switchboard 2 (two, where the order of the
// checks is what is tested).
struct Refusal {
    const char* what;
    SwitchboardEntry entry;
    std::string text;
    std::string caption;
    MsgIcon icon;
};

void PrintTo(const Refusal& c, std::ostream* os) {
    *os << c.what;
}

class SwitchboardRefused : public ConnectionTest, public ::testing::WithParamInterface<Refusal> {};

TEST_P(SwitchboardRefused, ShowsItsMessageAndChangesNothing) {
    const Refusal& c = GetParam();
    NewProject([&] {
        ConnectSwitchboard({"1", "50", "В воздухе", "ВВГв4.xml", "15", "КГ1"});
        responder_.ExpectMessage(c.text, c.caption, platform::mrOk);
        ConnectSwitchboard(c.entry);
        EXPECT_EQ(LastMessage().icon, c.icon);
        EXPECT_EQ(ProjectRoot->SwitchboardCount, 1);
        EXPECT_EQ(ProjectRoot->Switchboards.First, ProjectRoot->Switchboards.Last);
        EXPECT_EQ(Shiti->SwitchboardCounter, 1);
        EXPECT_EQ(Items(*Shiti->ComboBox2), (Strings{"1"}));
        EXPECT_EQ(Shiti->CableNames, (Strings{"КГ1"}));
    });
}

const std::string kLength = "Введите длину трассы.";
const std::string kRange = "Интервал температуры <от -5 до +50>";
const std::string kCable = "Введите название кабеля или провода.";
const std::string kWarning = "Предупреждение.";

INSTANTIATE_TEST_SUITE_P(
    Checks, SwitchboardRefused,
    ::testing::Values(
        Refusal{"no length",
                {"2", "", "В земле", "ВВГз4.xml", "15", "КГ2"},
                kLength,
                kWarning,
                MsgIcon::Warning},
        Refusal{"length 0",
                {"2", "0", "В земле", "ВВГз4.xml", "15", "КГ2"},
                kLength,
                kWarning,
                MsgIcon::Warning},
        Refusal{"length 0,0",
                {"2", "0,0", "В земле", "ВВГз4.xml", "15", "КГ2"},
                kLength,
                kWarning,
                MsgIcon::Warning},
        Refusal{"negative length",
                {"2", "-5", "В земле", "ВВГз4.xml", "15", "КГ2"},
                kLength,
                kWarning,
                MsgIcon::Warning},
        Refusal{"length no number",
                {"2", "abc", "В земле", "ВВГз4.xml", "15", "КГ2"},
                kLength,
                kWarning,
                MsgIcon::Warning},
        Refusal{"number no integer",
                {"2,5", "50", "В земле", "ВВГз4.xml", "15", "КГ2"},
                "Введите номер ГРЩ.",
                kWarning,
                MsgIcon::Warning},
        // 0 is the "none" of the number lists; written with more zeros it is still 0.
        Refusal{"number 0",
                {"0", "50", "В земле", "ВВГз4.xml", "15", "КГ2"},
                "Введите номер ГРЩ отличный от 0.",
                kWarning,
                MsgIcon::Warning},
        Refusal{"number 00, checked before the table",
                {"00", "50", "В земле", "", "15", "КГ2"},
                "Введите номер ГРЩ отличный от 0.",
                kWarning,
                MsgIcon::Warning},
        Refusal{"no temperature",
                {"2", "50", "В земле", "ВВГз4.xml", "", "КГ2"},
                "Введите температуру среды.",
                kWarning,
                MsgIcon::Warning},
        Refusal{"too hot",
                {"2", "50", "В земле", "ВВГз4.xml", "51", "КГ2"},
                kRange,
                kWarning,
                MsgIcon::Warning},
        Refusal{"too cold",
                {"2", "50", "В земле", "ВВГз4.xml", "-6", "КГ2"},
                kRange,
                kWarning,
                MsgIcon::Warning},
        Refusal{"no table",
                {"2", "50", "В земле", "", "15", "КГ2"},
                "Откройте таблицу.",
                kWarning,
                MsgIcon::Warning},
        Refusal{"number listed",
                {"1", "50", "В земле", "ВВГз4.xml", "15", "КГ2"},
                "Название с таким номером существует. Измените номер ГРЩ.",
                kWarning,
                MsgIcon::Warning},
        Refusal{"the same number written otherwise",
                {"01", "50", "В земле", "ВВГз4.xml", "15", "КГ2"},
                "ГРЩ c таким номером подключен к ВРУ.",
                "",
                MsgIcon::None},
        Refusal{"no cable name",
                {"2", "50", "В земле", "ВВГз4.xml", "15", ""},
                kCable,
                "",
                MsgIcon::None},
        Refusal{"cable name taken",
                {"2", "50", "В земле", "ВВГз4.xml", "15", "КГ1"},
                "Название кабеля или провода с таким именим существует. Измените название.",
                "",
                MsgIcon::None},
        Refusal{"cable name a project cannot keep",
                {"2", "50", "В земле", "ВВГз4.xml", "15", "К中"},
                "Название кабеля или провода содержит символы, которые нельзя сохранить в файле "
                "проекта.",
                "",
                MsgIcon::None},
        Refusal{"length before temperature",
                {"2", "", "В земле", "ВВГз4.xml", "99", "КГ2"},
                kLength,
                kWarning,
                MsgIcon::Warning},
        Refusal{"temperature before table",
                {"2", "50", "В земле", "", "51", "КГ2"},
                kRange,
                kWarning,
                MsgIcon::Warning},
        Refusal{"table before cable name",
                {"2", "50", "В земле", "", "15", ""},
                "Откройте таблицу.",
                kWarning,
                MsgIcon::Warning}));

// The number is added to the list as the number it is.
TEST_F(SwitchboardConnection, ANumberWithLeadingZerosIsListedAsItsNumber) {
    NewProject([] { ConnectSwitchboard({"07", "50", "В воздухе", "ВВГв4.xml", "15", "КГ7"}); });
    EXPECT_EQ(Items(*Shiti->ComboBox2), (Strings{"7"}));
    EXPECT_EQ(ProjectRoot->Switchboards.First->SwitchboardNumber, 7);
}

// The table's file went away after it was listed: the loader says so and nothing is connected.
TEST_F(SwitchboardConnection, ATableThatCannotBeOpenedConnectsNothing) {
    NewProject([this] {
        EnterSwitchboard({"1", "50", "В воздухе", "ВВГв4.xml", "15", "КГ1"});
        QFile::remove(QString::fromStdString(ProgramFile("ВВГв4.xml")));
        responder_.ExpectMessage("Таблица  ВВГв4.xml  несуществует в базе данных", "Предупреждение",
                                 platform::mrOk);
        Click(Shiti->Button2);
        EXPECT_EQ(ProjectRoot->Switchboards.First, nullptr);
        EXPECT_EQ(ProjectRoot->SwitchboardCount, 0);
        EXPECT_EQ(Shiti->SwitchboardCounter, 0);
        EXPECT_EQ(Shiti->ComboBox2->count(), 0);
        EXPECT_TRUE(Shiti->CableNames.empty());
    });
}

// While a main switchboard is being edited its own number and cable name are not taken.
TEST_F(SwitchboardConnection, AnEditedSwitchboardMayKeepItsNumberAndCableName) {
    NewProject([] {
        ConnectSwitchboard({"1", "50", "В воздухе", "ВВГв4.xml", "15", "КГ1"});
        ConnectSwitchboard({"2", "50", "В воздухе", "ВВГв4.xml", "15", "КГ2"});
    });
    Form3->SwitchboardEditMode = 1;
    Form3->SwitchboardCopy = std::make_unique<TGrsed>(*SwitchboardNumbered(1));
    Shiti->SetLayout(TShiti::Layout::SwitchboardEdit);
    Shiti->show();
    EnterSwitchboard({"1", "60", "В воздухе", "ВВГв4.xml", "15", "КГ1"});
    EXPECT_TRUE(Shiti->ValidateSwitchboardConnection());

    responder_.ExpectMessage("Название с таким номером существует. Измените номер ГРЩ.",
                             "Предупреждение.", platform::mrOk);
    Type(Shiti->Edit2, "2");
    EXPECT_FALSE(Shiti->ValidateSwitchboardConnection());
    responder_.ExpectMessage(
        "Название кабеля или провода с таким именим существует. Измените название.", "",
        platform::mrOk);
    Type(Shiti->Edit2, "1");
    Type(Shiti->Edit7, "КГ2");
    EXPECT_FALSE(Shiti->ValidateSwitchboardConnection());
    responder_.ExpectMessage("Введите название кабеля или провода.", "", platform::mrOk);
    Type(Shiti->Edit7, "");
    EXPECT_FALSE(Shiti->ValidateSwitchboardConnection());
    Shiti->hide();
    Form3->SwitchboardEditMode = 0;
    Form3->SwitchboardCopy.reset();
}

}  // namespace
