#pragma once

// Shared by the shell's tests: a scripted stand-in for the message boxes, a fresh working
// directory per case and a way back to the template defaults between cases.

#include "app/startup.h"
#include "framework/data/datamanager.h"
#include "framework/data/dataobject.h"
#include "link/helper.h"
#include "link/userprompt.h"

#include <QApplication>
#include <QDir>
#include <QList>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

struct PromptCall {
    QString kind;
    QString title;
    QString text;
};

class ScriptedPrompt : public UserPrompt {
public:
    void showError(const QString& title, const QString& text) override {
        calls.append({"error", title, text});
    }
    void showInformation(const QString& title, const QString& text) override {
        calls.append({"information", title, text});
    }
    bool askNotice(const QString& title, const QString& text) override {
        calls.append({"notice", title, text});
        return answer;
    }
    void showWarning(const QString& title, const QString& text) override {
        calls.append({"warning", title, text});
    }

    QList<PromptCall> calls;
    bool answer = false;
};

// One per test case: a new temporary working directory, the template defaults restored, no
// devices, no current device and a scripted prompt installed.
class CaseEnvironment {
public:
    CaseEnvironment() {
        QVERIFY(m_dir.isValid());
        m_previous = QDir::currentPath();
        QDir::setCurrent(m_dir.path());
        Helper* helper = Helper::instance();
        helper->setCurrentDeviceDobj(nullptr);
        kx::d(QStringLiteral("project.device"))->clear(nullptr, true, false);
        const QJsonValue tree = kx::DataManager::readFromJson(QStringLiteral(":/template/data.json"));
        kx::d().rootDobj()->importFromJson(nullptr, tree, true, true, false);
        kx::d(QStringLiteral("working_path"))->set(nullptr, QString());
        kx::d(QStringLiteral("config"))->remove(nullptr, QStringLiteral("last_project_path"));
        helper->setPrompt(&prompt);
    }
    ~CaseEnvironment() {
        if (Helper::instance()->prompt() == &prompt)
            Helper::instance()->setPrompt(nullptr);
        QDir::setCurrent(m_previous);
    }
    QString path(const QString& name) const { return m_dir.filePath(name); }

    ScriptedPrompt prompt;

private:
    QTemporaryDir m_dir;
    QString m_previous;
};

// Adds a device record "project.device.<mcu>" with its CAN ID.
inline kx::DataObject* addDevice(const QString& mcu, int canId) {
    kx::DataObject* devices = kx::d(QStringLiteral("project.device"));
    devices->set(nullptr, mcu + QStringLiteral(".info.can_id"), QString::number(canId), true);
    kx::DataObject* device = devices->c(mcu);
    device->set(nullptr, QStringLiteral("info.mcu_id"), mcu, true);
    return device;
}

// QtWebEngine wants shared OpenGL contexts before the application object exists.
#define TRIVANE_GUI_TEST_MAIN(TestClass)                            \
    int main(int argc, char* argv[]) {                              \
        QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts); \
        QApplication app(argc, argv);                               \
        Helper::instance();                                         \
        Startup::initResources();                                   \
        TestClass test;                                             \
        return QTest::qExec(&test, argc, argv);                     \
    }
