// Closing the main window ends the program: after the save question every other window closes
// and the event loop is asked to end. A window that cannot close yet keeps the program running.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <functional>
#include <string>
#include <vector>

#include "MainWindowFixture.h"
#include "app/About.h"
#include "app/Mainform.h"
#include "app/SchemeWindow.h"
#include "model/Classd.h"
#include "platform/ClientDataSet.h"
#include "refdb/BazaAvt.h"
#include "refdb/BazaT.h"
#include "refdb/BazaTran.h"

namespace {

using platform::mrCancel;
using platform::mrNo;
using platform::mrNone;

const char kQuestion[] = "Сохранить изменения в файле?";

// "Выход" of the File menu, by its shortcut, with the main window active.
void PressExitShortcut() {
    Form1->activateWindow();
    QCoreApplication::processEvents();
    ASSERT_EQ(QApplication::activeWindow(), Form1);
    QTest::keyClick(Form1, Qt::Key_A, Qt::ControlModifier);
}

// The toolbar's "Выход" button.
void ClickToolbarExit() {
    ClickToolbarButton(Form1->ToolButton8);
}

std::vector<std::string> WindowsShown() {
    std::vector<std::string> shown;
    for (const QWidget* window : QApplication::topLevelWidgets())
        if (window->isVisible()) shown.push_back(window->metaObject()->className());
    return shown;
}

}  // namespace

class MainWindowExit : public MainWindowTest {
public:
    using MainWindowTest::OpenSmallProject;
    void NewThroughMenu() {
        responder_.ExpectModal("TShiti", nullptr);
        Form1->New1->trigger();
    }

protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        Form1->show();
    }
};

struct ExitCase {
    const char* what;
    std::function<void(MainWindowExit&)> prepare;
    int answer;  // to the save question; mrNone: none is asked
    std::function<void()> exit;
    bool ends;
};

void PrintTo(const ExitCase& c, std::ostream* os) {
    *os << c.what;
}

class ExitWithWindowsOpen : public MainWindowExit,
                            public ::testing::WithParamInterface<ExitCase> {};

TEST_P(ExitWithWindowsOpen, EndsTheProgramWithEveryOtherWindowOrNothing) {
    const ExitCase& c = GetParam();
    c.prepare(*this);
    const std::vector<std::string> before = WindowsShown();
    ASSERT_GT(before.size(), 1u);
    if (c.answer != mrNone)
        responder_.ExpectMessage(std::string(kQuestion) + "Untitled", "Veltranovaplanir 1.1",
                                 c.answer);
    c.exit();
    EXPECT_EQ(responder_.TerminateRequested(), c.ends);
    EXPECT_EQ(WindowsShown(), c.ends ? std::vector<std::string>{} : before);
}

INSTANTIATE_TEST_SUITE_P(Cases, ExitWithWindowsOpen,
                         ::testing::Values(ExitCase{"reference window open, no project",
                                                    [](MainWindowExit&) { Form1->N18->trigger(); },
                                                    mrNone, PressExitShortcut, true},
                                           ExitCase{"database windows and About open, project open",
                                                    [](MainWindowExit& test) {
                                                        test.OpenSmallProject();
                                                        Form1->N13->trigger();
                                                        Form1->N14->trigger();
                                                        Form1->About1->trigger();
                                                    },
                                                    mrNone, PressExitShortcut, true},
                                           ExitCase{"changed project, answered No",
                                                    [](MainWindowExit& test) {
                                                        test.NewThroughMenu();
                                                        Form1->N19->trigger();
                                                    },
                                                    mrNo, PressExitShortcut, true},
                                           ExitCase{"changed project, answered Cancel",
                                                    [](MainWindowExit& test) {
                                                        test.NewThroughMenu();
                                                        Form1->N19->trigger();
                                                    },
                                                    mrCancel, PressExitShortcut, false},
                                           ExitCase{"toolbar exit, changed project, answered No",
                                                    [](MainWindowExit& test) {
                                                        test.NewThroughMenu();
                                                        Form1->N20->trigger();
                                                    },
                                                    mrNo, ClickToolbarExit, true}));

// A row that cannot be stored keeps its window, the main window and the program, so that the
// user can put it right or give it up.
TEST_F(MainWindowExit, ARowThatCannotBeStoredKeepsTheProgramRunning) {
    Form1->N13->trigger();
    platform::TClientDataSet& table = BazaTran->ClientDataSet2;
    table.First();
    const double power = table.FieldByName("Мощность кВА").AsFloat();
    table.Append();
    table.FieldByName("Трансформатор").SetAsString("ТМ-двойник");
    table.FieldByName("Мощность кВА").SetAsFloat(power);
    responder_.ExpectMessage(
        "Нарушение уникальности ключа: запись с таким значением поля 'Мощность кВА' уже есть "
        "(индекс '02').",
        "Veltranovaplanir", platform::mrOk);
    PressExitShortcut();
    EXPECT_FALSE(responder_.TerminateRequested());
    EXPECT_TRUE(Form1->isVisible());
    EXPECT_TRUE(BazaTran->isVisible());

    // Given up, the row no longer holds anything back.
    table.Cancel();
    PressExitShortcut();
    EXPECT_TRUE(responder_.TerminateRequested());
    EXPECT_FALSE(BazaTran->isVisible());
}
