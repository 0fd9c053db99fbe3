// The comparison of two project files record by record: what a failed comparison of an expected
// file names.
#include <gtest/gtest.h>

#include <functional>

#include "ProjectFileDiff.h"
#include "ProjectFileSupport.h"

using projectfile::ProjectFileExtras;

namespace {

// Switchboard 1 with panels 1 and 3; panel 3 holds the lines "3.1" (two conductors) and "3.2"
// (four).
struct Sample {
    ProjectBuilder builder;
    TGrsed* switchboard = nullptr;
    TSitid* panel1 = nullptr;
    ProjectBuilder::Line line1, line2;
    ProjectFileExtras extras;

    Sample() {
        switchboard = builder.AddSwitchboard(1);
        panel1 = builder.AddPanel(1, 1);
        builder.AddPanel(1, 3);
        line1 = builder.AddGroup(3, 2, "3.1");
        line2 = builder.AddGroup(3, 4, "3.2");
    }
    std::string File() {
        const std::vector<char> bytes = Bytes(builder.Root(), extras);
        return std::string(bytes.begin(), bytes.end());
    }
};

TEST(ProjectFileDifferences, NameTheRecordItsFieldItsElementAndBothValues) {
    const std::string expected = Sample().File();
    const struct {
        const char* why;
        std::function<void(Sample&)> change;
        std::string message;
    } cases[] = {
        {"equal files", [](Sample&) {}, ""},
        {"a scheme record", [](Sample& s) { s.line2.scheme->SinglePhaseFaultCurrent = 120.5; },
         "record 84 SinglePhaseFaultCurrent, ГРЩ 1, щит 3, группа \"3.2\": \"120,5\" made, \"0\" "
         "expected\n"},
        {"a single-phase record's text", [](Sample& s) { s.line1.single->GroupName1 = "3.1а"; },
         "record 103 GroupName1, ГРЩ 1, щит 3, однофазная запись \"3.1\": \"3.1а\" made, \"3.1\" "
         "expected\n"},
        {"a three-phase record", [](Sample& s) { s.line2.three->CurrentA3 = 17.25; },
         "record 131 CurrentA3, ГРЩ 1, щит 3, трёхфазная запись \"3.2\": \"17,25\" made, \"0\" "
         "expected\n"},
        {"a panel", [](Sample& s) { s.panel1->FeederLength = 25; },
         "record 40 FeederLength, ГРЩ 1, щит 1: \"25\" made, \"0\" expected\n"},
        {"a switchboard", [](Sample& s) { s.switchboard->SwitchboardCableName = "КГ1"; },
         "record 28 SwitchboardCableName, ГРЩ 1: \"КГ1\" made, \"\" expected\n"},
        {"the title block and a panel, in file order",
         [](Sample& s) {
             s.extras.Stamp.DevelopedBy = "Иванов";
             s.panel1->FeederLength = 25;
         },
         "record 40 FeederLength, ГРЩ 1, щит 1: \"25\" made, \"0\" expected\n"
         "record 145 DevelopedBy, проект: \"Иванов\" made, \"\" expected\n"},
    };
    for (const auto& c : cases) {
        Sample made;
        c.change(made);
        EXPECT_EQ(ProjectFileDifferences(made.File(), expected), c.message) << c.why;
    }
}

// A group more moves every record after it: its panel's counts differ, and its records are
// named as the made file's only.
TEST(ProjectFileDifferences, ARecordOnlyOneFileHolds) {
    const std::string expected = Sample().File();
    Sample made;
    made.builder.AddGroup(1, 2, "1.1");
    EXPECT_EQ(ProjectFileDifferences(made.File(), expected),
              "record 29 SchemeGroupCount, ГРЩ 1, щит 1: \"1\" made, \"0\" expected\n"
              "record 30 SinglePhaseCount, ГРЩ 1, щит 1: \"1\" made, \"0\" expected\n"
              "record 77 PhaseKind, ГРЩ 1, щит 1, группа \"1.1\": made only (\"2\")\n"
              "record 78 Power, ГРЩ 1, щит 1, группа \"1.1\": made only (\"0\")\n"
              "record 79 DesignCurrent, ГРЩ 1, щит 1, группа \"1.1\": made only (\"0\")\n"
              "and 25 more records differ\n");  // the rest of 17 + 11 records
}

TEST(ProjectFileDifferences, BytesTheReaderIgnoresAndFilesItRefuses) {
    const std::string expected = Sample().File();
    std::string made = expected;
    made[2 * 255 + 100] = 'x';  // after the NUL of record 3, the transformer's name
    EXPECT_EQ(ProjectFileDifferences(made, expected),
              "record 3 TransformerName, проект: \"\" in both, the bytes after it differ\n");
    const std::string cut = expected.substr(0, expected.size() - 300);
    EXPECT_EQ(ProjectFileDifferences(expected, cut).rfind("expected file: файл повреждён: ", 0), 0u)
        << ProjectFileDifferences(expected, cut);
}

}  // namespace
