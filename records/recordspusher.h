#pragma once

#include <QCoreApplication>
#include <QString>

#include <functional>

class RecordsStore;

// Sends the runs waiting in a station's store to a server, those tried least first, each in a
// transaction of its own. A run leaves the outbox only after the server has it, so a push that
// breaks off anywhere is simply done again; the server stores a run once under its UUID.
class RecordsPusher {
    Q_DECLARE_TR_FUNCTIONS(RecordsPusher)

public:
    struct Result {
        int sent = 0;          // new on the server
        int alreadyThere = 0;  // the server had them (sent before, or by a sender stopped half-way)
        int refused = 0;       // refused by the server or unreadable here: they wait again, behind the rest
        int waiting = -1;      // still in the outbox afterwards (-1: unknown)
        bool serverLost = false;  // stopped because the server went away
        QString error;            // the last failure
    };
    struct Options {
        int limit = 0;                                      // runs to try at most; 0: all
        std::function<bool()> stop;                         // asked between runs
        std::function<void(int done, int total)> progress;  // after each run
    };

    // Both stores are open on the calling thread.
    static Result push(RecordsStore* local, RecordsStore* server, const Options& options);
};
