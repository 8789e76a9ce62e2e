#pragma once

#include "CChunkTimes.h"
#include "CLineHealth.h"
#include "CLineIndex.h"
#include "CRecordingControl.h"
#include "CRecordingViews.h"
#include "CTraceStore.h"
#include "RecordingOptions.h"

// Qt
#include <QObject>

#include <functional>
#include <initializer_list>
#include <memory>

class CLineprobeDoc;
class ListFileWriter;

// One Lineprobe session, for the window and for lineprobe-cli alike: the received bytes, the
// ASCII and the hex lines over them, the recording control that fills them and the options
// the user chose. Each chunk the control hands over is stored once and cut into both lists by
// the panel code's rule; signals tell the views which rows changed, and the views only show.
// The list files of both views are opened, saved and written here.
class CRecordingSession : public QObject, public CRecordingViews
{
    Q_OBJECT

public:
    using View = LineRules::View;
    // What rows were added: received bytes, lines of a header or footer, or a port error.
    enum class Append { Chunk, Text, PortError };

    explicit CRecordingSession(CLineprobeDoc& doc, QObject* parent = nullptr);
    // Stops a running recording (footer, list files) while the lists still stand.
    ~CRecordingSession() override;

    CLineprobeDoc& Doc() const { return m_doc; }
    CRecordingControl& Control() { return m_control; }
    const CRecordingControl& Control() const { return m_control; }
    RecordingOptions& Options() { return m_options; }
    const RecordingOptions& Options() const { return m_options; }
    bool IsRecording() const { return m_control.IsRecording(); }
    // The line's figures of the running or the last recording.
    CLineHealth& Health() { return m_health; }
    const CLineHealth& Health() const { return m_health; }

    // data access
    const CLineIndex& Lines(View view) const { return view == View::Ascii ? m_ascii : m_hex; }
    const CTraceStore& ReceivedBytes() const { return *m_store; }
    // Why received bytes could not be kept ("Die empfangenen Bytes ..."); empty while all is
    // well.
    QString StoreFailureText() const;
    // The panel code whose line rule cuts the chunks (the last one taken).
    int PanelCode() const { return m_panelCode; }
    // When the chunks of the lists arrived; empty for a loaded list file.
    const CChunkTimes& ChunkTimes() const { return m_times; }
    // The arrival time of the row's first received byte; a text line (header, footer, port
    // error) takes the time of the byte after it. None without one.
    std::optional<CChunkTimes::Ms> LineTime(View view, qsizetype row) const;
    // The first row of view whose time is time or later; -1 when none is.
    qsizetype RowAtOrAfter(View view, CChunkTimes::Ms time) const;
    // "tvs" for the ASCII list, "tvh" for the hex list.
    static QString Extension(View view);

    // list files
    // "Ö&ffnen": asks for a list file; a running recording ends first, with its own lists
    // beside its own trace; then the trace path names the chosen file and both lists load.
    bool OpenListFile();
    // A dropped list file: the same without the dialog.
    bool OpenList(const QString& path);
    // Loads the list file of view beside the trace path (a missing one: the message, and
    // the list stays).
    void LoadList(View view);
    // Reading list files that takes longer than afterMs calls progress on this thread with
    // the bytes read of all, first with less than total, last with (total, total). In between
    // it may process the window's events for a while (the lines being read are out of the
    // views' reach); it is called again until the files are read.
    void SetLoadProgress(std::function<void(qint64 read, qint64 total)> progress,
                         int afterMs = 300)
    {
        m_loadProgress = std::move(progress);
        m_loadProgressAfterMs = afterMs;
    }
    // "&Speichern" while recording, from the list of view: asks for the file, writes that
    // list there and the other list beside it with its own extension. A name whose partner
    // would be the same file is refused before anything is written.
    bool SaveLists(View view);
    // Writes the list of view to path; true when at least one item was written.
    bool WriteList(View view, const QString& path) const;

    // CRecordingViews: what the recording shows, in both lists
    void ClearLists() override;
    void TakePanelCode(int panelCode) override { m_panelCode = panelCode; }
    bool ShowChunk(const QByteArray& chunk, const QByteArray& stamp) override;
    // A chunk without a time stamp.
    bool ShowChunk(const QByteArray& chunk) { return ShowChunk(chunk, QByteArray()); }
    void ShowTextLines(const QByteArray& text) override;
    void ShowErrorText(const QByteArray& text) override;
    bool WriteLists(const QString& asciiPath, const QString& hexPath) override;

signals:
    // Rows of the list of view changed at its end: the row before change.firstAdded when
    // change.lastChanged, and every row from change.firstAdded on is new.
    void LinesAppended(LineRules::View view, const CLineIndex::Change& change,
                       CRecordingSession::Append what);
    // The list of view was emptied or loaded as a whole.
    void ListReset(LineRules::View view);
    // A chunk came for a panel code without a line rule (after the recording's message).
    void ChunkRefused();

private:
    CLineIndex& LinesOf(View view) { return view == View::Ascii ? m_ascii : m_hex; }
    void AppendText(const QByteArray& line, Append what);
    // LoadList for each of views; two files are read at once, one on a thread of its own.
    void LoadLists(std::initializer_list<View> views);
    // Where a chunk goes: the .ts of a running recording that saves, else the store's own file.
    quint64 StoreChunk(const QByteArray& chunk);
    // The list files of a saving recording grow beside its trace: every complete line is
    // final and written at once, so that a stop only adds the last lines.
    void OpenListFiles();
    void UpdateListFiles();
    void CancelListFiles();
    static void AddListItems(ListFileWriter& file, const CLineIndex& lines, qsizetype upTo);

    CLineprobeDoc& m_doc;
    RecordingOptions m_options;
    std::shared_ptr<CTraceStore> m_store = std::make_shared<CTraceStore>();
    CLineIndex m_ascii{m_store};
    CLineIndex m_hex{m_store};
    CChunkTimes m_times;
    int m_panelCode = 0;
    std::unique_ptr<ListFileWriter> m_listFiles[2]; // ASCII, hex
    bool m_listOpenFailed = false; // the message was shown when the list files were opened
    std::function<void(qint64, qint64)> m_loadProgress;
    int m_loadProgressAfterMs = 0;
    bool m_loading = false;
    // Last: its end stops a running recording into the lists above.
    CRecordingControl m_control{m_doc, m_options};
    CLineHealth m_health{m_control.Serial()};
};
