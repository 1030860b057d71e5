#pragma once

#include <QString>

#include <functional>

class QWidget;

// File dialogs of the shell, starting in the working directory unless told otherwise. Tests script them with
// setChooser() instead of clicking through a modal dialog.
class FileDialogs {
public:
    enum Mode { Open, Save };
    // Returns the chosen file, or an empty string for Cancel.
    using Chooser = std::function<QString(Mode mode, const QString& title, const QString& filter)>;
    // A chooser that also sees the proposed name and names the filter the user picked
    // (selectedFilter is null where the caller does not ask).
    using FilterChooser = std::function<QString(Mode mode, const QString& title, const QString& filter,
                                                const QString& proposed, QString* selectedFilter)>;

    static QString openFileName(QWidget* parent, const QString& title, const QString& filter);
    // As above, starting in `directory` instead of the working directory.
    static QString openFileName(QWidget* parent, const QString& title, const QString& filter,
                                const QString& directory);
    // A chosen name without an extension gets the one of the filter ("*.prj" adds ".prj").
    static QString saveFileName(QWidget* parent, const QString& title, const QString& filter);
    // The dialog opens with `proposed` as the file name (a chooser ignores it).
    static QString saveFileName(QWidget* parent, const QString& title, const QString& filter,
                                const QString& proposed);
    // As above, and *selectedFilter gets the filter the user picked. The dialog does not ask
    // about an existing file: the caller, who may still add the filter's extension, asks.
    static QString saveFileName(QWidget* parent, const QString& title, const QString& filter,
                                const QString& proposed, QString* selectedFilter);

    // "./<stem><yyyy_MM_dd_hhmmss>.<suffix>": a proposed name that never repeats an earlier save.
    static QString timedName(const QString& stem, const QString& suffix);

    // An empty chooser restores the real dialogs (either kind).
    static void setChooser(Chooser chooser);
    static void setFilterChooser(FilterChooser chooser);

private:
    static QString choose(QWidget* parent, Mode mode, const QString& title, const QString& filter,
                          const QString& start);
};
