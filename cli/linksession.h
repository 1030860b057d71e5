#pragma once

#include "link/statussink.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QJsonArray>
#include <QObject>
#include <QStringList>

#include <functional>

namespace kx {
class DataObject;
}

// What every link verb of trivane-cli shares: the common options (--port or --bus, --baud, --can-id,
// --multi, --json), opening the port, probing and configuring the adapter, detecting the
// motors, choosing the target, echoing the status lines the link posts, and the exit code.
class LinkSession : public QObject, public StatusSink {
    Q_OBJECT

public:
    LinkSession();
    ~LinkSession() override;

    // Adds the common options to a verb's parser.
    void addOptions(QCommandLineParser* parser);
    // Reads the common options; false (with the reason in *error) on a usage error.
    bool readOptions(const QCommandLineParser& parser, QString* error);
    // Parses a verb's command line (its own options and the common ones already added) and
    // reads the common options. Returns -1 to go on, or the exit code to end with: a usage
    // error (printed), or success after printing --help. Negative numbers stay values.
    int parseCommandLine(QCommandLineParser* parser, const QStringList& arguments);
    // Negative numbers ("-1.5") are values, not options: a leading blank keeps them in their
    // place among the positional arguments (toDouble ignores it; trim it for other uses).
    static QStringList valuesNotOptions(const QStringList& arguments);
    // Scans the whole bus as --multi does, for a verb that acts on every motor.
    void scanWholeBus() { m_multi = true; }
    // For a verb that only listens: open() configures the adapter and detects no motor.
    void skipDetection() { m_noDetection = true; }
    // Status lines go to stderr, for a verb whose stdout is a stream of its own.
    void statusToStderr() { m_statusToStderr = true; }

    // Opens the port, detects the motors and makes the target the current device; false
    // after printing why (no adapter, no motor, no such CAN ID).
    bool open();
    kx::DataObject* target() const { return m_target; }
    // The target's CAN ID.
    int targetId() const;
    QList<kx::DataObject*> devices() const;
    // The detected device with that CAN ID; null when none.
    kx::DataObject* findDevice(int canId) const;
    // Asks a motor for its model unless it is known; true once it is (MotorStates).
    bool queryModel(quint8 canId);

    // Runs the event loop until done() holds or timeoutMs passes; false on time-out or when
    // the port closed meanwhile.
    bool waitUntil(const std::function<bool()>& done, int timeoutMs);
    // Waits for one of the given link statuses; returns it, or -1 on time-out.
    int waitStatus(const QList<int>& statuses, int timeoutMs);
    // Lets queued writes reach the port before the process ends.
    void flush();

    // True once an "ERROR" status line was posted after open().
    bool sawError() const { return m_errors > 0; }
    // A verb that checked the outcome itself (reads back, retries) drops the error lines of
    // attempts it recovered from.
    void forgetErrors() { m_errors = 0; }
    bool json() const { return m_json; }
    // --json as the verb read it, for failures before readOptions().
    void setJson(bool json) { m_json = json; }
    // Prints the reason on stderr (and the JSON summary) and returns the failure code.
    int fail(const QString& reason);
    // Likewise for a wrong command line: exit code 2.
    int usageError(const QString& reason);
    void addResult(const QString& key, const QJsonValue& value) { m_results.append(QJsonArray{key, value}); }
    // Prints the JSON summary (with --json) and returns the exit code for ok.
    int finish(bool ok);

    static void printOut(const QString& text);
    static void printErr(const QString& text);

private:
    // The link's status lines: kept for --json, printed, and "ERROR" ones counted.
    void statusLine(const QString& line, bool error) override;

    QCommandLineOption m_portOption;
    QCommandLineOption m_busOption;
    QCommandLineOption m_baudOption;
    QCommandLineOption m_canIdOption;
    QCommandLineOption m_multiOption;
    QCommandLineOption m_jsonOption;
    QString m_port;
    int m_baud = 0;
    int m_canId = -1;
    bool m_multi = false;
    bool m_noDetection = false;
    bool m_statusToStderr = false;
    bool m_json = false;
    bool m_opened = false;
    int m_errors = 0;
    QList<int> m_statuses;
    QStringList m_lines;
    QJsonArray m_results;
    kx::DataObject* m_target = nullptr;
};
