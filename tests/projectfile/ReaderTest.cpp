// The project file reader: round trips through the layout table, damaged files that give a
// message and no tree, the tolerated forms, and the reference-table hooks.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>

#include "ProjectFileSupport.h"
#include "model/Chains.h"
#include "platform/Cp1251.h"

using namespace projectfile;

namespace {

bool IsRootRecord(const RecordDef& def) {
    return def.InBlock == Block::Header || def.InBlock == Block::Trailer;
}

// The layout table names every saved field of the model once, at the level that saves it.
TEST(ProjectFileLayout, NamesEverySavedFieldOnce) {
    const std::map<std::string, std::vector<std::string>> saved = {
        {"extras", {"GroupCounter", "GroupCounterCode"}},
        {"stamp", {"DocumentCode", "DevelopedBy", "CheckedBy", "ApprovedBy", "NormControl"}},
        {"root",
         {"TransformerName", "SectionBreakerType", "TransformerBreakerRating", "SwitchboardCount",
          "SupplyScPower"}},
        {"switchboard",
         {"SwitchboardCount",
          "PanelCount",
          "SwitchboardNumber",
          "SwitchboardTemperature",
          "ChangedMark",
          "SchemeOrder",
          "SwitchboardTable",
          "SwitchboardLaying",
          "SwitchboardSection",
          "SwitchboardCableBrand",
          "SwitchboardBreakerType",
          "SwitchboardConductorMaterial",
          "SwitchboardCableName",
          "SwitchboardFeederLength",
          "SwitchboardLossA",
          "SwitchboardLossB",
          "SwitchboardLossC",
          "SwitchboardFaultCurrent1",
          "SwitchboardFaultCurrent3",
          "SwitchboardSurgeCurrent",
          "SwitchboardBreakerRating",
          "SwitchboardInputRating"}},
        {"panel",
         {"PanelNumber",
          "HangsOnPanel",
          "SchemeGroupCount",
          "SinglePhaseCount",
          "TwoPhaseCount",
          "ThreePhaseCount",
          "Position",
          "OnTrunk",
          "PanelFlagB",
          "PanelFlagC",
          "CurrentTableName",
          "FeederCableName",
          "PanelBreakerRating",
          "TrunkBreakerRating",
          "FeederBreakerRating",
          "CascadeBreakerRating",
          "PanelBreakerType",
          "TrunkBreakerType",
          "FeederSection",
          "FeederSectionByCurrent",
          "FeederLayingMethod",
          "FeederSection2",
          "FeederLength",
          "CascadeLength",
          "FeederTemperature",
          "FeedingPanelNumber",
          "CascadeHeadNumber",
          "FedFromPanel",
          "FedFromSwitchboard",
          "CascadeFlag",
          "FeederCableBrand",
          "FeederConductorMaterial",
          "CascadeCurrentA",
          "CascadeCurrentB",
          "CascadeCurrentC",
          "CascadeCosPhiA",
          "CascadeCosPhiB",
          "CascadeCosPhiC",
          "LossPartA",
          "LossPartB",
          "LossPartC",
          "LossPart2A",
          "LossPart2B",
          "LossPart2C",
          "PanelFaultCurrent1",
          "PanelFaultCurrent3",
          "PanelSurgeCurrent",
          "DemandFactor"}},
        {"scheme",
         {"Power", "CosPhi", "LineLength", "DesignCurrent", "CrossSection", "BreakerRating",
          "BreakerType", "CableBrand", "LayingMethod", "CableTable", "ConductorMaterial",
          "VoltageDeviation", "SinglePhaseFaultCurrent", "PhaseKind", "AmbientTemperature",
          "GroupName", "CableName"}},
        {"single",
         {"Power1", "CosPhi1", "LineLength1", "Current1", "AllowedCurrent1", "SavedValue1",
          "PhaseKind1", "CableBrand1", "GroupName1", "CableTable1", "BreakerType"}},
        {"two",
         {"Symmetric2", "Power2", "PartPowers[0]", "PartPowers[1]", "PartCosPhi[0]",
          "PartCosPhi[1]", "CosPhi2", "LineLength2", "CurrentA", "CurrentB", "CurrentC",
          "AllowedCurrent2", "SavedValue2", "CableBrand2", "CableTable2", "PhaseKind2",
          "GroupName2", "BreakerType"}},
        {"three",
         {"Symmetric3", "Power3",         "PhasePowers[0]", "PhasePowers[1]",  "PhasePowers[2]",
          "CosPhi3",    "PhaseCosPhi[0]", "PhaseCosPhi[1]", "PhaseCosPhi[2]",  "LineLength3",
          "CurrentA3",  "CurrentB3",      "CurrentC3",      "AllowedCurrent3", "SavedValue3",
          "PhaseKind3", "GroupName3",     "CableTable3",    "CableBrand3",     "BreakerType"}},
    };
    std::map<std::string, std::vector<std::string>> inTable;
    int number = 0;
    for (const RecordDef& def : ProjectRecords()) {
        EXPECT_EQ(def.Number, ++number);
        const char* level = std::visit(
            [&](const auto& f) -> const char* {
                using F = std::decay_t<decltype(f)>;
                if constexpr (std::is_same_v<F, FieldOf<ProjectFileExtras>>) return "extras";
                if constexpr (std::is_same_v<F, FieldOf<ProjectStamp>>) return "stamp";
                if constexpr (std::is_same_v<F, FieldOf<TGrsed>>)
                    return IsRootRecord(def) ? "root" : "switchboard";
                if constexpr (std::is_same_v<F, FieldOf<TSitid>>) return "panel";
                if constexpr (std::is_same_v<F, FieldOf<TCxemaGrupd>>) return "scheme";
                if constexpr (std::is_same_v<F, FieldOf<TFasaGrup1d>>) return "single";
                if constexpr (std::is_same_v<F, FieldOf<TFasaGrup2d>>) return "two";
                return "three";
            },
            def.Field);
        inTable[level].push_back(def.Name);
    }
    for (auto [level, names] : saved) {
        std::vector<std::string> found = inTable[level];
        std::sort(names.begin(), names.end());
        std::sort(found.begin(), found.end());
        EXPECT_EQ(found, names) << level;
    }
}

// ---------------------------------------------------------------------------------------------
// Round trips

// Gives every saved field of the record a value of its own (seed counts on), except the counts,
// the switchboard's copy of the switchboard count and the line's kind, which the tree fixes.
template <class R>
void FillSaved(R& record, bool root, int& seed) {
    for (const RecordDef& def : ProjectRecords()) {
        const auto* field = std::get_if<FieldOf<R>>(&def.Field);
        if (!field) continue;
        if (std::is_same_v<R, TGrsed> && IsRootRecord(def) != root) continue;
        if (def.TextForm == Form::W || def.Number == 10 || def.Number == 77) continue;
        ++seed;
        const int sign = seed % 3 == 0 ? -1 : 1;
        std::visit(
            [&](auto member) {
                auto& v = record.*member;
                using V = std::decay_t<decltype(v)>;
                if constexpr (std::is_same_v<V, std::string>) {
                    v = "Текст №" + std::to_string(seed);
                } else if constexpr (std::is_integral_v<V>) {
                    v = static_cast<V>(def.TextForm == Form::B   ? seed % 2
                                       : def.TextForm == Form::b ? seed % 256
                                                                 : sign * seed);
                } else if constexpr (std::is_floating_point_v<V>) {
                    v = sign * (seed + (def.TextForm == Form::X ? 0.5 : 0.25));
                } else {
                    v[field->Index] = seed + 0.75;
                }
            },
            field->Ptr);
    }
}

template <class R>
void ExpectSameSaved(const R& a, const R& b, bool root, const std::string& where) {
    for (const RecordDef& def : ProjectRecords()) {
        const auto* field = std::get_if<FieldOf<R>>(&def.Field);
        if (!field) continue;
        if (std::is_same_v<R, TGrsed> && IsRootRecord(def) != root) continue;
        EXPECT_TRUE(ValueOf(*field, a) == ValueOf(*field, b))
            << where << ": record " << def.Number << " (" << def.Name << ")";
    }
}

template <class T, class Link>
std::vector<T*> All(const ChainBlock<T>& block, Link link) {
    return chains::Elements(block, link, 1 << 30);
}

template <class T, class Link>
void ExpectSameGroups(const ChainBlock<T>& a, const ChainBlock<T>& b, Link link, int count,
                      const std::string& where) {
    const auto as = All(a, link), bs = All(b, link);
    ASSERT_EQ(as.size(), bs.size()) << where;
    EXPECT_EQ(static_cast<int>(bs.size()), count) << where;
    for (size_t k = 0; k < as.size(); ++k)
        ExpectSameSaved<T>(*as[k], *bs[k], false, where + " group " + std::to_string(k + 1));
}

void ExpectSameTree(const TGrsed& a, const TGrsed& b) {
    ExpectSameSaved(a, b, true, "root");
    const auto swa = All(a.Switchboards, chains::SwitchboardLink{});
    const auto swb = All(b.Switchboards, chains::SwitchboardLink{});
    ASSERT_EQ(swa.size(), swb.size());
    EXPECT_EQ(b.SwitchboardCount, static_cast<int>(swb.size()));
    for (size_t i = 0; i < swa.size(); ++i) {
        const std::string sw = "switchboard " + std::to_string(i + 1);
        ExpectSameSaved(*swa[i], *swb[i], false, sw);
        const auto pa = All(swa[i]->Panels, chains::PanelLink{});
        const auto pb = All(swb[i]->Panels, chains::PanelLink{});
        ASSERT_EQ(pa.size(), pb.size()) << sw;
        EXPECT_EQ(swb[i]->PanelCount, static_cast<int>(pb.size())) << sw;
        for (size_t j = 0; j < pa.size(); ++j) {
            const std::string where = sw + " panel " + std::to_string(j + 1);
            ExpectSameSaved(*pa[j], *pb[j], false, where);
            const TSitid& p = *pb[j];
            ExpectSameGroups(pa[j]->SchemeGroups, p.SchemeGroups, chains::SchemeLink{},
                             p.SchemeGroupCount, where + " scheme");
            ExpectSameGroups(pa[j]->SinglePhaseGroups, p.SinglePhaseGroups,
                             chains::SinglePhaseLink{}, p.SinglePhaseCount, where + " single");
            ExpectSameGroups(pa[j]->TwoPhaseGroups, p.TwoPhaseGroups, chains::TwoPhaseLink{},
                             p.TwoPhaseCount, where + " two-phase");
            ExpectSameGroups(pa[j]->ThreePhaseGroups, p.ThreePhaseGroups, chains::ThreePhaseLink{},
                             p.ThreePhaseCount, where + " three-phase");
        }
    }
}

// Two switchboards of 3 and 2 panels; lines of every kind, a panel without lines; every saved
// field set to a value of its own.
ProjectTree FilledProject(ProjectFileExtras& extras) {
    ProjectBuilder builder;
    builder.AddSwitchboard(1);
    builder.AddSwitchboard(2);
    const std::vector<std::pair<int, std::vector<int>>> panels = {
        {1, {2, 3, 4, 2}}, {1, {}}, {1, {4, 4}}, {2, {3}}, {2, {2, 3}}};
    int number = 0, line = 0;
    for (const auto& [sw, kinds] : panels) {
        builder.AddPanel(sw, ++number);
        for (int kind : kinds) builder.AddGroup(number, kind, "Гр" + std::to_string(++line));
    }
    ProjectTree root = builder.Take();
    int seed = 0;
    FillSaved(extras, false, seed);
    FillSaved(extras.Stamp, false, seed);
    FillSaved(*root, true, seed);
    for (TGrsed* sw : All(root->Switchboards, chains::SwitchboardLink{})) {
        FillSaved(*sw, false, seed);
        for (TSitid* panel : All(sw->Panels, chains::PanelLink{})) {
            FillSaved(*panel, false, seed);
            for (auto* r : All(panel->SchemeGroups, chains::SchemeLink{}))
                FillSaved(*r, false, seed);
            for (auto* r : All(panel->SinglePhaseGroups, chains::SinglePhaseLink{}))
                FillSaved(*r, false, seed);
            for (auto* r : All(panel->TwoPhaseGroups, chains::TwoPhaseLink{}))
                FillSaved(*r, false, seed);
            for (auto* r : All(panel->ThreePhaseGroups, chains::ThreePhaseLink{}))
                FillSaved(*r, false, seed);
        }
    }
    return root;
}

class ProjectFileRoundTrip : public ::testing::Test {
protected:
    void SetUp() override { folder_ = MakeTempFolder(); }
    void TearDown() override { std::filesystem::remove_all(folder_); }
    std::string folder_;
};

TEST_F(ProjectFileRoundTrip, LoadedTreeHasEverySavedFieldOfTheSavedOne) {
    ProjectFileExtras extras;
    const ProjectTree saved = FilledProject(extras);
    const std::string path = folder_ + "/Проект.VPQ";
    ASSERT_EQ(SaveProjectFile(path, *saved, extras), "");

    const LoadResult loaded = LoadProjectFile(path);
    ASSERT_EQ(loaded.Status, LoadStatus::Loaded) << loaded.Message;
    ASSERT_TRUE(loaded.Root);
    EXPECT_EQ(loaded.Extras, extras);
    ExpectSameTree(*saved, *loaded.Root);
    EXPECT_EQ(Bytes(*loaded.Root, loaded.Extras), FileBytes(path));
    // The loaded tree starts with its first switchboard, panel and scheme record current.
    EXPECT_EQ(loaded.Root->CurrentSwitchboard(), loaded.Root->Switchboards.First);
}

// Every byte a text can hold comes back unchanged through open and save, 0x98 (which
// Windows-1251 leaves unassigned) included.
TEST_F(ProjectFileRoundTrip, EveryByteOfATextSurvivesOpenAndSave) {
    std::string name, controls;
    for (int b = 0x20; b <= 0xFF; ++b) name += static_cast<char>(b);
    for (int b = 0x01; b < 0x20; ++b) controls += static_cast<char>(b);
    ProjectBuilder::Line line;
    const ProjectTree root = OneLineProject(2, &line);
    std::vector<char> bytes = Bytes(*root);
    std::string file(bytes.begin(), bytes.end());
    PutSlot(file, OneLineOffset(90, 2), name);  // the line's name in both of its records
    PutSlot(file, OneLineOffset(103, 2), name);
    PutSlot(file, OneLineOffset(93, 2), controls);  // its cable name
    const std::string opened = folder_ + "/Открытый.VPQ", saved = folder_ + "/Сохранённый.VPQ";
    {
        std::ofstream out(opened, std::ios::binary);
        out << file;
    }

    const LoadResult loaded = LoadProjectFile(opened);
    ASSERT_EQ(loaded.Status, LoadStatus::Loaded) << loaded.Message;
    const TCxemaGrupd& group = *loaded.Root->Switchboards.First->Panels.First->SchemeGroups.First;
    EXPECT_EQ(platform::Utf8Length(group.GroupName), 224u);
    EXPECT_NE(group.GroupName.find("\xC2\x98"), std::string::npos);
    ASSERT_EQ(SaveProjectFile(saved, *loaded.Root, loaded.Extras), "");
    const std::vector<char> written = FileBytes(saved);
    EXPECT_EQ(std::string(written.begin(), written.end()), file);
}

TEST(ProjectFileReader, CyrillicTextTravelsInWindows1251) {
    ProjectBuilder::Line line;
    const ProjectTree root = OneLineProject(2, &line);
    line.scheme->GroupName = "Группа №1";
    const std::vector<char> bytes = Bytes(*root);
    EXPECT_EQ(SlotAt(bytes, OneLineOffset(90, 2)),
              "\xC3\xF0\xF3\xEF\xEF\xE0 \xB9"
              "1");
    const LoadResult loaded = ReadProjectFile(std::string_view(bytes.data(), bytes.size()), "p");
    ASSERT_EQ(loaded.Status, LoadStatus::Loaded) << loaded.Message;
    EXPECT_EQ(loaded.Root->Switchboards.First->Panels.First->SchemeGroups.First->GroupName,
              "Группа №1");
}

TEST(ProjectFileReader, ExtendedPowerComesBackAsTheDoubleNearestItsText) {
    ProjectBuilder::Line line;
    const ProjectTree root = OneLineProject(4, &line);
    line.scheme->Power = 0.85L;
    line.three->PhasePowers[1] = 1.0L / 3;
    const std::vector<char> bytes = Bytes(*root);
    const LoadResult loaded = ReadProjectFile(std::string_view(bytes.data(), bytes.size()), "p");
    ASSERT_EQ(loaded.Status, LoadStatus::Loaded) << loaded.Message;
    const TSitid& panel = *loaded.Root->Switchboards.First->Panels.First;
    EXPECT_EQ(panel.SchemeGroups.First->Power, static_cast<long double>(0.85));
    EXPECT_NE(panel.SchemeGroups.First->Power, 0.85L);
    EXPECT_EQ(panel.ThreePhaseGroups.First->PhasePowers[1],
              static_cast<long double>(0.333333333333333));
}

// ---------------------------------------------------------------------------------------------
// Damaged files: a message naming the file, no tree, the open project untouched.

const std::string kPath = "/data/Проект.VPQ";

std::string AsString(const std::vector<char>& bytes) {
    return std::string(bytes.begin(), bytes.end());
}

// One switchboard, one panel, one single-phase line (the file of 26544 bytes).
std::string OneLineFile() {
    ProjectTree root = OneLineProject(2);
    root->SupplyScPower = 250;
    ProjectFileExtras extras;
    extras.Stamp.DocumentCode = "Ш-1";
    extras.Stamp.NormControl = "Петров";
    return AsString(Bytes(*root, extras));
}

// Switchboards 1 and 2 with one panel each, no lines: B1 at 1287, 15 slots a switchboard.
std::string TwoSwitchboardFile() {
    ProjectBuilder builder;
    builder.AddSwitchboard(1);
    builder.AddSwitchboard(2);
    builder.AddPanel(1, 1);
    builder.AddPanel(2, 2);
    return AsString(Bytes(builder.Root()));
}

// Switchboard 1 with panels 1 and 2, no lines: B4 at 1283 + 21 x 255 + 2 x 16 = 6670.
std::string TwoPanelFile() {
    ProjectBuilder builder;
    builder.AddSwitchboard(1);
    builder.AddPanel(1, 1);
    builder.AddPanel(1, 2);
    return AsString(Bytes(builder.Root()));
}

size_t At(int record) {
    return OneLineOffset(record, 2);
}

struct Damage {
    const char* what;
    std::function<std::string()> file;
    std::string detail;
};

void PrintTo(const Damage& d, std::ostream* os) {
    *os << d.what;
}

class ProjectFileDamage : public ::testing::TestWithParam<Damage> {};

TEST_P(ProjectFileDamage, GivesItsMessageAndNoTree) {
    const Damage& d = GetParam();
    TGrsed* open = new TGrsed;
    open->SwitchboardCount = 5;
    ProjectRoot = open;
    const std::string bytes = d.file();
    const LoadResult result = ReadProjectFile(bytes, kPath);
    EXPECT_EQ(result.Status, LoadStatus::Damaged) << d.what;
    EXPECT_EQ(result.Message, "Файл \"" + kPath + "\" повреждён: " + d.detail + ".") << d.what;
    EXPECT_FALSE(result.Root) << d.what;
    EXPECT_EQ(ProjectRoot, open);
    EXPECT_EQ(open->SwitchboardCount, 5);
    DeleteProjectTree(ProjectRoot);
}

std::string Edited(std::string bytes, const std::function<void(std::string&)>& edit) {
    edit(bytes);
    return bytes;
}

const std::string kSizeMismatch = "не соответствует записанным в нём числам ГРЩ, щитов и групп";

INSTANTIATE_TEST_SUITE_P(
    Files, ProjectFileDamage,
    ::testing::Values(
        Damage{"empty file", [] { return std::string(); }, "он обрывается на записи 1"},
        Damage{"ends in the header", [] { return OneLineFile().substr(0, 1000); },
               "он обрывается на записи 4"},
        Damage{"ends in the switchboard count", [] { return OneLineFile().substr(0, 1277); },
               "он обрывается на записи 6"},
        Damage{"ends inside the trailer",
               [] {
                   const std::string f = OneLineFile();
                   return f.substr(0, f.size() - 100);
               },
               "он обрывается на записи 148"},
        Damage{"ends in the groups", [] { return OneLineFile().substr(0, 20000); },
               "его размер (20000 байт) " + kSizeMismatch},
        Damage{"slot without NUL",
               [] {
                   return Edited(OneLineFile(), [](std::string& b) {
                       b.replace(At(90), 255, std::string(255, 'x'));
                   });
               },
               "в записи 90 (ГРЩ 1, щит 1, группа 1) нет завершающего нулевого байта"},
        Damage{"trailer slot without NUL",
               [] {
                   return Edited(OneLineFile(), [](std::string& b) {
                       b.replace(At(145), 255, std::string(255, 'x'));
                   });
               },
               "в записи 145 нет завершающего нулевого байта"},
        Damage{"negative switchboard count",
               [] { return Edited(OneLineFile(), [](std::string& b) { PutWord(b, 1275, -1); }); },
               "в записи 6 записано отрицательное число элементов (-1)"},
        Damage{"negative panel count",
               [] { return Edited(OneLineFile(), [](std::string& b) { PutWord(b, 1279, -3); }); },
               "в записи 7 записано отрицательное число элементов (-3)"},
        Damage{"negative group count",
               [] { return Edited(OneLineFile(), [](std::string& b) { PutWord(b, At(31), -2); }); },
               "в записи 31 записано отрицательное число элементов (-2)"},
        Damage{"switchboard count beyond the file",
               [] { return Edited(OneLineFile(), [](std::string& b) { PutWord(b, 1275, 1000); }); },
               "его размер (26544 байт) " + kSizeMismatch},
        Damage{"huge panel count",
               [] {
                   return Edited(OneLineFile(),
                                 [](std::string& b) { PutWord(b, 1279, 2147483647); });
               },
               "его размер (26544 байт) " + kSizeMismatch},
        Damage{"group count beyond the file",
               [] { return Edited(OneLineFile(), [](std::string& b) { PutWord(b, At(29), 2); }); },
               "его размер (26544 байт) " + kSizeMismatch},
        Damage{"group count short of the file",
               [] { return Edited(OneLineFile(), [](std::string& b) { PutWord(b, At(30), 0); }); },
               "его размер (26544 байт) " + kSizeMismatch},
        Damage{"a slot more than the trailer",
               [] { return OneLineFile() + std::string(255, '\0'); },
               "его размер (26799 байт) " + kSizeMismatch},
        Damage{
            "real that is not a number",
            [] { return Edited(OneLineFile(), [](std::string& b) { PutSlot(b, At(11), "abc"); }); },
            "в записи 11 (ГРЩ 1) вместо числа записано \"abc\""},
        Damage{
            "integer written as a real",
            [] { return Edited(OneLineFile(), [](std::string& b) { PutSlot(b, At(33), "1,5"); }); },
            "в записи 33 (ГРЩ 1, щит 1) вместо числа записано \"1,5\""},
        Damage{"panel number out of the integer range",
               [] {
                   return Edited(OneLineFile(), [](std::string& b) { PutSlot(b, At(59), "1E20"); });
               },
               "в записи 59 (ГРЩ 1, щит 1) вместо числа записано \"1E20\""},
        Damage{"empty power",
               [] { return Edited(OneLineFile(), [](std::string& b) { PutSlot(b, At(95), ""); }); },
               "в записи 95 (ГРЩ 1, щит 1, однофазная запись 1) вместо числа записано \"\""},
        // Values that are not finite would poison every sum they reach.
        Damage{
            "infinite fault current",
            [] { return Edited(OneLineFile(), [](std::string& b) { PutSlot(b, At(57), "INF"); }); },
            "в записи 57 (ГРЩ 1, щит 1) вместо числа записано \"INF\""},
        Damage{"negative infinite length",
               [] {
                   return Edited(OneLineFile(), [](std::string& b) { PutSlot(b, At(11), "-INF"); });
               },
               "в записи 11 (ГРЩ 1) вместо числа записано \"-INF\""},
        Damage{
            "power that is not a number",
            [] { return Edited(OneLineFile(), [](std::string& b) { PutSlot(b, At(95), "NAN"); }); },
            "в записи 95 (ГРЩ 1, щит 1, однофазная запись 1) вместо числа записано \"NAN\""},
        Damage{
            "infinite flag",
            [] { return Edited(OneLineFile(), [](std::string& b) { PutSlot(b, At(55), "INF"); }); },
            "в записи 55 (ГРЩ 1, щит 1) вместо числа записано \"INF\""},
        Damage{"real beyond a double",
               [] {
                   return Edited(OneLineFile(),
                                 [](std::string& b) { PutSlot(b, At(40), "1E400"); });
               },
               "в записи 40 (ГРЩ 1, щит 1) вместо числа записано \"1E400\""},
        Damage{"infinite short-circuit power in the trailer",
               [] {
                   return Edited(OneLineFile(), [](std::string& b) { PutSlot(b, At(143), "INF"); });
               },
               "в записи 143 вместо числа записано \"INF\""},
        Damage{"Cyrillic where a number belongs",
               [] {
                   return Edited(OneLineFile(),
                                 [](std::string& b) { PutSlot(b, At(1), "\xCF\xFF\xF2\xFC"); });
               },
               "в записи 1 вместо числа записано \"Пять\""},
        Damage{
            "five conductors",
            [] { return Edited(OneLineFile(), [](std::string& b) { PutSlot(b, At(77), "5"); }); },
            "в записи 77 (ГРЩ 1, щит 1, группа 1) недопустимое число проводников группы (5)"},
        Damage{
            "one conductor",
            [] { return Edited(OneLineFile(), [](std::string& b) { PutSlot(b, At(77), "1"); }); },
            "в записи 77 (ГРЩ 1, щит 1, группа 1) недопустимое число проводников группы (1)"},
        Damage{"two switchboards with one number",
               [] {
                   return Edited(TwoSwitchboardFile(),
                                 [](std::string& b) { PutSlot(b, 1287 + 15 * 255, "1"); });
               },
               "в нём два ГРЩ с номером 1"},
        Damage{"two panels with one number in a switchboard",
               [] {
                   return Edited(TwoPanelFile(),
                                 [](std::string& b) { PutSlot(b, 6670 + 37 * 255, "1"); });
               },
               "в ГРЩ 1 два щита с номером 1"}));

// ---------------------------------------------------------------------------------------------
// Forms the reader accepts.

struct Tolerated {
    const char* what;
    std::function<std::string()> file;
    std::function<void(const LoadResult&)> check;
};

void PrintTo(const Tolerated& t, std::ostream* os) {
    *os << t.what;
}

class ProjectFileTolerated : public ::testing::TestWithParam<Tolerated> {};

TEST_P(ProjectFileTolerated, Loads) {
    const Tolerated& t = GetParam();
    const LoadResult result = ReadProjectFile(t.file(), kPath);
    ASSERT_EQ(result.Status, LoadStatus::Loaded) << t.what << ": " << result.Message;
    t.check(result);
}

const TGrsed& Switchboard(const LoadResult& r) {
    return *r.Root->Switchboards.First;
}
const TSitid& Panel(const LoadResult& r) {
    return *Switchboard(r).Panels.First;
}

INSTANTIATE_TEST_SUITE_P(
    Files, ProjectFileTolerated,
    ::testing::Values(
        Tolerated{"empty project",
                  [] {
                      TGrsed root;
                      root.SupplyScPower = 300;
                      return AsString(Bytes(root));
                  },
                  [](const LoadResult& r) {
                      EXPECT_EQ(r.Root->Switchboards.First, nullptr);
                      EXPECT_EQ(r.Root->SwitchboardCount, 0);
                      EXPECT_EQ(r.Root->SupplyScPower, 300.0);
                  }},
        Tolerated{"no trailer", [] { return OneLineFile().substr(0, 26544 - 6 * 255); },
                  [](const LoadResult& r) {
                      EXPECT_EQ(r.Root->SupplyScPower, 180.0);
                      EXPECT_EQ(r.Extras.Stamp, ProjectStamp{});
                  }},
        Tolerated{"two trailer records", [] { return OneLineFile().substr(0, 26544 - 4 * 255); },
                  [](const LoadResult& r) {
                      EXPECT_EQ(r.Root->SupplyScPower, 250.0);
                      EXPECT_EQ(r.Extras.Stamp.DocumentCode, "Ш-1");
                      EXPECT_EQ(r.Extras.Stamp.NormControl, "");
                  }},
        Tolerated{"whole trailer", [] { return OneLineFile(); },
                  [](const LoadResult& r) {
                      EXPECT_EQ(r.Root->SupplyScPower, 250.0);
                      EXPECT_EQ(r.Extras.Stamp.NormControl, "Петров");
                  }},
        Tolerated{
            "empty short-circuit power",
            [] { return Edited(OneLineFile(), [](std::string& b) { PutSlot(b, At(143), ""); }); },
            [](const LoadResult& r) { EXPECT_EQ(r.Root->SupplyScPower, 180.0); }},
        Tolerated{"reals with a point",
                  [] {
                      return Edited(OneLineFile(), [](std::string& b) {
                          PutSlot(b, At(11), "45.5");
                          PutSlot(b, At(78), "2.25");
                          PutSlot(b, At(82), "0,85");
                      });
                  },
                  [](const LoadResult& r) {
                      EXPECT_EQ(Switchboard(r).SwitchboardFeederLength, 45.5);
                      EXPECT_EQ(Panel(r).SchemeGroups.First->Power, 2.25L);
                      EXPECT_EQ(Panel(r).SchemeGroups.First->CosPhi, 0.85);
                  }},
        Tolerated{"flags and bytes",
                  [] {
                      return Edited(OneLineFile(), [](std::string& b) {
                          PutSlot(b, At(55), "2");
                          PutSlot(b, At(56), "0,0");
                          PutSlot(b, At(60), "-0,5");
                          PutSlot(b, At(37), "257");
                      });
                  },
                  [](const LoadResult& r) {
                      EXPECT_EQ(Panel(r).OnTrunk, 1);
                      EXPECT_EQ(Panel(r).PanelFlagB, 0);
                      EXPECT_EQ(Panel(r).PanelFlagC, 1);
                      EXPECT_EQ(Panel(r).FedFromPanel, 1);
                  }},
        Tolerated{"integer as real text, truncated",
                  [] {
                      return Edited(OneLineFile(),
                                    [](std::string& b) { PutSlot(b, At(59), "-7,9"); });
                  },
                  [](const LoadResult& r) { EXPECT_EQ(Panel(r).HangsOnPanel, -7); }},
        Tolerated{"leftovers after the NUL",
                  [] {
                      return Edited(OneLineFile(), [](std::string& b) {
                          b.replace(At(8), 255, "7" + std::string(1, '\0') + std::string(253, 'z'));
                      });
                  },
                  [](const LoadResult& r) { EXPECT_EQ(Switchboard(r).SwitchboardNumber, 7); }}));

// ---------------------------------------------------------------------------------------------
// Files of megabytes, which the loader reads piece by piece as it builds the tree: records lie
// across the places where its buffer is filled again, damage lies far from the file's start.

// One switchboard, one panel, 400 single-phase lines, every saved field a value of its own. From
// the layout: G1 (17 slots a line) at 17874, G2 (11 slots a line) at 17874 + 400 x 4335 =
// 1751874, the trailer at 1751874 + 400 x 2805 = 2873874; 2875404 bytes.
constexpr int kManyLines = 400;
constexpr size_t kManyLinesSize = 2875404;

ProjectTree ManyLinesProject(ProjectFileExtras& extras) {
    ProjectBuilder builder;
    builder.AddSwitchboard(1);
    builder.AddPanel(1, 1);
    for (int n = 1; n <= kManyLines; ++n) builder.AddGroup(1, 2, "Гр" + std::to_string(n));
    ProjectTree root = builder.Take();
    int seed = 0;
    FillSaved(extras.Stamp, false, seed);
    FillSaved(*root, true, seed);
    TSitid& panel = *root->Switchboards.First->Panels.First;
    for (auto* r : All(panel.SchemeGroups, chains::SchemeLink{})) FillSaved(*r, false, seed);
    for (auto* r : All(panel.SinglePhaseGroups, chains::SinglePhaseLink{}))
        FillSaved(*r, false, seed);
    return root;
}

std::string ManyLinesFile() {
    ProjectFileExtras extras;
    const ProjectTree root = ManyLinesProject(extras);
    return AsString(Bytes(*root, extras));
}

// Record `record` of the scheme record (77-93) or single-phase record (94-104) of line `line`.
size_t ManyLinesAt(int record, int line) {
    if (record <= 93) return 17874 + (line - 1) * 4335 + (record - 77) * 255;
    return 1751874 + (line - 1) * 2805 + (record - 94) * 255;
}

TEST_F(ProjectFileRoundTrip, FileOfMegabytesLoadsWhole) {
    ProjectFileExtras extras;
    const ProjectTree saved = ManyLinesProject(extras);
    const std::string path = folder_ + "/Большой.VPQ";
    ASSERT_EQ(SaveProjectFile(path, *saved, extras), "");
    ASSERT_EQ(std::filesystem::file_size(path), kManyLinesSize);

    const LoadResult loaded = LoadProjectFile(path);
    ASSERT_EQ(loaded.Status, LoadStatus::Loaded) << loaded.Message;
    EXPECT_EQ(loaded.Extras, extras);
    ExpectSameTree(*saved, *loaded.Root);
    EXPECT_EQ(Bytes(*loaded.Root, loaded.Extras), FileBytes(path));
}

class ProjectFileDamageFarIn : public ::testing::TestWithParam<Damage> {
protected:
    void SetUp() override { folder_ = MakeTempFolder(); }
    void TearDown() override { std::filesystem::remove_all(folder_); }
    std::string folder_;
};

TEST_P(ProjectFileDamageFarIn, GivesItsMessageAndNoTree) {
    const Damage& d = GetParam();
    const std::string path = folder_ + "/Проект.VPQ";
    {
        std::ofstream out(path, std::ios::binary);
        out << d.file();
    }
    const LoadResult result = LoadProjectFile(path);
    EXPECT_EQ(result.Status, LoadStatus::Damaged) << d.what;
    EXPECT_EQ(result.Message, "Файл \"" + path + "\" повреждён: " + d.detail + ".") << d.what;
    EXPECT_FALSE(result.Root) << d.what;
}

INSTANTIATE_TEST_SUITE_P(
    Files, ProjectFileDamageFarIn,
    ::testing::Values(
        Damage{"ends in the groups", [] { return ManyLinesFile().substr(0, 1000000); },
               "его размер (1000000 байт) " + kSizeMismatch},
        Damage{"last line's name without NUL",
               [] {
                   return Edited(ManyLinesFile(), [](std::string& b) {
                       b.replace(ManyLinesAt(90, kManyLines), 255, std::string(255, 'x'));
                   });
               },
               "в записи 90 (ГРЩ 1, щит 1, группа 400) нет завершающего нулевого байта"},
        Damage{"power that is not a number",
               [] {
                   return Edited(ManyLinesFile(),
                                 [](std::string& b) { PutSlot(b, ManyLinesAt(95, 250), "abc"); });
               },
               "в записи 95 (ГРЩ 1, щит 1, однофазная запись 250) вместо числа записано "
               "\"abc\""},
        Damage{"last record without NUL",
               [] {
                   return Edited(ManyLinesFile(), [](std::string& b) {
                       b.replace(kManyLinesSize - 255, 255, std::string(255, 'x'));
                   });
               },
               "в записи 148 нет завершающего нулевого байта"}));

// ---------------------------------------------------------------------------------------------
// Files that cannot be read, and the reference-table hooks

TEST(ProjectFileReader, FileThatCannotBeReadGivesTheOpenMessage) {
    for (const std::string& path : {std::string("/nonexistent/Проект.VPQ"), ::testing::TempDir()}) {
        const LoadResult result = LoadProjectFile(path);
        EXPECT_EQ(result.Status, LoadStatus::CannotOpen) << path;
        EXPECT_EQ(result.Message, "Невозможно открыть файл. Файл перемещен или удален.");
        EXPECT_FALSE(result.Root);
    }
}

// Switchboards 1, 2 with panels 1, 2 and a line in each, every one naming its own table.
std::string TablesFile(const std::string& transformer) {
    ProjectBuilder builder;
    builder.Root().TransformerName = transformer;
    builder.AddSwitchboard(1)->SwitchboardTable = "S1";
    builder.AddSwitchboard(2)->SwitchboardTable = "S2";
    builder.AddPanel(1, 1)->CurrentTableName = "P1";
    builder.AddPanel(2, 2)->CurrentTableName = "P2";
    builder.AddGroup(1, 2, "A").scheme->CableTable = "G1";
    builder.AddGroup(2, 3, "B").scheme->CableTable = "G2";
    builder.AddGroup(2, 4, "C").scheme->CableTable = "G3";
    return AsString(Bytes(builder.Root()));
}

TEST(ProjectFileReader, HooksSeeTheTransformerThenEveryCableTable) {
    std::vector<std::string> calls;
    LoadHooks hooks;
    hooks.CheckTransformer = [&](const std::string& name) {
        calls.push_back("transformer " + name);
        return true;
    };
    hooks.OpenCableTable = [&](const CableTableRequest& r) {
        // The request points at the record that names the table.
        const std::string owner = r.Switchboard ? r.Switchboard->SwitchboardTable
                                  : r.Panel     ? r.Panel->CurrentTableName
                                                : r.Group->CableTable;
        EXPECT_EQ(owner, r.Name);
        EXPECT_EQ((r.Switchboard ? 1 : 0) + (r.Panel ? 1 : 0) + (r.Group ? 1 : 0), 1);
        calls.push_back(r.Name);
        return true;
    };
    const LoadResult result = ReadProjectFile(TablesFile("ТМ-400"), kPath, hooks);
    EXPECT_EQ(result.Status, LoadStatus::Loaded);
    EXPECT_EQ(calls, (std::vector<std::string>{"transformer ТМ-400", "S1", "S2", "P1", "P2", "G1",
                                               "G2", "G3"}));
}

TEST(ProjectFileReader, HookThatFailsStopsTheLoadWithoutATree) {
    std::vector<std::string> tables;
    LoadHooks hooks;
    hooks.OpenCableTable = [&](const CableTableRequest& r) {
        tables.push_back(r.Name);
        return r.Name != "P1";
    };
    const LoadResult stopped = ReadProjectFile(TablesFile(""), kPath, hooks);
    EXPECT_EQ(stopped.Status, LoadStatus::Stopped);
    EXPECT_FALSE(stopped.Root);
    EXPECT_EQ(tables, (std::vector<std::string>{"S1", "S2", "P1"}));

    tables.clear();
    hooks.CheckTransformer = [](const std::string&) { return false; };
    const LoadResult refused = ReadProjectFile(TablesFile("ТМ-9"), kPath, hooks);
    EXPECT_EQ(refused.Status, LoadStatus::Stopped);
    EXPECT_FALSE(refused.Root);
    EXPECT_TRUE(tables.empty());
}

TEST(ProjectFileReader, EmptyTransformerNameIsNotChecked) {
    LoadHooks hooks;
    int checks = 0;
    hooks.CheckTransformer = [&](const std::string&) { return ++checks, false; };
    EXPECT_EQ(ReadProjectFile(TablesFile(""), kPath, hooks).Status, LoadStatus::Loaded);
    EXPECT_EQ(checks, 0);
}

}  // namespace
