// What the workbench's screens say: the motion sidebar and the device info charts in each
// language, the command lines of the log in Chinese, each detection and activation logged
// once, charts that keep room for their titles, and current set-points held to the motor's
// own limit.
#include "tests/app/apptest.h"
#include "tests/workbench/motionbench.h"

#include "link/linkcommands.h"
#include "workbench/device/deviceinfopage.h"
#include "workbench/device/featurechart.h"
#include "workbench/sidebar/setpointrow.h"
#include "workbench/sidebar/sidebar.h"
#include "workbench/sidebar/sidebarform.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QGroupBox>
#include <QLabel>
#include <QTranslator>

using namespace motiontest;

namespace {

// Installs the program's translation of a language for one scope.
class LanguageScope {
public:
    explicit LanguageScope(const QString& language) {
        m_ok =
            m_translator.load(QStringLiteral(TRIVANE_BIN_DIR "/i18n/") + language + QStringLiteral(".qm")) &&
            QCoreApplication::installTranslator(&m_translator);
    }
    ~LanguageScope() { QCoreApplication::removeTranslator(&m_translator); }
    bool ok() const { return m_ok; }

private:
    QTranslator m_translator;
    bool m_ok = false;
};

kx::DataObject* addConnectedDevice(const QString& mcu, int canId) {
    kx::DataObject* device = addDevice(mcu, canId);
    device->copyFrom(nullptr, kx::d(QStringLiteral("template.Ostrel_motor")), true, false);
    device->set(nullptr, QStringLiteral("info.can_id"), canId, true);
    device->set(nullptr, QStringLiteral("_connected"), true, true);
    return device;
}

QStringList groupTitles(Sidebar& sidebar) {
    QStringList titles;
    for (QGroupBox* box : sidebar.findChildren<QGroupBox*>())
        titles << box->title();
    return titles;
}

}  // namespace

class TestBenchTexts : public QObject {
    Q_OBJECT

private slots:
    void init() { MotorModel::reset(); }

    // Each language shows one language: the English texts in Chinese, the Chinese source
    // texts in English.
    void sidebarSpeaksTheLanguage_data() {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("quickMove");
        QTest::addColumn<QString>("ppMode");
        QTest::addColumn<QString>("ppAcceleration");
        QTest::addColumn<QString>("currentCommand");
        QTest::newRow("zh_CN") << "zh_CN" << QString::fromUtf8("快速运动")
                               << QString::fromUtf8("位置模式(PP)")
                               << QString::fromUtf8("加速度设置(rad/s^2)")
                               << QString::fromUtf8("电流指令 (A)");
        QTest::newRow("en") << "en"
                            << "Quick Move"
                            << "Position Mode (PP)"
                            << "Acceleration (rad/s^2)"
                            << "Current Command (A)";
    }

    void sidebarSpeaksTheLanguage() {
        QFETCH(QString, language);
        QFETCH(QString, quickMove);
        QFETCH(QString, ppMode);
        QFETCH(QString, ppAcceleration);
        QFETCH(QString, currentCommand);
        CaseEnvironment env;
        LanguageScope scope(language);
        QVERIFY(scope.ok());
        Sidebar sidebar;
        QVERIFY2(groupTitles(sidebar).contains(quickMove),
                 qPrintable(groupTitles(sidebar).join(QLatin1Char('|'))));
        QCOMPARE(sidebar.form()->cmbControlMode->itemText(1), ppMode);
        QCOMPARE(sidebar.form()->ppAcc->label()->text(), ppAcceleration);
        QStringList labels;
        for (QLabel* label : sidebar.findChildren<QLabel*>())
            labels << label->text();
        QVERIFY2(labels.contains(currentCommand), qPrintable(labels.join(QLatin1Char('|'))));
    }

    // The curves are drawn with translated titles, and every title keeps its room from the
    // narrowest chart to the widest, in both languages and for every model.
    void chartsTranslateAndKeepTheirTitles_data() {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("torqueTitle");
        QTest::newRow("zh_CN") << "zh_CN" << QString::fromUtf8("转矩 - 转速");
        QTest::newRow("en") << "en"
                            << "Torque - speed";
    }

    void chartsTranslateAndKeepTheirTitles() {
        QFETCH(QString, language);
        QFETCH(QString, torqueTitle);
        CaseEnvironment env;
        LanguageScope scope(language);
        QVERIFY(scope.ok());
        {
            DeviceInfoPage page;
            auto* chart = page.findChild<FeatureChart*>(QStringLiteral("chartTnFeature"));
            QVERIFY(chart);
            QCOMPARE(chart->property("shownTexts").toStringList().value(0), torqueTitle);
        }
        for (int model : {-1, 0, 1}) {
            for (const FeatureChart::Content& content :
                 {FeatureChart::torqueSpeed(model), FeatureChart::maxLoad(model)}) {
                FeatureChart chart(content);
                const int narrowest = chart.minimumSizeHint().width();
                for (int width : {narrowest, (narrowest + 600) / 2, 600}) {
                    const QSize size(width, chart.heightForWidth(width));
                    const FeatureChart::Layout l = chart.layoutFor(size);
                    const QRectF whole(QPointF(0, 0), QSizeF(size));
                    const QString where =
                        QStringLiteral("%1, model %2, width %3").arg(content.title).arg(model).arg(width);
                    QVERIFY2(whole.contains(l.titleText), qPrintable(where));
                    QVERIFY2(whole.contains(l.xTitleText), qPrintable(where));
                    QVERIFY2(whole.contains(l.yTitleText), qPrintable(where));
                    // The upright title fits along the plot and stays clear of it.
                    QVERIFY2(l.yTitleText.top() >= l.plot.top() - 1 &&
                                 l.yTitleText.bottom() <= l.plot.bottom() + 1,
                             qPrintable(where));
                    QVERIFY2(!l.yTitleText.intersects(l.plot) && !l.xTitleText.intersects(l.plot),
                             qPrintable(where));
                    QVERIFY2(l.plot.contains(l.legend), qPrintable(where));
                }
            }
        }
    }

    // The current command and the velocity page's current limit never go beyond the motor's
    // own current limit, once its parameter table told it.
    void currentRowsStayWithinTheMotorsLimit() {
        CaseEnvironment env;
        kx::DataObject* device = addConnectedDevice(QStringLiteral("a1"), 1);
        Sidebar sidebar;
        Helper::instance()->setCurrentDeviceDobj(device);
        SidebarForm* f = sidebar.form();
        QCOMPARE(f->dspnIq1->maximum(), 23.0);

        device->set(nullptr, QStringLiteral("param.limit_cur"), QStringLiteral("5.0000"), true);
        device->c(QStringLiteral("param"))->trigger();
        QCOMPARE(f->dspnIq1->maximum(), 5.0);
        QCOMPARE(f->dspnIq1->minimum(), -5.0);
        QCOMPARE(f->velCurrent->spin()->maximum(), 5.0);
        f->dspnIq1->setValue(12);
        QCOMPARE(f->dspnIq1->value(), 5.0);

        // A limit above the model's range leaves the model's range.
        device->set(nullptr, QStringLiteral("param.limit_cur"), QStringLiteral("40"), true);
        device->c(QStringLiteral("param"))->trigger();
        QCOMPARE(f->dspnIq1->maximum(), 23.0);

        // Another device without a table: its own range, not the first one's limit.
        kx::DataObject* other = addConnectedDevice(QStringLiteral("a2"), 2);
        device->set(nullptr, QStringLiteral("param.limit_cur"), QStringLiteral("5"), true);
        device->c(QStringLiteral("param"))->trigger();
        Helper::instance()->setCurrentDeviceDobj(other);
        QCOMPARE(f->dspnIq1->maximum(), 23.0);
        Helper::instance()->setCurrentDeviceDobj(device);
        QCOMPARE(f->dspnIq1->maximum(), 5.0);
    }

    // Without motors, every refill of the device list (each scan, each port event) used to
    // log "No device" again.
    void noDeviceIsSaidOnce() {
        CaseEnvironment env;
        Helper::instance()->createBackends();
        QStringList lines;
        const QMetaObject::Connection status =
            connect(kx::d(QStringLiteral("wnd.status.msg")), &kx::DataObject::changed, this,
                    [&lines](const QVariant& value) { lines << value.toString(); });
        {
            Sidebar sidebar;
            for (int i = 0; i < 3; ++i)
                emit Helper::instance()->worker()->deviceChanged();
            Helper::instance()->setCurrentDeviceDobj(nullptr);
            QVERIFY2(lines.filter(QStringLiteral("No device")).size() <= 1, qPrintable(lines.join('|')));
            // A device that comes is news, and so is its going.
            kx::DataObject* device = addConnectedDevice(QStringLiteral("a1"), 1);
            emit Helper::instance()->worker()->deviceChanged();
            emit Helper::instance()->worker()->deviceChanged();
            QCOMPARE(lines.filter(QStringLiteral("Activate device: Motor 1")).size(), 1);
            kx::d(QStringLiteral("project.device"))->remove(nullptr, device);
            emit Helper::instance()->worker()->deviceChanged();
            QCOMPARE(lines.last(), QStringLiteral("No device"));
        }
        disconnect(status);
        Helper::instance()->destroyBackends();
    }

    // Against the bench: every motor's detection and the device shown are logged once, and
    // the commands' log lines follow the language.
    void logLinesOnceAndTranslated_data() {
        QTest::addColumn<bool>("multiple");
        QTest::newRow("several devices") << true;
        // One device at a time: the scan ends with the first motor.
        QTest::newRow("one device") << false;
    }

    void logLinesOnceAndTranslated() {
        QFETCH(bool, multiple);
        CaseEnvironment env;
        setConfig(QStringLiteral("upload_param_on_connected"), false);
        setConfig(QStringLiteral("enable_multiple_devices"), multiple);
        QStringList lines;
        const QMetaObject::Connection status =
            connect(kx::d(QStringLiteral("wnd.status.msg")), &kx::DataObject::changed, this,
                    [&lines](const QVariant& value) { lines << value.toString(); });
        Helper::instance()->createBackends();
        {
            MotionBench bench;
            QVERIFY(bench.start(2));
            Sidebar sidebar;
            sidebar.show();
            QVERIFY(bench.connect(multiple ? 2 : 1));
            // Let the scan finish and the motors answer again.
            QTest::qWait(1500);
            const QString all = lines.join(QLatin1Char('\n'));
            for (kx::DataObject* device : kx::d(QStringLiteral("project.device"))->cdobjs()) {
                const QString detected =
                    QStringLiteral("Detected device: [MCU ID: 0x%1,").arg(device->name());
                QVERIFY2(lines.filter(detected).size() == 1, qPrintable(all));
            }
            QVERIFY2(lines.filter(QStringLiteral("Detected device:")).size() == (multiple ? 2 : 1),
                     qPrintable(all));
            QVERIFY2(lines.filter(QStringLiteral("Multiple devices connection is forbidden.")).size() <= 1,
                     qPrintable(all));
            QCOMPARE(lines.filter(QStringLiteral("Activate device: Motor 1")).size(), 1);
            QVERIFY(lines.filter(QStringLiteral("No device")).size() <= 1);

            LanguageScope scope(QStringLiteral("zh_CN"));
            QVERIFY(scope.ok());
            lines.clear();
            QVERIFY(LinkCommands::send(LinkCommand::setMode(1, 2)));
            QCOMPARE(lines.size(), 1);
            QVERIFY2(lines[0].contains(QString::fromUtf8("发送 Z48 命令")), qPrintable(lines[0]));
            QVERIFY2(lines[0].contains(QString::fromUtf8("复位模式")), qPrintable(lines[0]));
            Helper::instance()->worker()->disconnectPort();
        }
        Helper::instance()->destroyBackends();
        disconnect(status);
    }
};

TRIVANE_GUI_TEST_MAIN(TestBenchTexts)
#include "tst_benchtexts.moc"
