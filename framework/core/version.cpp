#include "framework/core/version.h"

#include <QStringList>

namespace kx {

namespace {

int coreVersion() {
    return 1;
}

int crashReporterVersion() {
    return 1;
}

}  // namespace

VersionManager& versionManager() {
    static VersionManager manager;
    // Registered here rather than by a static initialiser: the framework is a static library,
    // and an initialiser in an otherwise unreferenced object file would be left out by the linker.
    static const bool registered = manager.regist(QStringLiteral("kx.core"), &coreVersion);
    Q_UNUSED(registered);
    static const bool crashRegistered =
        manager.regist(QStringLiteral("tesk.stack.handler"), &crashReporterVersion);
    Q_UNUSED(crashRegistered);
    return manager;
}

VersionManager& ver() {
    return versionManager();
}

int ver(const QString& key, bool recursive) {
    VersionManager& manager = versionManager();
    if (!recursive) {
        return manager.create(key);
    }
    const DataObject* tree = manager.keyTree();
    const DataObject* top = tree->rdobj(key);
    if (top->isEmpty()) {
        return manager.create(key);
    }
    int sum = 0;
    QList<const DataObject*> pending{top};
    while (!pending.isEmpty()) {
        const DataObject* node = pending.takeLast();
        sum += manager.create(node->fullName(tree));
        for (const DataObject* child : node->cdobjs()) {
            pending.append(child);
        }
    }
    return sum;
}

QString releaseVersionString(const QString& key) {
    VersionManager& manager = versionManager();
    auto partKey = [&key](int part) { return QStringLiteral("@%1_%2").arg(QString::number(part), key); };
    const int offset = ver(partKey(0));
    const int major = ver(partKey(1));
    const int minor = ver(partKey(2));
    QStringList extras;
    for (int part = 3; part <= 9; ++part) {
        if (manager.keyTree()->hasRdobj(partKey(part))) {
            extras.append(QString::number(ver(partKey(part))));
        }
    }
    const int patch = ver(key, true) - offset;
    QString result = QStringLiteral("v%1.%2.%3").arg(major).arg(minor).arg(patch);
    if (!extras.isEmpty()) {
        result += QLatin1Char('.') + extras.join(QLatin1Char('.'));
    }
    return result;
}

VersionRegistrar::VersionRegistrar(const QString& key, int (*version)(void)) {
    versionManager().regist(key, version);
}

}  // namespace kx
