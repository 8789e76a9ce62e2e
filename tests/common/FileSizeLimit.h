#pragma once

#include "CliProcess.h"

#include <csignal>
#include <functional>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

// A full disk without root: the child runs with a file size limit and SIGXFSZ ignored, so
// every write past limit bytes fails with EFBIG just as a full disk fails with ENOSPC.
inline void LimitFileSize(qint64 limit)
{
    std::signal(SIGXFSZ, SIG_IGN);
    const struct rlimit r = {rlim_t(limit), rlim_t(limit)};
    setrlimit(RLIMIT_FSIZE, &r);
}

// A command-line tool run under the limit.
inline CliResult RunWithFileLimit(const QString& program, const QStringList& args, qint64 limit)
{
    return RunCliProcess(program, args, 60000, [limit] { LimitFileSize(limit); });
}

// Code run in a forked child under the limit; true when body returned true there.
inline bool RunWithFileLimit(qint64 limit, const std::function<bool()>& body)
{
    const pid_t child = fork();
    if (child == 0) {
        LimitFileSize(limit);
        _exit(body() ? 0 : 1);
    }
    int status = 0;
    return child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status) &&
           WEXITSTATUS(status) == 0;
}
