#include "DrawingFixture.h"

#include <algorithm>
#include <ostream>

#include "app/Mainform.h"
#include "app/SchemeWindow.h"
#include "drawings/DrawingState.h"
#include "model/Chains.h"
#include "platform/Image.h"

namespace {

// Appends at the tail as the calculation does; the owner's cursor stays on the first element.
template <typename T, typename Link>
void Append(ChainBlock<T>& owner, T* element, Link link) {
    if (!owner.First) {
        owner.First = owner.Cursor = owner.Walker = owner.Last = element;
        return;
    }
    link(*owner.Last).Next = element;
    owner.Walker = owner.Last = element;
}

TCxemaGrupd* SchemeRecord(TSitid* panel, const TestGroup& group, int conductors) {
    auto* scheme = new TCxemaGrupd;
    scheme->GroupName = group.name;
    scheme->Power = group.power;
    scheme->LineLength = group.length;
    scheme->CrossSection = group.section;
    scheme->ConductorMaterial = group.material;
    scheme->BreakerType = group.breakerType;
    scheme->BreakerRating = group.breakerRating;
    scheme->CableBrand = group.cableBrand;
    scheme->PhaseKind = conductors;
    Append(panel->SchemeGroups, scheme, chains::SchemeLink{});
    ++panel->SchemeGroupCount;
    return scheme;
}

}  // namespace

TestGroup NamedGroup(const std::string& name, long double power) {
    TestGroup group;
    group.name = name;
    group.power = power;
    return group;
}

void DrawingTest::SetUp() {
    AppFixture::SetUp();
    // The pictures are laid out from the main window's height and the scheme window's width.
    Form1->resize(1000, 800);
    Form2->resize(700, 500);
    NewProject();
}

void DrawingTest::TearDown() {
    DeleteProjectTree(ProjectRoot);
    DrawingMemoryBudget = kDefaultDrawingMemoryBudget;
    OutOfMemoryFallbacks = 0;
    AppFixture::TearDown();
}

void DrawingTest::NewProject() {
    DeleteProjectTree(ProjectRoot);
    ProjectRoot = new TGrsed;
}

TGrsed* DrawingTest::AddSwitchboard(int number) {
    TGrsed record;
    record.SwitchboardNumber = number;
    ProjectRoot->AddSwitchboard(record);
    ++ProjectRoot->SwitchboardCount;
    return ProjectRoot->Switchboards.Last;
}

TSitid* DrawingTest::AddPanel(TGrsed* sw, int number) {
    TSitid record;
    record.PanelNumber = number;
    record.Position = sw->PanelCount + 1;
    ProjectRoot->AddPanel(sw->SwitchboardNumber, record);
    ++sw->PanelCount;
    TSitid* panel = sw->Panels.Last;
    MakeCurrent(sw, panel);
    return panel;
}

void DrawingTest::AddTwoPanelSwitchboard() {
    TGrsed* sw = AddSwitchboard(1);
    for (const auto& [number, groups] : {std::pair{1, 3}, std::pair{2, 5}}) {
        TSitid* panel = AddPanel(sw, number);
        for (int g = 0; g < groups; ++g)
            AddSingle(panel, NamedGroup(std::to_string(number) + "." + std::to_string(g), 1), g % 3,
                      4.55);
    }
}

TCxemaGrupd* DrawingTest::AddSingle(TSitid* panel, const TestGroup& group, int phase,
                                    double current) {
    TCxemaGrupd* scheme = SchemeRecord(panel, group, 2);
    scheme->DesignCurrent = current;
    auto* record = new TFasaGrup1d;
    record->GroupName1 = group.name;
    record->Power1 = group.power;
    Append(panel->SinglePhaseGroups, record, chains::SinglePhaseLink{});
    ++panel->SinglePhaseCount;
    for (int x = 0; x < 3; ++x) {
        auto* cell = new TFasaGrup1d;
        if (x == phase) {
            cell->GroupName1 = group.name;
            cell->Power1 = group.power;
            (x == 0   ? cell->PhaseCurrentA1
             : x == 1 ? cell->PhaseCurrentB1
                      : cell->PhaseCurrentC1) = current;
        }
        Append(panel->SinglePhaseByPhase[x], cell, chains::SinglePhaseByPhaseLink{x});
    }
    ++panel->RowsOfThree;
    return scheme;
}

TCxemaGrupd* DrawingTest::AddTwo(TSitid* panel, const TestGroup& group,
                                 std::array<long double, 3> phasePowers,
                                 std::array<double, 3> currents, bool balanced) {
    TCxemaGrupd* scheme = SchemeRecord(panel, group, 3);
    auto* record = new TFasaGrup2d;
    record->GroupName2 = group.name;
    record->Power2 = group.power;
    record->Symmetric2 = balanced ? 1 : 0;
    Append(panel->TwoPhaseGroups, record, chains::TwoPhaseLink{});
    ++panel->TwoPhaseCount;
    for (int x = 0; x < 3; ++x) {
        // The row of the unused phase stays blank, as the distribution leaves it.
        auto* row = new TFasaGrup2d;
        if (phasePowers[x] != 0) {
            row->GroupName2 = group.name;
            row->Symmetric2 = record->Symmetric2;
            row->Power2 = phasePowers[x];
            row->CurrentA = x == 0 ? currents[0] : 0;
            row->CurrentB = x == 1 ? currents[1] : 0;
            row->CurrentC = x == 2 ? currents[2] : 0;
            row->PhaseUsed = 1;
        }
        Append(panel->TwoPhaseByPhase[x], row, chains::TwoPhaseByPhaseLink{x});
    }
    return scheme;
}

TCxemaGrupd* DrawingTest::AddThree(TSitid* panel, const TestGroup& group,
                                   std::array<long double, 3> phasePowers,
                                   std::array<double, 3> currents, bool balanced,
                                   std::array<int, 3> phaseNumbers) {
    TCxemaGrupd* scheme = SchemeRecord(panel, group, 4);
    auto* record = new TFasaGrup3d;
    record->GroupName3 = group.name;
    record->Power3 = group.power;
    record->Symmetric3 = balanced ? 1 : 0;
    Append(panel->ThreePhaseGroups, record, chains::ThreePhaseLink{});
    ++panel->ThreePhaseCount;
    for (int x = 0; x < 3; ++x) {
        auto* row = new TFasaGrup3d;
        row->GroupName3 = group.name;
        row->Symmetric3 = record->Symmetric3;
        row->Power3 = phasePowers[x];
        row->CurrentA3 = x == 0 ? currents[0] : 0;
        row->CurrentB3 = x == 1 ? currents[1] : 0;
        row->CurrentC3 = x == 2 ? currents[2] : 0;
        row->PhaseNumber = phaseNumbers[x];
        Append(panel->ThreePhaseByPhase[x], row, chains::ThreePhaseByPhaseLink{x});
    }
    return scheme;
}

void DrawingTest::GiveFigures(TSitid* panel) {
    panel->InstalledPower = 12;
    panel->DesignPower = 10.26;
    panel->OwnCurrentA = 18.2;
    panel->OwnCurrentB = 9.1;
    panel->OwnCurrentC = 13.6;
    panel->OwnNeutralCurrent = 7.9;
    panel->OwnDesignCurrent = 16.5;
    panel->VoltageLossC = 2.5;
    panel->MaxVoltageLoss = 2.5;
}

void DrawingTest::MakeCurrent(TGrsed* sw, TSitid* panel) {
    ProjectRoot->Switchboards.Cursor = sw;
    sw->Panels.Cursor = panel;
}

const std::vector<platform::CanvasOp>& DrawingTest::Ops() const {
    static const std::vector<platform::CanvasOp> none;
    if (Form2->Image1 == nullptr) return none;
    const platform::TRecordingDevice* recorder = Form2->Image1->Picture().Canvas()->Recorder();
    return recorder != nullptr ? recorder->Ops() : none;
}

std::vector<PlacedText> TextsOf(const std::vector<platform::CanvasOp>& ops) {
    std::vector<PlacedText> texts;
    for (const platform::CanvasOp& op : ops)
        if (op.Kind == platform::CanvasOpKind::TextOut)
            texts.push_back({op.Points[0].X, op.Points[0].Y, op.Text});
    return texts;
}

std::vector<DrawnLine> LinesOf(const std::vector<platform::CanvasOp>& ops) {
    std::vector<DrawnLine> lines;
    for (const platform::CanvasOp& op : ops)
        if (op.Kind == platform::CanvasOpKind::LineTo)
            lines.push_back({op.Points[0].X, op.Points[0].Y, op.Points[1].X, op.Points[1].Y,
                             op.Pen.Style() == platform::psDash});
    return lines;
}

std::vector<std::string> TextsAt(const std::vector<platform::CanvasOp>& ops, int x, int y) {
    std::vector<std::string> texts;
    for (const PlacedText& t : TextsOf(ops))
        if (t.x == x && t.y == y) texts.push_back(t.text);
    return texts;
}

bool Has(const std::vector<DrawnLine>& lines, const DrawnLine& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

bool Has(const std::vector<PlacedText>& texts, const PlacedText& text) {
    return std::find(texts.begin(), texts.end(), text) != texts.end();
}

std::vector<platform::TRect> RectsOf(const std::vector<platform::CanvasOp>& ops,
                                     platform::CanvasOpKind kind) {
    std::vector<platform::TRect> rects;
    for (const platform::CanvasOp& op : OpsOf(ops, kind)) rects.push_back(op.Rect);
    return rects;
}

int Count(const std::vector<PlacedText>& texts, const std::string& prefix) {
    return int(std::count_if(texts.begin(), texts.end(), [&](const PlacedText& t) {
        return t.text.compare(0, prefix.size(), prefix) == 0;
    }));
}

void ExpectPixels(const platform::TCanvas& canvas, const std::vector<PixelProbe>& probes) {
    for (const PixelProbe& p : probes)
        EXPECT_EQ(canvas.Pixels(p.x, p.y), p.colour) << "at (" << p.x << ", " << p.y << ")";
}

std::ostream& operator<<(std::ostream& out, const PlacedText& text) {
    return out << "(" << text.x << ", " << text.y << ") \"" << text.text << "\"";
}

std::ostream& operator<<(std::ostream& out, const DrawnLine& line) {
    return out << "(" << line.x1 << ", " << line.y1 << ")-(" << line.x2 << ", " << line.y2 << ")"
               << (line.dashed ? " dashed" : "");
}
