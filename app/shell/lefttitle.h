#pragma once

#include <QList>
#include <QWidget>

class ProjectFiles;
class QMenu;
class QPushButton;
class QToolButton;

namespace kx {
class DataObject;
}

// Left end of the title bar: the File menu button and the tabs of the registered screens.
class LeftTitle : public QWidget {
    Q_OBJECT

public:
    explicit LeftTitle(QWidget* parent = nullptr);

    // In layout order.
    QList<QToolButton*> tabButtons() const { return m_tabs; }
    QMenu* fileMenu() const { return m_fileMenu; }
    ProjectFiles* projectFiles() const { return m_projectFiles; }

private:
    void buildFileMenu();
    void onTabClicked(QToolButton* button);

    QPushButton* m_btnFile;
    QList<QToolButton*> m_tabs;
    QList<int> m_indexes;  // the "index" value of each tab, in the order of m_tabs
    QMenu* m_fileMenu;
    ProjectFiles* m_projectFiles;
    kx::DataObject* m_leftTitleDobj;
};
