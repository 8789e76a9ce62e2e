// Feeds arbitrary bytes to the list file loader of both trace views: every line must stay
// within its view's limit, the lines must be those the loader as first written byte by byte
// gives (read into memory and indexed where they lie in the file), and nothing may crash or read
// out of bounds.
#include "CMessageRecorder.h"
#include "CLineIndex.h"
#include "CTraceLines.h"
#include "ListFile.h"

// Qt
#include <QFile>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

// The loader as first written, byte by byte into a QByteArray: the oracle.
inline ListFile::LoadResult ReferenceLoad(const QString& path, bool asciiView,
                                          const std::function<void()>& clear,
                                          const std::function<void(const QByteArray&)>& add)
{
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly)) {
        return ListFile::LoadResult::Failed;
    }
    if (file.size() == 0 && file.atEnd())
        return ListFile::LoadResult::Empty;
    clear();

    const int maxLine = asciiView ? ListFile::AsciiLineMax : ListFile::HexLineMax;
    enum State { Normal, AfterEnd, AfterEndCr } state = Normal;
    QByteArray line;
    line.reserve(maxLine + 2);
    // A full line is cut only when a byte follows that does not end it, so that a line of
    // exactly the maximum length followed by CR LF stays one item. The buffer holds at
    // most the maximum and one CR.
    const auto append = [&](char c) {
        if (line.size() > maxLine || (line.size() == maxLine && c != '\r')) {
            add(line.left(maxLine));
            line.remove(0, maxLine);
        }
        line.append(c);
    };
    while (!file.atEnd()) {
        const QByteArray block = file.read(1 << 16);
        if (block.isEmpty())
            break;
        for (const char c : block) {
            if (state == AfterEndCr) {
                state = Normal;
                if (c == '\n')
                    continue; // the line end written after an item that ended in CR LF
                append('\r');
            } else if (state == AfterEnd) {
                state = Normal;
                if (c == '\r') {
                    state = AfterEndCr;
                    continue;
                }
            }
            if (c == '\n' && line.endsWith('\r')) {
                line.chop(1);
                add(line);
                line.clear();
                if (asciiView)
                    state = AfterEnd;
                continue;
            }
            append(c);
        }
    }
    // A line that reached the maximum ended there; shorter rests are dropped.
    if (line.size() >= maxLine)
        add(line.left(maxLine));
    return ListFile::LoadResult::Loaded;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static QTemporaryDir dir;
    static const QString path = dir.filePath(QStringLiteral("f.tvs"));
    {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 0;
        f.write(reinterpret_cast<const char*>(data), qint64(size));
    }
    CMessageRecorder messages;
    for (const bool ascii : {true, false}) {
        const int limit = ascii ? ListFile::AsciiLineMax : ListFile::HexLineMax;
        qint64 total = 0;
        ListFile::Load(
            path, ascii, [] {},
            [&](const QByteArray& line) {
                if (line.size() > limit)
                    std::abort();
                total += line.size();
            });
        if (total > qint64(size))
            std::abort();
        QList<QByteArray> expected;
        ReferenceLoad(
            path, ascii, [] {}, [&](const QByteArray& line) { expected.append(line); });
        CTraceLines lines;
        ListFile::Load(path, ascii, lines);
        if (lines.Count() != expected.size())
            std::abort();
        for (qsizetype i = 0; i < lines.Count(); ++i)
            if (lines.At(i) != expected[i])
                std::abort();
        // Indexed where the lines lie in the file, they read the same.
        CLineIndex index;
        const auto file = std::make_shared<CTraceStore>();
        ListFile::Index(
            path, ascii,
            [&] {
                file->Follow(path);
                index.BeginFileLines(file);
            },
            [&](qint64 start, qsizetype length) { index.AppendFileLine(start, length); });
        if (index.Count() != expected.size())
            std::abort();
        for (qsizetype i = 0; i < index.Count(); ++i)
            if (index.At(i) != expected[i] || !index.IsTextLine(i))
                std::abort();
        // The same in batches, as both lists are read at once.
        QFile opened;
        if (ListFile::OpenToIndex(opened, path) != ListFile::LoadResult::Loaded)
            continue;
        CLineIndex batched;
        const auto store = std::make_shared<CTraceStore>();
        store->Follow(path);
        batched.BeginFileLines(store);
        ListFile::IndexOpen(opened, ascii, [&](const ListFile::Span* spans, qsizetype count) {
            batched.AppendFileLines(spans, count);
        });
        if (batched.Count() != expected.size())
            std::abort();
        for (qsizetype i = 0; i < batched.Count(); ++i)
            if (batched.At(i) != expected[i])
                std::abort();
    }
    return 0;
}
