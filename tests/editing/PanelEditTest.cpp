// "Изменить" of a panel: the connection window in its panel edit layout.
#include <gtest/gtest.h>

#include "EditFixture.h"
#include "TreeLookup.h"
#include "app/Mainform.h"
#include "editing/EditDialog.h"
#include "editing/Shiti12.h"
#include "groups/Dan12.h"

namespace {

using platform::MsgIcon;

class PanelEdit : public EditTest {
protected:
    // Switchboard 1 with panels 1 and 2; panel 1 carries 60 + 20 + 20 = 100 kW.
    void SetUp() override {
        EditTest::SetUp();
        BuildSwitchboard(1, "1 2");
        AddLoads(1, {60, 20, 20});
        AddLoads(2, {5});
        PanelNumbered(1)->FeederCableName = "КЩ1";
        PanelNumbered(2)->FeederCableName = "КЩ2";
        Refresh();
        Form1->ProjectSaved = 1;
    }
};

TEST_F(PanelEdit, OpensWithThePanelsFeeder) {
    OpenPanel("1");
    ASSERT_TRUE(Shiti->isVisible());
    EXPECT_EQ(Shiti->windowTitle().toStdString(), "Щиты (редактирование)");
    EXPECT_EQ(Shiti->Edit1->text().toStdString(), "1");
    EXPECT_EQ(Shiti->Edit4->text().toStdString(), "10");
    EXPECT_EQ(Shiti->Edit9->text().toStdString(), "1");
    EXPECT_EQ(Shiti->ComboBox3->currentText().toStdString(), "ВВГв4.xml");
    EXPECT_TRUE(Shiti->Edit9->isEnabled());
    // While the editor is open no other editor or the connection window can be opened.
    EXPECT_FALSE(Form1->N4->isEnabled());
    EXPECT_FALSE(Form1->N21->isEnabled());
    Click(Shiti->Button5);
    EXPECT_TRUE(Form1->N4->isEnabled());
    EXPECT_EQ(Form3->PanelEditMode, 0);
    EXPECT_TRUE(Form3->PanelCopies.empty());
    EXPECT_TRUE(Form3->GroupSnapshots.Empty());
}

// The demand factor lies above 0 and at most 1; the editor stays open.
class DemandFactorRange : public PanelEdit, public ::testing::WithParamInterface<const char*> {};

TEST_P(DemandFactorRange, IsRefused) {
    OpenPanel("1");
    Type(Shiti->Edit9, GetParam());
    responder_.ExpectMessage("Коэффициент спроса больше 0 и меньше 1.", "Предупреждение.",
                             platform::mrOk);
    Click(Shiti->Button6);
    EXPECT_EQ(LastMessage().icon, MsgIcon::Warning);
    EXPECT_TRUE(Shiti->isVisible());
    EXPECT_EQ(PanelNumbered(1)->DemandFactor, 1.0);
    Click(Shiti->Button5);
}

INSTANTIATE_TEST_SUITE_P(Entries, DemandFactorRange, ::testing::Values("1,5", "0", "-1", "x"));

TEST_F(PanelEdit, ANumberTakenByAnotherPanelIsRefused) {
    OpenPanel("1");
    Type(Shiti->Edit1, "2");
    responder_.ExpectMessage("Щит с таким номером существует.", "Предупреждение.", platform::mrOk);
    Click(Shiti->Button6);
    Type(Shiti->Edit1, "0");
    responder_.ExpectMessage("Введите номер щита отличный от 0.", "Предупреждение.",
                             platform::mrOk);
    Click(Shiti->Button6);
    // The close box leaves the editor as "Отменить" does.
    Shiti->close();
    EXPECT_EQ(Form3->PanelEditMode, 0);
    EXPECT_TRUE(Form3->PanelCopies.empty());
    EXPECT_TRUE(Form1->N4->isEnabled());
}

// Only the number and the cable name: patched where the panel stands, its group lines kept.
TEST_F(PanelEdit, TheNumberAloneIsPatchedInPlace) {
    const TCxemaGrupd* first = PanelNumbered(1)->SchemeGroups.First;
    OpenPanel("1");
    Type(Shiti->Edit1, "9");
    Type(Shiti->Edit8, "КЩ9");
    Click(Shiti->Button6);
    ASSERT_NE(PanelNumbered(9), nullptr);
    EXPECT_EQ(PanelNumbered(1), nullptr);
    EXPECT_EQ(PanelNumbered(9)->SchemeGroups.First, first);
    EXPECT_EQ(PanelNumbered(9)->FeederCableName, "КЩ9");
    EXPECT_EQ(PanelOrder(1), (std::vector<int>{9, 2}));
    EXPECT_EQ(Form1->ProjectSaved, 0);
    EXPECT_FALSE(Shiti->isVisible());
}

// A longer feeder rebuilds the panel: the breaker question, the group lines added again in
// their order.
TEST_F(PanelEdit, AnotherFeederLengthRebuildsThePanel) {
    OpenPanel("1");
    Type(Shiti->Edit4, "25");
    ExpectBreakerQuestion(platform::mrYes);
    Click(Shiti->Button6);
    const TSitid* panel = PanelNumbered(1);
    EXPECT_EQ(panel->FeederLength, 25.0);
    EXPECT_EQ(GroupsOf(1), (std::vector<std::string>{"Г1-1", "Г2-1", "Г3-1"}));
    EXPECT_EQ(PanelOrder(1), (std::vector<int>{1, 2}));
    // 60 + 20 + 20 kW.
    EXPECT_DOUBLE_EQ(panel->InstalledPower, 100.0);
    EXPECT_TRUE(Shiti->AutoBreakers);
    EXPECT_EQ(Form1->ProjectSaved, 0);
    EXPECT_EQ(Form3->PanelEditMode, 0);
    EXPECT_TRUE(Form3->PanelCopies.empty());
}

// 100 kW x 0.5 = 50 kW is less than the 60 kW group line: the factor is raised to 60 / 100.
TEST_F(PanelEdit, TheDemandFactorIsRaisedToTheLargestGroupLine) {
    OpenPanel("1");
    Type(Shiti->Edit9, "0,5");
    responder_.ExpectMessage("Коэффициент спроса должен быть не меньше 0,6", "", platform::mrOk);
    ExpectBreakerQuestion(platform::mrYes);
    Click(Shiti->Button6);
    EXPECT_EQ(responder_.Messages().front().icon, MsgIcon::None);
    EXPECT_DOUBLE_EQ(PanelNumbered(1)->DemandFactor, 0.6);
    EXPECT_EQ(GroupsOf(1), (std::vector<std::string>{"Г1-1", "Г2-1", "Г3-1"}));
}

// A demand factor of two decimals, with a comma or a point: 100 kW x 0.65 = 65 kW and x 0.95 =
// 95 kW cover the 60 kW group line, so the factor stands as typed.
class DemandFactorTyped : public PanelEdit,
                          public ::testing::WithParamInterface<std::pair<const char*, double>> {};

TEST_P(DemandFactorTyped, IsKeptWithBothDecimals) {
    OpenPanel("1");
    Type(Shiti->Edit9, GetParam().first);
    EXPECT_EQ(Shiti->Edit9->text().toStdString(), GetParam().first);
    ExpectBreakerQuestion(platform::mrYes);
    Click(Shiti->Button6);
    EXPECT_EQ(PanelNumbered(1)->DemandFactor, GetParam().second);
    EXPECT_EQ(GroupsOf(1), (std::vector<std::string>{"Г1-1", "Г2-1", "Г3-1"}));
}

INSTANTIATE_TEST_SUITE_P(Entries, DemandFactorTyped,
                         ::testing::Values(std::pair<const char*, double>{"0,65", 0.65},
                                           std::pair<const char*, double>{"0.95", 0.95}));

// A feeder too long for the consumers' voltage: the panel comes back as it was entered, the
// panel hanging on it right behind it after the closing refresh.
TEST_F(EditTest, ARefusedPanelEditPutsThePanelBack) {
    BuildSwitchboard(1, "1 3+ 7/3 4");
    AddLoads(3, {30, 20, 10});
    AddLoads(7, {15});
    LoadEveryPanel();
    for (int n : {1, 3, 4, 7}) PanelNumbered(n)->FeederCableName = "КЩ" + std::to_string(n);
    Refresh();
    Form1->ProjectSaved = 1;

    OpenPanel("3");
    Type(Shiti->Edit4, "500");
    ExpectBreakerQuestion(platform::mrYes);
    responder_.ExpectMessage(
        "Отклонение напряжения на потребителе более 10 %,редактирование отменяется",
        "Предупреждение", platform::mrOk);
    Click(Shiti->Button6);

    const TSitid* panel = PanelNumbered(3);
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->FeederLength, 10.0);
    EXPECT_EQ(panel->PanelFlagB, 1);
    EXPECT_EQ(GroupsOf(3), (std::vector<std::string>{"Г1-3", "Г2-3", "Г3-3"}));
    EXPECT_EQ(GroupsOf(7), (std::vector<std::string>{"Г1-7"}));
    EXPECT_EQ(PanelNumbered(7)->HangsOnPanel, 3);
    EXPECT_EQ(PanelOrder(1), (std::vector<int>{1, 3, 7, 4}));
    EXPECT_EQ(Form3->PanelEditMode, 0);
    EXPECT_EQ(Form3->PanelRestoredFlag, 0);
    EXPECT_TRUE(Form3->PanelCopies.empty());
}

// Panel 3 with panel 8 hanging on it without a separate breaker and panel 7 with one (in that
// chain order). Connected anew, the lines of both fold into panel 3 behind its own, and panels
// 7 and 8 go: in copy order when the panel is rebuilt, those with a separate breaker first when
// its switchboard is connected anew.
struct FoldCase {
    const char* what;
    void (*change)();
    std::vector<std::string> lines;
};

class HangingPanelsFold : public EditTest, public ::testing::WithParamInterface<FoldCase> {};

TEST_P(HangingPanelsFold, IntoThePanelTheyHangOn) {
    BuildSwitchboard(1, "1 3+ 8~3 7/3 4");
    AddLoads(3, {30, 20});
    AddLoads(8, {5});
    AddLoads(7, {6});
    LoadEveryPanel();
    for (int n : {1, 3, 4, 7, 8}) PanelNumbered(n)->FeederCableName = "КЩ" + std::to_string(n);
    ProjectRoot->Switchboards.First->SwitchboardCableName = "КГ1";
    Refresh();
    GetParam().change();
    ExpectBreakerQuestion(platform::mrYes);
    if (Shiti->Button6->isVisible())
        Click(Shiti->Button6);
    else
        Click(Shiti->Button7);
    EXPECT_EQ(PanelOrder(1), (std::vector<int>{1, 3, 4}));
    EXPECT_EQ(GroupsOf(3), GetParam().lines);
    EXPECT_EQ(PanelNumbered(3)->PanelFlagB, 0);
    EXPECT_EQ(Form3->PanelEditMode, 0);
    EXPECT_EQ(Form3->SwitchboardEditMode, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Changes, HangingPanelsFold,
    ::testing::Values(FoldCase{"panel rebuilt",
                               [] {
                                   Form1->N4->trigger();
                                   Choose(Form3->ComboBox4, "1");
                                   Choose(Form3->ComboBox3, "3");
                                   Click(Form3->Button5);
                                   Type(Shiti->Edit4, "25");
                               },
                               {"Г1-3", "Г2-3", "Г1-8", "Г1-7"}},
                      FoldCase{"switchboard connected anew",
                               [] {
                                   Form1->N30->trigger();
                                   Choose(Form3->ComboBox4, "1");
                                   Click(Form3->Button5);
                                   Type(Shiti->Edit3, "15");
                               },
                               {"Г1-3", "Г2-3", "Г1-7", "Г1-8"}}));

}  // namespace
