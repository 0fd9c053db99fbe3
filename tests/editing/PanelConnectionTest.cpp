// Connecting panels radially to a main switchboard in the lower box of "Щиты".
#include <gtest/gtest.h>

#include "ConnectionFixture.h"
#include "TreeLookup.h"
#include "app/Mainform.h"
#include "editing/EditDialog.h"
#include "editing/Magistral.h"
#include "editing/Shiti12.h"
#include "groups/Dan12.h"
#include "platform/Choices.h"

namespace {

using platform::MsgIcon;
using Strings = std::vector<std::string>;
using Numbers = std::vector<double>;

using PanelConnection = ConnectionTest;

const SwitchboardEntry kFirst{"1", "50", "В воздухе", "ВВГв4.xml", "15", "КГ1"};
const SwitchboardEntry kSecond{"2", "40", "В земле", "ВВГз4.xml", "15", "КГ2"};

TEST_F(PanelConnection, ARadialPanelIsAppendedWithItsFeeder) {
    NewProject([] {
        ConnectSwitchboard(kFirst);
        ConnectPanel({"1", "1", "20", "В воздухе", "ВВГв4.xml", "25", "КЩ1"});
        ConnectPanel({"1", "2", "35,5", "Четыре провода в трубе", "ПВ1т4.xml", "-5", "КЩ2"});
        // The zero conductor's sections as connected.
        EXPECT_EQ(PanelNumbered(1)->FeederZeroSections,
                  (Numbers{1.5, 2.5, 4, 6, 10, 16, 16, 16, 25, 35, 50, 70, 70, 95}));
        EXPECT_EQ(PanelNumbered(1)->ZeroCoreTable, 1);
    });
    EXPECT_TRUE(responder_.Messages().empty());
    const TGrsed* sw = SwitchboardNumbered(1);
    EXPECT_EQ(PanelOrder(1), (std::vector<int>{1, 2}));
    EXPECT_EQ(sw->PanelCount, 2);
    EXPECT_EQ(Shiti->PanelCounter, 2);

    const TSitid* first = PanelNumbered(1);
    EXPECT_EQ(first->Position, 1);
    EXPECT_EQ(first->FeederLength, 20.0);
    EXPECT_EQ(first->FeederLayingMethod, "В воздухе");
    EXPECT_EQ(first->CurrentTableName, "ВВГв4.xml");
    EXPECT_EQ(first->FeederConductorMaterial, "Медь");
    EXPECT_EQ(first->FeederTemperature, 25);
    EXPECT_EQ(first->FeederCableName, "КЩ1");
    EXPECT_EQ(first->FeederSections,
              (Numbers{1.5, 2.5, 4, 6, 10, 16, 25, 35, 50, 70, 95, 120, 150, 185}));
    // The refresh of "Закрыть" keeps the zero conductor's column of a panel without load: its
    // N/PE section and single-phase fault loop are read from it once lines are added.
    EXPECT_EQ(first->FeederZeroSections,
              (Numbers{1.5, 2.5, 4, 6, 10, 16, 16, 16, 25, 35, 50, 70, 70, 95}));
    EXPECT_EQ(first->FeederSectionCount, 14);
    EXPECT_EQ(first->ZeroCoreTable, 1);
    // Radial: fed from the switchboard, in no trunk.
    EXPECT_EQ(first->FedFromPanel, 0);
    EXPECT_EQ(first->FedFromSwitchboard, 0);
    EXPECT_EQ(first->FeedingPanelNumber, 0);
    EXPECT_EQ(first->CascadeHeadNumber, 0);
    EXPECT_EQ(first->CascadeLength, 0.0);

    // A wire table of seven fields after a cable table of eight: no zero conductor column.
    const TSitid* second = PanelNumbered(2);
    EXPECT_EQ(second->Position, 2);
    EXPECT_EQ(second->FeederLength, 35.5);
    EXPECT_EQ(second->FeederTemperature, -5);
    EXPECT_EQ(second->ZeroCoreTable, 0);
    EXPECT_TRUE(second->FeederZeroSections.empty());
    EXPECT_EQ(second->FeederSections,
              (Numbers{1, 1.5, 2.5, 4, 6, 10, 16, 25, 35, 50, 70, 95, 120}));
    EXPECT_EQ(second->FeederSectionCount, 13);

    EXPECT_EQ(Shiti->CableNames, (Strings{"КГ1", "КЩ1", "КЩ2"}));
    EXPECT_EQ(Items(*Dan1->ComboBox2), (Strings{"1", "2"}));
    EXPECT_EQ(Items(*Form3->ComboBox4), (Strings{"1", "2"}));
    EXPECT_EQ(Form1->ProjectSaved, 0);
    EXPECT_TRUE(Form1->ToolButton4->isEnabled());
}

// A radial panel is only appended: nothing else of the project changes and nothing is
// recalculated (the loaded panel's currents stay as they were: 0) until "Закрыть" refreshes
// the project.
TEST_F(PanelConnection, ARadialConnectionChangesNoOtherPanel) {
    NewProject([] {
        ConnectSwitchboard(kFirst);
        ConnectPanel({"1", "1", "20", "В воздухе", "ВВГв4.xml", "15", "КЩ1"});
    });
    AddLoad(1, "1.1", 30);
    const TSitidFields before = *PanelNumbered(1);
    InstallPanels([&before] {
        ConnectPanel({"1", "2", "20", "В воздухе", "ВВГв4.xml", "15", "КЩ2"});
        EXPECT_TRUE(static_cast<const TSitidFields&>(*PanelNumbered(1)) == before);
        EXPECT_EQ(PanelNumbered(1)->OwnCurrentA, 0.0);
        EXPECT_EQ(ProjectRoot->TotalDesignPower, 0.0);
    });
}

TEST_F(PanelConnection, PanelNumbersAreUniqueOverTheProjectAndCountPerSwitchboard) {
    NewProject([] {
        ConnectSwitchboard(kFirst);
        ConnectSwitchboard(kSecond);
        ConnectPanel({"1", "1", "20", "В воздухе", "ВВГв4.xml", "15", "КЩ1"});
        ConnectPanel({"2", "2", "20", "В воздухе", "ВВГв4.xml", "15", "КЩ2"});
        ConnectPanel({"2", "3", "20", "В воздухе", "ВВГв4.xml", "15", "КЩ3"});
        // Back to switchboard 1: its count, not the other one's.
        ConnectPanel({"1", "4", "20", "В воздухе", "ВВГв4.xml", "15", "КЩ4"});
    });
    EXPECT_EQ(PanelOrder(1), (std::vector<int>{1, 4}));
    EXPECT_EQ(PanelOrder(2), (std::vector<int>{2, 3}));
    EXPECT_EQ(SwitchboardNumbered(1)->PanelCount, 2);
    EXPECT_EQ(SwitchboardNumbered(2)->PanelCount, 2);
    EXPECT_EQ(PanelNumbered(4)->Position, 2);
    EXPECT_EQ(PanelNumbered(3)->Position, 2);
    EXPECT_EQ(Shiti->PanelCounter, 2);
}

// The counter follows the chain even when the tree changed behind the dialog's back.
TEST_F(PanelConnection, ThePanelCountIsTakenFromTheChain) {
    NewProject([] { ConnectSwitchboard(kFirst); });
    InstallPanels([] {
        Click(Shiti->RadioButton2);
        Choose(Shiti->ComboBox2, "1");
        EXPECT_EQ(Shiti->PanelCounter, 0);
        // Another window adds a panel meanwhile.
        TSitid other;
        other.PanelNumber = 9;
        other.Position = 1;
        other.CurrentTableName = "ВВГв4.xml";
        other.FeederLayingMethod = "В воздухе";
        ProjectRoot->AddPanel(1, other);
        ++SwitchboardNumbered(1)->PanelCount;
        ConnectPanel({"", "1", "20", "В воздухе", "ВВГв4.xml", "15", "КЩ1"});
    });
    EXPECT_EQ(PanelOrder(1), (std::vector<int>{9, 1}));
    EXPECT_EQ(PanelNumbered(1)->Position, 2);
    EXPECT_EQ(SwitchboardNumbered(1)->PanelCount, 2);
    EXPECT_EQ(Shiti->PanelCounter, 2);
}

TEST_F(PanelConnection, TheSchemeChoiceIsUsableOnlyForASwitchboardWithPanels) {
    NewProject([] {
        ConnectSwitchboard(kFirst);
        ConnectSwitchboard(kSecond);
        ConnectPanel({"1", "1", "20", "В воздухе", "ВВГв4.xml", "15", "КЩ1"});
    });
    InstallPanels([] {
        Click(Shiti->RadioButton2);
        EXPECT_TRUE(Shiti->ComboBox2->isEnabled());
        EXPECT_TRUE(Shiti->Edit1->isEnabled());
        EXPECT_TRUE(Shiti->Button4->isEnabled());
        EXPECT_FALSE(Shiti->Button2->isEnabled());
        EXPECT_FALSE(Shiti->Edit2->isEnabled());
        EXPECT_FALSE(Shiti->RadioButton1->isChecked());
        Choose(Shiti->ComboBox2, "1");
        EXPECT_TRUE(Shiti->RadioGroup1->isEnabled());
        EXPECT_EQ(Shiti->PanelCounter, 1);
        Choose(Shiti->ComboBox2, "2");
        EXPECT_FALSE(Shiti->RadioGroup1->isEnabled());
        EXPECT_EQ(platform::ItemIndex(*Shiti->RadioGroup1), 0);
        EXPECT_EQ(Shiti->PanelCounter, 0);
        Click(Shiti->RadioButton1);
        EXPECT_FALSE(Shiti->RadioButton2->isChecked());
        EXPECT_FALSE(Shiti->ComboBox2->isEnabled());
        EXPECT_TRUE(Shiti->Button2->isEnabled());
    });
}

// Temperatures at both ends of the range are taken.
TEST_F(PanelConnection, TemperaturesFromMinusFiveToFiftyPass) {
    NewProject([] {
        ConnectSwitchboard(kFirst);
        ConnectPanel({"1", "1", "20", "В воздухе", "ВВГв4.xml", "-5", "КЩ1"});
        ConnectPanel({"1", "2", "20", "В воздухе", "ВВГв4.xml", "50", "КЩ2"});
    });
    EXPECT_TRUE(responder_.Messages().empty());
    EXPECT_EQ(PanelNumbered(1)->FeederTemperature, -5);
    EXPECT_EQ(PanelNumbered(2)->FeederTemperature, 50);
}

// A refused panel: its message, and nothing changed. The project has switchboards 1 and 2 and
// panel 5 on switchboard 2; each case is entered in a freshly opened dialog.
struct Refusal {
    const char* what;
    PanelEntry entry;
    std::string text;
    std::string caption;
    MsgIcon icon;
};

void PrintTo(const Refusal& c, std::ostream* os) {
    *os << c.what;
}

class PanelRefused : public ConnectionTest, public ::testing::WithParamInterface<Refusal> {};

TEST_P(PanelRefused, ShowsItsMessageAndChangesNothing) {
    const Refusal& c = GetParam();
    NewProject([] {
        ConnectSwitchboard(kFirst);
        ConnectSwitchboard(kSecond);
        ConnectPanel({"2", "5", "20", "В воздухе", "ВВГв4.xml", "15", "КЩ5"});
    });
    InstallPanels([&] {
        responder_.ExpectMessage(c.text, c.caption, platform::mrOk);
        ConnectPanel(c.entry);
        EXPECT_EQ(LastMessage().icon, c.icon);
        EXPECT_TRUE(PanelOrder(1).empty());
        EXPECT_EQ(PanelOrder(2), (std::vector<int>{5}));
        EXPECT_EQ(SwitchboardNumbered(1)->PanelCount, 0);
        EXPECT_EQ(Shiti->CableNames, (Strings{"КГ1", "КГ2", "КЩ5"}));
        EXPECT_EQ(Items(*Dan1->ComboBox2), (Strings{"5"}));
        EXPECT_EQ(Items(*Form3->ComboBox4), (Strings{"5"}));
    });
}

const std::string kLength = "Введите длину трассы.";
const std::string kWarning = "Предупреждение.";

INSTANTIATE_TEST_SUITE_P(
    Checks, PanelRefused,
    ::testing::Values(
        Refusal{"no length",
                {"1", "1", "", "В воздухе", "ВВГв4.xml", "15", "КЩ1"},
                kLength,
                kWarning,
                MsgIcon::Warning},
        Refusal{"length 0",
                {"1", "1", "0", "В воздухе", "ВВГв4.xml", "15", "КЩ1"},
                kLength,
                kWarning,
                MsgIcon::Warning},
        Refusal{"length 0,0",
                {"1", "1", "0,0", "В воздухе", "ВВГв4.xml", "15", "КЩ1"},
                kLength,
                kWarning,
                MsgIcon::Warning},
        Refusal{"negative length",
                {"1", "1", "-5", "В воздухе", "ВВГв4.xml", "15", "КЩ1"},
                kLength,
                kWarning,
                MsgIcon::Warning},
        Refusal{"length no number",
                {"1", "1", "abc", "В воздухе", "ВВГв4.xml", "15", "КЩ1"},
                kLength,
                kWarning,
                MsgIcon::Warning},
        Refusal{"number no integer",
                {"1", "1А", "20", "В воздухе", "ВВГв4.xml", "15", "КЩ1"},
                "Введите номер щита.",
                kWarning,
                MsgIcon::Warning},
        Refusal{"no temperature",
                {"1", "1", "20", "В воздухе", "ВВГв4.xml", "", "КЩ1"},
                "Введите температуру среды.",
                kWarning,
                MsgIcon::Warning},
        Refusal{"too hot",
                {"1", "1", "20", "В воздухе", "ВВГв4.xml", "51", "КЩ1"},
                "Интервал температуры <от -5 до +50>.",
                kWarning,
                MsgIcon::Warning},
        Refusal{"too cold",
                {"1", "1", "20", "В воздухе", "ВВГв4.xml", "-6", "КЩ1"},
                "Интервал температуры <от -5 до +50>.",
                kWarning,
                MsgIcon::Warning},
        Refusal{"number 0",
                {"1", "0", "20", "В воздухе", "ВВГв4.xml", "15", "КЩ1"},
                "Введите номер щита отличный от 0.",
                kWarning,
                MsgIcon::Warning},
        Refusal{"number 0 written longer",
                {"1", "000", "20", "В воздухе", "ВВГв4.xml", "15", "КЩ1"},
                "Введите номер щита отличный от 0.",
                kWarning,
                MsgIcon::Warning},
        Refusal{"no switchboard",
                {"", "1", "20", "В воздухе", "ВВГв4.xml", "15", "КЩ1"},
                "Введите номер ГРЩ.",
                kWarning,
                MsgIcon::Warning},
        Refusal{"no table",
                {"1", "1", "20", "В воздухе", "", "15", "КЩ1"},
                "Откройте таблицу.",
                kWarning,
                MsgIcon::Warning},
        Refusal{"number of a panel of another switchboard",
                {"1", "5", "20", "В воздухе", "ВВГв4.xml", "15", "КЩ1"},
                "Щит с таким номером существует.",
                kWarning,
                MsgIcon::Warning},
        Refusal{"no cable name",
                {"1", "1", "20", "В воздухе", "ВВГв4.xml", "15", ""},
                "Введите название кабеля или провода.",
                "",
                MsgIcon::None},
        Refusal{"cable name of a switchboard feeder",
                {"1", "1", "20", "В воздухе", "ВВГв4.xml", "15", "КГ2"},
                "Название кабеля или провода с таким именим существует. Измените название.",
                "",
                MsgIcon::None},
        Refusal{"number 0 before the switchboard",
                {"", "0", "20", "В воздухе", "ВВГв4.xml", "15", ""},
                "Введите номер щита отличный от 0.",
                kWarning,
                MsgIcon::Warning},
        Refusal{"table before the panel number",
                {"1", "5", "20", "В воздухе", "", "15", ""},
                "Откройте таблицу.",
                kWarning,
                MsgIcon::Warning}));

// During the new-panel remedy a connected panel closes the dialog at once, without the project
// refresh; otherwise "Закрыть" ends in the refresh.
TEST_F(PanelConnection, TheRemedysPanelClosesTheDialogWithoutTheRefresh) {
    QObject* refreshedBy = nullptr;
    Dan1->CheckHooks.ApplyAndRefresh = [&](QObject* sender) { refreshedBy = sender; };
    NewProject([] { ConnectSwitchboard(kFirst); });
    EXPECT_EQ(refreshedBy, Shiti);

    refreshedBy = nullptr;
    Dan1->RemedyActive = 1;
    responder_.ExpectModal("TShiti", [](QDialog& dialog) {
        Shiti->SetLayout(TShiti::Layout::NewPanelRemedy);
        dialog.show();
        // The remedy chooses the switchboard itself; its list stays hidden.
        Shiti->ComboBox2->setCurrentIndex(0);
        Shiti->ComboBox2Change();
        Type(Shiti->Edit4, "20");
        ConnectPanel({"", "7", "20", "В воздухе", "ВВГв4.xml", "15", "КЩ7"});
        EXPECT_FALSE(dialog.isVisible());
        return platform::mrNone;
    });
    platform::ShowModal(*Shiti);
    Dan1->RemedyActive = 0;
    EXPECT_EQ(refreshedBy, nullptr);
    EXPECT_EQ(PanelOrder(1), (std::vector<int>{7}));
    EXPECT_EQ(Items(*Dan1->ComboBox2), (Strings{"7"}));
}

// While the remedy shows the dialog, the panel connection steps through every switchboard of
// the list and stays on the last.
TEST_F(PanelConnection, TheRemedysPanelConnectionStepsThroughTheSwitchboards) {
    NewProject([] {
        ConnectSwitchboard(kFirst);
        ConnectSwitchboard(kSecond);
        ConnectPanel({"1", "1", "20", "В воздухе", "ВВГв4.xml", "15", "КЩ1"});
    });
    InstallPanels([] {
        Dan1->NewPanelDialogOpen = 1;
        Click(Shiti->RadioButton2);
        Dan1->NewPanelDialogOpen = 0;
        EXPECT_EQ(Shiti->ComboBox2->currentIndex(), 1);
        // Switchboard 2 has no panels.
        EXPECT_EQ(Shiti->PanelCounter, 0);
        EXPECT_FALSE(Shiti->RadioGroup1->isEnabled());
    });
}

}  // namespace
