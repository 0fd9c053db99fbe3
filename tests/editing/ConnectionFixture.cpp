#include "ConnectionFixture.h"

#include <QTest>

#include "app/Mainform.h"
#include "editing/Shiti12.h"
#include "refdb/BazaAvt.h"
#include "refdb/BazaTran.h"

void ConnectionTest::SetUp() {
    AppFixture::SetUp();
    CopyFolder(PROGRAM_DATA_DIR, programDir_.path().toStdString());
    // The reference windows read their tables at start-up: again, from the shipped ones.
    BazaAvt->AVT1.Close();
    BazaAvt->FormCreate();
    BazaTran->ClientDataSet2.Close();
    BazaTran->FormCreate();
}

void ConnectionTest::TearDown() {
    DeleteProjectTree(ProjectRoot);
    AppFixture::TearDown();
}

namespace {

ScriptedResponder::ModalAction RunDialog(const std::function<void()>& inDialog) {
    return [inDialog](QDialog& dialog) {
        dialog.show();
        if (inDialog) inDialog();
        if (dialog.isVisible()) QTest::mouseClick(Shiti->Button1, Qt::LeftButton);
        return platform::mrNone;
    };
}

}  // namespace

void ConnectionTest::NewProject(const std::function<void()>& inDialog) {
    responder_.ExpectModal("TShiti", RunDialog(inDialog));
    Form1->New1->trigger();
}

void ConnectionTest::InstallPanels(const std::function<void()>& inDialog) {
    responder_.ExpectModal("TShiti", RunDialog(inDialog));
    Form1->N21->trigger();
}

void Type(QLineEdit* edit, const std::string& text) {
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(edit, Qt::Key_Delete);
    // Key by key, each with its character (Cyrillic letters have no key code of their own here).
    for (const QChar c : QString::fromStdString(text))
        QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

void Choose(QComboBox* list, const std::string& item) {
    const int target = list->findText(QString::fromStdString(item));
    ASSERT_GE(target, 0) << "\"" << item << "\" is not offered in "
                         << list->objectName().toStdString();
    // Arrow keys, one item at a time, as the user steps through the list.
    for (int step = 0; step <= list->count() && list->currentIndex() != target; ++step)
        QTest::keyClick(list, list->currentIndex() < target ? Qt::Key_Down : Qt::Key_Up);
    EXPECT_EQ(list->currentIndex(), target) << list->objectName().toStdString();
}

void Click(QAbstractButton* button) {
    QTest::mouseClick(button, Qt::LeftButton);
}

void EnterSwitchboard(const SwitchboardEntry& entry) {
    if (!Shiti->RadioButton1->isChecked()) Click(Shiti->RadioButton1);
    Type(Shiti->Edit2, entry.number);
    Type(Shiti->Edit3, entry.length);
    if (!entry.laying.empty()) Choose(Shiti->ComboBox4, entry.laying);
    if (!entry.table.empty()) Choose(Shiti->ComboBox1, entry.table);
    Type(Shiti->Edit6, entry.temperature);
    Type(Shiti->Edit7, entry.cable);
}

void ConnectSwitchboard(const SwitchboardEntry& entry) {
    EnterSwitchboard(entry);
    Click(Shiti->Button2);
}

void EnterPanel(const PanelEntry& entry) {
    if (!Shiti->RadioButton2->isChecked()) Click(Shiti->RadioButton2);
    if (!entry.switchboard.empty()) Choose(Shiti->ComboBox2, entry.switchboard);
    Type(Shiti->Edit1, entry.number);
    Type(Shiti->Edit4, entry.length);
    if (!entry.laying.empty() && Shiti->ComboBox5->isEnabled())
        Choose(Shiti->ComboBox5, entry.laying);
    if (!entry.table.empty() && Shiti->ComboBox3->isEnabled())
        Choose(Shiti->ComboBox3, entry.table);
    Type(Shiti->Edit5, entry.temperature);
    Type(Shiti->Edit8, entry.cable);
}

void ConnectPanel(const PanelEntry& entry) {
    EnterPanel(entry);
    Click(Shiti->Button4);
}

platform::MessageRecord ConnectionTest::LastMessage() const {
    const std::vector<platform::MessageRecord> messages = responder_.Messages();
    return messages.empty() ? platform::MessageRecord{} : messages.back();
}
