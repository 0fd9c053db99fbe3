#include "ProjectScript.h"

#include <QDir>
#include <QTest>

#include "EditFixture.h"
#include "TreeImage.h"
#include "app/Mainform.h"
#include "documents/AdjustmentProject.h"
#include "editing/EditDialog.h"
#include "editing/Magistral.h"
#include "editing/Shiti12.h"
#include "groups/Dan12.h"
#include "groups/InsertAvtomat.h"
#include "platform/FileDialogs.h"
#include "app/PowerSystem.h"

namespace script {

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

}  // namespace script

namespace {

using namespace script;

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

}  // namespace

void ProjectScriptTest::SetUp() {
    ConnectionTest::SetUp();
    responder_.AnswerEvery("TInsertAvtomat", TakePreferredSeries());
}

void ProjectScriptTest::TearDown() {
    platform::SetFileDialogAnswer(nullptr);
    ConnectionTest::TearDown();
}

void ProjectScriptTest::Connect(const Project& project) {
    NewProject([this, &project] {
        for (const Switchboard& s : project.switchboards)
            ConnectSwitchboard(
                {s.number, s.length, LayingOf(s.table, "4"), s.table, "15", "КГ" + s.number});
        for (const Switchboard& s : project.switchboards) {
            for (const Panel& p : s.panels) {
                const std::string cable = "КЩ" + p.number;
                if (p.behind.empty()) {
                    ConnectPanel({s.number, p.number, p.length, LayingOf(p.table, "4"), p.table,
                                  "25", cable});
                    continue;
                }
                if (!Shiti->RadioButton2->isChecked()) Click(Shiti->RadioButton2);
                Choose(Shiti->ComboBox2, s.number);
                const std::string behind = p.behind;
                responder_.ExpectModal("TFormMagistral", [behind](QDialog&) {
                    Choose(FormMagistral->ComboBox1, behind);
                    Click(FormMagistral->Button1);
                    return platform::mrNone;
                });
                Click(Shiti->RadioGroup1Item1);
                // Laid as the trunk's head, on its table.
                ConnectPanel({"", p.number, p.length, "", "", "25", cable});
            }
        }
    });
}

void ProjectScriptTest::EnterLines(const Project& project) {
    const std::string transformer = project.transformer;
    responder_.ExpectModal("TPowerSystem", [transformer](QDialog&) {
        Choose(PowerSystem->ComboBox5, transformer);
        Click(PowerSystem->Button1);
        return platform::mrNone;
    });
    Form1->N11->trigger();
    ASSERT_TRUE(Dan1->isVisible());
    TDan1& d = *Dan1;
    std::vector<LaterLine> lines;
    for (const Switchboard& s : project.switchboards)
        for (const Panel& p : s.panels)
            for (const Line& line : p.lines) lines.push_back({p.number, line});
    lines.insert(lines.end(), project.laterLines.begin(), project.laterLines.end());
    for (const auto& [panel, line] : lines) {
        Choose(d.ComboBox2, panel);
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
        for (const ScriptedResponder::Event& e : responder_.Log())
            ASSERT_TRUE(e.kind != ScriptedResponder::Event::Kind::Message || e.standing)
                << line.name << ": " << e.message.text;
    }
    Click(d.ok);
}

void ProjectScriptTest::EnterDemandFactors(const Project& project) {
    for (const Switchboard& s : project.switchboards) {
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

void ProjectScriptTest::Build(const Project& project) {
    Connect(project);
    ASSERT_TRUE(responder_.Messages().empty()) << responder_.Messages()[0].text;
    EnterLines(project);
    EnterDemandFactors(project);
}

void ProjectScriptTest::WriteStamp(const Project& project) {
    TAdjustmentProjectForm& stamp = *AdjustmentProjectForm;
    stamp.DocumentCode = project.stamp[0];
    stamp.DevelopedBy = project.stamp[1];
    stamp.CheckedBy = project.stamp[2];
    stamp.ApprovedBy = project.stamp[3];
    stamp.NormControl = project.stamp[4];
}

std::string ProjectScriptTest::SaveAs(const std::string& name) {
    QDir().mkpath(QString::fromStdString(ProgramFile("Project")));
    const std::string path = ProgramFile("Project") + "/" + name;
    platform::SetFileDialogAnswer([path](const platform::FileDialogRequest&) { return path; });
    Form1->SaveAs->trigger();
    return path;
}

std::string ProjectScriptTest::DifferencesAfterReopening(const std::string& name) {
    if (!ProjectRoot) return "no project";
    const TreeImage built = ReopeningImage(*ProjectRoot);
    const std::string path = SaveAs(name);
    if (Form1->ProjectFileName != path) return "not saved";
    // What File > Open does with the file once the question about the open project is answered.
    if (!Form1->LoadProject(path)) return "not opened";
    return ReopeningDifferences(built, ReopeningImage(*ProjectRoot));
}
