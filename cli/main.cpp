#include "cli/cliverb.h"
#include "framework/core/localtimezone.h"
#include "cli/cliverbregistry.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QGuiApplication>

#include <cstdio>
#include <memory>

namespace {

QString text(const char* source) {
    return QCoreApplication::translate("trivane-cli", source);
}

void print(FILE* stream, const QString& message) {
    const QByteArray bytes = message.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
}

QString verbsHelp() {
    QString help = text("Verbs:\n");
    for (const CliVerb* verb : CliVerbRegistry::instance().verbs()) {
        help += QLatin1String("  ") + verb->synopsis() + QLatin1Char('\n');
        for (const QString& line : verb->description().split(QLatin1Char('\n'))) {
            help += QLatin1String("      ") + line + QLatin1Char('\n');
        }
    }
    help += text(
        "\n'trivane-cli <verb> --help' shows the help of one verb.\n"
        "Exit status: 0 done, 1 the work failed, 2 the command line was wrong.\n");
    return help;
}

// The verb named on the command line: the first argument that names one and is not an
// option. Options may come before the verb as well as after it ("--port /dev/x scan").
CliVerb* verbIn(const QStringList& arguments, int* at) {
    for (int i = 1; i < arguments.size(); ++i) {
        if (arguments[i].startsWith(QLatin1Char('-')))
            continue;
        if (CliVerb* verb = CliVerbRegistry::instance().find(arguments[i])) {
            *at = i;
            return verb;
        }
    }
    return nullptr;
}

}  // namespace

int main(int argc, char* argv[]) {
    kx::pinLocalTimeZone();
    QStringList raw;
    for (int i = 0; i < argc; ++i)
        raw << QString::fromLocal8Bit(argv[i]);
    int rawAt = -1;
    const CliVerb* wanted = verbIn(raw, &rawAt);
    std::unique_ptr<QCoreApplication> application;
    if (wanted && wanted->needsGuiApplication(raw)) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        application = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        application = std::make_unique<QCoreApplication>(argc, argv);
    }
    QCoreApplication::setApplicationName(QStringLiteral("trivane-cli"));
    QCoreApplication::setApplicationVersion(QStringLiteral(TRIVANE_VERSION));

    // Two verbs under one name is a build mistake: which one a command line reaches would
    // depend on the link order, so nothing runs until the names are told apart.
    const QStringList duplicates = CliVerbRegistry::instance().duplicates();
    if (!duplicates.isEmpty()) {
        for (const QString& name : duplicates)
            print(stderr, text("trivane-cli: the verb \"%1\" is registered more than once; every verb "
                               "needs a name of its own.\n")
                              .arg(name));
        return CliVerb::kExitUsage;
    }

    QCommandLineParser parser;
    parser.setApplicationDescription(
        text("Trivane command-line tool: data conversion and motor bench access."));
    const QCommandLineOption helpOption = parser.addHelpOption();
    const QCommandLineOption versionOption = parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("verb"), text("The verb to run (see Verbs below)."),
                                 QStringLiteral("<verb> [arguments...]"));

    // The verb gets every other argument in order; its own parser then judges the options.
    const QStringList arguments = QCoreApplication::arguments();
    int verbAt = -1;
    verbIn(arguments, &verbAt);
    if (verbAt > 0) {
        QStringList verbArguments = arguments;
        verbArguments.removeAt(verbAt);
        verbArguments[0] = arguments[verbAt];
        return CliVerbRegistry::instance().find(arguments[verbAt])->run(verbArguments);
    }

    if (!parser.parse(arguments)) {
        print(stderr, parser.errorText() + QLatin1Char('\n'));
        return CliVerb::kExitUsage;
    }
    if (parser.isSet(versionOption)) {
        print(stdout, QCoreApplication::applicationName() + QLatin1Char(' ') +
                          QCoreApplication::applicationVersion() + QLatin1Char('\n'));
        return CliVerb::kExitOk;
    }
    if (parser.isSet(helpOption)) {
        print(stdout, parser.helpText() + QLatin1Char('\n') + verbsHelp());
        return CliVerb::kExitOk;
    }
    const QStringList positional = parser.positionalArguments();
    if (positional.isEmpty()) {
        print(stderr, text("No verb given.\n\n") + parser.helpText() + QLatin1Char('\n') + verbsHelp());
        return CliVerb::kExitUsage;
    }
    print(stderr, text("Unknown verb: %1\n\n").arg(positional.first()) + verbsHelp());
    return CliVerb::kExitUsage;
}
