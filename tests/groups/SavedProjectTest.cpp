// What a save writes while group lines are being entered: the project as the finished entry
// leaves it, which is also what opening the file gives.
#include <QTest>

#include "GroupsFixture.h"
#include "app/Mainform.h"
#include "app/SchemeWindow.h"
#include "groups/Dan12.h"

namespace {

class SavedProject : public GroupDialogTest {
protected:
    void SetUp() override {
        GroupDialogTest::SetUp();
        // Transformers of their own impedance: the fault currents differ between them.
        WriteTransformerBase({{"ТМ-400/10", 400, 4.5, 5500}, {"ТМ-630/10", 630, 5.5, 7600}});
        path_ = ProgramFile("Сеть.VPQ");
        Form1->ProjectFileName = path_;
        Form2->setWindowTitle(QString::fromStdString(path_));
        Form2->ShowOverMainWindow();
        // The project as the user has it: saved once and opened.
        Form1->ProjectSaved = 0;
        Save();
        ASSERT_TRUE(Form1->LoadProject(path_));
        sw = ProjectRoot->Switchboards.First;
        panel = sw->Panels.First;
    }

    // File > Save; the bytes written.
    std::string Save() {
        Form1->Save1->trigger();
        EXPECT_EQ(Form1->ProjectSaved, 1);
        return FileBytes(path_);
    }
    // File > Open of the file, then File > Save: what opening the file gives.
    std::string ReopenedAndSaved() {
        EXPECT_TRUE(Form1->LoadProject(path_));
        return Save();
    }

    std::string path_;
};

// One line accepted, the window still open: the save writes what "закрыть" leaves (the fault
// currents of the line's switchboard and panel among them), and the window stays for the next
// line with its entries.
TEST_F(SavedProject, WhileLinesAreEnteredHoldsWhatClosingTheWindowLeaves) {
    OpenGroupWindow();
    EnterLine(Entry{}, {"Группы", "Щит", "Грщ", "Секция КТП"});
    ASSERT_TRUE(Dan1->isVisible());
    const std::string entering = Save();
    EXPECT_TRUE(Dan1->isVisible());
    EXPECT_EQ(Dan1->Edit6->text().toStdString(), "Гр1");
    EXPECT_EQ(Dan1->ComboBox4->currentText().toStdString(), kWire2);

    Click(*Dan1->ok);
    for (double current : {sw->SwitchboardFaultCurrent3, sw->SwitchboardSurgeCurrent,
                           panel->PanelFaultCurrent3, panel->PanelSurgeCurrent})
        EXPECT_GT(current, 0.0);
    Form1->ProjectSaved = 0;
    EXPECT_TRUE(Save() == entering);
    EXPECT_TRUE(ReopenedAndSaved() == entering);
}

}  // namespace
