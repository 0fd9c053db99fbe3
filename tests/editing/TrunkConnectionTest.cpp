// Connecting a panel as the next member of a trunk: "Магистральная" in "Щиты" and the trunk
// dialog "Магистральное соединение щитов".
#include <gtest/gtest.h>

#include <QTest>

#include "ConnectionFixture.h"
#include "TreeLookup.h"
#include "WindowChecks.h"
#include "editing/Magistral.h"
#include "editing/Shiti12.h"
#include "groups/InsertAvtomat.h"
#include "platform/Choices.h"

namespace {

using Strings = std::vector<std::string>;

const SwitchboardEntry kFirst{"1", "50", "В воздухе", "ВВГв4.xml", "15", "КГ1"};

class TrunkConnection : public ConnectionTest {
protected:
    // Switchboard 1 with the plain panel 1 (ВВГв4.xml in the air), loaded with 30 kW.
    void ProjectWithPlainPanel() {
        NewProject([] {
            ConnectSwitchboard(kFirst);
            ConnectPanel({"1", "1", "20", "В воздухе", "ВВГв4.xml", "15", "КЩ1"});
        });
        AddLoad(1, "1.1", 30);
    }

    // "Магистральная" chosen with the mouse; the trunk dialog it shows runs `inDialog` (shown).
    void ChooseTrunk(const std::function<void()>& inDialog) {
        responder_.ExpectModal("TFormMagistral", [inDialog](QDialog& dialog) {
            dialog.show();
            inDialog();
            dialog.hide();
            return platform::mrNone;
        });
        Click(Shiti->RadioGroup1Item1);
    }

    // The trunk breaker dialog takes its first series; returns what it took.
    void TakeFirstTrunkBreaker(std::string& series) {
        responder_.ExpectModal("TInsertAvtomat", [&series](QDialog&) {
            EXPECT_EQ(InsertAvtomat->GroupBox1->title().toStdString(), "Магистральный автомат");
            EXPECT_GT(InsertAvtomat->ComboBox1->count(), 0);
            InsertAvtomat->ComboBox1->setCurrentIndex(0);
            series = InsertAvtomat->ComboBox1->currentText().toStdString();
            Click(InsertAvtomat->Button2);
            return platform::mrNone;
        });
    }

    // Panel 2 connected behind panel 1, with one cross-section for the trunk.
    void ConnectMemberBehindPanel1(std::string& series) {
        ChooseTrunk([] {
            Choose(FormMagistral->ComboBox1, "1");
            Click(FormMagistral->Button1);
        });
        TakeFirstTrunkBreaker(series);
        ConnectPanel({"", "2", "15", "", "", "15", "КЩ2"});
    }

    // The panel connection to switchboard 1 selected.
    static void ChooseSwitchboard1() {
        Click(Shiti->RadioButton2);
        Choose(Shiti->ComboBox2, "1");
    }

    static void ExpectRadial() {
        EXPECT_EQ(platform::ItemIndex(*Shiti->RadioGroup1), 0);
        EXPECT_FALSE(FormMagistral->TrunkChosen);
        EXPECT_EQ(FormMagistral->UpstreamPanelNo, 0);
        EXPECT_TRUE(Shiti->ComboBox3->isEnabled());
        EXPECT_TRUE(Shiti->ComboBox5->isEnabled());
    }
};

TEST_F(TrunkConnection, APanelBehindAPlainPanelMakesItTheHeadOfATrunk) {
    ProjectWithPlainPanel();
    std::string series;
    InstallPanels([&] {
        ChooseSwitchboard1();
        ChooseTrunk([] {
            EXPECT_EQ(Items(*FormMagistral->ComboBox1), (Strings{"1"}));
            EXPECT_TRUE(FormMagistral->RadioGroup1->isEnabled());
            EXPECT_EQ(platform::ItemIndex(*FormMagistral->RadioGroup1), 0);
            Choose(FormMagistral->ComboBox1, "1");
            // A plain panel leaves the choice to the user.
            EXPECT_TRUE(FormMagistral->RadioGroup1->isEnabled());
            Click(FormMagistral->Button1);
        });
        // One cross-section for the whole trunk: laid as panel 1, locked.
        EXPECT_EQ(Shiti->ComboBox5->currentText().toStdString(), "В воздухе");
        EXPECT_EQ(Shiti->ComboBox3->currentText().toStdString(), "ВВГв4.xml");
        EXPECT_FALSE(Shiti->ComboBox5->isEnabled());
        EXPECT_FALSE(Shiti->ComboBox3->isEnabled());
        EXPECT_TRUE(FormMagistral->TrunkChosen);
        EXPECT_EQ(FormMagistral->UpstreamPanelNo, 1);

        TakeFirstTrunkBreaker(series);
        ConnectPanel({"", "2", "15", "", "", "15", "КЩ2"});
        ExpectRadial();
        EXPECT_TRUE(Shiti->RadioGroup1->isEnabled());
    });

    const TSitid* head = PanelNumbered(1);
    const TSitid* member = PanelNumbered(2);
    EXPECT_EQ(head->FedFromSwitchboard, 1);
    EXPECT_EQ(head->CascadeHeadNumber, 1);
    EXPECT_EQ(head->CascadeFlag, 1);
    EXPECT_EQ(head->CascadeSequence, 1);
    EXPECT_EQ(head->CascadeEnd, 0);
    EXPECT_EQ(head->TrunkBreakerType, series);
    EXPECT_EQ(member->FedFromPanel, 1);
    EXPECT_EQ(member->FedFromSwitchboard, 0);
    EXPECT_EQ(member->FeedingPanelNumber, 1);
    EXPECT_EQ(member->CascadeHeadNumber, 1);
    EXPECT_EQ(member->CascadeLength, 15.0);
    EXPECT_EQ(member->FeederLength, 15.0);
    EXPECT_EQ(member->CascadeSequence, 2);
    EXPECT_EQ(member->CascadeEnd, 1);
    EXPECT_EQ(member->CascadeFlag, 1);
    EXPECT_EQ(member->FeederLayingMethod, "В воздухе");
    EXPECT_EQ(member->CurrentTableName, "ВВГв4.xml");
    // Recalculated at once and the trunk's cables chosen. The head carries 30 kW at cos 0,9:
    // 30000 / (3 x 380 / sqrt 3 x 0,9) = 50,6 A, its trunk breaker the next rating, 63 A. In
    // air at 15 degrees the table's currents count 1,17 times: 10 mm2 carries 50 x 1,17 =
    // 58,5 A, too little; 16 mm2 carries 69 x 1,17 = 80,7 A. The member carries nothing: 0.
    EXPECT_EQ(head->TrunkBreakerRating, 63.0);
    EXPECT_EQ(head->FeederSection2, 16.0);
    EXPECT_EQ(member->FeederSection2, 0.0);
    EXPECT_EQ(PanelOrder(1), (std::vector<int>{1, 2}));
}

// Continued: the trunk's end is offered, its head keeps its option; a later radial panel starts
// from a fresh record.
TEST_F(TrunkConnection, TheTrunksEndIsOfferedAndARadialPanelStartsAfresh) {
    ProjectWithPlainPanel();
    std::string series;
    InstallPanels([&] {
        ChooseSwitchboard1();
        ConnectMemberBehindPanel1(series);

        ChooseTrunk([] {
            EXPECT_EQ(Items(*FormMagistral->ComboBox1), (Strings{"2"}));
            EXPECT_TRUE(FormMagistral->RadioGroup1->isEnabled());
            Click(FormMagistral->RadioGroup1Item1);
            Choose(FormMagistral->ComboBox1, "2");
            // Panel 2 belongs to a trunk with one cross-section: that option, fixed.
            EXPECT_EQ(platform::ItemIndex(*FormMagistral->RadioGroup1), 0);
            EXPECT_TRUE(FormMagistral->SameCrossSectionForAll);
            EXPECT_FALSE(FormMagistral->RadioGroup1->isEnabled());
            // Closed by its close box: no trunk.
            FormMagistral->close();
        });
        ExpectRadial();
        EXPECT_TRUE(FormMagistral->RadioGroup1->isEnabled());
        EXPECT_EQ(FormMagistral->ComboBox1->currentIndex(), -1);
        // A table of seven fields after the trunk's table of eight.
        ConnectPanel({"", "3", "25", "В воздухе", "ПВ1в4.xml", "15", "КЩ3"});
    });
    const TSitid* radial = PanelNumbered(3);
    EXPECT_EQ(radial->FedFromPanel, 0);
    EXPECT_EQ(radial->FeedingPanelNumber, 0);
    EXPECT_EQ(radial->CascadeHeadNumber, 0);
    EXPECT_EQ(radial->CascadeLength, 0.0);
    EXPECT_EQ(radial->ZeroCoreTable, 0);
    EXPECT_TRUE(radial->FeederZeroSections.empty());
    EXPECT_EQ(radial->FeederConductorMaterial, "Медь");
    EXPECT_EQ(PanelOrder(1), (std::vector<int>{1, 2, 3}));
}

// With "Сечение в зависимости от нагрузки" the trunk is recorded, laying method and table stay
// free, and the head keeps the option.
TEST_F(TrunkConnection, ACrossSectionByLoadLeavesTheFeederFree) {
    ProjectWithPlainPanel();
    std::string series;
    InstallPanels([&] {
        ChooseSwitchboard1();
        ChooseTrunk([] {
            Choose(FormMagistral->ComboBox1, "1");
            Click(FormMagistral->RadioGroup1Item1);
            EXPECT_FALSE(FormMagistral->SameCrossSectionForAll);
            Click(FormMagistral->Button1);
        });
        EXPECT_TRUE(FormMagistral->TrunkChosen);
        EXPECT_EQ(FormMagistral->UpstreamPanelNo, 1);
        EXPECT_TRUE(Shiti->ComboBox3->isEnabled());
        EXPECT_TRUE(Shiti->ComboBox5->isEnabled());
        TakeFirstTrunkBreaker(series);
        ConnectPanel({"", "2", "15", "В земле", "ВВГз4.xml", "15", "КЩ2"});
    });
    EXPECT_EQ(PanelNumbered(1)->CascadeFlag, 0);
    EXPECT_EQ(PanelNumbered(2)->CascadeFlag, 0);
    EXPECT_EQ(PanelNumbered(2)->CurrentTableName, "ВВГз4.xml");
    EXPECT_EQ(PanelNumbered(2)->FedFromPanel, 1);
    // Back to the option of the next trunk.
    Click(FormMagistral->RadioGroup1Item0);
}

// Ways out of the trunk dialog that choose no panel: the connection stays radial.
struct NoChoice {
    const char* what;
    std::function<void()> inDialog;
};

void PrintTo(const NoChoice& c, std::ostream* os) {
    *os << c.what;
}

class TrunkDialogWithoutAChoice : public TrunkConnection,
                                  public ::testing::WithParamInterface<NoChoice> {};

TEST_P(TrunkDialogWithoutAChoice, LeavesTheConnectionRadial) {
    ProjectWithPlainPanel();
    InstallPanels([&] {
        ChooseSwitchboard1();
        ChooseTrunk(GetParam().inDialog);
        ExpectRadial();
        // No error box came: the responder fails the test on any message.
        ConnectPanel({"", "2", "15", "В воздухе", "ВВГв4.xml", "15", "КЩ2"});
    });
    EXPECT_TRUE(responder_.Messages().empty());
    EXPECT_EQ(PanelNumbered(1)->FedFromSwitchboard, 0);
    EXPECT_EQ(PanelNumbered(2)->FedFromPanel, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Ways, TrunkDialogWithoutAChoice,
    ::testing::Values(NoChoice{"OK with nothing chosen", [] { Click(FormMagistral->Button1); }},
                      NoChoice{"the close box", [] { FormMagistral->close(); }},
                      NoChoice{"Escape", [] { QTest::keyClick(FormMagistral, Qt::Key_Escape); }},
                      NoChoice{"text that is no number, then OK",
                               [] {
                                   Type(FormMagistral->ComboBox1->lineEdit(), "abc");
                                   Click(FormMagistral->Button1);
                               }},
                      NoChoice{"a number typed, not picked, then OK", [] {
                                   Type(FormMagistral->ComboBox1->lineEdit(), "1");
                                   Click(FormMagistral->Button1);
                               }}));

// Which panels a new panel can hang on: plain panels and the last member of each trunk, in
// chain order; never a member inside a trunk, a head without members or a remedy's panel.
TEST_F(TrunkConnection, OffersPlainPanelsAndTheEndsOfTrunks) {
    NewProject([] { ConnectSwitchboard(kFirst); });
    BuildSwitchboard(3, "10^= 11<10@10= 12<11@10= 13/15 14~15 15 16^ 17 20^ 21<20@20");
    PanelNumbered(15)->PanelFlagB = 1;
    BuildSwitchboard(4, "30");
    InstallPanels([this] {
        Click(Shiti->RadioButton2);
        Choose(Shiti->ComboBox2, "3");
        ChooseTrunk([] {
            EXPECT_EQ(Items(*FormMagistral->ComboBox1), (Strings{"12", "15", "17", "21"}));
            // The end of a trunk with a cross-section by load.
            Choose(FormMagistral->ComboBox1, "21");
            EXPECT_EQ(platform::ItemIndex(*FormMagistral->RadioGroup1), 1);
            EXPECT_FALSE(FormMagistral->SameCrossSectionForAll);
            EXPECT_FALSE(FormMagistral->RadioGroup1->isEnabled());
            Click(FormMagistral->Button1);
        });
        EXPECT_TRUE(FormMagistral->TrunkChosen);
        EXPECT_EQ(FormMagistral->UpstreamPanelNo, 21);
        // Reopened for another switchboard: a list of its own, "Кабель" usable again.
        Choose(Shiti->ComboBox2, "4");
        ExpectRadial();
        Choose(Shiti->ComboBox2, "3");
        Choose(Shiti->ComboBox2, "4");
        ChooseTrunk([] {
            EXPECT_EQ(Items(*FormMagistral->ComboBox1), (Strings{"30"}));
            EXPECT_TRUE(FormMagistral->RadioGroup1->isEnabled());
            Click(FormMagistral->Button1);
        });
    });
    // Listing numbered the trunks: their ends are marked.
    EXPECT_EQ(PanelNumbered(12)->CascadeSequence, 3);
    EXPECT_EQ(PanelNumbered(12)->CascadeEnd, 1);
}

// Stepping through the list over the end of a trunk takes that trunk's "Кабель" option, locked;
// a plain panel further on gives it back to the user as the user had left it, whichever way the
// trunk passed over went. Trunk 10 keeps one cross-section for all its panels, trunk 20 takes
// them by load.
TEST_F(TrunkConnection, APlainPanelLeavesTheCableOptionFree) {
    NewProject([] { ConnectSwitchboard(kFirst); });
    BuildSwitchboard(3, "10^= 11<10@10= 17 20^ 21<20@20");
    InstallPanels([this] {
        Click(Shiti->RadioButton2);
        Choose(Shiti->ComboBox2, "3");
        ChooseTrunk([] {
            ASSERT_EQ(Items(*FormMagistral->ComboBox1), (Strings{"11", "17", "21"}));
            QGroupBox& option = *FormMagistral->RadioGroup1;
            const struct {
                const char* userChoice;
                QAbstractButton* item;
                const char* passedOver;
                int trunksOption;
            } steps[] = {{"by load", FormMagistral->RadioGroup1Item1, "11", 0},
                         {"one section", FormMagistral->RadioGroup1Item0, "21", 1}};
            for (const auto& step : steps) {
                SCOPED_TRACE(step.userChoice);
                Choose(FormMagistral->ComboBox1, "17");
                Click(step.item);
                const int chosen = platform::ItemIndex(option);
                Choose(FormMagistral->ComboBox1, step.passedOver);
                EXPECT_EQ(platform::ItemIndex(option), step.trunksOption);
                EXPECT_FALSE(option.isEnabled());
                Choose(FormMagistral->ComboBox1, "17");
                EXPECT_TRUE(option.isEnabled());
                EXPECT_EQ(platform::ItemIndex(option), chosen);
                EXPECT_EQ(FormMagistral->SameCrossSectionForAll, chosen == 0);
            }
            // Left on the user's "by load", the feeder of the new panel stays free.
            Click(FormMagistral->RadioGroup1Item1);
            Click(FormMagistral->Button1);
        });
        EXPECT_TRUE(FormMagistral->TrunkChosen);
        EXPECT_EQ(FormMagistral->UpstreamPanelNo, 17);
        EXPECT_FALSE(FormMagistral->SameCrossSectionForAll);
        EXPECT_TRUE(Shiti->ComboBox3->isEnabled());
        EXPECT_TRUE(Shiti->ComboBox5->isEnabled());
    });
}

TEST_F(TrunkConnection, TheTrunkDialogIsAsDesigned) {
    EXPECT_EQ(FormMagistral->windowTitle().toStdString(), "Veltranovaplanir");
    EXPECT_EQ(FormMagistral->size(), QSize(364, 194));
    EXPECT_EQ(FormMagistral->minimumSize(), QSize(364, 194));
    EXPECT_EQ(FormMagistral->maximumSize(), QSize(364, 194));
    EXPECT_EQ(ShownText(*FormMagistral->GroupBox1).toStdString(), "Магистральное соединение щитов");
    EXPECT_EQ(ShownText(*FormMagistral->Label1).toStdString(), "Подключение к щиту");
    EXPECT_EQ(ShownText(*FormMagistral->RadioGroup1).toStdString(), "Кабель");
    EXPECT_EQ(ShownText(*FormMagistral->RadioGroup1Item0).toStdString(),
              "Одно сечение для всех щитов");
    EXPECT_EQ(ShownText(*FormMagistral->RadioGroup1Item1).toStdString(),
              "Сечение в зависимости от нагрузки");
    EXPECT_EQ(ShownText(*FormMagistral->Button1).toStdString(), "OK");
    EXPECT_TRUE(FormMagistral->ComboBox1->isEditable());
    EXPECT_FALSE(FormMagistral->TrunkChosen);
    EXPECT_EQ(FormMagistral->UpstreamPanelNo, 0);
    EXPECT_TRUE(FormMagistral->SameCrossSectionForAll);
    EXPECT_TRUE(FormMagistral->windowFlags() & Qt::WindowCloseButtonHint);
    FormMagistral->show();
    ExpectNothingCutOff(*FormMagistral);
    FormMagistral->hide();
}

}  // namespace
