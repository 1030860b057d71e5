#include "link/helper.h"

#include "framework/data/datamanager.h"
#include "framework/data/dataobject.h"
#include "framework/data/jsonform.h"
#include "framework/log/logclock.h"
#include "framework/log/qflog.h"
#include "link/canworker.h"
#include "link/project.h"
#include "link/statussink.h"
#include "link/userprompt.h"

#include <QFile>
#include <QPointer>
#include <QThread>

#include <atomic>
#include <cstdio>

namespace {

// The dated log file only: the console already shows the line in its own form.
void logToFile(const char* level, const QString& line) {
    kx::FLog(QStringLiteral("[%1|%2]").arg(QLatin1String(level),
                                           kx::LogClock::format(QStringLiteral("MM/dd hh:mm:ss.zzz"))),
             QString(), QStringLiteral("./log/global"), QStringLiteral("log"))
        << line;
}

// A status line without its "<TAG> ".
QString untagged(const QString& line) {
    if (!line.startsWith(QLatin1Char('<')))
        return line;
    const int end = line.indexOf(QLatin1String("> "));
    return end < 0 ? line : line.mid(end + 2);
}

}  // namespace

static void initTemplateResource() {
    // The template lives in the link library, a static library: its resources are
    // registered by hand.
    Q_INIT_RESOURCE(template);
}

struct Helper::Private {
    Project* project = nullptr;
    CANWorker* worker = nullptr;
    QPointer<QObject> mainWindow;
    std::atomic<UserPrompt*> prompt{nullptr};
    StatusSink* statusSink = nullptr;  // GUI thread only
    QString lastStatus;                // GUI thread only: the line delivered last
    kx::DataObject* statusDobj = nullptr;
    // GUI thread only; both fall back to the empty node when their record is destroyed (a
    // disconnect removes the records), so nobody holds a dangling device.
    kx::DataObject* currentDevice = nullptr;
    kx::DataObject* editDevice = nullptr;
    QString editorType;
    QMetaObject::Connection currentGone;
    QMetaObject::Connection editGone;
};

Helper* Helper::instance() {
    // Never destroyed: the link worker it owns is ended by destroyBackends() while the data
    // tree still exists, not by static destruction in an unknown order.
    static Helper* helper = new Helper();
    return helper;
}

Helper::Helper() : d(new Private) {
    initTemplateResource();
    const QJsonValue tree = kx::DataManager::readFromJson(QStringLiteral(":/template/data.json"));
    if (tree.isObject()) {
        kx::d().rootDobj()->importFromJson(nullptr, tree, true, true, false);
        QFile file(QStringLiteral(":/template/data.json"));
        if (file.open(QIODevice::ReadOnly))
            kx::JsonForm::applyKeyOrder(kx::d().rootDobj(), file.readAll());
    } else
        kx::logE() << "default data tree :/template/data.json missing or unreadable";
    d->statusDobj = kx::d("wnd.status.msg");
    d->currentDevice = kx::d().emptyDobj();
    d->editDevice = kx::d().emptyDobj();
}

Helper::~Helper() {
    destroyBackends();
    delete d;
}

Project* Helper::project() const {
    return d->project;
}
CANWorker* Helper::worker() const {
    return d->worker;
}

void Helper::createBackends() {
    if (!d->worker)
        d->worker = new CANWorker(this);
    if (!d->project)
        d->project = new Project(this);
}

void Helper::destroyBackends() {
    delete d->worker;
    d->worker = nullptr;
    delete d->project;
    d->project = nullptr;
}

QObject* Helper::mainWindow() const {
    return d->mainWindow;
}
void Helper::setMainWindow(QObject* window) {
    d->mainWindow = window;
}

void Helper::setPrompt(UserPrompt* prompt) {
    d->prompt = prompt;
}
UserPrompt* Helper::prompt() const {
    return d->prompt;
}

kx::DataObject* Helper::currentDeviceDobj() const {
    return d->currentDevice;
}

void Helper::setCurrentDeviceDobj(kx::DataObject* device) {
    if (!device)
        device = kx::d().emptyDobj();
    if (device == d->currentDevice)
        return;
    disconnect(d->currentGone);
    d->currentDevice = device;
    if (!device->isEmpty()) {
        d->currentGone = connect(device, &QObject::destroyed, this, [this] {
            d->currentDevice = kx::d().emptyDobj();
            emit currentDeviceDobjChanged();
        });
    }
    emit currentDeviceDobjChanged();
}

kx::DataObject* Helper::editDeviceDobj() const {
    return d->editDevice;
}
QString Helper::editorType() const {
    return d->editorType;
}

void Helper::setEditDevice(kx::DataObject* device, const QString& editorType) {
    if (!device)
        device = kx::d().emptyDobj();
    if (device == d->editDevice && editorType == d->editorType)
        return;
    disconnect(d->editGone);
    d->editDevice = device;
    d->editorType = editorType;
    if (!device->isEmpty()) {
        d->editGone = connect(device, &QObject::destroyed, this, [this] {
            d->editDevice = kx::d().emptyDobj();
            emit editDevieDobjChanged(d->editorType);
        });
    }
    emit editDevieDobjChanged(editorType);
}

QString Helper::boxTitle(const char* format) const {
    return tr(format).arg(kx::d("wnd.title")->getString(QStringLiteral("Trivane")));
}

void Helper::showBox(Box kind, const QString& text) {
    if (QThread::currentThread() != thread()) {
        QMetaObject::invokeMethod(
            this, [this, kind, text] { showBox(kind, text); }, Qt::QueuedConnection);
        return;
    }
    const QString title = kind == Box::Error         ? boxTitle(QT_TR_NOOP("%1 Error"))
                          : kind == Box::Information ? boxTitle(QT_TR_NOOP("%1 Information"))
                                                     : boxTitle(QT_TR_NOOP("%1 Warning"));
    UserPrompt* prompt = d->prompt;
    if (!prompt) {
        // Without a window the box is one message on stderr. A box that repeats the status
        // line just posted (a port error is both) adds only what it says beyond it.
        const QString last = untagged(d->lastStatus);
        QString shown = title + QLatin1String(": ") + text;
        if (!last.isEmpty() && text.startsWith(last))
            shown = text.mid(last.size()).trimmed();
        if (!shown.isEmpty())
            fprintf(stderr, "%s\n", qPrintable(shown));
        logToFile(kind == Box::Error ? "E" : kind == Box::Warning ? "W" : "I", title + ": " + text);
        return;
    }
    if (kind == Box::Error)
        prompt->showError(title, text);
    else if (kind == Box::Information)
        prompt->showInformation(title, text);
    else
        prompt->showWarning(title, text);
}

void Helper::showError(const QString& text) {
    showBox(Box::Error, text);
}
void Helper::showInformation(const QString& text) {
    showBox(Box::Information, text);
}
void Helper::showWarning(const QString& text) {
    showBox(Box::Warning, text);
}

bool Helper::askNotice(const QString& text) {
    if (QThread::currentThread() != thread()) {
        // A question needs an answer; waiting for the GUI thread from another thread could
        // deadlock, so the caller gets "no".
        kx::logE() << "askNotice called outside the GUI thread: " + text;
        return false;
    }
    const QString title = boxTitle(QT_TR_NOOP("%1 Notice"));
    UserPrompt* prompt = d->prompt;
    if (!prompt) {
        fprintf(stderr, "%s: %s\n", qPrintable(title), qPrintable(text));
        logToFile("W", title + ": " + text);
        return false;
    }
    return prompt->askNotice(title, text);
}

kx::DataObject* Helper::activatedDevice() {
    if (!d->currentDevice->isEmpty())
        return d->currentDevice;
    showError(tr("No activated device!"));
    return nullptr;
}

void Helper::postStatus(const QString& text, const QString& tag) {
    const QString line = tag.isEmpty() ? text : QStringLiteral("<%1> %2").arg(tag, text);
    // The dated log file keeps every status line, so that one file tells what the user saw.
    // File only: the console of the command-line tool prints its own progress.
    const bool error = tag == QLatin1String("ERROR");
    logToFile(error ? "E" : "I", line);
    if (QThread::currentThread() != thread()) {
        // Sinks and tree nodes live on the GUI thread: a line from the link thread follows queued.
        QMetaObject::invokeMethod(
            this, [this, line, error] { deliverStatus(line, error); }, Qt::QueuedConnection);
        return;
    }
    deliverStatus(line, error);
}

void Helper::deliverStatus(const QString& line, bool error) {
    d->lastStatus = line;
    if (d->statusSink)
        d->statusSink->statusLine(line, error);
    else
        d->statusDobj->set(this, line);
}

void Helper::setStatusSink(StatusSink* sink) {
    d->statusSink = sink;
}
