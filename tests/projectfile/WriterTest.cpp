// The project file writer: golden sizes and bytes, the record layout and text forms, refused
// texts, and saving to a path without ever losing the previous file.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <csignal>
#include <filesystem>
#include <functional>

#include "GeneratedProject.h"
#include "ProjectFileSupport.h"

using projectfile::BuildProjectFile;
using projectfile::ProjectFileExtras;
using projectfile::SaveProjectFile;

namespace {

TEST(ProjectFileWriter, EmptyProjectIsFiveSlotsACountAndTheTrailer) {
    // 255 x (5 + 6) + 4 = 2809: GroupCounter, GroupCounterCode, transformer, section breaker,
    // transformer breaker rating, the switchboard count 0, then records 143-148.
    TGrsed root;
    const std::vector<char> bytes = Bytes(root);
    std::vector<char> expected(2809, '\0');
    expected[0] = '0';     // record 1
    expected[255] = '0';   // record 2
    expected[1020] = '0';  // record 5
    expected[1279] = '1';  // record 143: 180 MVA
    expected[1280] = '8';
    expected[1281] = '0';
    EXPECT_EQ(bytes, expected);
}

TEST(ProjectFileWriter, OneSwitchboardPanelAndSinglePhaseLine) {
    // 255 x (11 + 21 + 44 + 17 + 11) + 4 x (1 + 1 + 4) = 26520 + 24 = 26544
    const projectfile::ProjectTree root = OneLineProject(2);
    const std::vector<char> bytes = Bytes(*root);
    ASSERT_EQ(bytes.size(), 26544u);
    EXPECT_EQ(WordAt(bytes, 1275), 1);  // switchboards
    EXPECT_EQ(WordAt(bytes, 1279), 1);  // panels of switchboard 1
    // the four group counts: one scheme record and one single-phase record
    EXPECT_EQ(WordAt(bytes, 6638), 1);
    EXPECT_EQ(WordAt(bytes, 6642), 1);
    EXPECT_EQ(WordAt(bytes, 6646), 0);
    EXPECT_EQ(WordAt(bytes, 6650), 0);
    EXPECT_EQ(SlotAt(bytes, OneLineOffset(8, 2)), "1");   // switchboard number
    EXPECT_EQ(SlotAt(bytes, OneLineOffset(33, 2)), "1");  // panel number
    EXPECT_EQ(SlotAt(bytes, OneLineOffset(77, 2)), "2");  // conductors of the line
    EXPECT_EQ(SlotAt(bytes, OneLineOffset(103, 2)),
              "\xC3\xF0"
              "1");  // "Гр1"
    EXPECT_EQ(SlotAt(bytes, OneLineOffset(143, 2)), "180");
}

TEST(ProjectFileWriter, SizeFollowsTheCountsOfALargeProject) {
    ProjectBuilder builder;
    long long panels = 0, n[5] = {0, 0, 0, 0, 0};
    int panelNumber = 0;
    for (int s = 1; s <= 3; ++s) {
        builder.AddSwitchboard(s);
        const int panelsHere = s == 1 ? 0 : s == 2 ? 2 : 5;
        for (int p = 0; p < panelsHere; ++p) {
            builder.AddPanel(s, ++panelNumber);
            ++panels;
            for (int g = 0; g < 4 * panelNumber; ++g) {
                const int kind = 2 + (g + panelNumber) % 3;
                builder.AddGroup(panelNumber, kind, "G" + std::to_string(panelNumber * 100 + g));
                ++n[1];
                ++n[kind];
            }
        }
    }
    const long long expected =
        255 * (11 + 21 * 3 + 44 * panels + 17 * n[1] + 11 * n[2] + 18 * n[3] + 20 * n[4]) +
        4 * (1 + 3 + 4 * panels);
    EXPECT_EQ(static_cast<long long>(Bytes(builder.Root()).size()), expected);
}

TEST(ProjectFileWriter, SavingTwiceGivesIdenticalBytes) {
    ProjectBuilder builder;
    builder.AddSwitchboard(1);
    builder.AddPanel(1, 1);
    builder.AddGroup(1, 2, "Гр1").scheme->Power = 1.0L / 3.0L;
    builder.AddGroup(1, 4, "Гр2").three->PhasePowers = {0.1L, 0.2L, 0.3L};
    ProjectFileExtras extras;
    extras.Stamp.DevelopedBy = "Иванов";
    EXPECT_EQ(Bytes(builder.Root(), extras), Bytes(builder.Root(), extras));
}

// Counts that disagree with the chains must not cut or overrun the file: the chain is what is
// saved, and the counts written are its length.
TEST(ProjectFileWriter, CountsWrittenAreTheChainLengths) {
    ProjectBuilder::Line line;
    projectfile::ProjectTree root = OneLineProject(2, &line);
    TGrsed* sw = root->Switchboards.First;
    TSitid* panel = sw->Panels.First;
    root->SwitchboardCount = 3;
    sw->PanelCount = 4;
    panel->SchemeGroupCount = 5;
    panel->TwoPhaseCount = 2;
    const std::vector<char> bytes = Bytes(*root);
    ASSERT_EQ(bytes.size(), 26544u);
    EXPECT_EQ(WordAt(bytes, 1275), 1);
    EXPECT_EQ(SlotAt(bytes, OneLineOffset(10, 2)), "1");  // the switchboard's copy of the count
    EXPECT_EQ(WordAt(bytes, 1279), 1);
    EXPECT_EQ(WordAt(bytes, 6638), 1);
    EXPECT_EQ(WordAt(bytes, 6646), 0);
}

// ---------------------------------------------------------------------------------------------
// Each record's field and text form, in the file of one line of the given kind.

struct Context {
    TGrsed& root;
    TGrsed& sw;
    TSitid& panel;
    ProjectBuilder::Line& line;
    ProjectFileExtras& extras;
};

struct RecordCase {
    int record;
    int kind;  // the line's kind, which selects its phase block
    std::function<void(Context&)> set;
    std::string expected;  // Windows-1251
};

void PrintTo(const RecordCase& c, std::ostream* os) {
    *os << "record " << c.record << " of a line of kind " << c.kind;
}

class ProjectFileRecords : public ::testing::TestWithParam<RecordCase> {};

TEST_P(ProjectFileRecords, FieldIsWrittenInItsRecord) {
    const RecordCase& c = GetParam();
    ProjectBuilder::Line line;
    projectfile::ProjectTree root = OneLineProject(c.kind, &line);
    ProjectFileExtras extras;
    Context context{*root, *root->Switchboards.First, *root->Switchboards.First->Panels.First, line,
                    extras};
    c.set(context);
    EXPECT_EQ(SlotAt(Bytes(*root, extras), OneLineOffset(c.record, c.kind)), c.expected);
}

const auto nothing = [](Context&) {};

INSTANTIATE_TEST_SUITE_P(
    Layout, ProjectFileRecords,
    ::testing::Values(
        // header
        RecordCase{1, 2, [](Context& c) { c.extras.GroupCounter = 7; }, "7"},
        RecordCase{2, 2, [](Context& c) { c.extras.GroupCounterCode = 1400; }, "1400"},
        RecordCase{3, 2, [](Context& c) { c.root.TransformerName = "ТМ-400"; }, "\xD2\xCC-400"},
        RecordCase{4, 2, [](Context& c) { c.root.SectionBreakerType = "ВА57"; },
                   "\xC2\xC0"
                   "57"},
        RecordCase{5, 2, [](Context& c) { c.root.TransformerBreakerRating = 1000; }, "1000"},
        // switchboard
        RecordCase{9, 2, [](Context& c) { c.sw.SchemeOrder = 4; }, "4"},
        RecordCase{10, 2, [](Context& c) { c.sw.SwitchboardCount = 9; }, "1"},
        RecordCase{11, 2, [](Context& c) { c.sw.SwitchboardFeederLength = 45.5; }, "45,5"},
        RecordCase{12, 2, [](Context& c) { c.sw.SwitchboardInputRating = 400; }, "400"},
        RecordCase{13, 2, [](Context& c) { c.sw.SwitchboardBreakerRating = 250; }, "250"},
        RecordCase{14, 2, [](Context& c) { c.sw.SwitchboardSection = 95; }, "95"},
        RecordCase{15, 2, [](Context& c) { c.sw.SwitchboardLossA = 0.125; }, "0,125"},
        RecordCase{17, 2, [](Context& c) { c.sw.SwitchboardLossC = 2.5; }, "2,5"},
        RecordCase{18, 2, [](Context& c) { c.sw.ChangedMark = 1; }, "1"},
        RecordCase{19, 2, [](Context& c) { c.sw.SwitchboardFaultCurrent1 = 1234.5; }, "1234,5"},
        RecordCase{20, 2, [](Context& c) { c.sw.SwitchboardTemperature = -5; }, "-5"},
        RecordCase{21, 2, [](Context& c) { c.sw.SwitchboardFaultCurrent3 = 8000; }, "8000"},
        RecordCase{22, 2, [](Context& c) { c.sw.SwitchboardSurgeCurrent = 12.75; }, "12,75"},
        RecordCase{23, 2, [](Context& c) { c.sw.SwitchboardTable = "T23"; }, "T23"},
        RecordCase{24, 2, [](Context& c) { c.sw.SwitchboardConductorMaterial = "Медь"; },
                   "\xCC\xE5\xE4\xFC"},
        RecordCase{25, 2, [](Context& c) { c.sw.SwitchboardCableBrand = "B25"; }, "B25"},
        RecordCase{26, 2, [](Context& c) { c.sw.SwitchboardBreakerType = "T26"; }, "T26"},
        RecordCase{27, 2, [](Context& c) { c.sw.SwitchboardLaying = "L27"; }, "L27"},
        RecordCase{28, 2, [](Context& c) { c.sw.SwitchboardCableName = "W28"; }, "W28"},
        // panel
        RecordCase{34, 2, [](Context& c) { c.panel.Position = 3; }, "3"},
        RecordCase{35, 2, [](Context& c) { c.panel.CascadeHeadNumber = 7; }, "7"},
        RecordCase{36, 2, [](Context& c) { c.panel.FeedingPanelNumber = 8; }, "8"},
        RecordCase{37, 2, [](Context& c) { c.panel.FedFromPanel = 1; }, "1"},
        RecordCase{38, 2, [](Context& c) { c.panel.FedFromSwitchboard = 200; }, "200"},
        RecordCase{39, 2, [](Context& c) { c.panel.CascadeFlag = 1; }, "1"},
        RecordCase{40, 2, [](Context& c) { c.panel.FeederLength = 30; }, "30"},
        RecordCase{41, 2, [](Context& c) { c.panel.CascadeLength = 62.5; }, "62,5"},
        RecordCase{42, 2, [](Context& c) { c.panel.FeederBreakerRating = 160; }, "160"},
        RecordCase{43, 2, [](Context& c) { c.panel.TrunkBreakerRating = 200; }, "200"},
        RecordCase{44, 2, [](Context& c) { c.panel.PanelBreakerRating = 100; }, "100"},
        RecordCase{45, 2, [](Context& c) { c.panel.CascadeBreakerRating = 125; }, "125"},
        RecordCase{46, 2, [](Context& c) { c.panel.FeederSection = 16; }, "16"},
        RecordCase{47, 2, [](Context& c) { c.panel.FeederSection2 = 25; }, "25"},
        RecordCase{48, 2, [](Context& c) { c.panel.FeederSectionByCurrent = 35; }, "35"},
        RecordCase{49, 2, [](Context& c) { c.panel.LossPartA = 1e-6; }, "1E-6"},
        RecordCase{51, 2, [](Context& c) { c.panel.LossPartC = 1e20; }, "1E20"},
        RecordCase{52, 2, [](Context& c) { c.panel.LossPart2A = 0.5; }, "0,5"},
        RecordCase{54, 2, [](Context& c) { c.panel.LossPart2C = 0.00001; }, "0,00001"},
        RecordCase{55, 2, [](Context& c) { c.panel.OnTrunk = 1; }, "1"},
        RecordCase{56, 2, [](Context& c) { c.panel.PanelFlagB = 1; }, "1"},
        RecordCase{57, 2, [](Context& c) { c.panel.PanelFaultCurrent1 = 512; }, "512"},
        RecordCase{58, 2, [](Context& c) { c.panel.FeederTemperature = 25; }, "25"},
        RecordCase{59, 2, [](Context& c) { c.panel.HangsOnPanel = -12; }, "-12"},
        RecordCase{60, 2, [](Context& c) { c.panel.PanelFlagC = 1; }, "1"},
        RecordCase{61, 2, [](Context& c) { c.panel.CascadeCurrentA = 10.5; }, "10,5"},
        RecordCase{63, 2, [](Context& c) { c.panel.CascadeCurrentC = 11.5; }, "11,5"},
        RecordCase{64, 2, nothing, "1"},
        RecordCase{66, 2, [](Context& c) { c.panel.CascadeCosPhiC = 0.85; }, "0,85"},
        RecordCase{67, 2, [](Context& c) { c.panel.PanelFaultCurrent3 = 3000; }, "3000"},
        RecordCase{68, 2, [](Context& c) { c.panel.PanelSurgeCurrent = 4.25; }, "4,25"},
        RecordCase{69, 2, [](Context& c) { c.panel.DemandFactor = 0.7; }, "0,7"},
        RecordCase{70, 2, nothing, "0"},
        RecordCase{71, 2, [](Context& c) { c.panel.FeederCableBrand = "B71"; }, "B71"},
        RecordCase{72, 2, [](Context& c) { c.panel.FeederConductorMaterial = "M72"; }, "M72"},
        RecordCase{73, 2, [](Context& c) { c.panel.PanelBreakerType = "T73"; }, "T73"},
        RecordCase{74, 2, [](Context& c) { c.panel.TrunkBreakerType = "T74"; }, "T74"},
        RecordCase{75, 2, [](Context& c) { c.panel.FeederLayingMethod = "В земле"; },
                   "\xC2 \xE7\xE5\xEC\xEB\xE5"},
        RecordCase{76, 2, [](Context& c) { c.panel.FeederCableName = "W76"; }, "W76"},
        // scheme record
        RecordCase{78, 2, [](Context& c) { c.line.scheme->Power = 0.1L; }, "0,1"},
        RecordCase{78, 3, [](Context& c) { c.line.scheme->Power = 1.0L / 3; }, "0,333333333333333"},
        RecordCase{79, 2, [](Context& c) { c.line.scheme->DesignCurrent = 9.09; }, "9,09"},
        RecordCase{80, 2, [](Context& c) { c.line.scheme->CrossSection = 2.5; }, "2,5"},
        RecordCase{81, 2, [](Context& c) { c.line.scheme->LineLength = 40; }, "40"},
        RecordCase{82, 2, [](Context& c) { c.line.scheme->CosPhi = 0.85; }, "0,85"},
        RecordCase{83, 2, [](Context& c) { c.line.scheme->BreakerRating = 16; }, "16"},
        RecordCase{84, 2, [](Context& c) { c.line.scheme->SinglePhaseFaultCurrent = 150.5; },
                   "150,5"},
        RecordCase{85, 2, [](Context& c) { c.line.scheme->VoltageDeviation = -1.25; }, "-1,25"},
        RecordCase{86, 2, [](Context& c) { c.line.scheme->AmbientTemperature = -3; }, "-3"},
        RecordCase{87, 2, [](Context& c) { c.line.scheme->CableTable = "T87"; }, "T87"},
        RecordCase{88, 2, [](Context& c) { c.line.scheme->LayingMethod = "L88"; }, "L88"},
        RecordCase{89, 2, [](Context& c) { c.line.scheme->CableBrand = "B89"; }, "B89"},
        RecordCase{90, 2, nothing,
                   "\xC3\xF0"
                   "1"},
        RecordCase{91, 2, [](Context& c) { c.line.scheme->BreakerType = "T91"; }, "T91"},
        RecordCase{92, 2, [](Context& c) { c.line.scheme->ConductorMaterial = "M92"; }, "M92"},
        RecordCase{93, 2, [](Context& c) { c.line.scheme->CableName = ""; }, ""},
        // single-phase record
        RecordCase{94, 2, nothing, "2"},
        RecordCase{95, 2, [](Context& c) { c.line.single->Power1 = 2.5L; }, "2,5"},
        RecordCase{96, 2, [](Context& c) { c.line.single->Current1 = 11.36; }, "11,36"},
        RecordCase{97, 2, [](Context& c) { c.line.single->AllowedCurrent1 = 27; }, "27"},
        RecordCase{98, 2, [](Context& c) { c.line.single->LineLength1 = 41; }, "41"},
        RecordCase{99, 2, [](Context& c) { c.line.single->CosPhi1 = 0.9; }, "0,9"},
        RecordCase{100, 2, [](Context& c) { c.line.single->SavedValue1 = 3.5; }, "3,5"},
        RecordCase{101, 2, [](Context& c) { c.line.single->CableBrand1 = "B101"; }, "B101"},
        RecordCase{102, 2, [](Context& c) { c.line.single->CableTable1 = "T102"; }, "T102"},
        RecordCase{103, 2, nothing,
                   "\xC3\xF0"
                   "1"},
        RecordCase{104, 2, [](Context& c) { c.line.single->BreakerType = "T104"; }, "T104"},
        // two-phase record
        RecordCase{105, 3, nothing, "3"},
        RecordCase{106, 3, [](Context& c) { c.line.two->PartPowers[0] = 1.5L; }, "1,5"},
        RecordCase{107, 3, [](Context& c) { c.line.two->PartPowers[1] = 2; }, "2"},
        RecordCase{108, 3, nothing, "1"},
        RecordCase{109, 3, [](Context& c) { c.line.two->PartCosPhi[1] = 0.8; }, "0,8"},
        RecordCase{110, 3, [](Context& c) { c.line.two->Power2 = 3.5L; }, "3,5"},
        RecordCase{111, 3, [](Context& c) { c.line.two->CurrentA = 5.5; }, "5,5"},
        RecordCase{113, 3, [](Context& c) { c.line.two->CurrentC = 6.5; }, "6,5"},
        RecordCase{114, 3, [](Context& c) { c.line.two->AllowedCurrent2 = 21; }, "21"},
        RecordCase{115, 3, [](Context& c) { c.line.two->LineLength2 = 55; }, "55"},
        RecordCase{116, 3, [](Context& c) { c.line.two->CosPhi2 = 0.95; }, "0,95"},
        RecordCase{117, 3, [](Context& c) { c.line.two->SavedValue2 = 7; }, "7"},
        RecordCase{118, 3, [](Context& c) { c.line.two->Symmetric2 = 1; }, "1"},
        RecordCase{119, 3, [](Context& c) { c.line.two->CableBrand2 = "B119"; }, "B119"},
        RecordCase{120, 3, [](Context& c) { c.line.two->CableTable2 = "T120"; }, "T120"},
        RecordCase{121, 3, nothing,
                   "\xC3\xF0"
                   "1"},
        RecordCase{122, 3, [](Context& c) { c.line.two->BreakerType = "T122"; }, "T122"},
        // three-phase record
        RecordCase{123, 4, nothing, "4"},
        RecordCase{124, 4, [](Context& c) { c.line.three->PhasePowers[0] = 0.25L; }, "0,25"},
        RecordCase{126, 4, [](Context& c) { c.line.three->PhasePowers[2] = 1.75L; }, "1,75"},
        RecordCase{127, 4, nothing, "1"},
        RecordCase{129, 4, [](Context& c) { c.line.three->PhaseCosPhi[2] = 0.75; }, "0,75"},
        RecordCase{130, 4, [](Context& c) { c.line.three->Power3 = 12; }, "12"},
        RecordCase{131, 4, [](Context& c) { c.line.three->CurrentA3 = 8.5; }, "8,5"},
        RecordCase{133, 4, [](Context& c) { c.line.three->CurrentC3 = 9.5; }, "9,5"},
        RecordCase{134, 4, [](Context& c) { c.line.three->AllowedCurrent3 = 32; }, "32"},
        RecordCase{135, 4, [](Context& c) { c.line.three->LineLength3 = 65; }, "65"},
        RecordCase{136, 4, [](Context& c) { c.line.three->CosPhi3 = 0.92; }, "0,92"},
        RecordCase{137, 4, [](Context& c) { c.line.three->SavedValue3 = 8; }, "8"},
        RecordCase{138, 4, nothing, "0"},
        RecordCase{139, 4, [](Context& c) { c.line.three->CableBrand3 = "B139"; }, "B139"},
        RecordCase{140, 4, [](Context& c) { c.line.three->CableTable3 = "T140"; }, "T140"},
        RecordCase{141, 4, nothing,
                   "\xC3\xF0"
                   "1"},
        RecordCase{142, 4, [](Context& c) { c.line.three->BreakerType = "T142"; }, "T142"},
        // trailer
        RecordCase{143, 3, [](Context& c) { c.root.SupplyScPower = 250.5; }, "250,5"},
        RecordCase{144, 2, [](Context& c) { c.extras.Stamp.DocumentCode = "Ш-1"; }, "\xD8-1"},
        RecordCase{145, 2, [](Context& c) { c.extras.Stamp.DevelopedBy = "D"; }, "D"},
        RecordCase{146, 2, [](Context& c) { c.extras.Stamp.CheckedBy = "C"; }, "C"},
        RecordCase{147, 2, [](Context& c) { c.extras.Stamp.ApprovedBy = "A"; }, "A"},
        RecordCase{148, 4, [](Context& c) { c.extras.Stamp.NormControl = "N"; }, "N"}));

// ---------------------------------------------------------------------------------------------
// Texts the file cannot hold are refused, naming the field; nothing is truncated.

struct RefusedText {
    const char* what;
    std::function<void(Context&)> set;
    std::string message;  // "" when the text fits
};

void PrintTo(const RefusedText& c, std::ostream* os) {
    *os << c.what;
}

class ProjectFileTexts : public ::testing::TestWithParam<RefusedText> {};

TEST_P(ProjectFileTexts, TextIsWrittenWholeOrRefused) {
    const RefusedText& c = GetParam();
    ProjectBuilder::Line line;
    projectfile::ProjectTree root = OneLineProject(2, &line);
    ProjectFileExtras extras;
    Context context{*root, *root->Switchboards.First, *root->Switchboards.First->Panels.First, line,
                    extras};
    c.set(context);
    std::vector<char> bytes;
    EXPECT_EQ(BuildProjectFile(*root, extras, bytes), c.message) << c.what;
    if (!c.message.empty()) {
        EXPECT_TRUE(bytes.empty());
    }
}

const std::string k254(254, 'a');
std::string Repeated(const std::string& s, int n) {
    std::string out;
    for (int i = 0; i < n; ++i) out += s;
    return out;
}

INSTANTIATE_TEST_SUITE_P(
    Refusals, ProjectFileTexts,
    ::testing::Values(
        RefusedText{"254 bytes fit", [](Context& c) { c.panel.FeederCableName = k254; }, ""},
        RefusedText{"254 Cyrillic letters fit",
                    [](Context& c) { c.panel.FeederCableName = Repeated("ж", 254); }, ""},
        RefusedText{"255 bytes", [](Context& c) { c.panel.FeederCableName = k254 + "b"; },
                    "Проект не сохранён: текст поля «название кабеля» щита 1 длиннее 254 байт."},
        RefusedText{"255 Cyrillic letters",
                    [](Context& c) { c.sw.SwitchboardCableName = Repeated("ж", 255); },
                    "Проект не сохранён: текст поля «название кабеля» ГРЩ 1 длиннее 254 байт."},
        RefusedText{"no Windows-1251 form", [](Context& c) { c.line.scheme->GroupName = "中"; },
                    "Проект не сохранён: текст поля «название группы» группы \"中\" щита 1 "
                    "нельзя записать в кодировке Windows-1251."},
        RefusedText{"not UTF-8", [](Context& c) { c.line.single->CableTable1 = "\xFF"; },
                    "Проект не сохранён: текст поля «таблица длительных токов» группы \"Гр1\" "
                    "щита 1 нельзя записать в кодировке Windows-1251."},
        RefusedText{"inherited breaker type of a phase record",
                    [](Context& c) { c.line.single->BreakerType = "✓"; },
                    "Проект не сохранён: текст поля «тип автомата» группы \"Гр1\" щита 1 нельзя "
                    "записать в кодировке Windows-1251."},
        RefusedText{"NUL inside",
                    [](Context& c) { c.root.TransformerName = std::string("ТМ") + '\0' + "-400"; },
                    "Проект не сохранён: текст поля «трансформатор» проекта содержит нулевой "
                    "символ."},
        RefusedText{"title block", [](Context& c) { c.extras.Stamp.NormControl = k254 + "b"; },
                    "Проект не сохранён: текст поля «нормоконтроль» проекта длиннее 254 байт."},
        // Numbers the reader would refuse as damage are not written either.
        RefusedText{"infinite fault current",
                    [](Context& c) { c.panel.PanelFaultCurrent1 = HUGE_VAL; },
                    "Проект не сохранён: значение поля «ток однофазного КЗ» щита 1 не является "
                    "конечным числом (INF)."},
        RefusedText{"negative infinity",
                    [](Context& c) { c.line.scheme->VoltageDeviation = -HUGE_VAL; },
                    "Проект не сохранён: значение поля «отклонение напряжения» группы \"Гр1\" "
                    "щита 1 не является конечным числом (-INF)."},
        RefusedText{"not a number", [](Context& c) { c.sw.SwitchboardLossB = std::nan(""); },
                    "Проект не сохранён: значение поля «потеря напряжения, фаза В» ГРЩ 1 не "
                    "является конечным числом (NAN)."},
        RefusedText{"extended power beyond a double",
                    [](Context& c) { c.line.single->Power1 = 1e400L; },
                    "Проект не сохранён: значение поля «мощность» группы \"Гр1\" щита 1 не "
                    "является конечным числом (INF)."},
        // 1,79769313486232E308, the largest double in 15 digits, is beyond the largest double.
        RefusedText{"largest double", [](Context& c) { c.sw.SwitchboardFeederLength = DBL_MAX; },
                    "Проект не сохранён: значение поля «длина питающей линии» ГРЩ 1 слишком "
                    "велико (1,79769313486232E308)."},
        RefusedText{"1E308 fits", [](Context& c) { c.sw.SwitchboardFeederLength = 1e308; }, ""},
        RefusedText{"short-circuit power of the project",
                    [](Context& c) { c.root.SupplyScPower = HUGE_VAL; },
                    "Проект не сохранён: значение поля «мощность КЗ энергосистемы» проекта не "
                    "является конечным числом (INF)."}));

// ---------------------------------------------------------------------------------------------
// Saving to a path

class ProjectFileSave : public ::testing::Test {
protected:
    void SetUp() override { folder_ = MakeTempFolder(); }
    void TearDown() override { std::filesystem::remove_all(folder_); }

    // Names in the folder, so that a test sees every temporary file left behind.
    std::vector<std::string> FolderNames() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(folder_))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    std::string folder_;
};

TEST_F(ProjectFileSave, WritesTheBytesAndReplacesTheOldFile) {
    const std::string path = folder_ + "/Проект.VPQ";
    TGrsed empty;
    ASSERT_EQ(SaveProjectFile(path, empty, {}), "");
    EXPECT_EQ(FileBytes(path).size(), 2809u);
    const projectfile::ProjectTree root = OneLineProject(3);
    ASSERT_EQ(SaveProjectFile(path, *root, {}), "");
    EXPECT_EQ(FileBytes(path), Bytes(*root));
    ASSERT_EQ(SaveProjectFile(folder_ + "/Второй.VPQ", *root, {}), "");
    EXPECT_EQ(FileBytes(folder_ + "/Второй.VPQ"), FileBytes(path));
    EXPECT_EQ(FolderNames(), (std::vector<std::string>{"Второй.VPQ", "Проект.VPQ"}));
}

TEST_F(ProjectFileSave, RefusedTextKeepsTheOldFile) {
    const std::string path = folder_ + "/Проект.VPQ";
    ProjectBuilder::Line line;
    projectfile::ProjectTree root = OneLineProject(2, &line);
    ASSERT_EQ(SaveProjectFile(path, *root, {}), "");
    const std::vector<char> before = FileBytes(path);
    line.scheme->CableName = "中";
    EXPECT_NE(SaveProjectFile(path, *root, {}), "");
    EXPECT_EQ(FileBytes(path), before);
    EXPECT_EQ(FolderNames(), std::vector<std::string>{"Проект.VPQ"});
}

TEST_F(ProjectFileSave, MissingFolderIsReported) {
    TGrsed empty;
    const std::string path = folder_ + "/нет/Проект.VPQ";
    EXPECT_EQ(SaveProjectFile(path, empty, {}),
              "Не удалось записать файл \"" + path + "\": папка не существует.");
}

TEST_F(ProjectFileSave, FolderInThePlaceOfTheFileStays) {
    const std::string path = folder_ + "/Проект.VPQ";
    std::filesystem::create_directory(path);
    TGrsed empty;
    EXPECT_EQ(SaveProjectFile(path, empty, {}),
              "Не удалось записать файл \"" + path + "\": на месте файла находится папка.");
    EXPECT_TRUE(std::filesystem::is_directory(path));
    EXPECT_EQ(FolderNames(), std::vector<std::string>{"Проект.VPQ"});
}

TEST_F(ProjectFileSave, WriteThatFailsMidwayKeepsTheOldFile) {
    const std::string path = folder_ + "/Проект.VPQ";
    TGrsed empty;
    ASSERT_EQ(SaveProjectFile(path, empty, {}), "");
    const projectfile::ProjectTree root = OneLineProject(2);
    // Files may not grow past 10000 bytes while the 26544 bytes are written.
    rlimit limit;
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &limit), 0);
    const rlimit old = limit;
    limit.rlim_cur = 10000;
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limit), 0);
    const std::string error = SaveProjectFile(path, *root, {});
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(error, "Не удалось записать файл \"" + path + "\": файл слишком велик.");
    EXPECT_EQ(FileBytes(path), Bytes(empty));
    EXPECT_EQ(FolderNames(), std::vector<std::string>{"Проект.VPQ"});
}

// A project of several megabytes is written as it is made, through a bounded buffer: the file is
// the bytes of the whole project; a value refused near its end leaves the old file and no
// temporary one, though megabytes of it were written by then.
TEST_F(ProjectFileSave, ALargeProjectIsWrittenAsItIsMade) {
    const std::string path = folder_ + "/Проект.VPQ";
    TGrsed empty;
    ASSERT_EQ(SaveProjectFile(path, empty, {}), "");
    BuildGeneratedProject(2, 30, 30);
    std::vector<char> whole;
    ASSERT_EQ(BuildProjectFile(*ProjectRoot, {}, whole), "");
    ASSERT_GT(whole.size(), 4u << 20);
    const std::string copy = folder_ + "/Копия.VPQ";
    ASSERT_EQ(SaveProjectFile(copy, *ProjectRoot, {}), "");
    EXPECT_EQ(FileBytes(copy), whole);
    std::filesystem::remove(copy);

    TGrsed& sw = *ProjectRoot->Switchboards.Last;
    sw.Panels.Last->SchemeGroups.Last->CableName = "中";
    EXPECT_NE(SaveProjectFile(path, *ProjectRoot, {}), "");
    EXPECT_EQ(FileBytes(path), Bytes(empty));
    EXPECT_EQ(FolderNames(), std::vector<std::string>{"Проект.VPQ"});
    DeleteProjectTree(ProjectRoot);
}

// A file without write permission is not replaced behind the user's back: refused as a write in
// place would be, also when the program runs as root.
TEST_F(ProjectFileSave, FileWithoutWritePermissionIsRefused) {
    namespace fs = std::filesystem;
    const std::string path = folder_ + "/Проект.VPQ";
    TGrsed empty;
    ASSERT_EQ(SaveProjectFile(path, empty, {}), "");
    fs::permissions(path, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    const projectfile::ProjectTree root = OneLineProject(2);
    EXPECT_EQ(SaveProjectFile(path, *root, {}),
              "Не удалось записать файл \"" + path + "\": нет доступа.");
    EXPECT_EQ(FileBytes(path), Bytes(empty));
    EXPECT_EQ(fs::status(path).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    EXPECT_EQ(FolderNames(), std::vector<std::string>{"Проект.VPQ"});
}

TEST_F(ProjectFileSave, ReadOnlyFolderKeepsTheOldFile) {
    if (::geteuid() == 0) GTEST_SKIP() << "permissions do not bind root";
    const std::string path = folder_ + "/Проект.VPQ";
    TGrsed empty;
    ASSERT_EQ(SaveProjectFile(path, empty, {}), "");
    std::filesystem::permissions(
        folder_, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    const projectfile::ProjectTree root = OneLineProject(2);
    const std::string error = SaveProjectFile(path, *root, {});
    std::filesystem::permissions(folder_, std::filesystem::perms::owner_all);
    EXPECT_EQ(error, "Не удалось записать файл \"" + path + "\": нет доступа.");
    EXPECT_EQ(FileBytes(path).size(), 2809u);
    EXPECT_EQ(FolderNames(), std::vector<std::string>{"Проект.VPQ"});
}

}  // namespace
