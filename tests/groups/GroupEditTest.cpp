// The group editor as a user meets it: "Редактирование" > "Группы", a line chosen, "Изменить"
// opens it in the group line window, whose "Изменить" takes the line out and adds it again with
// the new entries.
#include <QTest>
#include <QWindow>
#include <algorithm>
#include <functional>

#include "GroupsFixture.h"
#include "app/Mainform.h"
#include "editing/EditDialog.h"
#include "editing/Shiti12.h"
#include "groups/Dan12.h"
#include "model/Chains.h"
#include "platform/Canvas.h"
#include "platform/Conversions.h"
#include "platform/Events.h"

using platform::MsgIcon;

namespace {

long Occurrences(const std::vector<std::string>& names, const std::string& name) {
    return std::count(names.begin(), names.end(), name);
}

}  // namespace

class GroupEditTest : public GroupDialogTest {
protected:
    // "Гр0" (2.2 kW on one phase, cable "К0") and "Гр1" (1.1 kW, cable "К1") on panel 1.
    void SetUp() override {
        GroupDialogTest::SetUp();
        AddFirstLine();
        Entry second;
        second.power = "1,1";
        AddLine(second);
    }
};

// The editor opens on the chosen line as it was entered: the edit window closes, the group line
// window shows in its edit face with the line's entries, the undo copy holds the line, its panel
// and the nodes above as they are, and nothing in the tree changes. No other editor opens
// meanwhile.
TEST_F(GroupEditTest, TheEditorOpensOnTheLine) {
    const TreeImage before = ImageWithoutResultSectionCopies(*ProjectRoot);
    OpenGroupEditor("Гр1");
    const TDan1& d = *Dan1;
    EXPECT_FALSE(Form3->isVisible());
    EXPECT_EQ(d.windowTitle().toStdString(), "Данные (редактирование)");
    for (const QWidget* hidden :
         {static_cast<const QWidget*>(d.sledychi), static_cast<const QWidget*>(d.ok),
          static_cast<const QWidget*>(d.ComboBox2), static_cast<const QWidget*>(d.Label2)})
        EXPECT_TRUE(hidden->isHidden()) << hidden->objectName().toStdString();
    EXPECT_TRUE(d.cancel->isVisible());
    EXPECT_TRUE(d.Button1->isVisible());
    EXPECT_TRUE(d.RadioButton1->isChecked());
    const std::vector<std::pair<const QLineEdit*, std::string>> entries = {
        {d.Edit4, "10"}, {d.Edit2, "1,1"}, {d.Edit6, "Гр1"}, {d.Edit1, "1"}, {d.Edit7, "К1"}};
    for (const auto& [edit, text] : entries)
        EXPECT_EQ(edit->text().toStdString(), text) << edit->objectName().toStdString();
    EXPECT_EQ(d.ComboBox1->currentText().toStdString(), "2");
    EXPECT_EQ(d.ComboBox3->currentText().toStdString(), "В воздухе");
    EXPECT_EQ(d.ComboBox4->currentText().toStdString(), kWire2);

    const TForm3& editor = *Form3;
    EXPECT_EQ(editor.GroupEditMode, 1);
    EXPECT_EQ(editor.SavedSwitchboard, sw);
    EXPECT_EQ(editor.SavedPanel, panel);
    EXPECT_EQ(editor.EditGroup, SchemeRecord("Гр1"));
    ASSERT_NE(editor.SavedGroup, nullptr);
    EXPECT_TRUE(static_cast<const TCxemaGrupdFields&>(*editor.SavedGroup) ==
                static_cast<const TCxemaGrupdFields&>(*SchemeRecord("Гр1")));
    ASSERT_NE(editor.SavedPhaseRecords.Single, nullptr);
    EXPECT_EQ(editor.SavedPhaseRecords.Single->GroupName1, "Гр1");
    ASSERT_EQ(editor.PanelCopies.size(), 1u);
    EXPECT_TRUE(static_cast<const TSitidFields&>(editor.PanelCopies[0]) ==
                static_cast<const TSitidFields&>(*panel));
    EXPECT_EQ(FirstDifference(ImageWithoutResultSectionCopies(*ProjectRoot), before), "");
    EXPECT_FALSE(Form1->N25->isEnabled());
    EXPECT_FALSE(Form1->N4->isEnabled());
}

// The power of "Гр0" raised to 4.4 kW, names unchanged: no duplicate is reported, the breaker
// types are chosen afresh (the group's, the panel's, the switchboard's, the section's), and the
// line holds the new currents: 4400 / 219.393 = 20.055 -> 20.06 A in the scheme record,
// 4400 / 220 = 20.00 A in the single-phase record; its breaker is the series step strictly above
// 20.06 A, 25 A.
TEST_F(GroupEditTest, ThePowerOfALineChanged) {
    OpenGroupEditor("Гр0");
    Type(*Dan1->Edit2, "4,4");
    ExpectBreakerDialogs({"Группы", "Щит", "Грщ", "Секция КТП"});
    Click(*Dan1->cancel);
    responder_.VerifyDone();
    ExpectShown({});

    const TCxemaGrupd* line = SchemeRecord("Гр0");
    ASSERT_NE(line, nullptr);
    EXPECT_DOUBLE_EQ(static_cast<double>(line->Power), 4.4);
    EXPECT_DOUBLE_EQ(line->DesignCurrent, 20.06);
    EXPECT_DOUBLE_EQ(SinglePhaseRecord("Гр0")->Current1, 20.0);
    EXPECT_EQ(line->BreakerRating, 25);
    EXPECT_EQ(line->CableName, "К0");
    EXPECT_EQ(panel->SchemeGroupCount, 2);
    EXPECT_EQ(panel->SinglePhaseCount, 2);
    EXPECT_EQ(Occurrences(Dan1->GroupNames, "Гр0"), 1);
    EXPECT_EQ(Occurrences(Shiti->CableNames, "К0"), 1);
    EXPECT_EQ(Form3->GroupEditMode, 0);
    EXPECT_FALSE(Shiti->AutoBreakers);
    EXPECT_EQ(Form1->ProjectSaved, 0);
    EXPECT_FALSE(Dan1->isVisible());
}

// An empty group name is refused before anything changes; both names of the line are listed
// again, once each, and the window stays open with its entries.
TEST_F(GroupEditTest, AnEntryErrorLeavesTheLine) {
    OpenGroupEditor("Гр1");
    const std::vector<std::string> order = NamesOf(*panel);
    Type(*Dan1->Edit6, "");
    responder_.ExpectMessage("Введите название группы.", "предупреждение.", platform::mrOk);
    Click(*Dan1->cancel);
    responder_.VerifyDone();
    EXPECT_EQ(NamesOf(*panel), order);
    EXPECT_EQ(Occurrences(Dan1->GroupNames, "Гр1"), 1);
    EXPECT_EQ(Occurrences(Shiti->CableNames, "К1"), 1);
    EXPECT_EQ(Form3->GroupEditMode, 1);
    EXPECT_FALSE(Shiti->AutoBreakers);
    EXPECT_TRUE(Dan1->isVisible());
    EXPECT_EQ(Dan1->Edit2->text().toStdString(), "1,1");
}

// A new version that its cable table cannot carry (30 kW on one phase: 30000 / 220 = 136 A,
// the table ends at 100 A) is refused: the line comes back with the entries it had, in its place
// among the panel's lines (so every line keeps its phase).
TEST_F(GroupEditTest, ARefusedEditReturnsTheLineAsItWas) {
    platform::CanvasRecordingScope recording;
    const struct {
        const char* name;
        std::vector<std::string> order;
    } cases[] = {
        {"Гр1", {"Гр0", "Гр1"}},
        {"Гр0", {"Гр0", "Гр1"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        OpenGroupEditor(c.name);
        const TCxemaGrupdFields entered = *SchemeRecord(c.name);
        Type(*Dan1->Edit2, "30");
        responder_.ExpectMessage("Для данной мощности, в таблице нет данных.", "Предупреждение.",
                                 platform::mrOk);
        Click(*Dan1->cancel);
        responder_.VerifyDone();

        // The refresh that ends the refused edit draws the line as it was.
        ExpectSchemeOfTheTree(c.name);
        EXPECT_FALSE(SchemeShows("Pном- 30 кВт"));
        EXPECT_EQ(NamesOf(*panel), c.order);
        const TCxemaGrupd* line = SchemeRecord(c.name);
        ASSERT_NE(line, nullptr);
        EXPECT_EQ(line->Power, entered.Power);
        EXPECT_EQ(line->CosPhi, entered.CosPhi);
        EXPECT_EQ(line->LineLength, entered.LineLength);
        EXPECT_EQ(line->CableName, entered.CableName);
        EXPECT_EQ(line->CableTable, entered.CableTable);
        EXPECT_EQ(line->PhaseKind, entered.PhaseKind);
        EXPECT_NE(SinglePhaseRecord(c.name), nullptr);
        EXPECT_EQ(panel->SinglePhaseCount, 2);
        // Each name once: the line's own names are not left free for another line.
        EXPECT_EQ(Occurrences(Dan1->GroupNames, c.name), 1);
        EXPECT_EQ(Occurrences(Shiti->CableNames, entered.CableName), 1);
        EXPECT_EQ(Form3->GroupEditMode, 0);
        EXPECT_FALSE(Shiti->AutoBreakers);
        EXPECT_EQ(Form1->ProjectSaved, 0);
    }
}

// Leaving the editor by "Отменa", by its close box or by Escape ends the edit: the edit flag is
// clear, the undo copy is gone, the other editors can be opened again and the tree is as it
// was; a line added afterwards is added as a new line, not checked as an edit.
TEST_F(GroupEditTest, LeavingTheEditorEndsTheEdit) {
    const TreeImage before = ImageWithoutResultSectionCopies(*ProjectRoot);
    const struct {
        const char* how;
        std::function<void()> leave;
    } ways[] = {
        {"Отменa", [] { Click(*Dan1->Button1); }},
        {"close box", [] { Dan1->windowHandle()->close(); }},
        {"Escape", [] { QTest::keyClick(Dan1, Qt::Key_Escape); }},
    };
    for (const auto& way : ways) {
        SCOPED_TRACE(way.how);
        OpenGroupEditor("Гр1");
        Type(*Dan1->Edit2, "4,4");
        way.leave();
        EXPECT_FALSE(Dan1->isVisible());
        const TForm3& editor = *Form3;
        EXPECT_EQ(editor.GroupEditMode, 0);
        EXPECT_EQ(editor.SavedGroup, nullptr);
        EXPECT_EQ(editor.ProjectCopy, nullptr);
        EXPECT_EQ(editor.SwitchboardCopy, nullptr);
        EXPECT_TRUE(editor.PanelCopies.empty());
        EXPECT_TRUE(Form1->N25->isEnabled());
        EXPECT_TRUE(Form1->N4->isEnabled());
        EXPECT_EQ(FirstDifference(ImageWithoutResultSectionCopies(*ProjectRoot), before), "");
    }

    OpenGroupWindow();
    Entry third;
    third.name = "Гр2";
    third.cable = "К2";
    EnterLine(third);
    ExpectShown({});
    EXPECT_EQ(NamesOf(*panel), (std::vector<std::string>{"Гр0", "Гр1", "Гр2"}));
}
