#pragma once

#include <QObject>

namespace kx {
class DataObject;
}

// Holds the "project" node of the data tree; the file operations live with the shell.
class Project : public QObject {
    Q_OBJECT

public:
    explicit Project(QObject* parent = nullptr);

    kx::DataObject* dobj() const { return m_dobj; }

private:
    kx::DataObject* m_dobj = nullptr;
};
