#include "workbench/param/editchip.h"

#include <QTimer>

EditChip::EditChip(const QString& text, bool accepted, QWidget* parent)
    : QLabel(text, parent, Qt::ToolTip | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("paramEditChip"));
    setAttribute(Qt::WA_DeleteOnClose);
    setStyleSheet(QStringLiteral("padding: 6px; color: white; background:%1")
                      .arg(accepted ? QStringLiteral("green") : QStringLiteral("red")));
    // A rejection stays a little longer: it asks the user to read why.
    QTimer::singleShot(accepted ? 1200 : 1800, this, &QWidget::close);
}

EditChip* EditChip::show(const QString& text, bool accepted, const QPoint& globalPos, QWidget* parent) {
    auto* chip = new EditChip(text, accepted, parent);
    chip->adjustSize();
    chip->move(globalPos);
    chip->QWidget::show();
    return chip;
}
