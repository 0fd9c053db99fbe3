// Pictures of the edit window in its three modes and of the connection window in its two edit
// layouts, taken from the screen when VELTRANOVA_SCREENSHOTS names a folder.
#include <gtest/gtest.h>

#include "EditFixture.h"
#include "ScreenCapture.h"
#include "TreeLookup.h"
#include "app/Mainform.h"
#include "editing/EditDialog.h"
#include "editing/Shiti12.h"

namespace {

class Screenshots : public EditTest {
protected:
    void SetUp() override {
        EditTest::SetUp();
        folder_ = ScreenshotFolder();
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
        CaptureWindow(window, folder_, name);
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
