// Qt
#include "CliProcess.h"
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using Result = CliResult;

Result RunCli(const QStringList& args)
{
    return RunCliProcess(QStringLiteral(LINEPROBE_CLI), args);
}

QByteArray Read(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

const QByteArray kRule(46, '-');
const QByteArray kHeader =
    kRule + "\r\n\r\nDateiname: t\r\n\r\nLineprobe: 1.8\r\n\r\n" + kRule + "\r\n\r\n";
const QByteArray kFooter = "\r\n\r\n" + kRule + "\r\n\r\nAufzeichnung beendet  : 07.12.26, " +
                           "10:00:00.000\r\n\r\n" + kRule;

QByteArray Chunk(const QByteArray& bytes, const char* time = "10:00:00.001")
{
    return "    07.12.26, " + QByteArray(time) + "\r\n" + bytes + "\r\n\r\n";
}

} // namespace

TEST(LineprobeCliIdent, DecodesTextAndHex)
{
    QByteArray id(32, '0');
    id.replace(0, 4, "MM 1");
    id.replace(10, 6, "V2.01 ");
    Result r = RunCli({"ident", QString::fromLatin1(id)});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    QJsonObject o = QJsonDocument::fromJson(r.out).object();
    EXPECT_EQ(o["maker"].toString(), "MINIMAX");
    EXPECT_EQ(o["model"].toString(), "Minimax Protokoll Nr. 2");
    EXPECT_EQ(o["fatVersion"].toString(), "V2.01 ");
    EXPECT_EQ(o["panelCode"].toInt(), 12);
    EXPECT_EQ(o["suffix"].toString(), " , JP5 , JP6") << "'0' is 0x30: bits 0x10 and 0x20";

    id[22] = char(0x88);
    r = RunCli({"ident", "--hex", QString::fromLatin1(id.toHex())});
    ASSERT_EQ(r.status, 0);
    o = QJsonDocument::fromJson(r.out).object();
    EXPECT_EQ(o["suffix"].toString(), " , kein Summer , Melderselektion");
}

TEST(LineprobeCliIdent, UnknownMakerAndBadInput)
{
    Result r = RunCli({"ident", QString(32, 'x')});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, QString::fromUtf8("Lineprobe: Diese Funktion wird noch nicht unterstützt. "
                                       "Setzen Sie sich mit dem Hersteller in Verbindung.\n"));
    EXPECT_EQ(QJsonDocument::fromJson(r.out).object()["panelCode"].toInt(), 0);
    EXPECT_EQ(RunCli({"ident", "EF"}).status, 2);
    EXPECT_EQ(RunCli({"ident", "--hex", "zz"}).status, 2);
    EXPECT_EQ(RunCli({"ident", "--hex", QString(64, 'g')}).status, 2);
}

namespace {

// A list file as the views write it: four blanks, the item, CR LF.
QByteArray ListOf(const QList<QByteArray>& items)
{
    QByteArray out;
    for (const QByteArray& item : items)
        out += "    " + item + "\r\n";
    return out;
}

const QList<QByteArray> kHeaderLines = {kRule, "", "Dateiname: t", "", "Lineprobe: 1.8", "",
                                        kRule, ""};
const QList<QByteArray> kFooterLines = {"",
                                        "",
                                        kRule,
                                        "",
                                        "Aufzeichnung beendet  : 07.12.26, "
                                        "10:00:00.000",
                                        "",
                                        kRule};

struct RenderFixture : ::testing::Test
{
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        trace = dir.filePath("rec.tds");
        QFile f(trace);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(kHeader + Chunk("PQRSTUVW") + Chunk("Break Error") + Chunk("XY") + kFooter);
    }
    QTemporaryDir dir;
    QString trace;
};

} // namespace

TEST_F(RenderFixture, LengthRuleInBothLists)
{
    const QString base = dir.filePath("out");
    const Result r =
        RunCli({"render", trace, "--panel-code", "1", "--line-length", "5", "--out", base});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(r.err.isEmpty());
    QList<QByteArray> ascii = kHeaderLines;
    ascii << "PQRST"
          << "UVW"
          << "Break Error"
          << ""
          << "XY";
    ascii += kFooterLines;
    EXPECT_EQ(Read(base + ".tvs"), ListOf(ascii));
    QList<QByteArray> hex = kHeaderLines;
    hex << "50 51 52 53 54 "
        << "55 56 57 "
        << "Break Error"
        << ""
        << "58 59 ";
    hex += kFooterLines;
    EXPECT_EQ(Read(base + ".tvh"), ListOf(hex));
}

TEST_F(RenderFixture, AnotherRuleAndABreakByte)
{
    // The line-feed rule continues the empty line that ends the header.
    const QString base = dir.filePath("lf");
    Result r = RunCli({"render", trace, "--panel-code", "9", "--out", base});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    QList<QByteArray> ascii = kHeaderLines.first(7);
    ascii << "PQRSTUVW"
          << "Break Error"
          << "XY";
    ascii += kFooterLines;
    EXPECT_EQ(Read(base + ".tvs"), ListOf(ascii));

    // Break byte 'S' ends the line after it.
    const QString cut = dir.filePath("cut");
    r = RunCli({"render", trace, "--panel-code", "1", "--break", "53", "--out", cut});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    QList<QByteArray> hex = kHeaderLines;
    hex << "50 51 52 53 "
        << "54 55 56 57 "
        << "Break Error"
        << ""
        << "58 59 ";
    hex += kFooterLines;
    EXPECT_EQ(Read(cut + ".tvh"), ListOf(hex));
}

TEST_F(RenderFixture, RefusalsWriteNothing)
{
    const QString base = dir.filePath("none");
    Result r = RunCli({"render", trace, "--panel-code", "0", "--out", base});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, QString::fromUtf8("Lineprobe: Diese Funktion wird noch nicht unterstützt\n"));

    r = RunCli({"render", dir.filePath("missing.tds"), "--panel-code", "1", "--out", base});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, QString::fromUtf8("Lineprobe: File konnte nicht geöffnet werden\n"));

    for (const char* bad : {"G1", "-1", "+F", " F", "1"})
        EXPECT_EQ(
            RunCli({"render", trace, "--panel-code", "1", "--break", bad, "--out", base}).status, 2)
            << bad;
    EXPECT_EQ(RunCli({"render", trace, "--panel-code", "1", "--line-length", "101", "--out", base})
                  .status,
              2);
    EXPECT_EQ(RunCli({"render", trace, "--out", base}).status, 2);
    // Received bytes that cannot be kept aside are not rendered as zeros.
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("TMPDIR", trace); // a file: nothing can be made in it
    r = RunCliProcess(QStringLiteral(LINEPROBE_CLI),
                      {"render", trace, "--panel-code", "1", "--out", base}, 60000, {}, env);
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains(
        "Die empfangenen Bytes konnten nicht zwischengespeichert werden: " + trace + ": "))
        << r.err.toStdString();
    EXPECT_FALSE(QFile::exists(base + ".tvs"));
    EXPECT_FALSE(QFile::exists(base + ".tvh"));
}

TEST_F(RenderFixture, AnyBytesAsTrace)
{
    // Random bytes with stamp-like pieces: the tool neither crashes nor loses the text.
    QByteArray junk;
    quint32 x = 12345;
    for (int i = 0; i < 20000; ++i) {
        x = x * 1103515245u + 12345u;
        junk.append(char(x >> 24));
        if (i % 997 == 0)
            junk += "\r\n\r\n    07.12.26, 10:00:00.001\r\n";
    }
    QFile f(trace);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(junk);
    f.close();
    const QString base = dir.filePath("junk");
    const Result r = RunCli({"render", trace, "--panel-code", "5", "--out", base});
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_GT(Read(base + ".tvs").size(), 0);
    EXPECT_GT(Read(base + ".tvh").size(), Read(base + ".tvs").size());
}

TEST_F(RenderFixture, SearchPrintsMatchingLinesWithGrepStatus)
{
    // Rows as the ASCII view shows them: eight header lines, then PQRST (9), UVW (10),
    // Break Error (11), the blank after it (12), XY (13).
    const QStringList lines = {trace, "--panel-code", "1", "--line-length", "5"};
    const struct
    {
        QStringList what;
        int status;
        QByteArray out;
    } cases[] = {
        {{"--text", "UVW"}, 0, "10: UVW\n"},
        {{"--text", "uvw"}, 1, ""},
        {{"--text", "uvw", "--ignore-case"}, 0, "10: UVW\n"},
        {{"--text", "R", "--ignore-case"}, 0, "5: Lineprobe: 1.8\n9: PQRST\n11: Break Error\n"},
        {{"--hex", "53 54"}, 0, "9: PQRST\n"},
        {{"--hex", "5354"}, 0, "9: PQRST\n"},
        {{"--hex", "54 55"}, 1, ""}, // a match lies within one line
    };
    for (const auto& c : cases) {
        const Result r = RunCli(QStringList{"search"} + lines + c.what);
        EXPECT_EQ(r.status, c.status) << c.what.join(' ').toStdString();
        EXPECT_EQ(r.out, c.out) << c.what.join(' ').toStdString();
    }
}

TEST_F(RenderFixture, SearchUmlautsBytesAndErrors)
{
    QFile f(trace);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(kHeader + Chunk("ST\xD6RUNG \x10\x02") + kFooter);
    f.close();
    const QStringList base = {"search", trace, "--panel-code", "1"};
    Result r = RunCli(base + QStringList{"--text", "störung", "--ignore-case"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "9: ST\xD6RUNG \x10\x02\n");
    EXPECT_EQ(RunCli(base + QStringList{"--hex", "10 02"}).out, r.out);

    const struct
    {
        QStringList args;
        const char* err;
    } errors[] = {
        {base + QStringList{"--hex", "1 02"}, "Paare von Hex-Ziffern"},
        {base + QStringList{"--hex", "1G"}, "Paare von Hex-Ziffern"},
        {base + QStringList{"--text", "\u20AC\u2192"}, "Windows-1252"},
        {base + QStringList{"--text", "a", "--hex", "10"}, "usage:"},
        {{"search", dir.filePath("none.tds"), "--panel-code", "1", "--text", "a"},
         "File konnte nicht"},
        {{"search", trace, "--panel-code", "0", "--text", "a"}, "nicht unterst"},
    };
    for (const auto& e : errors) {
        r = RunCli(e.args);
        EXPECT_EQ(r.status, 2) << e.args.join(' ').toStdString();
        EXPECT_TRUE(r.err.contains(QString::fromUtf8(e.err))) << r.err.toStdString();
    }
}
