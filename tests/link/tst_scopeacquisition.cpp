// The scope's configuration and stop steps, played through their rules: the test stands in
// for the motor, reading the frames the steps send and answering through decodeFrame.
#include <QSignalSpy>
#include <QtEndian>
#include <QtTest>

#include "framework/data/datamanager.h"
#include "link/frames/scopeframes.h"
#include "link/helper.h"
#include "link/linkstates.h"
#include "link/otathread.h"
#include "link/param/paramstore.h"
#include "link/scope/scopechannellist.h"
#include "link/scope/scopeacquisition.h"
#include "link/serialrecord.h"
#include "linktest.h"

namespace {

struct Bench {
    otaThread link;
    ScopeAcquisition scope{&link};
    QVector<CanFrame> sent;

    Bench() {
        link.setTarget(5);
        QObject::connect(&link, &otaThread::WriteToSerial, [this](QByteArray bytes) {
            CanFrame f;
            if (SerialRecord::toFrame(bytes, &f))
                sent << f;
        });
    }
    StepRule rule(int step) const {
        for (const StepRule& r : scope.steps()) {
            if (r.step == step)
                return r;
        }
        return {};
    }
    // The motor's reply: decoded, then offered to the current step as the core does.
    int reply(const CanFrame& f, int step) {
        const int status = scope.decodeFrame(link, f);
        const StepRule r = rule(step);
        answered = r.isAnswer && r.isAnswer(link, true, f, SerialRecord::fromFrame(f));
        return status;
    }
    bool answered = false;
};

ScopeAcquisition::Config config(const QVector<quint16>& codes, int type = 6, int frequency = 100) {
    ScopeAcquisition::Config c;
    for (quint16 code : codes)
        c.channels << ScopeAcquisition::Channel{code, code ? type : -1, QString()};
    c.frequency = frequency;
    return c;
}

ScopeFrames::RateReply period10() {
    ScopeFrames::RateReply r;
    r.periodUs = 10;
    return r;
}

}  // namespace

class TstScopeAcquisition : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void fiveChannelsTakeTwoFramesAndConfigurationEnds();
    void refusalsAndMismatches();
    void lineBudgetRefusesWhatCannotFit();
    void samplesFromOtherMotorsAreIgnored();
    void stopRepeatsUntilConfirmedOrSilent();
    void channelListFromTheParameterTable();
};

void TstScopeAcquisition::initTestCase() {
    Helper::instance();
}

void TstScopeAcquisition::fiveChannelsTakeTwoFramesAndConfigurationEnds() {
    Bench b;
    QSignalSpy configured(&b.scope, &ScopeAcquisition::channelsConfigured);
    // Channels 2, 3, 5, 6, 8 of eight are active; the others are "None".
    QVERIFY(b.scope.configureChannels(config({0, 0x3000, 0x3001, 0, 0x3002, 0x3003, 0, 0x3004})));
    QCOMPARE(b.scope.activeIndices(), (QVector<int>{1, 2, 4, 5, 7}));

    b.rule(STEP_SCOPE_SET_FRE).start(b.link);
    QCOMPARE(b.sent.size(), 1);
    QCOMPARE(QString::number(b.sent[0].id, 16), QStringLiteral("a00fd05"));
    QCOMPARE(qFromLittleEndian<quint16>(&b.sent[0].data[0]), quint16(100));

    QCOMPARE(b.reply(ScopeFrames::makeRateReply(5, 0, period10()), STEP_SCOPE_SET_FRE),
             int(OTA_STA_PARA_UPDATE_SUCCESS_FRESET));
    QVERIFY(b.answered);
    QCOMPARE(b.rule(STEP_SCOPE_SET_FRE).onAnswer(b.link), int(STEP_SCOPE_SET_CHANNAL));

    b.rule(STEP_SCOPE_SET_CHANNAL).start(b.link);
    QCOMPARE(b.sent.size(), 2);
    QCOMPARE(ScopeFrames::header(b.sent[1]).code, 0);   // bits 19-18: first frame
    QCOMPARE(ScopeFrames::header(b.sent[1]).index, 4);  // five channels
    // The reply to the first frame is not the end: the second frame follows at once.
    QCOMPARE(b.reply(ScopeFrames::makeChannelReply(5, 0, {}), STEP_SCOPE_SET_CHANNAL), -1);
    QVERIFY(b.answered);
    b.link.startStep(STEP_SCOPE_SET_CHANNAL);
    QCOMPARE(b.rule(STEP_SCOPE_SET_CHANNAL).onAnswer(b.link), int(STEP_SCOPE_SET_CHANNAL));
    QCOMPARE(b.sent.size(), 3);
    QCOMPARE(ScopeFrames::header(b.sent[2]).code, 1);
    QCOMPARE(qFromLittleEndian<quint16>(&b.sent[2].data[0]), quint16(0x3004));
    QVERIFY(!b.scope.configured());

    // The final reply ends the configuration step instead of leaving it to time out.
    QCOMPARE(b.reply(ScopeFrames::makeChannelReply(5, 0, {6, 6, 6, 6, 6}), STEP_SCOPE_SET_CHANNAL),
             int(OTA_STA_PARA_UPDATE_SUCCESS_CHSET));
    QCOMPARE(b.rule(STEP_SCOPE_SET_CHANNAL).onAnswer(b.link), int(STEP_STOP));
    QVERIFY(b.scope.configured());
    QCOMPARE(configured.count(), 1);
    QCOMPARE(b.sent.size(), 3);
    QCOMPARE(b.scope.activeChannels().size(), 5);
}

void TstScopeAcquisition::refusalsAndMismatches() {
    Bench b;
    // All channels "None": nothing is configured and nothing is sent.
    QString why;
    QVERIFY(!b.scope.configureChannels(config({0, 0, 0, 0, 0, 0, 0, 0}), &why));
    QVERIFY(why.contains(QStringLiteral("No channel")));
    QVERIFY(!b.scope.start(&why));
    QVERIFY(b.sent.isEmpty());

    // Refused rate: error 2, no channel frame.
    QVERIFY(b.scope.configureChannels(config({0x3000})));
    QCOMPARE(b.reply(ScopeFrames::makeRateReply(5, 1, period10()), STEP_SCOPE_SET_FRE),
             int(OTA_STA_PARA_UPDATE_ERROR));
    QCOMPARE(b.scope.errorBits(), 2);
    QCOMPARE(b.rule(STEP_SCOPE_SET_FRE).onAnswer(b.link), int(STEP_STOP));

    // Channel reply codes 1..3 give error bits 4, 8, 16.
    const int bits[] = {4, 8, 16};
    for (int code = 1; code <= 3; ++code) {
        QVERIFY(b.scope.configureChannels(config({0x3000})));
        b.rule(STEP_SCOPE_SET_CHANNAL).start(b.link);
        QCOMPARE(b.reply(ScopeFrames::makeChannelReply(5, code, {}), STEP_SCOPE_SET_CHANNAL),
                 int(OTA_STA_PARA_UPDATE_ERROR));
        QCOMPARE(b.scope.errorBits(), bits[code - 1]);
        QCOMPARE(b.rule(STEP_SCOPE_SET_CHANNAL).onAnswer(b.link), int(STEP_STOP));
    }

    // The motor confirms another type than asked for: 0x40, and nothing may stream.
    QVERIFY(b.scope.configureChannels(config({0x3000, 0x3005})));
    b.rule(STEP_SCOPE_SET_CHANNAL).start(b.link);
    QCOMPARE(b.reply(ScopeFrames::makeChannelReply(5, 0, {6, 3}), STEP_SCOPE_SET_CHANNAL),
             int(OTA_STA_PARA_UPDATE_ERROR));
    QCOMPARE(b.scope.errorBits() & 0x40, 0x40);
    QVERIFY(!b.scope.configured());
    QVERIFY(!b.scope.start());

    // Channels named by code only take the types the motor confirms.
    ScopeAcquisition::Config byCode = config({0x3000, 0x3005});
    byCode.channels[1].type = -1;
    QVERIFY(b.scope.configureChannels(byCode));
    b.rule(STEP_SCOPE_SET_CHANNAL).start(b.link);
    QCOMPARE(b.reply(ScopeFrames::makeChannelReply(5, 0, {6, 3}), STEP_SCOPE_SET_CHANNAL),
             int(OTA_STA_PARA_UPDATE_SUCCESS_CHSET));
    QCOMPARE(b.scope.activeChannels()[1].type, 3);
}

void TstScopeAcquisition::lineBudgetRefusesWhatCannotFit() {
    Bench b;
    // Eight floats: 34-byte records in five frames; 921600 baud carries 5421 frames/s.
    const QVector<quint16> eight{0x3000, 0x3001, 0x3002, 0x3003, 0x3004, 0x300F, 0x3000, 0x3001};
    QCOMPARE(ScopeAcquisition::highestRate(921600, 34), 1084);
    QVERIFY(b.scope.configureChannels(config(eight, 6, 1000)));
    b.rule(STEP_SCOPE_SET_CHANNAL).start(b.link);
    b.reply(ScopeFrames::makeChannelReply(5, 0, {}), STEP_SCOPE_SET_CHANNAL);
    b.rule(STEP_SCOPE_SET_CHANNAL).onAnswer(b.link);
    b.reply(ScopeFrames::makeChannelReply(5, 0, QVector<int>(8, 6)), STEP_SCOPE_SET_CHANNAL);
    QVERIFY(b.scope.configured());
    b.sent.clear();
    QString why;
    QVERIFY(!b.scope.configureChannels(config(eight, 6, 2000), &why));
    QVERIFY2(why.contains(QStringLiteral("Highest rate that fits: 1084 Hz")), qPrintable(why));
    QVERIFY(b.sent.isEmpty());
    // The refused set-up does not leave the previous one startable at the new rate.
    QVERIFY(!b.scope.configured());
    QVERIFY(!b.scope.start());
    // At a slower line the same set-up fits less.
    ScopeAcquisition::Config slow = config(eight, 6, 1000);
    slow.baudRate = 115200;
    QVERIFY(!b.scope.configureChannels(slow, &why));
    QVERIFY2(why.contains(QStringLiteral("Highest rate that fits: 135 Hz")), qPrintable(why));

    // Types learnt from the motor are checked before the stream starts.
    // A Start that waits for the configuration goes on to the stream only when it fits.
    for (int rate : {2000, 1000}) {
        ScopeAcquisition::Config byCode = config(eight, -1, rate);
        byCode.startWhenConfigured = true;
        QVERIFY(b.scope.configureChannels(byCode));
        b.link.startStep(STEP_SCOPE_SET_CHANNAL);
        b.rule(STEP_SCOPE_SET_CHANNAL).start(b.link);
        b.reply(ScopeFrames::makeChannelReply(5, 0, {}), STEP_SCOPE_SET_CHANNAL);
        QCOMPARE(b.rule(STEP_SCOPE_SET_CHANNAL).onAnswer(b.link), int(STEP_SCOPE_SET_CHANNAL));
        QCOMPARE(b.reply(ScopeFrames::makeChannelReply(5, 0, QVector<int>(8, 6)), STEP_SCOPE_SET_CHANNAL),
                 int(OTA_STA_PARA_UPDATE_SUCCESS_CHSET));
        QCOMPARE(b.rule(STEP_SCOPE_SET_CHANNAL).onAnswer(b.link),
                 int(rate == 2000 ? STEP_STOP : STEP_SCOPE_START));
        QCOMPARE(b.scope.start(&why), rate == 1000);
    }
    QVERIFY(why.contains(QStringLiteral("1084 Hz")));
}

void TstScopeAcquisition::samplesFromOtherMotorsAreIgnored() {
    Bench b;
    b.scope.setDisplayEnabled(true);
    QVERIFY(b.scope.configureChannels(config({0x3000})));
    b.reply(ScopeFrames::makeRateReply(5, 0, period10()), STEP_SCOPE_SET_FRE);
    b.rule(STEP_SCOPE_SET_CHANNAL).start(b.link);
    b.reply(ScopeFrames::makeChannelReply(5, 0, {6}), STEP_SCOPE_SET_CHANNAL);
    QVERIFY(b.scope.configured());
    QByteArray rec = QByteArray::fromHex("6400") + QByteArray::fromHex("0000803f");  // 1.0f
    for (const CanFrame& f : ScopeFrames::sampleFrames(5, rec))
        QCOMPARE(b.scope.decodeFrame(b.link, f), -1);
    for (const CanFrame& f : ScopeFrames::sampleFrames(6, rec))
        QCOMPARE(b.scope.decodeFrame(b.link, f), -1);
    QCOMPARE(b.scope.records(), quint64(1));
    QVERIFY(b.scope.running());
    // A sample frame with an error code is reported, not decoded.
    CanFrame bad = ScopeFrames::sampleFrames(5, rec)[0];
    bad.id |= 1u << 18;
    QCOMPARE(b.scope.decodeFrame(b.link, bad), int(OTA_STA_PARA_UPDATE_ERROR));
    QCOMPARE(b.scope.errorBits(), 32);
    QCOMPARE(b.scope.records(), quint64(1));
    // The stop reply hands over the unfinished batch (100 Hz: 2 records per batch).
    QCOMPARE(b.scope.decodeFrame(b.link, ScopeFrames::makeStopReply(5)),
             int(OTA_STA_PARA_UPDATE_SUCCESS_END));
    const auto batches = b.scope.batches().takeAll();
    QCOMPARE(int(batches.size()), 1);
    QCOMPARE(batches.front()->values.value(0), 1.0);
}

void TstScopeAcquisition::stopRepeatsUntilConfirmedOrSilent() {
    Bench b;
    QVERIFY(b.scope.configureChannels(config({0x3000})));
    b.rule(STEP_SCOPE_SET_CHANNAL).start(b.link);
    b.reply(ScopeFrames::makeChannelReply(5, 0, {6}), STEP_SCOPE_SET_CHANNAL);
    const StepRule stop = b.rule(STEP_SCOPE_STOP);
    QCOMPARE(stop.poll, 2);
    // Not running: one request, then the step ends.
    b.sent.clear();
    stop.start(b.link);
    QVERIFY(!stop.pass(b.link));
    QCOMPARE(b.sent.size(), 1);
    QCOMPARE(ScopeFrames::header(b.sent[0]).sub, int(ScopeFrames::Stop));

    // Running: the request repeats while samples keep coming, until the motor confirms.
    const QByteArray rec = QByteArray::fromHex("640000000000");
    auto sample = [&] {
        for (const CanFrame& f : ScopeFrames::sampleFrames(5, rec))
            b.scope.decodeFrame(b.link, f);
    };
    sample();
    b.sent.clear();
    stop.start(b.link);
    for (int i = 0; i < 400; ++i) {
        sample();
        QVERIFY(stop.pass(b.link));
    }
    QCOMPARE(b.sent.size(), 401);
    b.scope.decodeFrame(b.link, ScopeFrames::makeStopReply(5));
    QVERIFY(!stop.pass(b.link));

    // A motor that falls silent without confirming (bus unplugged) ends the step too.
    sample();
    stop.start(b.link);
    int passes = 0;
    while (stop.pass(b.link) && passes < 1000)
        ++passes;
    QVERIFY(passes < 1000);
    QVERIFY(!b.scope.running());

    // The port closing ends it as well.
    sample();
    QSignalSpy stopped(&b.scope, &ScopeAcquisition::stopped);
    b.scope.linkClosed(b.link);
    QVERIFY(!stop.pass(b.link));
    QCOMPARE(stopped.count(), 1);
}

void TstScopeAcquisition::channelListFromTheParameterTable() {
    ParamStore store;
    const QStringList names{"CAN_ID", "CAN_MASTER", "CAN_TIMEOUT", "loc_kp", "spd_kp"};
    for (int i = 0; i < names.size(); ++i)
        store.setName(3, quint16(0x2000 + i), names[i]);
    store.setName(3, 0x3000, QStringLiteral("mechPos"));
    store.setName(3, 0x3001, QStringLiteral("temperature"));
    store.setType(3, 0x3001, 3);
    store.setCounts(3, {{1, 1, 5, 2}}, 2);
    // Channel type k is entry k - 1: settings after the configuration entries, then measurements.
    const QVector<ScopeChannelChoice> list = ScopeChannelList::fromStore(store, 3);
    QStringList listed;
    for (const ScopeChannelChoice& c : list)
        listed << QStringLiteral("%1=%2").arg(c.name).arg(c.code, 0, 16);
    QCOMPARE(listed, (QStringList{"loc_kp=2003", "spd_kp=2004", "mechPos=3000", "temperature=3001"}));

    // The CLI names channels by name or by code; unknown codes take the motor's type.
    ScopeChannelChoice c;
    QVERIFY(ScopeChannelList::resolve(QStringLiteral("MECHPOS"), list, &c));
    QCOMPARE(c.code, quint16(0x3000));
    QVERIFY(ScopeChannelList::resolve(QStringLiteral("0x3001"), list, &c));
    QCOMPARE(c.type, 3);
    QVERIFY(ScopeChannelList::resolve(QStringLiteral("12298"), list, &c));
    QCOMPARE(c.code, quint16(0x300A));
    QCOMPARE(c.type, -1);
    QVERIFY(!ScopeChannelList::resolve(QStringLiteral("nosuch"), list, &c));
    QVERIFY(!ScopeChannelList::resolve(QStringLiteral("0x10000"), list, &c));
    QVERIFY(!ScopeChannelList::resolve(QStringLiteral("0"), list, &c));
}

QTEST_GUILESS_MAIN(TstScopeAcquisition)
#include "tst_scopeacquisition.moc"
