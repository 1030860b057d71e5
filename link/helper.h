#pragma once

#include <QObject>
#include <QString>

class CANWorker;
class Project;
class StatusSink;
class UserPrompt;

namespace kx {
class DataObject;
}

// The application's shared context (QtCore only, so the CLI and the tests use it too):
// project, link worker, current and edited device records, the status line and the four
// message boxes. The shell installs a UserPrompt; without one, messages go to stderr and the
// log and askNotice answers false.
class Helper : public QObject {
    Q_OBJECT

public:
    static Helper* instance();

    Project* project() const;
    CANWorker* worker() const;
    // Creates the link worker and the project; destroyBackends() ends them (joining the
    // link thread).
    void createBackends();
    void destroyBackends();

    QObject* mainWindow() const;
    void setMainWindow(QObject* window);

    void setPrompt(UserPrompt* prompt);
    UserPrompt* prompt() const;
    // Where status lines go besides the log file (see StatusSink); null: "wnd.status.msg".
    void setStatusSink(StatusSink* sink);

    kx::DataObject* currentDeviceDobj() const;
    // Emits currentDeviceDobjChanged() only when the record differs.
    void setCurrentDeviceDobj(kx::DataObject* device);
    kx::DataObject* editDeviceDobj() const;
    QString editorType() const;
    void setEditDevice(kx::DataObject* device, const QString& editorType);

    void showError(const QString& text);
    void showInformation(const QString& text);
    bool askNotice(const QString& text);
    void showWarning(const QString& text);

    // The current device record, or nullptr after the "No activated device!" error box.
    kx::DataObject* activatedDevice();
    // "<tag> text" (or text alone) into "wnd.status.msg"; callable from any thread.
    void postStatus(const QString& text, const QString& tag = QString());

signals:
    void currentDeviceDobjChanged();
    void editDevieDobjChanged(QString editor_type);

private:
    enum class Box { Error, Information, Warning };
    // Shows a box through the installed prompt on the Helper's (GUI) thread; a call from
    // another thread is queued there without blocking.
    void showBox(Box kind, const QString& text);
    QString boxTitle(const char* format) const;
    void deliverStatus(const QString& line, bool error);

    Helper();
    ~Helper() override;
    struct Private;
    Private* d;
};
