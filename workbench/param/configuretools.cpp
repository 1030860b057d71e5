#include "workbench/param/configuretools.h"

#include "app/filedialogs.h"
#include "framework/data/datamanager.h"
#include "framework/data/dataobject.h"
#include "link/canworker.h"
#include "link/helper.h"
#include "link/linkcommands.h"
#include "link/motionguard.h"
#include "link/linkstates.h"
#include "link/motormodel.h"
#include "link/param/parambackup.h"
#include "link/otathread.h"
#include "link/param/paramstore.h"
#include "workbench/param/paramtablepage.h"
#include "workbench/param/restoredialog.h"

#include <QFileInfo>
#include <QFrame>
#include <QHBoxLayout>
#include <QPointer>
#include <QPushButton>

namespace {

QPointer<RestoreDialog>& lastRestoreDialog() {
    static QPointer<RestoreDialog> dialog;
    return dialog;
}

}  // namespace

ConfigureTools::ConfigureTools(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("ConfigureTools"));
    resize(808, 24);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);

    connect(addButton("btnNewParamTable", tr("Param Table"), ":/images/param.png"), &QPushButton::clicked,
            this, [] { kx::d(QStringLiteral("trigger.configure.param.new"))->trigger(); });
    addSeparator("line");
    m_upload = addButton("btnUploadParam", tr("Upload Param"), ":/images/motor/upload.png");
    m_download = addButton("btnDownloadParam", tr("Download Param"), ":/images/motor/download.png");
    auto* exportButton = addButton("btnExportParam", tr("Export Param"), ":/images/save.png");
    addSeparator("line_4");
    m_backup = addButton("btnBackupParam", tr("Backup"), ":/images/backup.png");
    m_restore = addButton("btnRestoreParam", tr("Restore..."), ":/images/restore.png");
    addSeparator("line_3");
    auto* reset =
        addButton("btnFactoryReset", tr("Factory Reset"), ":/images/motor/reset.png", QSize(16, 12));
    addSeparator("line_2");
    auto* alarm = addButton("btnClearAlarm", tr("Clear Alarm"), ":/images/alarm.png", QSize(18, 18));
    layout->addStretch(1);

    connect(m_upload, &QPushButton::clicked, this, &ConfigureTools::onUpload);
    connect(m_download, &QPushButton::clicked, this, &ConfigureTools::onDownload);
    connect(exportButton, &QPushButton::clicked, this, &ConfigureTools::onExport);
    connect(m_backup, &QPushButton::clicked, this, &ConfigureTools::onBackup);
    connect(m_restore, &QPushButton::clicked, this, &ConfigureTools::onRestore);
    connect(reset, &QPushButton::clicked, this, &ConfigureTools::onFactoryReset);
    connect(alarm, &QPushButton::clicked, this, &ConfigureTools::onClearAlarm);

    Helper* helper = Helper::instance();
    connect(helper, &Helper::editDevieDobjChanged, this, &ConfigureTools::updateEnabled);
    updateEnabled(helper->editorType());
}

QPushButton* ConfigureTools::addButton(const QString& name, const QString& text, const QString& icon,
                                       const QSize& iconSize) {
    auto* button = new QPushButton(QIcon(icon), text, this);
    button->setObjectName(name);
    button->setFlat(true);
    if (iconSize.isValid())
        button->setIconSize(iconSize);
    layout()->addWidget(button);
    return button;
}

void ConfigureTools::addSeparator(const QString& name) {
    auto* line = new QFrame(this);
    line->setObjectName(name);
    line->setFrameShape(QFrame::VLine);
    line->setStyleSheet(QStringLiteral("color:#1e1e1e;"));
    layout()->addWidget(line);
}

void ConfigureTools::updateEnabled(const QString& editorType) {
    const bool table = editorType == QLatin1String("param_table");
    for (QPushButton* button : {m_upload, m_download, m_backup, m_restore})
        button->setEnabled(table);
}

RestoreDialog* ConfigureTools::restoreDialog() const {
    return lastRestoreDialog().data();
}

ParamTablePage* ConfigureTools::pageInFront() const {
    Helper* helper = Helper::instance();
    if (helper->editorType() != QLatin1String("param_table"))
        return nullptr;
    return ParamTablePage::pageFor(helper->editDeviceDobj());
}

void ConfigureTools::onUpload() {
    ParamTablePage* page = pageInFront();
    if (!page)
        return;
    const QString name = CANWorker::deviceDisplayName(page->device());
    if (Helper::instance()->askNotice(
            tr("Are you sure to upload parameters from %1 device? Current changes will be discarded.")
                .arg(name)))
        page->upload();
}

void ConfigureTools::onDownload() {
    ParamTablePage* page = pageInFront();
    if (!page)
        return;
    const QString name = CANWorker::deviceDisplayName(page->device());
    if (Helper::instance()->askNotice(
            tr("Are you sure to download modified parameters to %1 device?").arg(name)))
        page->download();
}

void ConfigureTools::onExport() {
    kx::DataObject* device = Helper::instance()->activatedDevice();
    if (device)
        device->r(QStringLiteral("_trigger.param.export"))->trigger();
}

void ConfigureTools::onFactoryReset() {
    Helper* helper = Helper::instance();
    kx::DataObject* device = helper->activatedDevice();
    if (!device)
        return;
    if (helper->askNotice(tr("Are you sure to reset %1 parameters to default factory configuration?")
                              .arg(CANWorker::deviceDisplayName(device))))
        LinkCommands::send(LinkCommand::runStep(MotionGuard::canIdOf(device), STEP_RECOVER_FAC));
}

void ConfigureTools::onClearAlarm() {
    if (kx::DataObject* device = Helper::instance()->activatedDevice())
        LinkCommands::send(LinkCommand::clearAlarm(MotionGuard::canIdOf(device)));
}

void ConfigureTools::onBackup() {
    ParamTablePage* page = pageInFront();
    Helper* helper = Helper::instance();
    ParamStore* store = page ? ParamStore::forLink(otaThread::instance()) : nullptr;
    if (!page || !store || store->snapshot(page->canId()).isEmpty()) {
        helper->showWarning(tr("The parameter table has not been read yet."));
        return;
    }
    const quint64 mcu = page->device()->r(QStringLiteral("info.mcu_id"))->get().toULongLong();
    const QString proposed =
        FileDialogs::timedName(QStringLiteral("param_%1_").arg(mcu, 0, 16), QStringLiteral("json"));
    const QString path =
        FileDialogs::saveFileName(this, tr("Backup parameters"), tr("Parameter backups (*.json)"), proposed);
    if (path.isEmpty())
        return;
    const ParamBackup backup = ParamBackup::fromEntries(store->snapshot(page->canId()), mcu, page->canId(),
                                                        MotorModel::known() ? MotorModel::code() : -1);
    QString error;
    if (!backup.save(path, &error)) {
        helper->showError(tr("Cannot write %1: %2").arg(path, error));
        return;
    }
    helper->postStatus(
        tr("Parameters of %1 backed up to %2").arg(CANWorker::deviceDisplayName(page->device()), path));
}

void ConfigureTools::onRestore() {
    ParamTablePage* page = pageInFront();
    Helper* helper = Helper::instance();
    ParamStore* store = page ? ParamStore::forLink(otaThread::instance()) : nullptr;
    if (!page || !store || store->snapshot(page->canId()).isEmpty()) {
        helper->showWarning(tr("The parameter table has not been read yet."));
        return;
    }
    const QString path =
        FileDialogs::openFileName(this, tr("Restore parameters"), tr("Parameter backups (*.json)"));
    if (path.isEmpty())
        return;
    QString error;
    const auto backup = ParamBackup::load(path, &error);
    if (!backup) {
        helper->showError(tr("Cannot read %1: %2").arg(path, error));
        return;
    }
    // Another motor's backup may be meant (a spare of the same kind), but it is asked.
    const quint64 mcu = page->device()->r(QStringLiteral("info.mcu_id"))->get().toULongLong();
    if (backup->mcuId != mcu &&
        !helper->askNotice(tr("%1 was taken from the motor with MCU ID 0x%2; this motor is 0x%3. "
                              "Restore it here all the same?")
                               .arg(QFileInfo(path).fileName(), QString::number(backup->mcuId, 16),
                                    QString::number(mcu, 16))))
        return;
    const ParamRestorePlan plan = ParamRestorePlan::plan(store->snapshot(page->canId()), *backup);
    // Owned by the page: closing the page mid-choice closes the dialog with it.
    auto* dialog = new RestoreDialog(plan, QFileInfo(path).fileName(), page);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    lastRestoreDialog() = dialog;
    QPointer<ParamTablePage> guard(page);
    connect(dialog, &QDialog::accepted, page, [dialog, guard, store] {
        if (!guard)
            return;
        const QSet<quint16> codes = dialog->selectedCodes();
        if (codes.isEmpty())
            return;
        const quint8 id = guard->canId();
        store->clearAllModified(id);
        for (const auto& w : dialog->plan().writes) {
            if (codes.contains(w.code))
                store->setPending(id, w.code, w.pending);
        }
        guard->download();
    });
    dialog->open();
}
