#pragma once

#include "CLineprobeDoc.h"
#include "CMessageRecorder.h"
#include "CRecordingSession.h"
#include "TraceFiles.h"

#include <gtest/gtest.h>

// Qt
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

// One recording session through the real serial component, without widgets, a fixed clock
// and every message recorded; the FAT side is played by each test.
class RecordingFixture : public ::testing::Test
{
protected:
    static QDateTime Fixed() { return QDateTime(QDate(2001, 3, 6), QTime(9, 5, 3, 42)); }
    static QByteArray Stamp() { return "06.03.01, 09:05:03.042"; }

    RecordingFixture()
    {
        doc.SetClock([] { return Fixed(); });
        QObject::connect(&rec, &CRecordingControl::Ended,
                         [this](CRecordingControl::End end) { endings.append(end); });
    }

    // 32 identification characters: maker code, model digit at 3, version at 10..15.
    static QByteArray Ident(const char* maker, char digit = '1', const char* version = "V1.23a")
    {
        QByteArray id(32, 'x');
        id[0] = maker[0];
        id[1] = maker[1];
        id[3] = digit;
        id.replace(10, 6, QByteArray(version, 6));
        return id;
    }

    // The header the document composes for ident with the trace path of this recording.
    QByteArray Header(const QByteArray& ident) const
    {
        CMessageRecorder quiet;
        CLineprobeDoc other;
        other.SetClock([] { return Fixed(); });
        other.tracePath = doc.tracePath;
        QByteArray buffer = ident;
        other.DecodeIdentification(buffer);
        return buffer;
    }
    static QByteArray Footer()
    {
        const QByteArray rule(46, '-');
        return "\r\n\r\n" + rule + "\r\n\r\nAufzeichnung beendet  : " + Stamp() + "\r\n\r\n" + rule;
    }

    // The four trace files as the recording writes them for these pieces: texts (header,
    // footer) as they stand, chunks with their stamps and separators.
    struct Piece
    {
        bool chunk;
        QByteArray bytes;
    };
    static QByteArray Expected(int which, const QList<Piece>& pieces)
    {
        QByteArray out;
        const QByteArray stamp = "    " + Stamp() + "\r\n";
        for (const Piece& p : pieces) {
            if (!p.chunk) {
                out += p.bytes;
                continue;
            }
            const QByteArray hex = TraceFiles::HexText(p.bytes);
            switch (which) {
            case TraceFiles::Ts:
                out += p.bytes;
                break;
            case TraceFiles::Tds:
                out += stamp + p.bytes + "\r\n\r\n";
                break;
            case TraceFiles::Tdh:
                out += stamp + hex + "\r\n\r\n";
                break;
            default:
                out += hex + "\r\n\r\n";
                break;
            }
        }
        return out;
    }
    void ExpectTraceFiles(const QString& base, const QList<Piece>& pieces)
    {
        static const char* const ext[] = {"ts", "tds", "tdh", "th"};
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(ReadFile(base + "." + ext[i]), Expected(i, pieces)) << ext[i];
    }
    // A list file of these items.
    static QByteArray ListBytes(const QList<QByteArray>& items)
    {
        QByteArray out;
        for (const QByteArray& item : items)
            out += "    " + item.left(254) + "\r\n";
        return out;
    }
    static QList<QByteArray> Lines(const QByteArray& text)
    {
        return CLineprobeDoc::TextLines(text);
    }

    static QByteArray ReadFile(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }
    static bool WaitFor(const std::function<bool()>& condition, int ms = 10000)
    {
        return QTest::qWaitFor(condition, ms);
    }
    const CLineIndex& AsciiLines() const { return session.Lines(LineRules::View::Ascii); }
    QByteArray LastAscii() const { return AsciiLines().Last(); }
    static QList<QByteArray> Items(const CLineIndex& lines)
    {
        QList<QByteArray> items;
        for (qsizetype i = 0; i < lines.Count(); ++i)
            items.append(lines.At(i));
        return items;
    }
    QList<QByteArray> AsciiItems() const { return Items(AsciiLines()); }
    QList<QByteArray> HexItems() const { return Items(session.Lines(LineRules::View::Hex)); }

    // Starts a recording that saves to name in the temporary folder.
    void StartSaving(const QString& name)
    {
        messages.FileNext(dir.filePath(name));
        rec.OnStartRecording();
    }

    CMessageRecorder messages;
    QTemporaryDir dir;
    CLineprobeDoc doc;
    CRecordingSession session{doc};
    CRecordingControl& rec = session.Control();
    RecordingOptions& options = session.Options();
    QList<CRecordingControl::End> endings;
};
