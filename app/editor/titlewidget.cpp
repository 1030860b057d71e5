#include "app/editor/titlewidget.h"

#include <QFile>
#include <QHBoxLayout>
#include <QIcon>
#include <QPushButton>
#include <QToolButton>

namespace {
// Read once and shared by every title; empty when the resource is missing.
const QString& titleStyle() {
    static const QString style = [] {
        QFile file(QStringLiteral(":/qss/editor_title.qss"));
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }();
    return style;
}
}  // namespace

TitleWidget::TitleWidget(const QString& text, QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("TitleWidget"));
    setAttribute(Qt::WA_StyledBackground);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Expanding);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(2, 1, 2, 1);
    layout->setSpacing(0);
    m_select = new QToolButton(this);
    m_select->setText(text);
    m_select->setCheckable(true);
    m_select->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Expanding);
    m_close = new QPushButton(QIcon(QStringLiteral(":/images/window/close.png")), QString(), this);
    m_close->setIconSize(QSize(8, 8));
    m_close->setToolTip(tr("Close"));
    layout->addWidget(m_select);
    layout->addWidget(m_close);
    applyStyle(false);
    connect(m_select, &QToolButton::toggled, this, &TitleWidget::applyStyle);
}

QString TitleWidget::text() const {
    return m_select->text();
}

void TitleWidget::applyStyle(bool checked) {
    const QString& style = titleStyle();
    setStyleSheet(style.isEmpty() ? QString()
                                  : QString(style).arg(checked ? QStringLiteral("#404040")
                                                               : QStringLiteral("transparent")));
}
