#include "app/shell/placeholdertools.h"

#include <QHBoxLayout>
#include <QLabel>

PlaceholderTools::PlaceholderTools(const QString& tabTitle, QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("PlaceholderTools"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* label = new QLabel(tr("The %1 tools are not part of this build yet.").arg(tabTitle), this);
    label->setStyleSheet(QStringLiteral("color:#888"));
    layout->addWidget(label);
    layout->addStretch(1);
}
