#pragma once

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
enum class Rule { None, Length, LineFeed, F0, HighBit, HighBitLineFeed };

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

Rule ForPanelCode(int panelCode);
QString UnsupportedMessage(View view);

// The lines that chunk gives after the given last line (hasLast false: the list is empty).
Result BuildChunk(View view, Rule rule, const Settings& settings, bool hasLast,
                  const QByteArray& last, const QByteArray& chunk);
// BuildChunk applied to a store.
void AppendChunk(CTraceLines& lines, View view, Rule rule, const Settings& settings,
                 const QByteArray& chunk);
void Apply(CTraceLines& lines, const Result& result);

// "0A " for the byte 0x0A.
QByteArray HexUnit(unsigned char byte);

} // namespace LineRules
