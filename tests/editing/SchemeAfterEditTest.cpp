// The general scheme shown while the project is edited is drawn again from the tree: a deleted
// line or panel is gone from it, a renumbered panel shows its new number, a rebuilt panel all its
// lines once.
#include <gtest/gtest.h>

#include "EditFixture.h"
#include "SchemeOfTheTree.h"
#include "TreeLookup.h"
#include "app/Mainform.h"
#include "editing/Shiti12.h"
#include "platform/Canvas.h"

namespace {

class SchemeAfterEdit : public EditTest {
protected:
    void SetUp() override {
        EditTest::SetUp();
        BuildSwitchboard(1, "1 2");
        AddLoads(1, {10, 10, 10});
        AddLoads(2, {5});
        PanelNumbered(1)->FeederCableName = "КЩ1";
        PanelNumbered(2)->FeederCableName = "КЩ2";
        Refresh();
        Form1->ShowNetworkScheme();
        ExpectSchemeOfTheTree("before");
        ASSERT_TRUE(SchemeShows("Гр- Г2-1"));
    }
    platform::CanvasRecordingScope recording_;
};

TEST_F(SchemeAfterEdit, ADeletedLineIsGone) {
    OpenGroups();
    ChooseLeft("1");
    ChooseRight("Г2-1");
    Delete();
    ExpectSchemeOfTheTree("line deleted");
    EXPECT_FALSE(SchemeShows("Гр- Г2-1"));
    EXPECT_TRUE(SchemeShows("Гр- Г1-1"));
}

TEST_F(SchemeAfterEdit, ADeletedPanelIsGone) {
    OpenPanels();
    ChooseLeft("1");
    ChooseRight("2");
    Delete();
    ExpectSchemeOfTheTree("panel deleted");
    EXPECT_FALSE(SchemeShows("Щит№ 2"));
    EXPECT_FALSE(SchemeShows("Гр- Г1-2"));
}

TEST_F(SchemeAfterEdit, ARenumberedPanelShowsItsNewNumber) {
    OpenPanel("1");
    Type(Shiti->Edit1, "9");
    Click(Shiti->Button6);
    ExpectSchemeOfTheTree("panel renumbered");
    EXPECT_TRUE(SchemeShows("Щит№ 9"));
    EXPECT_FALSE(SchemeShows("Щит№ 1"));
}

TEST_F(SchemeAfterEdit, ARebuiltPanelShowsEachLineOnce) {
    OpenPanel("1");
    Type(Shiti->Edit4, "25");
    ExpectBreakerQuestion(platform::mrYes);
    Click(Shiti->Button6);
    ExpectSchemeOfTheTree("panel rebuilt");
}

}  // namespace
