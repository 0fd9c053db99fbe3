// Opening a project while a reference table it needs is damaged: the table is reported by its
// file, the load stops and the open project stays as it was.
#include <gtest/gtest.h>

#include <QFile>

#include "ProjectCommandsFixture.h"
#include "app/Mainform.h"
#include "platform/ProgramFolder.h"
#include "refdb/BazaT.h"
#include "refdb/BazaTran.h"

namespace {

using platform::mrNo;
using platform::mrOk;

// Replaces every `from` in the file by `to`.
void AlterFile(const std::string& path, const std::string& from, const std::string& to) {
    std::string bytes = FileBytes(path);
    size_t at = bytes.find(from);
    ASSERT_NE(at, std::string::npos) << from;
    for (; at != std::string::npos; at = bytes.find(from, at + to.size()))
        bytes.replace(at, from.size(), to);
    QFile file(QString::fromStdString(path));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes.data(), static_cast<qint64>(bytes.size()));
}

class DamagedReferenceTables : public ProjectCommandsTest {
protected:
    // The small project open, and a second file of it to open over it.
    std::string OpenOneAndWriteAnother() {
        OpenThroughMenu(WriteProject(SmallProject(), ProjectPath("Открытый.VPQ")));
        EXPECT_NE(ProjectRoot, nullptr);
        open_ = ProjectRoot;
        before_ = ProjectBytes();
        const std::string other = ProjectPath("Другой.VPQ");
        EXPECT_TRUE(QFile::copy(QString::fromStdString(ProjectPath("Открытый.VPQ")),
                                QString::fromStdString(other)));
        return other;
    }
    void ExpectTheOpenProjectAsItWas() {
        EXPECT_EQ(ProjectRoot, open_);
        EXPECT_TRUE(ProjectBytes() == before_);
        EXPECT_EQ(Form1->ProjectFileName, ProjectPath("Открытый.VPQ"));
        EXPECT_FALSE(responder_.TerminateRequested());
    }

    TGrsed* open_ = nullptr;
    std::string before_;
};

TEST_F(DamagedReferenceTables, ACableTableWithTextInItsCrossSectionsStopsTheLoad) {
    const std::string other = OpenOneAndWriteAnother();
    // The panels' feeder table: "Сечение" declared as text, one section "x".
    const std::string table = platform::ProgramFolder() + "ВВГв4.xml";
    AlterFile(table, "attrname=\"Сечение\" fieldtype=\"r8\"",
              "attrname=\"Сечение\" fieldtype=\"string\" WIDTH=\"10\"");
    AlterFile(table, "<ROW Сечение=\"1.5\"", "<ROW Сечение=\"x\"");

    responder_.ExpectMessage("Ошибка E201. В базе данных поврежден файл  ВВГв4.xml", "", mrOk);
    OpenThroughMenu(other);
    ExpectTheOpenProjectAsItWas();
    EXPECT_FALSE(BazaT->ClientDataSet1.Active());
}

TEST_F(DamagedReferenceTables, ATransformerBaseWithoutItsTransformerFieldIsNamedAndNotUsed) {
    OpenOneAndWriteAnother();
    const std::string base = platform::ProgramFolder() + "tranform.xml";
    AlterFile(base, "Трансформатор", "Тип");

    // The program starts on the damaged base: it is named and left closed.
    responder_.ExpectMessage("Файл '" + platform::ProgramFolder() +
                                 "/tranform.xml' повреждён: в таблице нет поля 'Трансформатор'.",
                             "Veltranovaplanir", mrOk);
    ReloadReferenceTables();
    EXPECT_FALSE(BazaTran->ClientDataSet2.Active());

    // Opening a project then finds no transformers to choose from; declining stops before a
    // file is chosen.
    responder_.ExpectMessage("В базе данных <Трансформаторы> нет данных.Открыть базу данных?",
                             mrNo);
    Form1->Open1->trigger();
    ExpectTheOpenProjectAsItWas();
}

}  // namespace
