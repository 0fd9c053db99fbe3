#pragma once
#include <QMainWindow>
#include <QPointer>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "drawings/PrintSheets.h"
#include "model/TreeEditing.h"
#include "platform/Bitmap.h"
#include "platform/Printer.h"
#include "ui_TForm1.h"

class QAction;
class QCloseEvent;
class QComboBox;
class QPushButton;
class QLabel;
class EquipmentSelection;

namespace platform {
class TImage;
}

// One entry of the recent projects list.
struct ProjectsFileList {
    int Number = 0;    // its value name in the settings, as a number: its place in the list
    std::string Path;  // full path of the project file
};

class TForm1 : public QMainWindow, public Ui::TForm1, public TreeEditing, public SheetGrid {
    Q_OBJECT

public:
    explicit TForm1(QWidget* parent = nullptr);
    ~TForm1() override;

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
    // A copy of the scheme window's last finished picture, which the print sheets address; null
    // after New and after the scheme window closed.
    std::unique_ptr<platform::TBitmap> PictureBitmap;
    // The 5-point font of the pictures at the scale "50%".
    platform::TFont SmallFont;
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
    // Sheets of the supply network schematic shown last, and the switchboard chosen for it.
    int SchematicPageCount = 0;
    int SupplySchemeSwitchboard = 0;
    // The print dialog: page range, copies, collation.
    platform::TPrintDialog PrintDialog1;

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

    // --- Window events ---

    // Every activation: the program folder current again, the window maximised, the front window
    // no larger than the screen.
    void FormActivate();
    // The main window has closed: the preview window goes with it.
    void FormClose();
    // While a preview is shown, a resize puts it back inside the window and fits its pages again
    // at the zoom it has.
    void FormResize();
    // A right click on the window's free area pops PopupMenu1 up there (`point` in the window's
    // co-ordinates); other buttons do nothing.
    void FormMouseDown(Qt::MouseButton button, const QPoint& point);
    // The scale combo box: sets DrawingStep and redraws the picture the scheme window shows.
    void ComboBox1Change();
    // DrawingStep by the scale combo box's item: 160 at "100%" and with no item, 120 at "75%",
    // 80 at "50%".
    void ApplyScale();

    // --- Menu and toolbar commands ---

    // "&Печать", "Принтер": prints the scheme window's picture.
    void Print1Click();
    // "Штамп проекта": the project stamp dialog, while the scheme window is shown.
    void N59Click();
    // "Установка щитов": the switchboard dialog laid out for connecting switchboards.
    void N21Click();
    // "Подключение групп": the power system dialog, then the group entry window.
    void N11Click();
    // "Панель инструментов", "Строка состояния": the item's mark flips and its bar follows it.
    void N16Click();
    void N32Click();
    // The edit dialog for switchboards, panels, group lines.
    void N30Click();
    void N4Click();
    void N25Click();
    // "База данных": the cable current tables, transformers and breakers for editing.
    void N12Click();
    void N13Click();
    void N14Click();
    // The cable journals: general, substation section to switchboards, one switchboard, one
    // panel.
    void N47Click();
    void N48Click();
    void N49Click();
    void N50Click();
    // The schemes: general scheme, one-line diagram of a panel, load distribution of a panel,
    // supply network schematic.
    void N63Click();
    void N64Click();
    void N65Click();
    void N66Click();
    // The results: group lines of a panel (menu N22, toolbar N35), switchboards and panels.
    void N22Click();
    void N35Click();
    void N55Click();
    // "Справочник": the cable current tables, transformers and breakers to look up.
    void N18Click();
    void N19Click();
    void N20Click();
    // Help contents; the About window.
    void Contents1Click();
    void About1Click();
    // The preview bar: print, zoom, close; the scheme picture's preview.
    void ToolButton6Click();
    void ToolButton44Click();
    void BitBtn1Click();
    void ToolButton43Click();

    // --- Drawings, preview, printing and reports ---

    // The general network scheme of the open project on the scheme window's picture, at the scale
    // the combo box shows. A picture that cannot be had in memory falls back to "50%" with a
    // message, until that has failed twice.
    void ShowNetworkScheme();
    // The general scheme's picture size, px, for a drawing step and its left origin or top.
    int GeneralSchemeWidth(int step, int left);
    int GeneralSchemeHeight(int step, int top);
    // The one-line diagram of the current panel, which has `groupCount` scheme records. Nothing
    // happens without a current panel.
    void DrawPanelScheme(int groupCount);
    // The load distribution picture of the panel with that number. Nothing happens when no panel
    // has the number.
    void DrawPanelPhasing(int panelNumber);
    // The panel chooser "Щиты" of the group results: every panel number listed, its button
    // showing the group results table of the chosen panel. The chooser shown before is closed;
    // a chooser is deleted when it closes.
    QPushButton* ChoosePanelDialog();
    // The chooser's "Ok": the group results of the panel chosen, in a new results window; the
    // chooser closes. Text that names no panel chooses nothing.
    void FillGroupResults();
    // The results table of the switchboards and panels.
    void ShowNetworkResults();
    // The results table of the main switchboards (reached by no command of the window).
    void N33Click();
    // The panel chooser shown last and its controls; null once it has closed.
    QPointer<QWidget> PanelChooserForm;
    QPointer<QPushButton> PanelChooserButton;
    QPointer<QComboBox> PanelChooserCombo;
    // The supply network schematic of the current switchboard, its sheets stacked in the preview
    // at that width; `switchboardNumber` is written in their titles.
    void ShowSupplyNetworkScheme(int width, int switchboardNumber);
    // One sheet of that schematic on `sheet` (sized 800 x 1035): the next `panelsOnSheet` panels
    // of the current switchboard, from its first panel on sheet 1.
    void DrawSupplyNetworkSheet(platform::TBitmap* sheet, int panelsOnSheet, int sheetNumber,
                                int switchboardNumber, bool severalSheets);
    // The print dialog, then `pageCount` pages of the document of that kind printed. Nothing
    // without a project, pages or a picture.
    void PrintDocument(int documentKind, int pageCount);
    // Page `page` (from 1) of the document of that kind on the printer's page, fitted to its
    // printable area and centred; inside a print job.
    void PrintSheet(int page, int documentKind);
    // The preview of the scheme window's picture with that title: its used sheets in the order
    // of their numbers.
    void BuildPreviewSheet(int titleFontSize, int titleX, const std::string& title);
    // The preview's page image made again at that width from the document's pages.
    void FitPreviewImage(int width, int pageCount);
    // Pages of the document of that kind (0 for none).
    int DocumentPageCount(int documentKind);
    // What every preview builder does: a new page image of width x height in the preview window,
    // painted by `paint`, kept for printing and shown with the preview bar. False, with the
    // message said, when the pages do not fit in memory; no preview is left then. Pages drawn
    // only in greys are kept in pfGray8, a quarter of the memory.
    bool ComposePreview(int width, int height, const std::function<void(platform::TCanvas&)>& paint,
                        platform::TPixelFormat format = platform::pf32bit);
    // The journal window's heading and rows: 0 general, 1 section, 2 the switchboard with that
    // number, 3 the panel with that number.
    void FillCableJournal(int journalKind, int number);

    // --- What the commands share ---

    // The main window's height, and the height inside its frame and menu bar, px: the pictures
    // are laid out from them.
    int MainWindowHeight() const;
    int ClientHeight() const;

    // The scheme window is showing: a project window is open.
    bool SchemeWindowShown() const;
    // Writes the open project: through Save As while untitled. True when the file was written.
    bool SaveProject();
    // Asks for a file name and writes the project there. True when the file was written.
    bool SaveProjectAs();
    // "Save" as the save question means it: Save As while the project is untitled.
    bool SaveForQuestion();
    // The open project was never saved: it has no file name yet.
    bool ProjectUntitled() const;
    // "Сохранить изменения в файле?" with the project's file name; the answer.
    int AskSaveQuestion(const std::string& caption);
    // Deletes the open project's tree, every open edit ended first as its own cancel ends it; no
    // project is open afterwards.
    void DropProject();
    // Ends every edit whose window is open (the group line window in its edit mode, the
    // connection window in an edit layout, the edit window) as its own cancel does.
    void EndOpenEdits();
    // Empties the number lists of the dialogs and zeroes their counters.
    void ResetProjectDialogs();
    // The status bar's text.
    void SetStatusText(const std::string& text);
    std::string StatusText() const;
    // The scheme window's caption.
    std::string SchemeCaption() const;
    // The scheme window's own caption, the project's file name, in it and in the status bar.
    void ShowProjectCaption();
    // Closes the preview window when it is shown.
    void ClosePreview();
    // The preview window is shown in the client area.
    bool PreviewShown() const;
    // Places a window at the centre of the main window.
    void CentreOverMainWindow(QWidget& window) const;
    // Puts the preview window into the main window's client area and lays its pages out for
    // the main window's width.
    void DockPreview();
    // The preview zoom button's image: 121 while the page is shown at full width, 119 reduced
    // (its "ImageIndex" property).
    void SetZoomButtonImage(int image);

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void SetUpMainWindow();
    // Closes every other window shown; false when one of them refuses to close.
    bool CloseOtherWindows();
    void ConnectCommands();
    // Fits the preview's page image at the width of its zoom: 800 px, or reduced.
    void FitPreviewToZoom();
    // The edit dialog laid out for one of its three modes.
    void ShowEditDialog(int mode);
    // The journal of that kind, for the switchboard or panel chosen in the number chooser where
    // it needs one.
    void ShowCableJournal(int journalKind);
    // The scheme window's picture made anew for a panel picture `width` x `height` px, its grid of
    // sheets of that size laid (one row, the width widened to whole sheets) and its surface
    // provided; at the scale "50%" the small font is put on its canvas.
    platform::TImage* PreparePanelPicture(int width, int height, int sheetWidth, int sheetHeight);
    // A panel picture that ran out of memory while drawn: its sheets laid again unused, and the
    // message.
    void PanelPictureFailed(int sheetWidth, int sheetHeight, int width);
    // The canvas of a new picture sized in full, its record bounded by the memory budget; at the
    // scale "50%" the small font is its font.
    platform::TCanvas& ProvidePictureSurface(platform::TImage& image);
    // Runs the drawing of a picture; false, with the picture emptied and no sheet counted, when
    // its record reached the memory budget (or memory ran out) on the way.
    bool DrawWithinBudget(platform::TImage& image, const std::function<void()>& paint);
    // Copy for printing, page count and picture kind of a finished picture.
    void FinishPicture(platform::TImage& image, int pictureKind);
    // The general scheme's picture could not be had: the fallback to "50%", or only the message
    // once that has failed twice.
    void NetworkSchemeSurfaceFailed(platform::TImage& image);
    // The group line services of the pictures (the group-entry window's).
    EquipmentSelection& PictureServices();
    // The panel chooser for a panel picture of that mode.
    void ShowPanelPictureChooser(std::uint8_t mode);
    // The panel number list of the panel chooser TForm5; null while it has none.
    QComboBox* PanelChooserList() const;
    void SetUpProjectCommands();
    bool WriteProjectFile();
    bool ProjectChangedSinceLoad() const;
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

// Makes a window no taller and no wider than its screen, each direction on its own.
void ClipWindowToScreen(QWidget& window);
