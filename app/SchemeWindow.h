#pragma once
#include <QDialog>
#include <cstdint>

#include "ui_TForm2.h"

class QCloseEvent;
class QLabel;

// The scheme window: it stands for the open project. Its caption is the project's path, or
// "Untitled" for a project never saved; it holds the picture of the current scheme; closing it
// closes the project.
class TForm2 : public QDialog, public Ui::TForm2 {
    Q_OBJECT

public:
    explicit TForm2(QWidget* parent = nullptr);

    // The picture of the current scheme, null when there is none (the drawing code creates it).
    // Its "Tag" property tells the picture: 1 general scheme, 2 one-line diagram of a panel,
    // 3 phasing of a panel.
    QLabel* Image1 = nullptr;
    // Answer of the close query.
    std::uint8_t CloseAllowed = 0;

    // Closing the window: the save question, then the project is dropped.
    void FormCloseQuery(bool& canClose);
    // Deletes the picture.
    void FreePicture();
    // Shows the window over the main window's client area, its frame included.
    void ShowOverMainWindow();

    // Escape closes the window as its close button does, through the close query.
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;
};

extern TForm2* Form2;
