// Opening project files that cannot become the open project, and the round trip of a project
// through Save As and Open.
#include <gtest/gtest.h>

#include <QFile>
#include <cstdint>
#include <functional>

#include "ProjectCommandsFixture.h"
#include "TreeLookup.h"
#include "app/Mainform.h"
#include "app/ProjectFile.h"
#include "app/SchemeWindow.h"
#include "groups/Dan12.h"
#include "model/Chains.h"
#include "platform/ClientDataSet.h"
#include "platform/ProgramFolder.h"
#include "refdb/TableSchemas.h"

namespace {

using platform::mrOk;

void PutWord(std::string& bytes, size_t offset, std::int32_t value) {
    const auto v = static_cast<std::uint32_t>(value);
    for (int k = 0; k < 4; ++k) bytes[offset + k] = static_cast<char>((v >> (8 * k)) & 0xFF);
}

void PutSlot(std::string& bytes, size_t offset, const std::string& text) {
    bytes.replace(offset, 255, std::string(255, '\0'));
    bytes.replace(offset, text.size(), text);
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    QFile file(QString::fromStdString(path));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes.data(), static_cast<qint64>(bytes.size()));
}

// Offsets in the file of the small project (one switchboard, three panels): header slots 1-5
// and the switchboard count end at 5 x 255 + 4 = 1279; one panel count; B1 and B2, 21 slots;
// three panels' four group counts; B4, 37 slots, and B5, 7 slots, for each panel; then the first
// panel's first scheme record.
constexpr size_t kSwitchboardCount = 5 * 255;
constexpr size_t kRecord3 = 2 * 255;
constexpr size_t kRecord5 = 4 * 255;
constexpr size_t kFirstLine = 1279 + 4 + 21 * 255 + 3 * 16 + 3 * 37 * 255 + 3 * 7 * 255;

struct Damage {
    const char* what;
    std::function<void(std::string&)> damage;
    std::string detail;  // "" : the size text of the damaged file
};

void PrintTo(const Damage& d, std::ostream* os) {
    *os << d.what;
}

class DamagedFile : public ProjectCommandsTest, public ::testing::WithParamInterface<Damage> {
protected:
    // The damaged file and the message that names it.
    std::string WriteDamaged() {
        std::string bytes = FileBytes(WriteProject(SmallProject(), ProjectPath("Малый.VPQ")));
        GetParam().damage(bytes);
        const std::string path = ProjectPath("Повреждённый.VPQ");
        WriteBytes(path, bytes);
        const std::string detail = GetParam().detail.empty()
                                       ? "его размер (" + std::to_string(bytes.size()) +
                                             " байт) не соответствует записанным в нём числам "
                                             "ГРЩ, щитов и групп"
                                       : GetParam().detail;
        message_ = "Файл \"" + path + "\" повреждён: " + detail + ".";
        return path;
    }
    std::string message_;
};

TEST_P(DamagedFile, LeavesNoProjectOpen) {
    const std::string path = WriteDamaged();
    responder_.ExpectMessage(message_, "", mrOk);
    OpenThroughMenu(path);
    EXPECT_EQ(ProjectRoot, nullptr);
    EXPECT_FALSE(Form1->SchemeWindowShown());
    EXPECT_EQ(Form1->ProjectFileName, "");
}

TEST_P(DamagedFile, LeavesThePreviousProjectAsItWas) {
    const std::string damaged = WriteDamaged();
    const std::string previous = ProjectPath("Малый.VPQ");
    OpenThroughMenu(previous);
    TGrsed* open = ProjectRoot;
    const std::string before = ProjectBytes();

    responder_.ExpectMessage(message_, "", mrOk);
    OpenThroughMenu(damaged);
    EXPECT_EQ(ProjectRoot, open);
    EXPECT_TRUE(ProjectBytes() == before);
    EXPECT_EQ(Form1->ProjectFileName, previous);
    EXPECT_EQ(Form1->SchemeCaption(), previous);
    EXPECT_EQ(Form1->StatusText(), previous);
    EXPECT_EQ(Form1->ProjectSaved, 1);
    // A damaged file is not offered again.
    for (const auto& entry : Form1->RecentFiles) EXPECT_NE(entry->Path, damaged);
}

INSTANTIATE_TEST_SUITE_P(
    Damages, DamagedFile,
    ::testing::Values(
        Damage{"empty file", [](std::string& b) { b.clear(); }, "он обрывается на записи 1"},
        Damage{"ends in the header", [](std::string& b) { b.resize(1000); },
               "он обрывается на записи 4"},
        Damage{"a slot without its NUL",
               [](std::string& b) { b.replace(kRecord3, 255, std::string(255, 'x')); },
               "в записи 3 нет завершающего нулевого байта"},
        Damage{"a negative switchboard count",
               [](std::string& b) { PutWord(b, kSwitchboardCount, -1); },
               "в записи 6 записано отрицательное число элементов (-1)"},
        Damage{"counts the file cannot hold",
               [](std::string& b) { PutWord(b, kSwitchboardCount, 1000); }, ""},
        Damage{"a file cut in the group lines", [](std::string& b) { b.resize(kFirstLine + 300); },
               ""},
        Damage{"a number slot that is no number",
               [](std::string& b) { PutSlot(b, kRecord5, "abc"); },
               "в записи 5 вместо числа записано \"abc\""},
        Damage{"a line of seven conductors", [](std::string& b) { PutSlot(b, kFirstLine, "7"); },
               "в записи 77 (ГРЩ 1, щит 1, группа 1) недопустимое число проводников группы (7)"}));

// A file that names a reference table the program folder does not have.
struct MissingReference {
    const char* what;
    std::function<void(const std::string& path)> prepare;
    const char* message;
    const char* caption;
};

void PrintTo(const MissingReference& c, std::ostream* os) {
    *os << c.what;
}

class MissingReferences : public ProjectCommandsTest,
                          public ::testing::WithParamInterface<MissingReference> {};

TEST_P(MissingReferences, AreReportedAndLeaveNoProjectOpen) {
    const std::string path = WriteProject(SmallProject(), ProjectPath("Малый.VPQ"));
    GetParam().prepare(path);
    responder_.ExpectMessage(GetParam().message, GetParam().caption, mrOk);
    OpenThroughMenu(path);
    EXPECT_EQ(ProjectRoot, nullptr);
    EXPECT_FALSE(Form1->SchemeWindowShown());
    for (const auto& entry : Form1->RecentFiles) EXPECT_NE(entry->Path, path);
}

INSTANTIATE_TEST_SUITE_P(
    References, MissingReferences,
    ::testing::Values(
        MissingReference{"a transformer not in the base",
                         [](const std::string& path) {
                             projectfile::LoadResult file = projectfile::LoadProjectFile(path);
                             file.Root->TransformerName = "ТМ-9999/10";
                             ASSERT_EQ(projectfile::SaveProjectFile(path, *file.Root, file.Extras),
                                       "");
                         },
                         "В базе данных отсутствует трансформатор ТМ-9999/10", "Ошибка"},
        MissingReference{"a cable table not in the program folder",
                         [](const std::string&) {
                             ASSERT_TRUE(QFile::remove(
                                 QString::fromStdString(platform::ProgramFolder() + "ВВГв3.xml")));
                         },
                         "Таблица  ВВГв3.xml  несуществует в базе данных", "Предупреждение"},
        // Said once for the table, not once for every cable that uses it.
        MissingReference{"a cable table without rows",
                         [](const std::string&) {
                             platform::TClientDataSet table;
                             const std::string file = platform::ProgramFolder() + "ВВГв4.xml";
                             table.LoadFromFile(file);
                             while (!table.IsEmpty()) {
                                 table.First();
                                 table.Delete();
                             }
                             table.SaveToFile(file);
                         },
                         "В таблице  ВВГв4.xml  нет данных.", "Предупреждение."},
        // A group line's table without "Длительный ток": the cable pass of that line cannot
        // choose a section, and the project is not opened with what the passes left unfinished.
        MissingReference{
            "a cable table without its current column",
            [](const std::string&) {
                platform::TClientDataSet table;
                table.FieldDefs().Add(refdb::kCrossSection, platform::ftFloat, 0, true);
                for (const char* parameter : {"ВВГ", "В воздухе", "3", "Кабель", "Медь"})
                    table.FieldDefs().Add(parameter, platform::ftString, 10, false);
                table.CreateDataSet();
                for (double section : {1.5, 2.5, 4.0}) {
                    table.Append();
                    table.FieldByName(refdb::kCrossSection).SetAsFloat(section);
                    table.Post();
                }
                table.SaveToFile(platform::ProgramFolder() + "ВВГв3.xml");
            },
            "Ошибка E201. В базе данных поврежден файл  ВВГв3.xml", ""}));

TEST_F(ProjectCommandsTest, AFileThatIsGoneIsReported) {
    responder_.ExpectMessage("Невозможно открыть файл. Файл перемещен или удален.", "", mrOk);
    OpenThroughMenu(ProjectPath("Нет такого.VPQ"));
    EXPECT_EQ(ProjectRoot, nullptr);
    EXPECT_FALSE(Form1->SchemeWindowShown());
}

// ---------------------------------------------------------------------------------------------
// Round trip

// Everything the recalculation and the voltage refresh give the open project, node by node.
std::vector<double> Results() {
    std::vector<double> r;
    const TGrsed& root = *ProjectRoot;
    for (double v : {root.TotalCurrentA, root.TotalCurrentB, root.TotalCurrentC,
                     root.TotalDesignCurrent, root.TotalCosPhi})
        r.push_back(v);
    for (const TGrsed* sw = root.Switchboards.First; sw; sw = sw->Switchboards.Next) {
        for (double v : {sw->SwitchboardCurrentA, sw->SwitchboardCurrentB, sw->SwitchboardCurrentC,
                         sw->SwitchboardDesignCurrent, sw->SwitchboardCosPhi, sw->SwitchboardLossA,
                         sw->SwitchboardLossB, sw->SwitchboardLossC, sw->SwitchboardSection})
            r.push_back(v);
        for (const TSitid* p = sw->Panels.First; p; p = p->Panels.Next) {
            for (double v : {p->OwnCurrentA, p->OwnCurrentB, p->OwnCurrentC, p->OwnDesignCurrent,
                             p->CascadeDesignCurrent, p->FeederCurrentA, p->FeederCurrentB,
                             p->FeederCurrentC, p->PanelCosPhi, p->VoltageLossA, p->VoltageLossB,
                             p->VoltageLossC, p->FeederSection, p->FeederSection2})
                r.push_back(v);
            for (const TCxemaGrupd* g = p->SchemeGroups.First; g; g = g->SchemeGroups.Next)
                for (double v : {g->CrossSection, g->VoltageDeviation}) r.push_back(v);
        }
    }
    return r;
}

// Panel 1 carries one single-phase line of 1.5 kW at cos 0.95, on phase A; panel 2 one
// three-phase line of 5.5 kW at cos 0.85. A phase current is P x 1000 / (380 / sqrt 3 x cos):
// 1500 / (219.393 x 0.95) = 7.197 -> 7.20 A; 1833.3 / (219.393 x 0.85) = 9.831 -> 9.83 A.
void ExpectHandWorkedCurrents() {
    const TSitid* lighting = PanelNumbered(1);
    EXPECT_NEAR(lighting->OwnCurrentA, 7.20, 1e-9);
    EXPECT_EQ(lighting->OwnCurrentB, 0.0);
    EXPECT_EQ(lighting->OwnCurrentC, 0.0);
    const TSitid* motors = PanelNumbered(2);
    EXPECT_NEAR(motors->OwnCurrentA, 9.83, 1e-9);
    EXPECT_NEAR(motors->OwnCurrentB, 9.83, 1e-9);
    EXPECT_NEAR(motors->OwnCurrentC, 9.83, 1e-9);
}

TEST_F(ProjectCommandsTest, SaveAsThenOpenRecalculatesToTheSameResults) {
    const std::string original = WriteProject(SmallProject(), ProjectPath("Малый.VPQ"));
    OpenThroughMenu(original);
    ExpectHandWorkedCurrents();
    const std::vector<double> first = Results();

    const std::string copy = ProjectPath("Копия.VPQ");
    AnswerFileDialog(copy);
    Form1->SaveAs->trigger();
    Form2->close();
    ASSERT_EQ(ProjectRoot, nullptr);
    OpenThroughMenu(copy);
    ASSERT_NE(ProjectRoot, nullptr);

    EXPECT_EQ(Results(), first);
    ExpectHandWorkedCurrents();
    // The loaded project was the finished design it was saved as: written again, it is the
    // same file.
    EXPECT_TRUE(FileBytes(copy) == FileBytes(original));
    EXPECT_TRUE(responder_.Messages().empty());
}

// The fault currents of every switchboard, panel and group line, in tree order.
std::vector<double> FaultCurrents() {
    std::vector<double> r;
    for (const TGrsed* sw = ProjectRoot->Switchboards.First; sw; sw = sw->Switchboards.Next) {
        r.insert(r.end(), {sw->SwitchboardFaultCurrent1, sw->SwitchboardFaultCurrent3,
                           sw->SwitchboardSurgeCurrent});
        for (const TSitid* p = sw->Panels.First; p; p = p->Panels.Next) {
            r.insert(r.end(), {p->PanelFaultCurrent1, p->PanelFaultCurrent3, p->PanelSurgeCurrent});
            for (const TCxemaGrupd* g = p->SchemeGroups.First; g; g = g->SchemeGroups.Next)
                r.push_back(g->SinglePhaseFaultCurrent);
        }
    }
    return r;
}

// A file written with other fault currents than this program computes (as an earlier version
// wrote them), and with the breaker of line 1.1 raised from its rating to 50 A, which has the same
// coils and contacts but trips only at 50 times the multiplicity: opened, every fault current is
// the one the sections give, the line is named once, and the project stays as the file has it.
TEST_F(ProjectCommandsTest, OpeningComputesTheFaultCurrentsAgain) {
    const std::string original = WriteProject(SmallProject(), ProjectPath("Малый.VPQ"));
    OpenThroughMenu(original);
    const std::vector<double> computed = FaultCurrents();
    const TCxemaGrupd* line = PanelNumbered(1)->SchemeGroups.First;
    ASSERT_EQ(line->GroupName, "1.1");
    ASSERT_LT(line->BreakerRating, 50);
    ASSERT_LT(line->SinglePhaseFaultCurrent, 50 * Dan1->GetTripMultiplicity(line->BreakerType));
    Form2->close();

    projectfile::LoadResult loaded = projectfile::LoadProjectFile(original);
    ASSERT_EQ(loaded.Status, projectfile::LoadStatus::Loaded);
    TGrsed& root = *loaded.Root;
    for (TGrsed* sw = root.Switchboards.First; sw; sw = sw->Switchboards.Next) {
        sw->SwitchboardFaultCurrent1 = sw->SwitchboardFaultCurrent3 = 1;
        sw->SwitchboardSurgeCurrent = 1;
        for (TSitid* p = sw->Panels.First; p; p = p->Panels.Next) {
            p->PanelFaultCurrent1 = p->PanelFaultCurrent3 = p->PanelSurgeCurrent = 1;
            for (TCxemaGrupd* g = p->SchemeGroups.First; g; g = g->SchemeGroups.Next) {
                g->SinglePhaseFaultCurrent = 1;
                if (g->GroupName == "1.1") g->BreakerRating = 50;
            }
        }
    }
    const std::string earlier = ProjectPath("Ранний.VPQ");
    ASSERT_EQ(projectfile::SaveProjectFile(earlier, root, loaded.Extras), "");

    responder_.ExpectMessage(
        "Ток короткого замыкания в конце линии не превышает ток электромагнитного расцепителя "
        "автомата групп: 1.1.",
        "Предупреждение", mrOk);
    OpenThroughMenu(earlier);
    responder_.VerifyDone();
    ASSERT_NE(ProjectRoot, nullptr);
    EXPECT_EQ(FaultCurrents(), computed);
    EXPECT_EQ(PanelNumbered(1)->SchemeGroups.First->BreakerRating, 50);
}

}  // namespace
