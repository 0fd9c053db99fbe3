// The deviation limit dialog of the group-entry window, built at run time: the allowed voltage
// deviation at the consumer is typed and its button raises the cross-sections for it.
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>

#include "app/Mainform.h"
#include "groups/Dan12.h"
#include "platform/Conversions.h"
#include "platform/Events.h"
#include "platform/Messages.h"

QPushButton* TDan1::ShowDeviationDialog() {
    // A new dialog for every call; the one before goes with its edit box and button.
    delete DeviationForm;
    DeviationForm = new QDialog(Form1);
    QDialog& form = *DeviationForm;
    form.setMinimumSize(200, 150);
    form.resize(200, 150);
    form.setWindowTitle("Отклонение напряжения %");
    if (Form1)
        form.move(Form1->width() / 2 - form.width() / 2, Form1->height() / 2 - form.height() / 2);

    DeviationEdit = new QLineEdit("-2,5", &form);
    DeviationEdit->move(form.width() / 2 - DeviationEdit->width() / 2, 50);
    DeviationButton = new QPushButton("Ok", &form);
    DeviationButton->move(form.width() / 2 - DeviationButton->width() / 2, 90);
    platform::OnClick(DeviationButton.data(), this, &TDan1::ReduceMaxDeviation);
    return DeviationButton;
}

void TDan1::ReduceMaxDeviation() {
    if (!DeviationForm || !DeviationEdit) return;
    double limit = 0;
    if (!platform::TryStrToFloat(platform::Text(*DeviationEdit), limit)) {
        platform::MessageBox("Введите допустимое отклонение напряжения.", "Предупреждение.",
                             platform::MsgButtons::Ok, platform::MsgIcon::Warning);
        return;
    }
    DeviationForm->done(platform::mrOk);
    if (limit > 0) limit = -limit;
    const double present = PresentGroupDeviation();
    if (limit < present) DeviationEdit->setText(platform::Q(platform::FloatToStr(present)));
    ReduceDeviationToLimit(limit);
}
