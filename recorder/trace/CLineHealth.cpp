#include "CLineHealth.h"

#include "CSerial.h"

// Qt
#include <QElapsedTimer>
#include <QLocale>

namespace {

const QLocale& German()
{
    static const QLocale locale(QLocale::German, QLocale::Germany);
    return locale;
}

} // namespace

CLineHealth::CLineHealth(const CSerial& serial, QObject* parent) : QObject(parent), m_serial(serial)
{
    m_clock = [timer = std::make_shared<QElapsedTimer>()] {
        if (!timer->isValid())
            timer->start();
        return timer->elapsed();
    };
    m_timer.setInterval(SampleMs);
    connect(&m_timer, &QTimer::timeout, this, &CLineHealth::Sample);
}

void CLineHealth::Start()
{
    m_base = m_now = m_serial.Counters();
    m_nowMs = m_clock();
    m_lastByteMs = -1;
    m_startMs = m_nowMs;
    m_window.assign(1, {m_nowMs, m_now.rx});
    m_timer.start();
    emit Changed();
}

void CLineHealth::Stop()
{
    if (!m_timer.isActive())
        return;
    Sample();
    m_timer.stop();
}

void CLineHealth::Sample()
{
    const LineCounters now = m_serial.Counters();
    m_nowMs = m_clock();
    // Bytes that came since the last sample came at its time, as near as sampling tells.
    if (now.rx != m_now.rx)
        m_lastByteMs = m_nowMs;
    m_now = now;
    m_window.push_back({m_nowMs, now.rx});
    // Keep one sample at or before the window's start, so the rate spans the whole window.
    while (m_window.size() > 2 && m_window[1].ms <= m_nowMs - RateWindowMs)
        m_window.pop_front();
    emit Changed();
}

double CLineHealth::Rate() const
{
    // An ended recording tells its average.
    if (!m_timer.isActive()) {
        const qint64 span = m_nowMs - m_startMs;
        return span > 0 ? double(Bytes()) * 1000.0 / double(span) : 0;
    }
    if (m_window.size() < 2)
        return 0;
    const Point& first = m_window.front();
    const qint64 span = m_nowMs - first.ms;
    return span > 0 ? double(m_now.rx - first.rx) * 1000.0 / double(span) : 0;
}

qint64 CLineHealth::SinceLastByte() const
{
    return m_lastByteMs < 0 ? -1 : m_nowMs - m_lastByteMs;
}

QString CLineHealth::BytesText(quint64 bytes)
{
    return German().toString(bytes) + QStringLiteral(" Bytes");
}

QString CLineHealth::RateText(double bytesPerSecond)
{
    if (bytesPerSecond < 1000)
        return German().toString(qRound64(bytesPerSecond)) + QStringLiteral(" B/s");
    return German().toString(bytesPerSecond / 1000, 'f', 1) + QStringLiteral(" kB/s");
}

QString CLineHealth::SinceText(qint64 ms)
{
    if (ms < 0)
        return QStringLiteral("noch kein Byte");
    const qint64 s = ms / 1000;
    const QString prefix = QStringLiteral("letztes Byte: ");
    if (s < 60)
        return prefix + QStringLiteral("%1 s").arg(s);
    if (s < 3600)
        return prefix +
               QStringLiteral("%1:%2 min").arg(s / 60).arg(s % 60, 2, 10, QLatin1Char('0'));
    return prefix + QStringLiteral("%1:%2:%3 h")
                        .arg(s / 3600)
                        .arg(s / 60 % 60, 2, 10, QLatin1Char('0'))
                        .arg(s % 60, 2, 10, QLatin1Char('0'));
}

QString CLineHealth::ErrorText(int kind, unsigned count)
{
    static const char* const names[] = {"Parität", "Rahmen", "Überlauf", "Break"};
    return QString::fromUtf8(names[qBound(0, kind, 3)]) + QStringLiteral(": ") +
           German().toString(count);
}

QString CLineHealth::LongestText(int pane)
{
    switch (pane) {
    case BytesPane:
        return BytesText(999999999ull); // more widens the pane
    case RatePane:
        return RateText(999949);
    case SincePane:
        return SinceText(59 * 60 * 1000 + 59 * 1000);
    default:
        return ErrorText(pane, 999);
    }
}

QString CLineHealth::Line() const
{
    QString line = QStringLiteral("Empfangen: %1, %2, %3, Fehler")
                       .arg(BytesText(Bytes()), RateText(Rate()), SinceText(SinceLastByte()));
    const char* separator = " ";
    for (int kind : {CommFramingError, CommParityError, CommOverrunError, CommBreakError}) {
        line += QLatin1String(separator) + ErrorText(kind, Errors(kind));
        separator = ", ";
    }
    return line;
}
