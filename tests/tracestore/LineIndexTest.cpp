// The line index of a view over the shared store against the lines the rules build as
// texts: the same lines byte for byte, the cut at the line buffer, lines continued across
// many chunks, offsets beyond 4 GiB, and the received bytes kept once for both views.
#include "CLineIndex.h"
#include "CTraceLines.h"
#include "LineRules.h"

#include <gtest/gtest.h>

#include <random>

using LineRules::Rule;
using LineRules::View;

namespace {

QByteArray B(std::initializer_list<int> bytes)
{
    QByteArray out;
    for (int b : bytes)
        out.append(char(b));
    return out;
}

QList<QByteArray> All(const CLineIndex& index)
{
    QList<QByteArray> out;
    for (qsizetype i = 0; i < index.Count(); ++i)
        out.append(index.At(i));
    return out;
}

// One view fed both ways: the index and the texts the rules build.
struct Twin
{
    Twin(View view, std::shared_ptr<CTraceStore> store = nullptr) : view(view), index(store) {}
    void Chunk(Rule rule, const QByteArray& bytes, const LineRules::Settings& s = {})
    {
        LineRules::AppendChunk(text, view, rule, s, bytes);
        index.AppendChunk(view, rule, s, bytes);
    }
    // A chunk the store already keeps at offset (stored once for both views).
    void Stored(Rule rule, const QByteArray& bytes, quint64 offset)
    {
        LineRules::AppendChunk(text, view, rule, {}, bytes);
        index.AppendStored(view, rule, {}, offset, bytes.constData(), bytes.size());
    }
    void Text(const QByteArray& line)
    {
        text.Append(line);
        index.AppendText(line);
    }
    void ExpectSame(const char* where) const
    {
        ASSERT_EQ(index.Count(), text.Count()) << where;
        for (qsizetype i = 0; i < text.Count(); ++i) {
            ASSERT_EQ(index.At(i), text.At(i)) << where << " row " << i;
            ASSERT_EQ(index.LengthAt(i), text.LengthAt(i)) << where << " row " << i;
            ASSERT_EQ(index.Head(i, 5), text.At(i).left(5)) << where << " row " << i;
        }
    }

    View view;
    CLineIndex index;
    CTraceLines text;
};

using L = QList<QByteArray>;

} // namespace

TEST(LineIndex, ReadsAsTheRulesWriteForEveryRuleAndView)
{
    // Bytes that make every rule cut often: line feeds, 0xF0, marked and plain runs, the
    // break byte, 0x00 and 0x80; chunks of all sizes and text lines in between.
    std::mt19937 random(13);
    const int alphabet[] = {0x0A, 0x0D, 0xF0, 0x41, 0x2E, 0xC1, 0x80, 0x00, 0x20, 0x7F, 0xFF};
    for (const Rule rule :
         {Rule::Length, Rule::LineFeed, Rule::F0, Rule::HighBit, Rule::HighBitLineFeed}) {
        for (const View view : {View::Ascii, View::Hex}) {
            Twin twin(view);
            LineRules::Settings s;
            s.lineLength = 7;
            s.breakValue = 0x0D;
            for (int n = 0; n < 400; ++n) {
                if (random() % 23 == 0)
                    twin.Text(random() % 2 ? QByteArray() : QByteArray(".text"));
                QByteArray chunk;
                const int size = 1 + int(random() % (random() % 8 == 0 ? 3000 : 12));
                for (int i = 0; i < size; ++i)
                    chunk.append(char(alphabet[random() % std::size(alphabet)]));
                twin.Chunk(rule, chunk, s);
            }
            twin.ExpectSame(view == View::Ascii ? "ascii" : "hex");
        }
    }
}

TEST(LineIndex, EdgeCasesOfTheRulesReadTheSame)
{
    Twin a(View::Ascii);
    a.Chunk(Rule::LineFeed, "AB\r\nDE");
    a.Chunk(Rule::LineFeed, "F\n");
    a.Chunk(Rule::LineFeed, "G");
    EXPECT_EQ(All(a.index), L({"AB\r\n", "DEF\n", "G"}));

    Twin h(View::Hex);
    h.Chunk(Rule::HighBit, B({0x41, 0x42, 0xC1, 0xC2, 0x43, 0x80}));
    EXPECT_EQ(All(h.index), L({"41 42 ", ".41 42 ", "43 ", ".00 "}));
    EXPECT_TRUE(h.index.IsMarkedRun(1));
    EXPECT_FALSE(h.index.IsMarkedRun(2));

    Twin f(View::Hex);
    f.Chunk(Rule::F0, B({0xF0, 0x41, 0xF0, 0xC2}));
    EXPECT_EQ(All(f.index), L({"F0 41 ", "F0 42 "}));

    // A header's empty last line is continued by the chunk; a text line that does not
    // end in a line feed too.
    Twin t(View::Ascii);
    t.Text("----");
    t.Text("");
    t.Chunk(Rule::LineFeed, "AB\nC");
    t.Text("x");
    t.Chunk(Rule::LineFeed, "yz");
    t.ExpectSame("text lines");
    EXPECT_EQ(All(t.index), L({"----", "AB\n", "C", "xyz"}));
    EXPECT_TRUE(t.index.IsTextLine(0));
    EXPECT_FALSE(t.index.IsTextLine(3)) << "a text line continued by received bytes";
}

TEST(LineIndex, CutAtTheLineBuffer)
{
    // Exactly the buffer: one line; one byte more begins a new line marked as cut.
    Twin a(View::Ascii);
    a.Chunk(Rule::LineFeed, QByteArray(LineRules::AsciiBuffer, 'x'));
    ASSERT_EQ(a.index.Count(), 1);
    EXPECT_EQ(a.index.LengthAt(0), 2048);
    a.Chunk(Rule::LineFeed, "y\n");
    a.ExpectSame("ascii");
    ASSERT_EQ(a.index.Count(), 2);
    EXPECT_FALSE(a.index.IsCut(0));
    EXPECT_TRUE(a.index.IsCut(1));
    EXPECT_EQ(a.index.At(1), "y\n");
    EXPECT_EQ(a.index.StartOf(1), 2048u);

    // A marked run: "." and 2047 bytes fill the line; the run goes on marked.
    Twin m(View::Ascii);
    m.Chunk(Rule::HighBit, QByteArray(2047, char(0xC1)) + QByteArray(3, char(0xC2)));
    m.ExpectSame("marked");
    EXPECT_EQ(All(m.index), L({"." + QByteArray(2047, 'A'), ".BBB"}));
    EXPECT_TRUE(m.index.IsMarkedRun(1));
    EXPECT_TRUE(m.index.IsCut(1));

    // The hex view holds 2048 units; a text line before the bytes counts too.
    Twin h(View::Hex);
    h.Text("abcd");
    h.Chunk(Rule::LineFeed, QByteArray(2048, 'A'));
    h.ExpectSame("hex");
    ASSERT_EQ(h.index.Count(), 2);
    EXPECT_EQ(h.index.LengthAt(0), 4 + 3 * 2046);
    EXPECT_EQ(h.index.BytesOf(1), 2);

    // A chunk that ends a full line exactly: the next chunk begins a new line.
    Twin e(View::Ascii);
    e.Chunk(Rule::F0, B({0xF0}) + QByteArray(2047, 'q'));
    e.Chunk(Rule::F0, "r");
    e.ExpectSame("full at the chunk end");
    EXPECT_EQ(e.index.Count(), 2);
}

TEST(LineIndex, LineContinuedAcrossManyChunksOnlyMovesItsEnd)
{
    Twin a(View::Hex);
    a.Chunk(Rule::LineFeed, "<");
    const qsizetype memory = a.index.MemoryBytes();
    for (int i = 0; i < 1500; ++i) {
        const CLineIndex::Change change =
            a.index.AppendChunk(View::Hex, Rule::LineFeed, {}, QByteArray(1, char('a' + i % 26)));
        LineRules::AppendChunk(a.text, View::Hex, Rule::LineFeed, {},
                               QByteArray(1, char('a' + i % 26)));
        ASSERT_TRUE(change.lastChanged);
        ASSERT_EQ(change.firstAdded, 1);
    }
    a.ExpectSame("continued");
    EXPECT_EQ(a.index.Count(), 1);
    EXPECT_EQ(a.index.BytesOf(0), 1501);
    EXPECT_EQ(a.index.StartOf(0), 0u);
    EXPECT_EQ(a.index.MemoryBytes(), memory) << "no line text is kept or rebuilt";
    // The buffer still ends the line after 2048 bytes.
    for (int i = 0; i < 600; ++i)
        a.Chunk(Rule::LineFeed, "z");
    a.ExpectSame("cut after many chunks");
    EXPECT_EQ(a.index.Count(), 2);
}

TEST(LineIndex, OffsetsBeyondFourGigabytes)
{
    // The store begins just below 4 GiB, as after a long recording; rows cross the border
    // and reach far into the index's groups of rows.
    const quint64 first = (quint64(1) << 32) - 1000;
    const auto store = std::make_shared<CTraceStore>(first);
    Twin a(View::Ascii, store), h(View::Hex, store);
    for (int i = 0; i < 700; ++i) {
        const QByteArray chunk = QByteArray::number(i) + (i % 3 ? "\n" : "");
        const quint64 at = store->Append(chunk.constData(), chunk.size());
        a.Stored(Rule::LineFeed, chunk, at);
        h.Stored(Rule::LineFeed, chunk, at);
        if (i % 97 == 0) {
            a.Text("--");
            h.Text("--");
        }
    }
    a.ExpectSame("ascii");
    h.ExpectSame("hex");
    EXPECT_GT(store->End(), quint64(1) << 32);
    const qsizetype last = a.index.Count() - 1;
    EXPECT_GT(a.index.StartOf(last), quint64(1) << 32);
    EXPECT_EQ(a.index.StartOf(last), h.index.StartOf(h.index.Count() - 1));
    EXPECT_EQ(a.index.StartOf(0), first);
    // A row in the middle is found through its group and reads right.
    EXPECT_EQ(a.index.At(300), a.text.At(300));
    EXPECT_EQ(store->Size(), quint64(a.index.StartOf(last) + a.index.BytesOf(last) - first));
}

TEST(LineIndex, BothViewsShareTheReceivedBytesOnce)
{
    // The session stores each chunk once; both indexes refer to it by offset.
    const auto store = std::make_shared<CTraceStore>();
    CLineIndex ascii(store), hex(store);
    qsizetype received = 0;
    for (int i = 0; i < 50; ++i) {
        const QByteArray chunk = "AB" + QByteArray::number(i % 3) + "\n";
        const quint64 at = store->Append(chunk.constData(), chunk.size());
        ascii.AppendStored(View::Ascii, Rule::LineFeed, {}, at, chunk.constData(), chunk.size());
        hex.AppendStored(View::Hex, Rule::LineFeed, {}, at, chunk.constData(), chunk.size());
        received += chunk.size();
    }
    EXPECT_EQ(store->Size(), quint64(received)) << "each chunk kept once";
    EXPECT_EQ(ascii.At(49), "AB1\n");
    EXPECT_EQ(hex.At(49), "41 42 31 0A ");

    // A view fed alone keeps its own copy in the store.
    hex.AppendChunk(View::Hex, Rule::LineFeed, {}, "AB\n");
    hex.AppendChunk(View::Hex, Rule::LineFeed, {}, "AB\n");
    EXPECT_EQ(store->Size(), quint64(received + 6));
    EXPECT_EQ(hex.Count(), 52);

    // Emptied by both, the store lets the bytes go.
    ascii.Clear();
    EXPECT_GT(store->Size(), 0u);
    hex.Clear();
    EXPECT_EQ(store->Size(), 0u);
    ascii.AppendChunk(View::Ascii, Rule::LineFeed, {}, "C");
    EXPECT_EQ(All(ascii), L({"C"}));
}

TEST(LineIndex, AGapOrAnotherWritingKeepsTheLastLineText)
{
    // The hex view missed chunks the ASCII view took (its panel code had no rule then): its
    // last line goes on after the gap with the same text.
    const auto store = std::make_shared<CTraceStore>();
    Twin a(View::Ascii, store), h(View::Hex, store);
    a.Chunk(Rule::LineFeed, "AB");
    h.Chunk(Rule::LineFeed, "AB");
    a.Chunk(Rule::LineFeed, "CD");
    a.Chunk(Rule::LineFeed, "EF");
    h.Chunk(Rule::LineFeed, "EF");
    h.ExpectSame("after a gap");
    EXPECT_EQ(All(h.index), L({"41 42 45 46 "}));

    // The rule changes while a line is open: the old part keeps its writing.
    Twin r(View::Hex);
    r.Chunk(Rule::HighBit, B({0xC1, 0xC2}));
    r.Chunk(Rule::F0, B({0xC3, 0xF0, 0xC4}));
    r.Chunk(Rule::HighBit, B({0xC5}));
    r.ExpectSame("rule change");
    EXPECT_EQ(All(r.index), L({".41 42 43 ", "F0 44 ", ".45 "}));
    r.Chunk(Rule::LineFeed, "x\n");
    r.Chunk(Rule::HighBit, B({0xC1}));
    r.Chunk(Rule::HighBit, B({0xC2}));
    r.ExpectSame("rule change back");
}

TEST(LineIndex, LoadedTextLinesAndMemoryPerLine)
{
    CTraceLines loaded;
    for (int i = 0; i < 1000; ++i)
        loaded.Append("    line " + QByteArray::number(i));
    CLineIndex index;
    index.Reset(std::move(loaded));
    ASSERT_EQ(index.Count(), 1000);
    EXPECT_EQ(index.At(777), "    line 777");
    EXPECT_TRUE(index.IsTextLine(777));
    EXPECT_EQ(index.CharAt(777, 4), 'l');
    EXPECT_EQ(index.CharAt(777, 40), '\0');

    // Lines of one received byte cost little more than four bytes each.
    CLineIndex ones;
    QByteArray chunk;
    for (int i = 0; i < 1024; ++i)
        chunk.append(char(i % 2 ? 0xC1 : 0x41));
    for (int i = 0; i < 200; ++i)
        ones.AppendChunk(View::Hex, Rule::HighBit, {}, chunk);
    ASSERT_EQ(ones.Count(), 204800);
    EXPECT_LT(double(ones.MemoryBytes()) / double(ones.Count()), 4.5);
    EXPECT_EQ(ones.At(204799), ".41 ");
    EXPECT_EQ(ones.At(100000), "41 ");
}
