// The three example projects the program ships (data/Project/Example1..3.VPQ), made as a user
// makes them: File > New with the switchboards, panels and trunks in the connection window, the
// group lines in the group line window (the transformer chosen in the power system dialog, every
// breaker dialog answered), the demand factors in the panel editor, then File > Save As, File >
// Open and File > Save. The title block has no window yet: it is written into the fields the
// file takes it from.
//
// The shipped files are this script's output. After a change that alters them (selection, file
// format, the script itself), write them again and commit them:
//   VELTRANOVA_WRITE_EXAMPLES=1 QT_QPA_PLATFORM=offscreen build/tests/test_editing
//   --gtest_filter='*ExampleProjectsScript*'
// Without the variable the script compares what it makes with the shipped files byte for byte.
#include <gtest/gtest.h>

#include <QDir>
#include <QTest>
#include <array>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include "ConnectionFixture.h"
#include "EditFixture.h"
#include "app/Mainform.h"
#include "documents/AdjustmentProject.h"
#include "editing/EditDialog.h"
#include "editing/Magistral.h"
#include "editing/Shiti12.h"
#include "groups/Dan12.h"
#include "groups/InsertAvtomat.h"
#include "platform/Conversions.h"
#include "platform/FileDialogs.h"
#include "selection/PowerSystem.h"

namespace {

// A group line as typed: its cable is named "К" and the line's name.
struct Line {
    std::string name;
    std::string conductors;
    std::string power;   // kW
    std::string cosPhi;  // the edit takes three characters: "0,9", not "0,95"
    std::string length;  // m
    std::string table;
};

struct Panel {
    std::string number;
    std::string length;  // feeder, m
    std::string table;
    std::vector<Line> lines;
    // A trunk member is connected behind this panel, with one cross-section for the trunk.
    std::string behind;
    // Entered in the panel editor once the lines are in ("" leaves 1); like cos φ, three
    // characters at most.
    std::string demandFactor;
};

struct Switchboard {
    std::string number;
    std::string length;  // supply cable, m
    std::vector<Panel> panels;
};

struct Example {
    std::string transformer;
    std::vector<Switchboard> switchboards;
    std::array<std::string, 5> stamp;
};

Panel Radial(const std::string& number, const std::string& length, const std::string& table,
             std::vector<Line> lines) {
    Panel p;
    p.number = number;
    p.length = length;
    p.table = table;
    p.lines = std::move(lines);
    return p;
}

Panel Member(Panel p, const std::string& behind) {
    p.behind = behind;
    return p;
}

Example Office() {
    return {"ТМ-250/10",
            {{"1",
              "40",
              {Radial("1", "30", "ВВГв4.xml",
                      {{"1.1", "2", "1,2", "0,9", "25", "ВВГв2.xml"},
                       {"1.2", "2", "1,6", "0,9", "35", "ВВГв2.xml"},
                       {"1.3", "2", "0,9", "0,9", "40", "ПВ1т2.xml"},
                       {"1.4", "2", "1,4", "0,9", "20", "ВВГв2.xml"}}),
               Radial("2", "45", "ВВГв4.xml",
                      {{"2.1", "2", "2,5", "0,9", "30", "ВВГв2.xml"},
                       {"2.2", "3", "4", "0,9", "25", "ВВГв3.xml"},
                       {"2.3", "4", "7,5", "0,8", "30", "ВВГв4.xml"}}),
               Member(Radial("3", "25", "ВВГв4.xml",
                             {{"3.1", "4", "5,5", "0,8", "15", "ВВГв4.xml"},
                              {"3.2", "2", "2", "0,9", "30", "ВВГв2.xml"},
                              {"3.3", "3", "3", "0,9", "20", "ВВГв3.xml"}}),
                      "2")}}},
            {"ВП-001-ЭМ", "Иванов", "Петров", "Сидоров", "Смирнова"}};
}

Panel Flats(const std::string& number, const std::string& length) {
    Panel p = Radial(number, length, "ВВГв4.xml", {});
    p.demandFactor = "0,6";
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
            {"ВП-002-ЭОМ", "Кузнецова", "Петров", "Сидоров", "Смирнова"}};
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
            {"ВП-003-ЭМ", "Орлов", "Петров", "Сидоров", "Смирнова"}};
}

Example ExampleNumbered(int number) {
    return number == 1 ? Office() : number == 2 ? Flats() : Workshop();
}

// The laying method a cable table is made for: its name ends in "в" (in air), "з" (in the
// ground) or "т" (in a pipe), then the conductor count.
std::string LayingOf(const std::string& table, const std::string& conductors) {
    const std::string kind =
        QString::fromStdString(table).section('.', 0, 0).chopped(1).right(1).toStdString();
    if (kind == "з") return "В земле";
    if (kind == "т")
        return conductors == "2"   ? "Два провода в трубе"
               : conductors == "3" ? "Три провода в трубе"
                                   : "Четыре провода в трубе";
    return "В воздухе";
}

// The series a designer takes for each breaker: the smallest of these that the dialog offers
// (it offers only those that fit the rating and the poles), else the first offered.
const std::vector<std::string> kPreferredSeries = {
    "ВА47-29 1P C", "ВА47-29 2P C", "ВА47-100 1P C", "ВА47-100 2P C", "ВА47-29 3P C",
    "ВА88-32 3P",   "ВА88-33 3P",   "ВА88-35 3P",    "ВА88-37 3P",    "ВА88-40 3P",
    "Э06В 3P",      "Э16В 3P",      "Э25В 3P",       "Э40В 3P"};

ScriptedResponder::ModalAction TakePreferredSeries() {
    return [](QDialog&) {
        QComboBox& list = *InsertAvtomat->ComboBox1;
        int chosen = list.count() > 0 ? 0 : -1;
        for (const std::string& series : kPreferredSeries) {
            const int at = list.findText(QString::fromStdString(series));
            if (at >= 0) {
                chosen = at;
                break;
            }
        }
        list.setCurrentIndex(chosen);
        QTest::mouseClick(InsertAvtomat->Button2, Qt::LeftButton);
        return platform::mrNone;
    };
}

class ExampleProjectsScript : public ConnectionTest, public ::testing::WithParamInterface<int> {
protected:
    void SetUp() override {
        ConnectionTest::SetUp();
        responder_.AnswerEvery("TInsertAvtomat", TakePreferredSeries());
    }
    void TearDown() override {
        platform::SetFileDialogAnswer(nullptr);
        ConnectionTest::TearDown();
    }

    void ExpectTrunkDialog(const std::function<void()>& inDialog) {
        responder_.ExpectModal("TFormMagistral", [inDialog](QDialog&) {
            inDialog();
            return platform::mrNone;
        });
    }

    // The switchboards and panels in the connection window of File > New.
    void Connect(const Example& example) {
        NewProject([this, &example] {
            for (const Switchboard& s : example.switchboards)
                ConnectSwitchboard(
                    {s.number, s.length, "В земле", "АВВГз4.xml", "15", "КГ" + s.number});
            for (const Switchboard& s : example.switchboards) {
                for (const Panel& p : s.panels) {
                    const std::string cable = "КЩ" + p.number;
                    if (p.behind.empty()) {
                        ConnectPanel(
                            {s.number, p.number, p.length, "В воздухе", p.table, "25", cable});
                        continue;
                    }
                    if (!Shiti->RadioButton2->isChecked()) Click(Shiti->RadioButton2);
                    Choose(Shiti->ComboBox2, s.number);
                    const std::string behind = p.behind;
                    ExpectTrunkDialog([behind] {
                        Choose(FormMagistral->ComboBox1, behind);
                        Click(FormMagistral->Button1);
                    });
                    Click(Shiti->RadioGroup1Item1);
                    // Laid as the trunk's head, on its table.
                    ConnectPanel({"", p.number, p.length, "", "", "25", cable});
                }
            }
        });
    }

    // "Подключение групп" with the transformer chosen, every line applied, then "закрыть".
    void EnterLines(const Example& example) {
        const std::string transformer = example.transformer;
        responder_.ExpectModal("TPowerSystem", [transformer](QDialog&) {
            Choose(PowerSystem->ComboBox5, transformer);
            Click(PowerSystem->Button1);
            return platform::mrNone;
        });
        Form1->N11->trigger();
        ASSERT_TRUE(Dan1->isVisible());
        TDan1& d = *Dan1;
        for (const Switchboard& s : example.switchboards) {
            for (const Panel& p : s.panels) {
                for (const Line& line : p.lines) {
                    Choose(d.ComboBox2, p.number);
                    Choose(d.ComboBox1, line.conductors);
                    Type(d.Edit4, line.length);
                    Type(d.Edit2, line.power);
                    Type(d.Edit1, line.cosPhi);
                    ASSERT_EQ(d.Edit1->text().toStdString(), line.cosPhi);
                    Type(d.Edit6, line.name);
                    Type(d.Edit5, "25");
                    Choose(d.ComboBox3, LayingOf(line.table, line.conductors));
                    Choose(d.ComboBox4, line.table);
                    Type(d.Edit7, "К" + line.name);
                    Click(d.sledychi);
                    ASSERT_TRUE(responder_.Messages().empty())
                        << line.name << ": " << responder_.Messages()[0].text;
                }
            }
        }
        Click(d.ok);
    }

    // "Редактирование" > "Щиты", the panel's "Изменить", its demand factor, "Изменить" of the
    // editor with the breakers set automatically.
    void EnterDemandFactors(const Example& example) {
        for (const Switchboard& s : example.switchboards) {
            for (const Panel& p : s.panels) {
                if (p.demandFactor.empty()) continue;
                Form1->N4->trigger();
                Choose(Form3->ComboBox4, s.number);
                Choose(Form3->ComboBox3, p.number);
                Click(Form3->Button5);
                ASSERT_TRUE(Shiti->isVisible());
                Type(Shiti->Edit9, p.demandFactor);
                ASSERT_EQ(Shiti->Edit9->text().toStdString(), p.demandFactor);
                responder_.ExpectMessage(
                    "Автоматы можно установить автоиатически или "
                    "вручную.\nУстановить автоматически?",
                    "Установка автоматов.", platform::mrYes);
                Click(Shiti->Button6);
                responder_.VerifyDone();
                EXPECT_FALSE(Shiti->isVisible());
                if (Form3->isVisible()) Form3->close();
            }
        }
    }

    // The title block as its window will keep it.
    static void WriteStamp(const Example& example) {
        TAdjustmentProjectForm& stamp = *AdjustmentProjectForm;
        stamp.DocumentCode = example.stamp[0];
        stamp.DevelopedBy = example.stamp[1];
        stamp.CheckedBy = example.stamp[2];
        stamp.ApprovedBy = example.stamp[3];
        stamp.NormControl = example.stamp[4];
    }

    // File > Save As into the program folder's "Project".
    std::string SaveAs(const std::string& name) {
        QDir().mkpath(QString::fromStdString(ProgramFile("Project")));
        const std::string path = ProgramFile("Project") + "/" + name;
        platform::SetFileDialogAnswer([path](const platform::FileDialogRequest&) { return path; });
        Form1->SaveAs->trigger();
        return path;
    }
};

TEST_P(ExampleProjectsScript, MadeThroughTheWindowsIsTheShippedFile) {
    const Example example = ExampleNumbered(GetParam());
    const std::string name = "Example" + platform::IntToStr(GetParam()) + ".VPQ";
    Connect(example);
    ASSERT_TRUE(responder_.Messages().empty()) << responder_.Messages()[0].text;
    EnterLines(example);
    EnterDemandFactors(example);
    WriteStamp(example);
    const std::string path = SaveAs(name);
    ASSERT_FALSE(FileBytes(path).empty());
    EXPECT_EQ(Form1->ProjectSaved, 1);
    ExpectListsAgreeWithTree();
    // Opened again and saved, as the program shows the design: the group lines of a trunk's
    // head keep the deviations of the first refresh after entry until the next one.
    // Saved, the project is not asked about.
    const std::size_t asked = responder_.Messages().size();
    Form1->Open1->trigger();
    responder_.VerifyDone();
    ASSERT_EQ(Form1->ProjectFileName, path);
    Form1->Save1->trigger();
    ASSERT_EQ(responder_.Messages().size(), asked) << responder_.Messages().back().text;
    ExpectListsAgreeWithTree();
    const std::string bytes = FileBytes(path);

    const std::string shipped = std::string(PROGRAM_DATA_DIR) + "/Project/" + name;
    if (std::getenv("VELTRANOVA_WRITE_EXAMPLES")) {
        std::ofstream out(shipped, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        ASSERT_TRUE(out.good()) << shipped;
    }
    EXPECT_TRUE(bytes == FileBytes(shipped))
        << shipped
        << " is not what the windows make now: write the examples again (see the "
           "head of this file)";
}

INSTANTIATE_TEST_SUITE_P(Shipped, ExampleProjectsScript, ::testing::Values(1, 2, 3));

}  // namespace
