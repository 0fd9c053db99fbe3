#include "groups/UnbalancedLoad.h"

#include <QLineEdit>

#include "groups/Dan12.h"
#include "platform/Conversions.h"
#include "platform/Events.h"
#include "platform/Messages.h"

namespace {

bool Refuse(const char* text) {
    platform::MessageBox(text, "предупреждение.", platform::MsgButtons::Ok,
                         platform::MsgIcon::Warning);
    return false;
}

// The fields' values in order; false when one of them is no number.
bool ReadAll(const std::vector<QLineEdit*>& edits, std::vector<long double>& values) {
    values.clear();
    for (const QLineEdit* edit : edits) {
        long double value = 0;
        if (!platform::TryStrToFloat(platform::Text(*edit), value)) return false;
        values.push_back(value);
    }
    return true;
}

}  // namespace

bool AcceptUnbalancedLoad(const std::vector<QLineEdit*>& powers,
                          const std::vector<QLineEdit*>& cosines) {
    std::vector<long double> power;
    std::vector<long double> cosPhi;
    if (!ReadAll(powers, power)) return Refuse("Введите мощность нагрузки.");
    if (!ReadAll(cosines, cosPhi)) return Refuse("Введите коэффициент мощности.");
    for (long double p : power)
        if (p <= 0) return Refuse("Мощность нагрузки должна быть больше нуля.");
    for (long double c : cosPhi)
        if (c <= 0 || c > 1)
            return Refuse("Коэффициент мощности должен быть больше 0 и меньще или равно 1.");
    long double sum = 0;
    for (long double p : power) sum += p;
    const double total = static_cast<double>(sum);
    if (Dan1) {
        Dan1->Edit2->setText(platform::Q(platform::FloatToStr(total)));
        Dan1->Edit2->setEnabled(false);
        Dan1->Edit1->setEnabled(false);
    }
    return true;
}
