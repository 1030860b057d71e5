#pragma once

// Starts the simulated bench on a pseudo-terminal for a test and ends it afterwards.

#include <QProcess>
#include <QStringList>

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

    void command(const QByteArray& line) {
        m_process.write(line + '\n');
        m_process.waitForBytesWritten(5000);
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
