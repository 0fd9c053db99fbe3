// The panel chooser as the user meets it: opened from the main window's commands, a panel picked
// from its list by the keyboard and "Ok" clicked; the picture of that panel is drawn and becomes
// the document that preview and printing use.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <string>
#include <vector>

#include "DrawingFixture.h"
#include "WindowChecks.h"
#include "app/Mainform.h"
#include "app/SchemeWindow.h"
#include "drawings/DrawingState.h"
#include "drawings/PanelChooser.h"
#include "platform/Image.h"

class PanelChooser : public DrawingTest {
protected:
    // Switchboard 1 with panels 1 and 2, switchboard 2 with panel 3 of two groups.
    void MakeProject() {
        TGrsed* first = AddSwitchboard(1);
        AddPanel(first, 1);
        AddPanel(first, 2);
        second_ = AddSwitchboard(2);
        panel3_ = AddPanel(second_, 3);
        AddSingle(panel3_, NamedGroup("3.1", 2), 0, 9.09);
        AddSingle(panel3_, NamedGroup("3.2", 1), 1, 4.55);
        MakeCurrent(first, first->Panels.First);
    }

    TGrsed* second_ = nullptr;
    TSitid* panel3_ = nullptr;
};

TEST_F(PanelChooser, IsASmallFixedWindowWithAListAndOk) {
    EXPECT_EQ(Form5->windowTitle().toStdString(), "Щит №");
    EXPECT_EQ(Form5->size(), QSize(195, 140));
    EXPECT_EQ(Form5->minimumSize(), QSize(195, 140));
    EXPECT_EQ(Form5->maximumSize(), QSize(195, 140));
    EXPECT_FALSE(Form5->windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(Form5->windowFlags() & Qt::WindowSystemMenuHint);
    EXPECT_EQ(Form5->ComboBox1->geometry(), QRect(24, 32, 145, 19));
    EXPECT_FALSE(Form5->ComboBox1->isEditable());
    EXPECT_EQ(Form5->Button1->geometry(), QRect(56, 72, 75, 25));
    EXPECT_EQ(Form5->Button1->text().toStdString(), "Ok");
    EXPECT_EQ(Form5->ComboBox1->nextInFocusChain(), Form5->Button1);
}

TEST_F(PanelChooser, DrawsThePictureOfThePanelPickedInAnySwitchboard) {
    MakeProject();
    Form1->ProjectFileName = "/home/user/Сеть.VPQ";
    Form2->setWindowTitle("/home/user/Сеть.VPQ");
    struct Case {
        QAction* command;
        int pictureKind;
        std::string caption;
    };
    const std::vector<Case> cases = {
        {Form1->N65, PanelPhasingPicture, "Фазировка групп. Щит №  3"},
        // The scheme window's own caption again after the phasing picture's.
        {Form1->N64, PanelDiagramPicture, "/home/user/Сеть.VPQ"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.caption);
        // A cable journal was previewed last.
        Form1->DocumentKind = CableJournalDocument;
        responder_.ExpectModal("TForm5", [](QDialog&) {
            EXPECT_EQ(Items(*Form5->ComboBox1), (std::vector<std::string>{"1", "2", "3"}));
            EXPECT_EQ(Form5->ComboBox1->currentIndex(), -1);
            // Down three times: "1", "2", "3".
            for (int i = 0; i < 3; ++i) QTest::keyClick(Form5->ComboBox1, Qt::Key_Down);
            EXPECT_EQ(Form5->ComboBox1->currentText().toStdString(), "3");
            QTest::mouseClick(Form5->Button1, Qt::LeftButton);
            return platform::mrNone;
        });
        c.command->trigger();
        responder_.VerifyDone();
        EXPECT_EQ(Form5->PanelNumber, 3);
        EXPECT_EQ(Form2->PictureKind(), c.pictureKind);
        EXPECT_EQ(Form2->windowTitle().toStdString(), c.caption);
        EXPECT_EQ(Form1->DocumentKind, SchemePictureDocument);
        // The drawn panel is current, in the second switchboard.
        EXPECT_EQ(ProjectRoot->CurrentSwitchboard(), second_);
        EXPECT_EQ(second_->Panels.Cursor, panel3_);
        // Its two groups: two used columns of the grid's first sheet.
        EXPECT_EQ(Form1->SheetPageCount, 1);
    }
}

TEST_F(PanelChooser, OkWithoutAChoiceOnlyCloses) {
    // Switchboards without panels give an empty list; a list with nothing picked is the same.
    TGrsed* sw = AddSwitchboard(1);
    Form5->PanelNumber = 4;
    for (bool withPanel : {false, true}) {
        SCOPED_TRACE(withPanel);
        if (withPanel) AddPanel(sw, 1);
        Form1->DocumentKind = CableJournalDocument;
        responder_.ExpectModal("TForm5", [&](QDialog&) {
            EXPECT_EQ(Form5->ComboBox1->count(), withPanel ? 1 : 0);
            QTest::mouseClick(Form5->Button1, Qt::LeftButton);
            return platform::mrNone;
        });
        Form1->N64->trigger();
        responder_.VerifyDone();
        EXPECT_EQ(Form2->Image1, nullptr);
        EXPECT_EQ(Form5->PanelNumber, 4);
        EXPECT_EQ(Form1->DocumentKind, CableJournalDocument);
        EXPECT_FALSE(Form5->isVisible());
    }
}

TEST_F(PanelChooser, AChangeOfScaleDrawsTheChosenPanelAgain) {
    MakeProject();
    responder_.ExpectModal("TForm5", [](QDialog&) {
        QTest::keyClicks(Form5->ComboBox1, "3");
        QTest::mouseClick(Form5->Button1, Qt::LeftButton);
        return platform::mrNone;
    });
    Form1->N65->trigger();
    ASSERT_EQ(Form2->PictureKind(), PanelPhasingPicture);
    // At 160 px the picture's groups stand at 0 and 160; at 50 % at 0 and 80.
    struct Case {
        int item;
        int step;
    };
    for (const Case& c : {Case{2, 80}, Case{1, 120}, Case{0, 160}}) {
        SCOPED_TRACE(c.step);
        const QPointer<platform::TImage> before = Form2->Image1;
        Form1->ComboBox1->setCurrentIndex(c.item);
        emit Form1->ComboBox1->activated(c.item);
        EXPECT_TRUE(before.isNull());
        EXPECT_EQ(Form2->PictureKind(), PanelPhasingPicture);
        const int t = Form1->ClientHeight() / 4;
        EXPECT_EQ(TextsAt(Ops(), 30, t + 325), std::vector<std::string>{"гр  3.1"});
        EXPECT_EQ(TextsAt(Ops(), c.step + 30, t + 325), std::vector<std::string>{"гр 3.2"});
    }
}
