#pragma once

#include <QVariant>
#include <QWidget>

class QStackedWidget;
class QTextBrowser;
class QToolButton;

// The output panel under the editor: the status history ("Log") and the raw traffic
// ("Communication"), each numbered, time-stamped, capped at 2048 lines, clearable and
// exportable to a text file.
class Panel : public QWidget {
    Q_OBJECT

public:
    static constexpr int kMaxLines = 2048;

    explicit Panel(QWidget* parent = nullptr);

    QTextBrowser* logBrowser() const { return m_tbLog; }
    QTextBrowser* communicationBrowser() const { return m_tbCommunication; }
    int currentTab() const;
    void selectTab(int index);
    void clearCurrent();
    // Writes the current tab's text as UTF-8; false (with an error box) when the file
    // cannot be written.
    bool exportCurrentTo(const QString& path);
    // "Export %1 file" with "log" or "communication" for the current tab.
    QString exportTitle() const;

private:
    void append(QTextBrowser* browser, int& counter, const QVariant& value);
    void exportWithDialog();

    QList<QToolButton*> m_tabs;
    QStackedWidget* m_stack;
    QTextBrowser* m_tbLog;
    QTextBrowser* m_tbCommunication;
    // Counters run for the whole session: clearing a tab does not restart its numbering.
    int m_logCount = 0;
    int m_communicationCount = 0;
};
