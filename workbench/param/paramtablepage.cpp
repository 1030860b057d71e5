#include "workbench/param/paramtablepage.h"

#include "app/filedialogs.h"
#include "framework/data/datamanager.h"
#include "framework/data/dataobject.h"
#include "link/canprotocol.h"
#include "link/frames/paramframes.h"
#include "link/frames/paramvalue.h"
#include "link/helper.h"
#include "link/linkcommands.h"
#include "link/motionguard.h"
#include "link/otathread.h"
#include "link/param/paramfeature.h"
#include "link/param/paramverifier.h"
#include "link/param/paramwalker.h"
#include "workbench/param/editchip.h"
#include "workbench/param/workbookexport.h"

#include <QApplication>
#include <QDebug>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QPointer>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

constexpr int kValueColumn = 6;
// The narrowest each column gets, so that an empty table still reads as a table.
constexpr int kMinimumWidths[] = {56, 90, 56, 56, 48, 48, 80};

QList<QPointer<ParamTablePage>>& openPages() {
    static QList<QPointer<ParamTablePage>> pages;
    return pages;
}

otaThread* linkOf() {
    // The link reaches the screens through "_can"; without a link worker it is unset.
    return qobject_cast<otaThread*>(kx::d(QStringLiteral("_can"))->get().value<QObject*>());
}

}  // namespace

ParamTablePage::ParamTablePage(QWidget* parent) : QWidget(parent), BaseEditorPage(QLatin1String(kKind)) {
    setObjectName(QStringLiteral("ParamTablePage"));
    resize(787, 520);
    m_store = ParamStore::forLink(linkOf());
    openPages().append(this);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    // The page stays while its motor is away (an unplugged adapter) and says so.
    m_lblConnection =
        new QLabel(tr("Disconnected: the values shown are the last ones read from the motor."), this);
    m_lblConnection->setObjectName(QStringLiteral("lblConnection"));
    m_lblConnection->setStyleSheet(QStringLiteral("color:#ffb347; padding:4px;"));
    m_lblConnection->setWordWrap(true);
    layout->addWidget(m_lblConnection);
    m_table = new QTableWidget(0, 7, this);
    m_table->setObjectName(QStringLiteral("tableWidget"));
    m_table->setHorizontalHeaderLabels(
        {tr("Code"), tr("Name"), tr("Type"), tr("Property"), tr("Maximum"), tr("Minimum"), tr("Value")});
    m_table->setFrameShape(QFrame::NoFrame);
    m_table->setAlternatingRowColors(true);
    // Codes number the rows already.
    m_table->verticalHeader()->hide();
    m_table->viewport()->installEventFilter(this);
    layout->addWidget(m_table);

    m_walker = new ParamWalker(device(), this);
    m_verifier = new ParamVerifier(device(), this);
    connect(m_verifier, &ParamVerifier::finished, this, &ParamTablePage::onDownloadVerified);
    connect(m_table, &QTableWidget::cellChanged, this, &ParamTablePage::changeCell);
    kx::DataObject* record = device();
    auto listen = [this, record](const char* event, void (ParamTablePage::*slot)()) {
        connect(record->r(QStringLiteral("_trigger.param.") + QLatin1String(event)), &kx::DataObject::changed,
                this, slot);
    };
    m_lblConnection->setVisible(!record->isEmpty() &&
                                !record->c(QStringLiteral("_connected"))->getBool(false));
    if (!record->isEmpty()) {
        connect(record->c(QStringLiteral("_connected")), &kx::DataObject::changed, this,
                [this](const QVariant& on) { m_lblConnection->setVisible(!on.toBool()); });
        listen("reload", &ParamTablePage::reloadTable);
        listen("upload", &ParamTablePage::uploadTable);
        listen("download", &ParamTablePage::downloadTable);
        listen("export", &ParamTablePage::exportTable);
    }
    // A table described earlier shows at once; the fresh description replaces it.
    reloadTable();
    if (!record->isEmpty())
        LinkCommands::send(LinkCommand::loadParam(MotionGuard::canIdOf(record)));
}

ParamTablePage::~ParamTablePage() {
    openPages().removeAll(this);
    openPages().removeAll(nullptr);
}

ParamTablePage* ParamTablePage::pageFor(kx::DataObject* device) {
    for (const auto& page : openPages()) {
        if (page && !device->isEmpty() && page->device() == device)
            return page;
    }
    return nullptr;
}

quint8 ParamTablePage::canId() const {
    return quint8(device()->r(QStringLiteral("info.can_id"))->get().toInt());
}

QString ParamTablePage::groupColour(int group) {
    static const char* const colours[] = {"#a0f446", "#d4e8c8", "#63e2ee", "#bbd5d7"};
    return QString::fromLatin1(colours[qBound(0, group, 3)]);
}

int ParamTablePage::rowOf(quint16 code) const {
    const int group = ParamFrames::groupOf(code);
    const int index = ParamFrames::indexOf(code);
    if (group > 3 || index >= m_counts[size_t(group)])
        return -1;
    return m_firstRow[size_t(group)] + index;
}

int ParamTablePage::groupOfRow(int row) const {
    for (int g = 0; g < 4; ++g) {
        if (row >= m_firstRow[size_t(g)] && row < m_firstRow[size_t(g)] + m_counts[size_t(g)])
            return g;
    }
    return -1;
}

bool ParamTablePage::editable(const ParamEntry& e, int configCount) const {
    return e.group == 0 || (e.group == 2 && e.index >= configCount && e.property != 0);
}

bool ParamTablePage::upload() {
    return m_walker->upload();
}

bool ParamTablePage::download() {
    const QVector<ParamRestorePlan::Write> writes = ParamVerifier::pendingWrites(canId());
    // Nothing edited: the link reports that at once, as it always has.
    if (writes.isEmpty())
        return m_walker->download(true);
    // Each entry counts once read back; the table is saved only when all of them did.
    return m_verifier->apply(writes);
}

void ParamTablePage::onDownloadVerified(bool ok) {
    const ParamVerifier::ApplyResult& result = m_verifier->applyResult();
    const QSignalBlocker blocker(m_table);
    for (const ParamVerifier::Written& w : result.entries) {
        const int row = rowOf(w.code);
        if (row < 0)
            continue;
        // What did not arrive stays red with the value still to be written.
        if (w.matched) {
            ParamEntry e;
            if (m_store && m_store->entry(canId(), w.code, &e))
                markValue(row, e.value, false);
        } else {
            markValue(row, w.sent, true);
        }
    }
    Helper* helper = Helper::instance();
    if (ok) {
        helper->postStatus(tr("Download parameters table successfully!"));
        return;
    }
    const QStringList failed = result.failed();
    QString text = tr("Download failed: %1").arg(result.reason);
    helper->postStatus(text, QStringLiteral("ERROR"));
    if (!failed.isEmpty())
        text += QLatin1Char('\n') +
                tr("Not confirmed by reading back: %1").arg(failed.join(QStringLiteral(", ")));
    if (!result.saved)
        text += QLatin1Char('\n') + tr("Nothing was saved in the motor's flash.");
    helper->showError(text);
}

void ParamTablePage::fillRow(int row, const ParamEntry& e, int configCount) {
    QString type, property, maximum, minimum;
    switch (e.group) {
        case 0:
            type = tr("String");
            property = tr("R/W");
            break;
        case 1:
            type = tr("String");
            property = tr("RO");
            break;
        case 2:
            type = CanProtocol::valueTypeName(e.type);
            property = e.index < configCount ? tr("Config") : e.property ? tr("R/W") : tr("Setting");
            maximum = ParamValue::formatLimit(e.type, e.maximum, e.decimals);
            minimum = ParamValue::formatLimit(e.type, e.minimum, e.decimals);
            break;
        default:
            type = CanProtocol::valueTypeName(e.type);
            property = tr("RO");
            break;
    }
    const QStringList texts = {QStringLiteral("0X%1").arg(e.code, 4, 16, QLatin1Char('0')),
                               e.name,
                               type,
                               property,
                               maximum,
                               minimum,
                               e.value};
    const QColor colour(groupColour(e.group));
    const bool canEdit = editable(e, configCount);
    for (int c = 0; c < texts.size(); ++c) {
        auto* item = new QTableWidgetItem(texts[c]);
        item->setTextAlignment(Qt::AlignCenter);
        item->setForeground(colour);
        if (c == kValueColumn && canEdit) {
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable);
            QFont bold = QApplication::font();
            bold.setPointSize(10);
            bold.setWeight(87);
            item->setFont(bold);
        } else {
            item->setFlags(Qt::ItemIsEnabled);
        }
        m_table->setItem(row, c, item);
    }
}

void ParamTablePage::reloadTable() {
    if (!m_store)
        return;
    const QSignalBlocker blocker(m_table);
    const quint8 id = canId();
    const QVector<ParamEntry> entries = m_store->snapshot(id);
    const int configCount = m_store->configCount(id);
    m_counts = m_store->counts(id);
    m_table->setRowCount(entries.size());
    m_codes.clear();
    int row = 0;
    for (int g = 0; g < 4; ++g) {
        m_firstRow[size_t(g)] = row;
        row += m_counts[size_t(g)];
    }
    kx::DataObject* record = device();
    kx::DataObject* param = record->c(QStringLiteral("param"));
    if (!record->isEmpty())
        param->clear(this, true, false);
    m_store->clearAllModified(id);
    for (int i = 0; i < entries.size(); ++i) {
        const ParamEntry& e = entries[i];
        m_codes.append(e.code);
        fillRow(i, e, configCount);
        // Settings after the configuration entries and the live measurements are mirrored
        // for the device tree and the scope.
        const bool mirrored = e.group == 3 || (e.group == 2 && e.index >= configCount);
        if (mirrored && !record->isEmpty() && !e.name.isEmpty())
            record->set(this, dName(QStringLiteral("param"), e.name), e.value, true);
    }
    fitColumns();
    if (!record->isEmpty())
        record->c(QStringLiteral("param"))->trigger();
}

void ParamTablePage::fitColumns() {
    int used = 0;
    for (int c = 0; c < m_table->columnCount(); ++c) {
        m_table->resizeColumnToContents(c);
        int width = qMax(m_table->columnWidth(c), kMinimumWidths[c]);
        if (c == kValueColumn)
            width = qMax(width, m_table->viewport()->width() - used);
        m_table->setColumnWidth(c, width);
        used += width;
    }
}

bool ParamTablePage::eventFilter(QObject* watched, QEvent* event) {
    // The room for the value column changes with the page and with the vertical scroll bar.
    if (watched == m_table->viewport() && event->type() == QEvent::Resize)
        fitColumns();
    return QWidget::eventFilter(watched, event);
}

void ParamTablePage::markValue(int row, const QString& text, bool modified) {
    QTableWidgetItem* item = m_table->item(row, kValueColumn);
    if (!item)
        return;
    item->setText(text);
    item->setForeground(modified ? QColor(Qt::red) : QColor(groupColour(groupOfRow(row))));
    fitColumns();
}

void ParamTablePage::refreshEntry(quint16 code) {
    const int row = rowOf(code);
    ParamEntry e;
    if (row < 0 || !m_store || !m_store->entry(canId(), code, &e))
        return;
    const QSignalBlocker blocker(m_table);
    markValue(row, e.value, false);
    m_store->clearModified(canId(), code);
}

void ParamTablePage::uploadTable() {
    if (ParamFeature* feature = ParamFeature::of(linkOf()))
        refreshEntry(feature->transfer().expectedCode());
}

void ParamTablePage::downloadTable() {
    if (ParamFeature* feature = ParamFeature::of(linkOf()))
        refreshEntry(feature->transfer().expectedCode());
}

void ParamTablePage::showChip(int row, const QString& text, bool accepted) {
    const QRect cell = m_table->visualItemRect(m_table->item(row, kValueColumn));
    // Cell rectangles are in the viewport's coordinates, which start after the headers.
    EditChip::show(text, accepted, m_table->viewport()->mapToGlobal(QPoint(cell.right() + 1, cell.top())),
                   this);
}

void ParamTablePage::changeCell(int row, int column) {
    if (column != kValueColumn || !m_store || row < 0 || row >= m_codes.size())
        return;
    const QSignalBlocker blocker(m_table);
    qDebug() << "change row:" << row << " column:" << column;
    const quint16 code = m_codes[row];
    const quint8 id = canId();
    ParamEntry e;
    if (!m_store->entry(id, code, &e))
        return;
    const QString input = m_table->item(row, column)->text();
    const QString modifiedText = tr("Addr[0x%1] modified").arg(e.index, 4, 16, QLatin1Char('0'));
    auto restore = [&] {
        markValue(row, e.value, false);
        m_store->clearModified(id, code);
    };
    if (e.group == 0) {
        const QByteArray bytes = input.toUtf8();
        for (char c : bytes) {
            if (uchar(c) >= 0x80) {
                showChip(row, tr("Please input ASCII charaters"), false);
                return restore();
            }
        }
        showChip(row, modifiedText, true);
        // Typing the stored value back undoes an earlier edit.
        if (input == e.value)
            return restore();
        markValue(row, input, true);
        m_store->setPending(id, code, ParamValue::textBytes(bytes));
        return;
    }
    if (e.group != 2)
        return;
    QByteArray raw;
    const auto number = ParamValue::parse(e.type, input, &raw);
    if (!number) {
        showChip(row, tr("Please input ASCII charaters"), false);
        return restore();
    }
    if (*number > e.maximum || *number < e.minimum) {
        showChip(row, tr("Value out of range"), false);
        return restore();
    }
    const QString formatted = ParamValue::formatRaw(e.type, raw);
    if (formatted == e.value)
        return restore();
    showChip(row, modifiedText, true);
    markValue(row, formatted, true);
    m_store->setPending(id, code, raw);
}

void ParamTablePage::exportTable() {
    Helper* helper = Helper::instance();
    // Named after the motor, as its backups are: exports of several motors stay apart.
    const quint64 mcu = device()->r(QStringLiteral("info.mcu_id"))->get().toULongLong();
    const QString stem = mcu ? QStringLiteral("mcu_%1_").arg(mcu, 0, 16) : QStringLiteral("mcu_");
    const QString workbookFilter = tr("Excel Files(*.xlsx)");
    const QString csvFilter = tr("CSV Files(*.csv)");
    QString chosenFilter;
    QString path =
        FileDialogs::saveFileName(this, tr("Excel file"), workbookFilter + QStringLiteral(";;") + csvFilter,
                                  FileDialogs::timedName(stem, QStringLiteral("xlsx")), &chosenFilter);
    if (path.isEmpty())
        return;
    // The file is what its name says; a name without either extension gets the one of the
    // chosen filter.
    QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix != QLatin1String("csv") && suffix != QLatin1String("xlsx")) {
        suffix = chosenFilter == csvFilter ? QStringLiteral("csv") : QStringLiteral("xlsx");
        path += (path.endsWith(QLatin1Char('.')) ? QString() : QStringLiteral(".")) + suffix;
    }
    if (QFileInfo::exists(path) &&
        !helper->askNotice(
            tr("%1 already exists. Do you want to replace it?").arg(QFileInfo(path).fileName())))
        return;
    WorkbookTable table;
    for (int c = 0; c < m_table->columnCount(); ++c)
        table.headers << m_table->horizontalHeaderItem(c)->text();
    table.widths = {100, 200, 100, 80, 100, 100, 200};
    for (int r = 0; r < m_table->rowCount(); ++r) {
        QStringList row;
        for (int c = 0; c < m_table->columnCount(); ++c)
            row << (m_table->item(r, c) ? m_table->item(r, c)->text() : QString());
        table.rows << row;
        // Limits and values of settings and measurements are numbers; strings stay text.
        const int group = groupOfRow(r);
        table.numberColumns << (group >= 2 ? QVector<int>{4, 5, kValueColumn} : QVector<int>{});
    }
    kx::DataObject* block = kx::d(QStringLiteral("trigger.block"));
    block->set(this, tr("Exporting..."));
    QString error;
    const bool ok = suffix == QLatin1String("csv") ? WorkbookExport::writeCsv(path, table, &error)
                                                   : WorkbookExport::writeWorkbook(path, table, &error);
    block->set(this, QVariant());
    if (!ok) {
        helper->showError(tr("Param table export failed: %1").arg(error));
        return;
    }
    helper->postStatus(tr("Param table export successfully!"));
    if (helper->askNotice(tr("Param table has been exported, do you want to open it now?")))
        WorkbookExport::openFile(path);
}
