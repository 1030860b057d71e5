// The parameter table page and the configure tools: real widgets on the offscreen platform,
// the real link on a pseudo-terminal against the simulated bench, real files.
#include "app/apptest.h"
#include "app/filedialogs.h"
#include "link/canworker.h"
#include "link/linkstates.h"
#include "link/otathread.h"
#include "link/param/parambackup.h"
#include "link/param/paramfeature.h"
#define TRIVANE_SIM_PATH TRIVANE_BIN_DIR "/trivane-sim"
#include "tests/link/simbench.h"
#include "workbench/device/deviceinfopage.h"
#include "workbench/param/configuretools.h"
#include "workbench/param/paramtablepage.h"
#include "workbench/param/restoredialog.h"
#include "workbench/workbenchscreens.h"

#include <QHeaderView>
#include <QLabel>
#include <QRegularExpression>
#include <QScrollBar>
#include <QProcess>
#include <QPushButton>
#include <QTableWidget>

#include <sys/stat.h>

namespace {

constexpr int kValue = 6;

// The texts of the edit chips on screen.
QStringList chips() {
    QStringList texts;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->objectName() == QLatin1String("paramEditChip") && w->isVisible())
            texts << static_cast<QLabel*>(w)->text();
    }
    return texts;
}

void closeChips() {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->objectName() == QLatin1String("paramEditChip"))
            w->close();
    }
}

QString unzip(const QString& path, const QString& part) {
    QProcess p;
    p.start(QStringLiteral("unzip"), {QStringLiteral("-p"), path, part});
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

}  // namespace

class TestParamTablePage : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void gridShowsTheDescribedTable();
    void valuesAreShownWhole();
    void editsAreValidatedAtOnce();
    void downloadAndUploadThroughTheTools();
    void exportWritesWorkbookAndCsv();
    void emptyTableExportsTheHeader();
    void backupAndRestoreWithTickBoxes();
    void closingThePageStopsTheWalk();
    void unconfirmedDownloadStaysRed();
    void restoreAsksAboutAnotherMotor();

private:
    ParamTablePage* openPage();
    void edit(ParamTablePage* page, quint16 code, const QString& text);
    QString value(ParamTablePage* page, quint16 code) const {
        return page->table()->item(page->rowOf(code), kValue)->text();
    }
    bool red(ParamTablePage* page, quint16 code) const {
        return page->table()->item(page->rowOf(code), kValue)->foreground().color() == QColor(Qt::red);
    }
    bool hasLine(const QString& line) const { return m_lines.contains(line); }

    std::unique_ptr<CaseEnvironment> m_env;
    std::unique_ptr<linktest::SimBench> m_sim;
    QStringList m_lines;
    QMetaObject::Connection m_statusConnection;
    kx::DataObject* m_device = nullptr;
};

void TestParamTablePage::initTestCase() {
    registerWorkbenchScreens();
}

void TestParamTablePage::init() {
    m_env = std::make_unique<CaseEnvironment>();
    kx::DataObject* root = kx::d().rootDobj();
    root->set(nullptr, QStringLiteral("config.setting.upload_param_on_connected"), false);
    root->set(nullptr, QStringLiteral("config.setting.enable_multiple_devices"), false);
    m_lines.clear();
    m_statusConnection = connect(kx::d("wnd.status.msg"), &kx::DataObject::changed, this,
                                 [this](QVariant value, QVariant, QObject*) { m_lines << value.toString(); });
    Helper::instance()->createBackends();
    m_sim = std::make_unique<linktest::SimBench>();
    const QString path = m_sim->start({QStringLiteral("--state"), m_env->path("bench.json")});
    QVERIFY(!path.isEmpty());
    Helper::instance()->worker()->connectPort(path);
    QTRY_COMPARE_WITH_TIMEOUT(kx::d("project.device")->size(), 1, 30000);
    m_device = kx::d("project.device")->cdobj(0);
    Helper::instance()->setCurrentDeviceDobj(m_device);
}

void TestParamTablePage::cleanup() {
    closeChips();
    FileDialogs::setChooser({});
    Helper::instance()->setEditDevice(kx::d().emptyDobj(), QString());
    Helper::instance()->setCurrentDeviceDobj(nullptr);
    Helper::instance()->destroyBackends();
    m_sim.reset();
    QObject::disconnect(m_statusConnection);
    m_env.reset();
}

ParamTablePage* TestParamTablePage::openPage() {
    auto* page = new ParamTablePage;
    page->show();
    Helper::instance()->setEditDevice(m_device, QLatin1String(ParamTablePage::kKind));
    // Generous: the machine that runs the tests may be busy.
    (void)QTest::qWaitFor([&] { return page->table()->rowCount() == 46; }, 30000);
    return page;
}

void TestParamTablePage::edit(ParamTablePage* page, quint16 code, const QString& text) {
    closeChips();
    page->table()->item(page->rowOf(code), kValue)->setText(text);
}

void TestParamTablePage::gridShowsTheDescribedTable() {
    std::unique_ptr<ParamTablePage> page(openPage());
    QTableWidget* t = page->table();
    QCOMPARE(t->rowCount(), 46);
    QVERIFY(hasLine("Send Z48 Command LOAD_PARAM to CAN(1)"));
    QVERIFY(hasLine("Reload all parameters table successfully!"));
    QCOMPARE(t->horizontalHeaderItem(6)->text(), QStringLiteral("Value"));
    auto row = [&](int r) {
        QStringList cells;
        for (int c = 0; c < 7; ++c)
            cells << t->item(r, c)->text();
        return cells;
    };
    QCOMPARE(row(0), (QStringList{"0X0000", "Name", "String", "R/W", "", "", "joint"}));
    QCOMPARE(row(4), (QStringList{"0X1000", "BootCodeVersion", "String", "RO", "", "", "1.2.0"}));
    QCOMPARE(row(9), (QStringList{"0X2000", "CAN_ID", "uint8", "Config", "127", "1", "1"}));
    QCOMPARE(row(9 + 7), (QStringList{"0X2007", "encoder_res", "uint32", "Setting", "327670", "0", "16384"}));
    QCOMPARE(row(9 + 9), (QStringList{"0X2009", "limit_spd", "float", "R/W", "33.00", "0.00", "10.000000"}));
    QCOMPARE(t->item(9 + 10, 0)->text(), QStringLiteral("0X200a"));  // lower-case after "0X"
    QCOMPARE(row(45).mid(0, 4), (QStringList{"0X300f", "elecAngle", "float", "RO"}));
    // Only writable values can be edited; every cell wears its group's colour.
    QVERIFY(t->item(0, kValue)->flags() & Qt::ItemIsEditable);
    QVERIFY(!(t->item(4, kValue)->flags() & Qt::ItemIsEditable));
    QVERIFY(!(t->item(9 + 1, kValue)->flags() & Qt::ItemIsEditable));  // a writable config entry
    QVERIFY(t->item(9 + 9, kValue)->flags() & Qt::ItemIsEditable);
    QVERIFY(!(t->item(9 + 7, kValue)->flags() & Qt::ItemIsEditable));
    QVERIFY(!(t->item(9 + 9, 1)->flags() & Qt::ItemIsSelectable));
    QCOMPARE(t->item(0, 1)->foreground().color(), QColor("#a0f446"));
    QCOMPARE(t->item(45, 3)->foreground().color(), QColor("#bbd5d7"));
    // Settings after the configuration entries and the measurements are mirrored.
    QCOMPARE(m_device->r("param.limit_spd")->get().toString(), QStringLiteral("10.000000"));
    QVERIFY(!m_device->r("param.mechPos")->isEmpty());
    QVERIFY(m_device->r("param.CAN_MASTER")->isEmpty());
}

// Every code, name, limit and value is shown whole, also the widest value and one edited
// longer; in a narrow editor (the shell's, beside the device tree and the sidebar) with the
// program's font the table still needs no sideways scrolling.
void TestParamTablePage::valuesAreShownWhole() {
    const QFont kept = QApplication::font();
    Startup::installFonts();
    std::unique_ptr<ParamTablePage> page(openPage());
    QTableWidget* t = page->table();
    page->resize(590, 420);
    QTRY_VERIFY(t->viewport()->width() < 590);
    auto clipped = [t] {
        QStringList cut;
        for (int c = 0; c < t->columnCount(); ++c) {
            const int header =
                t->horizontalHeader()->fontMetrics().horizontalAdvance(t->horizontalHeaderItem(c)->text());
            if (header > t->columnWidth(c))
                cut << t->horizontalHeaderItem(c)->text();
            for (int r = 0; r < t->rowCount(); ++r) {
                const QTableWidgetItem* item = t->item(r, c);
                // The item's own margins: a few pixels on each side.
                if (QFontMetrics(item->font()).horizontalAdvance(item->text()) + 6 > t->columnWidth(c))
                    cut << item->text();
            }
        }
        return cut;
    };
    QVERIFY2(clipped().isEmpty(), qPrintable(clipped().join(QLatin1Char('|'))));
    QTRY_VERIFY(!t->horizontalScrollBar()->isVisible());
    // The value column takes the room that is left.
    int sum = 0;
    for (int c = 0; c < t->columnCount(); ++c)
        sum += t->columnWidth(c);
    QCOMPARE(sum, t->viewport()->width());

    edit(page.get(), 0x0000, QStringLiteral("WWWWWWWWWWWWWWWW"));
    QVERIFY2(clipped().isEmpty(), qPrintable(clipped().join(QLatin1Char('|'))));
    QApplication::setFont(kept);
}

void TestParamTablePage::editsAreValidatedAtOnce() {
    std::unique_ptr<ParamTablePage> page(openPage());
    ParamStore* store = ParamStore::forLink(otaThread::instance());

    edit(page.get(), 0x0002, QStringLiteral("Gelenk-\u00fc"));
    QCOMPARE(chips(), QStringList{"Please input ASCII charaters"});
    QCOMPARE(value(page.get(), 0x0002), QStringLiteral("bench"));
    QVERIFY(!red(page.get(), 0x0002));

    // Typing the stored value back: a green chip, and the cell is clean again.
    edit(page.get(), 0x0002, QStringLiteral("bench-2"));
    QVERIFY(red(page.get(), 0x0002));
    edit(page.get(), 0x0002, QStringLiteral("bench"));
    QCOMPARE(chips(), QStringList{"Addr[0x0002] modified"});
    QVERIFY(!red(page.get(), 0x0002));
    QCOMPARE(store->nextModified(1, 0), -1);

    edit(page.get(), 0x0002, QStringLiteral("a-location-longer-than-16"));
    QCOMPARE(chips(), QStringList{"Addr[0x0002] modified"});
    QCOMPARE(value(page.get(), 0x0002), QStringLiteral("a-location-longer-than-16"));
    QVERIFY(red(page.get(), 0x0002));
    ParamEntry e;
    store->entry(1, 0x0002, &e);
    QCOMPARE(e.pending, QByteArray("a-location-longe"));

    edit(page.get(), 0x200e, QStringLiteral("1e2"));  // acc_rad, 0.1 ... 100
    QCOMPARE(chips(), QStringList{"Addr[0x000e] modified"});
    QCOMPARE(value(page.get(), 0x200e), QStringLiteral("100.000000"));
    QVERIFY(red(page.get(), 0x200e));

    edit(page.get(), 0x200e, QStringLiteral("100.5"));
    QCOMPARE(chips(), QStringList{"Value out of range"});
    QCOMPARE(value(page.get(), 0x200e), QStringLiteral("20.000000"));
    QVERIFY(!red(page.get(), 0x200e));

    edit(page.get(), 0x2005, QStringLiteral("-1"));  // uint16
    QCOMPARE(chips(), QStringList{"Please input ASCII charaters"});
    edit(page.get(), 0x2005, QStringLiteral("300.7"));
    QCOMPARE(chips(), QStringList{"Please input ASCII charaters"});
    edit(page.get(), 0x2006, QStringLiteral("-40"));  // int16, lowest limit
    QCOMPARE(chips(), QStringList{"Addr[0x0006] modified"});
    QCOMPARE(value(page.get(), 0x2006), QStringLiteral("-40"));

    // The chip sits right of the cell, at its top.
    closeChips();
    edit(page.get(), 0x2006, QStringLiteral("-39"));
    QWidget* chip = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == QLatin1String("paramEditChip") && w->isVisible())
            chip = w;
    QVERIFY(chip);
    const QRect cell = page->table()->visualItemRect(page->table()->item(page->rowOf(0x2006), kValue));
    // Table coordinates count the headers (the row header is hidden: codes number the rows).
    QVERIFY(!page->table()->verticalHeader()->isVisible());
    const QPoint expected = page->table()->mapToGlobal(
        QPoint(cell.right() + 1, cell.top() + page->table()->horizontalHeader()->height()));
    QCOMPARE(chip->pos(), expected);
    QVERIFY(chip->styleSheet().contains("background:green"));
}

void TestParamTablePage::downloadAndUploadThroughTheTools() {
    std::unique_ptr<ParamTablePage> page(openPage());
    ConfigureTools tools;
    auto* download = tools.findChild<QPushButton*>("btnDownloadParam");
    auto* upload = tools.findChild<QPushButton*>("btnUploadParam");
    QVERIFY(download->isEnabled());
    edit(page.get(), 0x2009, QStringLiteral("12.5"));
    edit(page.get(), 0x0003, QStringLiteral("tested"));

    // The question comes first; "Cancel" writes nothing.
    m_env->prompt.answer = false;
    download->click();
    QCOMPARE(m_env->prompt.calls.last().text,
             QStringLiteral("Are you sure to download modified parameters to Motor 1 device?"));
    QVERIFY(red(page.get(), 0x2009));
    m_env->prompt.answer = true;
    download->click();
    // Saved once every entry read back as written; the download is reported after that.
    QTRY_VERIFY_WITH_TIMEOUT(hasLine("Download parameters table successfully!"), 10000);
    QVERIFY(hasLine("Param saved successfully!"));
    QVERIFY(!red(page.get(), 0x2009));
    QVERIFY(!red(page.get(), 0x0003));
    QCOMPARE(value(page.get(), 0x2009), QStringLiteral("12.500000"));

    // Upload reads every entry back; an edit not yet written is discarded.
    edit(page.get(), 0x200b, QStringLiteral("55"));
    QVERIFY(red(page.get(), 0x200b));
    upload->click();
    QCOMPARE(
        m_env->prompt.calls.last().text,
        QStringLiteral(
            "Are you sure to upload parameters from Motor 1 device? Current changes will be discarded."));
    QTRY_VERIFY_WITH_TIMEOUT(hasLine("Upload parameters table successfully!"), 20000);
    QCOMPARE(value(page.get(), 0x200b), QStringLiteral("30.000000"));
    QVERIFY(!red(page.get(), 0x200b));
    QCOMPARE(value(page.get(), 0x0003), QStringLiteral("tested"));

    // Another page kind in front disables the table's transfers.
    Helper::instance()->setEditDevice(m_device, QLatin1String(DeviceInfoPage::kKind));
    QVERIFY(!download->isEnabled());
    QVERIFY(!tools.findChild<QPushButton*>("btnRestoreParam")->isEnabled());
}

void TestParamTablePage::exportWritesWorkbookAndCsv() {
    if (QStandardPaths::findExecutable("unzip").isEmpty())
        QSKIP("unzip is needed to read the workbook back");
    std::unique_ptr<ParamTablePage> page(openPage());
    QString title, filter, proposed, chosen = m_env->path("table");
    QString pick = QStringLiteral("Excel Files(*.xlsx)");
    FileDialogs::setFilterChooser(
        [&](FileDialogs::Mode, const QString& t, const QString& f, const QString& p, QString* selected) {
            title = t;
            filter = f;
            proposed = p;
            if (selected)
                *selected = pick;
            return chosen;
        });
    m_env->prompt.answer = false;
    QStringList blocks;
    QObject scope;  // the connection ends with this case
    connect(kx::d("trigger.block"), &kx::DataObject::changed, &scope,
            [&](QVariant v, QVariant, QObject*) { blocks << v.toString(); });
    // New files get the user's usual mode, not the private one of a temporary file.
    const mode_t previousMask = ::umask(022);
    m_device->r("_trigger.param.export")->trigger();
    QCOMPARE(title, QStringLiteral("Excel file"));
    QCOMPARE(filter, QStringLiteral("Excel Files(*.xlsx);;CSV Files(*.csv)"));
    // The proposed name tells the motor, as its backups do.
    QVERIFY2(QFileInfo(proposed).fileName().startsWith(QStringLiteral("mcu_3a10c5e700001001_")),
             qPrintable(proposed));
    QCOMPARE(blocks, (QStringList{"Exporting...", ""}));
    QVERIFY(hasLine("Param table export successfully!"));
    QCOMPARE(m_env->prompt.calls.last().text,
             QStringLiteral("Param table has been exported, do you want to open it now?"));

    // A name without a known suffix becomes a workbook, and is one: a zip of XML parts.
    const QString xlsx = chosen + ".xlsx";
    QVERIFY(QFile::exists(xlsx));
    QCOMPARE(QFile::permissions(xlsx) & (QFile::ReadOther | QFile::WriteOther | QFile::ReadGroup),
             QFile::ReadOther | QFile::ReadGroup);
    ::umask(previousMask);
    const QString sheet = unzip(xlsx, "xl/worksheets/sheet1.xml");
    QVERIFY2(sheet.contains("<row r=\"1\""), qPrintable(sheet.left(400)));
    QVERIFY(sheet.contains("ht=\"20\""));
    QVERIFY(sheet.contains("<col min=\"2\" max=\"2\" width=\"25.7109375\""));
    QVERIFY(sheet.contains("<row r=\"47\""));
    QVERIFY(!sheet.contains("<row r=\"48\""));
    const QString strings = unzip(xlsx, "xl/sharedStrings.xml");
    for (const char* text : {"Code", "Maximum", "0X200a", "limit_spd", "trivane-joint"})
        QVERIFY2(strings.contains(QLatin1String(text)), text);
    // Limits and values are numbers a spreadsheet can sum, shown with the table's decimals;
    // a 64-bit serial number a double cannot hold stays text.
    QVERIFY(!strings.contains(QLatin1String(">33.00<")));
    QVERIFY2(sheet.contains(QRegularExpression(QStringLiteral("<c r=\"E20\"[^>]*><v>33</v></c>"))),
             qPrintable(sheet.mid(sheet.indexOf("<row r=\"20\""), 400)));
    QVERIFY(sheet.contains(QRegularExpression(QStringLiteral("<c r=\"G20\"[^>]*><v>10</v></c>"))));
    QVERIFY(unzip(xlsx, "xl/styles.xml").contains("formatCode=\"0.000000\""));
    QVERIFY(unzip(xlsx, "xl/styles.xml").contains("horizontal=\"center\" vertical=\"center\""));

    // The same name again: the user is asked, and "no" leaves the file as it was.
    const QByteArray before = [&] {
        QFile f(xlsx);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }();
    QFile::setPermissions(xlsx, QFile::ReadOwner | QFile::WriteOwner);
    blocks.clear();
    m_device->r("_trigger.param.export")->trigger();
    QCOMPARE(m_env->prompt.calls.last().text,
             QStringLiteral("table.xlsx already exists. Do you want to replace it?"));
    QVERIFY(blocks.isEmpty());
    QFile again(xlsx);
    QVERIFY(again.open(QIODevice::ReadOnly));
    QCOMPARE(again.readAll(), before);

    // The CSV filter with a bare name writes CSV, in UTF-8 with a byte-order mark.
    pick = QStringLiteral("CSV Files(*.csv)");
    m_device->r("_trigger.param.export")->trigger();
    QFile csv(chosen + ".csv");
    QVERIFY(csv.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = csv.readAll().split('\n');
    QCOMPARE(lines[0], QByteArray("\xEF\xBB\xBF"
                                  "Code,Name,Type,Property,Maximum,Minimum,Value\r"));
    QCOMPARE(lines[1 + 9 + 9], QByteArray("0X2009,limit_spd,float,R/W,33.00,0.00,10.000000\r"));

    // Replacing when the user agrees; the replaced file keeps its mode.
    m_env->prompt.answer = true;
    pick = QStringLiteral("Excel Files(*.xlsx)");
    m_device->r("_trigger.param.export")->trigger();
    QCOMPARE(m_env->prompt.calls[m_env->prompt.calls.size() - 2].text,
             QStringLiteral("table.xlsx already exists. Do you want to replace it?"));
    QCOMPARE(QFile::permissions(xlsx) & (QFile::ReadOther | QFile::ReadOwner), QFile::ReadOwner);
    m_env->prompt.answer = false;

    // A file that cannot be written is reported, and the cover is lifted again.
    chosen = m_env->path("no-such-dir/table.xlsx");
    blocks.clear();
    m_device->r("_trigger.param.export")->trigger();
    QCOMPARE(blocks, (QStringList{"Exporting...", ""}));
    QCOMPARE(m_env->prompt.calls.last().kind, QStringLiteral("error"));
    QVERIFY(m_env->prompt.calls.last().text.startsWith("Param table export failed: "));
}

void TestParamTablePage::emptyTableExportsTheHeader() {
    // A motor that never described its table: the page is empty and so is the workbook's body.
    m_sim->command("silence on");
    auto* page = new ParamTablePage;
    std::unique_ptr<ParamTablePage> owner(page);
    QCOMPARE(page->table()->rowCount(), 0);
    const QString path = m_env->path("empty.csv");
    FileDialogs::setChooser([&](FileDialogs::Mode, const QString&, const QString&) { return path; });
    page->exportTable();
    QFile csv(path);
    QVERIFY(csv.open(QIODevice::ReadOnly));
    QCOMPARE(csv.readAll(), QByteArray("\xEF\xBB\xBF"
                                       "Code,Name,Type,Property,Maximum,Minimum,Value\r\n"));
}

void TestParamTablePage::backupAndRestoreWithTickBoxes() {
    std::unique_ptr<ParamTablePage> page(openPage());
    ConfigureTools tools;
    const QString backup = m_env->path("knee.json");
    FileDialogs::setChooser([&](FileDialogs::Mode, const QString&, const QString&) { return backup; });
    tools.findChild<QPushButton*>("btnBackupParam")->click();
    QVERIFY(QFile::exists(backup));

    // Two settings change on the bench.
    m_env->prompt.answer = true;
    edit(page.get(), 0x2009, QStringLiteral("12.5"));
    edit(page.get(), 0x200e, QStringLiteral("42"));
    tools.findChild<QPushButton*>("btnDownloadParam")->click();
    QTRY_VERIFY_WITH_TIMEOUT(hasLine("Param saved successfully!"), 10000);
    m_lines.clear();

    tools.findChild<QPushButton*>("btnRestoreParam")->click();
    RestoreDialog* dialog = tools.restoreDialog();
    QVERIFY(dialog);
    QTableWidget* t = dialog->table();
    QCOMPARE(t->rowCount(), 2);
    QCOMPARE(t->item(0, 0)->text(), QStringLiteral("0X2009"));
    QCOMPARE(t->item(0, 2)->text(), QStringLiteral("12.500000"));
    QCOMPARE(t->item(0, 3)->text(), QStringLiteral("10.000000"));
    QCOMPARE(t->item(0, 0)->checkState(), Qt::Checked);
    t->item(1, 0)->setCheckState(Qt::Unchecked);
    dialog->accept();
    QTRY_VERIFY_WITH_TIMEOUT(hasLine("Param saved successfully!"), 10000);
    QCOMPARE(value(page.get(), 0x2009), QStringLiteral("10.000000"));
    QCOMPARE(value(page.get(), 0x200e), QStringLiteral("42.000000"));

    // A damaged backup is reported, nothing is written.
    QFile bad(backup);
    QVERIFY(bad.open(QIODevice::WriteOnly));
    bad.write("{ broken");
    bad.close();
    tools.findChild<QPushButton*>("btnRestoreParam")->click();
    QCOMPARE(m_env->prompt.calls.last().kind, QStringLiteral("error"));
    QVERIFY(m_env->prompt.calls.last().text.startsWith("Cannot read " + backup));
}

void TestParamTablePage::closingThePageStopsTheWalk() {
    auto* page = openPage();
    QCOMPARE(page->table()->rowCount(), 46);
    // The first read is on its way (its answer needs this thread's event loop) when the page
    // closes mid-walk.
    QVERIFY(page->upload());
    QCOMPARE(otaThread::instance()->step(), int(STEP_READ_PARA_STR_START));
    delete page;
    QCOMPARE(otaThread::instance()->step(), int(STEP_STOP));
    QTest::qWait(200);
    QVERIFY(!hasLine("Upload parameters table successfully!"));
}

void TestParamTablePage::unconfirmedDownloadStaysRed() {
    std::unique_ptr<ParamTablePage> page(openPage());
    ConfigureTools tools;
    edit(page.get(), 0x2009, QStringLiteral("12.5"));
    // The motor stops answering after the description: nothing can be read back.
    m_sim->command("silence on");
    m_env->prompt.answer = true;
    tools.findChild<QPushButton*>("btnDownloadParam")->click();
    QTRY_VERIFY_WITH_TIMEOUT(hasLine("<ERROR> Download failed: 0X2009 limit_spd could not be read back."),
                             60000);
    QVERIFY(!hasLine("Param saved successfully!"));
    QVERIFY(!hasLine("Download parameters table successfully!"));
    QCOMPARE(m_env->prompt.calls.last().kind, QStringLiteral("error"));
    QCOMPARE(m_env->prompt.calls.last().text,
             QStringLiteral("Download failed: 0X2009 limit_spd could not be read back.\n"
                            "Not confirmed by reading back: 0X2009 limit_spd\n"
                            "Nothing was saved in the motor's flash."));
    // Still to be written: red, with the value typed.
    QVERIFY(red(page.get(), 0x2009));
    QCOMPARE(value(page.get(), 0x2009), QStringLiteral("12.500000"));
}

void TestParamTablePage::restoreAsksAboutAnotherMotor() {
    std::unique_ptr<ParamTablePage> page(openPage());
    ConfigureTools tools;
    const QString backup = m_env->path("spare.json");
    FileDialogs::setChooser([&](FileDialogs::Mode, const QString&, const QString&) { return backup; });
    tools.findChild<QPushButton*>("btnBackupParam")->click();
    QFile file(backup);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QByteArray json = file.readAll();
    file.close();
    json.replace("\"mcu_id\": \"3a10c5e700001001\"", "\"mcu_id\": \"3a10c5e7000099ff\"");
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(json);
    file.close();
    m_env->prompt.answer = false;
    tools.findChild<QPushButton*>("btnRestoreParam")->click();
    QCOMPARE(m_env->prompt.calls.last().kind, QStringLiteral("notice"));
    QCOMPARE(
        m_env->prompt.calls.last().text,
        QStringLiteral("spare.json was taken from the motor with MCU ID 0x3a10c5e7000099ff; this motor is "
                       "0x3a10c5e700001001. Restore it here all the same?"));
    QVERIFY(!tools.restoreDialog());  // "no": nothing offered
    m_env->prompt.answer = true;
    tools.findChild<QPushButton*>("btnRestoreParam")->click();
    QVERIFY(tools.restoreDialog());
    tools.restoreDialog()->reject();
}

TRIVANE_GUI_TEST_MAIN(TestParamTablePage)
#include "tst_paramtablepage.moc"
