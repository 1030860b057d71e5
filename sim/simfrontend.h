#pragma once

#include <QObject>
#include <QString>

#include <functional>

// Where the host meets the bench: a pseudo-terminal behind which the adapter sits (SimPty) or
// a virtual CAN bus the motors sit on (SimBus). The control channel plugs and unplugs either.
class SimFrontEnd : public QObject {
    Q_OBJECT

public:
    explicit SimFrontEnd(QObject* parent = nullptr) : QObject(parent) {}
    ~SimFrontEnd() override = default;

    // Puts the bench on the line; false with the reason in *error.
    virtual bool plug(QString* error) = 0;
    // Takes it off, as pulling the cable would.
    virtual void unplug() = 0;
    virtual bool plugged() const = 0;
    // What the host connects to: a device path or a bus address.
    virtual QString address() const = 0;
    // Bytes or frames for the host lost because it did not take them.
    virtual qint64 lost() const = 0;

    // Runs before the host's data is handed to the bench (the control channel drains, so that a
    // fault switched on before a request reaches that request).
    void setBeforeRead(std::function<void()> hook) { m_beforeRead = std::move(hook); }

protected:
    void beforeRead() {
        if (m_beforeRead)
            m_beforeRead();
    }

private:
    std::function<void()> m_beforeRead;
};
