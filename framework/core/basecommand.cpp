#include "framework/core/basecommand.h"

namespace kx {

BaseCommand::BaseCommand(const QString& key, bool isRoot, QObject* parent)
    : QObject(parent), m_key(key), m_isRoot(isRoot) {}

QString BaseCommand::key() const {
    return m_key;
}

bool BaseCommand::isRoot() const {
    return m_isRoot;
}

QString BaseCommand::usage() const {
    return QString();
}

QString BaseCommand::instruction() const {
    return usage();
}

void BaseCommand::exec(DataObject* node, const QString& arguments) {
    run(node, arguments);
    emit finished();
}

void BaseCommand::autoComplete(DataObject* node, const QString& partial) {
    complete(node, partial);
}

void BaseCommand::autoHint(DataObject* node, const QString& partial) {
    hint(node, partial);
}

void BaseCommand::complete(DataObject*, const QString&) {}

void BaseCommand::hint(DataObject*, const QString&) {}

void BaseCommand::run(DataObject*, const QString&) {}

}  // namespace kx
