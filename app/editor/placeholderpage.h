#pragma once

#include "app/editor/baseeditorpage.h"

#include <QWidget>

// Stands in for a page whose screen is not part of this build; it still takes part in the
// editor's open, select and close rules like the real page.
class PlaceholderPage : public QWidget, public BaseEditorPage {
    Q_OBJECT

public:
    PlaceholderPage(const QString& kind, QWidget* parent = nullptr);
};
