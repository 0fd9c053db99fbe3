// A program folder that cannot be written (an installed program): tables are still read, a failed
// write is said once and clearly, and nothing typed in is lost for the session.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>

#include "RefdbFixture.h"
#include "platform/DBGrid.h"
#include "platform/DBNavigator.h"
#include "platform/Files.h"
#include "platform/ProgramFolder.h"
#include "refdb/BazaAvt.h"
#include "refdb/BazaT.h"
#include "refdb/BazaTran.h"

namespace fs = std::filesystem;
using namespace platform;

namespace {

// Makes every new file in the folder fail while it lives: the folder is made read-only, or, where
// this process may write anyway (root), the largest file it may write is 0 bytes.
class NewFilesFail {
public:
    explicit NewFilesFail(const std::string& folder) : folder_(folder) {
        fs::permissions(folder_, fs::perms::owner_read | fs::perms::owner_exec);
        if (::access(folder_.c_str(), W_OK) != 0) {
            reason_ = "нет доступа";
            return;
        }
        fs::permissions(folder_, fs::perms::owner_all);
        limited_ = true;
        ::getrlimit(RLIMIT_FSIZE, &old_);
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        const rlimit none{0, old_.rlim_max};
        ::setrlimit(RLIMIT_FSIZE, &none);
        reason_ = platform::SystemErrorText(EFBIG);
    }
    ~NewFilesFail() {
        if (limited_) {
            ::setrlimit(RLIMIT_FSIZE, &old_);
            std::signal(SIGXFSZ, oldHandler_);
        } else {
            fs::permissions(folder_, fs::perms::owner_all);
        }
    }
    const std::string& Reason() const { return reason_; }

private:
    std::string folder_;
    std::string reason_;
    bool limited_ = false;
    rlimit old_{};
    void (*oldHandler_)(int) = nullptr;
};

std::string WriteFailure(const std::string& headline, const std::string& path,
                         const std::string& reason) {
    return headline + "\nНе удалось записать файл '" + path + "': " + reason + ".";
}

}  // namespace

using ReadOnlyFolder = RefdbTest;

TEST_F(ReadOnlyFolder, AnEditedCableTableIsReportedOnceAndItsRowsAreKept) {
    const std::string path = ProgramFile("ВВГв4.xml");
    const std::string bytes = ReadBytes(path);
    BazaT->FileListBox1->setCurrentRow(BazaT->FileListBox1->IndexOf("ВВГв4.xml"));
    TDBGrid& grid = *BazaT->DBGrid1;
    ASSERT_TRUE(grid.model()->setData(grid.model()->index(0, 2), "18", Qt::EditRole));
    TClientDataSet& ds = BazaT->ClientDataSet1;
    {
        WriteBlocker blocker(ProgramFolder(), path);
        responder_.ExpectMessage(WriteFailure("Не удалось сохранить изменения таблицы «ВВГв4.xml».",
                                              path, blocker.Reason()),
                                 "Предупреждение.", mrOk);
        BazaT->Button3->click();
        EXPECT_FALSE(ds.Active());

        // Reading goes on, and the edit is still there when the table is opened again.
        ASSERT_TRUE(OpenCurrentTable("ПВ1т2.xml"));
        EXPECT_EQ(ds.RecordCount(), 7);
        ASSERT_TRUE(OpenCurrentTable("ВВГв4.xml"));
        ds.SetIndexFieldNames("Сечение");
        EXPECT_EQ(Floats(ds, "Длительный ток"), (std::vector<double>{18, 23, 32, 38, 50, 69}));

        // A further edit that cannot be written either is not reported again.
        ASSERT_TRUE(grid.model()->setData(grid.model()->index(1, 2), "24", Qt::EditRole));
        ASSERT_TRUE(OpenCurrentTable("ПВ1т2.xml"));
        ASSERT_TRUE(OpenCurrentTable("ВВГв4.xml"));
        EXPECT_EQ(Floats(ds, "Длительный ток"), (std::vector<double>{18, 24, 32, 38, 50, 69}));
    }
    EXPECT_EQ(ReadBytes(path), bytes);

    // Once the folder can be written again, the next edit writes the whole table.
    ASSERT_TRUE(grid.model()->setData(grid.model()->index(2, 2), "33", Qt::EditRole));
    ASSERT_TRUE(OpenCurrentTable("ПВ1т2.xml"));
    FileTable file(path, "Сечение");
    EXPECT_EQ(Floats(file.ds, "Длительный ток"), (std::vector<double>{18, 24, 33, 38, 50, 69}));
}

TEST_F(ReadOnlyFolder, TablesThatWereNotChangedAreReadAndClosedWithoutAWord) {
    NewFilesFail blocked(ProgramFolder());
    ASSERT_TRUE(OpenCurrentTable("ВВГв4.xml"));
    ASSERT_TRUE(OpenCurrentTable("ПВ1т2.xml"));
    BazaT->Button3->click();
    BazaAvt->Button1->click();
    BazaTran->Button1->click();
    EXPECT_TRUE(BazaAvt->AVT1.Active());
    EXPECT_EQ(BazaAvt->AVT1.RecordCount(), 6);
    EXPECT_EQ(BazaTran->ClientDataSet2.RecordCount(), 4);
}

TEST_F(ReadOnlyFolder, AnEditedBreakerTableIsReportedOnceAndStaysInMemory) {
    const std::string path = ProgramFile("Avtomat.xml");
    TDBGrid& grid = *BazaAvt->DBGrid3;
    TClientDataSet& ds = BazaAvt->AVT1;
    {
        WriteBlocker blocker(ProgramFolder(), path);
        ASSERT_TRUE(grid.model()->setData(grid.model()->index(0, 5), "11", Qt::EditRole));
        responder_.ExpectMessage(
            WriteFailure("Не удалось сохранить изменения таблицы «Avtomat.xml».", path,
                         blocker.Reason()),
            "Предупреждение.", mrOk);
        BazaAvt->Button1->click();
        ASSERT_TRUE(ds.Active());
        ds.First();
        EXPECT_EQ(ds.FieldByName("Кратность тока при КЗ").AsFloat(), 11);

        ASSERT_TRUE(grid.model()->setData(grid.model()->index(0, 5), "12", Qt::EditRole));
        BazaAvt->Button1->click();  // not reported again
        ds.First();
        EXPECT_EQ(ds.FieldByName("Кратность тока при КЗ").AsFloat(), 12);
        // Closing it (as the breaker selection does before it loads the file) tries no write.
        EXPECT_NO_THROW(ds.Close());
    }
}

TEST_F(ReadOnlyFolder, AFirstStartThereLeavesEmptyTablesInMemory) {
    DestroyReferenceWindows();
    EmptyProgramFolder();
    {
        NewFilesFail blocked(ProgramFolder());
        responder_.ExpectMessage(WriteFailure("Не удалось создать таблицу «Avtomat.xml».",
                                              ProgramFolder() + "Avtomat.xml", blocked.Reason()),
                                 "Предупреждение.", mrOk);
        responder_.ExpectMessage(WriteFailure("Не удалось создать таблицу «tranform.xml».",
                                              ProgramFolder() + "/tranform.xml", blocked.Reason()),
                                 "Предупреждение.", mrOk);
        CreateReferenceWindows();

        EXPECT_TRUE(BazaAvt->AVT1.Active());
        EXPECT_TRUE(BazaAvt->AVT1.IsEmpty());
        EXPECT_EQ(BazaAvt->AVT1.FieldCount(), 6);
        EXPECT_TRUE(BazaTran->ClientDataSet2.Active());
        EXPECT_EQ(BazaTran->ClientDataSet2.FieldCount(), 8);

        // A row typed in cannot be written either; that was said already.
        BazaAvt->DBNavigator1->BtnClick(TDBNavigator::nbInsert);
        TDBGrid& grid = *BazaAvt->DBGrid3;
        grid.model()->setData(grid.model()->index(0, 0), "ВА47-29 1P C", Qt::EditRole);
        BazaAvt->DBNavigator1->BtnClick(TDBNavigator::nbPost);
        BazaAvt->Button1->click();
        EXPECT_EQ(BazaAvt->AVT1.RecordCount(), 1);
    }
    EXPECT_TRUE(ProgramFiles().empty());
}

TEST_F(ReadOnlyFolder, ANewCableTableThatCannotBeWrittenIsReportedAndNotOpened) {
    BazaT->Edit1->setText("Т1");
    BazaT->Edit2->setText("ВВГ");
    Choose(*BazaT->ComboBox1, "В земле");
    Choose(*BazaT->ComboBox2, "3");
    Choose(*BazaT->ComboBox3, "Кабель");
    Choose(*BazaT->ComboBox4, "Медь");
    {
        NewFilesFail blocked(ProgramFolder());
        responder_.ExpectMessage(WriteFailure("Не удалось создать таблицу «Т1.xml».",
                                              ProgramFolder() + "Т1.xml", blocked.Reason()),
                                 "Предупреждение.", mrOk);
        BazaT->Button1->click();
    }
    EXPECT_FALSE(fs::exists(ProgramFile("Т1.xml")));
    EXPECT_FALSE(BazaT->ClientDataSet1.Active());
    EXPECT_EQ(BazaT->FileListBox1->IndexOf("Т1.xml"), -1);
}

TEST_F(ReadOnlyFolder, ATableThatCannotBeDeletedIsReported) {
    fs::permissions(ProgramFolder(), fs::perms::owner_read | fs::perms::owner_exec);
    const bool writable = ::access(ProgramFolder().c_str(), W_OK) == 0;
    if (writable) {
        fs::permissions(ProgramFolder(), fs::perms::owner_all);
        GTEST_SKIP() << "this process may delete files in read-only folders";
    }
    BazaT->FileListBox1->setCurrentRow(BazaT->FileListBox1->IndexOf("ПВ1т2.xml"));
    responder_.ExpectMessage("Хотите удалить таблицу?", "Подтверждение.", mrYes);
    responder_.ExpectMessage("Не удалось удалить таблицу «ПВ1т2.xml»: нет доступа.",
                             "Предупреждение.", mrOk);
    BazaT->Button2->click();
    fs::permissions(ProgramFolder(), fs::perms::owner_all);
    EXPECT_TRUE(fs::exists(ProgramFile("ПВ1т2.xml")));
}
