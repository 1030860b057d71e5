#include "app/filedialogs.h"

#include <QFileDialog>

namespace {
FileDialogs::Chooser& chooser() {
    static FileDialogs::Chooser instance;
    return instance;
}
}  // namespace

void FileDialogs::setChooser(Chooser value) {
    chooser() = std::move(value);
}

QString FileDialogs::choose(QWidget* parent, Mode mode, const QString& title, const QString& filter) {
    if (chooser())
        return chooser()(mode, title, filter);
    if (mode == Open)
        return QFileDialog::getOpenFileName(parent, title, QStringLiteral("."), filter);
    return QFileDialog::getSaveFileName(parent, title, QStringLiteral("."), filter);
}

QString FileDialogs::openFileName(QWidget* parent, const QString& title, const QString& filter) {
    return choose(parent, Open, title, filter);
}

QString FileDialogs::saveFileName(QWidget* parent, const QString& title, const QString& filter) {
    return choose(parent, Save, title, filter);
}

QString FileDialogs::saveFileName(QWidget* parent, const QString& title, const QString& filter,
                                  const QString& proposed) {
    if (chooser())
        return chooser()(Save, title, filter);
    return QFileDialog::getSaveFileName(parent, title, proposed, filter);
}
