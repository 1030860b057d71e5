#pragma once

// Runs the real trivane-cli (its path comes in as TRIVANE_CLI_PATH) to its end.

#include <QProcess>
#include <QString>
#include <QStringList>

namespace clitest {

// The exit code, or -1 when the program crashed or did not end within two minutes.
inline int runCli(const QStringList& args, QString* out = nullptr, QString* err = nullptr) {
    QProcess process;
    process.start(QStringLiteral(TRIVANE_CLI_PATH), args);
    if (!process.waitForFinished(120000)) {
        process.kill();
        process.waitForFinished();
        return -1;
    }
    if (out)
        *out = QString::fromUtf8(process.readAllStandardOutput());
    if (err)
        *err = QString::fromUtf8(process.readAllStandardError());
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

}  // namespace clitest
