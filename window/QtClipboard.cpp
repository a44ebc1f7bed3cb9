#include "window/QtClipboard.h"

#include <QClipboard>
#include <QGuiApplication>

namespace gradel {

void QtClipboard::clear() {
    QGuiApplication::clipboard()->clear();
}

void QtClipboard::setText(const QString& text) {
    QGuiApplication::clipboard()->setText(text);
}

}  // namespace gradel
