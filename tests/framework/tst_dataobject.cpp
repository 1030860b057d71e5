#include "framework/data/datamanager.h"
#include "framework/data/dataobject.h"
#include "framework/log/flog.h"

#include <QDir>
#include <QPoint>
#include <QPointer>
#include <QSize>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

#include "logfile.h"

using namespace kx;

namespace {

QStringList logMessages() {
    return logfile::messages();
}

QString changerText(QObject* changer) {
    QString text;
    QDebug(&text).nospace() << changer;
    return text;
}

}  // namespace

class TestDataObject : public QObject {
    Q_OBJECT

private slots:
    void init() {
        m_dir.reset(new QTemporaryDir);
        QVERIFY(m_dir->isValid());
        QDir::setCurrent(m_dir->path());
        m_root.reset(new DataObject(QStringLiteral("top")));
    }

    void cleanup() {
        m_root.reset();
        QDir::setCurrent(QDir::tempPath());
        m_dir.reset();
    }

    void navigationStaysOnTheEmptyNode() {
        m_root->insert(nullptr, QStringLiteral("a"));
        m_root->insert(nullptr, QStringLiteral("b"));
        m_root->insert(nullptr, QStringLiteral("c"));
        DataObject* b = m_root->c(QStringLiteral("b"));
        QCOMPARE(b->p(0), b->pdobj());
        QCOMPARE(b->bdobj(0), b);
        QCOMPARE(b->b(1)->name(), QStringLiteral("c"));
        QCOMPARE(b->b(-1)->name(), QStringLiteral("a"));
        QVERIFY(b->b(2)->isEmpty());
        QVERIFY(b->b(-5)->isEmpty());
        QCOMPARE(b->b(QStringLiteral("a"))->name(), QStringLiteral("a"));
        QCOMPARE(m_root->first()->name(), QStringLiteral("a"));
        QCOMPARE(m_root->last()->name(), QStringLiteral("c"));
        QVERIFY(m_root->cdobj(m_root->size())->isEmpty());
        QVERIFY(m_root->cdobj(-1)->isEmpty());
        QVERIFY(m_root->p(0)->isEmpty());

        // Chained lookups through missing nodes never crash and end on harmless answers.
        DataObject* missing = m_root->r(QStringLiteral("x.y"))->c(3)->p(2)->b(1)->first();
        QVERIFY(missing->isEmpty());
        QCOMPARE(missing->getInt(7), 7);
        QCOMPARE(missing->set(nullptr, 5), missing);
        QVERIFY(!missing->get(3).isValid());
        QVERIFY(missing->append(nullptr, QStringLiteral("n"))->isEmpty());
        QVERIFY(!missing->insert(nullptr, QStringLiteral("n")));
        QCOMPARE(missing->size(), 0);

        // The empty node is shared: flags set through one failed lookup do not stick, and
        // nothing done to it reaches a listener connected to another missing path.
        QSignalSpy activated(m_root->r(QStringLiteral("other")), &DataObject::activated);
        QSignalSpy changed(m_root->r(QStringLiteral("other")), &DataObject::changed);
        missing->watch(true, true);
        missing->quiet(true, true);
        QVERIFY(!m_root->r(QStringLiteral("other"))->isWatching());
        QVERIFY(!m_root->r(QStringLiteral("other"))->isQuiet());
        missing->activate(nullptr, m_root.get(), DataObject::ACTIVATE_SET);
        missing->trigger();
        missing->clear(nullptr, true, false);
        missing->importFromVariant(nullptr, QVariantMap{{QStringLiteral("k"), 1}});
        missing->setList(nullptr, QVariantList{1, 2}, true);
        QCOMPARE(activated.count(), 0);
        QCOMPARE(changed.count(), 0);
        QCOMPARE(missing->size(), 0);
    }

    void positionalWalkFromBothEnds() {
        for (int i = 0; i < 7; ++i)
            m_root->append(nullptr, QStringLiteral("n%1").arg(i));
        for (int i = 0; i < 7; ++i) {
            QCOMPARE(m_root->cdobj(i)->name(), QStringLiteral("n%1").arg(i));
            QCOMPARE(m_root->cdobj(i)->indexInPdobj(), i);
        }
    }

    void indexNames_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("index");
        QTest::newRow("index") << "#3" << 3;
        QTest::newRow("multi-digit") << "#12" << 12;
        QTest::newRow("hash only") << "#" << -1;
        QTest::newRow("empty") << "" << -1;
        QTest::newRow("no hash") << "3" << -1;
        QTest::newRow("generated id") << "#{0f8fad5b-d9cb-469f-a165-70867728950e}" << -1;
    }

    void indexNames() {
        QFETCH(QString, name);
        QFETCH(int, index);
        QCOMPARE(DataObject::indexOfRname(name), index);
    }

    void generatedIdsAreBracedUuids() {
        const QRegularExpression shape(
            QStringLiteral("^#\\{[0-9a-f]{8}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{12}\\}$"));
        const QString id = DataObject::generateId(m_root.get());
        QVERIFY2(shape.match(id).hasMatch(), qPrintable(id));
        QVERIFY(DataObject::generateId(nullptr) != id);

        // A taken candidate gets the first free counter suffix.
        for (const char* name : {"#x", "#x_1", "#x_3"})
            m_root->append(nullptr, QLatin1String(name));
        QCOMPARE(DataObject::uniqueName(m_root.get(), QStringLiteral("#x")), QStringLiteral("#x_2"));
        QCOMPARE(DataObject::uniqueName(m_root.get(), QStringLiteral("#y")), QStringLiteral("#y"));
    }

    void relativeChildrenByPosition() {
        QSignalSpy added(m_root.get(), &DataObject::added);
        QVERIFY(m_root->insert(nullptr, QStringLiteral("a.#2")));
        DataObject* a = m_root->c(QStringLiteral("a"));
        QCOMPARE(a->size(), 3);
        QCOMPARE(a->cdobjNames(false), (QStringList{"#0", "#1", "#2"}));
        const QStringList ids = a->cdobjNames(true);
        for (const QString& id : ids)
            QVERIFY(id.startsWith(QLatin1String("#{")));
        QCOMPARE(m_root->r(QStringLiteral("a.#1"))->name(), ids.at(1));
        QCOMPARE(m_root->r(QStringLiteral("a.#1"))->rname(), QStringLiteral("#1"));
        QCOMPARE(m_root->r(QStringLiteral("a.#1"))->fullName(m_root.get()), QStringLiteral("a.#1"));
        QCOMPARE(added.count(), 1);

        QSignalSpy removed(a, &DataObject::removed);
        QVERIFY(m_root->remove(nullptr, QStringLiteral("a.#0"), true));
        QCOMPARE(removed.count(), 1);
        QCOMPARE(removed.at(0).at(0).toString(), QStringLiteral("#0"));
        QCOMPARE(a->c(QStringLiteral("#0"))->name(), ids.at(1));
        QCOMPARE(a->c(ids.at(2), true)->rname(), QStringLiteral("#1"));
    }

    void emptyNameGetsIdAndAddedCarriesPosition() {
        m_root->append(nullptr, QStringLiteral("named"));
        QSignalSpy added(m_root.get(), &DataObject::added);
        auto* node = new DataObject();
        QVERIFY(m_root->insert(nullptr, node, false, -1));
        QVERIFY(node->isRelative());
        QCOMPARE(added.at(0).at(0).toString(), QStringLiteral("#1"));
        QCOMPARE(node->pdobj(), m_root.get());
    }

    void insertAndRemoveSignalOrder() {
        QObject changer;
        QStringList events;
        connect(m_root.get(), &DataObject::gonnaInsert, this,
                [&](DataObject* target, DataObject* ref, QObject* who) {
                    events << QStringLiteral("gonnaInsert %1 %2").arg(target->name(), ref->name());
                    QCOMPARE(who, &changer);
                    QVERIFY(!ref->hasCdobj(target));  // not linked yet
                });
        connect(m_root.get(), &DataObject::added, this,
                [&](const QString& rname, QObject*) { events << QStringLiteral("added ") + rname; });
        connect(m_root.get(), &DataObject::gonnaRemove, this, [&](DataObject* target, DataObject*, QObject*) {
            events << QStringLiteral("gonnaRemove ") + target->name();
            QVERIFY(m_root->hasCdobj(target));  // still linked
        });
        connect(m_root.get(), &DataObject::removed, this,
                [&](const QString& rname, QObject*) { events << QStringLiteral("removed ") + rname; });
        QVERIFY(!m_root->append(&changer, QStringLiteral("x"))->isEmpty());
        QVERIFY(m_root->remove(&changer, QStringLiteral("x"), true));
        QCOMPARE(events, (QStringList{"gonnaInsert x top", "added x", "gonnaRemove x", "removed x"}));
    }

    void insertFailuresAreLogged() {
        QObject changer;
        m_root->append(nullptr, QStringLiteral("x"));
        QVERIFY(!m_root->insert(&changer, nullptr, false, -1));
        auto duplicate = std::make_unique<DataObject>(QStringLiteral("x"));
        QVERIFY(!m_root->insert(&changer, duplicate.get(), false, -1));
        QVERIFY(!m_root->remove(&changer, static_cast<DataObject*>(nullptr), true));
        QVERIFY(!m_root->remove(&changer, duplicate.get(), true));  // a stranger of the same name
        QVERIFY(!m_root->remove(&changer, QStringLiteral("missing"), true));
        QCOMPARE(m_root->size(), 1);
        const QString who =
            QStringLiteral("<mobj>< ") + changerText(&changer) + QStringLiteral(" > attempt to ");
        QCOMPARE(logMessages(),
                 (QStringList{who + "insert a null module obj", who + "insert an existed module obj:  x",
                              who + "remove a null module obj", who + "remove an unexisted module obj:  x"}));
    }

    void replaceDeletesThePresentChild() {
        QPointer<DataObject> old = m_root->append(nullptr, QStringLiteral("x"));
        m_root->append(nullptr, QStringLiteral("y"));
        QSignalSpy removed(m_root.get(), &DataObject::removed);
        auto* fresh = new DataObject(QStringLiteral("x"));
        QVERIFY(m_root->insert(nullptr, fresh, true, 0));
        QVERIFY(old.isNull());
        QCOMPARE(removed.count(), 1);
        QCOMPARE(m_root->cdobjNames(), (QStringList{"x", "y"}));
        QCOMPARE(m_root->c(QStringLiteral("x")), fresh);
    }

    void removedNodeIsDetached() {
        DataObject* node = m_root->append(nullptr, QStringLiteral("branch"));
        node->append(nullptr, QStringLiteral("leaf"));
        QVERIFY(m_root->remove(nullptr, node, false));
        std::unique_ptr<DataObject> owned(node);
        QVERIFY(node->pdobj()->isEmpty());
        QCOMPARE(node->indexInPdobj(), -1);
        QCOMPARE(node->c(QStringLiteral("leaf"))->fullName(), QStringLiteral("branch.leaf"));
        m_root.reset();  // the former parent dies first; the removed node must not notice
        QCOMPARE(node->fullName(), QStringLiteral("branch"));

        // A detached node can be inserted elsewhere.
        DataObject other(QStringLiteral("other"));
        QVERIFY(other.insert(nullptr, owned.release(), false, -1));
        QCOMPARE(other.r(QStringLiteral("branch.leaf"))->fullName(&other), QStringLiteral("branch.leaf"));
    }

    void unlinkedNodeMayOutliveItsNominalParent() {
        // A node built with a parent but never inserted is not owned by it.
        auto* parent = new DataObject(QStringLiteral("p"));
        std::unique_ptr<DataObject> node(d().create(QStringLiteral("n"), parent));
        QCOMPARE(node->pdobj(), parent);
        QCOMPARE(parent->size(), 0);
        delete parent;
        node.reset();
    }

    void treeCorruptingInsertsAreRefused() {
        DataObject* a = m_root->append(nullptr, QStringLiteral("a"));
        DataObject* b = a->append(nullptr, QStringLiteral("b"));
        QVERIFY(!b->insert(nullptr, a, false, -1));       // an ancestor: a cycle
        QVERIFY(!a->insert(nullptr, a, false, -1));       // itself
        QVERIFY(!m_root->insert(nullptr, b, false, -1));  // still owned by a
        QCOMPARE(a->size(), 1);
        QCOMPARE(b->pdobj(), a);
        QCOMPARE(m_root->cdobjNames(), QStringList{"a"});

        // Deleting a linked node directly takes it out of its parent's list.
        delete b;
        QCOMPARE(a->size(), 0);
        QVERIFY(a->c(QStringLiteral("b"))->isEmpty());
    }

    void setAnnouncesEveryValue() {
        DataObject* node = m_root->append(nullptr, QStringLiteral("v"));
        QSignalSpy changed(node, &DataObject::changed);
        QObject changer;
        node->set(&changer, 5);
        node->set(&changer, 5);
        QCOMPARE(changed.count(), 2);
        QCOMPARE(changed.at(1).at(0), QVariant(5));
        QCOMPARE(changed.at(1).at(1), QVariant(5));
        QCOMPARE(changed.at(1).at(2).value<QObject*>(), &changer);
    }

    void triggerReannouncesWithSenderAsChanger() {
        DataObject* event = m_root->append(nullptr, QStringLiteral("event"));
        QSignalSpy changed(event, &DataObject::changed);
        event->trigger();
        QCOMPARE(changed.count(), 1);
        QVERIFY(changed.at(0).at(0).isNull());
        QVERIFY(changed.at(0).at(1).isNull());

        DataObject source(QStringLiteral("source"));
        connect(&source, &DataObject::changed, event, &DataObject::trigger);
        event->set(nullptr, QStringLiteral("kept"));
        source.set(nullptr, 1);
        QCOMPARE(changed.count(), 3);
        QCOMPARE(changed.at(2).at(0).toString(), QStringLiteral("kept"));
        QCOMPARE(changed.at(2).at(2).value<QObject*>(), &source);

        // A value that Qt calls null (a point at the origin) survives the event.
        event->set(nullptr, QPoint(0, 0));
        event->trigger();
        QCOMPARE(changed.last().at(0), QVariant(QPoint(0, 0)));
        QCOMPARE(event->exportToVariant(), QVariant(QPoint(0, 0)));
    }

    void setByPath() {
        QObject changer;
        QCOMPARE(m_root->set(&changer, QStringLiteral("a.b"), 1, false), m_root.get());
        QVERIFY(!m_root->hasRdobj(QStringLiteral("a.b")));
        QCOMPARE(logMessages(), QStringList{QStringLiteral("<m><") + changerText(&changer) +
                                            QStringLiteral("> set unreachable module: \"a.b\" with: 1")});
        QCOMPARE(m_root->set(&changer, QStringLiteral("a.b"), 2, true), m_root.get());
        QCOMPARE(m_root->r(QStringLiteral("a.b"))->getInt(), 2);
        QVERIFY(!m_root->insert(nullptr, QStringLiteral("a..b")));
    }

    void typedGetters_data() {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<int>("asInt");
        QTest::addColumn<double>("asDouble");
        QTest::addColumn<bool>("asBool");
        QTest::addColumn<QString>("asString");
        QTest::newRow("numeric text") << QVariant(QStringLiteral("12")) << 12 << 12.0 << true << "12";
        QTest::newRow("non-numeric text") << QVariant(QStringLiteral("x")) << 0 << 0.0 << true << "x";
        QTest::newRow("unset") << QVariant() << 7 << 2.5 << true << "dflt";
        QTest::newRow("double") << QVariant(3.75) << 4 << 3.75 << true << "3.75";
        QTest::newRow("list") << QVariant(QVariantList{1}) << 7 << 2.5 << true << "dflt";
    }

    void typedGetters() {
        QFETCH(QVariant, value);
        QFETCH(int, asInt);
        QFETCH(double, asDouble);
        QFETCH(bool, asBool);
        QFETCH(QString, asString);
        DataObject* node = m_root->append(nullptr, QStringLiteral("v"));
        if (value.isValid())
            node->set(nullptr, value);
        QCOMPARE(node->getInt(7), asInt);
        QCOMPARE(node->getDouble(2.5), asDouble);
        QCOMPARE(node->getBool(true), asBool);
        QCOMPARE(node->getString(QStringLiteral("dflt")), asString);
    }

    void listsByPosition() {
        m_root->setList(nullptr, QStringLiteral("l"), {1, 2, 3}, true);
        QCOMPARE(m_root->r(QStringLiteral("l"))->getList(), (QVariantList{1, 2, 3}));
        m_root->setList(nullptr, QStringLiteral("l"), {9}, true);
        QCOMPARE(m_root->r(QStringLiteral("l"))->getList(), (QVariantList{9, 2, 3}));
        DataObject* direct = m_root->append(nullptr, QStringLiteral("d"));
        direct->setList(nullptr, {QStringLiteral("x")}, false);  // nothing to set without create
        QCOMPARE(direct->size(), 0);
    }

    void quietNodeChangesSilently() {
        m_root->watch(true, true);
        DataObject* a = m_root->append(nullptr, QStringLiteral("a"));
        DataObject* b = a->append(nullptr, QStringLiteral("b"));
        a->quiet(true);
        QSignalSpy aChanged(a, &DataObject::changed);
        QSignalSpy aAdded(a, &DataObject::added);
        QSignalSpy aRemoved(a, &DataObject::removed);
        QSignalSpy aActivated(a, &DataObject::activated);
        QSignalSpy rootActivated(m_root.get(), &DataObject::activated);
        a->set(nullptr, 1);
        a->append(nullptr, QStringLiteral("c"));
        QVERIFY(a->remove(nullptr, QStringLiteral("c"), true));
        b->set(nullptr, 2);  // b is not quiet: the walk stops at a
        QCOMPARE(a->getInt(), 1);
        QCOMPARE(a->size(), 1);
        QCOMPARE(aChanged.count() + aAdded.count() + aRemoved.count() + aActivated.count(), 0);
        QCOMPARE(rootActivated.count(), 0);
    }

    void activationWalksWatchingAncestors() {
        DataObject* a = m_root->append(nullptr, QStringLiteral("a"));
        m_root->watch(true, true);
        DataObject* b = a->append(nullptr, QStringLiteral("b"));  // takes over watching
        QVERIFY(b->isWatching());
        QSignalSpy rootSpy(m_root.get(), &DataObject::activated);
        QSignalSpy aSpy(a, &DataObject::activated);
        QSignalSpy bSpy(b, &DataObject::activated);
        QObject changer;
        b->set(&changer, 3);
        QCOMPARE(bSpy.count(), 1);
        QCOMPARE(aSpy.count(), 1);
        QCOMPARE(rootSpy.count(), 1);
        QCOMPARE(rootSpy.at(0).at(0).value<DataObject*>(), b);
        QCOMPARE(rootSpy.at(0).at(1).toInt(), int(DataObject::ACTIVATE_SET));
        QCOMPARE(rootSpy.at(0).at(2).value<QObject*>(), &changer);

        DataObject* c = b->append(nullptr, QStringLiteral("c"));  // starts at b, the parent
        QCOMPARE(bSpy.count(), 2);
        QCOMPARE(rootSpy.last().at(0).value<DataObject*>(), c);
        QCOMPARE(rootSpy.last().at(1).toInt(), int(DataObject::ACTIVATE_INSERT));

        a->watch(false);  // an unwatched ancestor ends the walk
        b->remove(nullptr, c, true);
        QCOMPARE(bSpy.last().at(1).toInt(), int(DataObject::ACTIVATE_REMOVE));
        QCOMPARE(aSpy.count(), 2);
        QCOMPARE(rootSpy.count(), 2);
    }

    void reorderByNames_data() {
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<bool>("result");
        QTest::addColumn<QStringList>("order");
        QTest::newRow("one to the front") << QStringList{"c"} << true << QStringList{"c", "a", "b"};
        QTest::newRow("unknown ignored") << QStringList{"zz", "b"} << true << QStringList{"b", "a", "c"};
        QTest::newRow("by position") << QStringList{"#2", "#1"} << true << QStringList{"c", "b", "a"};
        QTest::newRow("duplicates taken once")
            << QStringList{"b", "b", "a"} << true << QStringList{"b", "a", "c"};
        QTest::newRow("empty list") << QStringList{} << false << QStringList{"a", "b", "c"};
        QTest::newRow("too many names")
            << QStringList{"a", "b", "c", "d"} << false << QStringList{"a", "b", "c"};
    }

    void reorderByNames() {
        QFETCH(QStringList, names);
        QFETCH(bool, result);
        QFETCH(QStringList, order);
        for (const char* name : {"a", "b", "c"})
            m_root->append(nullptr, QLatin1String(name));
        m_root->watch(true);
        QSignalSpy activated(m_root.get(), &DataObject::activated);
        QSignalSpy added(m_root.get(), &DataObject::added);
        QCOMPARE(m_root->reorder(nullptr, names), result);
        QCOMPARE(m_root->cdobjNames(), order);
        QCOMPARE(activated.count(), result ? 1 : 0);
        QCOMPARE(added.count(), 0);
        QCOMPARE(m_root->last()->name(), order.last());
        QCOMPARE(m_root->last()->prevBdobj()->name(), order.at(1));
    }

    void reorderByPositions() {
        for (const char* name : {"a", "b", "c", "d"})
            m_root->append(nullptr, QLatin1String(name));
        QVERIFY(m_root->reorder(nullptr, 0, 2));
        QCOMPARE(m_root->cdobjNames(), (QStringList{"b", "c", "a", "d"}));
        QVERIFY(m_root->reorder(nullptr, 3, 0));
        QCOMPARE(m_root->cdobjNames(), (QStringList{"d", "b", "c", "a"}));
        QVERIFY(!m_root->reorder(nullptr, 1, 1));
        QVERIFY(!m_root->reorder(nullptr, 4, 0));
        QCOMPARE(m_root->c(QStringLiteral("a"))->pdobj(), m_root.get());
    }

    void clearKeepsOrDropsStructure() {
        m_root->set(nullptr, QStringLiteral("a.b"), 1, true);
        m_root->set(nullptr, QStringLiteral("a.c"), 2, true);
        m_root->set(nullptr, 9);
        DataObject* a = m_root->c(QStringLiteral("a"));
        QSignalSpy rootChanged(m_root.get(), &DataObject::changed);
        m_root->clear(nullptr, true, true);
        QCOMPARE(a->cdobjNames(), (QStringList{"b", "c"}));
        QVERIFY(a->c(QStringLiteral("b"))->get().isNull());
        QVERIFY(m_root->get().isNull());
        QCOMPARE(rootChanged.count(), 1);

        QSignalSpy removed(a, &DataObject::removed);
        a->clear(nullptr, true, false);
        QCOMPARE(a->size(), 0);
        QCOMPARE(removed.count(), 2);
    }

    void copyFromMatchesRelativeChildrenByPosition() {
        DataObject source(QStringLiteral("s"));
        source.set(nullptr, QStringLiteral("list.#1"), QStringLiteral("b"), true);
        source.set(nullptr, QStringLiteral("list.#0"), QStringLiteral("a"), true);
        source.set(nullptr, QStringLiteral("x"), 1, true);
        source.set(nullptr, 10);
        m_root->set(nullptr, QStringLiteral("extra"), 5, true);
        m_root->set(nullptr, QStringLiteral("list.#0"), QStringLiteral("old"), true);
        const QString firstId = m_root->r(QStringLiteral("list.#0"))->name();

        QStringList order;
        connect(m_root.get(), &DataObject::changed, this, [&] { order << QStringLiteral("top"); });
        connect(m_root->c(QStringLiteral("list")), &DataObject::changed, this,
                [&] { order << QStringLiteral("list"); });
        m_root->copyFrom(nullptr, &source, false, false);
        QCOMPARE(m_root->r(QStringLiteral("list"))->getList(), QVariantList{QStringLiteral("a")});
        QCOMPARE(m_root->r(QStringLiteral("list.#0"))->name(), firstId);
        QVERIFY(!m_root->hasCdobj(QStringLiteral("x")));
        QCOMPARE(order, (QStringList{"list", "top"}));  // children before the node itself

        m_root->copyFrom(nullptr, &source, true, true);
        QCOMPARE(m_root->cdobjNames(), (QStringList{"list", "x"}));
        QCOMPARE(m_root->r(QStringLiteral("list"))->getList(), (QVariantList{"a", "b"}));
        QCOMPARE(m_root->getInt(), 10);
    }

    void copyFromAnAncestorTerminates() {
        m_root->set(nullptr, QStringLiteral("a.b"), 1, true);
        DataObject* b = m_root->r(QStringLiteral("a.b"));
        b->copyFrom(nullptr, m_root.get(), true, false);
        QCOMPARE(m_root->r(QStringLiteral("a.b.a.b"))->getInt(), 1);
        QVERIFY(!m_root->hasRdobj(QStringLiteral("a.b.a.b.a")));
    }

    void copyFromADescendantSurvivesRemoveMissing() {
        // Removing the surplus children of a would delete the source a.b midway.
        m_root->set(nullptr, QStringLiteral("a.b.x"), 1, true);
        m_root->set(nullptr, QStringLiteral("a.b"), QSize(0, 0), false);
        m_root->set(nullptr, QStringLiteral("a.c"), 2, true);
        DataObject* a = m_root->r(QStringLiteral("a"));
        a->copyFrom(nullptr, a->r(QStringLiteral("b")), true, true);
        QCOMPARE(a->cdobjNames(), QStringList{QStringLiteral("x")});
        QCOMPARE(a->r(QStringLiteral("x"))->getInt(), 1);
        QCOMPARE(a->exportToVariant(false).toMap().size(), 1);
        // The source's value is copied as stored, also one that Qt calls null.
        QCOMPARE(DataObject(QStringLiteral("n")).exportToVariant(), QVariant());
        DataObject copy(QStringLiteral("copy"));
        copy.set(nullptr, QPoint(5, 5));
        DataObject origin(QStringLiteral("origin"));
        origin.set(nullptr, QSize(0, 0));
        copy.copyFrom(nullptr, &origin, true, false);
        QCOMPARE(copy.exportToVariant(), QVariant(QSize(0, 0)));
    }

    void dumpWritesOneLinePerNode() {
        m_root->set(nullptr, QStringLiteral("l.#1"), 4, true);
        m_root->set(nullptr, 3);
        m_root->dump(m_root.get());
        const QStringList messages = logMessages();
        QCOMPARE(messages.size(), 4);
        QCOMPARE(messages.at(0), QStringLiteral("<mobj>top: 3, children: (l)"));
        QCOMPARE(messages.at(1), QStringLiteral("<mobj>top.l: , children: (#0, #1)"));
        QCOMPARE(messages.at(3), QStringLiteral("<mobj>top.l.#1: 4, children: ()"));
    }

private:
    QScopedPointer<QTemporaryDir> m_dir;
    std::unique_ptr<DataObject> m_root;
};

QTEST_GUILESS_MAIN(TestDataObject)
#include "tst_dataobject.moc"
