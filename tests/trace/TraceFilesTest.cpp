#include "CLineprobeDoc.h"
#include "CMessageRecorder.h"
#include "ListFile.h"
#include "TraceFiles.h"

// Qt
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QByteArray Read(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void WriteBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QList<QByteArray> Load(const QString& path, bool ascii, ListFile::LoadResult* result = nullptr)
{
    QList<QByteArray> items{"vorher"};
    const auto r = ListFile::Load(
        path, ascii, [&] { items.clear(); }, [&](const QByteArray& l) { items.append(l); });
    if (result)
        *result = r;
    return items;
}

class TraceFilesTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        doc.SetClock([] { return QDateTime(QDate(2026, 12, 7), QTime(8, 1, 2, 3)); });
    }
    QTemporaryDir dir;
    CMessageRecorder messages;
    CLineprobeDoc doc;
};

} // namespace

TEST(HexText, UppercaseUnitsWithABlankAfterEach)
{
    EXPECT_EQ(TraceFiles::HexText(QByteArray("\x0D\x41", 2)), "0D 41 ");
    EXPECT_EQ(TraceFiles::HexText(QByteArray("\x41\x00\xF0", 3)), "41 00 F0 ");
    EXPECT_EQ(TraceFiles::HexText(QByteArray()), "");
}

TEST(DerivedPaths, ExtensionsAndLastCharacters)
{
    EXPECT_EQ(ListFile::WithExtension("/x/run1.tds", "ts"), "/x/run1.ts");
    EXPECT_EQ(ListFile::WithExtension("/x.d/run1", "th"), "/x.d/run1.th");
    EXPECT_EQ(ListFile::WithExtension("a.b.tds", "tvs"), "a.b.tvs");
    EXPECT_EQ(ListFile::WithLastButOne("/x/run1.tds", 'v'), "/x/run1.tvs");
    EXPECT_EQ(ListFile::WithLast("/x/run1.tvs", 'h'), "/x/run1.tvh");
    EXPECT_EQ(ListFile::WithLast("", 'h'), "");
    EXPECT_EQ(ListFile::WithLastButOne("a", 'v'), "a");
}

TEST_F(TraceFilesTest, RecordingWritesTheFourFilesByteForByte)
{
    const QString path = dir.filePath("run1.tds");
    messages.FileNext(path);
    ASSERT_TRUE(doc.CreateTraceFiles());
    EXPECT_EQ(doc.tracePath, path);
    EXPECT_EQ(doc.GetPathName(), path);
    const auto dialog = messages.Entries().first().dialog;
    EXPECT_EQ(dialog.filter, "Trace - Dateien (.tds) | *.tds||");
    EXPECT_EQ(dialog.initialName, "*.tds");
    EXPECT_TRUE(dialog.overwritePrompt);
    // Under their own names only once published (the FAT has identified itself).
    EXPECT_FALSE(QFile::exists(dir.filePath("run1.ts")));
    doc.Files().Publish();
    EXPECT_TRUE(QFile::exists(dir.filePath("run1.ts")));

    QByteArray header = "HEAD\r\n";
    doc.Files().WriteText(header);
    const QByteArray stamp = doc.TimeStamp();
    doc.Files().RecordChunk(QByteArray("\x41\x00\xF0", 3), stamp);
    // Written through at once: the files hold the chunk before the recording ends.
    EXPECT_EQ(Read(dir.filePath("run1.ts")), QByteArray("HEAD\r\n\x41\x00\xF0", 9));
    doc.Files().RecordChunk("B", stamp);
    QByteArray footer;
    doc.ComposeFooter(footer);
    EXPECT_FALSE(doc.Files().IsOpen());

    EXPECT_EQ(stamp, "07.12.26, 08:01:02.003");
    const QByteArray s = "    07.12.26, 08:01:02.003\r\n";
    EXPECT_EQ(Read(dir.filePath("run1.ts")), QByteArray("HEAD\r\n\x41\x00\xF0", 9) + "B" + footer);
    EXPECT_EQ(Read(dir.filePath("run1.tds")), "HEAD\r\n" + s + QByteArray("\x41\x00\xF0", 3) +
                                                  "\r\n\r\n" + s + "B\r\n\r\n" + footer);
    EXPECT_EQ(Read(dir.filePath("run1.tdh")),
              "HEAD\r\n" + s + "41 00 F0 \r\n\r\n" + s + "42 \r\n\r\n" + footer);
    EXPECT_EQ(Read(dir.filePath("run1.th")), "HEAD\r\n41 00 F0 \r\n\r\n42 \r\n\r\n" + footer);
}

TEST_F(TraceFilesTest, WithoutTraceFilesTheFooterIsComposedOnly)
{
    // A recording that does not save its data never created the files.
    QByteArray buffer;
    doc.ComposeFooter(buffer);
    EXPECT_TRUE(buffer.contains("Aufzeichnung beendet"));
    EXPECT_TRUE(messages.Entries().isEmpty()) << "not even the dialog";
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());
}

TEST_F(TraceFilesTest, CreationFailureClosesWhatWasCreated)
{
    // A folder named like the third file makes its creation fail.
    ASSERT_TRUE(QDir(dir.path()).mkdir("run2.tdh"));
    messages.FileNext(dir.filePath("run2.tds"));
    EXPECT_FALSE(doc.CreateTraceFiles());
    EXPECT_EQ(messages.Texts(), QStringList{"File konnte nicht geöffnet werden\n" +
                                            dir.filePath("run2.tdh") + ": Das ist ein Ordner"});
    EXPECT_EQ(messages.Boxes()[0].icon, msg::NoIcon);
    EXPECT_FALSE(doc.Files().IsOpen());
    EXPECT_FALSE(QFile::exists(dir.filePath("run2.th"))) << "stops at the first failure";
}

TEST_F(TraceFilesTest, TracePathsLongerThan255CharactersAreRefusedEverywhere)
{
    int titles = 0;
    doc.SetTitleHook([&] { ++titles; });
    const QString fits = dir.filePath("a.tvs");
    const QString tooLong = fits + QString(256 - fits.size() + 1, 'x') + ".tvs";
    ASSERT_GT(tooLong.size(), 255);
    const QString open = QString::fromUtf8("File konnte nicht geöffnet werden");

    messages.FileNext(tooLong);
    EXPECT_FALSE(doc.CreateTraceFiles());
    messages.FileNext(tooLong);
    EXPECT_FALSE(doc.OpenListFile());
    EXPECT_FALSE(doc.OpenDocument(tooLong));
    EXPECT_EQ(messages.Texts(), QStringList({open, open, open}));
    EXPECT_TRUE(doc.tracePath.isEmpty()) << "no cut path is kept";
    EXPECT_EQ(titles, 0);
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());

    // Paths that fit are taken and the title follows.
    messages.FileNext(fits);
    EXPECT_TRUE(doc.OpenListFile());
    EXPECT_EQ(doc.tracePath, fits);
    EXPECT_TRUE(doc.OpenDocument(dir.filePath("b.tvh")));
    EXPECT_EQ(doc.tracePath, dir.filePath("b.tvh"));
    EXPECT_EQ(titles, 2);
}

TEST_F(TraceFilesTest, ListFileWriteCutsItemsAndReportsEmptyLists)
{
    const QString path = dir.filePath("a.tvs");
    const QList<QByteArray> items = {"eins", QByteArray(300, 'x'), "", "zwei\r\n"};
    EXPECT_TRUE(ListFile::Write(path, int(items.size()), [&](int i) { return items[i]; }));
    EXPECT_EQ(Read(path),
              "    eins\r\n    " + QByteArray(254, 'x') + "\r\n    \r\n    zwei\r\n\r\n");

    EXPECT_FALSE(ListFile::Write(path, 0, [](int) { return QByteArray(); }));
    EXPECT_EQ(Read(path), "") << "an empty list leaves an empty file";
    EXPECT_TRUE(messages.Entries().isEmpty());

    EXPECT_FALSE(ListFile::Write(dir.filePath("fehlt/b.tvs"), 1, [](int) { return "x"; }));
    EXPECT_EQ(messages.Texts(),
              QStringList{"File konnte nicht geöffnet werden\n" + dir.filePath("fehlt/b.tvs") +
                          ": Der Ordner existiert nicht"});
}

TEST_F(TraceFilesTest, ListFileRoundTripKeepsTheLeadingBlanks)
{
    const QString path = dir.filePath("r.tvs");
    const QList<QByteArray> items = {".ABC", "plain", "", "lf\r\n", "next"};
    ASSERT_TRUE(ListFile::Write(path, int(items.size()), [&](int i) { return items[i]; }));
    EXPECT_EQ(Load(path, true),
              (QList<QByteArray>{"    .ABC", "    plain", "    ", "    lf", "    next"}));
    // The hex view does not skip the second line end.
    EXPECT_EQ(Load(path, false),
              (QList<QByteArray>{"    .ABC", "    plain", "    ", "    lf", "", "    next"}));
}

TEST_F(TraceFilesTest, ListFileLoadCutsLongLinesAndDropsTheRest)
{
    const QString path = dir.filePath("l.tvs");
    WriteBytes(path, QByteArray(300, 'a') + "\r\nb\rc\r\n\r\n\r\nd\r\n\r\n\r\n\r\nrest");
    const QList<QByteArray> ascii = Load(path, true);
    ASSERT_EQ(ascii.size(), 6);
    EXPECT_EQ(ascii[0], QByteArray(254, 'a'));
    EXPECT_EQ(ascii[1], QByteArray(46, 'a'));
    EXPECT_EQ(ascii[2], "b\rc") << "a lone CR is text";
    EXPECT_EQ(ascii[3], "") << "the third CR LF after a skipped one is an empty line";
    EXPECT_EQ(ascii[4], "d");
    EXPECT_EQ(ascii[5], "");

    WriteBytes(path, QByteArray(800, 'h') + "\r\n");
    const QList<QByteArray> hex = Load(path, false);
    ASSERT_EQ(hex.size(), 2);
    EXPECT_EQ(hex[0].size(), 764);
    EXPECT_EQ(hex[1].size(), 36);
}

TEST_F(TraceFilesTest, ListFileLineOfExactlyTheMaximumBeforeItsLineEnd)
{
    // An item of 250 characters is written as 254 bytes and CR LF: one item again.
    const QString path = dir.filePath("m.tvs");
    const QByteArray item(250, 'x');
    ASSERT_TRUE(ListFile::Write(path, 2, [&](int i) { return i == 0 ? item : "y"; }));
    EXPECT_EQ(Load(path, true), (QList<QByteArray>{"    " + item, "    y"}));
    EXPECT_EQ(Load(path, false), (QList<QByteArray>{"    " + item, "    y"}));

    // 253 bytes and CR LF: the CR is the line end, not the 254th byte.
    WriteBytes(path, QByteArray(253, 'a') + "\r\nb\r\n");
    EXPECT_EQ(Load(path, true), (QList<QByteArray>{QByteArray(253, 'a'), "b"}));
    // 254 bytes, a lone CR and more: cut after 254, the CR begins the next line.
    WriteBytes(path, QByteArray(254, 'a') + "\rc\r\n");
    EXPECT_EQ(Load(path, true), (QList<QByteArray>{QByteArray(254, 'a'), "\rc"}));
    // A full line at the end of the file is kept, a shorter rest is not.
    WriteBytes(path, QByteArray(254 + 10, 'a'));
    EXPECT_EQ(Load(path, true), (QList<QByteArray>{QByteArray(254, 'a')}));
    WriteBytes(path, QByteArray(508, 'a') + "\r");
    EXPECT_EQ(Load(path, true), (QList<QByteArray>{QByteArray(254, 'a'), QByteArray(254, 'a')}));
}

TEST_F(TraceFilesTest, ListFileLoadFailuresAndEmptyFiles)
{
    ListFile::LoadResult r;
    EXPECT_EQ(Load(dir.filePath("fehlt.tvs"), true, &r), QList<QByteArray>{"vorher"});
    EXPECT_EQ(r, ListFile::LoadResult::Failed);
    EXPECT_EQ(messages.Texts(),
              QStringList{QString::fromUtf8("File konnte nicht geöffnet werden")});
    const QString empty = dir.filePath("leer.tvs");
    WriteBytes(empty, QByteArray());
    EXPECT_EQ(Load(empty, true, &r), QList<QByteArray>{"vorher"}) << "the list keeps its items";
    EXPECT_EQ(r, ListFile::LoadResult::Empty);
}

TEST_F(TraceFilesTest, AListThatFailsToReadPartWaySaysSo)
{
    // The process's own memory: a regular file whose first read fails.
    QFile file(QStringLiteral("/proc/self/mem"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    qsizetype lines = 0;
    EXPECT_EQ(ListFile::IndexOpen(file, true,
                                  [&lines](const ListFile::Span*, qsizetype n) { lines += n; }),
              EIO);
    EXPECT_EQ(lines, 0);
}
