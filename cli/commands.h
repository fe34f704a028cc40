#pragma once
#include <QList>
#include <QStringList>
#include <functional>

class QTextStream;

namespace cli {

// One command of glykovalin-cli.
struct Command {
    QString name;      // the first argument, e.g. "graph"
    QString arguments; // the arguments it takes, for the usage text
    QString summary;   // one line for the usage text
    int argumentCount; // how many arguments follow the name
    // Runs with the arguments after the name; returns the exit code.
    std::function<int(const QStringList &args, QTextStream &out, QTextStream &err)> run;
};

// Every command, in the order the usage text lists them.
const QList<Command> &commands();

// Whether a command draws pictures or pages (and so needs the toolkit's
// display and fonts): graph, print-graph, print-table, diary-pdf, report.
bool draws(const QString &command);

// Runs one command line (without the program name); returns the exit code.
int run(const QStringList &args, QTextStream &out, QTextStream &err);
// The same on standard output and standard error.
int run(const QStringList &args);

} // namespace cli
