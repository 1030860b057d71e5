// Stores commissioning runs into the SQLite file named by its argument, one after another, until
// it is killed; prints "stored N" after each commit. The killed-writer test ends it mid-write.

#include "records/recordsstore.h"
#include "tests/records/samplerun.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    if (argc < 2)
        return 2;
    RecordsStore::Options options;
    options.queueForSending = true;
    RecordsStore store(RecordsLocation::sqlite(QString::fromLocal8Bit(argv[1])), options);
    QString error;
    if (!store.open(&error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    const QDateTime start = QDateTime::currentDateTimeUtc();
    for (int n = 1;; ++n) {
        if (store.store(samplerun::make(14, 5, 0x1000 + quint64(n) * 16, start.addSecs(n)), &error) !=
            RecordsStore::StoreResult::Stored) {
            std::fprintf(stderr, "%s\n", qPrintable(error));
            return 1;
        }
        std::printf("stored %d\n", n);
        std::fflush(stdout);
    }
}
