#include "app/screenwalk.h"

#include "app/shell/lefttitle.h"
#include "app/shell/mainwindow.h"
#include "app/shell/toolwidget.h"
#include "framework/data/datamanager.h"
#include "framework/data/dataobject.h"
#include "framework/log/qflog.h"
#include "link/canworker.h"
#include "link/helper.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QDoubleSpinBox>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollArea>
#include <QSet>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTabBar>
#include <QTabWidget>
#include <QTextDocumentFragment>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>

#include <algorithm>

namespace {

constexpr int kSettleMs = 300;
constexpr int kMaxCells = 400;
constexpr int kMaxLines = 300;

// Buttons the walk leaves alone because they change the bench at once, without asking:
// the walk must find the motors as it left them.
const char* const kUntouched[] = {"btnChangeCanId"};

QString plain(const QString& text) {
    return Qt::mightBeRichText(text) ? QTextDocumentFragment::fromHtml(text).toPlainText() : text;
}

QString pathOf(QWidget* widget) {
    QStringList parts;
    for (QWidget* w = widget; w && parts.size() < 3; w = w->parentWidget()) {
        const QString name = w->objectName();
        parts.prepend(name.isEmpty() ? QString::fromLatin1(w->metaObject()->className()) : name);
    }
    return parts.join(QLatin1Char('/'));
}

QString fileSafe(const QString& text) {
    static const QRegularExpression unsafe(QStringLiteral("[^A-Za-z0-9_.-]+"));
    return QString(text).replace(unsafe, QStringLiteral("_")).left(90);
}

bool insideComboBox(QWidget* widget) {
    for (QWidget* w = widget->parentWidget(); w; w = w->parentWidget()) {
        if (qobject_cast<QComboBox*>(w))
            return true;
    }
    return false;
}

int connectedMotors() {
    int motors = 0;
    for (kx::DataObject* device : kx::d(QStringLiteral("project.device"))->cdobjs())
        motors += device->c(QStringLiteral("_connected"))->getBool(false) ? 1 : 0;
    return motors;
}

}  // namespace

ScreenWalk* ScreenWalk::startFromEnvironment(MainWindow* window) {
    const QString out = qEnvironmentVariable("TRIVANE_SCREENWALK");
    if (out.isEmpty())
        return nullptr;
    Options options;
    options.outDir = out;
    options.pictures = qEnvironmentVariableIntValue("TRIVANE_SCREENWALK_PNG") != 0;
    options.port = qEnvironmentVariable("TRIVANE_SCREENWALK_PORT");
    options.devices = qMax(1, qEnvironmentVariableIntValue("TRIVANE_SCREENWALK_DEVICES"));
    return new ScreenWalk(window, options, window);
}

ScreenWalk::ScreenWalk(MainWindow* window, const Options& options, QObject* parent)
    : QObject(parent), m_window(window), m_options(options) {
    m_watch = new QTimer(this);
    m_watch->setInterval(100);
    connect(m_watch, &QTimer::timeout, this, &ScreenWalk::watchModal);
    QTimer::singleShot(0, this, &ScreenWalk::run);
}

void ScreenWalk::run() {
    QDir().mkpath(m_options.outDir);
    m_texts.setFileName(QDir(m_options.outDir).filePath(QStringLiteral("texts.tsv")));
    if (!m_texts.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text)) {
        kx::logE() << "screen walk: cannot write " + m_texts.fileName();
        QCoreApplication::exit(1);
        return;
    }
    m_watch->start();
    settle(1000);
    visit(QStringLiteral("start"), m_window);
    walkMenus(QStringLiteral("start"));
    walkTabs(QStringLiteral("offline"));
    walkStacks(QStringLiteral("offline"));
    if (!m_options.port.isEmpty() && !walkBench())
        m_failed = true;
    m_watch->stop();
    m_texts.close();
    kx::logI() << QStringLiteral("screen walk done: %1 pictures").arg(m_pictures);
    QCoreApplication::exit(m_failed ? 1 : 0);
}

bool ScreenWalk::walkBench() {
    CANWorker* worker = Helper::instance()->worker();
    if (!worker)
        return false;
    m_step = QStringLiteral("bench");
    worker->connectPort(m_options.port);
    if (!waitFor([this] { return connectedMotors() >= m_options.devices; }, 60000)) {
        kx::logE() << "screen walk: the motors on " + m_options.port + " were not found";
        return false;
    }
    settle(1500);
    visit(QStringLiteral("bench"), m_window);
    walkTabs(QStringLiteral("bench"));
    walkStacks(QStringLiteral("bench"));
    walkMenus(QStringLiteral("bench"));
    return true;
}

void ScreenWalk::walkMenus(const QString& phase) {
    QList<QPointer<QMenu>> menus;
    for (QMenu* menu : m_window->findChildren<QMenu*>())
        menus.append(menu);
    for (const QPointer<QMenu>& menu : menus) {
        if (!menu || menu->actions().isEmpty())
            continue;
        m_step = phase + QStringLiteral("-menu-") + menu->objectName();
        menu->popup(m_window->mapToGlobal(QPoint(m_window->width() / 2, 40)));
        settle(kSettleMs);
        visit(m_step, menu);
        menu->hide();
    }
}

void ScreenWalk::walkTabs(const QString& phase) {
    QList<QPointer<QToolButton>> tabs;
    for (QToolButton* tab : m_window->leftTitle()->tabButtons())
        tabs.append(tab);
    for (const QPointer<QToolButton>& tab : tabs) {
        if (!tab)
            continue;
        const QString tabName = phase + QStringLiteral("-") + tab->objectName();
        m_step = tabName;
        tab->click();
        settle(kSettleMs);
        visit(tabName, m_window);
        // The whole strip: the tab's own tools and the buttons other screens added to it.
        QWidget* tools = m_window->toolWidget();
        if (!tools)
            continue;
        QList<QPointer<QAbstractButton>> buttons;
        for (QAbstractButton* button : tools->findChildren<QAbstractButton*>())
            buttons.append(button);
        for (const QPointer<QAbstractButton>& button : buttons) {
            if (!button || !button->isVisible() || !button->isEnabled())
                continue;
            if (std::find(std::begin(kUntouched), std::end(kUntouched), button->objectName()) !=
                std::end(kUntouched))
                continue;
            click(button, tabName + QStringLiteral("-") + button->objectName());
        }
    }
}

void ScreenWalk::walkStacks(const QString& phase) {
    QList<QPointer<QWidget>> stacks;
    for (QStackedWidget* stack : m_window->findChildren<QStackedWidget*>())
        stacks.append(stack);
    for (QTabWidget* tabs : m_window->findChildren<QTabWidget*>())
        stacks.append(tabs);
    for (const QPointer<QWidget>& stack : stacks) {
        if (!stack || !stack->isVisible())
            continue;
        auto* stacked = qobject_cast<QStackedWidget*>(stack);
        auto* tabs = qobject_cast<QTabWidget*>(stack);
        const int count = stacked ? stacked->count() : tabs->count();
        const int kept = stacked ? stacked->currentIndex() : tabs->currentIndex();
        if (count < 2)
            continue;
        for (int i = 0; i < count; ++i) {
            if (!stack)
                break;
            stacked ? stacked->setCurrentIndex(i) : tabs->setCurrentIndex(i);
            QWidget* page = stacked ? stacked->widget(i) : tabs->widget(i);
            m_step =
                QStringLiteral("%1-%2-%3").arg(phase, pathOf(stack), page ? page->objectName() : QString());
            settle(kSettleMs);
            visit(m_step, m_window);
        }
        if (stack)
            stacked ? stacked->setCurrentIndex(kept) : tabs->setCurrentIndex(kept);
    }
}

void ScreenWalk::click(QAbstractButton* button, const QString& screen) {
    m_step = screen;
    const QList<QWidget*> before = QApplication::topLevelWidgets();
    button->click();
    settle(kSettleMs * 2);
    visit(screen, m_window);
    // Windows that opened without being modal (pop-ups, tool windows): look, then close.
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (top == m_window || before.contains(top) || !top->isVisible() || qobject_cast<QMenu*>(top))
            continue;
        visit(screen + QStringLiteral("-") + pathOf(top), top);
        top->close();
    }
}

void ScreenWalk::watchModal() {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || !modal->isVisible())
        return;
    // One round to lay out and paint first.
    int& rounds = m_modalSeen[modal];
    if (rounds++ == 0)
        return;
    m_modalSeen.remove(modal);
    QString name = modal->objectName();
    if (name.isEmpty())
        name = QString::fromLatin1(modal->metaObject()->className());
    visit(m_step + QStringLiteral("-") + name, modal);
    // Every question is answered the careful way: Cancel, or whatever closes the box.
    if (auto* box = qobject_cast<QMessageBox*>(modal)) {
        if (QAbstractButton* escape = box->escapeButton()) {
            escape->click();
            return;
        }
    }
    if (auto* dialog = qobject_cast<QDialog*>(modal))
        dialog->reject();
    else
        modal->close();
}

void ScreenWalk::visit(const QString& screen, QWidget* root) {
    recordWidget(screen, root);
    for (QWidget* child : root->findChildren<QWidget*>())
        recordWidget(screen, child);
    if (!m_options.pictures)
        return;
    const QString base =
        QStringLiteral("%1-%2").arg(++m_pictures, 3, 10, QLatin1Char('0')).arg(fileSafe(screen));
    // A pop-up is taken from the screen, as the user sees it over the window.
    QPixmap picture = root->grab();
    if (qobject_cast<QMenu*>(root) && root->screen()) {
        const QRect area = root->frameGeometry();
        picture = root->screen()->grabWindow(0, area.x(), area.y(), area.width(), area.height());
    }
    picture.save(QDir(m_options.outDir).filePath(base + QStringLiteral(".png")));
    // What a scroll area hides below its edge is a screen too.
    for (QScrollArea* area : root->findChildren<QScrollArea*>()) {
        QWidget* content = area->widget();
        if (area->isVisible() && content && content->height() > area->viewport()->height() + 20)
            content->grab().save(
                QDir(m_options.outDir)
                    .filePath(base + QStringLiteral("-") + fileSafe(pathOf(area)) + QStringLiteral(".png")));
    }
}

void ScreenWalk::recordWidget(const QString& screen, QWidget* w) {
    if (w->isWindow() && !w->windowTitle().isEmpty())
        record(screen, QStringLiteral("text"), w, w->windowTitle());
    record(screen, QStringLiteral("text"), w, w->toolTip());
    for (const QString& text : w->property("shownTexts").toStringList())
        record(screen, QStringLiteral("text"), w, text);
    if (auto* label = qobject_cast<QLabel*>(w)) {
        record(screen, QStringLiteral("text"), w, label->text());
    } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
        record(screen, QStringLiteral("text"), w, button->text());
    } else if (auto* group = qobject_cast<QGroupBox*>(w)) {
        record(screen, QStringLiteral("text"), w, group->title());
    } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
        // Items often list what the motors or the system have (ports, channels, devices).
        for (int i = 0; i < combo->count(); ++i)
            record(screen, QStringLiteral("item"), w, combo->itemText(i));
    } else if (auto* spin = qobject_cast<QSpinBox*>(w)) {
        record(screen, QStringLiteral("text"), w, spin->prefix() + spin->suffix());
        record(screen, QStringLiteral("text"), w, spin->specialValueText());
    } else if (auto* dspin = qobject_cast<QDoubleSpinBox*>(w)) {
        record(screen, QStringLiteral("text"), w, dspin->prefix() + dspin->suffix());
        record(screen, QStringLiteral("text"), w, dspin->specialValueText());
    } else if (auto* edit = qobject_cast<QLineEdit*>(w)) {
        record(screen, QStringLiteral("text"), w, edit->placeholderText());
    } else if (auto* bar = qobject_cast<QTabBar*>(w)) {
        for (int i = 0; i < bar->count(); ++i)
            record(screen, QStringLiteral("text"), w, bar->tabText(i));
    } else if (auto* menu = qobject_cast<QMenu*>(w)) {
        for (QAction* action : menu->actions())
            record(screen, QStringLiteral("text"), w, action->text());
    } else if (auto* text = qobject_cast<QTextEdit*>(w)) {
        const QStringList lines = text->toPlainText().split(QLatin1Char('\n'));
        for (int i = qMax(0, lines.size() - kMaxLines); i < lines.size(); ++i)
            record(screen, QStringLiteral("line"), w, lines[i]);
    } else if (auto* plainText = qobject_cast<QPlainTextEdit*>(w)) {
        const QStringList lines = plainText->toPlainText().split(QLatin1Char('\n'));
        for (int i = qMax(0, lines.size() - kMaxLines); i < lines.size(); ++i)
            record(screen, QStringLiteral("line"), w, lines[i]);
    } else if (auto* view = qobject_cast<QAbstractItemView*>(w)) {
        QAbstractItemModel* model = view->model();
        if (!model || qobject_cast<QHeaderView*>(w) || insideComboBox(w))
            return;
        for (int c = 0; c < model->columnCount(); ++c)
            record(screen, QStringLiteral("text"), w, model->headerData(c, Qt::Horizontal).toString());
        // Breadth first through the tree, up to a bound: tables of motor data are long.
        QList<QModelIndex> parents{QModelIndex()};
        int cells = 0;
        while (!parents.isEmpty() && cells < kMaxCells) {
            const QModelIndex parent = parents.takeFirst();
            for (int r = 0; r < model->rowCount(parent) && cells < kMaxCells; ++r) {
                for (int c = 0; c < model->columnCount(parent); ++c, ++cells) {
                    const QModelIndex index = model->index(r, c, parent);
                    record(screen, QStringLiteral("item"), w, index.data().toString());
                    if (c == 0 && model->hasChildren(index))
                        parents.append(index);
                }
            }
        }
    }
}

void ScreenWalk::record(const QString& screen, const QString& kind, QWidget* widget, const QString& text) {
    const QString shown = plain(text).trimmed();
    // Each text once, with the first screen that showed it.
    if (shown.isEmpty() || !m_texts.isOpen() || m_written.contains(kind + shown))
        return;
    m_written.insert(kind + shown);
    QString line = screen + QLatin1Char('\t') + kind + QLatin1Char('\t') + pathOf(widget) +
                   QLatin1Char('\t') +
                   QString(shown)
                       .replace(QLatin1Char('\t'), QStringLiteral("\\t"))
                       .replace(QLatin1Char('\n'), QStringLiteral("\\n"));
    line += QLatin1Char('\n');
    m_texts.write(line.toUtf8());
}

void ScreenWalk::settle(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

bool ScreenWalk::waitFor(const std::function<bool()>& done, int ms) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > ms)
            return false;
        settle(100);
    }
    return true;
}
