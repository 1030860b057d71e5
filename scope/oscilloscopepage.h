#pragma once

#include <QTimer>
#include <QWidget>

#include "app/editor/baseeditorpage.h"

class QCheckBox;
class QLabel;
class QPushButton;
class waveDisplay;

// The Oscilloscope page of one device: the plot, the records and lost records of the stream,
// pause, auto-scroll, the cursor readout and "Export CSV". On its frame timer it takes the
// batches the link decoded for its device; closing the page stops the stream.
class OscilloscopePage : public QWidget, public BaseEditorPage {
    Q_OBJECT

public:
    static constexpr char kKind[] = "oscilloscope";

    explicit OscilloscopePage(QWidget* parent = nullptr);
    ~OscilloscopePage() override;

    waveDisplay* plot() const { return m_plot; }

public slots:
    void start();
    void stop();

private:
    bool ours() const;
    void onConfigured();
    void onFrame();
    void onExport();
    void showCounts();

    waveDisplay* m_plot;
    QLabel* m_lblCounts;
    QLabel* m_lblCursor;
    QPushButton* m_btnPause;
    QCheckBox* m_chbFollow;
    QTimer m_frameTimer;
};
