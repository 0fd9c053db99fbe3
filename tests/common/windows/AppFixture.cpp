#include "AppFixture.h"

#include <vector>

#include "app/ProjectFile.h"
#include "documents/AdjustmentProject.h"
#include "groups/Dan12.h"

std::string ProjectBytes() {
    std::vector<char> bytes;
    projectfile::ProjectFileExtras extras;
    extras.GroupCounter = Dan1->GroupCounter;
    extras.GroupCounterCode = Dan1->GroupCounterCode;
    extras.Stamp = {AdjustmentProjectForm->DocumentCode, AdjustmentProjectForm->DevelopedBy,
                    AdjustmentProjectForm->CheckedBy, AdjustmentProjectForm->ApprovedBy,
                    AdjustmentProjectForm->NormControl};
    EXPECT_EQ(projectfile::BuildProjectFile(*ProjectRoot, extras, bytes), "");
    return std::string(bytes.begin(), bytes.end());
}
