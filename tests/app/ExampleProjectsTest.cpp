// The example projects the program ships (data/Project/Example1..3.VPQ): made from their
// descriptions, and opened through the menu as a finished design.
#include <gtest/gtest.h>

#include <QDir>
#include <cstdlib>

#include "ProjectCommandsFixture.h"
#include "app/Mainform.h"
#include "app/ProjectFile.h"
#include "platform/Conversions.h"
#include "platform/ProgramFolder.h"

namespace {

std::string ExampleName(int number) {
    return "Example" + platform::IntToStr(number) + ".VPQ";
}

class ExampleProjects : public ProjectCommandsTest, public ::testing::WithParamInterface<int> {};

// With VELTRANOVA_WRITE_EXAMPLES set, the shipped files are written anew first.
TEST_P(ExampleProjects, ShippedFileHoldsItsDescription) {
    const ProjectSpec project = ExampleProject(GetParam());
    BuildProject(project);
    const std::string shipped =
        std::string(PROGRAM_DATA_DIR) + "/Project/" + ExampleName(GetParam());
    if (std::getenv("VELTRANOVA_WRITE_EXAMPLES")) {
        QDir().mkpath(QString::fromStdString(std::string(PROGRAM_DATA_DIR) + "/Project"));
        ASSERT_EQ(projectfile::SaveProjectFile(shipped, *ProjectRoot, ProjectExtras(project)), "");
    }
    const projectfile::LoadResult loaded = projectfile::LoadProjectFile(shipped);
    ASSERT_EQ(loaded.Status, projectfile::LoadStatus::Loaded)
        << shipped << ": write the examples again (see tests/app/ExampleProjects.h)";
    EXPECT_EQ(EnteredData(*loaded.Root), EnteredData(*ProjectRoot));
    EXPECT_EQ(loaded.Extras, ProjectExtras(project));
}

TEST_P(ExampleProjects, OpensThroughTheMenuAsAFinishedDesign) {
    const std::string path = platform::ProgramFolder() + "Project/" + ExampleName(GetParam());
    OpenThroughMenu(path);
    EXPECT_TRUE(responder_.Messages().empty());
    ASSERT_NE(ProjectRoot, nullptr);
    EXPECT_EQ(Form1->SchemeCaption(), path);
    EXPECT_EQ(Form1->StatusText(), path);
    // Loading recalculates the design to the very values it was saved with.
    EXPECT_TRUE(ProjectBytes() == FileBytes(path))
        << "the example is not the design the selection makes now: write the examples again (see "
           "tests/app/ExampleProjects.h)";
}

INSTANTIATE_TEST_SUITE_P(Shipped, ExampleProjects, ::testing::Values(1, 2, 3));

}  // namespace
