#include "app/shell/toolwidget.h"

#include "app/shell/placeholdertools.h"
#include "framework/data/datamanager.h"
#include "framework/data/dataobject.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QIcon>
#include <QPushButton>
#include <QScrollArea>
#include <QScroller>

ToolWidget::ToolWidget(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("ToolWidget"));
    auto* layout = new QHBoxLayout(this);
    layout->setSpacing(4);
    layout->setContentsMargins(4, 0, 4, 1);
    m_scrollArea = new QScrollArea(this);
    m_scrollArea->setFrameShape(QFrame::NoFrame);
    m_scrollArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_scrollArea->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_scrollArea->setWidgetResizable(true);
    m_scrollArea->setFixedHeight(32);
    m_btnEstop = new QPushButton(QIcon(QStringLiteral(":/images/motor/estop2.png")), tr("EStop"), this);
    m_btnEstop->setObjectName(QStringLiteral("btnEstop"));
    m_btnEstop->setIconSize(QSize(20, 20));
    m_btnEstop->setStyleSheet(QStringLiteral("background:#fef000;color:black;"));
    layout->addWidget(m_scrollArea);
    layout->addWidget(m_btnEstop);
    QScroller::grabGesture(m_scrollArea->viewport(), QScroller::LeftMouseButtonGesture);

    kx::DataObject* index = kx::d(QStringLiteral("wnd.left_title.index"));
    connect(index, &kx::DataObject::changed, this, [this](const QVariant& value) { onIndexChanged(value); });
    index->trigger();
    // The motion sidebar carries the program's emergency stop.
    m_btnEstop->setVisible(false);
}

QWidget* ToolWidget::toolsWidget() const {
    return m_tools;
}

QWidget* ToolWidget::buildStrip(const ShellRegistry::TabEntry& tab) {
    auto* strip = new QWidget(this);
    strip->setObjectName(QStringLiteral("ToolStrip"));
    auto* layout = new QHBoxLayout(strip);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(6);
    m_tools = tab.tools ? tab.tools(strip) : new PlaceholderTools(tab.title.translated(), strip);
    layout->addWidget(m_tools);
    // Buttons other screens add to this tab follow the tab's own tools.
    const QList<ShellRegistry::ActionEntry> actions = ShellRegistry::actions(tab.key);
    if (!actions.isEmpty()) {
        auto* line = new QFrame(strip);
        line->setFrameShape(QFrame::VLine);
        line->setFrameShadow(QFrame::Sunken);
        layout->addWidget(line);
    }
    for (const ShellRegistry::ActionEntry& action : actions) {
        auto* button = new QPushButton(QIcon(action.icon), action.text.translated(), strip);
        button->setObjectName(action.objectName);
        button->setIconSize(QSize(18, 18));
        connect(button, &QPushButton::clicked, this, [run = action.run, trigger = action.trigger] {
            if (run)
                run();
            else
                kx::d(trigger)->trigger();
        });
        layout->addWidget(button);
    }
    layout->addStretch(1);
    return strip;
}

void ToolWidget::onIndexChanged(const QVariant& value) {
    // A value that names no tab leaves the strip as it is.
    for (const ShellRegistry::TabEntry& tab : ShellRegistry::tabs()) {
        if (tab.index == value.toInt()) {
            // setWidget() deletes the previous strip with its tools.
            m_scrollArea->setWidget(buildStrip(tab));
            return;
        }
    }
}
