#pragma once

#include "app/shell/shellregistry.h"

#include <QList>
#include <QPair>
#include <QWidget>

class BaseEditorPage;
class EmptyHint;
class QHBoxLayout;
class QStackedWidget;
class TitleWidget;

namespace kx {
class DataObject;
}

// The central pane: a strip of page titles over a stack of pages, one page in front. Each
// registered page kind opens on its event node, bound to the device activated at the time.
class Editor : public QWidget {
    Q_OBJECT

public:
    explicit Editor(QWidget* parent = nullptr);

    // page must be a BaseEditorPage; the editor takes ownership and selects it.
    void addPage(const QString& kindTitle, QWidget* page);
    void selectPage(int index);
    void closePage(int index);
    // The index of the first page of the kind bound to device, or -1.
    int findPage(const QString& kind, kx::DataObject* device) const;

    int count() const { return m_pages.size(); }
    int currentIndex() const;
    QWidget* page(int index) const;
    TitleWidget* title(int index) const;
    QStackedWidget* stack() const { return m_stack; }
    // Shown instead of the pages while none is open.
    EmptyHint* emptyHint() const { return m_hint; }

    // "Motor %1" with the record's CAN ID.
    static QString displayName(kx::DataObject* device);

private:
    // One request for a page of the kind: refused, the open page selected, or a new page.
    void open(const ShellRegistry::PageEntry& entry);
    void createPage(const ShellRegistry::PageEntry& entry);
    void onCurrentChanged(int index);
    void onDeviceDestroyed(QObject* device);
    void showHintWhenEmpty();

    QHBoxLayout* m_titleLayout;
    QStackedWidget* m_stack;
    EmptyHint* m_hint;
    QList<QPair<TitleWidget*, QWidget*>> m_pages;
};
