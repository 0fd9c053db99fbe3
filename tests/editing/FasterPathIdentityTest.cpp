// The faster path of the edits against the full path: the same edits, deletions and refusals
// through the windows, once as the program runs (what a pass over the project read of the
// reference tables kept for its later lookups, a refresh leaving alone the switchboards a change
// did not reach) and once with every lookup reading the table and every refresh selecting every
// switchboard, give the same project file, byte for byte, and the same tree after every step.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "EditFixture.h"
#include "TreeImage.h"
#include "TreeLookup.h"
#include "app/Mainform.h"
#include "editing/EditDialog.h"
#include "editing/Shiti12.h"
#include "groups/Dan12.h"
#include "groups/InsertAvtomat.h"

namespace {

class FasterPathIdentity : public EditTest {
protected:
    void TearDown() override {
        UseFasterPath(true);
        EditTest::TearDown();
    }

    // The project file and the tree after a step.
    void Take(std::vector<std::string>& bytes) {
        bytes.push_back(ProjectBytes());
        trees_.push_back(ImageOf(*ProjectRoot));
    }
    std::vector<TreeImage> trees_;

    // The trees after the steps of the two runs, the full path's first, equal step by step.
    void ExpectSameTrees() {
        ASSERT_EQ(trees_.size() % 2, 0u);
        const std::size_t n = trees_.size() / 2;
        for (std::size_t i = 0; i < n; ++i)
            EXPECT_EQ(DifferencesText(trees_[i], trees_[n + i]), "") << "after step " << i;
        trees_.clear();
    }

    // The project file after each step of the sequence, on the faster path or the full one.
    std::vector<std::string> BytesAfterEachStep(bool keep) {
        UseFasterPath(keep);
        if (ProjectRoot) Form1->DropProject();
        BuildSwitchboard(1, "1 2 3");
        BuildSwitchboard(2, "4 5");
        AddLoads(1, {60, 20, 20});
        AddLoads(2, {15, 5});
        AddLoads(3, {40, 7, 3, 2});
        AddLoads(4, {25});
        AddLoads(5, {12, 12});
        for (int panel = 1; panel <= 5; ++panel)
            PanelNumbered(panel)->FeederCableName = "КЩ" + std::to_string(panel);
        std::vector<std::string> bytes;
        const std::vector<std::pair<const char*, std::function<void()>>> steps = {
            {"refresh", [&] { Refresh(); }},
            {"a longer feeder of panel 1",
             [&] {
                 OpenPanel("1");
                 Type(Shiti->Edit4, "25");
                 ExpectBreakerQuestion(platform::mrYes);
                 Click(Shiti->Button6);
             }},
            {"a feeder of panel 3 too long for its deviation",
             [&] {
                 OpenPanel("3");
                 Type(Shiti->Edit4, "5000");
                 responder_.AnswerEveryMessage("", platform::mrOk);
                 ExpectBreakerQuestion(platform::mrYes);
                 Click(Shiti->Button6);
             }},
            {"a group line of panel 3 deleted",
             [&] {
                 OpenGroups();
                 ChooseLeft("3");
                 ChooseRight("Г2-3");
                 Delete();
             }},
            {"panel 2 deleted",
             [&] {
                 OpenPanels();
                 ChooseLeft("1");
                 ChooseRight("2");
                 Delete();
             }},
            {"switchboard 2 deleted",
             [&] {
                 OpenSwitchboards();
                 ChooseLeft("2");
                 Delete();
             }},
        };
        for (const auto& [what, step] : steps) {
            SCOPED_TRACE(what);
            step();
            if (Shiti->isVisible()) Shiti->close();
            if (Form3->isVisible()) Form3->close();
            Take(bytes);
        }
        return bytes;
    }

    // The same for an example project: opened, its first panel's feeder lengthened, the last
    // line of its last panel deleted, its first panel deleted.
    std::vector<std::string> ExampleBytesAfterEachStep(const std::string& name, bool keep) {
        UseFasterPath(keep);
        if (ProjectRoot) Form1->DropProject();
        std::vector<std::string> bytes;
        const bool loaded = Form1->LoadProject(ProgramFile("Project") + "/" + name);
        if (!loaded || !ProjectRoot) {
            ADD_FAILURE() << "not opened: " << name;
            return bytes;
        }
        Take(bytes);
        const TSitid* first = ProjectRoot->Switchboards.First->Panels.First;
        const std::string firstPanel = std::to_string(first->PanelNumber);
        const std::string firstSwitchboard =
            std::to_string(ProjectRoot->Switchboards.First->SwitchboardNumber);
        responder_.AnswerEveryMessage("", platform::mrOk);
        responder_.AnswerEvery("TInsertAvtomat", [](QDialog& dialog) {
            auto& chooser = static_cast<TInsertAvtomat&>(dialog);
            chooser.ComboBox1->setCurrentIndex(0);
            chooser.Button2Click();
            return dialog.result();
        });
        OpenPanels();
        ChooseLeft(firstSwitchboard);
        ChooseRight(firstPanel);
        Edit();
        Type(Shiti->Edit4, std::to_string(int(first->FeederLength) + 40));
        Click(Shiti->Button6);
        if (Shiti->isVisible()) Shiti->close();
        Take(bytes);
        const TGrsed* lastSwitchboard = ProjectRoot->Switchboards.Last;
        const TSitid* last = lastSwitchboard->Panels.Last;
        OpenGroups();
        ChooseLeft(std::to_string(last->PanelNumber));
        ChooseRight(last->SchemeGroups.Last->GroupName);
        Delete();
        Take(bytes);
        OpenPanels();
        ChooseLeft(firstSwitchboard);
        ChooseRight(firstPanel);
        Delete();
        Take(bytes);
        return bytes;
    }
};

TEST_F(FasterPathIdentity, TheExamplesEditedGiveTheFilesOfTheFullPath) {
    for (const std::string name : {"Example1.VPQ", "Example2.VPQ", "Example3.VPQ"}) {
        SCOPED_TRACE(name);
        const std::vector<std::string> full = ExampleBytesAfterEachStep(name, false);
        const std::vector<std::string> faster = ExampleBytesAfterEachStep(name, true);
        ASSERT_EQ(full.size(), 4u);
        ASSERT_EQ(faster.size(), full.size());
        for (std::size_t i = 0; i < full.size(); ++i)
            EXPECT_TRUE(faster[i] == full[i]) << "the files differ after step " << i;
        for (std::size_t i = 1; i < full.size(); ++i)
            EXPECT_TRUE(full[i] != full[i - 1]) << "step " << i << " changed nothing";
        ExpectSameTrees();
    }
}

TEST_F(FasterPathIdentity, EditsDeletionsAndRefusalsGiveTheFileOfTheFullPath) {
    const std::vector<std::string> full = BytesAfterEachStep(false);
    const std::vector<std::string> faster = BytesAfterEachStep(true);
    ASSERT_EQ(faster.size(), full.size());
    for (std::size_t i = 0; i < full.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_FALSE(full[i].empty());
        EXPECT_TRUE(faster[i] == full[i]) << "the files differ after step " << i;
    }
    // Each step changed the project, but the refused one.
    ASSERT_EQ(full.size(), 6u);
    for (std::size_t i : {1u, 3u, 4u, 5u}) EXPECT_TRUE(full[i] != full[i - 1]) << "step " << i;
    EXPECT_TRUE(full[2] == full[1]) << "the feeder of 5000 m was not refused";
    ExpectSameTrees();
}

}  // namespace
