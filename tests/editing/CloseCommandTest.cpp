// "Закрыть" of "Щиты": the feeds of changed switchboards repaired, every trunk together behind
// its head, then the project refresh.
#include <gtest/gtest.h>

#include "ConnectionFixture.h"
#include "TreeLookup.h"
#include "app/Mainform.h"
#include "editing/Shiti12.h"
#include "groups/Dan12.h"

namespace {

class CloseCommand : public ConnectionTest {
protected:
    void SetUp() override {
        ConnectionTest::SetUp();
        Dan1->CheckHooks.ApplyAndRefresh = [this](QObject* sender) { refreshedBy_ = sender; };
    }

    QObject* refreshedBy_ = nullptr;
};

struct ChainCase {
    const char* what;
    const char* chain;
    std::vector<int> closed;
};

void PrintTo(const ChainCase& c, std::ostream* os) {
    *os << c.what;
}

class ClosingRepairsFeeds : public CloseCommand, public ::testing::WithParamInterface<ChainCase> {};

// Switchboard 1 was changed and is repaired; switchboard 2, unchanged, keeps its order.
TEST_P(ClosingRepairsFeeds, OfChangedSwitchboards) {
    const ChainCase& c = GetParam();
    NewProject();
    BuildSwitchboard(1, c.chain);
    SwitchboardNumbered(1)->ChangedMark = 1;
    BuildSwitchboard(2, "4 6/5 5+");
    refreshedBy_ = nullptr;
    InstallPanels([] {});
    EXPECT_EQ(PanelOrder(1), c.closed);
    EXPECT_EQ(PanelOrder(2), (std::vector<int>{4, 6, 5}));
    EXPECT_EQ(refreshedBy_, Shiti);
}

INSTANTIATE_TEST_SUITE_P(
    Chains, ClosingRepairsFeeds,
    ::testing::Values(ChainCase{"sub-panel before its feeder", "1 3/2 2+", {1, 2, 3}},
                      ChainCase{"plain panel between", "2+ 4 3/2", {2, 3, 4}},
                      ChainCase{"sub-panels split", "2+ 5/2 7 6/2", {2, 5, 6, 7}},
                      // Feeding each other: the repair gives up after its rounds.
                      ChainCase{"no order possible", "1+/2 2+/1", {2, 1}}));

// A trunk's member appended after other panels is brought right behind its head, whatever
// switchboard the dialog chose last.
TEST_F(CloseCommand, TrunksStandTogetherBehindTheirHeads) {
    NewProject([] { ConnectSwitchboard({"1", "50", "В воздухе", "ВВГв4.xml", "15", "КГ1"}); });
    BuildSwitchboard(2, "1^ 2 3<1@1");
    InstallPanels([] {
        Click(Shiti->RadioButton2);
        Choose(Shiti->ComboBox2, "1");
    });
    EXPECT_EQ(PanelOrder(2), (std::vector<int>{1, 3, 2}));
}

TEST_F(CloseCommand, ACloseBoxClosesAsCloseDoes) {
    NewProject();
    BuildSwitchboard(1, "1^ 2 3<1@1");
    refreshedBy_ = nullptr;
    responder_.ExpectModal("TShiti", [](QDialog& dialog) {
        dialog.show();
        dialog.close();
        EXPECT_FALSE(dialog.isVisible());
        return platform::mrNone;
    });
    Form1->N21->trigger();
    EXPECT_EQ(PanelOrder(1), (std::vector<int>{1, 3, 2}));
    EXPECT_EQ(refreshedBy_, Shiti);
}

TEST_F(CloseCommand, WithoutSwitchboardsItOnlyCloses) {
    NewProject([] {
        Shiti->ComboBox5->setEnabled(false);
        Click(Shiti->Button1);
        EXPECT_FALSE(Shiti->isVisible());
        EXPECT_TRUE(Shiti->ComboBox5->isEnabled());
    });
    EXPECT_EQ(refreshedBy_, nullptr);
}

TEST_F(CloseCommand, ClearsTheTableChoices) {
    NewProject([] {
        ConnectSwitchboard({"1", "50", "В воздухе", "ВВГв4.xml", "15", "КГ1"});
        ConnectPanel({"1", "1", "20", "В воздухе", "ВВГв4.xml", "15", "КЩ1"});
    });
    EXPECT_EQ(Shiti->ComboBox1->currentIndex(), -1);
    EXPECT_EQ(Shiti->ComboBox3->currentIndex(), -1);
    EXPECT_EQ(refreshedBy_, Shiti);
}

}  // namespace
