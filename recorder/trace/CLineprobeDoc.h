#pragma once

#include "CDocument.h"
#include "TraceFiles.h"

// Qt
#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <functional>

// Lineprobe's document: the trace path, the recording flag, the identification of the FAT,
// the four trace files and the texts that open and close a trace. What the user chose for
// the recordings is RecordingOptions, kept by the recording session.
class CLineprobeDoc : public CDocument
{
public:
    enum { PanelUnsupported = 0, PanelExpert = 1 };

    CLineprobeDoc();

    // trace path and flag
    QString tracePath;
    int recordingFlag = 0;
    // identification
    QByteArray maker;
    QByteArray model;
    QByteArray fatVersion;
    const QByteArray programVersion = "1.8";

    // Open while a recording that saves its data runs; the header and the footer are
    // written to them as they are composed.
    TraceFiles& Files() { return m_files; }

    // Clock of the time stamps; tests set a fixed one.
    void SetClock(std::function<QDateTime()> clock) { m_clock = std::move(clock); }
    // "dd.mm.yy, hh:mm:ss.mmm" of the clock's local time now.
    QByteArray TimeStamp() const;
    static QByteArray TimeStamp(const QDateTime& t);

    void ClearIdentification();
    // Decodes the 32 identification characters and replaces them in buffer by the
    // identification header; returns the panel code (0 after the unknown-maker message).
    int DecodeIdentification(QByteArray& buffer);
    // The adaptation suffix of character 22 for panel codes 12 and 14.
    static QByteArray AdaptationSuffix(int panelCode, unsigned char bits);
    // The expert header into buffer; returns panel code 1.
    int ComposeExpertHeader(int baudRate, int parity, int dataBits, int stopBits,
                            QByteArray& buffer);
    // The footer into buffer; written to the trace files, which are then closed.
    void ComposeFooter(QByteArray& buffer);

    // Creates the four trace files for a path chosen in the save dialog; false when nothing
    // was created.
    bool CreateTraceFiles();
    // Asks for a list file to open; on OK the trace path is the chosen file (refused like
    // OpenDocument when it is too long).
    bool OpenListFile();
    // The open dialog of OpenListFile alone: the trace path is not changed, so a running
    // recording can be stopped before it is.
    bool AskListFile(QString& path);
    // A dropped file or the command line: the trace path is path. A path longer than a
    // trace path may be is refused with the open message and changes nothing.
    bool OpenDocument(const QString& path);
    // The main window composes its title; the document asks it through this hook.
    void SetTitleHook(std::function<void()> hook) { m_titleHook = std::move(hook); }
    void UpdateTitle();

    // Cuts a header or footer into view lines: at each LF, a CR ends the line's text, a rest
    // without LF is a last line.
    static QList<QByteArray> TextLines(const QByteArray& text);

private:
    bool TakeTracePath(const QString& path);
    QByteArray BaseName() const;

    TraceFiles m_files;
    std::function<QDateTime()> m_clock;
    std::function<void()> m_titleHook;
};
