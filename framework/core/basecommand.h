#pragma once

#include <QObject>
#include <QString>

namespace kx {

class DataObject;

// A named text command: it works on a data node with an argument string and answers through
// its signals, so a console, a script or a command-line tool can drive it alike.
class BaseCommand : public QObject {
    Q_OBJECT

public:
    BaseCommand(const QString& key, bool isRoot = false, QObject* parent = nullptr);

    QString key() const;
    bool isRoot() const;

    virtual QString usage() const;
    virtual QString instruction() const;

    // run(), then finished().
    void exec(DataObject* node, const QString& arguments);
    void autoComplete(DataObject* node, const QString& partial);
    void autoHint(DataObject* node, const QString& partial);

signals:
    void input(QString text);
    void output(QString text);
    void error(QString text);
    void message(QString text);
    void unknown(QString option);
    void finished();

protected:
    virtual void complete(DataObject* node, const QString& partial);
    virtual void hint(DataObject* node, const QString& partial);
    virtual void run(DataObject* node, const QString& arguments);

private:
    QString m_key;
    bool m_isRoot;
};

}  // namespace kx
