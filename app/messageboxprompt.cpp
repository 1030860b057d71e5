#include "app/messageboxprompt.h"

#include "link/helper.h"

#include <QMessageBox>
#include <QWidget>

QWidget* MessageBoxPrompt::parentWidget() {
    return qobject_cast<QWidget*>(Helper::instance()->mainWindow());
}

void MessageBoxPrompt::showError(const QString& title, const QString& text) {
    QMessageBox::critical(parentWidget(), title, text, QMessageBox::Ok);
}

void MessageBoxPrompt::showInformation(const QString& title, const QString& text) {
    QMessageBox::information(parentWidget(), title, text, QMessageBox::Ok);
}

bool MessageBoxPrompt::askNotice(const QString& title, const QString& text) {
    // Escape and the window's close button answer Cancel.
    return QMessageBox::question(parentWidget(), title, text, QMessageBox::Ok | QMessageBox::Cancel,
                                 QMessageBox::Cancel) == QMessageBox::Ok;
}

void MessageBoxPrompt::showWarning(const QString& title, const QString& text) {
    QMessageBox::warning(parentWidget(), title, text, QMessageBox::Ok);
}
