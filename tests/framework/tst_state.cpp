#include "framework/state/emptystateobject.h"
#include "framework/state/statemanager.h"
#include "framework/state/stateobject.h"
#include "framework/state/statewatcher.h"

#include <QSignalSpy>
#include <QtTest>

#include <memory>

using namespace kx;

class TestState : public QObject {
    Q_OBJECT

private slots:
    void ringStepsRoundWithLeaveAndEnterPairs();
    void chainEndsInTheEmptyState();
    void changeToTheCurrentStateAnnouncesIt();
    void lookupsOfUnknownOwnersFindTheEmptyObjects();
    void cancelUnlinksAndClearsTheCurrentState();
    void destroyedOwnerLeavesNothingBehind();
};

void TestState::ringStepsRoundWithLeaveAndEnterPairs() {
    QObject owner;
    StateManager& manager = state();
    QVERIFY(manager.regist(&owner, {QStringLiteral("one"), QStringLiteral("two"), QStringLiteral("three")},
                           true, StateManager::Ring));
    StateObject* one = manager.get(&owner, QStringLiteral("one"));
    StateObject* two = manager.get(&owner, QStringLiteral("two"));
    StateObject* three = manager.get(&owner, QStringLiteral("three"));
    QCOMPARE(manager.current(&owner), one);
    QCOMPARE(one->previousState(), three);

    QSignalSpy leftOne(one, &StateObject::raus);
    QSignalSpy enteredTwo(two, &StateObject::rein);
    QSignalSpy leftThree(three, &StateObject::raus);
    QSignalSpy enteredOne(one, &StateObject::rein);
    QSignalSpy changed(manager.watcher(&owner), &StateWatcher::changed);
    manager.toNext(&owner);
    manager.toNext(&owner);
    manager.toNext(&owner);
    QCOMPARE(manager.current(&owner), one);
    QCOMPARE(changed.count(), 3);
    QCOMPARE(leftOne.count(), 1);
    QCOMPARE(leftOne.at(0).at(0).value<StateObject*>(), two);
    QCOMPARE(enteredTwo.at(0).at(0).value<StateObject*>(), one);
    QCOMPARE(leftThree.at(0).at(0).value<StateObject*>(), one);
    QCOMPARE(enteredOne.at(0).at(0).value<StateObject*>(), three);
    QCOMPARE(changed.at(2).at(0).value<StateObject*>(), three);
    QCOMPARE(changed.at(2).at(1).value<StateObject*>(), one);

    manager.toPrevious(&owner);
    QCOMPARE(manager.current(&owner), three);
    // Registering an existing name returns that state and keeps its links.
    QCOMPARE(manager.regist(&owner, QStringLiteral("two")), two);
    QCOMPARE(two->nextState(), three);
    QVERIFY(!manager.regist(&owner, QStringList(), true, StateManager::Ring));
}

void TestState::chainEndsInTheEmptyState() {
    QObject owner;
    StateManager& manager = state();
    manager.regist(&owner, {QStringLiteral("a"), QStringLiteral("b")}, true, StateManager::Chained);
    StateObject* b = manager.get(&owner, QStringLiteral("b"));
    manager.toNext(&owner);
    QSignalSpy leftB(b, &StateObject::raus);
    QSignalSpy changed(manager.watcher(&owner), &StateWatcher::changed);
    manager.toNext(&owner);
    QVERIFY(manager.current(&owner)->isEmptyState());
    QCOMPARE(leftB.count(), 1);
    QVERIFY(leftB.at(0).at(0).value<StateObject*>()->isEmptyState());
    QCOMPARE(changed.count(), 1);
    // From no state there is nowhere to go but the empty state again, silently for the states.
    manager.toNext(&owner);
    QCOMPARE(changed.count(), 2);
    QCOMPARE(leftB.count(), 1);

    // Unconnected states have no neighbours.
    QObject other;
    manager.regist(&other, {QStringLiteral("x"), QStringLiteral("y")}, false);
    QVERIFY(manager.current(&other)->isEmptyState());
    QVERIFY(manager.get(&other, QStringLiteral("x"))->nextState()->isEmptyState());
}

void TestState::changeToTheCurrentStateAnnouncesIt() {
    QObject owner;
    StateManager& manager = state();
    StateObject* only = manager.regist(&owner, QStringLiteral("only"), true);
    QSignalSpy left(only, &StateObject::raus);
    QSignalSpy entered(only, &StateObject::rein);
    QSignalSpy changed(manager.watcher(&owner), &StateWatcher::changed);
    manager.change(&owner, QStringLiteral("only"));
    QCOMPARE(left.count(), 1);
    QCOMPARE(entered.count(), 1);
    QCOMPARE(left.at(0).at(0).value<StateObject*>(), only);
    QCOMPARE(changed.at(0).at(0).value<StateObject*>(), only);
    QCOMPARE(changed.at(0).at(1).value<StateObject*>(), only);
    // A null target changes nothing.
    manager.change(&owner, static_cast<StateObject*>(nullptr));
    QCOMPARE(changed.count(), 1);
    QCOMPARE(manager.current(&owner), only);
}

void TestState::lookupsOfUnknownOwnersFindTheEmptyObjects() {
    QObject stranger;
    StateManager& manager = state();
    QVERIFY(manager.current(&stranger)->isEmptyState());
    QCOMPARE(manager.current(&stranger), manager.emptyState());
    QCOMPARE(manager.get(&stranger, QStringLiteral("any")), manager.emptyState());
    QCOMPARE(manager.watcher(&stranger), manager.emptyWatcher());
    QVERIFY(!manager.cancel(&stranger, QStringLiteral("any")));
    // The empty state cannot be linked or given a value.
    StateObject* empty = manager.emptyState();
    QObject owner;
    StateObject* real = manager.regist(&owner, QStringLiteral("real"));
    empty->setNextState(real, true);
    empty->setVar(5);
    QVERIFY(empty->nextState()->isEmptyState());
    QVERIFY(real->previousState()->isEmptyState());
    QVERIFY(!empty->var().isValid());
}

void TestState::cancelUnlinksAndClearsTheCurrentState() {
    QObject owner;
    StateManager& manager = state();
    manager.regist(&owner, {QStringLiteral("p"), QStringLiteral("q"), QStringLiteral("r")}, false,
                   StateManager::Ring);
    manager.change(&owner, QStringLiteral("q"));
    StateObject* p = manager.get(&owner, QStringLiteral("p"));
    StateObject* r = manager.get(&owner, QStringLiteral("r"));
    QVERIFY(manager.cancel(&owner, QStringLiteral("q")));
    QVERIFY(!manager.cancel(&owner, QStringLiteral("q")));
    QVERIFY(manager.current(&owner)->isEmptyState());
    // The neighbours of a cancelled state no longer point at it.
    QVERIFY(p->nextState()->isEmptyState());
    QVERIFY(r->previousState()->isEmptyState());
    QCOMPARE(r->nextState(), p);

    // A state that another owner made current is cancelled by its own owner.
    QObject borrower;
    manager.change(&borrower, p);
    QVERIFY(manager.cancel(&owner));
    QVERIFY(manager.current(&borrower)->isEmptyState());
    QVERIFY(manager.get(&owner, QStringLiteral("r"))->isEmptyState());
    // The watcher stays for the owner's listeners.
    QVERIFY(manager.watcher(&owner) != manager.emptyWatcher());
}

void TestState::destroyedOwnerLeavesNothingBehind() {
    StateManager& manager = state();
    auto owner = std::make_unique<QObject>();
    QObject* address = owner.get();
    QPointer<StateObject> kept = manager.regist(address, QStringLiteral("kept"), true);
    QPointer<StateWatcher> watcher = manager.watcher(address);
    owner.reset();
    QVERIFY(kept.isNull());
    QVERIFY(watcher.isNull());
    QCOMPARE(manager.current(address), manager.emptyState());
    QCOMPARE(manager.watcher(address), manager.emptyWatcher());
}

QTEST_GUILESS_MAIN(TestState)
#include "tst_state.moc"
