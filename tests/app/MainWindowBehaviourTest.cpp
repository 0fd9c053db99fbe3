// What the main window's commands and events do beyond reaching their handler: the rule that a
// command needing a project does nothing without one, the scale combo box, the right-click
// pop-ups, the view marks, activation and resizing, and the windows the commands prepare.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMouseEvent>
#include <QPointer>
#include <QResizeEvent>
#include <QScreen>
#include <QTableWidget>
#include <QTest>
#include <QUrl>
#include <cstdlib>
#include <functional>

#include "MainWindowFixture.h"
#include "app/About.h"
#include "app/Mainform.h"
#include "app/SchemeWindow.h"
#include "documents/Kabj2.h"
#include "documents/Preview.h"
#include "drawings/DrawingState.h"
#include "drawings/PanelChooser.h"
#include "editing/EditDialog.h"
#include "editing/NumberChooser.h"
#include "editing/Shiti12.h"
#include "groups/Dan12.h"
#include "model/Classd.h"
#include "platform/DBNavigator.h"
#include "platform/Help.h"
#include "platform/Image.h"
#include "platform/ProgramFolder.h"
#include "refdb/BazaAvt.h"
#include "refdb/BazaT.h"
#include "refdb/BazaTran.h"
#include "app/PowerSystem.h"

namespace {

using platform::mrCancel;
using platform::mrOk;

void Press(QWidget* widget, Qt::MouseButton button, QPoint at) {
    QMouseEvent press(QEvent::MouseButtonPress, at, widget->mapToGlobal(at), button, button,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &press);
}

void ExpectCentredOnMainWindow(const QWidget& window) {
    const QPoint offset = window.frameGeometry().center() - Form1->frameGeometry().center();
    EXPECT_LE(std::abs(offset.x()), 1);
    EXPECT_LE(std::abs(offset.y()), 1);
}

TSitid* Panel(int number) {
    if (!ProjectRoot || !ProjectRoot->FindPanel(number)) return nullptr;
    return ProjectRoot->CurrentPanel();
}

}  // namespace

using MainWindowBehaviour = MainWindowTest;

// ---------------------------------------------------------------------------------------------
// Without a project

TEST_F(MainWindowBehaviour, CommandsNeedingAProjectDoNothingWithoutOne) {
    ASSERT_EQ(ProjectRoot, nullptr);
    Form7->show();
    Form1->DocumentKind = 0;
    Form1->PanelPictureMode = 5;
    const QList<QAction*> commands = {
        Form1->Save1, Form1->SaveAs, Form1->N59,          Form1->N21,         Form1->N11,
        Form1->N30,   Form1->N4,     Form1->N25,          Form1->N47,         Form1->N48,
        Form1->N49,   Form1->N50,    Form1->N63,          Form1->N64,         Form1->N66,
        Form1->N22,   Form1->N55,    Form1->ToolButton39, Form1->ToolButton43};
    for (QAction* command : commands) {
        SCOPED_TRACE(command->objectName().toStdString());
        command->trigger();
    }
    // No message, no modal window (the responder would have failed), no drawing or document.
    EXPECT_TRUE(responder_.Log().empty());
    EXPECT_TRUE(dialogs_.empty());
    for (const QWidget* window : std::initializer_list<const QWidget*>{Form2, Form3, Form8, Dan1})
        EXPECT_FALSE(window->isVisible()) << window->metaObject()->className();
    // The schematic command notes its document before it looks for a project.
    EXPECT_EQ(Form1->DocumentKind, SupplySchemeDocument);
    // The panel picture commands note their kind before they look for a project.
    EXPECT_EQ(Form1->PanelPictureMode, 1);
}

TEST_F(MainWindowBehaviour, ReferenceAndDatabaseCommandsWorkWithoutAProject) {
    ASSERT_EQ(ProjectRoot, nullptr);
    struct Case {
        QAction* command;
        QWidget* window;
        std::string caption;
    };
    const std::vector<Case> cases = {
        {Form1->N12, BazaT, "Сечение и длительные токи"},
        {Form1->N13, BazaTran, "Ваза данных"},
        {Form1->N14, BazaAvt, "Ваза данных"},
        {Form1->N18, BazaT, "Справочник"},
        {Form1->N19, BazaTran, "Справочник"},
        {Form1->N20, BazaAvt, "Справочник"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.caption);
        c.window->hide();
        c.command->trigger();
        EXPECT_TRUE(c.window->isVisible());
        EXPECT_EQ(c.window->windowTitle().toStdString(), c.caption);
    }
}

// ---------------------------------------------------------------------------------------------
// Scale

TEST_F(MainWindowBehaviour, ScaleSetsTheDrawingStepWithoutAProject) {
    struct Case {
        int item;
        int step;
    };
    // 160 px at 100 %, three quarters of it at 75 %, half at 50 %; no choice counts as 100 %.
    const std::vector<Case> cases = {{2, 80}, {1, 120}, {0, 160}, {2, 80}, {-1, 160}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.item);
        Form1->ComboBox1->setCurrentIndex(c.item);
        emit Form1->ComboBox1->activated(c.item);
        EXPECT_EQ(DrawingStep, c.step);
    }
    // Choosing from code runs nothing.
    Form1->ComboBox1->setCurrentIndex(2);
    EXPECT_EQ(DrawingStep, 160);
}

TEST_F(MainWindowBehaviour, ScaleRedrawsThePictureTheSchemeWindowShows) {
    const std::string path = OpenSmallProject();
    QComboBox* chooser = Form5->ComboBox1;
    chooser->clear();
    chooser->addItems({"1", "2", "3", "9"});
    struct Case {
        const char* what;
        int pictureKind;  // -1: no picture at all
        int chosenPanel;  // item of the panel chooser, -1 none
        int redrawnKind;  // the kind of the new picture; 0: the picture is not drawn again
        int panel;        // the panel drawn, current afterwards; 0: the whole network
        std::string caption;
    };
    const std::vector<Case> cases = {
        {"general scheme", GeneralSchemePicture, -1, GeneralSchemePicture, 0, path},
        {"one-line diagram of panel 2", PanelDiagramPicture, 1, PanelDiagramPicture, 2, path},
        {"phasing of panel 3", PanelPhasingPicture, 2, PanelPhasingPicture, 3,
         "Фазировка групп. Щит №  3"},
        {"panel picture, nothing chosen", PanelDiagramPicture, -1, 0, 0, ""},
        {"phasing, nothing chosen", PanelPhasingPicture, -1, 0, 0, ""},
        {"a panel the project does not have", PanelPhasingPicture, 3, 0, 0, ""},
        {"no picture kind", NoPicture, 1, 0, 0, ""},
        {"no picture", -1, 1, 0, 0, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Form2->FreePicture();
        if (c.pictureKind >= 0) {
            Form2->Image1 = new platform::TImage(Form2);
            Form2->Image1->SetTag(c.pictureKind);
        }
        const QPointer<platform::TImage> before = Form2->Image1;
        Form2->setWindowTitle("");
        chooser->setCurrentIndex(c.chosenPanel);
        Form1->ComboBox1->setCurrentIndex(2);
        emit Form1->ComboBox1->activated(2);
        EXPECT_EQ(DrawingStep, 80);
        if (c.redrawnKind == 0) {
            EXPECT_EQ(Form2->Image1, before.data());
            continue;
        }
        // A new picture in place of the old one.
        EXPECT_TRUE(before.isNull());
        EXPECT_EQ(Form2->PictureKind(), c.redrawnKind);
        if (c.panel != 0) {
            ASSERT_NE(ProjectRoot->CurrentPanel(), nullptr);
            EXPECT_EQ(ProjectRoot->CurrentPanel()->PanelNumber, c.panel);
        }
        EXPECT_EQ(Form2->windowTitle().toStdString(), c.caption);
    }
}

// ---------------------------------------------------------------------------------------------
// Pop-ups, view marks

TEST_F(MainWindowBehaviour, RightClickOnTheFreeAreaOffersNewOpenExit) {
    Form1->show();
    QWidget* freeArea = Form1->ClientArea->viewport();
    const QPoint at(40, 30);
    Press(freeArea, Qt::LeftButton, at);
    EXPECT_FALSE(Form1->PopupMenu1->isVisible());
    Press(freeArea, Qt::RightButton, at);
    EXPECT_TRUE(Form1->PopupMenu1->isVisible());
    EXPECT_EQ(Form1->PopupMenu1->pos(), freeArea->mapToGlobal(at));
    Form1->PopupMenu1->hide();
}

TEST_F(MainWindowBehaviour, RightClickAnywhereInTheSchemeWindowOpensItsPopup) {
    Form1->show();
    OpenSmallProject();
    Form2->Image1 = new platform::TImage(Form2);
    Form2->Image1->setGeometry(0, 0, 200, 150);
    Form2->Image1->show();
    struct Case {
        QWidget* target;
        Qt::MouseButton button;
        bool popup;
    };
    const std::vector<Case> cases = {{Form2, Qt::LeftButton, false},
                                     {Form2->Image1, Qt::LeftButton, false},
                                     {Form2, Qt::RightButton, true},
                                     {Form2->Image1, Qt::RightButton, true}};
    const QPoint at(20, 15);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.target == Form2 ? "window" : "picture");
        QTest::mousePress(c.target, c.button, Qt::NoModifier, at);
        EXPECT_EQ(Form2->PopupMenu1->isVisible(), c.popup);
        if (c.popup) {
            EXPECT_EQ(Form2->PopupMenu1->pos(), c.target->mapToGlobal(at));
        }
        Form2->PopupMenu1->hide();
    }
}

TEST_F(MainWindowBehaviour, SchemeWindowExitClosesTheProjectNotTheProgram) {
    Form1->show();
    OpenSmallProject();
    Form2->N7->trigger();
    EXPECT_EQ(ProjectRoot, nullptr);
    EXPECT_FALSE(Form2->isVisible());
    EXPECT_TRUE(Form1->isVisible());
}

TEST_F(MainWindowBehaviour, ViewItemsHideAndShowTheirBarsWithTheMark) {
    struct Case {
        QAction* item;
        QWidget* bar;
    };
    for (const Case& c :
         {Case{Form1->N16, Form1->ControlBar1}, Case{Form1->N32, Form1->StatusBar1}}) {
        SCOPED_TRACE(c.item->objectName().toStdString());
        c.item->trigger();
        EXPECT_FALSE(c.item->isChecked());
        EXPECT_TRUE(c.bar->isHidden());
        c.item->trigger();
        EXPECT_TRUE(c.item->isChecked());
        EXPECT_FALSE(c.bar->isHidden());
    }
    // Called directly, the handler flips the mark itself.
    Form1->N16Click();
    EXPECT_FALSE(Form1->N16->isChecked());
    EXPECT_TRUE(Form1->ControlBar1->isHidden());
}

// ---------------------------------------------------------------------------------------------
// Window events

TEST_F(MainWindowBehaviour, AWindowLargerThanTheScreenIsClippedInEachDirection) {
    const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
    struct Case {
        const char* what;
        QSize size;
        QSize clipped;
    };
    const std::vector<Case> cases = {
        {"taller", {300, screen.height() + 200}, {300, screen.height()}},
        {"wider", {screen.width() + 50, 200}, {screen.width(), 200}},
        {"both", {screen.width() + 1, screen.height() + 1}, screen},
        {"fits", {screen.width(), screen.height()}, screen},
        {"small", {120, 80}, {120, 80}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QWidget window;
        window.resize(c.size);
        ClipWindowToScreen(window);
        EXPECT_EQ(window.size(), c.clipped);
    }
}

TEST_F(MainWindowBehaviour, ActivationMakesTheProgramFolderCurrentAndMaximises) {
    Form1->show();
    QDir::setCurrent(QDir::tempPath());
    Form1->FormActivate();
    EXPECT_TRUE(Form1->windowState() & Qt::WindowMaximized);
    EXPECT_EQ(QDir::currentPath().toStdString() + "/", platform::ProgramFolder());
}

TEST_F(MainWindowBehaviour, ResizingWithAPreviewShownRefitsItAtItsZoom) {
    Form1->show();
    Form1->DocumentKind = CableJournalDocument;
    Form8->JournalPageCount = 1;
    // Resizing without a preview does nothing.
    QResizeEvent resize(QSize(700, 500), Form1->size());
    QCoreApplication::sendEvent(Form1, &resize);
    EXPECT_EQ(Form7->PageImage, nullptr);
    EXPECT_EQ(Form1->PreviewZoom, 0);

    ASSERT_TRUE(Form1->ComposePreview(800, 1035, [](platform::TCanvas&) {}));
    // Two resizes in a row keep the zoom: 800 px, or 670 px reduced.
    for (const auto& [zoom, width] : {std::pair{0, 800}, std::pair{1, 670}}) {
        Form1->PreviewZoom = zoom;
        for (int i = 0; i < 2; ++i) {
            QCoreApplication::sendEvent(Form1, &resize);
            EXPECT_EQ(Form1->PreviewZoom, zoom);
            ASSERT_NE(Form7->PageImage, nullptr);
            EXPECT_EQ(Form7->PageImage->width(), width);
        }
    }
    // The preview sits in the main window's client area, laid out for its width.
    ASSERT_NE(Form7->Frame(), nullptr);
    EXPECT_EQ(Form7->Frame()->mdiArea(), Form1->ClientArea);
    EXPECT_EQ(Form7->PreviewWidth, Form1->width());
}

TEST_F(MainWindowBehaviour, ZoomButtonAlternatesFullAndReducedWidth) {
    Form1->DocumentKind = CableJournalDocument;
    Form8->JournalPageCount = 1;
    ASSERT_TRUE(Form1->ComposePreview(800, 1035, [](platform::TCanvas&) {}));
    for (const auto& [zoom, image, width] :
         std::vector<std::tuple<int, int, int>>{{1, 119, 670}, {0, 121, 800}}) {
        Form1->ToolButton44->trigger();
        EXPECT_EQ(Form1->PreviewZoom, zoom);
        EXPECT_EQ(Form1->ToolButton44->property("ImageIndex").toInt(), image);
        ASSERT_NE(Form7->PageImage, nullptr);
        EXPECT_EQ(Form7->PageImage->width(), width);
    }
}

TEST_F(MainWindowBehaviour, ClosingTheMainWindowTakesThePreviewWithIt) {
    EXPECT_TRUE(Form1->close());
    EXPECT_EQ(Form7, nullptr);
    // Closing the preview from its bar finds none and does nothing.
    Form1->BitBtn1Click();
}

TEST_F(MainWindowBehaviour, PreviewCloseButtonClosesThePreview) {
    Form1->show();
    Form7->show();
    Form1->BitBtn1->click();
    EXPECT_FALSE(Form7->isVisible());
}

// ---------------------------------------------------------------------------------------------
// What the commands prepare

TEST_F(MainWindowBehaviour, GroupsCommandShowsThePowerSystemFirstThenTheGroupWindow) {
    OpenSmallProject();
    // Panel 3 hangs on panel 2 as a trunk panel.
    TSitid* trunk = Panel(3);
    ASSERT_NE(trunk, nullptr);
    trunk->OnTrunk = 1;
    trunk->HangsOnPanel = 2;
    ProjectRoot->TransformerName = "ТМ-400/10";
    responder_.ExpectModal("TPowerSystem", [](QDialog&) {
        const QComboBox& transformers = *PowerSystem->ComboBox5;
        // The transformer base in order of power, the project's transformer chosen.
        EXPECT_EQ(Items(transformers),
                  (std::vector<std::string>{"ТМ-25/10", "ТМ-40/10", "ТМ-63/10", "ТМ-100/10",
                                            "ТМ-160/10", "ТМ-250/10", "ТМ-400/10", "ТМ-630/10",
                                            "ТМ-1000/10", "ТМ-1600/10", "ТМ-2500/10"}));
        EXPECT_EQ(transformers.currentText().toStdString(), "ТМ-400/10");
        EXPECT_EQ(PowerSystem->Edit1->text().toStdString(), "180");
        EXPECT_FALSE(PowerSystem->Cancelled);
        return mrOk;
    });
    // As the group editor leaves the window: the add controls hidden, the edit ones shown.
    Dan1->Edit2->setEnabled(false);
    Dan1->Edit1->setEnabled(false);
    for (QWidget* control :
         std::initializer_list<QWidget*>{Dan1->sledychi, Dan1->ok, Dan1->ComboBox2, Dan1->Label2})
        control->hide();
    Dan1->cancel->show();
    Dan1->Button1->show();
    Form1->N11->trigger();
    EXPECT_TRUE(Dan1->Edit2->isEnabled());
    EXPECT_TRUE(Dan1->Edit1->isEnabled());
    for (const QWidget* control : std::initializer_list<const QWidget*>{
             Dan1->sledychi, Dan1->ok, Dan1->ComboBox2, Dan1->Label2})
        EXPECT_FALSE(control->isHidden()) << control->objectName().toStdString();
    EXPECT_TRUE(Dan1->cancel->isHidden());
    EXPECT_TRUE(Dan1->Button1->isHidden());
    EXPECT_EQ(Items(*Dan1->ComboBox2), (std::vector<std::string>{"1", "2", "2(3)"}));
    EXPECT_EQ(Dan1->ComboBox2->currentIndex(), -1);
    EXPECT_TRUE(Dan1->isVisible());
    EXPECT_EQ(Dan1->windowTitle().toStdString(), "Данные ");
    EXPECT_EQ(Dan1->size(), QSize(300, 395));
    EXPECT_EQ(Dan1->minimumSize(), QSize(300, 395));
    ExpectCentredOnMainWindow(*Dan1);
}

TEST_F(MainWindowBehaviour, SwitchboardCommandPreparesTheConnectionDialog) {
    OpenSmallProject();
    Shiti->RadioGroup1->setEnabled(true);
    Shiti->RadioButton1->setChecked(false);
    for (QComboBox* list : {Shiti->ComboBox1, Shiti->ComboBox2, Shiti->ComboBox3}) {
        list->addItem("прежний");
        list->setCurrentIndex(0);
    }
    responder_.ExpectModal("TShiti", [](QDialog& dialog) {
        EXPECT_FALSE(Shiti->RadioGroup1->isEnabled());
        EXPECT_TRUE(Shiti->RadioButton1->isChecked());
        for (const QComboBox* list : {Shiti->ComboBox1, Shiti->ComboBox2, Shiti->ComboBox3})
            EXPECT_EQ(list->currentIndex(), -1) << list->objectName().toStdString();
        EXPECT_EQ(dialog.size(), QSize(402, 393));
        return mrCancel;
    });
    Form1->N21->trigger();
}

TEST_F(MainWindowBehaviour, EditCommandsPrepareTheEditDialogForTheirMode) {
    OpenSmallProject();
    QGroupBox* box = Form3->GroupBox3;
    QLabel* label3 = Form3->Label3;
    QLabel* label4 = Form3->Label4;
    struct Case {
        QAction* command;
        std::string caption, box, label4;
        int left;
        bool groupList;
        std::string label3;
        std::vector<std::string> list4;
        int chosen4;
        std::vector<std::string> list3;
    };
    const std::vector<Case> cases = {
        {Form1->N30, "Грщ (редактирование)", "Грщ", "Грщ №", 52, false, "", {"1"}, -1, {}},
        {Form1->N4, "Щиты (редактирование)", "Щиты", "Грщ №", 10, true, "Щит №", {"1"}, -1, {}},
        // The group names of the first panel listed, none chosen.
        {Form1->N25,
         "Группы (редактирование)",
         "Группы",
         "Щит №",
         10,
         true,
         "Группа №",
         {"1", "2", "3"},
         0,
         {"1.1"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.caption);
        Form3->hide();
        Form3->ComboBox3->addItem("прежний");
        c.command->trigger();
        EXPECT_TRUE(Form3->isVisible());
        EXPECT_EQ(Form3->windowTitle().toStdString(), c.caption);
        EXPECT_EQ(box->title().toStdString(), c.box);
        EXPECT_EQ(label4->text().toStdString(), c.label4);
        EXPECT_EQ(label4->x(), c.left);
        EXPECT_EQ(Form3->ComboBox4->x(), c.left);
        EXPECT_EQ(Items(*Form3->ComboBox4), c.list4);
        EXPECT_EQ(Form3->ComboBox4->currentIndex(), c.chosen4);
        EXPECT_EQ(Form3->ComboBox3->isHidden(), !c.groupList);
        EXPECT_EQ(label3->isHidden(), !c.groupList);
        if (c.groupList) {
            EXPECT_EQ(label3->text().toStdString(), c.label3);
            EXPECT_EQ(Items(*Form3->ComboBox3), c.list3);
            EXPECT_EQ(Form3->ComboBox3->currentIndex(), -1);
        }
        ExpectCentredOnMainWindow(*Form3);
    }
}

TEST_F(MainWindowBehaviour, JournalsOfOneSwitchboardOrPanelAskForItsNumber) {
    OpenSmallProject();
    QComboBox* numbers = Form9->ComboBox1;
    QLabel* kind = Form8->Label2;
    struct Case {
        QAction* command;
        std::string caption;
        std::vector<std::string> offered;
        int choice;                   // -1: closed without a choice
        std::string firstEnd, title;  // the end of the journal's first cable
        int tag;
    };
    const std::vector<Case> cases = {
        {Form1->N49, "Грщ №", {"1"}, 0, "Щит №1", "(Грщ №1)", 2},
        {Form1->N50, "Щит №", {"1", "2", "3"}, 2, "3.1", "(Щит №3)", 3},
        {Form1->N50, "Щит №", {"1", "2", "3"}, -1, "", "", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title);
        Form8->hide();
        Form8->StringGrid1->setRowCount(1);
        Form8->setProperty("Tag", 0);
        kind->clear();
        Form1->DocumentKind = 0;
        Form1->PreviewZoom = 1;
        responder_.ExpectModal("TForm9", [&](QDialog& chooser) {
            EXPECT_EQ(chooser.windowTitle().toStdString(), c.caption);
            EXPECT_EQ(Items(*numbers), c.offered);
            EXPECT_EQ(numbers->currentIndex(), -1);
            numbers->setCurrentIndex(c.choice);
            QTest::mouseClick(Form9->Button1, Qt::LeftButton);
            return platform::mrNone;
        });
        c.command->trigger();
        const bool chosen = c.choice >= 0;
        EXPECT_EQ(Form8->isVisible(), chosen);
        const QTableWidgetItem* end = Form8->StringGrid1->item(1, 3);
        EXPECT_EQ(end != nullptr ? end->text().toStdString() : "", c.firstEnd);
        EXPECT_EQ(kind->text().toStdString(), c.title);
        EXPECT_EQ(Form8->property("Tag").toInt(), c.tag);
        EXPECT_EQ(Form1->DocumentKind, chosen ? CableJournalDocument : 0);
        EXPECT_EQ(Form1->PreviewZoom, chosen ? 0 : 1);
    }
}

// The journal window stays on top of every window: while the chooser asks, it is not shown over
// it.
// The number chooser of a journal opens over the journal window shown; closed without a
// choice, it leaves that journal as it was, shown.
TEST_F(MainWindowBehaviour, TheNumberChooserLeavesTheJournalWindowShown) {
    OpenSmallProject();
    for (QAction* command : {Form1->N49, Form1->N50}) {
        for (const bool choose : {true, false}) {
            SCOPED_TRACE(choose ? "chosen" : "closed without a choice");
            Form1->N47->trigger();
            ASSERT_TRUE(Form8->isVisible());
            const std::string general = Form8->Label2->text().toStdString();
            responder_.ExpectModal("TForm9", [choose](QDialog& chooser) {
                EXPECT_TRUE(Form8->isVisible());
                if (!choose) {
                    chooser.reject();
                    return platform::mrNone;
                }
                Form9->ComboBox1->setCurrentIndex(0);
                QTest::mouseClick(Form9->Button1, Qt::LeftButton);
                return platform::mrNone;
            });
            command->trigger();
            responder_.VerifyDone();
            EXPECT_TRUE(Form8->isVisible());
            if (!choose) {
                EXPECT_EQ(Form8->Label2->text().toStdString(), general);
            }
        }
    }
}

TEST_F(MainWindowBehaviour, JournalsOfANetworkWithoutLoadAreRefused) {
    OpenSmallProject();
    ProjectRoot->TotalDesignPower = 0;
    for (QAction* command : {Form1->N47, Form1->N48, Form1->N49, Form1->N50}) command->trigger();
    EXPECT_FALSE(Form8->isVisible());
}

TEST_F(MainWindowBehaviour, PanelPictureChooserListsEveryPanel) {
    OpenSmallProject();
    QComboBox* panels = Form5->ComboBox1;
    panels->addItem("прежний");
    for (QAction* command : {Form1->N64, Form1->N65}) {
        responder_.ExpectModal("TForm5", [&](QDialog&) {
            EXPECT_EQ(Items(*panels), (std::vector<std::string>{"1", "2", "3"}));
            return mrCancel;
        });
        command->trigger();
    }
    // The kind chosen last stands.
    EXPECT_EQ(Form1->PanelPictureMode, 0);
}

TEST_F(MainWindowBehaviour, ReferenceWindowsBrowseAndDatabaseWindowsEdit) {
    Form1->N18->trigger();
    EXPECT_EQ(BazaT->size(), QSize(500, 290));
    EXPECT_EQ(BazaT->minimumSize(), QSize(500, 290));
    EXPECT_TRUE(BazaT->GroupBox1->isHidden());
    EXPECT_TRUE(BazaT->Button2->isHidden());
    EXPECT_TRUE(BazaT->DBNavigator1->isHidden());
    EXPECT_EQ(BazaT->DBGrid1->editTriggers(), QAbstractItemView::NoEditTriggers);
    ExpectCentredOnMainWindow(*BazaT);

    Form1->N12->trigger();
    EXPECT_EQ(BazaT->size(), QSize(793, 280));
    EXPECT_EQ(BazaT->minimumSize(), QSize(793, 280));
    EXPECT_FALSE(BazaT->GroupBox1->isHidden());
    EXPECT_FALSE(BazaT->Button2->isHidden());
    EXPECT_FALSE(BazaT->DBNavigator1->isHidden());
    EXPECT_NE(BazaT->DBGrid1->editTriggers(), QAbstractItemView::NoEditTriggers);

    struct Case {
        QAction* reference;
        QAction* database;
        QWidget* window;
        QWidget* navigator;
        QAbstractItemView* grid;
    };
    for (const Case& c :
         {Case{Form1->N19, Form1->N13, BazaTran, BazaTran->DBNavigator1, BazaTran->DBGrid1},
          Case{Form1->N20, Form1->N14, BazaAvt, BazaAvt->DBNavigator1, BazaAvt->DBGrid3}}) {
        SCOPED_TRACE(c.window->metaObject()->className());
        c.reference->trigger();
        EXPECT_TRUE(c.navigator->isHidden());
        EXPECT_EQ(c.grid->editTriggers(), QAbstractItemView::NoEditTriggers);
        ExpectCentredOnMainWindow(*c.window);
        c.database->trigger();
        EXPECT_FALSE(c.navigator->isHidden());
        EXPECT_NE(c.grid->editTriggers(), QAbstractItemView::NoEditTriggers);
        ExpectCentredOnMainWindow(*c.window);
    }
}

// The "&Справка" buttons of the reference windows open the help at their window's section.
TEST_F(MainWindowBehaviour, HelpButtonsOfTheReferenceWindowsOpenTheirSection) {
    struct Case {
        QAbstractButton* button;
        int context;
    };
    for (const Case& c :
         {Case{BazaT->BitBtn1, 105}, Case{BazaTran->BitBtn1, 1010}, Case{BazaAvt->BitBtn1, 1000}}) {
        SCOPED_TRACE(c.context);
        shell_.urls.clear();
        c.button->click();
        ASSERT_EQ(shell_.urls.size(), 1u);
        QFile page(QUrl::fromEncoded(QByteArray::fromStdString(shell_.urls[0])).toLocalFile());
        ASSERT_TRUE(page.open(QIODevice::ReadOnly));
        EXPECT_TRUE(
            page.readAll().contains(QByteArray::fromStdString(platform::HelpUrl(c.context))));
    }
}

TEST_F(MainWindowBehaviour, AboutIsShownBesideTheMainWindow) {
    Form1->About1->trigger();
    // Modeless: no modal run was asked for.
    EXPECT_TRUE(AboutBox->isVisible());
    EXPECT_FALSE(AboutBox->isModal());
    AboutBox->OKButtonClick();
}
