// The edits called on the main window fill the lists of the real windows.
#include <gtest/gtest.h>

#include <QStringList>

#include "AppFixture.h"
#include "app/Mainform.h"
#include "editing/EditDialog.h"
#include "editing/Shiti12.h"
#include "groups/Dan12.h"
#include "model/Classd.h"

namespace {

QStringList Items(const QComboBox& combo) {
    QStringList items;
    for (int i = 0; i < combo.count(); ++i) items << combo.itemText(i);
    return items;
}

class WindowListsOnWindows : public AppFixture {
protected:
    void SetUp() override {
        AppFixture::SetUp();
        ProjectRoot = new TGrsed;
        for (int n : {1, 2}) {
            TGrsed sw;
            sw.SwitchboardNumber = n;
            sw.SwitchboardCableName = "К" + std::to_string(n);
            ProjectRoot->AddSwitchboard(sw);
            ++ProjectRoot->SwitchboardCount;
        }
        for (int n : {10, 11, 20}) {
            TSitid panel;
            panel.PanelNumber = n;
            panel.FeederCableName = "ф" + std::to_string(n);
            const int sw = n / 10;
            TGrsed* owner =
                sw == 1 ? ProjectRoot->Switchboards.First : ProjectRoot->Switchboards.Last;
            panel.Position = owner->PanelCount + 1;
            ProjectRoot->AddPanel(sw, panel);
            ++owner->PanelCount;
        }
        AddScheme(10, "Гр1");
        AddScheme(20, "Гр2");
    }
    void TearDown() override {
        DeleteProjectTree(ProjectRoot);
        AppFixture::TearDown();
    }
    void AddScheme(int panelNumber, const std::string& name) {
        TCxemaGrupd record;
        record.GroupName = name;
        record.CableName = "к-" + name;
        ProjectRoot->ResetCursors();
        ASSERT_TRUE(ProjectRoot->FindPanel(panelNumber));
        ProjectRoot->AddCxemaGroup(panelNumber, ProjectRoot->CountPanels(), record);
        ASSERT_TRUE(ProjectRoot->FindPanel(panelNumber));
        ++ProjectRoot->CurrentPanel()->SchemeGroupCount;
    }
};

TEST_F(WindowListsOnWindows, DeletingAPanelRefillsTheGroupEntryEditAndConnectionLists) {
    Shiti->PanelCounter = 2;
    Dan1->GroupCountCopies = {1, 1, 0, 0};
    ProjectRoot->FindPanel(11);
    Form1->DeletePanel(ProjectRoot->CurrentPanel());

    EXPECT_EQ(Items(*Dan1->ComboBox2), (QStringList{"10", "20"}));
    EXPECT_EQ(Dan1->ComboBox2->currentIndex(), 1);
    EXPECT_EQ(Items(*Form3->ComboBox3), (QStringList{"10", "20"}));
    EXPECT_EQ(Form3->ComboBox3->currentIndex(), 0);
    EXPECT_EQ(Dan1->GroupNames, (std::vector<std::string>{"Гр1", "Гр2"}));
    EXPECT_EQ(Dan1->GroupCountCopies, (std::array<int, 4>{0, 0, 0, 0}));
    EXPECT_EQ(Shiti->CableNames,
              (std::vector<std::string>{"К1", "ф10", "к-Гр1", "К2", "ф20", "к-Гр2"}));
    EXPECT_EQ(Shiti->PanelCounter, 1);
}

TEST_F(WindowListsOnWindows, DeletingEverySwitchboardEmptiesTheLists) {
    Form3->ComboBox4->addItem("1");
    Form1->DeleteSwitchboardNode(ProjectRoot->Switchboards.First);
    EXPECT_EQ(Items(*Shiti->ComboBox2), (QStringList{"2"}));
    EXPECT_EQ(Shiti->ComboBox2->currentIndex(), -1);
    EXPECT_EQ(Shiti->SwitchboardCounter, 1);
    EXPECT_EQ(Form3->ComboBox4->count(), 1);

    Form1->DeleteSwitchboardNode(ProjectRoot->Switchboards.First);
    EXPECT_EQ(Shiti->ComboBox2->count(), 0);
    EXPECT_EQ(Shiti->SwitchboardCounter, 0);
    EXPECT_EQ(Shiti->PanelCounter, 0);
    EXPECT_TRUE(Shiti->CableNames.empty());
    EXPECT_EQ(Form3->ComboBox4->count(), 0);
    EXPECT_EQ(Dan1->ComboBox2->count(), 0);
    EXPECT_EQ(Dan1->ComboBox2->currentText(), "");
    EXPECT_EQ(Form3->ComboBox3->currentText(), "");
    EXPECT_TRUE(Dan1->GroupNames.empty());
}

TEST_F(WindowListsOnWindows, DeletingAGroupListsThePanelsGroupsInTheEditDialog) {
    AddScheme(10, "Гр3");
    ProjectRoot->FindPanel(10);
    Form1->DeleteGroupByName("Гр1");
    EXPECT_EQ(Items(*Form3->ComboBox3), (QStringList{"Гр3"}));
    EXPECT_EQ(Form3->ComboBox3->currentIndex(), 0);
    EXPECT_EQ(Dan1->GroupNames, (std::vector<std::string>{"Гр3", "Гр2"}));
    EXPECT_EQ(Dan1->GroupCountCopies[0], 1);
}

}  // namespace
