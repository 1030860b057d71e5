#include "app/shell/righttitle.h"

#include "app/language.h"
#include "framework/data/datamanager.h"
#include "framework/data/dataobject.h"
#include "link/helper.h"

#include <QAction>
#include <QActionGroup>
#include <QTranslator>
#include <QHBoxLayout>
#include <QIcon>
#include <QMenu>
#include <QPushButton>
#include <QSignalBlocker>

static QPushButton* titleButton(const QString& name, const QString& icon, QWidget* parent) {
    auto* button = new QPushButton(parent);
    button->setObjectName(name);
    button->setIcon(QIcon(icon));
    button->setIconSize(QSize(14, 14));
    button->setFixedSize(32, 30);
    button->setStyleSheet(
        QStringLiteral("QPushButton { border:none; background:transparent; }\n"
                       "QPushButton:hover { background:#2b2b2b; }"));
    return button;
}

RightTitle::RightTitle(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("RightTitle"));
    auto* layout = new QHBoxLayout(this);
    layout->setSpacing(0);
    layout->setContentsMargins(0, 0, 0, 0);
    QPushButton* tab =
        titleButton(QStringLiteral("btnTab"), QStringLiteral(":/images/motor/title_tab.png"), this);
    QPushButton* grid =
        titleButton(QStringLiteral("btnGrid"), QStringLiteral(":/images/motor/title_flat.png"), this);
    QPushButton* stack =
        titleButton(QStringLiteral("btnStack"), QStringLiteral(":/images/motor/title_fold.png"), this);
    m_btnSetting = titleButton(QStringLiteral("btnSetting"), QStringLiteral(":/images/setting.png"), this);
    m_btnSetting->setToolTip(tr("Settings"));
    for (QPushButton* button : {tab, grid, stack, m_btnSetting})
        layout->addWidget(button);
    // The editor shows one page at a time; the layout switches have nothing to switch.
    tab->setVisible(false);
    grid->setVisible(false);
    stack->setVisible(false);

    m_menu = new QMenu(this);
    m_menu->setObjectName(QStringLiteral("menuSetting"));
    m_menu->setFixedWidth(kMenuWidth);
    bind(tr("Show pannel"), QStringLiteral("show_panel"));
    bind(tr("Show left sidebar"), QStringLiteral("show_left_sidebar"));
    bind(tr("Show right sidebar"), QStringLiteral("show_right_sidebar"));
    m_menu->addSeparator();
    bind(tr("Auto connect COM"), QStringLiteral("auto_connect"));
    bind(tr("Enable multiple devices"), QStringLiteral("enable_multiple_devices"));
    bind(tr("Upload param table on connected"), QStringLiteral("upload_param_on_connected"));
    bind(tr("Remove all device on disconnected"), QStringLiteral("remove_device_on_disconnected"));
    m_menu->addSeparator();
    bind(tr("Activate selected device"), QStringLiteral("trigger_by_left"));
    bind(tr("Auto increase desired CAN ID"), QStringLiteral("auto_increase_can_id"));
    buildLanguageMenu();

    connect(m_btnSetting, &QPushButton::clicked, this, &RightTitle::showMenu);
}

void RightTitle::bind(const QString& text, const QString& key) {
    kx::DataObject* node = kx::d(QStringLiteral("config.setting.") + key);
    QAction* action = m_menu->addAction(text);
    action->setObjectName(key);
    action->setCheckable(true);
    action->setChecked(node->getBool(false));
    connect(action, &QAction::toggled, this, [this, node](bool on) { node->set(this, on); });
    connect(node, &kx::DataObject::changed, action,
            [this, action](const QVariant& value, const QVariant&, QObject* changer) {
                if (changer == this)
                    return;
                const QSignalBlocker blocker(action);
                action->setChecked(value.toBool());
            });
}

QAction* RightTitle::action(const QString& key) const {
    return m_menu->findChild<QAction*>(key);
}

// The language applies at the next start rather than at once: every screen builds its texts
// when it is made, and rebuilding the window would close open pages and a running recording.
void RightTitle::buildLanguageMenu() {
    m_menu->addSeparator();
    m_languageMenu = m_menu->addMenu(tr("Language"));
    m_languageMenu->setObjectName(QStringLiteral("menuLanguage"));
    auto* group = new QActionGroup(m_languageMenu);
    group->setExclusive(true);
    const QString configured = Language::configured();
    for (const QString& code : Language::codes()) {
        QAction* choice = m_languageMenu->addAction(Language::nativeName(code));
        choice->setObjectName(QStringLiteral("language_") + code);
        choice->setCheckable(true);
        choice->setChecked(code == configured);
        group->addAction(choice);
        connect(choice, &QAction::triggered, this, [this, code] { chooseLanguage(code); });
    }
    m_languageMenu->addSeparator();
    QAction* note = m_languageMenu->addAction(tr("Applies at the next start"));
    note->setObjectName(QStringLiteral("languageNote"));
    note->setEnabled(false);
}

QAction* RightTitle::languageAction(const QString& code) const {
    return m_languageMenu->findChild<QAction*>(QStringLiteral("language_") + code);
}

void RightTitle::chooseLanguage(const QString& code) {
    if (!Language::isKnown(code) || code == Language::configured())
        return;
    Language::setConfigured(code);
    if (QAction* choice = languageAction(code))
        choice->setChecked(true);
    if (code != Language::running())
        Helper::instance()->showInformation(restartNote(code));
}

QString RightTitle::restartNote(const QString& code) {
    const char* source = QT_TR_NOOP("The interface will be in %1 from the next start of %2.");
    const QString title = kx::d(QStringLiteral("wnd.title"))->getString();
    const QString now = tr(source).arg(Language::nativeName(code), title);
    // The reader may not read the language shown now: say it in the chosen one as well.
    QTranslator chosen;
    QString then = chosen.load(QStringLiteral("./i18n/%1.qm").arg(code))
                       ? chosen.translate("RightTitle", source)
                       : QString();
    if (then.isEmpty())
        then = QString::fromLatin1(source);
    then = then.arg(Language::nativeName(code), title);
    return then == now ? now : now + QStringLiteral("\n\n") + then;
}

void RightTitle::showMenu() {
    const QPoint corner = m_btnSetting->mapToGlobal(m_btnSetting->rect().bottomLeft());
    m_menu->popup(QPoint(corner.x() - kMenuWidth / 2, corner.y()));
}
