// The five line rules in both views, chunk by chunk, against lines written down by hand.
#include "CTraceLines.h"
#include "LineRules.h"

#include <gtest/gtest.h>

using LineRules::Rule;
using LineRules::View;

namespace {

// A view's list fed chunk by chunk, as the recording does.
struct Lines
{
    Lines(View view, Rule rule, int length = 40, int breakValue = LineRules::NoBreak)
        : view(view), rule(rule)
    {
        settings.lineLength = length;
        settings.breakValue = breakValue;
    }
    Lines& Chunk(const QByteArray& bytes)
    {
        LineRules::AppendChunk(store, view, rule, settings, bytes);
        return *this;
    }
    Lines& Text(const QByteArray& line)
    {
        store.Append(line);
        return *this;
    }
    QList<QByteArray> All() const
    {
        QList<QByteArray> out;
        for (qsizetype i = 0; i < store.Count(); ++i)
            out.append(store.At(i));
        return out;
    }

    View view;
    Rule rule;
    LineRules::Settings settings;
    CTraceLines store;
};

QByteArray B(std::initializer_list<int> bytes)
{
    QByteArray out;
    for (int b : bytes)
        out.append(char(b));
    return out;
}

using L = QList<QByteArray>;

} // namespace

TEST(LineRules, PanelCodeTable)
{
    EXPECT_EQ(LineRules::ForPanelCode(1), Rule::Length);
    for (int code : {2, 3, 4, 6})
        EXPECT_EQ(LineRules::ForPanelCode(code), Rule::HighBitLineFeed) << code;
    for (int code : {5, 7, 10, 11, 12, 14})
        EXPECT_EQ(LineRules::ForPanelCode(code), Rule::HighBit) << code;
    EXPECT_EQ(LineRules::ForPanelCode(8), Rule::F0);
    EXPECT_EQ(LineRules::ForPanelCode(9), Rule::LineFeed);
    EXPECT_EQ(LineRules::ForPanelCode(13), Rule::LineFeed);
    for (int code : {0, 15, -1, 255})
        EXPECT_EQ(LineRules::ForPanelCode(code), Rule::None) << code;
    EXPECT_EQ(LineRules::UnsupportedMessage(View::Ascii),
              QStringLiteral("Diese Funktion wird noch nicht unterstützt"));
    EXPECT_EQ(LineRules::UnsupportedMessage(View::Hex),
              QStringLiteral("Diese Funktion wird in der Hex-Ansicht noch nicht unterstützt"));
}

TEST(LineRules, NoRuleAppendsNothing)
{
    Lines a(View::Ascii, Rule::None);
    a.Text("x").Chunk("ABC");
    EXPECT_EQ(a.All(), L({"x"}));
}

// Length rule

TEST(LengthRule, ContinuesAcrossChunksUpToTheLength)
{
    Lines a(View::Ascii, Rule::Length, 5);
    a.Chunk("PQR").Chunk("STUVW");
    EXPECT_EQ(a.All(), L({"PQRST", "UVW"}));
    a.Chunk("XY");
    EXPECT_EQ(a.All(), L({"PQRST", "UVWXY"}));
    a.Chunk("Z");
    EXPECT_EQ(a.All(), L({"PQRST", "UVWXY", "Z"}));

    Lines h(View::Hex, Rule::Length, 5);
    h.Chunk("PQR").Chunk("STUVW");
    EXPECT_EQ(h.All(), L({"50 51 52 53 54 ", "55 56 57 "}));
}

TEST(LengthRule, BreakByteEndsTheLine)
{
    Lines a(View::Ascii, Rule::Length, 40, 0x0D);
    a.Chunk(B({0x31, 0x32, 0x0D, 0x33}));
    EXPECT_EQ(a.All(), L({"12\r", "3"}));
    Lines h(View::Hex, Rule::Length, 40, 0x0D);
    h.Chunk(B({0x31, 0x32, 0x0D, 0x33}));
    EXPECT_EQ(h.All(), L({"31 32 0D ", "33 "}));
}

TEST(LengthRule, ChunkEndingOnTheBreakByteStartsANewLineNextTime)
{
    Lines a(View::Ascii, Rule::Length, 40, 0x0D);
    a.Chunk(B({0x31, 0x0D})).Chunk("2");
    EXPECT_EQ(a.All(), L({"1\r", "2"}));
    Lines h(View::Hex, Rule::Length, 40, 0x0D);
    h.Chunk(B({0x31, 0x0D})).Chunk("2");
    EXPECT_EQ(h.All(), L({"31 0D ", "32 "}));
}

TEST(LengthRule, AsciiBreakByteBlankAlsoCatchesZero)
{
    // 0x00 is written as a blank, and the blank is what the ASCII view compares.
    Lines a(View::Ascii, Rule::Length, 40, 0x20);
    a.Chunk(B({'A', 0x00, 'B', 0x20, 'C'}));
    EXPECT_EQ(a.All(), L({"A ", "B ", "C"}));
    // The hex view compares the byte itself: only 0x20 ends a line.
    Lines h(View::Hex, Rule::Length, 40, 0x20);
    h.Chunk(B({'A', 0x00, 'B', 0x20, 'C'}));
    EXPECT_EQ(h.All(), L({"41 00 42 20 ", "43 "}));
}

TEST(LengthRule, AsciiBreakByteZeroNeverBreaks)
{
    Lines a(View::Ascii, Rule::Length, 40, 0x00);
    a.Chunk(B({'A', 0x00, 'B'})).Chunk(B({0x00, 'C'}));
    EXPECT_EQ(a.All(), L({"A B C"}));
    Lines h(View::Hex, Rule::Length, 40, 0x00);
    h.Chunk(B({'A', 0x00, 'B'})).Chunk(B({0x00, 'C'}));
    EXPECT_EQ(h.All(), L({"41 00 ", "42 00 ", "43 "}));
}

TEST(LengthRule, EmptyOrLongTextLinesAreNotContinued)
{
    Lines a(View::Ascii, Rule::Length, 5);
    a.Text("Header").Text("").Chunk("AB");
    EXPECT_EQ(a.All(), L({"Header", "", "AB"}));
    Lines b(View::Ascii, Rule::Length, 5);
    b.Text("Hdr").Chunk("ABC");
    EXPECT_EQ(b.All(), L({"HdrAB", "C"}));

    Lines h(View::Hex, Rule::Length, 2);
    h.Text("").Chunk("A").Text("xy").Chunk("B");
    EXPECT_EQ(h.All(), L({"", "41 ", "xy", "42 "}));
    Lines g(View::Hex, Rule::Length, 2);
    g.Text("abc").Chunk("AB");
    EXPECT_EQ(g.All(), L({"abc41 ", "42 "}));
}

// Line-feed rule

TEST(LineFeedRule, LineFeedEndsTheLineAndStaysInIt)
{
    Lines a(View::Ascii, Rule::LineFeed);
    a.Chunk("AB\r\nDE");
    EXPECT_EQ(a.All(), L({"AB\r\n", "DE"}));
    a.Chunk("F\n");
    EXPECT_EQ(a.All(), L({"AB\r\n", "DEF\n"}));
    a.Chunk("G");
    EXPECT_EQ(a.All(), L({"AB\r\n", "DEF\n", "G"}));

    Lines h(View::Hex, Rule::LineFeed);
    h.Chunk("AB\r\nDE").Chunk("F\n").Chunk("G");
    EXPECT_EQ(h.All(), L({"41 42 0D 0A ", "44 45 46 0A ", "47 "}));
}

TEST(LineFeedRule, LineFeedAsFirstByteOfAChunkEndsTheLastLine)
{
    Lines a(View::Ascii, Rule::LineFeed);
    a.Chunk("AB").Chunk("\nC");
    EXPECT_EQ(a.All(), L({"AB\n", "C"}));
    Lines h(View::Hex, Rule::LineFeed);
    h.Chunk("AB").Chunk("\nC");
    EXPECT_EQ(h.All(), L({"41 42 0A ", "43 "}));
}

TEST(LineFeedRule, EmptyTextLinesBeforeAChunkAreContinued)
{
    Lines a(View::Ascii, Rule::LineFeed);
    a.Text("---").Text("").Chunk("A\nB");
    EXPECT_EQ(a.All(), L({"---", "A\n", "B"}));
    Lines h(View::Hex, Rule::LineFeed);
    h.Text("---").Text("").Chunk("A\nB");
    EXPECT_EQ(h.All(), L({"---", "41 0A ", "42 "}));
}

TEST(LineFeedRule, ZeroIsABlankInTheAsciiView)
{
    Lines a(View::Ascii, Rule::LineFeed);
    a.Chunk(B({'A', 0x00, 0xC4}));
    EXPECT_EQ(a.All(), L({QByteArray("A \xC4")}));
    Lines h(View::Hex, Rule::LineFeed);
    h.Chunk(B({'A', 0x00, 0xC4}));
    EXPECT_EQ(h.All(), L({"41 00 C4 "}));
}

// 0xF0 rule

TEST(F0Rule, EveryF0BeginsALine)
{
    Lines a(View::Ascii, Rule::F0);
    a.Chunk(B({0xF0, 0x41, 0xF0, 0xC2}));
    EXPECT_EQ(a.All(), L({QByteArray("\xF0"
                                     "A"),
                          QByteArray("\xF0\xC2")}));
    Lines h(View::Hex, Rule::F0);
    h.Chunk(B({0xF0, 0x41, 0xF0, 0xC2}));
    EXPECT_EQ(h.All(), L({"F0 41 ", "F0 42 "}));
}

TEST(F0Rule, ChunkWithoutF0ContinuesTheLastLine)
{
    Lines a(View::Ascii, Rule::F0);
    a.Chunk(B({0xF0, 0x41})).Chunk(B({0x42, 0x00})).Chunk(B({0xF0}));
    EXPECT_EQ(a.All(), L({QByteArray("\xF0"
                                     "AB "),
                          QByteArray("\xF0")}));
    Lines h(View::Hex, Rule::F0);
    h.Chunk(B({0xF0, 0x41})).Chunk(B({0xC2, 0x80})).Chunk(B({0xF0}));
    EXPECT_EQ(h.All(), L({"F0 41 42 00 ", "F0 "}));
}

TEST(F0Rule, TextLinesAreContinuedByBytesBeforeTheFirstF0)
{
    Lines a(View::Ascii, Rule::F0);
    a.Text("").Chunk(B({0x41, 0xF0, 0x42}));
    EXPECT_EQ(a.All(), L({"A", QByteArray("\xF0"
                                          "B")}));
    Lines h(View::Hex, Rule::F0);
    h.Chunk(B({0x41})).Text("T").Chunk(B({0xF0}));
    EXPECT_EQ(h.All(), L({"41 ", "T", "F0 "}));
}

// High-bit rule

TEST(HighBitRule, MarkedAndPlainRuns)
{
    Lines a(View::Ascii, Rule::HighBit);
    a.Chunk(B({0x41, 0x42, 0xC1, 0xC2, 0x43}));
    EXPECT_EQ(a.All(), L({"AB", ".AB", "C"}));
    Lines h(View::Hex, Rule::HighBit);
    h.Chunk(B({0x41, 0x42, 0xC1, 0xC2, 0x43}));
    EXPECT_EQ(h.All(), L({"41 42 ", ".41 42 ", "43 "}));
}

TEST(HighBitRule, ChunkEndingInsideAMarkedRun)
{
    Lines a(View::Ascii, Rule::HighBit);
    a.Chunk(B({0x41, 0xC1})).Chunk(B({0xC2, 0xC3})).Chunk(B({0x44}));
    EXPECT_EQ(a.All(), L({"A", ".ABC", "D"}));
    Lines h(View::Hex, Rule::HighBit);
    h.Chunk(B({0x41, 0xC1})).Chunk(B({0xC2, 0xC3})).Chunk(B({0x44}));
    EXPECT_EQ(h.All(), L({"41 ", ".41 42 43 ", "44 "}));
}

TEST(HighBitRule, PlainChunkContinuesAPlainLine)
{
    Lines a(View::Ascii, Rule::HighBit);
    a.Chunk("AB").Chunk("C\nD").Chunk(B({0x80}));
    EXPECT_EQ(a.All(), L({"ABC\nD", ". "}));
    Lines h(View::Hex, Rule::HighBit);
    h.Chunk("AB").Chunk("C\nD").Chunk(B({0x80}));
    EXPECT_EQ(h.All(), L({"41 42 43 0A 44 ", ".00 "}));
}

TEST(HighBitRule, TextLinesTakePartInTheChunkStart)
{
    // An empty text line counts as plain and is continued by plain bytes.
    Lines a(View::Ascii, Rule::HighBit);
    a.Text("----").Text("").Chunk("AB");
    EXPECT_EQ(a.All(), L({"----", "AB"}));
    // A marked first byte after an empty text line begins a marked line.
    Lines b(View::Ascii, Rule::HighBit);
    b.Text("").Chunk(B({0xC1}));
    EXPECT_EQ(b.All(), L({"", ".A"}));
    // A text line that begins with "." is taken as marked.
    Lines c(View::Hex, Rule::HighBit);
    c.Text(".x").Chunk(B({0xC1})).Chunk("A");
    EXPECT_EQ(c.All(), L({".x41 ", "41 "}));
}

// High-bit rule with line feeds

TEST(HighBitLineFeedRule, LineFeedEndsPlainLines)
{
    Lines a(View::Ascii, Rule::HighBitLineFeed);
    a.Chunk(B({0x41, 0x0A, 0x42}));
    EXPECT_EQ(a.All(), L({"A\n", "B"}));
    Lines plain(View::Ascii, Rule::HighBit);
    plain.Chunk(B({0x41, 0x0A, 0x42}));
    EXPECT_EQ(plain.All(), L({"A\nB"}));

    Lines h(View::Hex, Rule::HighBitLineFeed);
    h.Chunk(B({0x41, 0x0A, 0x42}));
    EXPECT_EQ(h.All(), L({"41 0A ", "42 "}));
}

TEST(HighBitLineFeedRule, PlainLineEndingInLineFeedIsNotContinued)
{
    Lines a(View::Ascii, Rule::HighBitLineFeed);
    a.Chunk("A\n").Chunk("B").Chunk("\n").Chunk("C");
    EXPECT_EQ(a.All(), L({"A\n", "B\n", "C"}));
    Lines h(View::Hex, Rule::HighBitLineFeed);
    h.Chunk("A\n").Chunk("B").Chunk("\n").Chunk("C");
    EXPECT_EQ(h.All(), L({"41 0A ", "42 0A ", "43 "}));
}

TEST(HighBitLineFeedRule, MarkedLineFeedDoesNotEndALine)
{
    Lines a(View::Ascii, Rule::HighBitLineFeed);
    a.Chunk(B({0xC1, 0x8A})).Chunk(B({0xC2, 0x41, 0x0A, 0xC3}));
    EXPECT_EQ(a.All(), L({".A\nB", "A\n", ".C"}));
    Lines h(View::Hex, Rule::HighBitLineFeed);
    h.Chunk(B({0xC1, 0x8A})).Chunk(B({0xC2, 0x41, 0x0A, 0xC3}));
    EXPECT_EQ(h.All(), L({".41 0A 42 ", "41 0A ", ".43 "}));
}

TEST(HighBitLineFeedRule, LineFeedFirstInAChunk)
{
    Lines a(View::Ascii, Rule::HighBitLineFeed);
    a.Chunk(B({0xC1})).Chunk("\nA");
    EXPECT_EQ(a.All(), L({".A", "\n", "A"}));
    Lines b(View::Ascii, Rule::HighBitLineFeed);
    b.Chunk("X").Chunk("\nA");
    EXPECT_EQ(b.All(), L({"X\n", "A"}));
}

// Bounded line buffers

TEST(LineBuffers, LongLinesAreCutAndContinuedInANewLine)
{
    Lines a(View::Ascii, Rule::LineFeed);
    a.Chunk(QByteArray(2048, 'x')).Chunk("yz");
    EXPECT_EQ(a.All(), L({QByteArray(2048, 'x'), "yz"}));

    Lines m(View::Ascii, Rule::HighBit);
    m.Chunk(QByteArray(2100, char(0xC1)));
    ASSERT_EQ(m.store.Count(), 2);
    EXPECT_EQ(m.store.At(0), "." + QByteArray(2047, 'A'));
    EXPECT_EQ(m.store.At(1), "." + QByteArray(53, 'A'));

    Lines h(View::Hex, Rule::HighBit);
    h.Chunk(QByteArray(2048, 'A'));
    h.Chunk("B");
    ASSERT_EQ(h.store.Count(), 2);
    EXPECT_EQ(h.store.LengthAt(0), 6144);
    EXPECT_EQ(h.store.At(1), "42 ");

    Lines f(View::Hex, Rule::F0);
    f.Chunk(B({0xF0}) + QByteArray(2100, 'A'));
    ASSERT_EQ(f.store.Count(), 2);
    EXPECT_EQ(f.store.LengthAt(0), 6144);
    EXPECT_TRUE(f.store.At(0).startsWith("F0 41 "));
    EXPECT_EQ(f.store.LengthAt(1), 3 * 53);
}

TEST(LineBuffers, ALeadingDotIsNotAMarkOutsideTheHighBitRules)
{
    // A received "." at the start of a line that overflows: the next line gets no "." added.
    for (const Rule rule : {Rule::LineFeed, Rule::F0, Rule::Length}) {
        Lines a(View::Ascii, rule, 100);
        a.Chunk(".A").Chunk(QByteArray(LineRules::AsciiBuffer, 'B'));
        const L all = a.All();
        ASSERT_GE(all.size(), 2) << int(rule);
        EXPECT_TRUE(all[0].startsWith(".A")) << int(rule);
        for (qsizetype i = 1; i < all.size(); ++i)
            EXPECT_TRUE(all[i].startsWith('B')) << int(rule) << " line " << i;
    }
    // Under the high-bit rule a marked run goes on marked.
    Lines m(View::Ascii, Rule::HighBit);
    m.Chunk(QByteArray(1, char(0xC1))).Chunk(QByteArray(LineRules::AsciiBuffer, char(0xC2)));
    const L marked = m.All();
    ASSERT_EQ(marked.size(), 2);
    EXPECT_EQ(marked[0], "." + QByteArray("A") + QByteArray(LineRules::AsciiBuffer - 2, 'B'));
    EXPECT_EQ(marked[1], ".BB");
}

TEST(LineBuffers, ResultReportsOnlyTheEndOfTheList)
{
    LineRules::Settings s;
    LineRules::Result r =
        LineRules::BuildChunk(View::Ascii, Rule::LineFeed, s, true, "AB", "C\nD\nE");
    EXPECT_TRUE(r.lastChanged);
    EXPECT_EQ(r.last, "ABC\n");
    EXPECT_EQ(r.added, L({"D\n", "E"}));

    r = LineRules::BuildChunk(View::Ascii, Rule::LineFeed, s, true, "AB\n", "C");
    EXPECT_FALSE(r.lastChanged);
    EXPECT_EQ(r.added, L({"C"}));
}

TEST(TraceLines, StoreKeepsLinesApart)
{
    CTraceLines lines;
    lines.Append("one");
    lines.Append("");
    lines.Append("three");
    lines.ReplaceLast("3");
    ASSERT_EQ(lines.Count(), 3);
    EXPECT_EQ(lines.At(0), "one");
    EXPECT_EQ(lines.At(1), "");
    EXPECT_EQ(lines.At(2), "3");
    EXPECT_EQ(lines.CharAt(0, 2), 'e');
    EXPECT_EQ(lines.CharAt(0, 3), '\0');
    EXPECT_EQ(lines.At(3), QByteArray());
    lines.Clear();
    EXPECT_TRUE(lines.IsEmpty());
    lines.ReplaceLast("x");
    EXPECT_EQ(lines.Count(), 1);
}
