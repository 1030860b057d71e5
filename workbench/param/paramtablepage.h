#pragma once

#include <QWidget>

#include <array>

#include "app/editor/baseeditorpage.h"
#include "link/param/paramstore.h"

class ParamVerifier;
class ParamWalker;
class QLabel;
class QTableWidget;

// The parameter table of one motor in a seven-column grid (Code, Name, Type, Property,
// Maximum, Minimum, Value), groups one below the other in their colours. Writable values are
// edited in place with immediate validation; edited cells stay red until written. Follows the
// link as it describes, reads (upload) and writes (download) the table, mirrors settings and
// measurements into the device record's `param` node and exports the grid.
//
// Everything runs on the user-interface thread; the table's contents live in the link's
// parameter store, which the page reads in snapshots and edits through its setters.
class ParamTablePage : public QWidget, public BaseEditorPage {
    Q_OBJECT

public:
    static constexpr char kKind[] = "param_table";

    explicit ParamTablePage(QWidget* parent = nullptr);
    ~ParamTablePage() override;

    // The open page bound to the device, or null.
    static ParamTablePage* pageFor(kx::DataObject* device);

    QTableWidget* table() const { return m_table; }
    ParamWalker* walker() const { return m_walker; }
    quint8 canId() const;
    // The row of the entry's value, or -1.
    int rowOf(quint16 code) const;

    // Reads every entry from the motor / writes every edited entry, reads each back and saves
    // them once all arrived.
    bool upload();
    bool download();
    ParamVerifier* verifier() const { return m_verifier; }

    static QString groupColour(int group);

public slots:
    void changeCell(int row, int column);
    void reloadTable();
    void uploadTable();
    void downloadTable();
    void exportTable();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void fillRow(int row, const ParamEntry& e, int configCount);
    // Every column as wide as its widest text; the value column also takes the room left.
    void fitColumns();
    void markValue(int row, const QString& text, bool modified);
    void showChip(int row, const QString& text, bool accepted);
    bool editable(const ParamEntry& e, int configCount) const;
    void refreshEntry(quint16 code);
    int groupOfRow(int row) const;
    void onDownloadVerified(bool ok);

    QLabel* m_lblConnection = nullptr;
    QTableWidget* m_table = nullptr;
    ParamStore* m_store = nullptr;
    ParamWalker* m_walker = nullptr;
    ParamVerifier* m_verifier = nullptr;
    QVector<quint16> m_codes;         // row -> entry code
    std::array<int, 4> m_firstRow{};  // first row of each group
    std::array<int, 4> m_counts{};    // rows of each group
};
