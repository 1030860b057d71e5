#pragma once

#include <QLabel>

// The short message next to an edited value cell: green for an accepted edit, red for a
// rejected one. A frameless tool-tip window that closes (and deletes) itself.
class EditChip : public QLabel {
    Q_OBJECT

public:
    // Shows the chip with its top-left corner at globalPos.
    static EditChip* show(const QString& text, bool accepted, const QPoint& globalPos, QWidget* parent);

private:
    EditChip(const QString& text, bool accepted, QWidget* parent);
};
