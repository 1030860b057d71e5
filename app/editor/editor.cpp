#include "app/editor/editor.h"

#include "app/editor/baseeditorpage.h"
#include "app/editor/placeholderpage.h"
#include "app/editor/emptyhint.h"
#include "app/editor/titlewidget.h"
#include "framework/data/datamanager.h"
#include "framework/data/dataobject.h"
#include "framework/log/qflog.h"
#include "link/canworker.h"
#include "link/helper.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QScrollArea>
#include <QScroller>
#include <QStackedWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

// "<kind> - <motor>"; the motor is left out while it is the only one.
QString titleText(const QString& kindTitle, kx::DataObject* device) {
    kx::DataObject* parent = device->pdobj();
    if (!device->isEmpty() && parent && parent->size() == 1)
        return kindTitle;
    return Editor::tr("%1 - %2").arg(kindTitle, Editor::displayName(device));
}

}  // namespace

Editor::Editor(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Editor"));
    setAttribute(Qt::WA_StyledBackground);
    setStyleSheet(QStringLiteral("Editor {\nborder:1px solid #1e1e1e;\n}"));
    auto* layout = new QVBoxLayout(this);
    layout->setSpacing(0);
    layout->setContentsMargins(1, 0, 1, 1);

    auto* strip = new QScrollArea(this);
    strip->setFrameShape(QFrame::NoFrame);
    strip->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    strip->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    strip->setWidgetResizable(true);
    strip->setMaximumHeight(30);
    strip->setStyleSheet(QStringLiteral("QScrollArea {\nborder:none;\nborder-bottom:1px solid #1e1e1e;\n}"));
    auto* titles = new QWidget(strip);
    titles->setFixedHeight(28);
    m_titleLayout = new QHBoxLayout(titles);
    m_titleLayout->setSpacing(1);
    m_titleLayout->setContentsMargins(0, 0, 0, 0);
    m_titleLayout->addSpacerItem(new QSpacerItem(237, 20, QSizePolicy::Expanding, QSizePolicy::Minimum));
    strip->setWidget(titles);
    QScroller::grabGesture(strip->viewport(), QScroller::LeftMouseButtonGesture);
    layout->addWidget(strip);

    m_stack = new QStackedWidget(this);
    m_stack->setObjectName(QStringLiteral("stackedWidget"));
    layout->addWidget(m_stack, 1);
    m_hint = new EmptyHint(this);
    layout->addWidget(m_hint, 1);
    showHintWhenEmpty();
    connect(m_stack, &QStackedWidget::currentChanged, this, &Editor::onCurrentChanged);

    // Every registered page kind opens on its own event node.
    for (const ShellRegistry::PageEntry& entry : ShellRegistry::pages())
        connect(kx::d(entry.trigger), &kx::DataObject::changed, this, [this, entry] { open(entry); });
}

QString Editor::displayName(kx::DataObject* device) {
    return CANWorker::deviceDisplayName(device);
}

int Editor::currentIndex() const {
    return m_stack->currentIndex();
}

QWidget* Editor::page(int index) const {
    return index >= 0 && index < count() ? m_pages[index].second : nullptr;
}

TitleWidget* Editor::title(int index) const {
    return index >= 0 && index < count() ? m_pages[index].first : nullptr;
}

int Editor::findPage(const QString& kind, kx::DataObject* device) const {
    for (int i = 0; i < m_stack->count(); ++i) {
        auto* page = dynamic_cast<BaseEditorPage*>(m_stack->widget(i));
        // A page that belongs to no device is the one page of its kind.
        if (page && page->kind() == kind && (!page->isBound() || page->device() == device))
            return i;
    }
    return -1;
}

void Editor::open(const ShellRegistry::PageEntry& entry) {
    Helper* helper = Helper::instance();
    if (entry.refusal) {
        const QString why = entry.refusal(helper->currentDeviceDobj());
        if (!why.isEmpty()) {
            helper->showWarning(why);
            return;
        }
    }
    kx::DataObject* device = helper->currentDeviceDobj();
    if (entry.needsDevice && !helper->activatedDevice())
        return;
    const int index = findPage(entry.kind, device);
    if (index >= 0 && !entry.recreate) {
        selectPage(index);
        return;
    }
    if (index >= 0)
        closePage(index);
    createPage(entry);
}

void Editor::createPage(const ShellRegistry::PageEntry& entry) {
    QWidget* page = entry.factory ? entry.factory(nullptr) : new PlaceholderPage(entry.kind);
    auto* base = dynamic_cast<BaseEditorPage*>(page);
    if (!base || base->kind() != entry.kind) {
        // Found by its kind later on, such a page would be opened again on every request.
        kx::logE() << "the page made for kind " + entry.kind + " is no editor page of that kind";
        delete page;
        return;
    }
    kx::DataObject* device = base->device();
    if (!device->isEmpty())
        connect(device, &QObject::destroyed, this, &Editor::onDeviceDestroyed, Qt::UniqueConnection);
    addPage(entry.title.translated(), page);
}

void Editor::onDeviceDestroyed(QObject*) {
    // The record is gone, so the pages bound to it now report the empty node: close every
    // page whose record vanished (pages opened without a device never had one).
    for (int i = count() - 1; i >= 0; --i) {
        auto* page = dynamic_cast<BaseEditorPage*>(m_pages[i].second);
        if (page && page->hadDevice() && page->device()->isEmpty())
            closePage(i);
    }
}

void Editor::addPage(const QString& kindTitle, QWidget* page) {
    auto* base = dynamic_cast<BaseEditorPage*>(page);
    const bool bound = !base || base->isBound();
    kx::DataObject* device = bound ? Helper::instance()->currentDeviceDobj() : kx::d().emptyDobj();
    auto* title =
        new TitleWidget(bound ? titleText(kindTitle, device) : kindTitle, m_titleLayout->parentWidget());
    // The title names the motor by its CAN ID, which can change while the page is open.
    if (!device->isEmpty()) {
        QToolButton* select = title->selectButton();
        connect(device->r(QStringLiteral("info.can_id")), &kx::DataObject::changed, select,
                [select, kindTitle, device] { select->setText(titleText(kindTitle, device)); });
    }
    m_titleLayout->insertWidget(count(), title);
    m_stack->addWidget(page);
    m_pages.append({title, page});

    connect(title->selectButton(), &QToolButton::clicked, this, [this, title, page] {
        for (const auto& pair : qAsConst(m_pages))
            pair.first->selectButton()->setChecked(pair.first == title);
        m_stack->setCurrentWidget(page);
    });
    connect(title->closeButton(), &QPushButton::clicked, this, [this, title] {
        int index = 0;
        for (int i = 0; i < m_pages.size(); ++i) {
            if (m_pages[i].first == title)
                index = i;
        }
        closePage(index);
    });
    title->selectButton()->click();
    showHintWhenEmpty();
}

void Editor::showHintWhenEmpty() {
    m_stack->setVisible(count() > 0);
    m_hint->setVisible(count() == 0);
}

void Editor::selectPage(int index) {
    if (index < 0 || index >= count())
        return;
    for (int i = 0; i < m_pages.size(); ++i)
        m_pages[i].first->selectButton()->setChecked(i == index);
    m_stack->setCurrentIndex(index);
}

void Editor::closePage(int index) {
    if (index < 0 || index >= count())
        return;
    const auto pair = m_pages.takeAt(index);
    m_titleLayout->removeWidget(pair.first);
    delete pair.first;
    m_stack->removeWidget(pair.second);
    delete pair.second;
    if (index < count())
        m_pages[index].first->selectButton()->click();
    showHintWhenEmpty();
}

void Editor::onCurrentChanged(int index) {
    auto* page = dynamic_cast<BaseEditorPage*>(m_stack->widget(index));
    if (page)
        Helper::instance()->setEditDevice(page->device(), page->kind());
    else
        Helper::instance()->setEditDevice(kx::d().emptyDobj(), QString());
}
