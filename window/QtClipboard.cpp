#include "window/QtClipboard.h"

#include <QClipboard>
#include <QGuiApplication>

void QtClipboard::Clear() {
    QGuiApplication::clipboard()->clear();
}

void QtClipboard::SetText(const QString& text) {
    QGuiApplication::clipboard()->setText(text);
}
