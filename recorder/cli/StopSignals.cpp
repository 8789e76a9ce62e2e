#include "StopSignals.h"

#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {

const int kSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGPIPE};
constexpr int kCount = int(sizeof kSignals / sizeof kSignals[0]);

// The handler only writes a byte; the notifier reads it on the event loop's thread.
int g_pipe[2] = {-1, -1};
struct sigaction g_previous[kCount];

void OnSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = ::write(g_pipe[1], &byte, 1);
}

} // namespace

StopSignals::StopSignals(std::function<void()> onStop)
{
    if (::pipe(g_pipe) != 0)
        return;
    // A flood of signals must not block the handler on a full pipe.
    ::fcntl(g_pipe[1], F_SETFL, ::fcntl(g_pipe[1], F_GETFL) | O_NONBLOCK);
    m_notifier = std::make_unique<QSocketNotifier>(g_pipe[0], QSocketNotifier::Read);
    QObject::connect(m_notifier.get(), &QSocketNotifier::activated, m_notifier.get(),
                     [onStop = std::move(onStop)] {
                         char bytes[64];
                         [[maybe_unused]] const ssize_t n = ::read(g_pipe[0], bytes, sizeof bytes);
                         onStop();
                     });
    struct sigaction sa = {};
    sa.sa_handler = OnSignal;
    for (int i = 0; i < kCount; ++i)
        sigaction(kSignals[i], &sa, &g_previous[i]);
}

StopSignals::~StopSignals()
{
    if (!m_notifier)
        return;
    for (int i = 0; i < kCount; ++i)
        sigaction(kSignals[i], &g_previous[i], nullptr);
    m_notifier.reset();
    ::close(g_pipe[0]);
    ::close(g_pipe[1]);
    g_pipe[0] = g_pipe[1] = -1;
}
