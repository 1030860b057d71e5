#include "framework/data/datamanager.h"
#include "framework/data/dataobject.h"
#include "framework/i18n/translationmanager.h"
#include "logfile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QtTest>

using namespace kx;

// One process, one manager: the language "cn" is set before the manager first exists.
class TestTranslation : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void languageCnInstallsTheFrameworkFileAndSearchesCnFiles();
    void qmFileIsInstalledOnce();
    void dictionaries();

private:
    QTemporaryDir m_dir;
    QString m_start;
};

void TestTranslation::initTestCase() {
    QVERIFY(m_dir.isValid());
    m_start = QDir::currentPath();
    QVERIFY(QDir::setCurrent(m_dir.path()));
    QDir().mkpath(QStringLiteral("i18n/dir_cn.qm"));
    QVERIFY(QFile::copy(QStringLiteral(":/data/folder_cn.qm"), QStringLiteral("i18n/app_cn.qm")));
    QVERIFY(QFile::copy(QStringLiteral(":/data/folder_cn.qm"), QStringLiteral("i18n/app_zh_CN.qm")));
    QFile broken(QStringLiteral("i18n/broken_cn.qm"));
    QVERIFY(broken.open(QIODevice::WriteOnly));
    broken.write("not a translation file");
    broken.close();
    d().rootDobj()->set(this, QStringLiteral("tesk.cfg.common.language"), QStringLiteral("cn"), true);
}

void TestTranslation::cleanupTestCase() {
    QDir::setCurrent(m_start);
}

void TestTranslation::languageCnInstallsTheFrameworkFileAndSearchesCnFiles() {
    TranslationManager::instance();
    // The framework's file for zh_CN and the folder's "*_cn.qm" file both translate.
    QCOMPARE(QCoreApplication::translate("Probe", "Hello"), QStringLiteral("你好"));
    QCOMPARE(QCoreApplication::translate("Probe", "World"), QStringLiteral("世界"));
    const QStringList messages = logfile::messages();
    QVERIFY(messages.contains(QStringLiteral("<translator> install cn language qm app_cn succeed")));
    QVERIFY(messages.contains(QStringLiteral("<translator> install cn language qm broken_cn failed")));
    QVERIFY(messages.contains(QStringLiteral("qm transtor load failed: ") +
                              QDir(QStringLiteral("i18n")).absoluteFilePath(QStringLiteral("broken_cn.qm"))));
    // Neither the zh_CN file of the folder nor the directory is taken for the language "cn".
    for (const QString& message : messages) {
        QVERIFY2(
            !message.contains(QStringLiteral("app_zh_CN")) && !message.contains(QStringLiteral("dir_cn")),
            qPrintable(message));
    }
}

void TestTranslation::qmFileIsInstalledOnce() {
    TranslationManager& manager = TranslationManager::instance();
    const QString path = QDir(QStringLiteral("i18n")).absoluteFilePath(QStringLiteral("app_cn.qm"));
    QVERIFY(!manager.installQMTranslator(path));
    QVERIFY(logfile::messages().contains(QStringLiteral("qm translator already exists: ") + path));
    // One translator: removing it once takes the translation away, a second removal fails.
    QVERIFY(manager.removeQMTranslator(path));
    QCOMPARE(QCoreApplication::translate("Probe", "World"), QStringLiteral("World"));
    QVERIFY(!manager.removeQMTranslator(path));
    QVERIFY(logfile::messages().contains(QStringLiteral("qm translator not exist: ") + path));
    QVERIFY(manager.installQMTranslator(path));
    QCOMPARE(QCoreApplication::translate("Probe", "World"), QStringLiteral("世界"));
    QVERIFY(!manager.installQMTranslator(QStringLiteral("missing.qm")));
}

void TestTranslation::dictionaries() {
    TranslationManager& manager = TranslationManager::instance();
    QCOMPARE(manager.dtr(QStringLiteral("absent"), QStringLiteral("Speed")), QStringLiteral("Speed"));
    QVERIFY(!manager.exists(QStringLiteral("absent"), QStringLiteral("Speed")));

    QVERIFY(manager.installJsonTranslator(QStringLiteral("ui"),
                                          QJsonObject{{"Speed", "速度"}, {"Torque", "扭矩"}}));
    QCOMPARE(manager.dtr(QStringLiteral("ui"), QStringLiteral("Speed")), QStringLiteral("速度"));
    QCOMPARE(manager.dtr(QStringLiteral("ui"), QStringLiteral("Angle")), QStringLiteral("Angle"));
    QVERIFY(manager.exists(QStringLiteral("ui"), QStringLiteral("Torque")));

    // One numeric value rejects the whole dictionary and keeps the installed one.
    QVERIFY(
        !manager.installJsonTranslator(QStringLiteral("ui"), QJsonObject{{"Speed", "快"}, {"Torque", 3}}));
    QVERIFY(logfile::messages().contains(QStringLiteral("json translator detects wrong format!")));
    QCOMPARE(manager.dtr(QStringLiteral("ui"), QStringLiteral("Speed")), QStringLiteral("速度"));
    QVERIFY(!manager.installJsonTranslator(QStringLiteral("none"), QJsonObject()));

    // From a file: a replacement under the same name; an unreadable file is refused.
    QFile file(QStringLiteral("ui.json"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(R"({"Speed": "转速"})");
    file.close();
    QVERIFY(manager.installJsonTranslator(QStringLiteral("ui"), QStringLiteral("ui.json")));
    QCOMPARE(manager.dtr(QStringLiteral("ui"), QStringLiteral("Speed")), QStringLiteral("转速"));
    QVERIFY(!manager.exists(QStringLiteral("ui"), QStringLiteral("Torque")));
    QVERIFY(!manager.installJsonTranslator(QStringLiteral("ui"), QStringLiteral("nowhere.json")));
    QVERIFY(logfile::messages().contains(QStringLiteral("json translator file cannot read: nowhere.json")));

    QVERIFY(manager.removeJsonTranslator(QStringLiteral("ui")));
    QVERIFY(!manager.removeJsonTranslator(QStringLiteral("ui")));
    QVERIFY(logfile::messages().contains(QStringLiteral("json translator not exist: ui")));
    QCOMPARE(manager.dtr(QStringLiteral("ui"), QStringLiteral("Speed")), QStringLiteral("Speed"));
}

QTEST_GUILESS_MAIN(TestTranslation)
#include "tst_translation.moc"
