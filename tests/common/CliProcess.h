#pragma once

// Qt
#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <functional>

// One run of a command-line tool: exit status (-1 when it crashed or hung), stdout, stderr.
struct CliResult
{
    int status = -1;
    QByteArray out;
    QString err;
};

// childSetup runs in the child before the program starts (a file size limit, say); env, when
// not empty, is the program's environment.
inline CliResult RunCliProcess(const QString& program, const QStringList& args,
                               int timeoutMs = 60000, const std::function<void()>& childSetup = {},
                               const QProcessEnvironment& env = {})
{
    QProcess p;
    if (childSetup)
        p.setChildProcessModifier(childSetup);
    if (!env.isEmpty())
        p.setProcessEnvironment(env);
    p.start(program, args);
    CliResult r;
    if (!p.waitForFinished(timeoutMs)) {
        p.kill();
        p.waitForFinished();
        return r;
    }
    r.status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = p.readAllStandardOutput();
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}
