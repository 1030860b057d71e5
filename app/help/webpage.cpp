#include "app/help/webpage.h"

#include <QFileInfo>
#include <QProgressBar>
#include <QUrl>
#include <QVBoxLayout>
#include <QWebEngineSettings>
#include <QWebEngineView>

WebPage::WebPage(QWidget* parent) : QWidget(parent), BaseEditorPage(QLatin1String(kKind)) {
    setObjectName(QStringLiteral("WebPage"));
    auto* layout = new QVBoxLayout(this);
    layout->setObjectName(QStringLiteral("verticalLayout"));
    layout->setSpacing(0);
    layout->setContentsMargins(0, 0, 0, 0);
    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("progressBar"));
    m_progress->setTextVisible(false);
    m_progress->setMaximumHeight(4);
    m_progress->setValue(24);
    m_view = new QWebEngineView(this);
    QWebEngineSettings* settings = m_view->settings();
    settings->setAttribute(QWebEngineSettings::PluginsEnabled, true);
    settings->setAttribute(QWebEngineSettings::FullScreenSupportEnabled, true);
    settings->setAttribute(QWebEngineSettings::PdfViewerEnabled, true);
    layout->addWidget(m_progress);
    layout->addWidget(m_view, 1);

    connect(m_view, &QWebEngineView::loadProgress, this, [this](int progress) {
        m_progress->setVisible(true);
        m_progress->setValue(progress);
    });
    connect(m_view, &QWebEngineView::loadFinished, this, [this](bool ok) {
        m_progress->setVisible(false);
        emit loadFinished(ok);
    });
    m_view->load(manualUrl());
}

QUrl WebPage::manualUrl() {
    // Built from the path, not by pasting it behind "file:///": an absolute path already
    // starts with "/", and a "#" or "%" in a directory name would be read as URL syntax.
    return QUrl::fromLocalFile(QFileInfo(QStringLiteral("./instruction.pdf")).absoluteFilePath());
}
