#include "TablesFixture.h"

#include <QTableWidget>
#include <algorithm>

#include "model/Chains.h"
#include "platform/Conversions.h"

void TablesTest::SetUp() {
    DocumentsTest::SetUp();
    DeleteProjectTree(ProjectRoot);
    ProjectRoot = new TGrsed;
    ProjectRoot->TotalDesignPower = 10;
}

TGrsed& TablesTest::AddSwitchboard(int number) {
    auto* sw = new TGrsed;
    sw->SwitchboardNumber = number;
    sw->SwitchboardCableName = "К" + platform::IntToStr(number);
    sw->SwitchboardCableBrand = "АВВГ";
    sw->SwitchboardSection = 95;
    sw->SwitchboardNeutralSection = 50;
    sw->SwitchboardFeederLength = 40;
    sw->SwitchboardInstalledPower = 10;
    sw->SwitchboardDesignPower = 10;
    chains::AppendWalking(ProjectRoot->Switchboards, sw, chains::SwitchboardLink{});
    ++ProjectRoot->SwitchboardCount;
    return *sw;
}

TSitid& TablesTest::AddPanel(TGrsed& sw, int number) {
    auto* panel = new TSitid;
    panel->PanelNumber = number;
    panel->FeederCableName = "П" + platform::IntToStr(number);
    panel->FeederCableBrand = "ВВГ";
    panel->FeederSection = 25;
    panel->FeederSection2 = 35;
    panel->FeederNeutralSection = 16;
    panel->FeederLength = 30;
    panel->InstalledPower = 5;
    panel->DesignPower = 5;
    chains::AppendWalking(sw.Panels, panel, chains::PanelLink{});
    ++sw.PanelCount;
    return *panel;
}

TCxemaGrupd& TablesTest::AddGroup(TSitid& panel, const std::string& name, int conductors) {
    auto* group = new TCxemaGrupd;
    group->GroupName = name;
    group->PhaseKind = conductors;
    group->CableName = "Г" + name;
    group->CableBrand = "ВВГ";
    group->CrossSection = 2.5;
    group->LineLength = 20;
    chains::AppendWalking(panel.SchemeGroups, group, chains::SchemeLink{});
    ++panel.SchemeGroupCount;
    switch (conductors) {
        case 2: {
            auto* record = new TFasaGrup1d;
            record->GroupName1 = name;
            chains::AppendWalking(panel.SinglePhaseGroups, record, chains::SinglePhaseLink{});
            ++panel.SinglePhaseCount;
            break;
        }
        case 3: {
            auto* record = new TFasaGrup2d;
            record->GroupName2 = name;
            chains::AppendWalking(panel.TwoPhaseGroups, record, chains::TwoPhaseLink{});
            ++panel.TwoPhaseCount;
            break;
        }
        default: {
            auto* record = new TFasaGrup3d;
            record->GroupName3 = name;
            chains::AppendWalking(panel.ThreePhaseGroups, record, chains::ThreePhaseLink{});
            ++panel.ThreePhaseCount;
            break;
        }
    }
    return *group;
}

std::vector<std::vector<std::string>> TablesTest::GridTexts(const QTableWidget& grid) {
    std::vector<std::vector<std::string>> rows;
    for (int r = 0; r < grid.rowCount(); ++r) {
        std::vector<std::string> row;
        for (int c = 0; c < grid.columnCount(); ++c) {
            const QTableWidgetItem* item = grid.item(r, c);
            row.push_back(item != nullptr ? item->text().toStdString() : "");
        }
        rows.push_back(row);
    }
    return rows;
}

std::vector<std::string> TablesTest::TextsAt(const std::vector<platform::CanvasOp>& ops, int x) {
    std::vector<std::pair<int, std::string>> found;
    for (const platform::CanvasOp& op : ops)
        if (op.Kind == platform::CanvasOpKind::TextOut && op.Points[0].X == x)
            found.emplace_back(op.Points[0].Y, op.Text);
    std::stable_sort(found.begin(), found.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<std::string> texts;
    for (const auto& [y, text] : found) texts.push_back(text);
    return texts;
}
