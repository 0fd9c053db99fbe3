// A refused edit of a group line puts the line back as it was. The group editor is opened on
// the line through the edit window, and the line is taken out as the edit command takes it out
// before it runs "Применить" for the new version.
#include <functional>

#include "GroupsFixture.h"
#include "app/Mainform.h"
#include "editing/EditDialog.h"
#include "editing/Shiti12.h"
#include "groups/Dan12.h"
#include "refdb/TableSchemas.h"

using platform::mrOk;
using platform::MsgIcon;

class EditRollbackTest : public GroupDialogTest {
protected:
    // "Гр0" (one phase) and "Гр1" (four conductors, 6 kW) on panel 1.
    void SetUp() override {
        GroupDialogTest::SetUp();
        AddFirstLine();
        AddFourConductorLine();
        before_ = ImageWithoutResultSectionCopies(*ProjectRoot);
    }

    void BeginEdit(const std::string& name) {
        OpenGroupEditor(name);
        rootBefore_ = *ProjectRoot;
        switchboardBefore_ = *sw;
        panelBefore_ = *panel;

        ProjectRoot->Switchboards.Cursor = sw;
        sw->Panels.Cursor = panel;
        Form1->DeleteGroupByName(name);
        Dan1->RecalculateNetwork();
        ProjectRoot->Switchboards.Cursor = sw;
        sw->Panels.Cursor = panel;
        ASSERT_EQ(SchemeRecord(name), nullptr);
    }

    TreeImage before_;
    TGrsedFields rootBefore_;
    TGrsedFields switchboardBefore_;
    TSitidFields panelBefore_;
};

TEST_F(EditRollbackTest, TheEditedLineComesBackAsItWas) {
    BeginEdit("Гр1");
    const TFasaGrup3dFields phaseBefore = *Form3->SavedPhaseRecords.Three;
    ASSERT_EQ(panel->ThreePhaseCount, 0);
    EXPECT_TRUE(Dan1->RestoreEditedGroup(sw, panel));
    EXPECT_EQ(Form3->EditedGroupRestored, 1);
    const TCxemaGrupd* line = SchemeRecord("Гр1");
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(Form3->EditGroup, line);
    const TFasaGrup3d* phase = ThreePhaseRecord("Гр1");
    ASSERT_NE(phase, nullptr);
    EXPECT_TRUE(static_cast<const TFasaGrup3dFields&>(*phase) == phaseBefore);
    EXPECT_EQ(panel->ThreePhaseCount, 1);
    EXPECT_EQ(panel->SchemeGroupCount, 2);
    // The values the three nodes had when the edit began; their chains are those of now.
    EXPECT_TRUE(static_cast<const TGrsedFields&>(*ProjectRoot) == rootBefore_);
    EXPECT_TRUE(static_cast<const TGrsedFields&>(*sw) == switchboardBefore_);
    EXPECT_TRUE(static_cast<const TSitidFields&>(*panel) == panelBefore_);
    EXPECT_EQ(ProjectRoot->CurrentPanel(), panel);
}

// "Применить" for the new version, refused by the line's cable table (21.95 kW on one phase
// draws 100.05 A, the table ends at 100 A) or by the voltage drop (5 kW on 600 m, -10.40 % at
// best): the old line is back, the undo copy is dropped and the edit is over. The window stays
// hidden.
TEST_F(EditRollbackTest, ARefusedNewVersion) {
    const struct {
        const char* what;
        std::string power, length, message, caption;
        bool groupBreakerDialog;
    } cases[] = {
        {"cable table", "21,95", "10", "Для данной мощности, в таблице нет данных.",
         "Предупреждение.", false},
        {"voltage", "5", "600",
         "Падение напряжения на потребителе более 10 %,редактирование отменяется", "Предупреждение",
         true},
    };
    for (const auto& c : cases) {
        BeginEdit("Гр1");
        // The edit command frees the line's names before it checks the new version.
        std::erase(Dan1->GroupNames, "Гр1");
        std::erase(Shiti->CableNames, "К1");
        Entry entry;
        entry.name = "Гр1";
        entry.cable = "К1";
        entry.power = c.power;
        entry.length = c.length;
        Fill(entry);
        if (c.groupBreakerDialog) ExpectBreakerDialogs({"Группы"});
        responder_.ExpectMessage(c.message, c.caption, mrOk);
        Dan1->sledychiClick(Dan1->sledychi);
        responder_.VerifyDone();
        EXPECT_EQ(responder_.Messages().back().icon, MsgIcon::Warning) << c.what;
        EXPECT_FALSE(Dan1->isVisible()) << c.what;
        EXPECT_EQ(Form3->GroupEditMode, 0) << c.what;
        EXPECT_EQ(Form3->SavedGroup, nullptr) << c.what;
        EXPECT_TRUE(Form3->PanelCopies.empty()) << c.what;
        ASSERT_NE(ThreePhaseRecord("Гр1"), nullptr) << c.what;
        EXPECT_EQ(SinglePhaseRecord("Гр1"), nullptr) << c.what;
        OpenGroupWindow();
        Click(*Dan1->ok);
        EXPECT_EQ(FirstDifference(ImageWithoutResultSectionCopies(*ProjectRoot), before_), "")
            << c.what;
        EXPECT_EQ(Dan1->GroupNames, (std::vector<std::string>{"Гр0", "Гр1"})) << c.what;
        EXPECT_EQ(Shiti->CableNames, (std::vector<std::string>{"КГ1", "КЩ1", "К0", "К1"}))
            << c.what;
    }
}

// "Изменить" refused already by the recheck of the panel without the line: by the switchboard's
// table, which no longer carries the 10 A of "Гр0" (it was changed after the lines were
// entered), or by the voltage at "Гр0", whose stored line is 5000 m long. The line comes back as
// it was and the edit ends: the window closes, the copies are dropped.
TEST_F(EditRollbackTest, ARefusedRecheckWithoutTheLineEndsTheEdit) {
    WriteCableTable("Мал4.xml", "ВВГ", "4", refdb::kCable, {{1.5, 4}, {2.5, 5}});
    const struct {
        const char* what;
        std::function<void()> spoil;
        std::vector<std::pair<std::string, std::string>> messages;
    } cases[] = {
        {"switchboard table",
         [this] { sw->SwitchboardTable = "Мал4.xml"; },
         {{"Для данной мощности, в таблице нет данных.", "Предупреждение."},
          {"Редактирование отменяется", "Предупреждение"}}},
        {"voltage",
         [] { SchemeRecord("Гр0")->LineLength = 5000; },
         {{"Отклонение напряжения на потребителе более 10 %,редактирование отменяется",
           "Предупреждение"}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string table = sw->SwitchboardTable;
        c.spoil();
        const TCxemaGrupdFields line = *SchemeRecord("Гр1");
        OpenGroupEditor("Гр1");
        Type(*Dan1->Edit2, "4,4");
        for (const auto& [text, caption] : c.messages) responder_.ExpectMessage(text, caption, mrOk);
        Click(*Dan1->cancel);
        responder_.VerifyDone();

        const TCxemaGrupd* back = SchemeRecord("Гр1");
        ASSERT_NE(back, nullptr);
        EXPECT_EQ(back->Power, line.Power);
        EXPECT_EQ(back->CableName, line.CableName);
        EXPECT_NE(ThreePhaseRecord("Гр1"), nullptr);
        EXPECT_EQ(NamesOf(*panel), (std::vector<std::string>{"Гр0", "Гр1"}));
        EXPECT_FALSE(Dan1->isVisible());
        EXPECT_EQ(Form3->GroupEditMode, 0);
        EXPECT_EQ(Form3->SavedGroup, nullptr);
        EXPECT_EQ(Form3->EditedGroupRestored, 0);
        EXPECT_TRUE(Form1->N25->isEnabled());
        sw->SwitchboardTable = table;
        SchemeRecord("Гр0")->LineLength = 10;
    }
}
