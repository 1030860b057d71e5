#pragma once

// A pseudo-terminal pair in raw mode for tests that need a port the link can really open.

#include <QString>

#include <pty.h>
#include <termios.h>
#include <unistd.h>

class TestPty {
public:
    TestPty() {
        char name[128] = {};
        if (::openpty(&m_master, &m_slave, name, nullptr, nullptr) == 0) {
            termios mode{};
            ::tcgetattr(m_slave, &mode);
            ::cfmakeraw(&mode);
            ::tcsetattr(m_slave, TCSANOW, &mode);
            m_name = QString::fromLocal8Bit(name);
        }
    }
    ~TestPty() {
        if (m_master >= 0)
            ::close(m_master);
        if (m_slave >= 0)
            ::close(m_slave);
    }
    bool isValid() const { return !m_name.isEmpty(); }
    QString name() const { return m_name; }

private:
    int m_master = -1;
    int m_slave = -1;
    QString m_name;
};
