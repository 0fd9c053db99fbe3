// A project made through File > New and "Щиты", saved, opened again and saved again.
#include <gtest/gtest.h>

#include <QDir>
#include <fstream>
#include <iterator>

#include "ConnectionFixture.h"
#include "TreeLookup.h"
#include "app/Mainform.h"
#include "editing/Magistral.h"
#include "editing/Shiti12.h"
#include "platform/FileDialogs.h"

namespace {

using Strings = std::vector<std::string>;

class NewProject : public ConnectionTest {
protected:
    void SetUp() override {
        ConnectionTest::SetUp();
        QDir().mkpath(QString::fromStdString(ProgramFile("Project")));
        path_ = ProgramFile("Project") + "/Сеть.VPQ";
        platform::SetFileDialogAnswer([this](const platform::FileDialogRequest&) { return path_; });
    }
    void TearDown() override {
        platform::SetFileDialogAnswer(nullptr);
        ConnectionTest::TearDown();
    }

    std::string path_;
};

// What the user entered comes back from the file.
void ExpectEnteredData() {
    ASSERT_EQ(ProjectRoot->SwitchboardCount, 2);
    const TGrsed* first = SwitchboardNumbered(1);
    const TGrsed* second = SwitchboardNumbered(2);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(first->SwitchboardFeederLength, 50.0);
    EXPECT_EQ(first->SwitchboardLaying, "В воздухе");
    EXPECT_EQ(first->SwitchboardTable, "ВВГв4.xml");
    EXPECT_EQ(first->SwitchboardConductorMaterial, "Медь");
    EXPECT_EQ(first->SwitchboardTemperature, 15);
    EXPECT_EQ(first->SwitchboardCableName, "КГ1");
    EXPECT_EQ(second->SwitchboardFeederLength, 75.5);
    EXPECT_EQ(second->SwitchboardLaying, "В земле");
    EXPECT_EQ(second->SwitchboardTable, "АВВГз4.xml");
    EXPECT_EQ(second->SwitchboardConductorMaterial, "Алюминий");
    EXPECT_EQ(second->SwitchboardTemperature, 10);
    EXPECT_EQ(second->SwitchboardCableName, "КГ2");

    EXPECT_EQ(PanelOrder(1), (std::vector<int>{1, 2}));
    EXPECT_EQ(PanelOrder(2), (std::vector<int>{3}));
    const TSitid* head = PanelNumbered(1);
    const TSitid* member = PanelNumbered(2);
    const TSitid* radial = PanelNumbered(3);
    EXPECT_EQ(head->FeederLength, 20.0);
    EXPECT_EQ(head->CurrentTableName, "ВВГв4.xml");
    EXPECT_EQ(head->FeederCableName, "КЩ1");
    EXPECT_EQ(head->FedFromSwitchboard, 1);
    EXPECT_EQ(head->CascadeHeadNumber, 1);
    EXPECT_EQ(head->CascadeFlag, 1);
    EXPECT_EQ(member->FedFromPanel, 1);
    EXPECT_EQ(member->FeedingPanelNumber, 1);
    EXPECT_EQ(member->CascadeHeadNumber, 1);
    EXPECT_EQ(member->CascadeLength, 15.0);
    EXPECT_EQ(member->FeederCableName, "КЩ2");
    EXPECT_EQ(member->Position, 2);
    EXPECT_EQ(radial->FeederLength, 30.0);
    EXPECT_EQ(radial->FeederLayingMethod, "Четыре провода в трубе");
    EXPECT_EQ(radial->CurrentTableName, "ПВ1т4.xml");
    EXPECT_EQ(radial->FeederTemperature, 40);
    EXPECT_EQ(radial->FeederConductorMaterial, "Медь");
    EXPECT_EQ(radial->FeederCableName, "КЩ3");
    EXPECT_EQ(radial->FedFromPanel, 0);
}

TEST_F(NewProject, MadeThroughTheDialogIsSavedAndOpenedWithItsData) {
    ConnectionTest::NewProject([this] {
        ConnectSwitchboard({"1", "50", "В воздухе", "ВВГв4.xml", "15", "КГ1"});
        ConnectSwitchboard({"2", "75,5", "В земле", "АВВГз4.xml", "10", "КГ2"});
        ConnectPanel({"1", "1", "20", "В воздухе", "ВВГв4.xml", "15", "КЩ1"});
        // A trunk behind panel 1, one cross-section for it all.
        responder_.ExpectModal("TFormMagistral", [](QDialog&) {
            Choose(FormMagistral->ComboBox1, "1");
            Click(FormMagistral->Button1);
            return platform::mrNone;
        });
        Click(Shiti->RadioGroup1Item1);
        ConnectPanel({"", "2", "15", "", "", "15", "КЩ2"});
        ConnectPanel({"2", "3", "30", "Четыре провода в трубе", "ПВ1т4.xml", "40", "КЩ3"});
    });
    EXPECT_TRUE(responder_.Messages().empty());
    ExpectEnteredData();

    ASSERT_TRUE(Form1->SaveProjectAs());
    DeleteProjectTree(ProjectRoot);
    ASSERT_TRUE(Form1->LoadProject(path_));
    ExpectEnteredData();
    EXPECT_EQ(Items(*Shiti->ComboBox2), (Strings{"1", "2"}));
    EXPECT_EQ(Shiti->CableNames, (Strings{"КГ1", "КЩ1", "КЩ2", "КГ2", "КЩ3"}));

    Form1->ProjectFileName = path_;
    ASSERT_TRUE(Form1->SaveProject());
    const std::string second = FileBytes(path_);
    ASSERT_TRUE(Form1->SaveProject());
    EXPECT_FALSE(second.empty());
    EXPECT_TRUE(FileBytes(path_) == second);
}

}  // namespace
