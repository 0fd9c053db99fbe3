// Reference tables are read once and kept in memory; a lookup still sees a table as its file holds
// it now: after an edit in the table window, a rewrite by another program, or damage.
#include <QCoreApplication>
#include <QLineEdit>
#include <QProcess>
#include <QTest>
#include <fstream>
#include <sstream>

#include "FileTime.h"
#include "SelectionFixture.h"
#include "platform/ClientDataSet.h"
#include "platform/DBGrid.h"
#include "platform/FileListBox.h"
#include "platform/Messages.h"
#include "refdb/BazaT.h"
#include "refdb/TableSchemas.h"

namespace {

std::string Bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

// The text with `from` replaced by `to` (once).
std::string Replaced(std::string text, const std::string& from, const std::string& to) {
    const size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos) text.replace(at, from.size(), to);
    return text;
}

class TablesInMemory : public SelectionTest {
protected:
    void SetUp() override {
        SelectionTest::SetUp();
        // Files as old as those of an installed program: read once, they are kept.
        for (const char* name : {kCopperCable, "Avtomat.xml"})
            ASSERT_TRUE(SetFileTime(ProgramFile(name), LongAgo()));
    }

    // The group-line lookup of 28 A, in air at 25 degrees C (factor 1.0): 4 mm2 while the
    // 2.5 mm2 row carries 27 A (27 < 28 <= 36), 2.5 mm2 once it carries 28 A or more.
    double SectionFor28A() {
        return checks().ContinuousCurrentLookup("0", kCopperCable, 28, 25, true, "Медь");
    }

    // Another program writes the file anew with these bytes (in place, as `cp` does).
    void RewriteByAnotherProgram(const std::string& name, const std::string& bytes) {
        const std::string source = settingsDir_.filePath("new.xml").toStdString();
        std::ofstream(source, std::ios::binary) << bytes;
        ASSERT_EQ(QProcess::execute("cp", {QString::fromStdString(source),
                                           QString::fromStdString(ProgramFile(name))}),
                  0);
    }

    // The current of the 2.5 mm2 row in the cable table's file, read by a dataset of its own.
    double CurrentOfSmallestInFile() {
        platform::TClientDataSet file;
        file.SetIndexFieldNames(refdb::kCrossSection);
        file.LoadFromFile(ProgramFile(kCopperCable));
        file.First();
        return file.FieldByName(refdb::kContinuousCurrent).AsFloat();
    }
};

TEST_F(TablesInMemory, AnEditInTheTableWindowIsSeenByTheNextLookup) {
    ASSERT_EQ(SectionFor28A(), 4);
    ASSERT_EQ(SectionFor28A(), 4);

    // The user opens the table in its window and types 30 A for 2.5 mm2.
    BazaT->show();
    platform::TFileListBox& list = *BazaT->FileListBox1;
    list.Update();  // the fixture wrote the tables after the window listed the folder
    const int entry = list.IndexOf(kCopperCable);
    ASSERT_GE(entry, 0);
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {},
                      list.visualItemRect(list.item(entry)).center());
    platform::TDBGrid& grid = *BazaT->DBGrid1;
    ASSERT_EQ(grid.CellText(0, 0), "2,5");
    ASSERT_EQ(grid.CellText(0, 2), "27");
    const QModelIndex cell = grid.model()->index(0, 2);
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, grid.visualRect(cell).center());
    QTest::keyClick(&grid, Qt::Key_F2);
    QLineEdit* editor = grid.findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    editor->selectAll();
    QTest::keyClicks(editor, "30");
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents();  // the view takes the value once the key is handled
    ASSERT_EQ(grid.CellText(0, 2), "30");

    // The lookup takes the table over from the window: the edit is written and read.
    EXPECT_EQ(SectionFor28A(), 2.5);
    EXPECT_EQ(SectionFor28A(), 2.5);
    EXPECT_EQ(checks().FailureFlag, 0);
    EXPECT_EQ(CurrentOfSmallestInFile(), 30);
}

TEST_F(TablesInMemory, ARewriteByAnotherProgramIsSeenByTheNextLookup) {
    ASSERT_EQ(SectionFor28A(), 4);
    ASSERT_EQ(SectionFor28A(), 4);
    // The same size: only the file's times tell the change.
    const std::string path = ProgramFile(kCopperCable);
    const std::string bytes = Bytes(path);
    const std::string changed =
        Replaced(bytes, "Длительный_x0020_ток=\"27\"", "Длительный_x0020_ток=\"29\"");
    ASSERT_EQ(changed.size(), bytes.size());
    RewriteByAnotherProgram(kCopperCable, changed);

    EXPECT_EQ(SectionFor28A(), 2.5);
    EXPECT_EQ(checks().FailureFlag, 0);
}

TEST_F(TablesInMemory, ATableDamagedAfterItWasReadGivesItsMessageAndNoSection) {
    ASSERT_EQ(SectionFor28A(), 4);
    const std::string bytes = Bytes(ProgramFile(kCopperCable));
    RewriteByAnotherProgram(kCopperCable, bytes.substr(0, bytes.size() / 2));

    // Once at every open, and nothing found.
    for (int lookup = 0; lookup < 2; ++lookup) {
        responder_.ExpectMessage("Ошибка E201. В базе данных поврежден файл  Кабель4Медь.xml", "",
                                 platform::mrOk);
        EXPECT_EQ(SectionFor28A(), 0.0) << lookup;
        EXPECT_EQ(checks().FailureFlag, 1) << lookup;
        checks().FailureFlag = 0;
    }

    // Put right, it is read again.
    RewriteByAnotherProgram(kCopperCable, bytes);
    EXPECT_EQ(SectionFor28A(), 4);
}

TEST_F(TablesInMemory, ARewrittenBreakerBaseIsSeenByTheNextLookup) {
    ASSERT_EQ(checks().GetTripMultiplicity("ВА47-29 1P C"), 10);
    ASSERT_EQ(checks().GetTripMultiplicity("ВА47-29 1P C"), 10);
    RewriteByAnotherProgram(
        "Avtomat.xml", Replaced(Bytes(ProgramFile("Avtomat.xml")),
                                "=\"0,5...63\" Кратность_x0020_тока_x0020_при_x0020_КЗ=\"10\"",
                                "=\"0,5...63\" Кратность_x0020_тока_x0020_при_x0020_КЗ=\"12\""));
    EXPECT_EQ(checks().GetTripMultiplicity("ВА47-29 1P C"), 12);
}

}  // namespace
