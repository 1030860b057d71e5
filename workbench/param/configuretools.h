#pragma once

#include <QWidget>

class QPushButton;
class ParamTablePage;
class RestoreDialog;

// The configure tab's tool strip: open the parameter table, upload, download, export, factory
// reset, clear alarm, and back up / restore a motor's parameters. Upload, download, backup and
// restore act on the parameter table page in front and are enabled only while one is.
class ConfigureTools : public QWidget {
    Q_OBJECT

public:
    explicit ConfigureTools(QWidget* parent = nullptr);

    // The dialog of the last restore (null when none is open).
    RestoreDialog* restoreDialog() const;

private:
    QPushButton* addButton(const QString& name, const QString& text, const QString& icon,
                           const QSize& iconSize = QSize());
    void addSeparator(const QString& name);
    void updateEnabled(const QString& editorType);
    ParamTablePage* pageInFront() const;
    void onUpload();
    void onDownload();
    void onExport();
    void onFactoryReset();
    void onClearAlarm();
    void onBackup();
    void onRestore();

    QPushButton* m_upload = nullptr;
    QPushButton* m_download = nullptr;
    QPushButton* m_backup = nullptr;
    QPushButton* m_restore = nullptr;
};
