// The main window: its construction, its own events (activation, closing, resizing, the right
// click on its free area), the scale combo box, help and the About window.
#include "app/Mainform.h"

#include <QApplication>
#include <QComboBox>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QScreen>

#include "app/About.h"
#include "app/CheckWindowsOnWindows.h"
#include "app/SchemeWindow.h"
#include "app/WindowListsOnWindows.h"
#include "calc/Recalculation.h"
#include "documents/PageGeometry.h"
#include "documents/Preview.h"
#include "drawings/DrawingState.h"
#include "groups/Dan12.h"
#include "model/Classd.h"
#include "platform/Canvas.h"
#include "platform/Conversions.h"
#include "platform/Events.h"
#include "platform/Help.h"
#include "platform/Messages.h"
#include "platform/ProgramFolder.h"
#include "selection/CheckWindows.h"
#include "selection/TreeEdits.h"

TForm1* Form1 = nullptr;

namespace {

WindowListsOnWindows windowListsOnWindows;
CheckWindowsOnWindows checkWindowsOnWindows;

// The colour of the main window's client area behind the scheme window.
constexpr platform::TColor kClientAreaColour = 0x808080;

// The preview zoom button's images: the page shown at full width, and reduced.
constexpr int kFullWidthImage = 121;
constexpr int kReducedImage = 119;

}  // namespace

TForm1::TForm1(QWidget* parent) : QMainWindow(parent) {
    // The toolbar icons are compiled into the library.
    Q_INIT_RESOURCE(icons);
    setupUi(this);
    DrawingStep = 160;
    SetUpMainWindow();
    // Status bar, recent projects (FormCreate).
    SetUpProjectCommands();
    // The tree edits rebuild the lists of the group-entry, edit and connection windows.
    SetWindowLists(&windowListsOnWindows);
    // The network checks reach the windows through their own port, and edit the tree through
    // the main window's tree edits.
    selection::SetCheckWindows(&checkWindowsOnWindows);
    selection::SetTreeEdits(this);
    // The recalculation steps the tree edits run.
    Hooks.RecalculateAfterPanelDeletion = [] {
        if (ProjectRoot) RunLoadPassesOfCurrentSwitchboard(*ProjectRoot);
    };
    Hooks.RecalculateSwitchboardTotals = [] {
        if (ProjectRoot) RunSectionTotalPasses(*ProjectRoot);
    };
    Hooks.DistributeCurrentPanel = [] {
        if (ProjectRoot) RunDistributionPasses(*ProjectRoot);
    };
    // The transformer-side breaker the tree edits choose again (group-entry window).
    Hooks.SelectTransformerBreakerRating = [] {
        if (Dan1) Dan1->SelectTransformerBreakerRating();
    };
    Hooks.SelectTransformerVruBreaker = [] { return Dan1 && Dan1->SelectTransformerVruBreaker(); };
    Hooks.ShowSectionBreakerDialog = [] {
        if (Dan1) Dan1->ShowSectionBreakerDialog();
    };
}

TForm1::~TForm1() {
    selection::ForgetTreeEdits(this);
}

void TForm1::SetUpMainWindow() {
    setWindowIcon(QIcon(":/icons/switchboards.svg"));
    ClientArea->setBackground(platform::ToQColor(kClientAreaColour));
    // The right click on the free area.
    ClientArea->viewport()->installEventFilter(this);
    SetZoomButtonImage(kFullWidthImage);
    platform::OnChoice(ComboBox1, this, &TForm1::ComboBox1Change);
    ConnectCommands();
}

// ---------------------------------------------------------------------------------------------
// Window events

void ClipWindowToScreen(QWidget& window) {
    const QScreen* screen = window.screen();
    // A maximised window is as large as the window system makes it; resizing it would restore it.
    if (screen == nullptr || (window.windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)))
        return;
    const QRect limits = screen->geometry();
    const QRect outer = window.frameGeometry();
    const QRect inner = window.geometry();
    QSize size = inner.size();
    if (outer.height() > limits.height())
        size.setHeight(limits.height() - (outer.height() - inner.height()));
    if (outer.width() > limits.width())
        size.setWidth(limits.width() - (outer.width() - inner.width()));
    if (size != inner.size()) window.resize(size);
}

void TForm1::FormActivate() {
    platform::MakeProgramFolderCurrent();
    if (!(windowState() & Qt::WindowMaximized))
        setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowMaximized);
    // The window in front: the one just activated.
    QWidget* front = QApplication::activeWindow();
    ClipWindowToScreen(front != nullptr ? *front : *this);
}

void TForm1::FormClose() {
    // The preview window does not outlive the main window; its sub-window goes with it.
    TForm7* preview = Form7;
    Form7 = nullptr;
    if (preview == nullptr) return;
    QWidget* frame = preview->Frame();
    delete preview;
    delete frame;
}

void TForm1::FormResize() {
    if (!PreviewShown()) return;
    DockPreview();
    FitPreviewToZoom();
}

void TForm1::DockPreview() {
    if (Form7 == nullptr) return;
    Form7->PlaceInMainWindow();
    Form7->PreviewWidth = width();
}

void TForm1::SetZoomButtonImage(int image) {
    ToolButton44->setProperty("ImageIndex", image);
    ToolButton44->setIcon(
        QIcon(image == kReducedImage ? ":/icons/zoom_in.svg" : ":/icons/zoom_out.svg"));
}

void TForm1::FitPreviewToZoom() {
    FitPreviewImage(PreviewZoom ? pages::kReducedWidth : pages::kPageWidth,
                    DocumentPageCount(DocumentKind));
}

void TForm1::FormMouseDown(Qt::MouseButton button, const QPoint& point) {
    if (button != Qt::RightButton) return;
    PopupMenu1->popup(mapToGlobal(point));
}

void TForm1::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        platform::RunGuarded([this] { FormActivate(); });
}

void TForm1::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    platform::RunGuarded([this] { FormResize(); });
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    QWidget* freeArea = ClientArea->viewport();
    if (watched == freeArea && event->type() == QEvent::MouseButtonPress) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const QPoint point = freeArea->mapTo(this, mouse->position().toPoint());
        platform::RunGuarded([&] { FormMouseDown(mouse->button(), point); });
        return mouse->button() == Qt::RightButton;
    }
    return QMainWindow::eventFilter(watched, event);
}

// ---------------------------------------------------------------------------------------------
// Scale, help, About

void TForm1::ApplyScale() {
    DrawingStep = 160;
    switch (ComboBox1->currentIndex()) {
        case 1:
            DrawingStep = 160 * 3 / 4;
            break;
        case 2:
            DrawingStep = 160 / 2;
            break;
        default:
            break;
    }
}

void TForm1::ComboBox1Change() {
    ApplyScale();
    if (!ProjectRoot) return;
    // Without a picture there is nothing to draw again.
    if (Form2 == nullptr || Form2->Image1 == nullptr) return;
    switch (Form2->PictureKind()) {
        case GeneralSchemePicture:
            ShowNetworkScheme();
            break;
        case PanelDiagramPicture:
        case PanelPhasingPicture: {
            const QComboBox* chosen = PanelChooserList();
            if (chosen == nullptr || chosen->currentIndex() < 0) return;
            int number = 0;
            if (!platform::TryStrToInt(platform::Text(*chosen), number)) return;
            if (!ProjectRoot->FindPanel(number)) return;
            if (Form2->PictureKind() == PanelDiagramPicture)
                DrawPanelScheme(ProjectRoot->CurrentPanel()->SchemeGroupCount);
            else
                DrawPanelPhasing(number);
            break;
        }
        default:
            break;
    }
}

void TForm1::Contents1Click() {
    platform::ShowHelpContents();
}

void TForm1::About1Click() {
    if (AboutBox == nullptr) return;
    AboutBox->show();
    AboutBox->raise();
    AboutBox->activateWindow();
}

void TForm1::CentreOverMainWindow(QWidget& window) const {
    const QRect main = frameGeometry();
    QSize outer = window.frameGeometry().size();
    // A window never shown has no frame yet: it will get one like the main window's.
    if (!window.testAttribute(Qt::WA_WState_Created) || outer == window.size())
        outer += frameGeometry().size() - size();
    window.move(main.center() - QPoint(outer.width() / 2, outer.height() / 2));
}
