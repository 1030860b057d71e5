#pragma once

#include <QTimer>
#include <QWidget>

#include "app/editor/baseeditorpage.h"

class QAction;
class QCheckBox;
class QLabel;
class QMenu;
class QPushButton;
class waveDisplay;

// The Oscilloscope page of one device: the plot, the records and lost records of the stream,
// pause, auto-scroll, the cursor readout and "Export CSV" (of what is shown or of the whole
// recording). On its frame timer it takes the batches the link decoded for its device;
// closing the page stops the stream. The page and its curves stay while the motor is away.
class OscilloscopePage : public QWidget, public BaseEditorPage {
    Q_OBJECT

public:
    static constexpr char kKind[] = "oscilloscope";

    explicit OscilloscopePage(QWidget* parent = nullptr);
    ~OscilloscopePage() override;

    waveDisplay* plot() const { return m_plot; }
    // The two exports the "Export CSV" menu offers.
    QAction* exportShownAction() const { return m_actExportShown; }
    QAction* exportRecordingAction() const { return m_actExportAll; }

public slots:
    void start();
    void stop();

private:
    bool ours() const;
    void onConfigured();
    void onFrame();
    void onExport(int what);
    void showCounts();
    void showConnection();

    waveDisplay* m_plot;
    QLabel* m_lblCounts;
    QLabel* m_lblCursor;
    QPushButton* m_btnPause;
    QCheckBox* m_chbFollow;
    QLabel* m_lblConnection;
    QMenu* m_exportMenu;
    QAction* m_actExportShown;
    QAction* m_actExportAll;
    QTimer m_frameTimer;
};
