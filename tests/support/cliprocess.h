#pragma once
#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <csignal>
#include <sys/resource.h>

// Runs the built command-line tool as a process of its own.
namespace cliprocess {

inline QString tool() {
    return QCoreApplication::applicationDirPath() + QStringLiteral("/glykovalin-cli");
}
inline bool built() {
    return QFileInfo(tool()).isExecutable();
}

struct Options {
    rlim_t fileLimit = RLIM_INFINITY; // RLIMIT_FSIZE of the child
    bool ignoreSizeSignal = true;     // SIGXFSZ ignored in the child before it starts
    QString standardOutputFile;       // e.g. "/dev/full"
};

struct Result {
    bool crashed = false;
    int exitCode = -1;
    QString out, err;
};

// Prepares a process of the tool in the folder; start it with start(p, args).
inline void prepare(QProcess &p, const QString &folder, const Options &o = {}) {
    p.setWorkingDirectory(folder);
    if (!o.standardOutputFile.isEmpty()) p.setStandardOutputFile(o.standardOutputFile);
    const rlim_t limit = o.fileLimit;
    const bool ignore = o.ignoreSizeSignal;
    p.setChildProcessModifier([limit, ignore] {
        std::signal(SIGXFSZ, ignore ? SIG_IGN : SIG_DFL);
        if (limit == RLIM_INFINITY) return;
        rlimit r{};
        getrlimit(RLIMIT_FSIZE, &r);
        r.rlim_cur = limit;
        setrlimit(RLIMIT_FSIZE, &r);
    });
}

inline Result run(const QString &folder, const QStringList &args, const Options &o = {}) {
    QProcess p;
    prepare(p, folder, o);
    p.start(tool(), args);
    Result r;
    if (!p.waitForFinished(120000)) {
        p.kill();
        p.waitForFinished();
        r.crashed = true;
        return r;
    }
    r.crashed = p.exitStatus() != QProcess::NormalExit;
    r.exitCode = p.exitCode();
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

} // namespace cliprocess
