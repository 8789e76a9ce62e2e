#include "CliProcess.h"
#include "FileSizeLimit.h"
#include "ProjectBytes.h"
#include "TestFiles.h"

// Qt
#include <QDir>
#include <QLockFile>
#include <QSysInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

const QString kQuillmark = QStringLiteral(QUILLMARK_CLI);
const QString kLineprobe = QStringLiteral(LINEPROBE_CLI);

struct FileSafetyTest : ::testing::Test
{
    QString Write(const QString& name, const QByteArray& bytes)
    {
        const QString path = dir.filePath(name);
        EXPECT_TRUE(WriteTestFile(path, bytes));
        return path;
    }
    QString Fifo(const QString& name)
    {
        const QString path = dir.filePath(name);
        EXPECT_EQ(::mkfifo(QFile::encodeName(path).constData(), 0644), 0);
        return path;
    }
    QStringList Entries() const { return QDir(dir.path()).entryList(QDir::Files | QDir::System); }

    // A format-2 project of count records, groups 1 upwards.
    QByteArray Project(int count, const QByteArray& panelId = "AT 1") const
    {
        ProjectBytes file;
        file.panelId = panelId;
        QByteArray bytes = file.Header();
        for (int i = 1; i <= count; ++i)
            bytes +=
                "S" + QByteArray::number(i).rightJustified(4, '0') + "01" + QByteArray(32, ' ');
        return bytes + "E";
    }

    QTemporaryDir dir;
};

} // namespace

// Every writer of both tools on a disk that is full before the file is complete: exit status
// 1, the file's name and the reason on stderr, the old file untouched, no temporary file left.
TEST_F(FileSafetyTest, AFullDiskLeavesEveryFileAsItWas)
{
    const QString project = Write("halle.bmt", Project(40));
    QByteArray trace;
    for (int i = 0; i < 200; ++i)
        trace += "    07.12.26, 10:00:00.000\r\nZeile " + QByteArray::number(i) + "\r\n\r\n";
    const QString tds = Write("rec.tds", trace);
    struct Row
    {
        QString program;
        QStringList args;
        QString target;
        QString named = target; // where the message says the disk is full
    };
    const QList<Row> rows = {
        {kQuillmark, {"add", project, "--group", "99", "--detector", "1"}, project},
        {kQuillmark, {"copy", project, dir.filePath("kopie.bmt")}, dir.filePath("kopie.bmt")},
        {kQuillmark,
         {"print", project, "--pdf", dir.filePath("halle.pdf")},
         dir.filePath("halle.pdf")},
        {kLineprobe,
         {"render", tds, "--panel-code", "1", "--line-length", "5", "--out", dir.filePath("rec")},
         dir.filePath("rec.tvs"),
         QDir::tempPath()}, // the received bytes are kept aside there first
    };
    for (const Row& row : rows) {
        const QByteArray before = row.target == project ? Project(40) : QByteArray("alt");
        Write(QFileInfo(row.target).fileName(), before);
        const QStringList entries = Entries();
        const CliResult r = RunWithFileLimit(row.program, row.args, 1024);
        const std::string what = row.args.first().toStdString();
        EXPECT_EQ(r.status, 1) << what;
        EXPECT_TRUE(
            r.err.contains(QFileInfo(row.named).absoluteFilePath() + ": Die Datei ist zu groß"))
            << what << ": " << r.err.toStdString();
        EXPECT_EQ(ReadTestFile(row.target), before) << what;
        EXPECT_EQ(Entries(), entries) << what;
    }
}

// A FIFO or a device where a file is expected: refused at once with a message, nothing hangs.
TEST_F(FileSafetyTest, SpecialFilesAreRefusedWithoutHanging)
{
    const QString fifo = Fifo("fifo.bmt");
    const QString fifoList = Fifo("fifo.tvs");
    const QString bosch = Write("bosch.bmt", Project(1, "BO 1"));
    const QList<QPair<QString, QStringList>> rows = {
        {kQuillmark, {"show", fifo}},
        {kQuillmark, {"print", fifo, "--pdf", dir.filePath("a.pdf")}},
        {kQuillmark, {"copy", bosch, fifo}},
        {kQuillmark, {"import-lz", bosch, "/dev/zero"}},
        {kLineprobe, {"render", "/dev/zero", "--panel-code", "1", "--out", dir.filePath("z")}},
        {kLineprobe, {"render", fifoList, "--panel-code", "1", "--out", dir.filePath("z")}},
        {kLineprobe, {"print", fifoList, "--ascii", "--pdf", dir.filePath("a.pdf")}},
    };
    for (const auto& row : rows) {
        const CliResult r = RunCliProcess(row.first, row.second, 20000);
        const std::string what = row.second.join(' ').toStdString();
        EXPECT_EQ(r.status, 1) << what;
        EXPECT_TRUE(r.err.contains("Das ist keine gewöhnliche Datei"))
            << what << r.err.toStdString();
    }
    EXPECT_EQ(ReadTestFile(bosch), Project(1, "BO 1"));
    EXPECT_EQ(Entries(), QStringList({"bosch.bmt", "fifo.bmt", "fifo.tvs"}));
}

TEST_F(FileSafetyTest, AProjectReadOnlyInPartIsNotSavedOver)
{
    const QByteArray cut = Project(3).chopped(20);
    const QString path = Write("cut.bmt", cut);
    for (const QStringList& args : {QStringList{"add", path, "--group", "9", "--detector", "1"},
                                    QStringList{"import-lz", path, Write("a.lz", "A\n")}}) {
        const CliResult r = RunCliProcess(kQuillmark, args);
        EXPECT_EQ(r.status, 1);
        EXPECT_TRUE(r.err.contains("Dateiende konnte nicht gefunden werden"))
            << r.err.toStdString();
        EXPECT_EQ(ReadTestFile(path), cut);
    }
}

TEST_F(FileSafetyTest, EditorsOfOneProjectTakeTurns)
{
    const QString path = Write("halle.bmt", Project(1));
    QList<QProcess*> adds;
    for (int group = 2; group <= 7; ++group) {
        auto* p = new QProcess;
        p->start(kQuillmark, {"add", path, "--group", QString::number(group), "--detector", "1"});
        adds.append(p);
    }
    for (QProcess* p : adds) {
        EXPECT_TRUE(p->waitForFinished(60000));
        EXPECT_EQ(p->exitCode(), 0) << p->readAllStandardError().toStdString();
        delete p;
    }
    EXPECT_EQ(ReadTestFile(path), Project(7));

    // A lock held by a living editor: the command waits a short while, then gives up.
    QLockFile lock(path + ".lock");
    ASSERT_TRUE(lock.tryLock());
    const CliResult r = RunCliProcess(kQuillmark, {"add", path, "--group", "8", "--detector", "1"});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains("wird bereits bearbeitet")) << r.err.toStdString();
    EXPECT_EQ(ReadTestFile(path), Project(7));

    // The lock of a process that is gone is taken over.
    lock.unlock();
    QProcess gone;
    gone.start("true");
    ASSERT_TRUE(gone.waitForStarted());
    const QByteArray pid = QByteArray::number(gone.processId());
    ASSERT_TRUE(gone.waitForFinished());
    ASSERT_TRUE(WriteTestFile(path + ".lock", pid + "\nquillmark-cli\n" +
                                                  QSysInfo::machineHostName().toUtf8() + "\n"));
    EXPECT_EQ(RunCliProcess(kQuillmark, {"add", path, "--group", "8", "--detector", "1"}).status,
              0);
    EXPECT_EQ(ReadTestFile(path), Project(8));
    EXPECT_FALSE(QFile::exists(path + ".lock"));
}

TEST_F(FileSafetyTest, RenderingAnEmptyOrUnreadableTraceKeepsTheListsAndSaysWhy)
{
    const QString list = Write("rec.tvs", "    alt\r\n");
    // A file whose first read fails (as a failing stick fails part way): the process's memory.
    const QString unreadable = dir.filePath("bad.tds");
    ASSERT_TRUE(QFile::link("/proc/self/mem", unreadable));
    const struct
    {
        QString trace;
        QString why;
    } rows[] = {{Write("rec.tds", ""), "enthält keine Zeilen"},
                {unreadable, "Die Datei " + unreadable +
                                 " konnte nicht vollständig gelesen werden: "
                                 "Ein-/Ausgabefehler auf dem Datenträger"}};
    for (const auto& row : rows) {
        const CliResult r = RunCliProcess(
            kLineprobe, {"render", row.trace, "--panel-code", "1", "--out", dir.filePath("rec")});
        EXPECT_EQ(r.status, 1);
        EXPECT_TRUE(r.err.contains(row.why)) << r.err.toStdString();
        EXPECT_EQ(ReadTestFile(list), "    alt\r\n");
    }
}
