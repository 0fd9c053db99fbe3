#include "app/About.h"

#include <QMouseEvent>
#include <QPixmap>
#include <QScreen>
#include <string>

#include "platform/Canvas.h"
#include "platform/Events.h"
#include "platform/Jpeg.h"
#include "platform/Messages.h"
#include "platform/ProgramFolder.h"
#include "platform/Shell.h"

TAboutBox* AboutBox = nullptr;

namespace {
void SetFontColor(QLabel* label, platform::TColor color) {
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, platform::ToQColor(color));
    label->setPalette(palette);
}
}  // namespace

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent) {
    setupUi(this);
    // Dialog border: a caption with the close button only.
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                   Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    SetFontColor(Label2, platform::clNavy);
    SetFontColor(Label1, platform::clGreen);
    Label1->setText(MakerAddress);
    Label1->setMouseTracking(true);
    Label1->installEventFilter(this);
    platform::OnClick(OKButton, this, &TAboutBox::OKButtonClick);
    LoadPicture();
}

void TAboutBox::LoadPicture() {
    // A missing or damaged picture leaves the place empty; it is not worth a message.
    const QImage picture = platform::LoadJpeg(platform::ProgramFolder() + PictureFile);
    if (picture.isNull()) {
        ProgramIcon->clear();
        return;
    }
    const QSize place = ProgramIcon->maximumSize();
    const bool fits = picture.width() <= place.width() && picture.height() <= place.height();
    ProgramIcon->setPixmap(QPixmap::fromImage(
        fits ? picture : picture.scaled(place, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
}

void TAboutBox::Label1Click() {
    SetFontColor(Label1, platform::clRed);
    const std::string address = MakerAddress;
    platform::ShellOpen("mailto:" + address, [address] {
        platform::MessageBox(
            "Не удалось открыть почтовую программу: она не установлена или не "
            "запустилась.\nАдрес для писем: " +
                address,
            "Предупреждение.", platform::MsgButtons::Ok, platform::MsgIcon::Warning);
    });
}

void TAboutBox::Label1MouseMove() {
    SetFontColor(Label1, platform::clRed);
}

void TAboutBox::Label1MouseLeave() {
    SetFontColor(Label1, platform::clGreen);
}

void TAboutBox::OKButtonClick() {
    SetFontColor(Label1, platform::clGreen);
    done(platform::mrOk);
}

bool TAboutBox::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Label1) {
        switch (event->type()) {
            case QEvent::MouseMove:
                platform::RunGuarded([this] { Label1MouseMove(); });
                break;
            case QEvent::Leave:
                platform::RunGuarded([this] { Label1MouseLeave(); });
                break;
            case QEvent::MouseButtonRelease: {
                const auto* mouse = static_cast<QMouseEvent*>(event);
                if (mouse->button() == Qt::LeftButton &&
                    Label1->rect().contains(mouse->position().toPoint())) {
                    platform::RunGuarded([this] { Label1Click(); });
                }
                break;
            }
            default:
                break;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TAboutBox::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    CenterOnScreen();
}

void TAboutBox::CenterOnScreen() {
    const QScreen* where = screen();
    if (where == nullptr) return;
    const QRect area = where->availableGeometry();
    const QSize outer = frameGeometry().size();
    move(area.center() - QPoint(outer.width() / 2, outer.height() / 2));
}
