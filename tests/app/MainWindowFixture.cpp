#include "MainWindowFixture.h"

#include <QTest>
#include <QToolBar>
#include <QToolButton>

#include "ExampleProjects.h"
#include "app/Mainform.h"
#include "drawings/DrawingState.h"

void MainWindowTest::SetUp() {
    ProjectCommandsTest::SetUp();
}

void MainWindowTest::TearDown() {
    // The drawing step is one program-wide value.
    DrawingStep = 160;
    ProjectCommandsTest::TearDown();
}

std::string MainWindowTest::OpenSmallProject() {
    const std::string path = WriteProject(SmallProject(), ProjectPath("Малый.VPQ"));
    OpenThroughMenu(path);
    EXPECT_NE(ProjectRoot, nullptr);
    dialogs_.clear();
    return path;
}

void ClickToolbarButton(QAction* command) {
    for (QToolBar* bar : Form1->ControlBar1->findChildren<QToolBar*>()) {
        if (auto* button = qobject_cast<QToolButton*>(bar->widgetForAction(command))) {
            QTest::mouseClick(button, Qt::LeftButton);
            return;
        }
    }
    ADD_FAILURE() << "no toolbar button for " << command->objectName().toStdString();
}
