#pragma once
// The About window: product, version, rights holder, the contact address as a mail link and the
// program's picture (About.jpg in the program folder). Shown modelessly by the Help menu.
#include <QDialog>

#include "ui_TAboutBox.h"

class TAboutBox : public QDialog, public Ui::TAboutBox {
    Q_OBJECT

public:
    explicit TAboutBox(QWidget* parent = nullptr);

    // The maker's address shown in Label1; its click opens "mailto:" with it.
    static constexpr const char* MakerAddress = "support@veltranovaplanir.ru";
    // The picture file, in the program folder.
    static constexpr const char* PictureFile = "About.jpg";

    // Label1: red and the mail client on a click, red while the mouse is over it, green when the
    // mouse leaves.
    void Label1Click();
    void Label1MouseMove();
    void Label1MouseLeave();
    // Label1 green again, then the window closes with modal result OK.
    void OKButtonClick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void LoadPicture();
    void CenterOnScreen();
};

extern TAboutBox* AboutBox;
