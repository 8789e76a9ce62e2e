#pragma once

#include "PanelCatalogue.h"

// Qt
#include <QByteArray>
#include <QList>
#include <QString>

class CTraceLines;

// How the two trace views cut received bytes into lines. The rules see only the view's last
// line and the chunk; they report what becomes of the last line and which lines follow it,
// so a view touches nothing but the end of its list.
namespace LineRules {

enum class View { Ascii, Hex };
using Rule = PanelCatalogue::LineRule;

enum {
    NoBreak = 1000,
    AsciiBuffer = 2048, // characters of one ASCII line
    HexBuffer = 6144,   // characters of one hex line (2048 units)
};

// The length rule's settings as the document keeps them.
struct Settings
{
    int lineLength = 40;      // 1 to 100
    int breakValue = NoBreak; // 0 to 255, or NoBreak
};

struct Result
{
    bool lastChanged = false; // the last line was continued and now reads last
    QByteArray last;
    QList<QByteArray> added; // new lines after the last one, in order
};

// How the bytes of one line are written: unchanged, with bit 7 removed (a marked run), or
// as the hex view of the 0xF0 rule shows them (0xF0 itself, every other byte without bit 7).
enum class Mode : unsigned char { Raw = 0, Strip = 1, F0Hex = 2 };

// What the chunk-start decisions need to know of the last line.
struct LastLine
{
    bool exists = false;
    qsizetype size = 0;
    char first = 0;    // first character (0 for an empty line)
    char tail[3] = {}; // the last tailSize characters
    int tailSize = 0;

    bool StartsWith(char c) const { return size > 0 && first == c; }
    bool EndsWith(char c) const { return tailSize > 0 && tail[tailSize - 1] == c; }
    // Whether the last unit of a hex line shows byte b.
    bool EndsWithUnit(unsigned char b) const;
};
LastLine Describe(const QByteArray& line);

// Where the rules put their lines. The current line is the list's last line (continued) or a
// new one after it; Put writes one received byte into it in the given mode.
class Sink
{
public:
    virtual ~Sink() = default;
    virtual void ContinueLast(bool marked) = 0;
    // cut: the new line goes on where a full line was cut.
    virtual void Open(bool marked, bool cut) = 0;
    virtual bool IsOpen() const = 0;
    virtual bool IsMarked() const = 0;
    virtual qsizetype CurrentSize() const = 0; // characters of the current line
    virtual void Complete() = 0;
    virtual void Put(unsigned char byte, Mode mode) = 0;
    // size bytes at once; the rules call it only with bytes that fit the current line.
    virtual void PutRun(const char* data, qsizetype size, Mode mode)
    {
        for (qsizetype i = 0; i < size; ++i)
            Put(static_cast<unsigned char>(data[i]), mode);
    }
};

Rule ForPanelCode(int panelCode);
QString UnsupportedMessage(View view);

// Runs the rule over size bytes after the last line described by last (last.exists false:
// the list is empty). The sink is left with the current line open or complete; a caller
// that keeps lines stores an open, non-empty current line.
void Run(Sink& sink, View view, Rule rule, const Settings& settings, const LastLine& last,
         const char* data, qsizetype size);

// The lines that chunk gives after the given last line (hasLast false: the list is empty).
Result BuildChunk(View view, Rule rule, const Settings& settings, bool hasLast,
                  const QByteArray& last, const QByteArray& chunk);
// BuildChunk applied to a store.
void AppendChunk(CTraceLines& lines, View view, Rule rule, const Settings& settings,
                 const QByteArray& chunk);
void Apply(CTraceLines& lines, const Result& result);

// The one writing of a byte in a view: the ASCII view writes the character (0x00 as a
// blank), the hex view a unit of two hex digits and a blank.
inline unsigned char ValueOf(Mode mode, unsigned char byte)
{
    if (mode == Mode::Raw || (mode == Mode::F0Hex && byte == 0xF0))
        return byte;
    return byte & 0x7F;
}
void WriteValue(View view, unsigned char value, QByteArray& out);
inline int UnitSize(View view)
{
    return view == View::Ascii ? 1 : 3;
}
inline qsizetype Capacity(View view)
{
    return view == View::Ascii ? AsciiBuffer : HexBuffer;
}

// "0A " for the byte 0x0A.
QByteArray HexUnit(unsigned char byte);

} // namespace LineRules
