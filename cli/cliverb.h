#pragma once

#include <QString>
#include <QStringList>

// How trivane-cli grows a verb
// -----------------------------
// Each verb is one CliVerb subclass in its own pair of files under cli/ (cli/CMakeLists.txt
// picks up every .cpp there). The .cpp registers the verb at static initialisation:
//
//     static const CliVerbRegistrar<ScanVerb> registrar;
//
// main.cpp creates the QCoreApplication, parses the global options (--help, --version), looks
// the first argument up in CliVerbRegistry and calls run() with the verb's own arguments; it
// never needs to change for a new verb. --help lists every registered verb with its synopsis
// and description, in name order.
//
// run() receives the verb name followed by its arguments, so a verb with options can hand
// the list straight to QCommandLineParser::process()/parse() (the verb name takes the place of
// the program name). Verbs that talk to the link share their options (--port, --baud,
// --can-id, --multi, --json) through a helper of their own next to them. A verb writes its
// results to standard output and its failures to standard error and answers with one of the
// exit codes below. The QCoreApplication exists before run() is called, so a verb may use
// signals, timers and a local event loop.
class CliVerb {
public:
    static constexpr int kExitOk = 0;
    static constexpr int kExitFailure = 1;  // the work failed
    static constexpr int kExitUsage = 2;    // the command line was wrong

    virtual ~CliVerb() = default;

    virtual QString name() const = 0;
    // One line: the verb with its arguments, e.g. "convert <JSON|XML|BIN> <JSON|XML|BIN> ...".
    virtual QString synopsis() const = 0;
    // What the verb does, a few lines at most.
    virtual QString description() const = 0;
    virtual int run(const QStringList& arguments) = 0;
    // A verb that lays out text or pictures (a PDF report) needs fonts, which only a GUI
    // application provides; main() then creates a QGuiApplication on the offscreen platform,
    // so the verb still runs without a display. It sees the command line, since some verbs
    // need fonts for one action only (records export --pdf).
    virtual bool needsGuiApplication(const QStringList& arguments) const {
        Q_UNUSED(arguments);
        return false;
    }
};
