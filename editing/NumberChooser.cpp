#include "editing/NumberChooser.h"

#include "platform/Choices.h"
#include "platform/Conversions.h"
#include "platform/Events.h"

TForm9* Form9 = nullptr;

TForm9::TForm9(QWidget* parent) : QDialog(parent) {
    setupUi(this);
    // A caption without border icons.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    platform::SetItems(*ComboBox1, {});
    platform::OnClick(Button1, this, &TForm9::Button1Click);
}

bool TForm9::HasChoice() const {
    int number = 0;
    return platform::ChosenIndex(*ComboBox1) >= 0 &&
           platform::TryStrToInt(platform::Text(*ComboBox1), number);
}

void TForm9::Button1Click() {
    if (HasChoice()) ChosenNumber = platform::StrToInt(platform::Text(*ComboBox1));
    accept();
}

void TForm9::done(int result) {
    if (result != QDialog::Accepted) platform::ClearChoice(*ComboBox1);
    QDialog::done(result);
}
