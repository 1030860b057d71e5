#pragma once

// Shared by the link tests: a main that fails on Qt's thread-affinity warnings, a per-case
// temporary working directory, and a prompt that records the boxes instead of showing them.

#include <QCoreApplication>
#include <QDir>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>

#include <atomic>
#include <cstdio>
#include <memory>
#include <mutex>

#include "link/userprompt.h"

namespace linktest {

inline std::atomic<int>& affinityWarnings() {
    static std::atomic<int> count{0};
    return count;
}

// Qt only warns when an object is used from the wrong thread; here that is a test failure.
inline void messageHandler(QtMsgType type, const QMessageLogContext&, const QString& msg) {
    static const char* const fatal[] = {
        "Cannot create children for a parent that is in a different thread",
        "Timers cannot be started from another thread",
        "Timers cannot be stopped from another thread",
        "QSocketNotifier: Socket notifiers cannot be enabled or disabled from another thread",
        "Cannot send events to objects owned by a different thread",
    };
    for (const char* text : fatal) {
        if (msg.contains(QLatin1String(text))) {
            ++affinityWarnings();
            fprintf(stderr, "THREAD AFFINITY VIOLATION: %s\n", qPrintable(msg));
            return;
        }
    }
    if (type != QtDebugMsg)
        fprintf(stderr, "%s\n", qPrintable(msg));
}

// Records every box; askNotice answers with `answer`.
class RecordingPrompt : public UserPrompt {
public:
    void showError(const QString& title, const QString& text) override { add(title, text); }
    void showInformation(const QString& title, const QString& text) override { add(title, text); }
    bool askNotice(const QString& title, const QString& text) override {
        add(title, text);
        return answer;
    }
    void showWarning(const QString& title, const QString& text) override { add(title, text); }
    QStringList boxes() const {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_boxes;
    }
    void clear() {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_boxes.clear();
    }
    bool answer = false;

private:
    void add(const QString& title, const QString& text) {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_boxes << title + QLatin1String(": ") + text;
    }
    mutable std::mutex m_mutex;
    QStringList m_boxes;
};

// Makes a fresh temporary directory the working directory (log files land there).
class WorkDir {
public:
    WorkDir() : m_previous(QDir::currentPath()) { QDir::setCurrent(m_dir.path()); }
    // Only while it is still the working directory: a replacement made before this one ends
    // (m_dir = std::make_unique<WorkDir>()) stays current instead of falling back to the
    // directory the tests started in, where log files would pile up across runs.
    ~WorkDir() {
        if (QDir(QDir::currentPath()).canonicalPath() == QDir(m_dir.path()).canonicalPath())
            QDir::setCurrent(m_previous);
    }
    QString path() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
    QString m_previous;
};

}  // namespace linktest

#define LINK_TEST_MAIN(TestClass)                                                                \
    int main(int argc, char** argv) {                                                            \
        qInstallMessageHandler(linktest::messageHandler);                                        \
        QCoreApplication app(argc, argv);                                                        \
        TestClass tc;                                                                            \
        const int result = QTest::qExec(&tc, argc, argv);                                        \
        if (linktest::affinityWarnings() > 0) {                                                  \
            fprintf(stderr, "%d thread-affinity warnings\n", int(linktest::affinityWarnings())); \
            return 1;                                                                            \
        }                                                                                        \
        return result;                                                                           \
    }
