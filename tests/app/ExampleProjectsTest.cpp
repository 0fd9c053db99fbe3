// The example projects the program ships (data/Project/Example1..3.VPQ), made through the windows
// by tests/editing/ExampleProjectsScriptTest.cpp: opened through the menu as a finished design.
#include <gtest/gtest.h>

#include <QTest>
#include <algorithm>

#include "ProjectCommandsFixture.h"
#include "TreeImage.h"
#include "app/Mainform.h"
#include "groups/Dan12.h"
#include "app/PowerSystem.h"
#include "model/Chains.h"
#include "platform/Conversions.h"
#include "platform/ProgramFolder.h"

namespace {

class ExampleProjects : public ProjectCommandsTest, public ::testing::WithParamInterface<int> {};

TEST_P(ExampleProjects, OpensThroughTheMenuAsAFinishedDesign) {
    const std::string path =
        platform::ProgramFolder() + "Project/Example" + platform::IntToStr(GetParam()) + ".VPQ";
    OpenThroughMenu(path);
    EXPECT_TRUE(responder_.Messages().empty());
    ASSERT_NE(ProjectRoot, nullptr);
    EXPECT_EQ(Form1->SchemeCaption(), path);
    EXPECT_EQ(Form1->StatusText(), path);
    // Loading recalculates the design to the very values it was saved with.
    EXPECT_TRUE(ProjectBytes() == FileBytes(path))
        << "the example is not the design the program makes now: write the examples again (see "
           "tests/editing/ExampleProjectsScriptTest.cpp)";
}

// A refresh of the opened design ("Подключение групп", the power system dialog taken as it is,
// "закрыть") changes nothing: what the file holds is what the program computes.
TEST_P(ExampleProjects, ARefreshAfterOpeningChangesNothing) {
    OpenThroughMenu(platform::ProgramFolder() + "Project/Example" +
                    platform::IntToStr(GetParam()) + ".VPQ");
    ASSERT_NE(ProjectRoot, nullptr);
    const TreeImage opened = ReopeningImage(*ProjectRoot);
    responder_.ExpectModal("TPowerSystem", [](QDialog&) {
        QTest::mouseClick(PowerSystem->Button1, Qt::LeftButton);
        return platform::mrNone;
    });
    Form1->N11->trigger();
    responder_.VerifyDone();
    ASSERT_TRUE(Dan1->isVisible());
    QTest::mouseClick(Dan1->ok, Qt::LeftButton);
    EXPECT_FALSE(Dan1->isVisible());
    const std::string differences = ReopeningDifferences(opened, ReopeningImage(*ProjectRoot));
    EXPECT_TRUE(differences.empty()) << differences;
}

// Every breaker that protects a switchboard or a trunk carries the most loaded of its phases.
TEST_P(ExampleProjects, BreakersCarryTheMostLoadedPhase) {
    OpenThroughMenu(platform::ProgramFolder() + "Project/Example" +
                    platform::IntToStr(GetParam()) + ".VPQ");
    ASSERT_NE(ProjectRoot, nullptr);
    for (const TGrsed* sw : chains::SwitchboardsOf(*ProjectRoot)) {
        EXPECT_GE(sw->SwitchboardBreakerRating,
                  std::max({sw->SwitchboardCurrentA, sw->SwitchboardCurrentB,
                            sw->SwitchboardCurrentC}))
            << "ГРЩ " << sw->SwitchboardNumber;
        for (const TSitid* p : chains::PanelsOf(*sw)) {
            if (!p->FedFromSwitchboard) continue;
            EXPECT_GE(p->TrunkBreakerRating,
                      std::max({p->CascadeCurrentA, p->CascadeCurrentB, p->CascadeCurrentC}))
                << "trunk head " << p->PanelNumber << ": " << p->TrunkBreakerType;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Shipped, ExampleProjects, ::testing::Values(1, 2, 3));

}  // namespace
