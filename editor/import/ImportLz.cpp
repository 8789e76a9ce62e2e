#include "ImportLz.h"

#include "CByteReader.h"
#include "CMessages.h"
#include "ImportFrame.h"
#include "ProjectData.h"

// Qt
#include <QFile>

#include <cstring>

namespace LzImport {

namespace {

enum State { SkipToNumber, Number, CodeLetter, RestOfLine };

// The value a code letter stores; -1 for a letter that uses up its entry unchanged ('R'),
// -2 for bytes that are no code letter.
int LetterValue(unsigned char b)
{
    switch (b) {
    case 'n':
        return 0;
    case 'F':
        return 1;
    case 'A':
        return 3;
    case 'S':
        return 4;
    case 'R':
        return -1;
    }
    return -2;
}

} // namespace

bool ImportLzFrom(ProjectData& d, QIODevice& device)
{
    CByteReader reader(device);
    if (reader.Peek(1).isEmpty()) {
        MessageBox(QStringLiteral("In der Datei befinden sich keine LZ-Codierungen."));
        return false;
    }

    char table[Entries];
    std::memset(table, 2, sizeof table);
    int k = 0;
    bool overflowReported = false;
    // The first code letter is looked for at once, without a line prefix.
    State state = CodeLetter;
    unsigned char b;
    while (reader.Get(b)) {
        switch (state) {
        case SkipToNumber:
            if (b == ' ')
                state = Number;
            break;
        case Number:
            if (b >= '0' && b <= '9') {
                reader.Skip(1);
                state = CodeLetter;
            }
            break;
        case CodeLetter: {
            if (b == 'K') {
                state = RestOfLine;
                break;
            }
            const int value = LetterValue(b);
            if (value == -2)
                break;
            if (k < Entries) {
                if (value >= 0)
                    table[k] = char(value);
                ++k;
            } else if (!overflowReported) {
                // A letter for an entry the table does not have: say so once.
                overflowReported = true;
                MessageBox(QStringLiteral("Bei der LZ-Importierung ist ein Fehler aufgetreten !"));
            }
            state = RestOfLine;
            break;
        }
        case RestOfLine:
            if (b == '\n')
                state = SkipToNumber;
            break;
        }
    }

    std::memcpy(d.lzAssignment, table, sizeof table);
    d.lzAssignment[Entries] = '\0';
    MessageBox(QStringLiteral("Die LZ-Importierung ist beendet"));
    return true;
}

bool ImportLz(ProjectData& d)
{
    QFile file;
    if (!ImportFrame::OpenFile(QStringLiteral("LZ - Dateien (.lz) | *.lz||"), QStringLiteral("lz"),
                               file))
        return false;
    return ImportLzFrom(d, file);
}

} // namespace LzImport
