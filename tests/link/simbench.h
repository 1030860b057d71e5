#pragma once

// Starts the simulated bench for a test (on a pseudo-terminal, or on a virtual CAN bus of its
// own) and ends it afterwards.

#include <QElapsedTimer>
#include <QProcess>
#include <QStringList>
#include <QTest>

#ifndef TRIVANE_SIM_PATH
#define TRIVANE_SIM_PATH "trivane-sim"
#endif

namespace linktest {

class SimBench {
public:
    ~SimBench() { stop(); }

    // Starts the bench with the given options (always with --control); returns the device
    // path it printed, or an empty string.
    QString start(const QStringList& options) {
        m_process.setProgram(QStringLiteral(TRIVANE_SIM_PATH));
        m_process.setArguments(QStringList{QStringLiteral("--control")} + options);
        m_process.setProcessChannelMode(QProcess::SeparateChannels);
        m_process.start();
        if (!m_process.waitForStarted(10000))
            return QString();
        while (!m_process.canReadLine()) {
            if (!m_process.waitForReadyRead(10000))
                return QString();
        }
        m_path = QString::fromLocal8Bit(m_process.readLine()).trimmed();
        return m_path;
    }

    // Starts the bench on a virtual CAN bus it serves on a free loopback port; returns the
    // address to connect to ("virtualcan:tcp://127.0.0.1:PORT/can0"), or an empty string.
    QString startBus(const QStringList& options) {
        return start(
            QStringList{QStringLiteral("--bus"), QStringLiteral("virtualcan:tcp://127.0.0.1:0/can0")} +
            options);
    }

    void command(const QByteArray& line) {
        m_process.write(line + '\n');
        m_process.waitForBytesWritten(5000);
    }

    // Asks for the bench's status until one answer holds `needle` `count` times. The bench
    // takes its control commands before the host's data, so a frame the host wrote just before
    // may show only in a later answer.
    bool statusShows(const QByteArray& needle, int count = 1, int timeoutMs = 10000) {
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < timeoutMs) {
            m_process.readAll();
            command("status");
            QByteArray answer;
            // One answer arrives in one write: its first line and a line per motor.
            const bool answered = QTest::qWaitFor(
                [&] {
                    answer += m_process.readAll();
                    return answer.contains("ok rate") && answer.endsWith('\n');
                },
                5000);
            if (answered && answer.count(needle) >= count)
                return true;
        }
        return false;
    }

    void stop() {
        if (m_process.state() == QProcess::NotRunning)
            return;
        m_process.closeWriteChannel();  // end of stdin ends the bench
        if (!m_process.waitForFinished(5000)) {
            m_process.kill();
            m_process.waitForFinished(5000);
        }
    }

    QString path() const { return m_path; }
    QProcess& process() { return m_process; }

private:
    QProcess m_process;
    QString m_path;
};

}  // namespace linktest
