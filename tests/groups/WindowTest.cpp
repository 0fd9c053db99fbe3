// The group line window itself: its layout, its lists and what choosing in them does, the end of
// a successful entry, "закрыть" and "Отменa".
#include <QApplication>
#include <QTest>
#include <stdexcept>

#include "GroupsFixture.h"
#include "TreeLookup.h"
#include "WindowChecks.h"
#include "app/DialogForm.h"
#include "app/Mainform.h"
#include "app/SchemeWindow.h"
#include "editing/EditDialog.h"
#include "editing/Shiti12.h"
#include "groups/Dan12.h"
#include "platform/Image.h"
#include "app/PowerSystem.h"

using platform::mrOk;
using platform::MsgIcon;

using WindowTest = GroupDialogTest;

TEST_F(WindowTest, AFreshWindow) {
    TDan1& d = *Dan1;
    EXPECT_EQ(d.GroupCounter, 1);
    EXPECT_EQ(d.GroupCounterCode, 0);
    EXPECT_TRUE(d.GroupNames.empty());
    EXPECT_EQ(d.PanelSnapshotCount, 0);
    EXPECT_EQ(d.size(), QSize(300, 393));
    EXPECT_EQ(d.GroupBox1->title().toStdString(), "Параметры групповых линий");
    EXPECT_EQ(Items(*d.ComboBox1), (std::vector<std::string>{"2", "3", "4"}));
    EXPECT_EQ(d.ComboBox1->currentIndex(), -1);
    EXPECT_TRUE(d.RadioButton1->isChecked());
    EXPECT_FALSE(d.RadioButton1->isEnabled());
    EXPECT_FALSE(d.RadioButton2->isEnabled());
    EXPECT_EQ(d.Edit1->text().toStdString(), "1");
    EXPECT_EQ(d.Edit5->text().toStdString(), "25");
    EXPECT_EQ(d.Button1->text().toStdString(), "Отменa");
    EXPECT_EQ(d.Edit7->toolTip().toStdString(), "Название кабеля или провода (на плане)");
    const struct {
        QLineEdit* edit;
        int length;
    } limits[] = {{d.Edit4, 6}, {d.Edit2, 5}, {d.Edit1, 4},
                  {d.Edit6, 6}, {d.Edit5, 4}, {d.Edit7, 5}};
    for (const auto& l : limits)
        EXPECT_EQ(l.edit->maxLength(), l.length) << l.edit->objectName().toStdString();

    // Opened by the main menu: no laying method is offered before a conductor count.
    OpenGroupWindow();
    EXPECT_EQ(d.ComboBox3->count(), 0);
    EXPECT_EQ(d.ComboBox4->count(), 0);
    EXPECT_EQ(d.windowTitle().toStdString(), "Данные ");
}

TEST_F(WindowTest, ConductorCountsOfferTheirLayingMethodsAndLoadKinds) {
    OpenGroupWindow();
    TDan1& d = *Dan1;
    const struct {
        const char* count;
        std::vector<std::string> methods;
        bool loadKinds;
    } cases[] = {
        {"3", {"В воздухе", "В земле", "Три провода в трубе"}, true},
        {"4", {"В воздухе", "В земле", "Четыре провода в трубе"}, true},
        {"2", {"В воздухе", "В земле", "Два провода в трубе"}, false},
    };
    for (const auto& c : cases) {
        Choose(*d.ComboBox1, c.count);
        EXPECT_EQ(Items(*d.ComboBox3), c.methods) << c.count;
        EXPECT_EQ(d.ComboBox3->currentIndex(), -1) << c.count;
        EXPECT_EQ(d.RadioButton2->isEnabled(), c.loadKinds) << c.count;
        EXPECT_EQ(d.RadioButton1->isEnabled(), c.loadKinds) << c.count;
        EXPECT_TRUE(d.RadioButton1->isChecked() || c.loadKinds) << c.count;
        Choose(*d.ComboBox3, "В воздухе");
        Choose(*d.ComboBox4, d.ComboBox4->itemText(0).toStdString());
    }
    // Another count clears the laying method and table chosen, not the tables listed.
    const std::vector<std::string> tables = Items(*d.ComboBox4);
    Choose(*d.ComboBox1, "3");
    EXPECT_EQ(d.ComboBox3->currentIndex(), -1);
    EXPECT_EQ(d.ComboBox4->currentIndex(), -1);
    EXPECT_EQ(Items(*d.ComboBox4), tables);
}

// The tables listed are those made for the laying method and the conductor count, never an
// empty one.
TEST_F(WindowTest, TablesThatFitTheLayingMethodAndTheConductorCount) {
    WriteCableTable("Пустой4.xml", "ВВГ", "4", "Кабель", {});
    OpenGroupWindow();
    TDan1& d = *Dan1;
    Choose(*d.ComboBox1, "2");
    Choose(*d.ComboBox3, "В воздухе");
    EXPECT_EQ(Items(*d.ComboBox4), (std::vector<std::string>{kWire2}));
    Choose(*d.ComboBox1, "4");
    Choose(*d.ComboBox3, "В воздухе");
    // ВВГв4.xml is a table of the program folder the tests start from.
    EXPECT_EQ(Items(*d.ComboBox4), (std::vector<std::string>{"ВВГв4.xml", kCable4, kFeeder}));
    EXPECT_EQ(d.ComboBox4->currentIndex(), -1);
    Choose(*d.ComboBox3, "В земле");
    EXPECT_TRUE(Items(*d.ComboBox4).empty());
}

// Without a conductor count the two lists say so.
TEST_F(WindowTest, LayingMethodOrTableBeforeTheConductorCount) {
    responder_.ExpectMessage("Введите количество жил.", "Предупреждение.", mrOk);
    responder_.ExpectMessage("Введите колличество жил.", "Предупреждение.", mrOk);
    Dan1->ComboBox4->addItem(kWire2);
    Dan1->ComboBox3Change();
    Dan1->ComboBox4Change();
    ExpectShown({{"Введите количество жил.", "Предупреждение.", MsgIcon::Warning},
                 {"Введите колличество жил.", "Предупреждение.", MsgIcon::Warning}});
    EXPECT_EQ(Dan1->ComboBox4->count(), 1);
}

// A panel that hangs on another one is listed and chosen as 2(5); the line goes to panel 5.
TEST_F(WindowTest, APanelHangingOnAnother) {
    AddPanel(sw, 2);
    TSitid* hanging = AddPanel(sw, 5);
    hanging->HangsOnPanel = 2;
    hanging->PanelFlagC = 1;
    ProjectRoot->TransformerName = "ТМ-630/10";
    OpenGroupWindow();
    EXPECT_EQ(Items(*Dan1->ComboBox2), (std::vector<std::string>{"1", "2", "2(5)"}));
    // The transformer list shows the project's transformer.
    EXPECT_EQ(PowerSystem->ComboBox5->currentText().toStdString(), "ТМ-630/10");
    Entry entry;
    entry.panel = "2(5)";
    Fill(entry);
    EXPECT_EQ(ProjectRoot->CurrentPanel(), hanging);
    ExpectBreakerDialogs(kNewProjectBreakers);
    Apply();
    EXPECT_EQ(hanging->SchemeGroupCount, 1);
    EXPECT_EQ(hanging->SinglePhaseCount, 1);
    EXPECT_EQ(Dan1->GroupCountCopies, (std::array<int, 4>{1, 1, 0, 0}));
}

// A line accepted: the counters go on, the project is marked changed, the window is back with
// its entries and the group name selected for the next line.
TEST_F(WindowTest, TheEndOfASuccessfulEntry) {
    Form1->ToolButton4->setEnabled(false);
    OpenGroupWindow();
    // The scheme window shows the network's scheme, not drawn yet.
    if (!Form2->Image1) Form2->NewPicture();
    Form2->Image1->SetTag(1);
    Form2->Image1->SetSize(1, 1);
    Fill(Entry{});
    ExpectBreakerDialogs(kNewProjectBreakers);
    Apply();
    TDan1& d = *Dan1;
    EXPECT_EQ(d.GroupCounter, 2);
    EXPECT_EQ(d.GroupCounterCode, 900);
    EXPECT_TRUE(Form1->ToolButton4->isEnabled());
    EXPECT_EQ(Form1->ProjectSaved, 0);
    EXPECT_TRUE(d.isVisible());
    EXPECT_FALSE(DialogForm->isVisible());
    EXPECT_EQ(d.Edit6->selectedText().toStdString(), "Гр1");
    EXPECT_EQ(d.ComboBox2->currentText().toStdString(), "1");
    EXPECT_EQ(d.ComboBox4->currentText().toStdString(), kWire2);
    EXPECT_EQ(d.GroupNames, (std::vector<std::string>{"Гр1"}));
    EXPECT_EQ(Shiti->CableNames, (std::vector<std::string>{"КГ1", "КЩ1", "К1"}));
    // The snapshots describe the project with the line: the panel's counts of now.
    ASSERT_EQ(d.PanelSnapshotCount, 1);
    EXPECT_EQ(d.PanelSnapshots[0].SchemeGroupCount, 1);
    // The picture is drawn again by "закрыть", not by the entry.
    EXPECT_EQ(Form2->Image1->width(), 1);
}

// No panel chosen: the button does nothing at all.
TEST_F(WindowTest, NoPanelChosen) {
    OpenGroupWindow();
    Fill(Entry{});
    Dan1->ComboBox2->setCurrentIndex(-1);
    Apply();
    EXPECT_TRUE(Dan1->isVisible());
    EXPECT_FALSE(DialogForm->isVisible());
    EXPECT_EQ(panel->SchemeGroupCount, 0);
}

// "закрыть" refreshes the project and draws its picture again, forgets the conductor count,
// laying method and table, and closes the window.
TEST_F(WindowTest, CloseRefreshesAndForgetsTheChoices) {
    AddFirstLine();
    EXPECT_FALSE(Dan1->isVisible());
    EXPECT_GT(Form2->Image1->width(), 1);
    for (const QComboBox* list : {Dan1->ComboBox1, Dan1->ComboBox3, Dan1->ComboBox4})
        EXPECT_EQ(list->currentIndex(), -1) << list->objectName().toStdString();
    EXPECT_EQ(Form2->PictureKind(), 1);
}

// "Отменa" of the edit mode drops the edit dialog's undo copy and closes; nothing is redrawn.
TEST_F(WindowTest, CancelOfTheEditMode) {
    if (!Form2->Image1) Form2->NewPicture();
    Form2->Image1->SetTag(1);
    Form2->Image1->SetSize(1, 1);
    Form3->GroupEditMode = 1;
    Form3->PanelCopies.resize(1);
    Dan1->Button1->show();
    Dan1->show();
    Click(*Dan1->Button1);
    EXPECT_EQ(Form3->GroupEditMode, 0);
    EXPECT_TRUE(Form3->PanelCopies.empty());
    EXPECT_FALSE(Dan1->isVisible());
    EXPECT_EQ(Form2->Image1->width(), 1);
}

// A command that ends early still ends as every command does: the window back, the wait notice
// closed, the arrow cursor.
TEST_F(WindowTest, AnEarlyEndRunsTheClosingSteps) {
    OpenGroupWindow();
    Fill(Entry{});
    DeleteProjectTree(ProjectRoot);
    Apply();
    EXPECT_TRUE(Dan1->isVisible());
    EXPECT_FALSE(DialogForm->isVisible());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

// An error in the middle of the command (no user's entry gives one: here the breaker dialog's
// run fails) is shown in the standard error box; the wait notice and the cursor are put right
// and the name lists follow the tree, which holds the line added before the failure.
TEST_F(WindowTest, AnErrorInTheMiddleOfTheCommand) {
    OpenGroupWindow();
    Fill(Entry{});
    responder_.ExpectModal("TInsertAvtomat",
                           [](QDialog&) -> int { throw std::runtime_error("Сбой окна"); });
    responder_.ExpectMessage("Сбой окна", "Veltranovaplanir", mrOk);
    Apply();
    responder_.VerifyDone();
    EXPECT_FALSE(DialogForm->isVisible());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(NamesOf(*panel), (std::vector<std::string>{"Гр1"}));
    EXPECT_EQ(Dan1->GroupNames, (std::vector<std::string>{"Гр1"}));
    EXPECT_EQ(Shiti->CableNames, (std::vector<std::string>{"КГ1", "КЩ1", "К1"}));
}
