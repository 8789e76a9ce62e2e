#include "CRecordingSession.h"

#include "CLineprobeDoc.h"
#include "CMessages.h"
#include "CTraceLines.h"
#include "ListFile.h"
#include "ListFileWriter.h"
#include "TraceFiles.h"

// Qt
#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

CRecordingSession::CRecordingSession(CLineprobeDoc& doc, QObject* parent)
    : QObject(parent), m_doc(doc)
{
    for (auto& file : m_listFiles)
        file = std::make_unique<ListFileWriter>();
    m_control.SetViews(this);
    // A recording that ended without writing its lists leaves none half written.
    connect(&m_control, &CRecordingControl::Ended, this, [this] { CancelListFiles(); });
    connect(&m_control, &CRecordingControl::RecordingChanged, &m_health, [this](bool recording) {
        if (recording)
            m_health.Start();
        else
            m_health.Stop();
    });
}

CRecordingSession::~CRecordingSession()
{
    m_control.OnStopRecording();
    m_control.SetViews(nullptr);
}

QString CRecordingSession::Extension(View view)
{
    return view == View::Ascii ? QStringLiteral("tvs") : QStringLiteral("tvh");
}

void CRecordingSession::ClearLists()
{
    CancelListFiles();
    for (View view : {View::Ascii, View::Hex}) {
        // A list loaded from a file goes back to the received bytes.
        LinesOf(view).SetStore(m_store);
        emit ListReset(view);
    }
    m_times.Clear();
}

bool CRecordingSession::ShowChunk(const QByteArray& chunk, const QByteArray& stamp)
{
    const LineRules::Rule rule = LineRules::ForPanelCode(m_panelCode);
    if (rule == LineRules::Rule::None) {
        MessageBox(LineRules::UnsupportedMessage(View::Ascii), QString(), msg::NoIcon);
        emit ChunkRefused();
        return false;
    }
    if (chunk.isEmpty())
        return true;
    // Kept once; both lists refer to the same bytes.
    const quint64 offset = StoreChunk(chunk);
    // Bytes the store cannot keep would read back as zeros: the recording ends instead.
    if (!m_store->Failure().isEmpty()) {
        if (IsRecording())
            MessageBox(StoreFailureText() + QStringLiteral(" Die Aufnahme wurde beendet."),
                       QString(), msg::NoIcon);
        return false;
    }
    if (const auto time = CChunkTimes::ParseStamp(stamp))
        m_times.Add(offset, chunk.size(), *time);
    for (View view : {View::Ascii, View::Hex}) {
        LinesOf(view).UseStore(m_store); // a loaded list goes on as text lines
        const CLineIndex::Change change = LinesOf(view).AppendStored(
            view, rule, m_options.lines, offset, chunk.constData(), chunk.size());
        emit LinesAppended(view, change, Append::Chunk);
    }
    UpdateListFiles();
    return true;
}

QString CRecordingSession::StoreFailureText() const
{
    const QString why = m_store->Failure();
    return why.isEmpty() ? QString()
                         : QStringLiteral("Die empfangenen Bytes konnten nicht zwischengespeichert "
                                          "werden: %1.")
                               .arg(why);
}

quint64 CRecordingSession::StoreChunk(const QByteArray& chunk)
{
    TraceFiles& files = m_doc.Files();
    if (!IsRecording() || !files.IsPublished() || !files.IsOpen() || files.Lost())
        return m_store->Append(chunk.constData(), chunk.size());
    // The recording has just written the chunk to the end of its .ts.
    const QString ts = files.PathOf(TraceFiles::Ts);
    if (m_store->FollowedPath() != ts) {
        if (!m_store->Follow(ts))
            return m_store->Append(chunk.constData(), chunk.size());
        OpenListFiles();
    }
    return m_store->AppendWritten(files.Written(TraceFiles::Ts) - chunk.size(), chunk.constData(),
                                  chunk.size());
}

void CRecordingSession::OpenListFiles()
{
    CancelListFiles();
    for (View view : {View::Ascii, View::Hex})
        if (!m_listFiles[int(view == View::Hex)]->Open(
                ListFile::WithExtension(m_doc.tracePath, Extension(view)))) {
            CancelListFiles();
            m_listOpenFailed = true;
            return;
        }
    UpdateListFiles();
}

void CRecordingSession::UpdateListFiles()
{
    for (View view : {View::Ascii, View::Hex}) {
        ListFileWriter& file = *m_listFiles[int(view == View::Hex)];
        if (!file.IsOpen())
            continue;
        // All rows but the last are final.
        const CLineIndex& lines = Lines(view);
        AddListItems(file, lines, lines.Count() - 1);
    }
}

void CRecordingSession::AddListItems(ListFileWriter& file, const CLineIndex& lines, qsizetype upTo)
{
    for (qsizetype i = qsizetype(file.Count()); i < upTo; ++i)
        // Only what the file keeps of an item is rendered, straight into the file's buffer.
        file.AddRendered(
            [&lines, i](QByteArray& out) { lines.AppendHead(i, ListFile::ItemChars, out); });
}

void CRecordingSession::CancelListFiles()
{
    for (auto& file : m_listFiles)
        file->Cancel();
    m_listOpenFailed = false;
}

std::optional<CChunkTimes::Ms> CRecordingSession::LineTime(View view, qsizetype row) const
{
    const CLineIndex& lines = Lines(view);
    if (m_times.IsEmpty() || row < 0 || row >= lines.Count())
        return std::nullopt;
    // A text line shows no byte; where it starts is the offset of the byte after it.
    return m_times.TimeAt(lines.StartOf(row));
}

qsizetype CRecordingSession::RowAtOrAfter(View view, CChunkTimes::Ms time) const
{
    const std::optional<quint64> offset = m_times.FirstAtOrAfter(time);
    if (!offset)
        return -1;
    // Where rows start only grows from row to row.
    const CLineIndex& lines = Lines(view);
    qsizetype low = 0;
    qsizetype high = lines.Count();
    while (low < high) {
        const qsizetype middle = low + (high - low) / 2;
        if (lines.StartOf(middle) < *offset)
            low = middle + 1;
        else
            high = middle;
    }
    return low < lines.Count() ? low : -1;
}

void CRecordingSession::AppendText(const QByteArray& line, Append what)
{
    for (View view : {View::Ascii, View::Hex}) {
        CLineIndex& lines = LinesOf(view);
        const CLineIndex::Change change{false, lines.Count()};
        lines.AppendText(line);
        emit LinesAppended(view, change, what);
    }
    UpdateListFiles();
}

void CRecordingSession::ShowTextLines(const QByteArray& text)
{
    for (const QByteArray& line : CLineprobeDoc::TextLines(text))
        AppendText(line, Append::Text);
}

void CRecordingSession::ShowErrorText(const QByteArray& text)
{
    AppendText(text, Append::PortError);
    AppendText(QByteArray(), Append::PortError);
}

bool CRecordingSession::WriteList(View view, const QString& path) const
{
    const CLineIndex& lines = Lines(view);
    return ListFile::Write(path, int(lines.Count()), [&lines](int i) {
        // Only what the file keeps of an item is rendered.
        return lines.Head(i, ListFile::ItemChars);
    });
}

bool CRecordingSession::WriteLists(const QString& asciiPath, const QString& hexPath)
{
    ListFileWriter& ascii = *m_listFiles[0];
    ListFileWriter& hex = *m_listFiles[1];
    if (m_listOpenFailed) {
        CancelListFiles();
        return false; // the reason was shown when they were opened
    }
    if (!ascii.IsOpen() || ascii.Path() != asciiPath || !hex.IsOpen() || hex.Path() != hexPath) {
        CancelListFiles();
        if (!WriteList(View::Ascii, asciiPath))
            return false;
        return WriteList(View::Hex, hexPath);
    }
    // The lists have grown with the recording: the last lines, then into place.
    for (View view : {View::Ascii, View::Hex}) {
        ListFileWriter& file = *m_listFiles[int(view == View::Hex)];
        const CLineIndex& lines = Lines(view);
        AddListItems(file, lines, lines.Count());
    }
    if (!(ascii.Finish() && ascii.Count() > 0)) {
        hex.Cancel();
        return false;
    }
    return hex.Finish() && hex.Count() > 0;
}

void CRecordingSession::LoadList(View view)
{
    LoadLists({view});
}

void CRecordingSession::LoadLists(std::initializer_list<View> views)
{
    if (m_doc.tracePath.isEmpty())
        return;
    if (m_loading)
        return; // asked again while the window showed the progress of a load
    m_loading = true;
    // Reading the lists of a long recording from a disk takes a while.
    CWaitCursor wait;
    // The lines stay in the file; the list indexes them there, as a recording's lines in its
    // .ts, so that a list of any length opens at once and costs its index. Each file is opened
    // here, in order (a file that cannot be opened shows its message); then the files are read
    // at once, each on a thread of its own into an index of its own: their lists and stores
    // share nothing, and the views go on showing what they showed until the new lines take
    // its place.
    struct Job
    {
        View view;
        QFile file;
        CLineIndex lines;
        std::atomic<qint64> read{0}; // bytes of the file indexed so far
        int error = 0;               // of a read that failed part way
    };
    std::vector<std::unique_ptr<Job>> jobs;
    for (View view : views) {
        const QString path = ListFile::WithExtension(m_doc.tracePath, Extension(view));
        auto job = std::make_unique<Job>();
        job->view = view;
        if (ListFile::OpenToIndex(job->file, path) != ListFile::LoadResult::Loaded)
            continue;
        auto store = std::make_shared<CTraceStore>();
        if (!store->Follow(path)) {
            MessageBox(store->Failure(), QString(), msg::Error);
            continue;
        }
        job->lines.BeginFileLines(store);
        jobs.push_back(std::move(job));
    }
    qint64 total = 0;
    for (const auto& job : jobs)
        total += job->file.size();
    std::atomic<size_t> running{jobs.size()};
    std::vector<std::thread> threads;
    for (const auto& job : jobs) {
        threads.emplace_back([job = job.get(), &running] {
            job->error = ListFile::IndexOpen(
                job->file, job->view == View::Ascii,
                [job](const ListFile::Span* spans, qsizetype count) {
                    job->lines.AppendFileLines(spans, count);
                    const ListFile::Span& last = spans[count - 1];
                    job->read.store(last.start + last.size, std::memory_order_relaxed);
                });
            running.fetch_sub(1);
        });
    }
    // The window shows the progress and goes on painting meanwhile; it shows nothing of the
    // lists being read.
    const auto read = [&jobs] {
        qint64 sum = 0;
        for (const auto& job : jobs)
            sum += job->read.load(std::memory_order_relaxed);
        return sum;
    };
    const auto finished = [&running] { return running.load() == 0; };
    if (m_loadProgress && !jobs.empty()) {
        // Short reads go without it.
        const QDeadlineTimer quiet(m_loadProgressAfterMs);
        while (!finished() && !quiet.hasExpired())
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        if (!finished() || m_loadProgressAfterMs == 0) {
            do
                m_loadProgress(qMin(read(), total - 1), total);
            while (!finished());
            m_loadProgress(total, total);
        }
    }
    for (std::thread& thread : threads)
        thread.join();
    m_loading = false;
    for (const auto& job : jobs) {
        // A list file keeps no times. A file that could not be read to its end shows the lines
        // before, with the reason.
        LinesOf(job->view).TakeLines(job->lines);
        m_times.Clear();
        emit ListReset(job->view);
        if (job->error != 0)
            MessageBox(CDurableFile::ReadFailedText(job->file.fileName(), job->error), QString(),
                       msg::NoIcon);
    }
}

bool CRecordingSession::OpenList(const QString& path)
{
    // The running recording ends first, with its own lists beside its own trace; only then
    // does the trace path name the chosen file.
    m_control.OnStopRecording();
    if (!m_doc.OpenDocument(path))
        return false;
    LoadLists({View::Ascii, View::Hex});
    return true;
}

bool CRecordingSession::OpenListFile()
{
    QString path;
    if (!m_doc.AskListFile(path))
        return false;
    return OpenList(path);
}

bool CRecordingSession::SaveLists(View view)
{
    const QString extension = Extension(view);
    const View other = view == View::Ascii ? View::Hex : View::Ascii;
    msg::FileDialog dialog;
    dialog.initialName = QStringLiteral("*.") + extension;
    dialog.defaultExt = extension;
    dialog.filter = QStringLiteral("Trace - Dateien (.%1) | *.%1||").arg(extension);
    dialog.overwritePrompt = true;
    QString path;
    if (!Messages().SaveFileName(dialog, path))
        return false;
    const QString partner = ListFile::WithExtension(path, Extension(other));
    if (QFileInfo(partner).absoluteFilePath() == QFileInfo(path).absoluteFilePath()) {
        // Both lists would go to one file, the second overwriting the first.
        MessageBox(QStringLiteral("Die Liste kann nicht unter diesem Namen gespeichert werden: "
                                  "die zweite Liste bekäme denselben Dateinamen.\n"
                                  "Wählen Sie einen Namen mit der Endung .%1.")
                       .arg(extension),
                   QString(), msg::Warning);
        return false;
    }
    if (!WriteList(view, path))
        return false;
    WriteList(other, partner);
    return true;
}
