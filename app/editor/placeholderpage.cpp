#include "app/editor/placeholderpage.h"

#include <QLabel>
#include <QVBoxLayout>

PlaceholderPage::PlaceholderPage(const QString& kind, QWidget* parent)
    : QWidget(parent), BaseEditorPage(kind) {
    setObjectName(QStringLiteral("PlaceholderPage"));
    auto* layout = new QVBoxLayout(this);
    auto* label = new QLabel(tr("This page is not part of this build yet."), this);
    label->setAlignment(Qt::AlignCenter);
    label->setStyleSheet(QStringLiteral("color:#888"));
    layout->addWidget(label);
}
