#pragma once

#include "framework/core/basecommand.h"

namespace kx {

// "convert": translates data between the JSON, XML and binary forms.
//     convert <origin> <target> -path=<file>   reads the origin form from a file
//     convert <origin> <target> -data=<text>   takes it from the text (BIN: compressed hex)
// The converted text comes out through output(); the node argument is not used.
class ConvertCommand : public BaseCommand {
    Q_OBJECT

public:
    explicit ConvertCommand(QObject* parent = nullptr);

    QString usage() const override;
    QString instruction() const override;

protected:
    void run(DataObject* node, const QString& arguments) override;

private:
    // Reads input of the given form into temp; the reason when it is not readable as a whole.
    QString importInput(DataObject* temp, int form, const QByteArray& input);
};

}  // namespace kx
