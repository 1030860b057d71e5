#include "cli/convertverb.h"

#include "cli/cliverbregistry.h"
#include "framework/core/basecommand.h"
#include "framework/core/commandmanager.h"
#include "framework/data/datamanager.h"
#include "framework/data/dataobject.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <cstdio>

namespace {

const CliVerbRegistrar<ConvertVerb> registrar;

QString text(const char* source) {
    return QCoreApplication::translate("ConvertVerb", source);
}

void print(FILE* stream, const QString& message) {
    QByteArray bytes = message.toUtf8();
    if (!bytes.endsWith('\n')) {
        bytes.append('\n');
    }
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
}

bool isFormWord(const QString& word) {
    for (const char* form : {"JSON", "XML", "BIN"}) {
        if (word.compare(QLatin1String(form), Qt::CaseInsensitive) == 0) {
            return true;
        }
    }
    return false;
}

}  // namespace

QString ConvertVerb::name() const {
    return QStringLiteral("convert");
}

QString ConvertVerb::synopsis() const {
    return QStringLiteral("convert <JSON|XML|BIN> <JSON|XML|BIN> (-path=<file> | -data=<text>)");
}

QString ConvertVerb::description() const {
    return text(
        "Converts a data tree from the first form to the second and prints it. -path reads the\n"
        "first form from a file; -data takes it from the rest of the command line (BIN: the\n"
        "compressed record as hexadecimal bytes, as convert prints it).");
}

int ConvertVerb::run(const QStringList& arguments) {
    const QStringList rest = arguments.mid(1);
    if (rest.contains(QStringLiteral("--help")) || rest.contains(QStringLiteral("-h"))) {
        print(stdout, text("Usage: trivane-cli ") + synopsis() + QLatin1String("\n\n") + description());
        return kExitOk;
    }
    const auto usageError = [this](const QString& message) {
        print(stderr, message + QLatin1Char('\n') + text("Usage: trivane-cli ") + synopsis());
        return kExitUsage;
    };
    if (rest.size() < 3 || !isFormWord(rest.at(0)) || !isFormWord(rest.at(1))) {
        return usageError(
            text("convert needs two forms out of JSON, XML and BIN, then -path=<file> or "
                 "-data=<text>."));
    }
    if (!rest.at(2).startsWith(QLatin1String("-path=")) && !rest.at(2).startsWith(QLatin1String("-data="))) {
        return usageError(text("convert needs -path=<file> or -data=<text> after the two forms."));
    }
    // The command reports an unreadable file only in the log; say it plainly here. It reads a
    // file whenever "-path" appears, named by the text after the last "-path=": so does the check.
    const QString joined = rest.join(QLatin1Char(' '));
    if (joined.contains(QLatin1String("-path"))) {
        const QString marker = QStringLiteral("-path=");
        const int at = joined.lastIndexOf(marker);
        const QString path = at < 0 ? QString() : joined.mid(at + marker.size()).trimmed();
        const QFileInfo file(path);
        if (!file.isFile() || !file.isReadable()) {
            print(stderr, text("cannot read file: ") + path);
            return kExitFailure;
        }
    }

    kx::BaseCommand* command = kx::CommandManager::instance().get(name());
    if (!command) {
        kx::DataManager::instance();  // creates and registers the command
        command = kx::CommandManager::instance().get(name());
    }
    if (!command) {
        print(stderr, text("the convert command is not available"));
        return kExitFailure;
    }
    int status = kExitOk;
    QObject context;
    QObject::connect(command, &kx::BaseCommand::output, &context,
                     [](const QString& output) { print(stdout, output); });
    QObject::connect(command, &kx::BaseCommand::error, &context, [&status](const QString& message) {
        print(stderr, message);
        status = kExitFailure;
    });
    command->exec(kx::DataManager::instance().rootDobj(), joined);
    std::fflush(stdout);
    return status;
}
