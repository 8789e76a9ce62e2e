#include "ImportKit.h"
#include "ImportLz.h"

// Qt
#include <QBuffer>

namespace {

const QString kOverflow = QStringLiteral("Bei der LZ-Importierung ist ein Fehler aufgetreten !");
const QString kDone = QStringLiteral("Die LZ-Importierung ist beendet");

class LzImportTest : public ImportTest
{
protected:
    void SetUp() override { Project(2, 2, "BO 1"); }

    bool Import(const QByteArray& bytes)
    {
        messages.FileNext(Write("codes.lz", bytes));
        return LzImport::ImportLz(doc.Data());
    }
    int Entry(int k) const { return static_cast<unsigned char>(doc.Data().lzAssignment[k]); }

    // n lines "NNN X" of the usual form, each with one code letter.
    static QByteArray Lines(int n, char letter)
    {
        QByteArray out;
        for (int i = 0; i < n; ++i)
            out +=
                "LZ " + QByteArray::number(i).rightJustified(3, '0') + " Text " + letter + "\r\n";
        return out;
    }
};

TEST_F(LzImportTest, FirstLetterAtOnceThenOneLetterPerLine)
{
    EXPECT_TRUE(Import("F\nab 123 S\n"));
    EXPECT_EQ(Entry(0), 1);
    EXPECT_EQ(Entry(1), 4);
    for (int k = 2; k < 255; ++k)
        ASSERT_EQ(Entry(k), 2) << k; // the default's 1, 3 and 4 are gone too
    EXPECT_EQ(doc.Data().lzAssignment[255], '\0');
    EXPECT_EQ(messages.Texts(), QStringList{kDone});
    EXPECT_FALSE(doc.IsModified());
}

TEST_F(LzImportTest, EveryLetterHasItsValueAndKUsesNoEntry)
{
    EXPECT_TRUE(Import("n\nx 1x K\nx 2x A\nx 3x R\nx 4x F\r\nx 5x S\n"));
    EXPECT_EQ(Entry(0), 0);
    EXPECT_EQ(Entry(1), 3); // the K line left entry 1 for the next line
    EXPECT_EQ(Entry(2), 2); // R keeps 2 and moves on
    EXPECT_EQ(Entry(3), 1);
    EXPECT_EQ(Entry(4), 4);
}

TEST_F(LzImportTest, TheNumberPrefixSkipsTheByteAfterTheFirstDigit)
{
    // "7F" right after the digit: the F is skipped, the S is the code letter.
    EXPECT_TRUE(Import("A\nLZ 7F S\n"));
    EXPECT_EQ(Entry(0), 3);
    EXPECT_EQ(Entry(1), 4);
}

TEST_F(LzImportTest, ExactlyTheFullTableIsComplete)
{
    EXPECT_TRUE(Import("F\r\n" + Lines(254, 'S')));
    EXPECT_EQ(Entry(0), 1);
    EXPECT_EQ(Entry(254), 4);
    EXPECT_EQ(messages.Texts(), QStringList{kDone});
}

TEST_F(LzImportTest, LettersBeyondTheTableAreReportedOnce)
{
    EXPECT_TRUE(Import("F\r\n" + Lines(300, 'A')));
    EXPECT_EQ(Entry(254), 3);
    EXPECT_EQ(messages.Texts(), (QStringList{kOverflow, kDone}));
    EXPECT_EQ(doc.Data().lzAssignment[255], '\0');
}

TEST_F(LzImportTest, KLinesBeyondTheTableUseNoEntry)
{
    EXPECT_TRUE(Import("F\r\n" + Lines(254, 'S') + Lines(3, 'K')));
    EXPECT_EQ(messages.Texts(), QStringList{kDone});
}

TEST_F(LzImportTest, EmptyOrMissingFileLeavesTheTable)
{
    const QByteArray before(doc.Data().lzAssignment, 256);
    EXPECT_FALSE(Import(QByteArray()));
    EXPECT_EQ(messages.Texts(), QStringList{"In der Datei befinden sich keine LZ-Codierungen."});
    messages.FileNext(dir.filePath("fehlt.lz"));
    EXPECT_FALSE(LzImport::ImportLz(doc.Data()));
    EXPECT_EQ(messages.Texts().last(), "Die Datei konnte nicht geöffnet werden");
    messages.FileNext(QString());
    EXPECT_FALSE(LzImport::ImportLz(doc.Data()));
    EXPECT_EQ(messages.Entries().last().dialog.filter, "LZ - Dateien (.lz) | *.lz||");
    EXPECT_EQ(QByteArray(doc.Data().lzAssignment, 256), before);
}

TEST_F(LzImportTest, AFileWithoutLettersGivesTheAllTwoTable)
{
    EXPECT_TRUE(Import("\x01\x02 123 xyz\n"));
    for (int k = 0; k < 255; ++k)
        ASSERT_EQ(Entry(k), 2) << k;
}

} // namespace
