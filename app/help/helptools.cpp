#include "app/help/helptools.h"

#include "app/appinfo.h"
#include "framework/data/datamanager.h"
#include "framework/data/dataobject.h"
#include "link/helper.h"

#include <QHBoxLayout>
#include <QMessageBox>
#include <QPushButton>

HelpTools::HelpTools(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("HelpTools"));
    auto* layout = new QHBoxLayout(this);
    layout->setObjectName(QStringLiteral("horizontalLayout"));
    layout->setContentsMargins(0, 0, 0, 0);
    auto* instruction = new QPushButton(tr("Instruction"), this);
    instruction->setObjectName(QStringLiteral("pushButton_12"));
    auto* about = new QPushButton(tr("About"), this);
    about->setObjectName(QStringLiteral("pushButton_11"));
    layout->addWidget(instruction);
    layout->addWidget(about);
    layout->addSpacerItem(new QSpacerItem(377, 20, QSizePolicy::Expanding, QSizePolicy::Minimum));

    connect(instruction, &QPushButton::clicked, this,
            [] { kx::d(QStringLiteral("trigger.help.instruction"))->trigger(); });
    connect(about, &QPushButton::clicked, this, &HelpTools::showAbout);
}

QString HelpTools::aboutTitle() {
    return tr("About %1").arg(kx::d(QStringLiteral("wnd.title"))->getString());
}

QString HelpTools::aboutText() {
    return tr("Version %1\n\nBuilt %2").arg(AppInfo::version(), AppInfo::buildDate());
}

void HelpTools::showAbout() {
    QMessageBox::about(qobject_cast<QWidget*>(Helper::instance()->mainWindow()), aboutTitle(), aboutText());
}
