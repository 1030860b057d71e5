#pragma once

#include <QFile>
#include <QHash>
#include <QObject>
#include <QPointer>
#include <QSet>
#include <QString>

#include <functional>

class MainWindow;
class QAbstractButton;
class QTimer;
class QWidget;

// Walks every screen the window offers and records what it shows: each tab with its tool
// strip and what each button of the strip opens (pages, dialogs, message boxes, answered
// with Cancel), every menu, every page of every stacked widget (editor pages, sidebar modes,
// panel tabs). It knows no screen by name: whatever the shell was given is walked, so a new
// screen is covered as soon as it is registered.
//
// Started from the environment by the start-up:
//  TRIVANE_SCREENWALK=DIR         walk, write DIR/texts.tsv, then quit;
//  TRIVANE_SCREENWALK_PNG=1       also save a picture of each screen into DIR;
//  TRIVANE_SCREENWALK_PORT=PATH   after the offline walk, connect to this port (the simulated
//                                 bench) and walk again with its motors;
//  TRIVANE_SCREENWALK_DEVICES=N   motors to wait for on that port (default 1).
//
// texts.tsv holds one visible text per line: screen, kind, widget, text (tabs and line
// breaks in the text written as \t and \n). Kinds: "text" for a widget's own texts, "item"
// for the items of combo boxes and item views, "line" for lines of text views. Widgets that paint texts
// themselves list them in their dynamic property "shownTexts" (a QStringList).
class ScreenWalk : public QObject {
    Q_OBJECT

public:
    struct Options {
        QString outDir;
        bool pictures = false;
        QString port;
        int devices = 1;
    };

    // Creates and starts a walk when TRIVANE_SCREENWALK is set; null otherwise.
    static ScreenWalk* startFromEnvironment(MainWindow* window);

    ScreenWalk(MainWindow* window, const Options& options, QObject* parent = nullptr);

private:
    void run();
    bool walkBench();
    void walkMenus(const QString& phase);
    void walkTabs(const QString& phase);
    void walkStacks(const QString& phase);
    void click(QAbstractButton* button, const QString& screen);

    void visit(const QString& screen, QWidget* root);
    void record(const QString& screen, const QString& kind, QWidget* widget, const QString& text);
    void recordWidget(const QString& screen, QWidget* widget);
    void watchModal();
    void settle(int ms);
    bool waitFor(const std::function<bool()>& done, int ms);

    MainWindow* m_window;
    Options m_options;
    QFile m_texts;
    QTimer* m_watch;
    QString m_step;
    QHash<QWidget*, int> m_modalSeen;
    QSet<QString> m_written;
    int m_pictures = 0;
    bool m_failed = false;
};
