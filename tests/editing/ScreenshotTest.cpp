// Pictures of the edit window in its three modes and of the connection window in its two edit
// layouts, taken from the screen when VELTRANOVA_SCREENSHOTS names a folder (run on an X display
// with a window manager; each window is captured by its id with ImageMagick's "import").
#include <gtest/gtest.h>

#include <QApplication>
#include <QProcess>
#include <cstdlib>

#include "EditFixture.h"
#include "TreeLookup.h"
#include "app/Mainform.h"
#include "editing/EditDialog.h"
#include "editing/Shiti12.h"

namespace {

class Screenshots : public EditTest {
protected:
    void SetUp() override {
        EditTest::SetUp();
        folder_ =
            std::getenv("VELTRANOVA_SCREENSHOTS") ? std::getenv("VELTRANOVA_SCREENSHOTS") : "";
        if (folder_.empty()) GTEST_SKIP() << "VELTRANOVA_SCREENSHOTS not set";
        BuildSwitchboard(1, "1 2");
        BuildSwitchboard(2, "3");
        AddLoads(1, {60, 20, 20});
        LoadEveryPanel();
        PanelNumbered(1)->FeederCableName = "КЩ1";
        PanelNumbered(2)->FeederCableName = "КЩ2";
        PanelNumbered(3)->FeederCableName = "КЩ3";
        Refresh();
        Form1->show();
    }
    void Capture(QWidget& window, const std::string& name) {
        for (int i = 0; i < 20; ++i) QApplication::processEvents();
        QProcess::execute("sleep", {"0.5"});
        for (int i = 0; i < 20; ++i) QApplication::processEvents();
        const QString id = QString::number(window.winId());
        EXPECT_EQ(QProcess::execute("import", {"-frame", "-window", id,
                                               QString::fromStdString(folder_ + "/" + name)}),
                  0);
    }
    std::string folder_;
};

TEST_F(Screenshots, EditWindowAndEditors) {
    OpenGroups();
    ChooseLeft("1");
    ChooseRight("Г2-1");
    Capture(*Form3, "TForm3-groups.png");
    OpenPanels();
    ChooseLeft("1");
    ChooseRight("1");
    Capture(*Form3, "TForm3-panels.png");
    Edit();
    Capture(*Shiti, "TShiti-panel-edit.png");
    Click(Shiti->Button5);
    OpenSwitchboards();
    ChooseLeft("2");
    Capture(*Form3, "TForm3-switchboards.png");
    Edit();
    Capture(*Shiti, "TShiti-switchboard-edit.png");
    Click(Shiti->Button3);
}

}  // namespace
