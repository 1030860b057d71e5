#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>

class QSocketNotifier;
class SimAdapter;
class SimFrontEnd;

// The bench's control channel: one text command per line (from stdin with --control), each
// answered with one line starting "ok" or "error". Faults switch at run time here.
class SimControl : public QObject {
    Q_OBJECT

public:
    SimControl(SimAdapter* adapter, SimFrontEnd* frontEnd, QObject* parent = nullptr);
    ~SimControl() override;

    QString execute(const QString& line);
    // Reads commands from stdin; end of input asks to quit.
    void attachStdin();
    // Takes every command already waiting on stdin. The front end calls it before it hands the
    // host's data on, so that a fault switched on before a request reaches that request.
    void drain();
    static QString helpText();

signals:
    void quitRequested();
    void answer(const QString& line);

private:
    void onStdin();

    SimAdapter* m_adapter;
    SimFrontEnd* m_frontEnd;
    std::unique_ptr<QSocketNotifier> m_stdin;
    QByteArray m_line;
};
