#pragma once

#include "FatSimOptions.h"

// Qt
#include <QByteArray>
#include <QString>

// What the simulated FAT sends to the recorder after "S": the bytes of a file, once, or
// traffic made up to look like its maker's panel, framed as that panel frames its lines (by
// the high bit, by line feeds, or by 0xF0). Knows nothing of devices or time.
class CTrafficSource
{
public:
    enum class Framing { LineFeed, HighBit, HighBitLineFeed, F0 };

    explicit CTrafficSource(const FatSimOptions& options);

    // Reads the traffic file when there is one; false with a message in error.
    bool Load(QString& error);
    // Framing of the maker code and model digit of an identification.
    static Framing FramingOf(const QByteArray& identification);
    // Message number i as the panel frames it.
    static QByteArray Message(Framing framing, int i);

    // Starts over: the file from its first byte, the generated traffic from message 0.
    void Restart();
    // Nothing more to send (the file is through, or the byte limit reached).
    bool Finished() const;
    // The next bytes, at most max of them.
    QByteArray Next(int max);
    // Gives back the end of what Next returned that the line did not take.
    void Unread(const QByteArray& rest);
    qint64 Sent() const { return m_sent; }

private:
    const FatSimOptions& m_options;
    Framing m_framing;
    QByteArray m_file;
    bool m_fromFile = false;
    qint64 m_sent = 0;
    int m_message = 0;
    QByteArray m_pending; // rest of the current generated message
};
