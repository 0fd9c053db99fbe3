#include "RefdbFixture.h"

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "refdb/BazaAvt.h"
#include "refdb/BazaT.h"
#include "refdb/BazaTran.h"
#include "refdb/CableTableLoader.h"

namespace fs = std::filesystem;

void RefdbTest::CreateReferenceWindows() {
    BazaAvt = new TBazaAvt;
    BazaT = new TBazaT;
    BazaTran = new TBazaTran;
}

void RefdbTest::DestroyReferenceWindows() {
    delete BazaTran;
    BazaTran = nullptr;
    delete BazaT;
    BazaT = nullptr;
    delete BazaAvt;
    BazaAvt = nullptr;
}

void RefdbTest::Restart(const std::function<void()>& prepare) {
    DestroyWindows();
    prepare();
    CreateWindows();
}

void RefdbTest::EmptyProgramFolder() {
    for (const auto& entry : fs::directory_iterator(programDir_.path().toStdString()))
        fs::remove_all(entry.path());
}

void RefdbTest::AddShippedTables() {
    for (const auto& entry : fs::directory_iterator(PROGRAM_DATA_DIR))
        if (entry.path().extension() == ".xml")
            fs::copy_file(entry.path(), ProgramFile(entry.path().filename().string()),
                          fs::copy_options::overwrite_existing);
}

std::vector<std::string> RefdbTest::ProgramFiles() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(programDir_.path().toStdString()))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<std::string> Listed() {
    std::vector<std::string> names;
    for (int i = 0; i < BazaT->FileListBox1->Count(); ++i)
        names.push_back(BazaT->FileListBox1->Items(i));
    return names;
}

void Create(const NewTable& t) {
    BazaT->Edit1->setText(QString::fromStdString(t.name));
    BazaT->Edit2->setText(QString::fromStdString(t.brand));
    Choose(*BazaT->ComboBox1, t.method);
    if (!t.cores.empty()) Choose(*BazaT->ComboBox2, t.cores);
    if (!t.kind.empty()) Choose(*BazaT->ComboBox3, t.kind);
    if (!t.material.empty()) Choose(*BazaT->ComboBox4, t.material);
    BazaT->Button1->click();
}

bool OpenCurrentTable(const std::string& tableName) {
    return CableTableLoader().OpenCurrentTable(tableName);
}

void Choose(QComboBox& combo, const std::string& text) {
    const int index = combo.findText(QString::fromStdString(text));
    ASSERT_GE(index, 0) << "no item " << text << " in " << combo.objectName().toStdString();
    combo.setCurrentIndex(index);
    emit combo.activated(index);
}

std::vector<double> Floats(platform::TClientDataSet& ds, const std::string& field) {
    std::vector<double> values;
    for (ds.First(); !ds.Eof(); ds.Next()) values.push_back(ds.FieldByName(field).AsFloat());
    return values;
}

FileTable::FileTable(const std::string& path, const std::string& order) {
    ds.SetIndexFieldNames(order);
    ds.LoadFromFile(path);
}

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

WriteBlocker::WriteBlocker(const std::string& folder, const std::string& blocked)
    : folder_(folder), blocked_(blocked) {
    fs::permissions(folder_, fs::perms::owner_read | fs::perms::owner_exec);
    if (::access(folder_.c_str(), W_OK) != 0) {
        readOnlyFolder_ = true;
        reason_ = "нет доступа";
        return;
    }
    fs::permissions(folder_, fs::perms::owner_all);
    fs::rename(blocked_, blocked_ + ".aside");
    fs::create_directory(blocked_);
    reason_ = "на месте файла находится папка";
}

WriteBlocker::~WriteBlocker() {
    if (readOnlyFolder_) {
        fs::permissions(folder_, fs::perms::owner_all);
        return;
    }
    std::error_code ec;
    fs::remove(blocked_, ec);
    fs::rename(blocked_ + ".aside", blocked_, ec);
}
