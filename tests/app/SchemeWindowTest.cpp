// The scheme window as the user meets it: inside the main window's client area, which it fills
// whatever bars are shown and however the main window is sized, with the project's path as its
// caption and a close box that closes the project; Escape leaves the project alone.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMouseEvent>
#include <QStatusBar>
#include <QStyleOptionTitleBar>
#include <QTest>
#include <functional>
#include <string>
#include <vector>

#include "MainWindowFixture.h"
#include "app/Mainform.h"
#include "app/SchemeWindow.h"
#include "model/Classd.h"

namespace {

using platform::mrCancel;

const char kQuestion[] = "Сохранить изменения в файле?";

// The rectangle of a widget in the main window's co-ordinates.
QRect InMainWindow(const QWidget& widget) {
    return {widget.mapTo(Form1, QPoint(0, 0)), widget.size()};
}

// Lays the main window out again after a bar was hidden or shown or the window resized.
void Settle() {
    QCoreApplication::processEvents();
}

// Clicks the close box in the caption of a sub-window.
void ClickCloseBox(QMdiSubWindow& frame) {
    QStyleOptionTitleBar option;
    option.initFrom(&frame);
    option.subControls = QStyle::SC_All;
    option.titleBarFlags = frame.windowFlags();
    option.titleBarState = static_cast<int>(frame.windowState());
    option.text = frame.windowTitle();
    const int height = frame.style()->pixelMetric(QStyle::PM_TitleBarHeight, &option, &frame);
    option.rect = QRect(0, 0, frame.width(), height);
    const QRect box = frame.style()->subControlRect(QStyle::CC_TitleBar, &option,
                                                    QStyle::SC_TitleBarCloseButton, &frame);
    ASSERT_TRUE(box.isValid());
    // The pointer comes over the box first, as the user's does.
    QMouseEvent move(QEvent::MouseMove, box.center(), frame.mapToGlobal(box.center()), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&frame, &move);
    QTest::mouseClick(&frame, Qt::LeftButton, Qt::NoModifier, box.center());
}

}  // namespace

class SchemeWindow : public MainWindowTest {
protected:
    void NewThroughMenu() {
        responder_.ExpectModal("TShiti", nullptr);
        Form1->New1->trigger();
    }
};

// The area between the toolbars (or the menu bar, while they are hidden) and the status bar (or
// the window's bottom edge) is the scheme window's, to the last pixel.
TEST_F(SchemeWindow, FillsTheClientAreaWhateverBarsAreShownAndHoweverTheWindowIsSized) {
    Form1->show();
    OpenSmallProject();
    QMdiSubWindow* frame = Form2->Frame();
    ASSERT_NE(frame, nullptr);
    struct Step {
        const char* what;
        std::function<void()> act;
    };
    const std::vector<Step> steps = {
        {"as opened", [] {}},
        {"toolbars hidden", [] { Form1->N16->trigger(); }},
        {"status bar hidden too", [] { Form1->N32->trigger(); }},
        {"toolbars shown again", [] { Form1->N16->trigger(); }},
        {"status bar shown again", [] { Form1->N32->trigger(); }},
        {"window made smaller",
         [] {
             Form1->showNormal();
             Form1->resize(640, 480);
         }},
        {"window moved", [] { Form1->move(37, 21); }},
        {"window maximised", [] { Form1->showMaximized(); }},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        step.act();
        Settle();
        const int top = Form1->ControlBar1->isVisible()
                            ? InMainWindow(*Form1->ControlBar1).bottom() + 1
                            : InMainWindow(*Form1->MainMenu1).bottom() + 1;
        const int bottom = Form1->StatusBar1->isVisible()
                               ? InMainWindow(*Form1->StatusBar1).top() - 1
                               : Form1->height() - 1;
        EXPECT_TRUE(frame->isVisible());
        EXPECT_EQ(InMainWindow(*frame), QRect(QPoint(0, top), QPoint(Form1->width() - 1, bottom)));
        EXPECT_TRUE(Form2->isVisible());
    }
}

TEST_F(SchemeWindow, ShowsThePathInItsOwnCaptionWithACloseBoxAndNothingElse) {
    Form1->show();
    const std::string path = OpenSmallProject();
    Settle();
    QMdiSubWindow* frame = Form2->Frame();
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->windowTitle().toStdString(), path);
    // The caption stands above the scheme window's own area, not in the main window's menu bar.
    EXPECT_GT(Form2->mapTo(frame, QPoint(0, 0)).y(), 0);
    EXPECT_EQ(Form1->MainMenu1->cornerWidget(Qt::TopRightCorner), nullptr);
    EXPECT_EQ(Form1->windowTitle().toStdString(), "Veltranovaplanir VP.3.2");
    const Qt::WindowFlags flags = frame->windowFlags();
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));

    // A new project is untitled.
    NewThroughMenu();
    EXPECT_EQ(frame->windowTitle().toStdString(), "Untitled");
    EXPECT_TRUE(frame->isVisible());
}

TEST_F(SchemeWindow, ItsCloseBoxClosesTheProjectAndNotTheProgram) {
    Form1->show();
    OpenSmallProject();
    Settle();
    QMdiSubWindow* frame = Form2->Frame();
    ASSERT_NE(frame, nullptr);
    ClickCloseBox(*frame);
    EXPECT_EQ(ProjectRoot, nullptr);
    EXPECT_FALSE(frame->isVisible());
    EXPECT_FALSE(Form1->SchemeWindowShown());
    EXPECT_TRUE(Form1->isVisible());
    EXPECT_FALSE(responder_.TerminateRequested());

    // A new project, unsaved: Cancel keeps it and its window.
    NewThroughMenu();
    Settle();
    responder_.ExpectMessage(std::string(kQuestion) + "Untitled", "Veltranovaplanir 2.1", mrCancel);
    ClickCloseBox(*frame);
    EXPECT_NE(ProjectRoot, nullptr);
    EXPECT_TRUE(frame->isVisible());
    EXPECT_TRUE(Form1->SchemeWindowShown());
}

// The scheme window is shown for the project whether or not the main window is on the screen.
TEST_F(SchemeWindow, IsShownForTheProjectBeforeTheMainWindowIs) {
    OpenSmallProject();
    EXPECT_TRUE(Form1->SchemeWindowShown());
    Form1->show();
    Settle();
    EXPECT_TRUE(Form2->isVisible());
    EXPECT_TRUE(Form2->Frame()->isVisible());
}

TEST_F(SchemeWindow, EscapeLeavesTheProjectOpen) {
    Form1->show();
    struct Case {
        const char* what;
        std::function<void()> open;
    };
    const std::vector<Case> cases = {
        {"opened project, nothing changed", [this] { OpenSmallProject(); }},
        // Closing would ask the save question: no message may come.
        {"new project, not saved", [this] { NewThroughMenu(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        c.open();
        Settle();
        TGrsed* project = ProjectRoot;
        ASSERT_NE(project, nullptr);
        for (QWidget* target : std::initializer_list<QWidget*>{Form2, Form2->Frame()})
            QTest::keyClick(target, Qt::Key_Escape);
        EXPECT_EQ(ProjectRoot, project);
        EXPECT_TRUE(Form2->isVisible());
        EXPECT_TRUE(Form2->Frame()->isVisible());
    }
}

// The scheme window is part of the main window: the main menu's shortcuts work in it.
TEST_F(SchemeWindow, MainMenuShortcutsWorkInIt) {
    Form1->show();
    OpenSmallProject();
    Form1->activateWindow();
    Settle();
    ASSERT_EQ(QApplication::activeWindow(), Form1);
    responder_.ExpectModal("TShiti", nullptr);
    QTest::keyClick(Form2, Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(Form1->SchemeCaption(), "Untitled");
}

// A preview shown over the scheme window leaves it as it was, whichever command takes the
// preview away: the scheme window fills the client area again.
TEST_F(SchemeWindow, ComesBackFillingTheClientAreaAfterAPreview) {
    Form1->show();
    OpenSmallProject();
    Settle();
    QMdiSubWindow* frame = Form2->Frame();
    ASSERT_NE(frame, nullptr);
    const QRect filled = frame->geometry();
    struct Step {
        const char* what;
        std::function<void()> act;
    };
    const std::vector<Step> steps = {
        {"the preview bar's \"Закрыть\"",
         [] { QTest::mouseClick(Form1->BitBtn1, Qt::LeftButton); }},
        {"the general scheme", [] { Form1->N63->trigger(); }},
        {"the general cable journal", [] { Form1->N47->trigger(); }},
        {"a panel's one-line diagram, the chooser left",
         [this] {
             responder_.ExpectModal("TForm5", nullptr);
             Form1->N64->trigger();
         }},
        {"the group results' panel chooser", [] { Form1->N22->trigger(); }},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        Form1->ToolButton43->trigger();
        Settle();
        ASSERT_TRUE(Form1->PreviewShown());
        step.act();
        Settle();
        EXPECT_FALSE(Form1->PreviewShown());
        EXPECT_TRUE(frame->isVisible());
        EXPECT_TRUE(frame->isMaximized());
        EXPECT_EQ(frame->geometry(), filled);
        // The windows the commands showed are put away for the next step.
        for (QWidget* window : QApplication::topLevelWidgets())
            if (window != Form1 && window->isVisible()) window->close();
    }
}
