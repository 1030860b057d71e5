#include "app/shell/placeholdertools.h"

#include <QHBoxLayout>
#include <QLabel>

PlaceholderTools::PlaceholderTools(int tab, QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("PlaceholderTools"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* label = new QLabel(tr("The %1 tools are not part of this build yet.").arg(tabName(tab)), this);
    label->setStyleSheet(QStringLiteral("color:#888"));
    layout->addWidget(label);
    layout->addStretch(1);
}

QString PlaceholderTools::tabName(int tab) {
    switch (tab) {
        case 0:
            return tr("Device");
        case 1:
            return tr("Configure");
        case 2:
            return tr("Analyze");
        default:
            return tr("Help");
    }
}
