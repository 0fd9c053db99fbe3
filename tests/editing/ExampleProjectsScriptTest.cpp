// The three example projects the program ships (data/Project/Example1..3.VPQ), made as a user
// makes them: File > New with the switchboards, panels and trunks in the connection window, the
// group lines in the group line window (the transformer chosen in the power system dialog, every
// breaker dialog answered), the demand factors in the panel editor, then File > Save As; the
// project File > Open then gives equals the one built, and File > Save of it writes the same
// file. The title block has no window yet: it is written into the fields the file takes it from.
//
// The shipped files are this script's output. After a change that alters them (selection, file
// format, the script itself), write them again and commit them:
//   VELTRANOVA_WRITE_EXAMPLES=1 QT_QPA_PLATFORM=offscreen build/tests/test_editing
//   --gtest_filter='*ExampleProjectsScript*'
// Without the variable the script compares what it makes with the shipped files byte for byte
// and names the first records that differ.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "EditFixture.h"
#include "ProjectFileDiff.h"
#include "ProjectScript.h"
#include "TreeImage.h"
#include "app/Mainform.h"
#include "platform/Conversions.h"

namespace {

using namespace script;
using Example = Project;

Example Office() {
    return {"ТМ-250/10",
            {{"1",
              "40",
              {Radial("1", "30", "ВВГв4.xml",
                      {{"1.1", "2", "1,2", "0,95", "25", "ВВГв2.xml"},
                       {"1.2", "2", "1,6", "0,95", "35", "ВВГв2.xml"},
                       {"1.3", "2", "0,9", "0,9", "40", "ПВ1т2.xml"},
                       {"1.4", "2", "1,4", "0,95", "20", "ВВГв2.xml"}}),
               Radial("2", "45", "ВВГв4.xml",
                      {{"2.1", "2", "2,5", "0,9", "30", "ВВГв2.xml"},
                       {"2.2", "3", "4", "0,9", "25", "ВВГв3.xml"},
                       {"2.3", "4", "7,5", "0,8", "30", "ВВГв4.xml"}}),
               Member(Radial("3", "25", "ВВГв4.xml",
                             {{"3.1", "4", "5,5", "0,8", "15", "ВВГв4.xml"},
                              {"3.2", "2", "2", "0,9", "30", "ВВГв2.xml"},
                              {"3.3", "3", "3", "0,9", "20", "ВВГв3.xml"}}),
                      "2")}}},
            {"ВП-001-ЭМ", "Иванов", "Петров", "Сидоров", "Смирнова"},
            {}};
}

Panel Flats(const std::string& number, const std::string& length) {
    Panel p = Radial(number, length, "ВВГв4.xml", {});
    p.demandFactor = "0,65";
    const std::vector<std::string> lengths = {"12", "18", "24", "14", "20", "26"};
    for (std::size_t i = 0; i < lengths.size(); ++i)
        p.lines.push_back({number + "." + platform::IntToStr(static_cast<int>(i) + 1), "2", "4,5",
                           "0,9", lengths[i], "ВВГв2.xml"});
    return p;
}

Example Flats() {
    return {"ТМ-400/10",
            {{"1", "45", {Flats("1", "15"), Flats("2", "25")}},
             {"2",
              "55",
              {Radial("4", "10", "ВВГв4.xml",
                      {{"4.1", "2", "0,8", "0,9", "45", "ПВ1т2.xml"},
                       {"4.2", "2", "0,8", "0,9", "50", "ПВ1т2.xml"},
                       {"4.3", "2", "0,6", "0,9", "30", "ПВ1т2.xml"},
                       {"4.4", "3", "2", "0,9", "20", "ВВГв3.xml"}}),
               Radial("5", "20", "ВВГв4.xml",
                      {{"5.1", "4", "7,5", "0,8", "25", "ВВГв4.xml"},
                       {"5.2", "4", "4", "0,8", "15", "ВВГв4.xml"}}),
               Member(Radial("6", "30", "ВВГв4.xml",
                             {{"6.1", "4", "2,2", "0,8", "10", "ВВГв4.xml"},
                              {"6.2", "4", "2,2", "0,8", "12", "ВВГв4.xml"},
                              {"6.3", "2", "1", "0,9", "15", "ВВГв2.xml"}}),
                      "5")}}},
            {"ВП-002-ЭОМ", "Кузнецова", "Петров", "Сидоров", "Смирнова"},
            {}};
}

Example Workshop() {
    return {"ТМ-630/10",
            {{"1",
              "60",
              {Radial("1", "25", "АВВГв4.xml",
                      {{"1.1", "4", "11", "0,8", "20", "ВВГв4.xml"},
                       {"1.2", "4", "7,5", "0,8", "25", "ВВГв4.xml"},
                       {"1.3", "4", "15", "0,8", "18", "ВВГв4.xml"}}),
               Member(Radial("2", "30", "АВВГв4.xml",
                             {{"2.1", "4", "5,5", "0,8", "12", "АПВт4.xml"},
                              {"2.2", "4", "5,5", "0,8", "16", "АПВт4.xml"},
                              {"2.3", "3", "10", "0,7", "20", "АВВГв3.xml"}}),
                      "1"),
               Radial("3", "40", "ВВГв4.xml",
                      {{"3.1", "2", "1,8", "0,9", "40", "АПВт2.xml"},
                       {"3.2", "2", "1,8", "0,9", "45", "АПВт2.xml"},
                       {"3.3", "2", "1,2", "0,9", "30", "ПВ1т2.xml"}}),
               Radial("4", "35", "ВВГв4.xml",
                      {{"4.1", "4", "4", "0,8", "10", "ВВГв4.xml"},
                       {"4.2", "4", "3", "0,8", "14", "ВВГв4.xml"},
                       {"4.3", "3", "3", "0,9", "8", "ВВГв3.xml"}})}}},
            {"ВП-003-ЭМ", "Орлов", "Петров", "Сидоров", "Смирнова"},
            {}};
}

Example ExampleNumbered(int number) {
    return number == 1 ? Office() : number == 2 ? Flats() : Workshop();
}

class ExampleProjectsScript : public ProjectScriptTest,
                              public ::testing::WithParamInterface<int> {};

TEST_P(ExampleProjectsScript, MadeThroughTheWindowsIsTheShippedFile) {
    const Example example = ExampleNumbered(GetParam());
    const std::string name = "Example" + platform::IntToStr(GetParam()) + ".VPQ";
    Build(example);
    WriteStamp(example);
    const std::string path = SaveAs(name);
    const std::string bytes = FileBytes(path);
    ASSERT_FALSE(bytes.empty());
    EXPECT_EQ(Form1->ProjectSaved, 1);
    ExpectListsAgreeWithTree();
    const TreeImage built = ReopeningImage(*ProjectRoot);

    // What the windows built is what File > Open of the file gives, and saving that again
    // writes the same file. Saved, the project is not asked about.
    const std::size_t asked = responder_.Messages().size();
    Form1->Open1->trigger();
    responder_.VerifyDone();
    ASSERT_EQ(Form1->ProjectFileName, path);
    const std::string reopened = ReopeningDifferences(built, ReopeningImage(*ProjectRoot), 200);
    EXPECT_TRUE(reopened.empty()) << reopened;
    Form1->Save1->trigger();
    ASSERT_EQ(responder_.Messages().size(), asked) << responder_.Messages().back().text;
    ExpectListsAgreeWithTree();
    const std::string resaved = ProjectFileDifferences(FileBytes(path), bytes);
    EXPECT_TRUE(resaved.empty()) << "saved again after opening, the file changed:\n" << resaved;

    const std::string shipped = std::string(PROGRAM_DATA_DIR) + "/Project/" + name;
    if (std::getenv("VELTRANOVA_WRITE_EXAMPLES")) {
        std::ofstream out(shipped, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        ASSERT_TRUE(out.good()) << shipped;
    }
    const std::string differences = ProjectFileDifferences(bytes, FileBytes(shipped));
    EXPECT_TRUE(differences.empty())
        << shipped << " is not what the windows make now; write the examples again (see the "
        << "head of this file) if that is meant:\n"
        << differences;
}

INSTANTIATE_TEST_SUITE_P(Shipped, ExampleProjectsScript, ::testing::Values(1, 2, 3));

}  // namespace
