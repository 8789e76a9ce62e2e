// lineprobe-cli run as a process: identification as JSON, rendering a recorded trace again.
#include "CLineprobeDoc.h"
#include "CMessageRecorder.h"

// Qt
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct Result
{
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

Result Cli(const QStringList& args)
{
    QProcess p;
    p.start(QStringLiteral(LINEPROBE_CLI), args);
    Result r;
    if (!p.waitForFinished(60000))
        return r;
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2;
    r.out = p.readAllStandardOutput();
    r.err = p.readAllStandardError();
    return r;
}

QByteArray Read(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

const QByteArray kRule(46, '-');

} // namespace

TEST(LineprobeCliIdent, DecodesTextAndHex)
{
    Result r = Cli({"ident", "EF40xxxxxxV1.23Axxxxxx\x18xxxxxxxxx"});
    ASSERT_EQ(r.exitCode, 0) << r.err.constData();
    QJsonObject o = QJsonDocument::fromJson(r.out).object();
    EXPECT_EQ(o.value("maker").toString(), QStringLiteral("Esser"));
    EXPECT_EQ(o.value("model").toString(), QStringLiteral("800x"));
    EXPECT_EQ(o.value("fatVersion").toString(), QStringLiteral("V1.23A"));
    EXPECT_EQ(o.value("suffix").toString(),
              QStringLiteral(" , kein Summer , Erinnerungssummer ab"));
    EXPECT_EQ(o.value("panelCode").toInt(), 14);

    const QByteArray ident = QByteArray("SIx1xxxxxx") +
                             "\xE4\xF6\xFC"
                             "abc" +
                             QByteArray(16, '\0');
    r = Cli({"ident", "--hex", QString::fromLatin1(ident.toHex())});
    ASSERT_EQ(r.exitCode, 0) << r.err.constData();
    o = QJsonDocument::fromJson(r.out).object();
    EXPECT_EQ(o.value("maker").toString(), QStringLiteral("Siemens"));
    EXPECT_EQ(o.value("model").toString(), QStringLiteral("Sigmasys C/M"));
    EXPECT_EQ(o.value("fatVersion").toString(), QStringLiteral("äöüabc"));
    EXPECT_EQ(o.value("panelCode").toInt(), 6);
}

TEST(LineprobeCliIdent, UnknownMakerAndBadInput)
{
    Result r = Cli({"ident", "XX40xxxxxxV1.23Axxxxxxxxxxxxxxxx"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.startsWith("Lineprobe: Diese Funktion wird noch nicht unterst"))
        << r.err.constData();
    EXPECT_EQ(QJsonDocument::fromJson(r.out).object().value("panelCode").toInt(-1), 0);

    EXPECT_EQ(Cli({"ident", "EF4"}).exitCode, 2);
    EXPECT_EQ(Cli({"ident", "--hex", "4546"}).exitCode, 2);
    EXPECT_EQ(Cli({"ident", "--hex", QString(64, QLatin1Char('g'))}).exitCode, 2);
    EXPECT_EQ(Cli({"frobnicate"}).exitCode, 2);
    EXPECT_EQ(Cli({}).exitCode, 2);
}

class LineprobeCliRender : public ::testing::Test
{
protected:
    // A small recording written by the document as the recorder writes it.
    QString Record(const QList<QByteArray>& chunks)
    {
        CMessageRecorder messages;
        CLineprobeDoc doc;
        doc.SetClock([] { return QDateTime(QDate(2026, 12, 7), QTime(8, 1, 2, 3)); });
        const QString path = dir.filePath(QStringLiteral("run1.tds"));
        messages.FileNext(path);
        EXPECT_TRUE(doc.CreateTraceFiles());
        QByteArray header = "AT40xxxxxxV1.00Axxxxxxxxxxxxxxxx";
        EXPECT_EQ(doc.DecodeIdentification(header), 9);
        for (const QByteArray& chunk : chunks)
            doc.Files().RecordChunk(chunk, doc.TimeStamp());
        QByteArray footer;
        doc.ComposeFooter(footer);
        EXPECT_TRUE(messages.Texts().isEmpty());
        return path;
    }

    QByteArray HeaderList(bool hexView) const
    {
        Q_UNUSED(hexView);
        return "    " + kRule +
               "\r\n    \r\n    Dateiname: run1\r\n    \r\n"
               "    Aufzeichnung gestartet: 07.12.26, 08:01:02.003\r\n    \r\n"
               "    FAT-Anpassung f\xFCr: \r\n    \r\n"
               "    Hersteller:  Aritech\r\n"
               "    Zentrale:    Reihe FP 2000\r\n"
               "    FAT-Version: V1.00A\r\n"
               "    Lineprobe: 1.8\r\n    \r\n" +
               "    " + kRule + "\r\n";
    }
    QByteArray FooterList() const
    {
        return "    \r\n    \r\n    " + kRule +
               "\r\n    \r\n    Aufzeichnung beendet  : 07.12.26, 08:01:02.003\r\n    \r\n"
               "    " +
               kRule + "\r\n";
    }

    QTemporaryDir dir;
};

TEST_F(LineprobeCliRender, RendersTheRecordedRuleAndAnother)
{
    const QString trace = Record({"AB\r\n\r\nC", "D\n",
                                  "\xC1\xC2"
                                  "E"});
    const QString base = dir.filePath(QStringLiteral("out"));

    // Panel code 9 (line-feed rule): the empty text line is continued by the first chunk.
    Result r = Cli({"render", trace, "--panel-code", "9", "--out", base});
    ASSERT_EQ(r.exitCode, 0) << r.err.constData();
    EXPECT_EQ(QJsonDocument::fromJson(r.out).object().value("chunks").toInt(), 3);
    // Header: its last line is the empty one after the rule; the chunks continue it.
    QByteArray header = HeaderList(false);
    EXPECT_EQ(Read(base + ".tvs"), header +
                                       "    AB\r\n\r\n    \r\n\r\n    CD\n\r\n    \xC1\xC2"
                                       "E\r\n" +
                                       FooterList());

    // The same recording again with the high-bit rule, in the hex list.
    r = Cli({"render", trace, "--panel-code", "5", "--out", base});
    ASSERT_EQ(r.exitCode, 0) << r.err.constData();
    EXPECT_EQ(Read(base + ".tvh"), header +
                                       "    41 42 0D 0A 0D 0A 43 44 0A \r\n    .41 42 \r\n"
                                       "    45 \r\n" +
                                       FooterList());
}

TEST_F(LineprobeCliRender, ErrorChunksAndBadArguments)
{
    const QString trace = Record({"Break Error", "A"});
    const QString base = dir.filePath(QStringLiteral("err"));
    Result r = Cli({"render", trace, "--panel-code", "1", "--line-length", "5", "--break", "0d",
                    "--out", base});
    ASSERT_EQ(r.exitCode, 0) << r.err.constData();
    const QByteArray tvh = Read(base + ".tvh");
    EXPECT_TRUE(tvh.contains("    Break Error\r\n    \r\n    41 \r\n")) << tvh.constData();

    EXPECT_EQ(Cli({"render", trace, "--panel-code", "0", "--out", base}).exitCode, 1);
    EXPECT_EQ(Cli({"render", trace, "--panel-code", "15", "--out", base}).exitCode, 1);
    r = Cli({"render", trace, "--panel-code", "1", "--break", "zz", "--out", base});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.err.contains("Hexadezimalziffern"));
    EXPECT_EQ(
        Cli({"render", trace, "--panel-code", "1", "--line-length", "0", "--out", base}).exitCode,
        2);
    EXPECT_EQ(Cli({"render", trace, "--out", base}).exitCode, 2);
    r = Cli({"render", dir.filePath("missing.tds"), "--panel-code", "9", "--out", base});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains("File konnte nicht ge")) << r.err.constData();
    r = Cli({"render", trace, "--panel-code", "9", "--out", dir.filePath("no/such/dir/x")});
    EXPECT_EQ(r.exitCode, 1);
}
