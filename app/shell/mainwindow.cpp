#include "app/shell/mainwindow.h"

#include "app/appinfo.h"
#include "app/editor/editor.h"
#include "app/panel/panel.h"
#include "app/project/projectfiles.h"
#include "app/shell/lefttitle.h"
#include "app/shell/righttitle.h"
#include "app/shell/shellregistry.h"
#include "app/shell/statusbar.h"
#include "app/shell/toolwidget.h"
#include "chrome/titlebar.h"
#include "framework/data/datamanager.h"
#include "framework/data/dataobject.h"
#include "link/helper.h"

#include <QApplication>
#include <QIcon>
#include <QLabel>
#include <QSplitter>
#include <QTimer>
#include <QVBoxLayout>

MainWindow::MainWindow(QWidget* parent) : FramelessWindow(parent) {
    setObjectName(QStringLiteral("MainWindow"));
    auto* content = new QWidget(this);
    content->setObjectName(QStringLiteral("Content"));
    setContentWidget(content);

    kx::DataObject* title = kx::d(QStringLiteral("wnd.title"));
    setWindowIcon(QIcon(QStringLiteral(":/images/motor/logo2.png")));
    setWindowTitle(title->getString());

    m_titleLabel = new QLabel(this);
    m_titleLabel->setObjectName(QStringLiteral("lblTitle"));
    m_titleLabel->setStyleSheet(QStringLiteral("color:#888"));
    m_titleLabel->setAlignment(Qt::AlignCenter);
    connect(title, &kx::DataObject::changed, m_titleLabel, [this](const QVariant& value) {
        m_titleLabel->setText(value.toString() + QStringLiteral(" v") + AppInfo::version());
    });
    titleBar()->setCenterWidget(m_titleLabel);
    m_leftTitle = new LeftTitle(this);
    m_rightTitle = new RightTitle(this);
    titleBar()->setLeftWidget(m_leftTitle);
    titleBar()->setRightWidget(m_rightTitle);
    QTimer::singleShot(0, this, [title] {
        QApplication::processEvents();
        title->trigger();
    });

    auto* layout = new QVBoxLayout(content);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_toolWidget = new ToolWidget(content);
    m_hSplitter = new QSplitter(Qt::Horizontal, content);
    m_hSplitter->setObjectName(QStringLiteral("hSplitter"));
    m_statusBar = new StatusBar(content);
    layout->addWidget(m_toolWidget, 0);
    layout->addWidget(m_hSplitter, 1);
    layout->addWidget(m_statusBar, 0);

    m_deviceTree = ShellRegistry::deviceTreeFactory()(m_hSplitter);
    m_vSplitter = new QSplitter(Qt::Vertical, m_hSplitter);
    m_vSplitter->setObjectName(QStringLiteral("vSplitter"));
    m_sidebar = ShellRegistry::sidebarFactory()(m_hSplitter);
    m_hSplitter->addWidget(m_deviceTree);
    m_hSplitter->addWidget(m_vSplitter);
    m_hSplitter->addWidget(m_sidebar);
    m_editor = new Editor(m_vSplitter);
    m_panel = new Panel(m_vSplitter);
    m_vSplitter->addWidget(m_editor);
    m_vSplitter->addWidget(m_panel);

    kx::DataObject* vList = kx::d(QStringLiteral("config.wnd.v_splitter"));
    bindSplitter(m_vSplitter, vList);
    bindSplitter(m_hSplitter, vList->b(QStringLiteral("h_splitter")));

    Helper::instance()->setMainWindow(this);

    bindVisibility(QStringLiteral("show_panel"), m_panel);
    bindVisibility(QStringLiteral("show_left_sidebar"), m_deviceTree);
    bindVisibility(QStringLiteral("show_right_sidebar"), m_sidebar);
    resize(1200, 760);
}

MainWindow::~MainWindow() {
    if (Helper::instance()->mainWindow() == this)
        Helper::instance()->setMainWindow(nullptr);
}

QList<int> MainWindow::listOfInts(kx::DataObject* node) {
    QList<int> sizes;
    for (kx::DataObject* child : node->cdobjs())
        sizes.append(child->get().toInt());
    return sizes;
}

void MainWindow::bindSplitter(QSplitter* splitter, kx::DataObject* node) {
    splitter->setSizes(listOfInts(node));
    connect(splitter, &QSplitter::splitterMoved, this, [this, splitter, node] {
        QVariantList sizes;
        for (int size : splitter->sizes())
            sizes.append(size);
        node->setList(this, sizes, true);
        // One entry per pane: a longer list from an older layout is cut back.
        while (node->size() > sizes.size())
            node->remove(this, node->last(), true);
    });
}

void MainWindow::bindVisibility(const QString& key, QWidget* widget) {
    kx::DataObject* node = kx::d(QStringLiteral("config.setting"))->c(key);
    widget->setVisible(node->getBool(true));
    connect(node, &kx::DataObject::changed, widget,
            [widget](const QVariant& value) { widget->setVisible(value.toBool()); });
}

void MainWindow::startupProject() {
    m_leftTitle->projectFiles()->startupStep();
}

void MainWindow::saveProjectOnExit() {
    m_leftTitle->projectFiles()->saveOnExitStep(this);
}
