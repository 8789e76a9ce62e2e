#pragma once

#include "LineCounters.h"

// Qt
#include <QObject>
#include <QString>
#include <QTimer>

#include <deque>
#include <functional>

class CSerial;

// The line's health while a recording runs: bytes received, the rate over the last seconds,
// the time since the last byte and the driver's error counts, all since the recording began.
// Reads the serial component's counters a few times a second; the window's status panes and
// lineprobe-cli show the same figures and texts.
class CLineHealth : public QObject
{
    Q_OBJECT

public:
    enum { SampleMs = 250, RateWindowMs = 5000 };
    using Clock = std::function<qint64()>; // milliseconds, never going back

    explicit CLineHealth(const CSerial& serial, QObject* parent = nullptr);

    // Counting begins anew (at a recording's start) and is sampled until Stop.
    void Start();
    void Stop();
    // Reads the counters now.
    void Sample();
    // Tests set the clock.
    void SetClock(Clock clock) { m_clock = std::move(clock); }

    // figures since Start, as of the last sample
    quint64 Bytes() const { return m_now.rx - m_base.rx; }
    // Bytes per second over the last RateWindowMs; after Stop, over the whole recording.
    double Rate() const;
    qint64 SinceLastByte() const; // -1 before the first byte
    unsigned Errors(int kind) const { return m_now.Of(kind) - m_base.Of(kind); }

    // texts, German
    static QString BytesText(quint64 bytes);        // "12.345 Bytes"
    static QString RateText(double bytesPerSecond); // "1,2 kB/s", "850 B/s"
    // "letztes Byte: 3 s", "...: 2:05 min", "...: 1:02:03 h", "noch kein Byte"
    static QString SinceText(qint64 ms);
    static QString ErrorText(int kind, unsigned count); // "Rahmen: 2"
    // The panes: the error kinds 0..3 and these three.
    enum Pane { BytesPane = -1, RatePane = -2, SincePane = -3 };
    // The longest text a pane shows in the usual run, for its width; longer ones widen it.
    static QString LongestText(int pane);
    // All figures on one line (lineprobe-cli).
    QString Line() const;

signals:
    void Changed();

private:
    const CSerial& m_serial;
    Clock m_clock;
    QTimer m_timer;
    LineCounters m_base;
    LineCounters m_now;
    qint64 m_lastByteMs = -1;
    qint64 m_nowMs = 0;
    qint64 m_startMs = 0;
    struct Point
    {
        qint64 ms;
        quint64 rx;
    };
    std::deque<Point> m_window; // samples of the last RateWindowMs
};
