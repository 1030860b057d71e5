// Backups of a parameter table: the file round trip, damaged files, comparing two sides and
// planning a restore.
#include "link/frames/paramvalue.h"
#include "link/param/parambackup.h"

#include <QtTest>

#include <sys/stat.h>

namespace {

ParamEntry entry(quint16 code, const QString& name, int type, const QString& value, int property = 1) {
    ParamEntry e;
    e.code = code;
    e.group = code >> 12;
    e.index = code & 0xFFF;
    e.name = name;
    e.type = type;
    e.property = property;
    e.value = value;
    e.minimum = 0;
    e.maximum = 30;
    e.decimals = 2;
    return e;
}

// A motor: a writable string, an identity string, a config entry, two settings, a measurement.
QVector<ParamEntry> motor() {
    return {entry(0x0000, "Name", 10, "joint"),        entry(0x1000, "AppCodeVersion", 10, "0.9.4", 0),
            entry(0x2000, "CAN_MASTER", 0, "253"),     entry(0x2001, "limit_spd", 6, "10.000000"),
            entry(0x2002, "loc_kp", 6, "2.000000"),    entry(0x2003, "gear_ratio", 9, "10.000000000000", 0),
            entry(0x3000, "mechPos", 6, "0.500000", 0)};
}

}  // namespace

class TstParamBackup : public QObject {
    Q_OBJECT

private slots:
    void fileRoundTrip();
    void damagedFilesAreRefused_data();
    void damagedFilesAreRefused();
    void compare();
    void restorePlan();
};

void TstParamBackup::fileRoundTrip() {
    QTemporaryDir dir;
    const ParamBackup b = ParamBackup::fromEntries(motor(), Q_UINT64_C(0x3a10c5e700001001), 1, 0);
    QCOMPARE(b.identity.size(), 1);
    QCOMPARE(b.identity[0].second, QStringLiteral("0.9.4"));
    const QString path = dir.filePath("knee.json");
    QString error;
    QVERIFY2(b.save(path, &error), qPrintable(error));
    const auto back = ParamBackup::load(path, &error);
    QVERIFY2(back, qPrintable(error));
    QCOMPARE(back->mcuId, b.mcuId);
    QCOMPARE(back->items.size(), b.items.size());
    QCOMPARE(back->items[3].value, QStringLiteral("10.000000"));
    QCOMPARE(back->items[3].type, 6);
    QVERIFY(!back->items[6].writable);
    QVERIFY(!ParamDiff::compare(b, *back).differs());
    QVERIFY(ParamDiff::compare(b, *back).items.isEmpty());
    // The file reads as text a person can diff: one entry per block, codes as on the page.
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QVERIFY(f.readAll().contains("\"code\": \"0X2001\""));
    // A device never ends and a FIFO waits for a writer: neither is opened. A file past the
    // limit is refused without being read whole.
    QVERIFY(!ParamBackup::load(QStringLiteral("/dev/zero"), &error));
    QCOMPARE(error, QStringLiteral("not a regular file"));
    const QString fifo = dir.filePath("pipe.json");
    QCOMPARE(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    QVERIFY(!ParamBackup::load(fifo, &error));
    QCOMPARE(error, QStringLiteral("not a regular file"));
    QFile big(dir.filePath("big.json"));
    QVERIFY(big.open(QIODevice::WriteOnly) && big.resize(5 * 1024 * 1024));
    big.close();
    QVERIFY(!ParamBackup::load(big.fileName(), &error));
    QCOMPARE(error, QStringLiteral("larger than 4194304 bytes"));
}

void TstParamBackup::damagedFilesAreRefused_data() {
    QTest::addColumn<QByteArray>("json");
    QTest::newRow("not json") << QByteArray("{ no");
    QTest::newRow("another format") << QByteArray(R"({"format":"x","mcu_id":"1"})");
    QTest::newRow("no mcu id") << QByteArray(R"({"format":"trivane-param-backup"})");
    QTest::newRow("bad code") << QByteArray(
        R"({"format":"trivane-param-backup","mcu_id":"1","entries":[{"code":"0XZZ","type":"float","value":"1"}]})");
    QTest::newRow("bad type") << QByteArray(
        R"({"format":"trivane-param-backup","mcu_id":"1","entries":[{"code":"0X2000","type":"real","value":"1"}]})");
    // Without its list a backup is damaged, not a backup of nothing.
    QTest::newRow("entries missing") << QByteArray(R"({"format":"trivane-param-backup","mcu_id":"1"})");
    QTest::newRow("entries not a list")
        << QByteArray(R"({"format":"trivane-param-backup","mcu_id":"1","entries":{"code":"0X2000"}})");
    QTest::newRow("code twice") << QByteArray(
        R"({"format":"trivane-param-backup","mcu_id":"1","entries":[{"code":"0X2000","type":"float","value":"1"},)"
        R"({"code":"0x2000","type":"float","value":"2"}]})");
}

void TstParamBackup::damagedFilesAreRefused() {
    QFETCH(QByteArray, json);
    QString error;
    QVERIFY(!ParamBackup::fromJson(json, &error));
    QVERIFY(!error.isEmpty());
}

void TstParamBackup::compare() {
    const ParamBackup before = ParamBackup::fromEntries(motor(), 1, 1, 0);
    QVector<ParamEntry> changed = motor();
    changed[3].value = "12.000000";  // a setting changed
    changed[6].value = "1.000000";   // a live value moved: never counts
    changed[1].value = "1.0.0";      // new firmware version: read-only, never counts
    changed[4].name = "pos_kp";      // another firmware renamed the entry
    changed.append(entry(0x2004, "acc_rad", 6, "20.000000"));  // only on one side
    const ParamDiff d = ParamDiff::compare(before, ParamBackup::fromEntries(changed, 1, 1, 0));
    QVERIFY(d.differs());
    QCOMPARE(d.items.size(), 5);
    QCOMPARE(d.lines().mid(0, 3), (QStringList{"0X2001 limit_spd: 10.000000 -> 12.000000",
                                               "0X2002: loc_kp (float) became pos_kp (float)",
                                               "0X2004 acc_rad: only on the right (20.000000)"}));
    QCOMPARE(d.lines()[3], QStringLiteral("Read-only and live entries (not counted):"));

    // Only read-only and live entries differ: the sides count as equal.
    QVector<ParamEntry> live = motor();
    live[6].value = "3.000000";
    live[1].value = "1.0.0";
    const ParamDiff quiet = ParamDiff::compare(before, ParamBackup::fromEntries(live, 1, 1, 0));
    QCOMPARE(quiet.items.size(), 2);
    QVERIFY(!quiet.differs());
}

void TstParamBackup::restorePlan() {
    ParamBackup b = ParamBackup::fromEntries(motor(), 1, 1, 0);
    b.items[0].value = "left-knee";  // string
    b.items[1].value = "9.9.9";      // read-only: never written
    b.items[3].value = "25.500000";  // in range
    b.items[4].value = "31";         // out of range (limit 30)
    b.items[5].value = "20";         // read-only setting
    b.items[6].value = "7";          // live
    b.items.append({0x2009, "ghost", 6, "1", true});

    QVector<ParamEntry> now = motor();
    now[2].type = 2;  // CAN_MASTER became a uint16: refused unless forced
    now[2].maximum = 255;
    b.items[2].value = "254";

    const ParamRestorePlan plan = ParamRestorePlan::plan(now, b);
    QCOMPARE(plan.writes.size(), 2);
    QCOMPARE(plan.writes[0].code, quint16(0x0000));
    QCOMPARE(plan.writes[0].pending, ParamValue::textBytes("left-knee"));
    QCOMPARE(plan.writes[1].code, quint16(0x2001));
    QCOMPARE(plan.writes[1].to, QStringLiteral("25.500000"));
    QCOMPARE(plan.refused.size(), 3);
    QCOMPARE(plan.refused[0].code, quint16(0x2000));
    QCOMPARE(plan.refused[1].reason, QStringLiteral("31 is outside [0.00, 30.00]"));
    QCOMPARE(plan.refused[2].reason, QStringLiteral("not on the motor"));

    const ParamRestorePlan forced = ParamRestorePlan::plan(now, b, {0x2000}, true);
    QCOMPARE(forced.writes.size(), 1);
    QCOMPARE(forced.writes[0].to, QStringLiteral("254"));
    QVERIFY(forced.refused.isEmpty());

    // Text is refused where set refuses it (not ASCII, or a zero that would end it early), and
    // an entry the motor made read-only cannot be restored.
    for (const QString& text :
         QStringList{QString::fromUtf8("gelenk-\u00fc"), QStringLiteral("a") + QChar(0) + "b"}) {
        ParamBackup t = ParamBackup::fromEntries(motor(), 1, 1, 0);
        t.items[0].value = text;
        const ParamRestorePlan p = ParamRestorePlan::plan(motor(), t);
        QVERIFY(p.writes.isEmpty());
        QCOMPARE(p.refused.size(), 1);
        QCOMPARE(p.refused[0].reason, QStringLiteral("not a text of at most 16 ASCII characters"));
    }
    QVector<ParamEntry> locked = motor();
    locked[4].property = 0;
    ParamBackup l = ParamBackup::fromEntries(motor(), 1, 1, 0);
    l.items[4].value = "3.000000";
    const ParamRestorePlan lockedPlan = ParamRestorePlan::plan(locked, l);
    QCOMPARE(lockedPlan.refused.size(), 1);
    QCOMPARE(lockedPlan.refused[0].reason, QStringLiteral("read-only on the motor"));

    // Nothing differs: nothing to write.
    QVERIFY(ParamRestorePlan::plan(motor(), ParamBackup::fromEntries(motor(), 1, 1, 0)).writes.isEmpty());
}

QTEST_GUILESS_MAIN(TstParamBackup)
#include "tst_parambackup.moc"
