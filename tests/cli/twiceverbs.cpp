// Verbs for a trivane-cli built with one name taken twice: neither may ever run.
#include "cli/cliverb.h"
#include "cli/cliverbregistry.h"

#include <cstdio>

namespace {

template <int Which>
class SameVerb : public CliVerb {
public:
    QString name() const override { return QStringLiteral("same"); }
    QString synopsis() const override { return QStringLiteral("same"); }
    QString description() const override { return QStringLiteral("Registered twice."); }
    int run(const QStringList&) override {
        std::printf("same %d ran\n", Which);
        return kExitOk;
    }
};

class OtherVerb : public CliVerb {
public:
    QString name() const override { return QStringLiteral("other"); }
    QString synopsis() const override { return QStringLiteral("other"); }
    QString description() const override { return QStringLiteral("Registered once."); }
    int run(const QStringList&) override {
        std::printf("other ran\n");
        return kExitOk;
    }
};

const CliVerbRegistrar<SameVerb<1>> first;
const CliVerbRegistrar<OtherVerb> other;
const CliVerbRegistrar<SameVerb<2>> second;

}  // namespace
