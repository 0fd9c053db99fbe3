// What a save writes while group lines are being entered, and what the project holds after the
// supply was changed: the project as the finished operation leaves it, which is also what
// opening the file gives.
#include <QTest>
#include <fstream>

#include "GroupsFixture.h"
#include "app/Mainform.h"
#include "app/SchemeWindow.h"
#include "editing/EditDialog.h"
#include "groups/Dan12.h"
#include "app/PowerSystem.h"

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

// Another transformer applied in the power system dialog, whether the dialog came before the
// entry of lines or before the edit of one (left with "Отменa"): the project holds the new
// transformer's values at once, as a finished change leaves them, and is marked as changed.
TEST_F(SavedProject, AfterAnotherTransformerHoldsItsValues) {
    AddFirstLine();
    Form1->ProjectSaved = 0;
    const std::string first = Save();
    for (const bool editing : {false, true}) {
        SCOPED_TRACE(editing ? "before the edit of a line" : "before the entry of lines");
        ASSERT_TRUE(Form1->LoadProject(path_));
        sw = ProjectRoot->Switchboards.First;
        panel = sw->Panels.First;
        Form1->ProjectSaved = 1;
        const double before = sw->SwitchboardFaultCurrent3;
        responder_.ExpectModal("TPowerSystem", [this](QDialog&) {
            Choose(*PowerSystem->ComboBox5, "ТМ-630/10");
            Click(*PowerSystem->Button1);
            return platform::mrNone;
        });
        if (editing) {
            Form1->N25->trigger();
            Choose(*Form3->ComboBox4, "1");
            Choose(*Form3->ComboBox3, "Гр0");
            Click(*Form3->Button5);
            ASSERT_TRUE(Dan1->isVisible());
            Click(*Dan1->Button1);
        } else {
            Form1->N11->trigger();
        }
        responder_.VerifyDone();
        ASSERT_EQ(ProjectRoot->TransformerName, "ТМ-630/10");
        EXPECT_EQ(Form1->ProjectSaved, 0);
        EXPECT_TRUE(Form1->ToolButton4->isEnabled());
        // The larger transformer, of lower impedance, gives a larger fault current.
        EXPECT_GT(sw->SwitchboardFaultCurrent3, before);
        const std::string applied = ProjectBytes();
        if (Dan1->isVisible()) Click(*Dan1->ok);
        EXPECT_TRUE(Save() == applied);
        EXPECT_TRUE(ReopenedAndSaved() == applied);
        // The project with its first transformer again for the next way.
        std::ofstream(path_, std::ios::binary | std::ios::trunc) << first;
    }
}

// Another system short-circuit power applied: the project takes it at once with the fault
// currents it gives, and is marked as changed.
TEST_F(SavedProject, AfterAnotherSystemPowerHoldsItsValues) {
    AddFirstLine();
    Form1->ProjectSaved = 1;
    const double before = sw->SwitchboardFaultCurrent3;
    responder_.ExpectModal("TPowerSystem", [](QDialog&) {
        Type(*PowerSystem->Edit1, "20");
        Click(*PowerSystem->Button1);
        return platform::mrNone;
    });
    Form1->N11->trigger();
    responder_.VerifyDone();
    EXPECT_EQ(ProjectRoot->SupplyScPower, 20.0);
    EXPECT_EQ(Form1->ProjectSaved, 0);
    // A weaker system feeds a smaller fault current.
    EXPECT_LT(sw->SwitchboardFaultCurrent3, before);
    const std::string applied = ProjectBytes();
    Click(*Dan1->ok);
    EXPECT_TRUE(Save() == applied);
    EXPECT_TRUE(ReopenedAndSaved() == applied);
}

}  // namespace
