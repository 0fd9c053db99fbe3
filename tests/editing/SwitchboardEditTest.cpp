// "Изменить" of a main switchboard: the connection window in its switchboard edit layout.
#include <gtest/gtest.h>

#include <cmath>

#include "EditFixture.h"
#include "TreeImage.h"
#include "TreeLookup.h"
#include "app/Mainform.h"
#include "editing/EditDialog.h"
#include "editing/Shiti12.h"
#include "groups/Dan12.h"

namespace {

class SwitchboardEdit : public EditTest {
protected:
    // Switchboards 1, 2 and 3, each with two loaded panels.
    void SetUp() override {
        EditTest::SetUp();
        BuildSwitchboard(1, "11 12");
        BuildSwitchboard(2, "21 22");
        BuildSwitchboard(3, "31 32");
        LoadEveryPanel();
        AddLoads(12, {20, 10});
        int n = 0;
        for (TGrsed* sw = ProjectRoot->Switchboards.First; sw; sw = sw->Switchboards.Next) {
            sw->SwitchboardCableName = "КГ" + std::to_string(sw->SwitchboardNumber);
            for (TSitid* p = sw->Panels.First; p; p = p->Panels.Next)
                p->FeederCableName = "КЩ" + std::to_string(++n);
        }
        Refresh();
        Form1->ProjectSaved = 1;
    }
    std::vector<int> SwitchboardOrder() const {
        std::vector<int> order;
        for (const TGrsed* sw = ProjectRoot->Switchboards.First; sw; sw = sw->Switchboards.Next)
            order.push_back(sw->SwitchboardNumber);
        return order;
    }
};

TEST_F(SwitchboardEdit, OpensWithTheSwitchboardsFeeder) {
    OpenSwitchboard("2");
    ASSERT_TRUE(Shiti->isVisible());
    EXPECT_EQ(Shiti->windowTitle().toStdString(), "Грщ.(редактирование)");
    EXPECT_EQ(Shiti->Edit2->text().toStdString(), "2");
    EXPECT_EQ(Shiti->Edit3->text().toStdString(), "10");
    EXPECT_EQ(Shiti->Edit7->text().toStdString(), "КГ2");
    EXPECT_EQ(Form3->PanelCopies.size(), 2u);
    Click(Shiti->Button3);
    EXPECT_EQ(Form3->SwitchboardEditMode, 0);
    EXPECT_FALSE(Form3->SwitchboardCopy);
}

// The first of three connected anew stands last, its panels numbered 1, 2 in their order.
TEST_F(SwitchboardEdit, ARecreatedSwitchboardStandsLast) {
    OpenSwitchboard("1");
    Type(Shiti->Edit3, "15");
    ExpectBreakerQuestion(platform::mrYes);
    Click(Shiti->Button7);
    EXPECT_EQ(SwitchboardOrder(), (std::vector<int>{2, 3, 1}));
    EXPECT_EQ(SwitchboardNumbered(1)->SwitchboardFeederLength, 15.0);
    EXPECT_EQ(PanelOrder(1), (std::vector<int>{11, 12}));
    EXPECT_EQ(PanelNumbered(11)->Position, 1);
    EXPECT_EQ(PanelNumbered(12)->Position, 2);
    EXPECT_EQ(GroupsOf(12), (std::vector<std::string>{"Н1-12", "Г1-12", "Г2-12"}));
    EXPECT_EQ(Form1->ProjectSaved, 0);
    EXPECT_EQ(Form3->SwitchboardEditMode, 0);
}

// The number alone is patched where the switchboard stands.
TEST_F(SwitchboardEdit, TheNumberAloneIsPatchedInPlace) {
    OpenSwitchboard("1");
    Type(Shiti->Edit2, "5");
    Click(Shiti->Button7);
    EXPECT_EQ(SwitchboardOrder(), (std::vector<int>{5, 2, 3}));
    EXPECT_EQ(PanelOrder(5), (std::vector<int>{11, 12}));
}

// A feeder too long for the consumers' voltage: the switchboard is rebuilt once from its copy,
// in its place among the others (a refused edit leaves the project as it was), and the project
// is not marked changed.
TEST_F(SwitchboardEdit, ARefusedRecreationRebuildsTheSwitchboardOnce) {
    for (const std::string number : {"1", "2"}) {
        SCOPED_TRACE(number);
        OpenSwitchboard(number);
        Type(Shiti->Edit3, "600");
        ExpectBreakerQuestion(platform::mrYes);
        responder_.ExpectMessage(
            "Отклонение напряжения на потребителе более 10 %,редактирование отменяется",
            "Предупреждение", platform::mrOk);
        Click(Shiti->Button7);
        responder_.VerifyDone();
        EXPECT_EQ(SwitchboardOrder(), (std::vector<int>{1, 2, 3}));
    }
    EXPECT_EQ(SwitchboardNumbered(1)->SwitchboardFeederLength, 10.0);
    EXPECT_EQ(PanelOrder(1), (std::vector<int>{11, 12}));
    EXPECT_EQ(GroupsOf(12), (std::vector<std::string>{"Н1-12", "Г1-12", "Г2-12"}));
    EXPECT_EQ(Form1->ProjectSaved, 1);
    EXPECT_EQ(Form3->SwitchboardEditMode, 0);
}

// 0 names no switchboard: refused in the editor as in the connection box.
TEST_F(SwitchboardEdit, TheNumber0IsRefused) {
    OpenSwitchboard("2");
    Type(Shiti->Edit2, "0");
    responder_.ExpectMessage("Введите номер ГРЩ отличный от 0.", "Предупреждение.", platform::mrOk);
    Click(Shiti->Button7);
    EXPECT_EQ(LastMessage().icon, platform::MsgIcon::Warning);
    EXPECT_TRUE(Shiti->isVisible());
    EXPECT_EQ(SwitchboardOrder(), (std::vector<int>{1, 2, 3}));
    Click(Shiti->Button3);
}

// A refused entry, then "Отменить": a new connection with that number is checked as new.
TEST_F(SwitchboardEdit, AfterARefusedEntryAndCancelANewConnectionIsCheckedAsNew) {
    OpenSwitchboard("1");
    Type(Shiti->Edit7, "КГ2");
    responder_.ExpectMessage(
        "Название кабеля или провода с таким именим существует. Измените название.", "",
        platform::mrOk);
    Click(Shiti->Button7);
    EXPECT_TRUE(Shiti->isVisible());
    Click(Shiti->Button3);
    EXPECT_EQ(Form3->SwitchboardEditMode, 0);
    EXPECT_FALSE(Form3->SwitchboardCopy);

    InstallPanels([this] {
        responder_.ExpectMessage("Название с таким номером существует. Измените номер ГРЩ.",
                                 "Предупреждение.", platform::mrOk);
        ConnectSwitchboard({"1", "50", "В воздухе", "ВВГв4.xml", "15", "КГ9"});
    });
    EXPECT_EQ(SwitchboardOrder(), (std::vector<int>{1, 2, 3}));
}

// Example 3's switchboard 1 with a feeder of 80,5 m, its panel 4 moved 400 m away (accepted: the
// panel's cable is raised so that a fault at the far end trips its breaker). A feeder 2 m longer
// then adds to every consumer's loss what 2 m of the switchboard's cable at its load causes,
// 2 / 80,5 of the 80,5 m one's (the cable's loss grows with its length), and the
// deviation at 220 V falls by 400 / sqrt(3) / 220 times that: the change is accepted. Connected
// anew, the switchboard takes its group lines back one at a time, each checked against the
// losses of the cables the feeders have and held against its breaker: a line whose breaker does
// not trip on the way back (the panel's cable not yet raised for its own breaker) has its own
// cable raised, and its deviation grows instead. The tree then is what the program holds after
// saving and opening it again.
TEST_F(EditTest, ALongerSwitchboardFeederBehindALongPanelFeeder) {
    OpenProject("Example3.VPQ");
    const auto change = [this](QLineEdit* Ui_TShiti::*edit, QPushButton* Ui_TShiti::*apply,
                               const std::string& text) {
        Type(Shiti->*edit, text);
        ExpectBreakerQuestion(platform::mrYes);
        Click(Shiti->*apply);
        responder_.VerifyDone();
        EXPECT_FALSE(Shiti->isVisible()) << text;
    };
    OpenSwitchboard("1");
    change(&Ui_TShiti::Edit3, &Ui_TShiti::Button7, "80,5");
    OpenPanel("4");
    change(&Ui_TShiti::Edit4, &Ui_TShiti::Button6, "400");
    const TGrsed* sw = SwitchboardNumbered(1);
    const double loss = sw->SwitchboardLossA;
    const double section = PanelNumbered(4)->FeederSection;
    std::vector<double> deviations;
    std::vector<double> sections;
    for (const TCxemaGrupd* g = PanelNumbered(4)->SchemeGroups.First; g; g = g->SchemeGroups.Next) {
        deviations.push_back(g->VoltageDeviation);
        sections.push_back(g->CrossSection);
    }

    OpenSwitchboard("1");
    change(&Ui_TShiti::Edit3, &Ui_TShiti::Button7, "82,5");
    sw = SwitchboardNumbered(1);
    EXPECT_EQ(sw->SwitchboardFeederLength, 82.5);
    const TSitid* panel = PanelNumbered(4);
    EXPECT_EQ(panel->FeederLength, 400.0);
    EXPECT_EQ(panel->FeederSection, section);
    const double drop = 400.0 / std::sqrt(3.0) / 220.0 * loss * 2.0 / 80.5;
    std::size_t i = 0;
    std::size_t kept = 0;
    for (const TCxemaGrupd* g = panel->SchemeGroups.First; g && i < deviations.size();
         g = g->SchemeGroups.Next, ++i) {
        if (g->CrossSection != sections[i]) {
            EXPECT_GT(g->CrossSection, sections[i]) << g->GroupName;
            EXPECT_GT(g->VoltageDeviation, deviations[i]) << g->GroupName;
            continue;
        }
        ++kept;
        EXPECT_LE(g->VoltageDeviation, deviations[i]) << g->GroupName;
        EXPECT_GE(g->VoltageDeviation, deviations[i] - drop - 0.01) << g->GroupName;
    }
    EXPECT_EQ(i, deviations.size());
    EXPECT_GT(kept, 0u);
    const TreeImage after = ReopeningImage(*ProjectRoot);
    SaveAndOpenAgain();
    const std::string differences = ReopeningDifferences(after, ReopeningImage(*ProjectRoot));
    EXPECT_TRUE(differences.empty()) << differences;
}

}  // namespace
