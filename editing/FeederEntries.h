#pragma once
// What the boxes of the connection window share when they read a feeder's entries and tell the
// user what is wrong with them.
#include <string>

class QLineEdit;

namespace editing {

// The messages of the entry checks that both boxes give.
inline constexpr char kEnterLength[] = "Введите длину трассы.";
inline constexpr char kEnterTemperature[] = "Введите температуру среды.";
inline constexpr char kOpenTable[] = "Откройте таблицу.";
inline constexpr char kEnterPanelNumber[] = "Введите номер щита.";
inline constexpr char kPanelNumberZero[] = "Введите номер щита отличный от 0.";
inline constexpr char kPanelNumberTaken[] = "Щит с таким номером существует.";
inline constexpr char kTemperatureRange[] = "Интервал температуры <от -5 до +50>.";
inline constexpr char kCableNameTaken[] =
    "Название кабеля или провода с таким именим существует. Измените название.";

// The ambient temperature a feeder may be laid in, °C.
inline constexpr int kLowestTemperature = -5;
inline constexpr int kHighestTemperature = 50;

// The warning box of the entry checks (caption "Предупреждение.").
void Warn(const std::string& text);
// The cable name and demand factor messages: no caption, no icon.
void Say(const std::string& text);
// A route length: a number above 0 (either decimal separator).
bool ReadLength(const QLineEdit& edit, double& length);
bool ReadInt(const QLineEdit& edit, int& value);
// The cable name problems shared by every box; "" when the name can be taken.
std::string CableNameProblem(const std::string& name);

}  // namespace editing
