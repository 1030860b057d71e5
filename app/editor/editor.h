#pragma once

#include <QList>
#include <QPair>
#include <QWidget>

class BaseEditorPage;
class QHBoxLayout;
class QStackedWidget;
class TitleWidget;

namespace kx {
class DataObject;
}

// The central pane: a strip of page titles over a stack of pages, one page in front. Pages
// are opened by the events under "trigger", each bound to the device activated at the time.
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

    // "Motor %1" with the record's CAN ID.
    static QString displayName(kx::DataObject* device);

private:
    void openDeviceInfo();
    void openParamTable();
    void openOscilloscope();
    void openBusMonitor();
    void openInstruction();
    // Creates the page of the kind through the registered factory and adds it.
    void createPage(const QString& kind, const QString& kindTitle);
    void onCurrentChanged(int index);
    void onDeviceDestroyed(QObject* device);

    QHBoxLayout* m_titleLayout;
    QStackedWidget* m_stack;
    QList<QPair<TitleWidget*, QWidget*>> m_pages;
};
