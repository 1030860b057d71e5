#pragma once

#include <QCoreApplication>
#include <QDateTime>
#include <QSet>
#include <QString>
#include <QVector>

#include <optional>

#include "link/param/paramstore.h"

// A motor's parameters at one moment, as a human-diffable JSON file: identity (MCU ID, CAN ID,
// model code, the read-only strings of group 1), the date, and every entry with code, name,
// type and value. Comparing a motor with a backup (or two backups) and planning a restore
// live here too, so the window and the command line agree.
class ParamBackup {
public:
    struct Item {
        quint16 code = 0;
        QString name;
        int type = 0;  // value-type code, 10 for text
        QString value;
        bool writable = false;
    };

    quint64 mcuId = 0;
    int canId = 0;
    int modelCode = -1;
    QDateTime date;
    QVector<QPair<QString, QString>> identity;  // group 1: name, value
    QVector<Item> items;

    static ParamBackup fromEntries(const QVector<ParamEntry>& entries, quint64 mcuId, int canId,
                                   int modelCode);

    QByteArray toJson() const;
    // Refuses files that are not backups, are damaged or too large, with the reason in *error.
    static std::optional<ParamBackup> fromJson(const QByteArray& json, QString* error);
    // Written atomically: an existing backup is replaced only by a complete one.
    bool save(const QString& path, QString* error) const;
    static std::optional<ParamBackup> load(const QString& path, QString* error);

    // "uint8" ... "double", "string" for text.
    static QString typeName(int type);
    static int typeOf(const QString& name);
    // "0X2008"; parseCode also takes "0x2008" and "2008" (codes are hexadecimal).
    static QString codeText(quint16 code);
    static std::optional<quint16> parseCode(const QString& text);
};

// What differs between two sides (a motor and a backup, or two backups).
struct ParamDiff {
    Q_DECLARE_TR_FUNCTIONS(ParamDiff)

public:
    enum class Kind { Value, OnlyLeft, OnlyRight, Definition };
    struct Item {
        quint16 code = 0;
        Kind kind = Kind::Value;
        QString leftName, rightName;
        QString leftType, rightType;
        QString left, right;  // values
        bool writable = false;
    };
    QVector<Item> items;

    // Writable entries decide: read-only strings and live measurements never count.
    bool differs() const;
    static ParamDiff compare(const ParamBackup& left, const ParamBackup& right);
    // One line per item, writable ones first, the others under their own heading.
    QStringList lines() const;
};

// The writes that bring a motor back to a backup.
struct ParamRestorePlan {
    Q_DECLARE_TR_FUNCTIONS(ParamRestorePlan)

public:
    struct Write {
        quint16 code = 0;
        QString name;
        QString from, to;
        QByteArray pending;  // bytes for the store's pending value
    };
    struct Refusal {
        quint16 code = 0;
        QString name;
        QString reason;
    };
    QVector<Write> writes;
    QVector<Refusal> refused;

    // Only writable entries that differ; entries whose name or type changed on the motor are
    // refused unless forced; `only` (when given) limits the plan to those codes.
    static ParamRestorePlan plan(const QVector<ParamEntry>& motor, const ParamBackup& backup,
                                 const QSet<quint16>& only = {}, bool force = false);
};
