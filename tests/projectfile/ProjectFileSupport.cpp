#include "ProjectFileSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>

ProjectBuilder::ProjectBuilder() : root_(new TGrsed) {}

TGrsed* ProjectBuilder::AddSwitchboard(int number) {
    TGrsed record;
    record.SwitchboardNumber = number;
    root_->AddSwitchboard(record);
    ++root_->SwitchboardCount;
    for (TGrsed* sw = root_->Switchboards.First; sw; sw = sw->Switchboards.Next)
        sw->SwitchboardCount = root_->SwitchboardCount;
    return root_->Switchboards.Last;
}

TSitid* ProjectBuilder::AddPanel(int switchboardNumber, int panelNumber) {
    TSitid record;
    record.PanelNumber = panelNumber;
    root_->AddPanel(switchboardNumber, record);
    for (TGrsed* sw = root_->Switchboards.First; sw; sw = sw->Switchboards.Next) {
        if (sw->SwitchboardNumber != switchboardNumber) continue;
        ++sw->PanelCount;
        sw->Panels.Last->Position = sw->PanelCount;
        return sw->Panels.Last;
    }
    return nullptr;
}

ProjectBuilder::Line ProjectBuilder::AddGroup(int panelNumber, int kind, const std::string& name) {
    Line line;
    TGrsed& root = *root_;
    root.ResetCursors();
    root.FindPanel(panelNumber);
    const int scan = root.CountPanels();
    TCxemaGrupd scheme;
    scheme.GroupName = name;
    scheme.PhaseKind = kind;
    root.AddCxemaGroup(panelNumber, scan, scheme);
    root.FindPanel(panelNumber);
    TSitid* panel = root.CurrentPanel();
    ++panel->SchemeGroupCount;
    line.scheme = panel->SchemeGroups.Last;
    if (kind == 2) {
        TFasaGrup1d record;
        record.GroupName1 = name;
        record.PhaseKind1 = kind;
        root.AddFasaGroup1(panelNumber, scan, record);
        ++panel->SinglePhaseCount;
        line.single = panel->SinglePhaseGroups.Last;
    } else if (kind == 3) {
        TFasaGrup2d record;
        record.GroupName2 = name;
        record.PhaseKind2 = kind;
        root.AddFasaGroup2(panelNumber, scan, record);
        ++panel->TwoPhaseCount;
        line.two = panel->TwoPhaseGroups.Last;
    } else {
        TFasaGrup3d record;
        record.GroupName3 = name;
        record.PhaseKind3 = kind;
        root.AddFasaGroup3(panelNumber, scan, record);
        ++panel->ThreePhaseCount;
        line.three = panel->ThreePhaseGroups.Last;
    }
    return line;
}

projectfile::ProjectTree OneLineProject(int kind, ProjectBuilder::Line* line) {
    ProjectBuilder builder;
    builder.AddSwitchboard(1);
    builder.AddPanel(1, 1);
    const ProjectBuilder::Line added = builder.AddGroup(1, kind, "Гр1");
    if (line) *line = added;
    return builder.Take();
}

size_t OneLineOffset(int record, int kind) {
    // Worked from the layout: 255-byte slots, 4-byte counts.
    //   records 1-5 at 0; 6 (word) at 1275; 7 (word) at 1279
    //   B1 8-22 at 1283; B2 23-28 at 1283 + 15 x 255 = 5108
    //   B3 29-32 (words) at 5108 + 6 x 255 = 6638; B4 33-69 at 6638 + 16 = 6654
    //   B5 70-76 at 6654 + 37 x 255 = 16089; G1 77-93 at 16089 + 7 x 255 = 17874
    //   phase block at 17874 + 17 x 255 = 22209 (G2 94-104, G3 105-122 or G4 123-142)
    //   trailer 143-148 after it: 22209 + 11, 18 or 20 slots x 255
    const int phaseSlots = kind == 2 ? 11 : kind == 3 ? 18 : 20;
    const int phaseFirst = kind == 2 ? 94 : kind == 3 ? 105 : 123;
    if (record <= 5) return (record - 1) * 255;
    if (record == 6) return 1275;
    if (record == 7) return 1279;
    if (record <= 22) return 1283 + (record - 8) * 255;
    if (record <= 28) return 5108 + (record - 23) * 255;
    if (record <= 32) return 6638 + (record - 29) * 4;
    if (record <= 69) return 6654 + (record - 33) * 255;
    if (record <= 76) return 16089 + (record - 70) * 255;
    if (record <= 93) return 17874 + (record - 77) * 255;
    if (record <= 142) {
        EXPECT_TRUE(record >= phaseFirst && record < phaseFirst + phaseSlots) << record;
        return 22209 + (record - phaseFirst) * 255;
    }
    return 22209 + phaseSlots * 255 + (record - 143) * 255;
}

std::vector<char> Bytes(const TGrsed& root, const projectfile::ProjectFileExtras& extras) {
    std::vector<char> bytes;
    const std::string error = projectfile::BuildProjectFile(root, extras, bytes);
    EXPECT_EQ(error, "");
    return bytes;
}

std::string SlotAt(const std::vector<char>& bytes, size_t offset) {
    if (offset + 255 > bytes.size()) {
        ADD_FAILURE() << "slot at " << offset << " is past the end";
        return {};
    }
    const char* start = bytes.data() + offset;
    const void* nul = std::memchr(start, 0, 255);
    if (!nul) {
        ADD_FAILURE() << "slot at " << offset << " has no NUL";
        return {};
    }
    return std::string(start, static_cast<const char*>(nul));
}

std::int32_t WordAt(const std::vector<char>& bytes, size_t offset) {
    std::uint32_t v = 0;
    for (int k = 0; k < 4; ++k)
        v |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes.at(offset + k)))
             << (8 * k);
    return static_cast<std::int32_t>(v);
}

void PutSlot(std::string& bytes, size_t offset, const std::string& text) {
    std::string slot = text;
    slot.resize(255, '\0');
    bytes.replace(offset, 255, slot);
}

void PutWord(std::string& bytes, size_t offset, std::int32_t value) {
    const auto v = static_cast<std::uint32_t>(value);
    for (int k = 0; k < 4; ++k) bytes[offset + k] = static_cast<char>((v >> (8 * k)) & 0xFF);
}

std::string MakeTempFolder() {
    std::string pattern = ::testing::TempDir() + "projectfileXXXXXX";
    const char* made = ::mkdtemp(pattern.data());
    EXPECT_NE(made, nullptr);
    return pattern;
}

std::vector<char> FileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
