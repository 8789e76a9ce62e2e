#include "CSimulatorLoop.h"

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <thread>
#include <unistd.h>

CSimulatorLoop::CSimulatorLoop(const FatSimOptions& options) : m_options(options)
{
    if (options.baudRate > 0) {
        // Ten bits per byte on the wire: start, eight data bits, stop.
        m_byteTime = std::chrono::duration_cast<Clock::duration>(
            std::chrono::duration<double>(10.0 / options.baudRate));
    }
}

CSimulatorLoop::~CSimulatorLoop()
{
    FlushLog();
}

void CSimulatorLoop::Log(char direction, unsigned char byte, Clock::time_point when)
{
    if (!m_log)
        return;
    const double seconds = std::chrono::duration<double>(when - m_start).count();
    char line[48];
    const int n = std::snprintf(line, sizeof line, "%.6f %c %02X\n", seconds, direction, byte);
    m_logLines.append(line, qMax(0, qMin(n, int(sizeof line) - 1)));
    if (m_logLines.size() > 64 * 1024)
        FlushLog();
}

void CSimulatorLoop::FlushLog()
{
    if (!m_log || m_logLines.isEmpty())
        return;
    const bool reported = m_log->Failed();
    m_log->write(m_logLines);
    m_logLines.clear();
    if (m_log->Failed() && !reported)
        std::fprintf(stderr, "fatsim: %s\n", qPrintable(m_log->Describe()));
}

void CSimulatorLoop::SaveStore()
{
    QString error;
    if (!m_options.storePath.isEmpty() && !m_store.Save(m_options.storePath, error))
        std::fprintf(stderr, "fatsim: %s\n", qPrintable(error));
}

bool CSimulatorLoop::WriteAnswer(const CFatSimulator::Answer& answer, Clock::time_point earliest)
{
    for (const CFatSimulator::Segment& s : answer) {
        if (s.vanish)
            return false;
        if (s.pauseMs > 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(s.pauseMs));
        if (m_byteTime == Clock::duration::zero()) {
            const Clock::time_point now = Clock::now();
            int done = 0;
            while (done < s.bytes.size()) {
                const ssize_t n = ::write(m_pty.MasterFd(), s.bytes.constData() + done,
                                          size_t(s.bytes.size() - done));
                if (n < 0 && errno == EINTR)
                    continue;
                if (n <= 0)
                    break;
                done += int(n);
            }
            for (char c : s.bytes)
                Log('>', static_cast<unsigned char>(c), now);
            continue;
        }
        // Paced: each byte leaves when the previous one has crossed the wire.
        Clock::time_point at = std::max({Clock::now(), earliest, m_txFree});
        for (char c : s.bytes) {
            at += m_byteTime;
            std::this_thread::sleep_until(at);
            while (::write(m_pty.MasterFd(), &c, 1) < 0 && errno == EINTR) {
            }
            Log('>', static_cast<unsigned char>(c), at);
        }
        m_txFree = at;
    }
    return true;
}

bool CSimulatorLoop::PlayTraffic(CTrafficSource& traffic, Clock::time_point started)
{
    const FatPoint& vanish = m_session.vanishAt;
    const FatPoint& silent = m_session.silentAt;
    qint64 allowed = 64 * 1024;
    if (m_session.rate > 0) {
        const double seconds = std::chrono::duration<double>(Clock::now() - started).count();
        allowed = qint64(seconds * m_session.rate) - traffic.Sent();
    }
    // A fault point at traffic byte K cuts the traffic there.
    if (vanish.kind == FatPoint::Traffic)
        allowed = std::min<qint64>(allowed, vanish.index - traffic.Sent());
    if (silent.kind == FatPoint::Traffic)
        allowed = std::min<qint64>(allowed, silent.index - traffic.Sent());
    if (vanish.kind == FatPoint::Traffic && traffic.Sent() >= vanish.index)
        return false;
    if (allowed <= 0 || traffic.Finished())
        return true;
    const QByteArray bytes = traffic.Next(int(std::min<qint64>(allowed, 4096)));
    // The recorder may not read at the moment: what the line does not take now is sent
    // later, so "H" is always heard.
    const int fd = m_pty.MasterFd();
    const int flags = ::fcntl(fd, F_GETFL);
    ::fcntl(fd, F_SETFL, flags | O_NONBLOCK);
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n > 0) {
            done += n;
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        break;
    }
    ::fcntl(fd, F_SETFL, flags);
    const Clock::time_point now = Clock::now();
    for (qsizetype i = 0; i < done; ++i)
        Log('>', static_cast<unsigned char>(bytes[i]), now);
    traffic.Unread(bytes.mid(done));
    return !(vanish.kind == FatPoint::Traffic && traffic.Sent() >= vanish.index);
}

CSimulatorLoop::Session CSimulatorLoop::RunSession(CFatSimulator& fat, CTrafficSource& traffic,
                                                   QString& error)
{
    Clock::time_point lastByte = Clock::now();
    const auto idleReset = std::chrono::milliseconds(m_session.idleResetMs);
    bool playing = false;
    Clock::time_point trafficOrigin; // when traffic at the rate would have begun
    unsigned char buffer[4096];
    while (!m_stop) {
        // While traffic is due the loop wakes often enough to keep its rate.
        const bool due = playing && !traffic.Finished();
        pollfd p{m_pty.MasterFd(), short(POLLIN | (due ? POLLOUT : 0)), 0};
        const int r = ::poll(&p, 1, due ? 5 : 50);
        if (r < 0 && errno != EINTR) {
            error = QStringLiteral("poll failed");
            return Session::Failed;
        }
        if (due && !PlayTraffic(traffic, trafficOrigin)) {
            // The traffic up to the point reaches the other side before the line goes: the
            // kernel hands written bytes on with a delay, so the line must stay empty for a
            // while (at most two seconds in all).
            const Clock::time_point limit = Clock::now() + std::chrono::seconds(2);
            Clock::time_point emptySince = Clock::now();
            while (Clock::now() < limit && !m_stop &&
                   Clock::now() - emptySince < std::chrono::milliseconds(100)) {
                if (m_pty.Unread() > 0)
                    emptySince = Clock::now();
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            }
            return Session::Vanished;
        }
        if (r <= 0 || !(p.revents & POLLIN)) {
            if (r > 0 && (p.revents & (POLLHUP | POLLERR)))
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            FlushLog();
            if (fat.TakeStoreChanged())
                SaveStore();
            continue;
        }
        const ssize_t n = ::read(m_pty.MasterFd(), buffer, sizeof buffer);
        if (n <= 0) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
            continue;
        }
        const Clock::time_point now = Clock::now();
        if (now - lastByte > idleReset)
            fat.Reset();
        lastByte = now;
        for (ssize_t i = 0; i < n; ++i) {
            // Paced: a byte is complete one byte time after the previous one was.
            m_rxFree = std::max(m_rxFree, now) + m_byteTime;
            Log('<', buffer[i], now);
            CFatSimulator::Answer answer;
            fat.Receive(buffer[i], answer);
            if (!WriteAnswer(answer, m_rxFree))
                return Session::Vanished;
            const bool recording = fat.CurrentState() == CFatSimulator::Recording;
            // "H": the recorder closes its port at once. Traffic it did not read would wait
            // in the pseudo-terminal (held open here) and greet its next recording; a real
            // line keeps nothing for a closed port.
            if (playing && !recording && buffer[i] == 'H')
                m_pty.DiscardUnread();
            if (recording && !playing) {
                // The rate counts from the "S" that starts this stretch of traffic.
                const double ahead =
                    m_session.rate > 0 ? double(traffic.Sent()) / m_session.rate : 0.0;
                trafficOrigin = Clock::now() - std::chrono::duration_cast<Clock::duration>(
                                                   std::chrono::duration<double>(ahead));
            }
            playing = recording;
        }
    }
    // What the PC sent before the stop belongs in the log, though nothing answers it now: the
    // kernel hands written bytes on with a delay, so the line is read until it stays quiet
    // (for at most a second).
    const Clock::time_point quietBy = Clock::now() + std::chrono::seconds(1);
    while (Clock::now() < quietBy) {
        pollfd p{m_pty.MasterFd(), POLLIN, 0};
        if (::poll(&p, 1, 20) <= 0 || !(p.revents & POLLIN))
            break;
        const ssize_t n = ::read(m_pty.MasterFd(), buffer, sizeof buffer);
        if (n <= 0)
            break;
        const Clock::time_point now = Clock::now();
        for (ssize_t i = 0; i < n; ++i)
            Log('<', buffer[i], now);
    }
    return Session::Stopped;
}

int CSimulatorLoop::Run(const std::function<void(const QString&)>& ready, QString& error)
{
    if (!m_store.Load(m_options.storePath, error))
        return 1;
    if (!m_options.logPath.isEmpty()) {
        m_log = std::make_unique<CDurableFile>(m_options.logPath, CDurableFile::Mode::Grow);
        if (!m_log->open()) {
            error = m_log->Describe();
            m_log.reset();
            return 1;
        }
    }
    m_session = m_options;
    m_start = Clock::now();
    m_rxFree = m_txFree = m_start;
    int result = 0;
    for (;;) {
        if (!m_pty.Open(error))
            return 1;
        if (!m_session.linkPath.isEmpty() && !m_pty.Link(m_session.linkPath, error))
            return 1;
        CFatSimulator fat(m_session, m_store);
        CTrafficSource traffic(m_session);
        if (!traffic.Load(error))
            return 1;
        ready(m_pty.DevicePath());
        const Session end = RunSession(fat, traffic, error);
        FlushLog();
        if (fat.TakeStoreChanged())
            SaveStore();
        m_pty.Close();
        if (end == Session::Failed)
            return 1;
        if (end == Session::Stopped)
            break;
        if (m_session.returnAfterMs < 0) {
            result = 3;
            break;
        }
        // Unplugged for a while, then back under the same link; it vanishes only once.
        m_session.vanishAt = FatPoint();
        const Clock::time_point back =
            Clock::now() + std::chrono::milliseconds(m_session.returnAfterMs);
        while (!m_stop && Clock::now() < back)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        if (m_stop)
            break;
    }
    FlushLog();
    return result;
}
