#pragma once
#include <QString>
#include <QStringList>
#include <QTextStream>

#include "cli/commands.h"

namespace testutil {

// Runs a command line of glykovalin-cli and keeps what it printed.
struct Cli {
    QString out, err;
    int run(const QStringList &args) {
        out.clear();
        err.clear();
        QTextStream o(&out), e(&err);
        const int code = cli::run(args, o, e);
        o.flush();
        e.flush();
        return code;
    }
};

} // namespace testutil
