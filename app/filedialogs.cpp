#include "app/filedialogs.h"

#include <QDateTime>
#include <QFileDialog>
#include <QFileInfo>
#include <QRegularExpression>

namespace {
FileDialogs::Chooser& chooser() {
    static FileDialogs::Chooser instance;
    return instance;
}

FileDialogs::FilterChooser& filterChooser() {
    static FileDialogs::FilterChooser instance;
    return instance;
}

QString withFilterSuffix(const QString& path, const QString& filter) {
    // A file saved without the extension would be hidden by the same filter in the next
    // open dialog.
    const QRegularExpressionMatch match = QRegularExpression(QStringLiteral("\\*\\.(\\w+)")).match(filter);
    if (path.isEmpty() || !match.hasMatch() || !QFileInfo(path).suffix().isEmpty())
        return path;
    const QString dot = path.endsWith(QLatin1Char('.')) ? QString() : QStringLiteral(".");
    return path + dot + match.captured(1);
}
}  // namespace

void FileDialogs::setChooser(Chooser value) {
    chooser() = std::move(value);
    filterChooser() = nullptr;
}

void FileDialogs::setFilterChooser(FilterChooser value) {
    filterChooser() = std::move(value);
    chooser() = nullptr;
}

QString FileDialogs::choose(QWidget* parent, Mode mode, const QString& title, const QString& filter,
                            const QString& start) {
    if (chooser())
        return chooser()(mode, title, filter);
    if (filterChooser())
        return filterChooser()(mode, title, filter, start, nullptr);
    if (mode == Open)
        return QFileDialog::getOpenFileName(parent, title, start, filter);
    return QFileDialog::getSaveFileName(parent, title, start, filter);
}

QString FileDialogs::openFileName(QWidget* parent, const QString& title, const QString& filter) {
    return choose(parent, Open, title, filter, QStringLiteral("."));
}

QString FileDialogs::openFileName(QWidget* parent, const QString& title, const QString& filter,
                                  const QString& directory) {
    return choose(parent, Open, title, filter, directory.isEmpty() ? QStringLiteral(".") : directory);
}

QString FileDialogs::timedName(const QString& stem, const QString& suffix) {
    return QStringLiteral("./%1%2.%3")
        .arg(stem, QDateTime::currentDateTime().toString(QStringLiteral("yyyy_MM_dd_hhmmss")), suffix);
}

QString FileDialogs::saveFileName(QWidget* parent, const QString& title, const QString& filter) {
    return withFilterSuffix(choose(parent, Save, title, filter, QStringLiteral(".")), filter);
}

QString FileDialogs::saveFileName(QWidget* parent, const QString& title, const QString& filter,
                                  const QString& proposed) {
    return choose(parent, Save, title, filter, proposed);
}

QString FileDialogs::saveFileName(QWidget* parent, const QString& title, const QString& filter,
                                  const QString& proposed, QString* selectedFilter) {
    QString selected = filter.section(QStringLiteral(";;"), 0, 0);
    QString path;
    if (filterChooser()) {
        path = filterChooser()(Save, title, filter, proposed, &selected);
    } else if (chooser()) {
        path = chooser()(Save, title, filter);
    } else {
        path = QFileDialog::getSaveFileName(parent, title, proposed, filter, &selected,
                                            QFileDialog::DontConfirmOverwrite);
    }
    if (selectedFilter)
        *selectedFilter = selected;
    return path;
}
