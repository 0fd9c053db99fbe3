#pragma once
#include <QDialog>
#include <cstdint>

#include "ui_TForm2.h"

class QCloseEvent;
class QMdiSubWindow;
class QMouseEvent;
class QScrollArea;

namespace platform {
class TImage;
}

// The scheme window: it stands for the open project. Its caption is the project's path, or
// "Untitled" for a project never saved; it holds the picture of the current scheme; closing it
// closes the project. Its pop-up menu repeats the main window's commands. It lives in a
// sub-window of the main window's client area and fills it.
class TForm2 : public QDialog, public Ui::TForm2 {
    Q_OBJECT

public:
    explicit TForm2(QWidget* parent = nullptr);

    // The picture of the current scheme, null when there is none (the drawing code creates it).
    // Its tag tells the picture (PictureKinds): 1 general scheme, 2 one-line diagram of a panel,
    // 3 phasing of a panel.
    platform::TImage* Image1 = nullptr;
    // Answer of the close query.
    std::uint8_t CloseAllowed = 0;

    // What the picture shows; 0 without a picture.
    int PictureKind() const;

    // Closing the window: the save question, then the project is dropped.
    void FormCloseQuery(bool& canClose);
    // A right click pops PopupMenu1 up there (`point` in the window's co-ordinates); other
    // buttons do nothing.
    void FormMouseDown(Qt::MouseButton button, const QPoint& point);
    // Deletes the picture.
    void FreePicture();
    // Deletes the picture and puts a new, empty one (tag 0) in its place, scrolled by the window.
    platform::TImage* NewPicture();
    // Shows the window in the main window's client area, which it fills with its caption and
    // close box, whatever the main window's size and bars.
    void ShowOverMainWindow();
    // The sub-window of the main window's client area that holds this window; null until the
    // window is first placed there.
    QMdiSubWindow* Frame() const;

    // The pop-up menu: each item runs the main window's command of the same name in the main
    // menu; "Выход" closes this window, and with it the project.
    void N2Click();
    void N3Click();
    void N4Click();
    void N5Click();
    void N6Click();
    void N7Click();
    void N9Click();
    void N10Click();
    void N20Click();
    void N22Click();
    void N12Click();
    void N18Click();
    void N13Click();
    void N32Click();
    void N24Click();
    void N25Click();
    void N26Click();
    void N15Click();
    void N16Click();
    void N17Click();
    void N28Click();
    void N29Click();
    void N30Click();
    void N31Click();

    // Escape does nothing here: the project closes only through the close box, the pop-up
    // menu's "Выход" or the project commands.
    void reject() override;
    // The sub-window shows and hides with this window.
    void setVisible(bool visible) override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    // Puts the window into a sub-window of the main window's client area.
    void PlaceInMainWindow();

    // Scrolls a picture larger than the window.
    QScrollArea* pictureArea_ = nullptr;
};

extern TForm2* Form2;

// Puts a window into a sub-window of the main window's client area, maximised so that it fills
// it with its caption and close box; the window is hidden until shown.
QMdiSubWindow* PlaceInClientArea(QWidget& window);
// Shows (maximised, in front) or hides a window's sub-window; nothing for null.
void ShowSubWindow(QMdiSubWindow* frame, bool visible);
