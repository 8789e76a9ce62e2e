#include "CTrafficSource.h"

#include "CDurableFile.h"

// Qt
#include <QFile>

namespace {

// What a panel reports, in plain ASCII (a high-bit panel would take umlauts for marks).
const char* const kEvents[] = {"Feuer", "Stoerung", "Abschaltung", "Rueckstellung", "Revision"};
const char* const kPlaces[] = {"Halle 3 EG", "Lager Nord", "Buero 2.14", "Technik UG",
                               "Treppenhaus B"};

QByteArray Marked(const QByteArray& text)
{
    QByteArray out = text;
    for (char& c : out)
        c = char(static_cast<unsigned char>(c) | 0x80);
    return out;
}

} // namespace

CTrafficSource::CTrafficSource(const FatSimOptions& options)
    : m_options(options), m_framing(FramingOf(options.Identification()))
{
}

bool CTrafficSource::Load(QString& error)
{
    if (m_options.trafficPath.isEmpty())
        return true;
    QFile file(m_options.trafficPath);
    if (!CDurableFile::CheckReadable(m_options.trafficPath, 256 * 1024 * 1024, &error))
        return false;
    if (!file.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("cannot read %1").arg(m_options.trafficPath);
        return false;
    }
    m_file = file.readAll();
    m_fromFile = true;
    return true;
}

CTrafficSource::Framing CTrafficSource::FramingOf(const QByteArray& identification)
{
    const QByteArray maker = identification.left(2);
    const char digit = identification.size() > 3 ? identification.at(3) : ' ';
    if (maker == "EE" || (maker == "SI" && digit == '1'))
        return Framing::HighBitLineFeed;
    if (maker == "EF" || maker == "BO" || maker == "SI" || maker == "AC" || maker == "MM")
        return Framing::HighBit;
    if (maker == "TW")
        return Framing::F0;
    return Framing::LineFeed;
}

QByteArray CTrafficSource::Message(Framing framing, int i)
{
    const int group = 1 + (i * 7) % 250;
    const int detector = 1 + i % 32;
    const QByteArray event = kEvents[i % 5];
    const QByteArray place = kPlaces[(i / 5) % 5];
    const QByteArray where = QByteArray("MG ") + QByteArray::number(group).rightJustified(4, '0') +
                             "/" + QByteArray::number(detector).rightJustified(2, '0') + " " +
                             place;
    switch (framing) {
    case Framing::LineFeed:
        return event + " " + where + "\r\n";
    case Framing::HighBit:
        // The panel marks the event, then sends the place plain.
        return Marked(event) + " " + where;
    case Framing::HighBitLineFeed:
        return Marked(event) + " " + where + "\r\n";
    case Framing::F0:
        return QByteArray(1, char(0xF0)) + event + " " + where;
    }
    return QByteArray();
}

void CTrafficSource::Restart()
{
    m_sent = 0;
    m_message = 0;
    m_pending.clear();
}

bool CTrafficSource::Finished() const
{
    if (m_fromFile)
        return m_sent >= m_file.size();
    return m_options.trafficBytes >= 0 && m_sent >= m_options.trafficBytes;
}

QByteArray CTrafficSource::Next(int max)
{
    if (max <= 0 || Finished())
        return QByteArray();
    QByteArray out;
    if (m_fromFile) {
        out = m_file.mid(m_sent, max);
    } else {
        qint64 limit = max;
        if (m_options.trafficBytes >= 0)
            limit = qMin(limit, m_options.trafficBytes - m_sent);
        while (out.size() < limit) {
            if (m_pending.isEmpty())
                m_pending = Message(m_framing, m_message++);
            const qsizetype take = qMin<qsizetype>(m_pending.size(), limit - out.size());
            out += m_pending.left(take);
            m_pending.remove(0, take);
        }
    }
    m_sent += out.size();
    return out;
}

void CTrafficSource::Unread(const QByteArray& rest)
{
    m_sent -= rest.size();
    if (!m_fromFile)
        m_pending.prepend(rest);
}
