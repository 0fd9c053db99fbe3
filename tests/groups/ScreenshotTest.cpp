// Pictures of the group line window for entering new lines and in its edit mode, taken from the
// screen when VELTRANOVA_SCREENSHOTS names a folder.
#include <gtest/gtest.h>

#include "GroupsFixture.h"
#include "ScreenCapture.h"
#include "app/Mainform.h"
#include "groups/Dan12.h"

namespace {

class Screenshots : public GroupDialogTest {
protected:
    void SetUp() override {
        GroupDialogTest::SetUp();
        folder_ = ScreenshotFolder();
        if (folder_.empty()) GTEST_SKIP() << "VELTRANOVA_SCREENSHOTS not set";
        Form1->show();
    }
    std::string folder_;
};

TEST_F(Screenshots, GroupLineWindow) {
    AddFirstLine();
    OpenGroupWindow();
    Entry entry;
    entry.cosPhi = "0,95";
    Fill(entry);
    CaptureWindow(*Dan1, folder_, "TDan1-entry.png");
    Click(*Dan1->ok);
    OpenGroupEditor("Гр0");
    CaptureWindow(*Dan1, folder_, "TDan1-edit.png");
    Click(*Dan1->Button1);
}

}  // namespace
