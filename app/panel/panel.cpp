#include "app/panel/panel.h"

#include "app/filedialogs.h"
#include "framework/data/atomicfile.h"
#include "framework/data/datamanager.h"
#include "framework/data/dataobject.h"
#include "link/helper.h"

#include <QDateTime>
#include <QHBoxLayout>
#include <QIcon>
#include <QPushButton>
#include <QScrollBar>
#include <QStackedWidget>
#include <QTextBrowser>
#include <QTextCursor>
#include <QToolButton>
#include <QVBoxLayout>

static QTextBrowser* makeBrowser(const QString& name, QWidget* parent) {
    auto* browser = new QTextBrowser(parent);
    browser->setObjectName(name);
    browser->setFrameShape(QFrame::NoFrame);
    browser->document()->setMaximumBlockCount(Panel::kMaxLines);
    auto* layout = new QVBoxLayout(parent);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(browser);
    return browser;
}

Panel::Panel(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Panel"));
    setAttribute(Qt::WA_StyledBackground);
    setStyleSheet(QStringLiteral("QWidget#Panel {\nborder: 1px solid #1e1e1e;\nborder-bottom: none;\n}"));
    auto* layout = new QVBoxLayout(this);
    layout->setSpacing(0);
    layout->setContentsMargins(1, 1, 1, 0);

    auto* title = new QWidget(this);
    title->setObjectName(QStringLiteral("wgtPanelTitle"));
    title->setAttribute(Qt::WA_StyledBackground);
    title->setStyleSheet(
        QStringLiteral("QWidget#wgtPanelTitle { background:#1e1e1e; }\n"
                       "QToolButton, QPushButton { border:none; border-top:1px solid transparent;"
                       " border-bottom:1px solid transparent; background:transparent; padding:2 6px; }\n"
                       "QToolButton:hover, QPushButton:hover { background:#333333; }\n"
                       "QToolButton:checked { border-top:1px solid #ff6900; border-bottom:1px solid #2a2a2a;"
                       " background:#2a2a2a; }"));
    auto* titleLayout = new QHBoxLayout(title);
    titleLayout->setSpacing(0);
    titleLayout->setContentsMargins(0, 0, 0, 0);
    auto* log = new QToolButton(title);
    log->setObjectName(QStringLiteral("tlbtnLog"));
    log->setText(tr("Log"));
    auto* communication = new QToolButton(title);
    communication->setObjectName(QStringLiteral("tlbtnCommunication"));
    communication->setText(tr("Communication"));
    m_tabs = {log, communication};
    for (QToolButton* tab : m_tabs) {
        tab->setCheckable(true);
        titleLayout->addWidget(tab);
    }
    log->setChecked(true);
    titleLayout->addStretch(1);
    auto* clear = new QPushButton(QIcon(QStringLiteral(":/images/clear.png")), tr("Clear"), title);
    clear->setObjectName(QStringLiteral("btnClear"));
    auto* exportButton = new QPushButton(QIcon(QStringLiteral(":/images/save.png")), tr("Export"), title);
    exportButton->setObjectName(QStringLiteral("btnExport"));
    auto* fold = new QPushButton(QIcon(QStringLiteral(":/images/direction/down.png")), QString(), title);
    fold->setObjectName(QStringLiteral("btnFold"));
    fold->setIconSize(QSize(8, 8));
    fold->setStyleSheet(QStringLiteral("border:none; padding:6px;"));
    fold->setToolTip(tr("Hide the panel"));
    for (QPushButton* button : {clear, exportButton, fold})
        titleLayout->addWidget(button);
    layout->addWidget(title);

    m_stack = new QStackedWidget(this);
    m_stack->setObjectName(QStringLiteral("stackedWidget"));
    auto* pgLog = new QWidget(m_stack);
    pgLog->setObjectName(QStringLiteral("pgLog"));
    auto* pgOutput = new QWidget(m_stack);
    pgOutput->setObjectName(QStringLiteral("pgOutput"));
    m_tbLog = makeBrowser(QStringLiteral("tbLog"), pgLog);
    m_tbCommunication = makeBrowser(QStringLiteral("tbCommunication"), pgOutput);
    m_stack->addWidget(pgLog);
    m_stack->addWidget(pgOutput);
    layout->addWidget(m_stack, 1);

    for (QToolButton* tab : m_tabs)
        connect(tab, &QToolButton::clicked, this, [this, tab] { selectTab(m_tabs.indexOf(tab)); });
    connect(clear, &QPushButton::clicked, this, &Panel::clearCurrent);
    connect(exportButton, &QPushButton::clicked, this, &Panel::exportWithDialog);
    connect(fold, &QPushButton::clicked, this,
            [this] { kx::d(QStringLiteral("config.setting.show_panel"))->set(this, false); });

    // Queued: the link thread writes both channels.
    connect(
        kx::d(QStringLiteral("wnd.status.msg")), &kx::DataObject::changed, this,
        [this](const QVariant& value) { append(m_tbLog, m_logCount, value); }, Qt::QueuedConnection);
    connect(
        kx::d(QStringLiteral("output")), &kx::DataObject::changed, this,
        [this](const QVariant& value) { append(m_tbCommunication, m_communicationCount, value); },
        Qt::QueuedConnection);
}

int Panel::currentTab() const {
    return m_stack->currentIndex();
}

void Panel::selectTab(int index) {
    for (int i = 0; i < m_tabs.size(); ++i)
        m_tabs[i]->setChecked(i == index);
    m_stack->setCurrentIndex(index);
}

void Panel::append(QTextBrowser* browser, int& counter, const QVariant& value) {
    ++counter;
    const QString stamp = QDateTime::currentDateTime().toString(tr("yyyy/MM/dd hh:mm:ss"));
    const QString line = QStringLiteral("%1 [%2] %3").arg(counter).arg(stamp, value.toString());
    QScrollBar* bar = browser->verticalScrollBar();
    const bool atEnd = bar->value() == bar->maximum();
    // Inserted as plain text: a status line such as "<ERROR> ..." must not be read as markup.
    QTextCursor cursor(browser->document());
    cursor.movePosition(QTextCursor::End);
    if (!browser->document()->isEmpty())
        cursor.insertBlock();
    cursor.insertText(line);
    if (atEnd)
        bar->setValue(bar->maximum());
}

void Panel::clearCurrent() {
    (currentTab() == 0 ? m_tbLog : m_tbCommunication)->clear();
}

QString Panel::exportTitle() const {
    const QString kind = currentTab() != 0 ? tr("communication") : tr("log");
    return tr("Export %1 file").arg(kind);
}

bool Panel::exportCurrentTo(const QString& path) {
    const QByteArray text = (currentTab() == 0 ? m_tbLog : m_tbCommunication)->toPlainText().toUtf8();
    if (!kx::AtomicFile::writeAll(path, text, nullptr)) {
        Helper::instance()->showError(tr("Cannot write to %1!").arg(path));
        return false;
    }
    return true;
}

void Panel::exportWithDialog() {
    const QString path = FileDialogs::saveFileName(this, exportTitle(), QStringLiteral("*.log"));
    if (!path.isEmpty())
        exportCurrentTo(path);
}
