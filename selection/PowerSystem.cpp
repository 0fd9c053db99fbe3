#include "selection/PowerSystem.h"

TPowerSystem* PowerSystem = nullptr;

TPowerSystem::TPowerSystem(QWidget* parent) : QDialog(parent) {
    setupUi(this);
}
