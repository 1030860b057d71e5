#pragma once

// The host side of the byte stream for the bench tests: writes frame records and AT lines into
// a SimAdapter and cuts what comes back into frames and text lines.

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <memory>

#include "link/canprotocol.h"
#include "link/recordcutter.h"
#include "link/serialrecord.h"
#include "sim/simadapter.h"
#include "sim/simmotor.h"

namespace simtest {

inline CanFrame request(quint8 type, quint8 high, quint8 dest, std::initializer_list<quint8> bytes = {}) {
    CanFrame f;
    f.id = CanFrame::makeId(type, quint16(high << 8 | CanProtocol::kHostId), dest);
    f.length = 8;
    int i = 0;
    for (quint8 b : bytes)
        f.data[size_t(i++)] = b;
    return f;
}

inline quint16 le16(const CanFrame& f, int at) {
    return qFromLittleEndian<quint16>(&f.data[size_t(at)]);
}
inline quint32 le32(const CanFrame& f, int at) {
    return qFromLittleEndian<quint32>(&f.data[size_t(at)]);
}
inline float lef(const CanFrame& f, int at) {
    return qFromLittleEndian<float>(&f.data[size_t(at)]);
}

class Host {
public:
    explicit Host(SimSettings settings = settingsFor(2)) {
        adapter = std::make_unique<SimAdapter>(settings);
        QObject::connect(adapter.get(), &SimAdapter::bytesOut, [this](const QByteArray& bytes) {
            raw += bytes;
            cutter.append(bytes);
            QByteArray rec;
            while (cutter.next(&rec)) {
                CanFrame f;
                if (SerialRecord::toFrame(rec, &f))
                    frames << f;
                else
                    lines << rec;
            }
        });
    }

    static SimSettings settingsFor(int motors) {
        SimSettings s;
        s.motors = SimSettings::defaultMotors(motors);
        s.pacing = false;
        s.eraseDelayMs = 20;
        s.calibrationMs = 200;
        return s;
    }

    void send(const CanFrame& f) { adapter->feed(SerialRecord::fromFrame(f)); }
    void text(const QByteArray& line) { adapter->feed(line); }
    // Frames received so far, and forget them.
    QList<CanFrame> take() {
        QList<CanFrame> out = frames;
        frames.clear();
        return out;
    }
    SimMotor* motor(int i) { return adapter->motors().at(i); }

    std::unique_ptr<SimAdapter> adapter;
    RecordCutter cutter;
    QList<CanFrame> frames;
    QList<QByteArray> lines;
    QByteArray raw;
};

// Every case runs in its own temporary working directory.
class TempCwd {
public:
    TempCwd() { QDir::setCurrent(m_dir.path()); }
    ~TempCwd() { QDir::setCurrent(QDir::tempPath()); }
    QString path(const QString& name) const { return m_dir.filePath(name); }

private:
    QTemporaryDir m_dir;
};

}  // namespace simtest
