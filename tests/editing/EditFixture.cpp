#include "EditFixture.h"

#include <QDir>
#include <QTest>

#include "TreeLookup.h"
#include "app/Mainform.h"
#include "editing/EditDialog.h"
#include "editing/EditLists.h"
#include "editing/Shiti12.h"
#include "groups/Dan12.h"
#include "groups/InsertAvtomat.h"
#include "model/Chains.h"
#include "model/TreeEditing.h"
#include "platform/Conversions.h"
#include "platform/FileDialogs.h"
#include "selection/CheckSupport.h"

void EditTest::SetUp() {
    ConnectionTest::SetUp();
    responder_.AnswerEvery("TInsertAvtomat", [](QDialog&) {
        InsertAvtomat->ComboBox1->setCurrentIndex(InsertAvtomat->ComboBox1->count() > 0 ? 0 : -1);
        QTest::mouseClick(InsertAvtomat->Button2, Qt::LeftButton);
        return platform::mrNone;
    });
}

void EditTest::TearDown() {
    if (ProjectRoot) ExpectListsAgreeWithTree();
    platform::SetFileDialogAnswer(nullptr);
    ConnectionTest::TearDown();
}

void EditTest::Refresh() {
    Dan1->RecalculateNetwork();
    Dan1->ApplyAndRefresh(nullptr);
    // The lists as loading a project fills them.
    editing::RefillGroupEntryLists();
    editing::RefillSwitchboardList();
}

void EditTest::OpenGroups() {
    Form1->N25->trigger();
}

void EditTest::OpenPanels() {
    Form1->N4->trigger();
}

void EditTest::OpenSwitchboards() {
    Form1->N30->trigger();
}

void EditTest::ChooseLeft(const std::string& item) {
    Choose(Form3->ComboBox4, item);
}

void EditTest::ChooseRight(const std::string& item) {
    Choose(Form3->ComboBox3, item);
}

void EditTest::Delete() {
    Click(Form3->Button3);
}

void EditTest::Edit() {
    Click(Form3->Button5);
}

void EditTest::OpenPanel(const std::string& number) {
    OpenPanels();
    ChooseLeft("1");
    ChooseRight(number);
    Edit();
}

void EditTest::OpenSwitchboard(const std::string& number) {
    OpenSwitchboards();
    ChooseLeft(number);
    Edit();
}

void EditTest::ExpectBreakerQuestion(int answer) {
    responder_.ExpectMessage(
        "Автоматы можно установить автоиатически или вручную.\nУстановить автоматически?",
        "Установка автоматов.", answer);
}

void EditTest::OpenProject(const std::string& name) {
    const std::string path = ProgramFile("Project") + "/" + name;
    platform::SetFileDialogAnswer([path](const platform::FileDialogRequest&) { return path; });
    Form1->Open1->trigger();
    ASSERT_NE(ProjectRoot, nullptr) << path;
    ASSERT_EQ(Form1->ProjectFileName, path);
}

void EditTest::SaveAndOpenAgain() {
    QDir().mkpath(QString::fromStdString(ProgramFile("Project")));
    const std::string path = ProgramFile("Project") + "/Сохранённый.VPQ";
    platform::SetFileDialogAnswer([path](const platform::FileDialogRequest&) { return path; });
    Form1->SaveAs->trigger();
    ASSERT_EQ(Form1->ProjectSaved, 1);
    Form1->Open1->trigger();
    responder_.VerifyDone();
    ASSERT_EQ(Form1->ProjectFileName, path);
}

void AddLoads(int panel, const std::vector<double>& powers, const std::string& prefix) {
    for (std::size_t i = 0; i < powers.size(); ++i)
        AddLoad(
            panel,
            prefix + platform::IntToStr(static_cast<int>(i) + 1) + "-" + platform::IntToStr(panel),
            powers[i]);
}

void LoadEveryPanel() {
    std::vector<int> unloaded;
    for (const TGrsed* sw = ProjectRoot->Switchboards.First; sw; sw = sw->Switchboards.Next)
        for (const TSitid* p = sw->Panels.First; p; p = p->Panels.Next)
            if (p->SchemeGroupCount == 0) unloaded.push_back(p->PanelNumber);
    for (int number : unloaded) AddLoads(number, {5}, "Н");
}

std::vector<std::string> GroupsOf(int panel) {
    const TSitid* p = PanelNumbered(panel);
    return p ? GroupNames(*p) : std::vector<std::string>{};
}

namespace {

// A panel of the group line window's list: "7", or "3(7)" for panel 7 hanging on panel 3.
int ListedPanel(const std::string& item) {
    const std::size_t open = item.find('(');
    return platform::StrToInt(
        open == std::string::npos ? item : item.substr(open + 1, item.size() - open - 2));
}

}  // namespace

void ExpectCountsAgreeWithChains() {
    const TGrsed& root = *ProjectRoot;
    int switchboardCount = 0;
    for (const TGrsed* sw = root.Switchboards.First; sw; sw = sw->Switchboards.Next) {
        ++switchboardCount;
        int panelCount = 0;
        for (const TSitid* p = sw->Panels.First; p; p = p->Panels.Next) {
            ++panelCount;
            TSitid counted = *p;
            chains::CountGroupChains(counted);
            EXPECT_EQ(p->SchemeGroupCount, counted.SchemeGroupCount) << "panel " << p->PanelNumber;
            EXPECT_EQ(p->SinglePhaseCount, counted.SinglePhaseCount) << "panel " << p->PanelNumber;
            EXPECT_EQ(p->TwoPhaseCount, counted.TwoPhaseCount) << "panel " << p->PanelNumber;
            EXPECT_EQ(p->ThreePhaseCount, counted.ThreePhaseCount) << "panel " << p->PanelNumber;
        }
        EXPECT_EQ(sw->PanelCount, panelCount) << "switchboard " << sw->SwitchboardNumber;
    }
    EXPECT_EQ(root.SwitchboardCount, switchboardCount);
}

void ExpectListsAgreeWithTree(bool groupWindowPanels) {
    ExpectCountsAgreeWithChains();
    const TGrsed& root = *ProjectRoot;
    std::vector<std::string> cables;
    std::vector<std::string> groups;
    std::vector<std::string> switchboards;
    std::vector<int> panels;
    int switchboardCount = 0;
    for (const TGrsed* sw = root.Switchboards.First; sw; sw = sw->Switchboards.Next) {
        ++switchboardCount;
        cables.push_back(sw->SwitchboardCableName);
        switchboards.push_back(platform::IntToStr(sw->SwitchboardNumber));
        for (const TSitid* p = sw->Panels.First; p; p = p->Panels.Next) {
            panels.push_back(p->PanelNumber);
            cables.push_back(p->FeederCableName);
            for (const TCxemaGrupd* g = p->SchemeGroups.First; g; g = g->SchemeGroups.Next) {
                cables.push_back(g->CableName);
                groups.push_back(g->GroupName);
            }
        }
    }
    EXPECT_EQ(Shiti->CableNames, cables);
    EXPECT_EQ(Dan1->GroupNames, groups);
    EXPECT_EQ(Items(*Shiti->ComboBox2), switchboards);
    EXPECT_EQ(Shiti->SwitchboardCounter, switchboardCount);
    if (!groupWindowPanels) return;
    std::vector<int> listed;
    for (const std::string& item : Items(*Dan1->ComboBox2)) listed.push_back(ListedPanel(item));
    EXPECT_EQ(listed, panels);
}

void UseFasterPath(bool on) {
    selection::KeepLookupsWithinPasses(on);
    TDan1::LimitRefreshesToChanges(on);
    NetworkCalculation::LimitRecalculations(on);
    TreeEditing::SettleSwitchboardDeletionsOnce(on);
}
