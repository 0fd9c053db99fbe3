// "Изменить" of a main switchboard: the connection window in its switchboard edit layout.
#include <gtest/gtest.h>

#include "EditFixture.h"
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
// last in the chain, and the project is not marked changed.
TEST_F(SwitchboardEdit, ARefusedRecreationRebuildsTheSwitchboardOnce) {
    OpenSwitchboard("1");
    Type(Shiti->Edit3, "900");
    ExpectBreakerQuestion(platform::mrYes);
    responder_.ExpectMessage(
        "Отклонение напряжения на потребителе более 10 %,редактирование отменяется",
        "Предупреждение", platform::mrOk);
    Click(Shiti->Button7);
    EXPECT_EQ(SwitchboardOrder(), (std::vector<int>{2, 3, 1}));
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

}  // namespace
