// The receive path (getSerialData -> record cutting -> parser -> dispatcher) against hostile
// serial input: deterministic mutations of real records, noise, lying lengths, CR LF inside
// data, every split of the byte stream. Nothing may crash, hang, or grow without bound, and
// intact frames around the damage must still arrive.
#include <QSignalSpy>
#include <QtTest>

#include <random>

#include "framework/data/datamanager.h"
#include "framework/data/dataobject.h"
#include "link/helper.h"
#include "link/motormodel.h"
#include "link/motorstates.h"
#include "link/otathread.h"
#include "link/serialrecord.h"
#include "linktest.h"

namespace {

QByteArray record(quint32 id, const std::array<quint8, 8>& data, quint8 length = 8) {
    CanFrame f;
    f.id = id;
    f.length = length;
    f.data = data;
    return SerialRecord::fromFrame(f);
}

// Feedback from CAN ID 1 whose data carries 0D 0A at byte `at` (0..6).
QByteArray feedbackWithCrLf(int at) {
    std::array<quint8, 8> data{0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77, 0x88};
    data[at] = 0x0D;
    data[at + 1] = 0x0A;
    if (data[0] == 0x00 && data[1] == 0xC4)
        data[1] = 0xC5;
    return record((2u << 24) | (2u << 22) | (1u << 8) | 0xFD, data);
}

}  // namespace

class TestReceiveFuzz : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanupTestCase();
    void crLfInsideDataAtEverySplit();
    void mutatedRecords();
    void noiseStaysBounded();

private:
    int feedbackCount() const;
    otaThread* m_link = nullptr;
    std::unique_ptr<QSignalSpy> m_states;
    std::unique_ptr<linktest::WorkDir> m_dir;
};

void TestReceiveFuzz::initTestCase() {
    Helper::instance();
    // Multiple-device mode keeps announcements from starting model queries: the receive
    // path alone is under test.
    kx::d("config.setting.enable_multiple_devices")->set(nullptr, true);
    m_link = new otaThread;
    m_states = std::make_unique<QSignalSpy>(m_link, &otaThread::sendState);
}

void TestReceiveFuzz::init() {
    m_dir = std::make_unique<linktest::WorkDir>();
    m_states->clear();
}

void TestReceiveFuzz::cleanupTestCase() {
    m_states.reset();
    delete m_link;
    MotorModel::reset();
}

int TestReceiveFuzz::feedbackCount() const {
    int n = 0;
    for (const QList<QVariant>& args : *m_states)
        n += args[0].toInt() == OTA_STA_MOTOR_FEEDBACK;
    return n;
}

void TestReceiveFuzz::crLfInsideDataAtEverySplit() {
    // An adapter answer, then the seven feedback frames, then another answer line.
    QByteArray stream = "OK\r\n";
    for (int at = 0; at < 7; ++at)
        stream += feedbackWithCrLf(at);
    stream += "\r\nOK\r\n";
    for (int split = 0; split <= stream.size(); ++split) {
        m_states->clear();
        m_link->getSerialData(stream.left(split));
        m_link->getSerialData(stream.mid(split));
        QVERIFY2(feedbackCount() == 7,
                 qPrintable(QStringLiteral("split at %1: %2 frames").arg(split).arg(feedbackCount())));
    }
    // Byte by byte as well.
    m_states->clear();
    for (char c : stream)
        m_link->getSerialData(QByteArray(1, c));
    QCOMPARE(feedbackCount(), 7);
    QCOMPARE(MotorStates::get(1).modeState, 2);
}

void TestReceiveFuzz::mutatedRecords() {
    std::mt19937 rng(20261208);
    auto byte = [&] { return quint8(rng() & 0xFF); };
    const QByteArray good = feedbackWithCrLf(3);
    int goodSent = 0;
    for (int round = 0; round < 20000; ++round) {
        // Identifiers of every type, lengths 0..8, random data.
        std::array<quint8, 8> data{};
        for (auto& b : data)
            b = byte();
        const quint32 id = quint32(rng()) & 0x1FFFFFFF;
        QByteArray bytes = record(id, data, quint8(rng() % 9));
        switch (rng() % 6) {
            case 0:  // flip a bit anywhere
            {
                const int at = int(rng() % bytes.size());
                bytes[at] = char(bytes.at(at) ^ (1 << (rng() % 8)));
            } break;
            case 1:  // a length that lies
                bytes[6] = char(rng() % 12);
                break;
            case 2:  // cut short
                bytes.truncate(int(rng() % bytes.size()));
                break;
            case 3:  // CR LF spliced in
                bytes.insert(int(rng() % bytes.size()), "\r\n");
                break;
            case 4:  // pure noise
                for (auto& c : bytes)
                    c = char(byte());
                break;
            default:  // intact
                break;
        }
        // Every few rounds an intact frame must come through whatever came before it,
        // once the cutter has resynchronised on a line end.
        if (round % 10 == 9) {
            bytes += "\r\n" + good;
            ++goodSent;
        }
        const int cut = int(rng() % (bytes.size() + 1));
        m_link->getSerialData(bytes.left(cut));
        m_link->getSerialData(bytes.mid(cut));
    }
    // Damage may swallow a neighbour now and then, but nearly all intact frames arrive.
    QVERIFY2(feedbackCount() >= goodSent * 9 / 10,
             qPrintable(QStringLiteral("%1 of %2").arg(feedbackCount()).arg(goodSent)));
    QVERIFY(m_link->deviceCount() <= otaThread::kMaxDevices);
}

void TestReceiveFuzz::noiseStaysBounded() {
    std::mt19937 rng(7);
    QByteArray noise(64 * 1024, '\0');
    for (int round = 0; round < 64; ++round) {
        for (auto& c : noise) {
            c = char(rng() & 0xFF);
            if (c == '\n')  // no line ends: the cutter must still bound its buffer
                c = 'A';
        }
        m_link->getSerialData(noise);
    }
    // After the noise a clean line and frame are understood again.
    m_states->clear();
    m_link->getSerialData("\r\n" + feedbackWithCrLf(0));
    QCOMPARE(feedbackCount(), 1);
}

LINK_TEST_MAIN(TestReceiveFuzz)
#include "tst_receivefuzz.moc"
