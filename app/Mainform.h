#pragma once
#include <QMainWindow>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "model/TreeEditing.h"
#include "platform/Bitmap.h"
#include "ui_TForm1.h"

class QAction;
class QCloseEvent;
class QComboBox;
class QLabel;

// One entry of the recent projects list.
struct ProjectsFileList {
    int Number = 0;    // its value name in the settings, as a number: its place in the list
    std::string Path;  // full path of the project file
};

class TForm1 : public QMainWindow, public Ui::TForm1, public TreeEditing {
    Q_OBJECT

public:
    explicit TForm1(QWidget* parent = nullptr);

    // --- Project state ---

    // The recent projects list (the File menu's items after "&Выход", in the same order) and the
    // entry made last.
    std::vector<std::unique_ptr<ProjectsFileList>> RecentFiles;
    ProjectsFileList* CurrentRecentEntry = nullptr;
    // Value name of the recent item clicked last.
    int RecentIndex = 0;
    // Answer of the main window's close query.
    std::uint8_t CloseAllowed = 0;
    // 1: the open project has no unsaved change.
    std::uint8_t ProjectSaved = 1;
    // The name of a project never saved; the scheme window's caption while it is untitled.
    std::string UntitledName = "Untitled";
    // Full path of the open project; UntitledName after New.
    std::string ProjectFileName;
    // Counts recorded when a project is loaded, compared by the close question: switchboards,
    // panels of switchboard i, scheme records of panel j of switchboard i.
    int SnapshotSwitchboardCount = 0;
    std::vector<int> SnapshotPanelCounts;
    std::vector<std::vector<int>> SnapshotGroupCounts;
    // The document pages; null when none.
    std::unique_ptr<platform::TBitmap> PageBitmap;
    // Set only while the Save As dialog is showing.
    std::uint8_t SaveAsPending = 0;
    // Which panel picture the panel chooser draws: 0 phasing, 1 one-line diagram.
    std::uint8_t PanelPictureMode = 0;
    std::uint8_t PreviewZoom = 0;
    // Number of the panel whose group results were filled last.
    int ResultPanelNumber = 0;
    // The document that preview and printing use (1 scheme picture, 2 cable journal, 3 supply
    // network schematic, 4 calculation tables); the Tag of the preview bar's zoom button.
    int DocumentKind = 0;
    // The group entry window's two counters, records 1 and 2 of the project file: 1 after start
    // and one more per group added; 100 x counter + 700. Kept here until the group entry window
    // carries them.
    int GroupCounter = 1;
    int GroupCounterCode = 0;

    // The scale of the scheme pictures ("100%", "75%", "50%") in ToolBar1.
    QComboBox* ComboBox1 = nullptr;

    // --- Project commands ---

    void FormCreate();
    void New1Click();
    void Open1Click();
    void Save1Click();
    void SaveAsClick();
    void Exit1Click();
    // The toolbar's "Выход": the save question, then the main window closes.
    void ToolButton8Click();
    void SaveDialog1Close();
    void FormCloseQuery(bool& canClose);
    void RecentFileClick(QAction* sender);
    // True when neither the breaker nor the transformer table is empty; otherwise offers to
    // open the empty one.
    bool CheckReferenceDatabases();
    // The change test and the save question before a project is replaced; false: stop.
    bool QueryCloseProject();
    // Makes the project of the file the open project. False when it could not be loaded; then
    // the project that was open stays as it was.
    bool LoadProject(const std::string& path);
    // Draws the general network scheme in the scheme window (the drawing code's part).
    void ShowNetworkScheme();

    // --- What the commands share ---

    // The scheme window is showing: a project window is open.
    bool SchemeWindowShown() const;
    // Writes the open project: through Save As while untitled. True when the file was written.
    bool SaveProject();
    // Asks for a file name and writes the project there. True when the file was written.
    bool SaveProjectAs();
    // "Save" as the save question means it: Save As while the scheme window is untitled.
    bool SaveForQuestion();
    // "Сохранить изменения в файле?" with the project's file name; the answer.
    int AskSaveQuestion(const std::string& caption);
    // Deletes the open project's tree; no project is open afterwards.
    void DropProject();
    // Empties the number lists of the dialogs and zeroes their counters.
    void ResetProjectDialogs();
    // The status bar's text.
    void SetStatusText(const std::string& text);
    std::string StatusText() const;
    // The scheme window's caption.
    std::string SchemeCaption() const;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void SetUpProjectCommands();
    bool WriteProjectFile();
    bool ProjectChangedSinceLoad() const;
    void ClosePreview();
    // After a failed or cancelled open that left no project: the scheme window is put away.
    void CloseEmptySchemeWindow();
    void LayOutSwitchboardDialog();
    void TakeProjectSnapshots();
    // The recent projects list.
    void BuildRecentList();
    void AddRecentMenuItem(const std::string& path);
    void RemoveRecentMenuItems();
    void RegisterRecentProject(const std::string& path);
    void ForgetRecentProject(const std::string& path);

    QLabel* statusText_ = nullptr;
};

extern TForm1* Form1;
