#pragma once
#include <QDialog>

#include "platform/ClientDataSet.h"
#include "ui_TBazaT.h"

// The cable table window: the list of cable current tables in the program folder, the open table
// in a grid with a navigator, and the commands that create and delete tables.
class TBazaT : public QDialog, public Ui::TBazaT {
    Q_OBJECT

public:
    explicit TBazaT(QWidget* parent = nullptr);
    ~TBazaT() override;

    // The open cable current table: the one last picked here, created here or opened through the
    // cable table loader.
    platform::TClientDataSet ClientDataSet1;

    // The table list shows the "*.xml" files of the program folder but the two base files.
    void FormCreate();
    // The user picked a table in the list: it is opened, in ascending order of "Сечение".
    void FileListBox1Change();
    // The laying method decides which kinds and core counts can be chosen.
    void ComboBox1Change();
    // "Создать": a new, empty table from the parameters.
    void Button1Click();
    // "Удалить": deletes the selected table after asking.
    void Button2Click();
    // "Закрыть": posts a pending edit, closes the table (writing it back) and the window.
    void Button3Click();
    // "&Справка": the help at this window's section.
    void BitBtn1Click();

    // Closes the open table. Only the changes made in this window are written back to its file;
    // changes made by other code (temperature-scaled currents) are dropped first. A row being
    // typed is posted; one that cannot be is dropped, and the user told so when `tellDroppedRow`.
    void CloseCableTable(bool tellDroppedRow = true);
    // A table has just been opened (or failed to open, or closed) in ClientDataSet1: the list
    // highlights it.
    void CableTableOpened();
    // Opens the table at `path` again when it is the open one, holds no change and its file has
    // not changed: as closing and opening it, without reading or writing. False when that is
    // not so; nothing has happened then.
    bool ReopenUnchangedTable(const std::string& path);

    // Closing the window in any other way posts the row being typed (a row that cannot be
    // posted keeps the window open) and leaves the table open.
    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // Posts the row being typed in the grid before the table is closed or left; a row that
    // cannot be posted is shown and stops the command (false).
    bool FinishTyping();
    // Highlights the list entry of the open table; none when no listed table is open.
    void ShowOpenTableInList();
    // The name under which the list shows the file, "" when it is in another folder.
    const QString& ListedName(const std::string& fileName);
    void NoteWindowChanges();
    void DropForeignChanges();

    // The dataset's change count after the last change made in this window: changes beyond it
    // were made by other code.
    int windowChanges_ = 0;
    // The last file looked for in the list: its name, the folder listed, the entry's name.
    struct {
        std::string fileName, folder;
        QString name;
    } listedFile_;
    // The open table's file as last highlighted, and the list's generation afterwards.
    struct {
        std::string fileName;
        unsigned generation = 0;
    } highlighted_;
};

extern TBazaT* BazaT;
