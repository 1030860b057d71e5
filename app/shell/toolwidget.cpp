#include "app/shell/toolwidget.h"

#include "app/shell/shellregistry.h"
#include "framework/data/datamanager.h"
#include "framework/data/dataobject.h"

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
    return m_scrollArea->widget();
}

void ToolWidget::onIndexChanged(const QVariant& value) {
    const ShellRegistry::WidgetFactory factory = ShellRegistry::toolsFactory(value.toInt());
    if (!factory)
        return;
    // setWidget() deletes the previous tools widget.
    m_scrollArea->setWidget(factory(this));
}
