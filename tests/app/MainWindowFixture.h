#pragma once
// The application with the small project open through File > Open, every operation of the
// drawings and documents that the main window calls noted, and the desktop's shell recorded.
#include <QAction>
#include <QComboBox>
#include <QWidget>
#include <string>
#include <vector>

#include "ProjectCommandsFixture.h"
#include "ShellRecorder.h"
#include "WindowChecks.h"

class MainWindowTest : public ProjectCommandsTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // Writes the small project (one switchboard 1; panels 1, 2 and 3, panel 3 fed from panel 2;
    // group lines "1.1", "2.1" and "3.1", one per panel) and opens it through the menu.
    std::string OpenSmallProject();

    ShellRecorder shell_;
};

// Clicks the toolbar button of a main window command.
void ClickToolbarButton(QAction* command);
