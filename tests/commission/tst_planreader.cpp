// Plans are refused before anything is sent: every problem with its position, typed values,
// limits resolved the way the plan's author meant them.

#include "commission/plan/planreader.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QByteArray planWith(const QByteArray& steps) {
    return "name: test\nsteps:\n" + steps;
}

std::optional<Plan> readText(const QByteArray& yaml, QVector<PlanProblem>* problems,
                             const QString& folder = QDir::currentPath()) {
    return PlanReader::read(yaml, QStringLiteral("plan.yaml"), folder, problems);
}

QString joined(const QVector<PlanProblem>& problems) {
    QStringList lines;
    for (const PlanProblem& p : problems)
        lines << p.text();
    return lines.join(QLatin1Char('\n'));
}

bool writeFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

}  // namespace

class TestPlanReader : public QObject {
    Q_OBJECT

private slots:
    void examplesAreValid_data();
    void examplesAreValid();
    void valuesAreTyped();
    void limitsResolve();
    void problemsHavePositions_data();
    void problemsHavePositions();
    void everyProblemIsReported();
    void filesResolveAgainstThePlanFolder();
    void fileProblems();
    void limitJudgement_data();
    void limitJudgement();
    void textChecks_data();
    void textChecks();
};

void TestPlanReader::examplesAreValid_data() {
    QTest::addColumn<QString>("file");
    QTest::newRow("bench-check") << QStringLiteral("bench-check.yaml");
    QTest::newRow("sim-joint") << QStringLiteral("sim-joint.yaml");
}

void TestPlanReader::examplesAreValid() {
    QFETCH(QString, file);
    // Read from another working directory: the examples must not depend on where they run.
    QTemporaryDir elsewhere;
    QDir::setCurrent(elsewhere.path());
    QVector<PlanProblem> problems;
    const auto plan = PlanReader::readFile(QStringLiteral(TRIVANE_EXAMPLES_DIR "/") + file, &problems);
    QVERIFY2(plan, qPrintable(joined(problems)));
    QVERIFY(!plan->name.isEmpty());
    QCOMPARE(plan->steps.first().kind, QStringLiteral("detect"));
}

void TestPlanReader::valuesAreTyped() {
    QVector<PlanProblem> problems;
    const auto plan = readText(planWith(R"(
  - step: detect
    motors: 2
    models: [0, 0x11]
  - step: identify
    name: Who is there
    models: 3
    firmware: AppCodeVersion
    entries:
      AppCodeVersion: {at_least: 1.2}
      AppCodeName: joint
  - step: set-can-id
    next_free: 0x10
  - step: move
    mode: mit
    target: -1.5
    kp: 20
    kd: 1
    settle: 250 ms
    continue_on_fail: true
  - step: capture
    all_motors: true
    channels: [mechVel, 0x3000]
    rate: 500
    duration: 1.5min
    checks:
      - measure: rms_diff
        channels: [mechVel, 0X3000]
        max: 0.5
  - step: estop
    within: 0.2
  - step: prompt
    text: "  Shaft free?  "
  - step: wait
    duration: 2s
)"),
                               &problems);
    QVERIFY2(plan, qPrintable(joined(problems)));
    QCOMPARE(plan->steps.size(), 8);
    const auto* detect = plan->steps[0].as<DetectStep>();
    QVERIFY(detect && detect->motors);
    QCOMPARE(detect->motors->low, 2.0);
    QCOMPARE(detect->motors->high, 2.0);
    QCOMPARE(detect->models, QVector<int>({0, 17}));
    const auto* identify = plan->steps[1].as<IdentifyStep>();
    QCOMPARE(plan->steps[1].title, QStringLiteral("Who is there"));
    QCOMPARE(identify->models, QVector<int>{3});
    QCOMPARE(identify->entries.size(), 2);
    QCOMPARE(int(identify->entries[1].check.kind), int(TextCheck::Kind::Equals));
    QCOMPARE(plan->steps[2].as<SetCanIdStep>()->nextFree, 16);
    QCOMPARE(plan->steps[2].title, QStringLiteral("set-can-id"));
    const auto* move = plan->steps[3].as<MoveStep>();
    QCOMPARE(int(move->mode), int(MoveMode::Mit));
    QCOMPARE(move->settleSeconds, 0.25);
    QVERIFY(plan->steps[3].continueOnFail);
    QVERIFY(!plan->steps[4].continueOnFail);
    QVERIFY(plan->steps[4].allMotors);
    const auto* capture = plan->steps[4].as<CaptureStep>();
    QCOMPARE(capture->seconds, 90.0);
    QCOMPARE(capture->checks.size(), 1);
    QCOMPARE(plan->steps[5].as<EstopStep>()->withinSeconds, 0.2);
    QCOMPARE(plan->steps[6].as<PromptStep>()->text, QStringLiteral("Shaft free?"));
    QCOMPARE(plan->steps[7].as<WaitStep>()->seconds, 2.0);
}

void TestPlanReader::limitsResolve() {
    QVector<PlanProblem> problems;
    const auto plan = readText(planWith(R"(
  - step: move
    mode: position
    target: 2
    speed: 1
    check:
      position: {tolerance: 5%, marginal: 20%}
      velocity: {expect: 0, tolerance: 0.1}
      torque: {max: 3, marginal: 0.5}
  - step: move
    mode: velocity
    target: -4
    check:
      velocity: {tolerance: 0.4}
)"),
                               &problems);
    QVERIFY2(plan, qPrintable(joined(problems)));
    const auto* move = plan->steps[0].as<MoveStep>();
    QCOMPARE(move->checks.size(), 3);
    // A tolerance without "expect" is around the target of the quantity the mode drives.
    const Limit& position = move->checks[0].limit;
    QVERIFY(qFuzzyCompare(position.low, 1.9));
    QVERIFY(qFuzzyCompare(position.high, 2.1));
    QVERIFY(qFuzzyCompare(position.marginal, 0.02));
    const Limit& torque = move->checks[2].limit;
    QVERIFY(!torque.hasLow && torque.hasHigh);
    QCOMPARE(torque.marginal, 0.5);
    const Limit& velocity = plan->steps[1].as<MoveStep>()->checks[0].limit;
    QVERIFY(qFuzzyCompare(velocity.low, -4.4));
    QVERIFY(qFuzzyCompare(velocity.high, -3.6));
}

void TestPlanReader::problemsHavePositions_data() {
    QTest::addColumn<QByteArray>("yaml");
    QTest::addColumn<int>("line");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("fragment");

    QTest::newRow("syntax") << QByteArray("name: x\nsteps: [ {step: zero}\n") << 3 << 1 << "not valid YAML";
    QTest::newRow("not a mapping") << QByteArray("- step: zero\n") << 1 << 1 << "must be a mapping";
    QTest::newRow("format") << QByteArray("format: 2\nname: x\nsteps: [{step: zero}]\n") << 1 << 9
                            << "format 2";
    QTest::newRow("no steps") << QByteArray("name: x\n") << 1 << 1 << "needs \"steps\"";
    QTest::newRow("top-level typo") << QByteArray("name: x\nstep: []\nsteps: [{step: zero}]\n") << 2 << 1
                                    << "did you mean \"steps\"";
    QTest::newRow("duplicate key") << planWith("  - step: wait\n    duration: 1\n    duration: 2\n") << 5 << 5
                                   << "given twice";
    QTest::newRow("unknown kind") << planWith("  - step: mvoe\n") << 3 << 11 << "did you mean \"move\"";
    QTest::newRow("unknown key") << planWith("  - step: zero\n    speed: 3\n") << 4 << 5
                                 << "unknown key \"speed\" in step 1 (zero)";
    QTest::newRow("limit typo") << planWith("  - step: calibrate\n    offset: {min: 0, mx: 2}\n") << 4 << 22
                                << "did you mean \"max\"";
    QTest::newRow("quoted number") << planWith("  - step: move\n    mode: velocity\n    target: \"1.5\"\n")
                                   << 5 << 13 << "target must be a number";
    QTest::newRow("yes is not a boolean")
        << planWith("  - step: calibrate\n    all_motors: yes\n") << 4 << 17 << "true or false";
    QTest::newRow("all_motors on a move")
        << planWith("  - step: move\n    mode: velocity\n    target: 1\n    all_motors: true\n") << 6 << 17
        << "only on calibrate, params and capture";
    QTest::newRow("detect not first")
        << planWith("  - step: zero\n  - step: detect\n") << 4 << 5 << "detect must be the first step";
    QTest::newRow("empty bus") << planWith("  - step: detect\n    motors: 0\n") << 4 << 13 << "empty bus";
    QTest::newRow("min above max") << planWith("  - step: calibrate\n    offset: {min: 2, max: 1}\n") << 4
                                   << 19 << "no value could pass";
    QTest::newRow("marginal covers all")
        << planWith("  - step: calibrate\n    offset: {min: 0, max: 1, marginal: 0.5}\n") << 4 << 40
        << "covers the whole range";
    QTest::newRow("percent marginal one-sided")
        << planWith("  - step: calibrate\n    offset: {max: 1, marginal: 10%}\n") << 4 << 32
        << "needs both limits";
    QTest::newRow("relative tolerance around 0") << planWith(
                                                        "  - step: move\n    mode: velocity\n    target: 0\n "
                                                        "   check:\n      velocity: {tolerance: 5%}\n")
                                                 << 7 << 29 << "other than 0";
    QTest::newRow("negative tolerance")
        << planWith("  - step: calibrate\n    offset: {expect: 1, tolerance: -0.1}\n") << 4 << 36
        << "must not be negative";
    QTest::newRow("expect alone") << planWith("  - step: calibrate\n    offset: {expect: 1}\n") << 4 << 22
                                  << "expect needs a tolerance";
    QTest::newRow("tolerance beside min")
        << planWith("  - step: calibrate\n    offset: {min: 0, tolerance: 1}\n") << 4 << 33 << "not both";
    QTest::newRow("unknown feedback quantity")
        << planWith(
               "  - step: move\n    mode: velocity\n    target: 1\n    check:\n      current: {max: 1}\n")
        << 7 << 7 << "unknown key \"current\"";
    QTest::newRow("id and next_free") << planWith("  - step: set-can-id\n    id: 3\n    next_free: 4\n") << 5
                                      << 16 << "either \"id\" or \"next_free\"";
    QTest::newRow("CAN ID range") << planWith("  - step: set-can-id\n    id: 128\n") << 4 << 9
                                  << "from 1 to 127";
    QTest::newRow("mit target")
        << planWith("  - step: move\n    mode: mit\n    target: 13\n    kp: 1\n    kd: 1\n") << 5 << 13
        << "MIT target";
    QTest::newRow("mit gains") << planWith("  - step: move\n    mode: mit\n    target: 1\n    kd: 1\n") << 3
                               << 5 << "needs \"kp\"";
    QTest::newRow("speed on a velocity move")
        << planWith("  - step: move\n    mode: velocity\n    target: 1\n    speed: 2\n") << 6 << 12
        << "position moves only";
    QTest::newRow("settle unit")
        << planWith("  - step: move\n    mode: velocity\n    target: 1\n    settle: 2 h\n") << 6 << 13
        << "must be a time";
    QTest::newRow("nine channels") << planWith(
                                          "  - step: capture\n    channels: [a, b, c, d, e, f, g, h, i]\n    "
                                          "rate: 10\n    duration: 1\n")
                                   << 4 << 15 << "one to eight";
    QTest::newRow("channel twice")
        << planWith("  - step: capture\n    channels: [0x3000, 0X3000]\n    rate: 10\n    duration: 1\n") << 4
        << 24 << "listed twice";
    QTest::newRow("check of another channel")
        << planWith(
               "  - step: capture\n    channels: [a]\n    rate: 10\n    duration: 1\n    checks:\n"
               "      - {measure: rms, channel: b, max: 1}\n")
        << 8 << 33 << "not one of this capture's channels";
    QTest::newRow("rms_diff of one")
        << planWith(
               "  - step: capture\n    channels: [a, b]\n    rate: 10\n    duration: 1\n    checks:\n"
               "      - {measure: rms_diff, channels: [a], max: 1}\n")
        << 8 << 39 << "two channels";
    QTest::newRow("capture too long")
        << planWith("  - step: capture\n    channels: [a]\n    rate: 10000\n    duration: 200 s\n") << 6 << 15
        << "at most 1000000 samples";
    QTest::newRow("rate zero") << planWith(
                                      "  - step: capture\n    channels: [a]\n    rate: 0\n    duration: 1\n")
                               << 5 << 11 << "from 1 to 65535";
    QTest::newRow("bad pattern") << planWith(
                                        "  - step: identify\n    entries:\n      Name: {matches: \"(\"}\n")
                                 << 5 << 23 << "not a valid pattern";
    QTest::newRow("not a version")
        << planWith("  - step: identify\n    entries:\n      Version: {at_least: latest}\n") << 5 << 27
        << "needs a version";
    QTest::newRow("empty prompt") << planWith("  - step: prompt\n    text: \"\"\n") << 4 << 11
                                  << "needs a text";
    QTest::newRow("save without profile")
        << planWith("  - step: params\n    save: false\n    check: {limit_spd: {max: 3}}\n") << 4 << 11
        << "applies to a profile";
}

void TestPlanReader::problemsHavePositions() {
    QFETCH(QByteArray, yaml);
    QFETCH(int, line);
    QFETCH(int, column);
    QFETCH(QString, fragment);
    QVector<PlanProblem> problems;
    QVERIFY(!readText(yaml, &problems));
    QVERIFY(!problems.isEmpty());
    const PlanProblem& p = problems.first();
    QVERIFY2(p.message.contains(fragment), qPrintable(joined(problems)));
    QCOMPARE(p.file, QStringLiteral("plan.yaml"));
    QCOMPARE(p.line, line);
    QCOMPARE(p.column, column);
    QVERIFY(p.text().startsWith(QStringLiteral("plan.yaml:%1:%2: ").arg(line).arg(column)));
}

void TestPlanReader::everyProblemIsReported() {
    QVector<PlanProblem> problems;
    QVERIFY(!readText(planWith(R"(
  - step: move
    mode: sideways
    target: x
  - step: wait
  - step: estop
    within: 0
    extra: 1
)"),
                      &problems));
    QCOMPARE(problems.size(), 5);
    QStringList lines;
    for (const PlanProblem& p : problems)
        lines << QString::number(p.line);
    QCOMPARE(lines, QStringList({"5", "6", "7", "9", "10"}));
}

void TestPlanReader::filesResolveAgainstThePlanFolder() {
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("plans"));
    QVERIFY(writeFile(folder + QStringLiteral("/fw/joint.bin"), QByteArray(1024, 'x')));
    const QByteArray yaml = planWith(R"(
  - step: flash
    image: fw/joint.bin
    version: 1.0.0
    version_entry: AppCodeVersion
)");
    QVERIFY(writeFile(folder + QStringLiteral("/flash.yaml"), yaml));
    QTemporaryDir elsewhere;
    QDir::setCurrent(elsewhere.path());
    QVector<PlanProblem> problems;
    const auto plan = PlanReader::readFile(folder + QStringLiteral("/flash.yaml"), &problems);
    QVERIFY2(plan, qPrintable(joined(problems)));
    QCOMPARE(plan->steps[0].as<FlashStep>()->image,
             QFileInfo(folder + QStringLiteral("/fw/joint.bin")).absoluteFilePath());
    QCOMPARE(plan->path, QFileInfo(folder + QStringLiteral("/flash.yaml")).absoluteFilePath());
    QCOMPARE(plan->sha256,
             QString::fromLatin1(QCryptographicHash::hash(yaml, QCryptographicHash::Sha256).toHex()));
}

void TestPlanReader::fileProblems() {
    QTemporaryDir dir;
    QVector<PlanProblem> problems;
    // A missing plan, an oversized one, a firmware image over the transfer's limit, a profile
    // that is not a parameter backup: each refused with what is wrong.
    QVERIFY(!PlanReader::readFile(dir.filePath(QStringLiteral("none.yaml")), &problems));
    QCOMPARE(problems.size(), 1);
    QVERIFY(problems[0].message.contains(QStringLiteral("cannot read")));

    const QString big = dir.filePath(QStringLiteral("big.yaml"));
    QVERIFY(writeFile(big, "name: x\n# " + QByteArray(PlanReader::kMaxFileBytes, 'x') + "\n"));
    QVERIFY(!PlanReader::readFile(big, &problems));
    QVERIFY(problems[0].message.contains(QStringLiteral("larger than")));

    QVERIFY(writeFile(dir.filePath(QStringLiteral("huge.bin")), QByteArray(524289, '\xff')));
    QVERIFY(writeFile(dir.filePath(QStringLiteral("profile.json")), "{\"not\": \"a backup\"}"));
    const QByteArray yaml = planWith(R"(
  - step: flash
    image: huge.bin
    version: 1
    version_entry: V
  - step: flash
    image: missing.bin
    version: 1
    version_entry: V
  - step: params
    profile: profile.json
)");
    QVERIFY(!readText(yaml, &problems, dir.path()));
    QCOMPARE(problems.size(), 3);
    QVERIFY(problems[0].message.contains(QStringLiteral("524289")));
    QCOMPARE(problems[0].line, 5);
    QVERIFY(problems[1].message.contains(QStringLiteral("no readable firmware image")));
    QCOMPARE(problems[2].line, 13);
}

void TestPlanReader::limitJudgement_data() {
    QTest::addColumn<double>("low");
    QTest::addColumn<double>("high");
    QTest::addColumn<double>("marginal");
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("outcome");
    const double nan = std::numeric_limits<double>::quiet_NaN();
    QTest::newRow("inside") << 0.0 << 1.0 << 0.1 << 0.5 << int(Outcome::Pass);
    QTest::newRow("on the low limit") << 0.0 << 1.0 << 0.0 << 0.0 << int(Outcome::Pass);
    QTest::newRow("on the high limit") << 0.0 << 1.0 << 0.0 << 1.0 << int(Outcome::Pass);
    QTest::newRow("below") << 0.0 << 1.0 << 0.1 << -0.001 << int(Outcome::Fail);
    QTest::newRow("above") << 0.0 << 1.0 << 0.1 << 1.001 << int(Outcome::Fail);
    QTest::newRow("marginal near low") << 0.0 << 1.0 << 0.1 << 0.05 << int(Outcome::Marginal);
    QTest::newRow("marginal near high") << 0.0 << 1.0 << 0.1 << 0.95 << int(Outcome::Marginal);
    QTest::newRow("edge of the band") << 0.0 << 1.0 << 0.1 << 0.1 << int(Outcome::Pass);
    QTest::newRow("not a number") << 0.0 << 1.0 << 0.0 << nan << int(Outcome::Fail);
}

void TestPlanReader::limitJudgement() {
    QFETCH(double, low);
    QFETCH(double, high);
    QFETCH(double, marginal);
    QFETCH(double, value);
    QFETCH(int, outcome);
    Limit limit = Limit::between(low, high);
    limit.marginal = marginal;
    QCOMPARE(int(limit.judge(value)), outcome);
    const Measurement m = limit.measure(QStringLiteral("x"), QStringLiteral("rad"), value);
    QCOMPARE(int(m.outcome), outcome);
    QVERIFY(m.hasLow && m.hasHigh);

    // One-sided: only the bound that exists counts.
    Limit atMost;
    atMost.hasHigh = true;
    atMost.high = high;
    atMost.marginal = marginal;
    QCOMPARE(int(atMost.judge(-1e9)), int(Outcome::Pass));
}

void TestPlanReader::textChecks_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("passes");
    const int atLeast = int(TextCheck::Kind::AtLeast);
    QTest::newRow("numeric parts") << atLeast << "0.9.4"
                                   << "0.9.10" << true;
    QTest::newRow("older") << atLeast << "1.2.0"
                           << "1.1.99" << false;
    QTest::newRow("missing parts are 0") << atLeast << "1.2.0"
                                         << "v1.2" << true;
    QTest::newRow("not a version") << atLeast << "1.0"
                                   << "fw-1a2b3c4d" << false;
    QTest::newRow("pattern") << int(TextCheck::Kind::Matches) << "^trivane-"
                             << "trivane-joint" << true;
    QTest::newRow("pattern misses") << int(TextCheck::Kind::Matches) << "^trivane-"
                                    << "joint" << false;
    QTest::newRow("equals is exact") << int(TextCheck::Kind::Equals) << "joint"
                                     << "joint " << false;
}

void TestPlanReader::textChecks() {
    QFETCH(int, kind);
    QFETCH(QString, expected);
    QFETCH(QString, text);
    QFETCH(bool, passes);
    const TextCheck check{TextCheck::Kind(kind), expected};
    QCOMPARE(check.judge(text) == Outcome::Pass, passes);
    const Measurement m = check.measure(QStringLiteral("version"), text);
    QVERIFY(!m.numeric);
    QCOMPARE(m.text, text);
}

QTEST_GUILESS_MAIN(TestPlanReader)
#include "tst_planreader.moc"
