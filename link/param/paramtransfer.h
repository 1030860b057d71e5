#pragma once

#include <QByteArray>
#include <QString>

#include <array>
#include <mutex>
#include <optional>

#include "link/canframe.h"

class ParamStore;

// The protocol side of the parameter table: starts descriptions, reads and writes, decodes the
// motor's type-19, 9 and 8 replies into the store and decides each transfer's status. It knows
// nothing of threads or steps beyond the step number it is told; the link feature wires it in.
//
// A transfer belongs to the CAN ID that started it: replies from any other motor are ignored,
// so a chatty neighbour on the bus can neither complete nor corrupt it.
//
// Threads: starts run on the thread that starts a step, decoding on the receive path, time-outs
// on the link thread; all state is guarded by one mutex.
class ParamTransfer {
public:
    enum class Mode { None, Describe, Read, Write, Save };

    explicit ParamTransfer(ParamStore* store);

    // Each start returns the frame to send.
    CanFrame startDescription(quint8 canId, quint64 mcuId);
    // fromStart: the cursor goes to the first described entry. nullopt when the cursor names
    // no described entry (nothing to read).
    std::optional<CanFrame> startRead(quint8 canId, bool fromStart);
    // first: the cursor goes to the first modified entry. A failure that needs no frame (nothing
    // modified, a group that cannot be written) gives nullopt and sets *status.
    std::optional<CanFrame> startWrite(quint8 canId, bool first, int* status);
    CanFrame startSave(quint8 canId);
    CanFrame factoryReset(quint8 canId);
    // The link went away: no transfer is under way any more.
    void cancel();

    // Whether a valid frame belongs to the transfer under way (type, addressing and CAN ID).
    bool belongs(const CanFrame& frame) const;
    // Decodes a frame of the transfer under way; returns the concluding status or -1. A write
    // that has chunks left puts the next one in *next.
    int decode(const CanFrame& frame, std::optional<CanFrame>* next);
    // The transfer under way has concluded (its status was decided).
    bool concluded() const;
    // The status of a time-out: 38 becomes 39 when error bits were recorded.
    int timeoutStatus(int defaultStatus) const;

    Mode mode() const;
    quint8 canId() const;
    quint16 expectedCode() const;
    quint32 errorBits() const;
    // The code a write reply named instead of the one sent, or -1: a damaged request may have
    // written that entry instead.
    int strayCode() const;
    // The walk's position: group 0-4 (4 = past the end) and index.
    void setCursor(int group, int index);
    std::pair<int, int> cursor() const;

    // Status lines of failed transfers, built from error bits.
    static QString describeErrorText(quint32 bits);
    static QString readErrorText(quint16 code, quint32 bits);
    static QString writeErrorText(quint16 code, quint32 bits);

private:
    bool belongsLocked(const CanFrame& frame) const;  // m_mutex held
    int decodeDescription(const CanFrame& frame);
    int decodeRead(const CanFrame& frame);
    int decodeWrite(const CanFrame& frame, std::optional<CanFrame>* next);
    CanFrame chunkFrame() const;
    void begin(Mode mode, quint8 canId);

    ParamStore* m_store;
    mutable std::mutex m_mutex;
    // Everything below is guarded by m_mutex.
    Mode m_mode = Mode::None;
    bool m_concluded = false;
    quint8 m_canId = 0;
    quint32 m_errors = 0;
    int m_cursorGroup = 0;
    int m_cursorIndex = 0;
    quint16 m_expectedCode = 0;
    int m_expectedType = 0;
    // Description state.
    int m_lastPhase = -1;
    int m_lastCode = -1;
    int m_lastGroup = -1;
    std::array<int, 4> m_received{};
    QByteArray m_buffer;  // collecting buffer: 16 text bytes, or value bytes
    // Read and write state.
    int m_chunk = 0;
    int m_sub = 0;
    int m_strayCode = -1;
    QByteArray m_value;  // bytes being written
};
