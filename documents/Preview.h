#pragma once
// The preview window "Предварительный просмотр": the pages of the document to print, one under
// the other on a grey ground, scrolled. It fills the main window's client area while it is shown;
// the main window's preview bar prints, zooms and closes it.
#include <QDialog>

#include "platform/Bitmap.h"
#include "platform/Canvas.h"
#include "ui_TForm7.h"

class QCloseEvent;
class QMdiSubWindow;
class QMouseEvent;
class QScrollArea;

namespace platform {
class TImage;
}

class TForm7 : public QDialog, public Ui::TForm7 {
    Q_OBJECT

public:
    explicit TForm7(QWidget* parent = nullptr);
    ~TForm7() override;

    // The window's colour: the ground around the pages and the band between two pages.
    static constexpr platform::TColor kColour = platform::clGrayText;

    // The pages of the shown document; null before the first preview and after closing.
    platform::TImage* PageImage = nullptr;
    // The width the pages are centred in: the main window's.
    int PreviewWidth = 870;

    // The caption the window was designed with, "Предварительный просмотр", back in place of a
    // document's own (the schematic names its switchboard there).
    void RestoreCaption();

    // Deletes the page image and puts a new one of that size (white) in its place: 5 px from the
    // top, centred 10 px left of the middle of PreviewWidth, but not left of the window's edge;
    // its pixels kept in `format`.
    platform::TImage* NewPageImage(int width, int height,
                                   platform::TPixelFormat format = platform::pf32bit);
    void FreePageImage();

    // Puts the window into a sub-window of the main window's client area, which it fills with its
    // caption and close box; hidden until shown.
    void PlaceInMainWindow();
    QMdiSubWindow* Frame() const;

    // Pop-up menu: "Печать" prints the shown document as the preview bar does; "Выход" closes.
    void N3Click();
    void N4Click();
    // A right click pops PopupMenu1 up there (`point` in the window's co-ordinates).
    void FormMouseDown(Qt::MouseButton button, const QPoint& point);
    // The window closes: the main toolbar comes back when it is wanted, the preview bar goes, the
    // pages are freed.
    void FormClose();

    // The sub-window shows and hides with this window.
    void setVisible(bool visible) override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QString designedCaption_;
    QScrollArea* area_ = nullptr;
    // Holds the page image and sets the scrolled extent.
    QWidget* ground_ = nullptr;
};

extern TForm7* Form7;

// The band in the window's colour between two pages, across `width` at row y.
void DrawPageGap(platform::TCanvas& canvas, int y, int width);
