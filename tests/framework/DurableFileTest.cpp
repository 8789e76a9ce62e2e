#include "CDurableFile.h"
#include "CWriteBehind.h"
#include "FileSizeLimit.h"
#include "TestFiles.h"

// Qt
#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

struct DurableFileTest : ::testing::Test
{
    QString Path(const QString& name) const { return dir.filePath(name); }
    QStringList Entries() const { return QDir(dir.path()).entryList(QDir::Files | QDir::System); }

    QTemporaryDir dir;
    const QByteArray old = QByteArray(100, 'o');
    const QByteArray big = QByteArray(10000, 'n');
};

} // namespace

TEST_F(DurableFileTest, ReplacesTheWholeFileAndKeepsItsPermissions)
{
    const QString target = Path("a.bmt");
    ASSERT_TRUE(WriteTestFile(target, old));
    ::chmod(QFile::encodeName(target).constData(), 0640);
    QString why;
    ASSERT_TRUE(CDurableFile::WriteWhole(target, big, &why)) << why.toStdString();
    EXPECT_EQ(ReadTestFile(target), big);
    struct stat st;
    ASSERT_EQ(::stat(QFile::encodeName(target).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    EXPECT_EQ(Entries(), QStringList{"a.bmt"});
}

TEST_F(DurableFileTest, AFullDiskKeepsTheOldFileAndNamesTheReason)
{
    const QString target = Path("a.bmt");
    ASSERT_TRUE(WriteTestFile(target, old));
    EXPECT_TRUE(RunWithFileLimit(4096, [&] {
        QString why;
        return !CDurableFile::WriteWhole(target, big, &why) &&
               why == QFileInfo(target).absoluteFilePath() + ": Die Datei ist zu groß";
    }));
    EXPECT_EQ(ReadTestFile(target), old);
    EXPECT_EQ(Entries(), QStringList{"a.bmt"});

    // A growing file reports the first write that did not fit, and every one after it.
    EXPECT_TRUE(RunWithFileLimit(4096, [&] {
        CDurableFile grow(Path("g.ts"), CDurableFile::Mode::Grow);
        return grow.open() && grow.write(big) < 0 && grow.Failed() && grow.write("x", 1) < 0 &&
               !grow.Commit() && grow.Reason() == "Die Datei ist zu groß";
    }));
}

TEST_F(DurableFileTest, APlacedFileTakesTheTargetsPlaceAndGoesOnGrowing)
{
    const QString target = Path("run.ts");
    ASSERT_TRUE(WriteTestFile(target, old));
    CDurableFile file(target);
    ASSERT_TRUE(file.open());
    file.write("ab", 2);
    EXPECT_EQ(ReadTestFile(target), old);
    ASSERT_TRUE(file.Place());
    EXPECT_EQ(ReadTestFile(target), "ab");
    EXPECT_EQ(file.write("cd", 2), 2);
    EXPECT_EQ(ReadTestFile(target), "abcd");
    EXPECT_TRUE(file.Commit());
    EXPECT_EQ(ReadTestFile(target), "abcd");
    EXPECT_EQ(Entries(), QStringList{"run.ts"});

    // Dropped before it was placed: the earlier file stays and no temporary is left.
    CDurableFile dropped(target);
    ASSERT_TRUE(dropped.open());
    dropped.write("x", 1);
    dropped.Cancel();
    EXPECT_EQ(ReadTestFile(target), "abcd");
    EXPECT_EQ(Entries(), QStringList{"run.ts"});
}

TEST_F(DurableFileTest, SpecialFilesAreRefusedBeforeTheyAreOpened)
{
    const QString fifo = Path("fifo.bmt");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0644), 0);
    const QString large = Path("large.tvs");
    ASSERT_TRUE(WriteTestFile(large, big));
    struct Row
    {
        QString path;
        QString reason;
    };
    const QList<Row> rows = {{fifo, "Das ist keine gewöhnliche Datei"},
                             {"/dev/zero", "Das ist keine gewöhnliche Datei"},
                             {dir.path(), "Das ist ein Ordner"},
                             {large, "Die Datei ist zu groß"}};
    for (const Row& row : rows) {
        QString why;
        EXPECT_FALSE(CDurableFile::CheckReadable(row.path, big.size() - 1, &why));
        EXPECT_EQ(why, QFileInfo(row.path).absoluteFilePath() + ": " + row.reason);
        if (row.path == large)
            continue;
        for (CDurableFile::Mode mode : {CDurableFile::Mode::Replace, CDurableFile::Mode::Grow}) {
            CDurableFile file(row.path, mode);
            EXPECT_FALSE(file.open()) << row.path.toStdString();
            EXPECT_EQ(file.Reason(), row.reason);
        }
    }
    EXPECT_TRUE(CDurableFile::CheckReadable(Path("missing"), 1, nullptr));
    EXPECT_TRUE(QFileInfo(fifo).exists() && !QFileInfo(fifo).isFile());
    EXPECT_EQ(Entries().size(), 2);
}

TEST_F(DurableFileTest, AFolderThatRefusesNewFilesGetsTheFileWrittenInPlace)
{
    // A folder only its owner may change, the file writable by all and linked from a second
    // folder; the writer runs as another user (or, without root, after the folder is locked).
    QDir(dir.path()).mkdir("locked");
    QDir(dir.path()).mkdir("other");
    const QString target = Path("locked/a.bmt");
    const QString link = Path("other/b.bmt");
    ASSERT_TRUE(WriteTestFile(target, old));
    ASSERT_EQ(::link(QFile::encodeName(target).constData(), QFile::encodeName(link).constData()),
              0);
    for (const char* p : {"", "/other"})
        ::chmod(QFile::encodeName(dir.path() + p).constData(), 0777);
    ::chmod(QFile::encodeName(Path("locked")).constData(), 0555);
    ::chmod(QFile::encodeName(target).constData(), 0666);
    const auto asOtherUser = [](const std::function<bool()>& body) {
        return [body] {
            if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0))
                return false;
            return body();
        };
    };
    EXPECT_TRUE(RunWithFileLimit(1 << 20, asOtherUser([&] {
                                     CDurableFile file(target);
                                     return file.open() && file.InPlace() &&
                                            file.write(big) == big.size() && file.Commit();
                                 })));
    EXPECT_EQ(ReadTestFile(link), big);
    EXPECT_EQ(QFileInfo(target).size(), big.size());
    // Placed early, it goes on growing at its end.
    EXPECT_TRUE(RunWithFileLimit(1 << 20, asOtherUser([&] {
                                     CDurableFile file(target);
                                     return file.open() && file.InPlace() &&
                                            file.write("ab", 2) == 2 && file.Place() &&
                                            file.write("cd", 2) == 2 && file.Commit();
                                 })));
    EXPECT_EQ(ReadTestFile(link), "abcd");

    // Space is claimed before the first byte changes: a full disk keeps the file as it was.
    ASSERT_TRUE(WriteTestFile(target, old));
    EXPECT_TRUE(RunWithFileLimit(4096, asOtherUser([&] {
                                     QString why;
                                     return !CDurableFile::WriteWhole(target, big, &why) &&
                                            why.endsWith("zu groß");
                                 })));
    EXPECT_EQ(ReadTestFile(link), old);
    EXPECT_EQ(QDir(Path("locked")).entryList(QDir::Files), QStringList{"a.bmt"});
    ::chmod(QFile::encodeName(Path("locked")).constData(), 0755);
}

TEST_F(DurableFileTest, WrittenBehindEachFileKeepsItsOrderAndTheFirstFailureIsNamed)
{
    // A limit far below what is written: the caller waits for room again and again.
    CDurableFile a(Path("a.tds")), b(Path("b.tdh"));
    ASSERT_TRUE(a.open() && b.open());
    std::atomic<qint64> doneA{0};
    QByteArray expectA, expectB;
    {
        CWriteBehind behind(64);
        for (int i = 0; i < 2000; ++i) {
            const QByteArray block = QByteArray::number(i) + ',';
            behind.Write(&a, block, &doneA);
            behind.Write(&b, block + block);
            expectA += block;
            expectB += block + block;
        }
        behind.Drain();
        EXPECT_EQ(doneA.load(), expectA.size());
        EXPECT_TRUE(behind.Failure().isEmpty());
        behind.Write(&b, "end"); // written by the destructor
    }
    ASSERT_TRUE(a.Commit() && b.Commit());
    EXPECT_EQ(ReadTestFile(Path("a.tds")), expectA);
    EXPECT_EQ(ReadTestFile(Path("b.tdh")), expectB + "end");

    EXPECT_TRUE(RunWithFileLimit(4096, [&] {
        CDurableFile grow(Path("g.th"), CDurableFile::Mode::Grow);
        std::atomic<qint64> done{0};
        CWriteBehind behind;
        if (!grow.open())
            return false;
        behind.Write(&grow, big, &done);
        behind.Write(&grow, "x", &done);
        behind.Drain();
        return done == 0 && behind.Failure() == QFileInfo(Path("g.th")).absoluteFilePath() +
                                                    ": Die Datei ist zu groß";
    }));
}
