// Files written whole or not at all, and files read only when they are files: real files in a
// temporary directory, a real full disk (a file size limit, and /dev/full), real FIFOs.
#include "framework/data/atomicfile.h"
#include "framework/data/inputfile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QXmlStreamWriter>
#include <QtTest>

#include <sys/stat.h>

#include "filesizelimit.h"

using kx::AtomicFile;
using kx::InputFile;
using testfiles::FileSizeLimit;

namespace {

QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void put(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

}  // namespace

class TestAtomicFile : public QObject {
    Q_OBJECT

private slots:
    void init() {
        m_dir.reset(new QTemporaryDir);
        QVERIFY(m_dir->isValid());
    }

    void fullDiskLeavesTheOldFile_data() {
        QTest::addColumn<int>("size");
        QTest::addColumn<bool>("streamed");
        // Small data sits in the write buffer until commit, where its failure must still count.
        QTest::newRow("small, one write") << 3000 << false;
        QTest::newRow("large, one write") << 300000 << false;
        QTest::newRow("small, streamed by a writer") << 3000 << true;
    }

    void fullDiskLeavesTheOldFile() {
        QFETCH(int, size);
        QFETCH(bool, streamed);
        const QString path = m_dir->filePath("data.txt");
        put(path, "old and complete");
        bool committed = true;
        QString why;
        {
            const FileSizeLimit full(1024);
            AtomicFile file(path);
            QVERIFY(file.open());
            if (streamed) {
                QXmlStreamWriter writer(file.device());
                writer.writeStartDocument();
                writer.writeTextElement(QStringLiteral("x"), QString(size, QLatin1Char('a')));
                writer.writeEndDocument();
            } else {
                file.write(QByteArray(size, 'a'));
            }
            committed = file.commit();
            why = file.errorString();
        }
        QVERIFY(!committed);
        QCOMPARE(why, QStringLiteral("File too large"));
        QCOMPARE(contents(path), QByteArray("old and complete"));
        QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files), QStringList{"data.txt"});
    }

    void realFullDevice() {
        // /dev/full takes the open and refuses every byte; it is written in place, and stays.
        QString why;
        QVERIFY(!AtomicFile::writeAll(QStringLiteral("/dev/full"), "anything", &why));
        QCOMPARE(why, QStringLiteral("No space left on device"));
        struct stat st;
        QCOMPARE(stat("/dev/full", &st), 0);
        QVERIFY(S_ISCHR(st.st_mode));
        QVERIFY(AtomicFile::writeAll(QStringLiteral("/dev/null"), "anything", &why));
    }

    void replacedOnlyOnCommit() {
        const QString path = m_dir->filePath("a.json");
        put(path, "old");
        {
            AtomicFile file(path);
            QVERIFY(file.open());
            QVERIFY(file.write("new"));
            QCOMPARE(contents(path), QByteArray("old"));
        }  // never committed
        QCOMPARE(contents(path), QByteArray("old"));
        QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files).size(), 1);

        // commitAs puts the new file beside the target and leaves the target alone.
        AtomicFile file(path);
        QVERIFY(file.open());
        QVERIFY(file.write("partial"));
        QVERIFY(file.commitAs(m_dir->filePath("a.partial.json")));
        QCOMPARE(contents(path), QByteArray("old"));
        QCOMPARE(contents(m_dir->filePath("a.partial.json")), QByteArray("partial"));

        QVERIFY(AtomicFile::writeAll(path, "new", nullptr));
        QCOMPARE(contents(path), QByteArray("new"));
    }

    void linksStayLinksAndPermissionsStay() {
        const QString target = m_dir->filePath("real.txt");
        const QString link = m_dir->filePath("link.txt");
        put(target, "old");
        QVERIFY(QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
        QVERIFY(QFile::link(target, link));
        QVERIFY(AtomicFile::writeAll(link, "new", nullptr));
        QVERIFY(QFileInfo(link).isSymLink());
        QCOMPARE(contents(target), QByteArray("new"));
        const QFile::Permissions others =
            QFile::ReadGroup | QFile::WriteGroup | QFile::ReadOther | QFile::WriteOther;
        QCOMPARE(QFile::permissions(target) & others, QFile::Permissions(QFile::ReadGroup));
    }

    void onlyFilesAndCharacterDevicesAreWritten() {
        // A FIFO would wait for a reader, and renaming over it or a directory would destroy it.
        const QString fifo = m_dir->filePath("pipe");
        QCOMPARE(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        QString why;
        QVERIFY(!AtomicFile::writeAll(fifo, "x", &why));
        QCOMPARE(why, fifo + QStringLiteral(" is not a regular file"));
        QVERIFY(QFileInfo(fifo).exists() && !QFileInfo(fifo).isFile());
        QVERIFY(!AtomicFile::writeAll(m_dir->path(), "x", &why));
        QCOMPARE(why, m_dir->path() + QStringLiteral(" is a directory"));
        QVERIFY(!AtomicFile::writeAll(m_dir->filePath("no/such/dir/x"), "x", &why));
        QVERIFY(!why.isEmpty());
    }

    void inputIsAFileOfBoundedSize() {
        const QString fifo = m_dir->filePath("pipe");
        QCOMPARE(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        QByteArray data;
        QString why;
        // Refused before it is opened: opening would wait for a writer.
        QVERIFY(!InputFile::read(fifo, 100, &data, &why));
        QCOMPARE(why, QStringLiteral("not a regular file"));
        QVERIFY(!InputFile::read(QStringLiteral("/dev/zero"), 100, &data, &why));
        QVERIFY(!InputFile::read(m_dir->path(), 100, &data, &why));
        QVERIFY(!InputFile::read(m_dir->filePath("missing"), 100, &data, &why));
        QCOMPARE(why, QStringLiteral("No such file or directory"));
        const QString path = m_dir->filePath("f");
        put(path, QByteArray(101, 'x'));
        QVERIFY(!InputFile::read(path, 100, &data, &why));
        QCOMPARE(why, QStringLiteral("larger than 100 bytes"));
        QVERIFY(InputFile::read(path, 101, &data, &why));
        QCOMPARE(data.size(), 101);
    }

private:
    QScopedPointer<QTemporaryDir> m_dir;
};

QTEST_GUILESS_MAIN(TestAtomicFile)
#include "tst_atomicfile.moc"
