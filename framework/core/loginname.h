#pragma once

#include <QString>
#include <QtGlobal>

#ifdef Q_OS_UNIX
#include <pwd.h>
#include <unistd.h>
#endif

namespace kx {

// The name the user logged in with, for reports that name who ran them. The environment
// first (USER, LOGNAME, USERNAME on Windows); services and containers often set none of
// them, so on Unix the account of the effective user is asked last.
inline QString loginName() {
    for (const char* name : {"USER", "LOGNAME", "USERNAME"}) {
        const QString value = qEnvironmentVariable(name);
        if (!value.isEmpty())
            return value;
    }
#ifdef Q_OS_UNIX
    if (const passwd* account = getpwuid(geteuid()))
        return QString::fromLocal8Bit(account->pw_name);
#endif
    return QString();
}

}  // namespace kx
