// The window-system layer: virtual-key codes and the on-screen error dialog.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QTimer>
#include <functional>

#include "window/QtErrorDialog.h"
#include "window/winsys/VirtualKey.h"

namespace {

using gradel::ErrorAnswer;
using gradel::ErrorReport;
using gradel::QtErrorDialog;
namespace VirtualKey = gradel::VirtualKey;

TEST(VirtualKeyTest, ToolkitKeysGiveThePcKeyboardCodes) {
    struct Case {
        int qt;
        bool keypad;
        int code;
    } cases[] = {
        {Qt::Key_F1, false, 112},    {Qt::Key_F12, false, 123},
        {Qt::Key_F13, false, 124},   {Qt::Key_F24, false, 135},
        {Qt::Key_A, false, 65},      {Qt::Key_Z, false, 90},
        {Qt::Key_0, false, 48},      {Qt::Key_9, false, 57},
        {Qt::Key_Exclam, false, 49}, {Qt::Key_ParenRight, false, 48},
        {Qt::Key_Return, false, 13}, {Qt::Key_Enter, false, 13},
        {Qt::Key_Escape, false, 27}, {Qt::Key_Backspace, false, 8},
        {Qt::Key_Tab, false, 9},     {Qt::Key_Space, false, 32},
        {Qt::Key_Left, false, 37},   {Qt::Key_Down, false, 40},
        {Qt::Key_Home, false, 36},   {Qt::Key_End, false, 35},
        {Qt::Key_PageUp, false, 33}, {Qt::Key_PageDown, false, 34},
        {Qt::Key_Insert, false, 45}, {Qt::Key_Delete, false, 46},
        {Qt::Key_Shift, false, 16},  {Qt::Key_Control, false, 17},
        {Qt::Key_Alt, false, 18},    {Qt::Key_Period, false, 190},
        {Qt::Key_Minus, false, 189}, {Qt::Key_0, true, 96},
        {Qt::Key_7, true, 103},      {Qt::Key_Period, true, 110},
        {Qt::Key_Plus, true, 107},   {Qt::Key_Minus, true, 109},
        {Qt::Key_Slash, true, 111},  {Qt::Key_Asterisk, true, 106},
        {Qt::Key_Enter, true, 13},   {Qt::Key_F7, true, 118},
        {Qt::Key_unknown, false, 0}, {Qt::Key_Eacute, false, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(VirtualKey::FromQt(c.qt, c.keypad), c.code)
            << std::hex << c.qt << " " << c.keypad;
    }
}

TEST(VirtualKeyTest, EventsGiveCodeAndShiftBits) {
    struct Case {
        Qt::Key key;
        Qt::KeyboardModifiers mods;
        int code, shift;
    } cases[] = {
        {Qt::Key_F7, Qt::NoModifier, 118, 0},
        {Qt::Key_F7, Qt::ShiftModifier, 118, 1},
        {Qt::Key_F7, Qt::ControlModifier, 118, 2},
        {Qt::Key_F7, Qt::AltModifier, 118, 4},
        {Qt::Key_F7, Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier, 118, 7},
        {Qt::Key_3, Qt::KeypadModifier, 99, 0},
        {Qt::Key_3, Qt::KeypadModifier | Qt::ShiftModifier, 99, 1},
    };
    for (const Case& c : cases) {
        QKeyEvent e(QEvent::KeyPress, c.key, c.mods);
        EXPECT_EQ(VirtualKey::FromEvent(e), c.code);
        EXPECT_EQ(VirtualKey::ShiftState(e), c.shift);
    }
}

ErrorReport Report() {
    return ErrorReport{"clsIniFile", "MoveTo", 6, "Overflow"};
}

// Acts on the message box once it is up (it runs its own event loop).
void WhenBoxUp(std::function<void(QMessageBox*)> act, int tries = 300) {
    QTimer::singleShot(10, [act, tries] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            act(box);
        } else if (tries > 0) {
            WhenBoxUp(act, tries - 1);
        }
    });
}

TEST(QtErrorDialogTest, BoxIsTitledErrorWithInformationIconAndThreeButtons) {
    auto box = QtErrorDialog::MakeBox(Report(), nullptr);
    EXPECT_EQ(box->windowTitle(), "Error");
    EXPECT_EQ(box->icon(), QMessageBox::Information);
    EXPECT_EQ(box->standardButtons(),
              QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore);
    EXPECT_EQ(box->text().toStdString(), Report().Text());
    EXPECT_EQ(box->textFormat(), Qt::PlainText);
}

// Closing the box (no button) counts as Abort.
TEST(QtErrorDialogTest, AskReturnsTheButtonChosen) {
    const std::pair<QMessageBox::StandardButton, ErrorAnswer> cases[] = {
        {QMessageBox::Abort, ErrorAnswer::Abort},
        {QMessageBox::Retry, ErrorAnswer::Retry},
        {QMessageBox::Ignore, ErrorAnswer::Ignore},
        {QMessageBox::NoButton, ErrorAnswer::Abort},
    };
    for (auto [button, answer] : cases) {
        QtErrorDialog dialog;
        bool acted = false;
        WhenBoxUp([&acted, b = button](QMessageBox* box) {
            b == QMessageBox::NoButton ? void(box->close()) : box->button(b)->click();
            acted = true;
        });
        EXPECT_EQ(dialog.Ask(Report()), answer);
        EXPECT_TRUE(acted);
    }
}

}  // namespace
