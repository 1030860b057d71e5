#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QMap>
#include <QString>
#include <QVector>

#include <functional>

#include "link/canframe.h"

// A motor's self-described parameter table, seen from the motor: strings in groups 0 (writable)
// and 1 (read-only), configuration entries and settings in group 2 with limits and decimal
// exponents, live measurements in group 3. It answers the description request (type 19), reads
// (type 9) and writes (type 8, including save and factory reset), and keeps the saved values.
class SimParamTable {
public:
    struct Entry {
        quint16 code = 0;
        QString name;
        int type = 10;  // value-type code; 10 = 16-byte text
        bool writable = false;
        qint16 minRaw = 0, maxRaw = 0;  // limits = raw x 10^exponent
        qint8 exponent = 0;
        QByteArray text;   // text entries
        double value = 0;  // numeric entries (live ones ask the source instead)
        QByteArray defaultText;
        double defaultValue = 0;
        bool live = false;
    };
    struct Limits {
        double torqueMax = 14, velMax = 33;
    };
    using LiveSource = std::function<double(quint16 code)>;

    // Motor error codes of write replies.
    enum WriteError {
        NoError = 0,
        NoSuchCode = 1,
        Unwritable = 2,
        TypeError = 3,
        LossFrame = 4,
        WrongFrame = 5,
        OutOfRange = 6,
        SaveFailed = 9,
        NoSuchCommand = 10
    };

    SimParamTable(quint64 mcuId, const Limits& limits, LiveSource live);

    static constexpr int kConfigCount = 3;

    // The whole description, entry by entry, ending with the summary.
    QVector<CanFrame> describe(quint8 canId) const;
    // The chunks answering a read of `code` (or the single "no such code" reply).
    QVector<CanFrame> read(quint8 canId, quint16 code) const;
    // One write chunk; returns the reply. Save and factory reset go through `saver`.
    // `changed` receives the code of an entry whose value was just replaced.
    CanFrame write(quint8 canId, const CanFrame& request, const std::function<bool()>& saver,
                   quint16* changed);

    const Entry* entry(quint16 code) const;
    double value(quint16 code) const;
    QString text(quint16 code) const;
    void setValue(quint16 code, double v);
    void setText(quint16 code, const QString& text);
    int count(int group) const;

    // Writable values for the state file, and back.
    QJsonObject saveState() const;
    void loadState(const QJsonObject& state);
    void factoryReset();

private:
    void add(Entry e);
    Entry* find(quint16 code);
    double limitMin(const Entry& e) const;
    double limitMax(const Entry& e) const;
    QByteArray rawOf(const Entry& e) const;

    QVector<Entry> m_entries;
    QMap<quint16, int> m_index;
    static constexpr quint16 kSerialCode = 0x2011;
    LiveSource m_live;
    quint64 m_serial;
    // Write in progress: its code, the next chunk and the collected bytes.
    int m_writeCode = -1;
    int m_nextChunk = 0;
    QByteArray m_collect;
};
