#include "app/shell/lefttitle.h"

#include "app/project/projectfiles.h"
#include "app/shell/shellregistry.h"
#include "framework/data/datamanager.h"
#include "framework/data/dataobject.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QMenu>
#include <QPushButton>
#include <QToolButton>

LeftTitle::LeftTitle(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("LeftTitle"));
    m_leftTitleDobj = kx::d(QStringLiteral("wnd.left_title"));
    setStyleSheet(QStringLiteral(
        "QToolButton { border:none; border-top:2px solid transparent; border-bottom:2px solid transparent;"
        " background:transparent; padding:0 6px; }\n"
        "QToolButton:hover { background:#2b2b2b; }\n"
        "QToolButton:checked { border-top:2px solid #ff6900; border-bottom:2px solid #353535;"
        " background:#353535; }\n"
        "QPushButton#btnFile { border:none; background:transparent; padding:0 8px; }\n"
        "QPushButton#btnFile:hover { background:#2b2b2b; }"));

    auto* layout = new QHBoxLayout(this);
    layout->setSpacing(0);
    layout->setContentsMargins(0, 0, 0, 0);
    m_btnFile = new QPushButton(tr("File"), this);
    m_btnFile->setObjectName(QStringLiteral("btnFile"));
    m_btnFile->setMinimumWidth(40);
    m_btnFile->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Expanding);
    layout->addWidget(m_btnFile);
    // The tab buttons come from the registered screens, in their order.
    for (const ShellRegistry::TabEntry& tab : ShellRegistry::tabs()) {
        auto* button = new QToolButton(this);
        button->setObjectName(tab.objectName);
        button->setText(tab.title.translated());
        button->setCheckable(true);
        button->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Expanding);
        layout->addWidget(button);
        m_tabs.append(button);
        m_indexes.append(tab.index);
        connect(button, &QToolButton::clicked, this, [this, button] { onTabClicked(button); });
    }
    // The window opens on the selected tab, which the tool strip shows too.
    const int selected = m_indexes.indexOf(m_leftTitleDobj->c(QStringLiteral("index"))->getInt(0));
    if (!m_tabs.isEmpty())
        m_tabs[qMax(0, selected)]->setChecked(true);

    m_projectFiles = new ProjectFiles(this);
    buildFileMenu();
    m_btnFile->setShortcut(QKeySequence(QStringLiteral("Alt+F")));
    connect(m_btnFile, &QPushButton::clicked, this,
            [this] { m_fileMenu->popup(m_btnFile->mapToGlobal(m_btnFile->rect().bottomLeft())); });
    // The File button stays visible: without it New, Open and Save would be reachable only
    // through their shortcuts.
}

void LeftTitle::onTabClicked(QToolButton* button) {
    const int index = m_indexes.value(m_tabs.indexOf(button), -1);
    m_leftTitleDobj->set(this, QStringLiteral("index"), index, true);
    for (QToolButton* tab : m_tabs)
        tab->setChecked(tab == button);
}

void LeftTitle::buildFileMenu() {
    m_fileMenu = new QMenu(this);
    m_fileMenu->setObjectName(QStringLiteral("menuFile"));
    auto add = [this](const QString& text, QKeySequence::StandardKey key, auto slot) {
        QAction* action = m_fileMenu->addAction(text);
        if (key != QKeySequence::UnknownKey) {
            action->setShortcut(key);
            action->setShortcutContext(Qt::ApplicationShortcut);
            // The menu is not in the window's widget tree until shown; the window carries
            // the action so that its shortcut works from the start.
            addAction(action);
        }
        connect(action, &QAction::triggered, m_projectFiles, slot);
        return action;
    };
    add(tr("New"), QKeySequence::New, &ProjectFiles::newProject);
    add(tr("Open"), QKeySequence::Open, &ProjectFiles::openWithDialog);
    add(tr("Save"), QKeySequence::Save, &ProjectFiles::save);
    add(tr("Save as"), QKeySequence::SaveAs, &ProjectFiles::saveAs);
    m_fileMenu->addSeparator();
    add(tr("Import"), QKeySequence::UnknownKey, &ProjectFiles::importWithDialog);
    add(tr("Export"), QKeySequence::UnknownKey, &ProjectFiles::exportWithDialog);
    m_fileMenu->addSeparator();
    QAction* exit = m_fileMenu->addAction(tr("Exit"));
    // The standard Quit key is missing from some platform key schemes; Ctrl+Q works on all.
    QList<QKeySequence> quitKeys = QKeySequence::keyBindings(QKeySequence::Quit);
    if (!quitKeys.contains(QKeySequence(Qt::CTRL + Qt::Key_Q)))
        quitKeys.append(QKeySequence(Qt::CTRL + Qt::Key_Q));
    exit->setShortcuts(quitKeys);
    exit->setShortcutContext(Qt::ApplicationShortcut);
    addAction(exit);
    connect(exit, &QAction::triggered, qApp, &QApplication::closeAllWindows);
}
