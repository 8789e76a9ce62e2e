#include "ImportBmf.h"
#include "ImportKit.h"

namespace {

const QString kOffsetMessage =
    QStringLiteral("Sollten Sie einen Offset versorgt haben, müssen Sie diesen noch eingeben");
const QString kIncomplete = QStringLiteral(
    "Die Umwandlung konnte nicht komplett durchgeführt werden.\nÜberprüfen Sie Ihre Texte!");

class BmfImportTest : public ImportTest
{
protected:
    BmfImport::Outcome Import(const QByteArray& bytes)
    {
        messages.FileNext(Write("texte.bmf", bytes));
        return BmfImport::ImportBmf(doc, hooks);
    }

    // The project is exactly as Project() left it.
    void ExpectUnchanged(int textFormat = 2)
    {
        EXPECT_EQ(doc.Data().textFormat, textFormat);
        EXPECT_EQ(doc.ProjectPath(), dir.filePath("alt.bmt"));
        EXPECT_FALSE(doc.IsModified());
        EXPECT_EQ(doc.Records().ColumnsShown(), true);
    }

    ImportHooks hooks;
    ProgressLog progress;
};

TEST_F(BmfImportTest, PseudoFileTakesFormat3WithoutAskingAndReadsThePseudoNumbers)
{
    Project(2, 1, "AT 1");
    int asked = 0;
    hooks.chooseBmfKind = [&](int) { return ++asked, 0; };
    hooks.progress = &progress;
    const auto outcome =
        Import(Bmf::Pseudo(12, 3, 0x1234, "Halle", "Nord") + Bmf::Pseudo(13, 1, 7, "Lager", ""));
    EXPECT_TRUE(outcome.imported);
    EXPECT_FALSE(outcome.incomplete);
    EXPECT_EQ(asked, 0);
    EXPECT_EQ(doc.Data().textFormat, 3);
    ASSERT_EQ(Rows(), 2);
    EXPECT_EQ(Cell(0, 0), "P");
    EXPECT_EQ(Cell(0, 1), "0012");
    EXPECT_EQ(Cell(0, 2), "04660");
    EXPECT_EQ(Cell(0, 3), "03");
    EXPECT_EQ(Cell(0, 4), "Halle");
    EXPECT_EQ(Cell(0, 5), "Nord");
    EXPECT_EQ(Cell(1, 2), "00007");
    EXPECT_TRUE(ColumnShown(doc.Records(), Column::PseudoGroup));
    EXPECT_EQ(messages.Texts(), QStringList{kOffsetMessage});
    // Untitled and changed, so the next save asks for a name.
    EXPECT_EQ(doc.ProjectPath(), "Unbenannt");
    EXPECT_EQ(doc.GetPathName(), "Unbenannt");
    EXPECT_TRUE(doc.IsModified());
    // Both passes show their progress over the records.
    EXPECT_EQ(progress.texts,
              (QStringList{"Textformat wird bestimmt", "Die Texte werden importiert"}));
    EXPECT_EQ(progress.maxima, (QList<qint64>{1, 1}));
    EXPECT_EQ(progress.ends, 2);
    EXPECT_EQ(progress.positions, (QList<qint64>{0, 1, 0, 1}));
}

TEST_F(BmfImportTest, APartialRecordAtTheEndIsIgnored)
{
    Project(2, 1, "AT 1");
    const QByteArray bytes =
        Bmf::Standard(1, 1, "Eins", "a") + Bmf::Standard(2, 1, "Zwei", "b") + "x";
    ASSERT_EQ(bytes.size(), 185);
    EXPECT_TRUE(Import(bytes).imported);
    ASSERT_EQ(Rows(), 2);
    EXPECT_EQ(Cell(1, 4), "Zwei");
    EXPECT_EQ(doc.Data().textFormat, 2);
    EXPECT_EQ(Cell(1, 0), "S");
}

TEST_F(BmfImportTest, OnlyTheFirst1000RecordsAreImported)
{
    Project(2, 1, "AT 1", 5000);
    QByteArray bytes;
    for (int i = 1; i <= 1001; ++i)
        bytes += Bmf::Standard(i, 1, "T", "");
    Import(bytes);
    EXPECT_EQ(Rows(), 1000);
    EXPECT_EQ(Cell(999, 1), "1000");
    ASSERT_GE(messages.Texts().size(), 1);
    EXPECT_EQ(messages.Texts().first(),
              "Die zu importierende Datei enthält mehr als 1000 Datensätze. Es werden nur die "
              "ersten 1000 Datensätze importiert.");
}

TEST_F(BmfImportTest, MixedFileAsksWithTheMissingKindDisabled)
{
    Project(4, 1, "AT 1");
    int bits = 0;
    hooks.chooseBmfKind = [&](int formatBits) {
        bits = formatBits;
        return int(BmfImport::KindStandard);
    };
    EXPECT_TRUE(Import(Bmf::Standard(5, 2, "Kurz", "zwei") +
                       Bmf::TwoLines(6, 0, "Zwanzig Zeichen lang", "Zeile"))
                    .imported);
    EXPECT_EQ(bits, BmfImport::KindStandard | BmfImport::KindTwoLines);
    EXPECT_EQ(BmfImport::DisabledKind(bits), BmfImport::KindPseudo);
    EXPECT_EQ(doc.Data().textFormat, 2);
    EXPECT_EQ(doc.Data().text1Length, 12);
    ASSERT_EQ(Rows(), 2);
    // The tag follows the chosen kind, the texts each record's own kind; Text 1 is cut.
    EXPECT_EQ(Cell(1, 0), "S");
    EXPECT_EQ(Cell(1, 4), "Zwanzig Zeic");
    EXPECT_EQ(Cell(1, 5), "Zeile");
    EXPECT_TRUE(messages.Texts().contains(kIncomplete));
}

TEST_F(BmfImportTest, DisabledKindsFollowTheKindsFound)
{
    using namespace BmfImport;
    EXPECT_EQ(DisabledKind(KindPseudo | KindTwoLines), KindStandard);
    EXPECT_EQ(DisabledKind(KindPseudo | KindStandard), KindTwoLines);
    EXPECT_EQ(DisabledKind(KindTwoLines | KindStandard), KindPseudo);
    EXPECT_EQ(DisabledKind(KindPseudo | KindTwoLines | KindStandard), 0);
}

TEST_F(BmfImportTest, CancelledOrDisabledChoiceLeavesTheProjectAsItWas)
{
    Project(2, 1, "AT 1");
    MessageRecord rec;
    rec.formatTag = "S", rec.group = "7", rec.detector = "1", rec.text1 = "Alt";
    doc.Records().InsertRecord(rec);
    doc.SetModifiedFlag(false);
    const QByteArray mixed = Bmf::Pseudo(1, 1, 1, "a", "") + Bmf::Standard(2, 1, "b", "");
    hooks.chooseBmfKind = [](int) { return 0; };
    EXPECT_FALSE(Import(mixed).imported);
    ExpectUnchanged();
    EXPECT_EQ(Rows(), 1);
    // A hook that answers the kind the dialog disables does not get through either.
    hooks.chooseBmfKind = [](int) { return int(BmfImport::KindTwoLines); };
    EXPECT_FALSE(Import(mixed).imported);
    ExpectUnchanged();
    EXPECT_EQ(Cell(0, 4), "Alt");
    EXPECT_TRUE(messages.Texts().isEmpty());
}

TEST_F(BmfImportTest, NotifierTakesTwoLinesWithoutAsking)
{
    Project(2, 6, "NF 1");
    int asked = 0;
    hooks.chooseBmfKind = [&](int) { return ++asked, 0; };
    EXPECT_TRUE(Import(Bmf::Standard(1, 1, "a", "b") + Bmf::Pseudo(2, 1, 3, "c", "d")).imported);
    EXPECT_EQ(asked, 0);
    EXPECT_EQ(doc.Data().textFormat, 4);
    ASSERT_EQ(Rows(), 2);
    EXPECT_EQ(Cell(0, 0), "F");
    EXPECT_EQ(Cell(1, 0), "F");
    EXPECT_EQ(Cell(1, 2), ""); // no pseudo group outside format 3
    EXPECT_EQ(Cell(1, 4), "c");
}

TEST_F(BmfImportTest, NegativeGroupIsDroppedAndLongNumbersAreCut)
{
    Project(2, 1, "AT 1");
    EXPECT_TRUE(
        Import(Bmf::Standard(-1, 1, "weg", "") + Bmf::Standard(123456, 7, "lang", "")).incomplete);
    ASSERT_EQ(Rows(), 1);
    EXPECT_EQ(Cell(0, 1), "1234");
    EXPECT_EQ(Cell(0, 3), "07");
    EXPECT_EQ(messages.Texts(), (QStringList{kIncomplete, kOffsetMessage}));
}

TEST_F(BmfImportTest, TextsEndAtTheAtSignAndTheNul)
{
    Project(2, 1, "AT 1");
    QByteArray r = Bmf::Record(3, 4, "");
    std::memcpy(r.data() + 6, "abcd@XYZ", 8); // '@' at offset 10, NUL at 14
    EXPECT_TRUE(Import(r).imported);
    ASSERT_EQ(Rows(), 1);
    EXPECT_EQ(Cell(0, 4), "abcd");
    EXPECT_EQ(Cell(0, 5), "XYZ");
}

TEST_F(BmfImportTest, EmptyUnreadableOrCancelledFilesChangeNothing)
{
    Project(2, 1, "AT 1");
    EXPECT_FALSE(Import(QByteArray(91, 'x')).imported);
    EXPECT_EQ(messages.Texts(), QStringList{"In der Datei befinden sich keine Texte."});
    ExpectUnchanged();
    messages.Clear();

    messages.FileNext(dir.filePath("fehlt.bmf"));
    EXPECT_FALSE(BmfImport::ImportBmf(doc, hooks).imported);
    EXPECT_EQ(messages.Texts(), QStringList{"Die Datei konnte nicht geöffnet werden"});
    ExpectUnchanged();
    messages.Clear();

    messages.FileNext(QString()); // cancelled
    EXPECT_FALSE(BmfImport::ImportBmf(doc, hooks).imported);
    EXPECT_TRUE(messages.Texts().isEmpty());
    ASSERT_EQ(messages.Entries().size(), 1);
    EXPECT_EQ(messages.Entries()[0].dialog.filter, "BMF - Dateien (.bmf) | *.bmf||");
    EXPECT_EQ(messages.Entries()[0].dialog.defaultExt, "bmf");
    ExpectUnchanged();
}

TEST_F(BmfImportTest, CancelledSaveQuestionStopsBeforeTheFileDialog)
{
    Project(2, 1, "AT 1");
    doc.SetModifiedFlag(true);
    messages.AnswerNext(msg::IdCancel);
    EXPECT_FALSE(Import(Bmf::Standard(1, 1, "a", "")).imported);
    ASSERT_EQ(messages.Entries().size(), 1);
    EXPECT_EQ(messages.Entries()[0].text, "Sollen die Änderungen gespeichert werden ?");
    EXPECT_EQ(doc.ProjectPath(), dir.filePath("alt.bmt"));
    EXPECT_EQ(doc.Data().textFormat, 2);
}

TEST_F(BmfImportTest, AFullProjectSaysSoOnceAndReportsTheImportIncomplete)
{
    Project(2, 1, "AT 1", 3);
    QByteArray bytes;
    for (int i = 1; i <= 10; ++i)
        bytes += Bmf::Standard(i, 1, "T", "");
    EXPECT_TRUE(Import(bytes).incomplete);
    EXPECT_EQ(Rows(), 3);
    EXPECT_EQ(messages.Texts(),
              (QStringList{"Es können nicht mehr als 3 Texte dargestellt werden !", kIncomplete,
                           kOffsetMessage}));
    EXPECT_EQ(messages.BeepCount(), 1);
}

TEST_F(BmfImportTest, RefusedRecordsAreReportedAndTheImportGoesOn)
{
    Project(2, 1, "AT 1");
    EXPECT_TRUE(Import(Bmf::Standard(0, 1, "null", "") + Bmf::Standard(4, 1, "vier", "")).imported);
    ASSERT_EQ(Rows(), 1);
    EXPECT_EQ(Cell(0, 4), "vier");
    EXPECT_EQ(messages.Texts().first(), "Die MelderGruppe 0 ist nicht zulässig !");
}

TEST_F(BmfImportTest, BoschProjectIsAskedForItsLzFile)
{
    Project(2, 2, "BO 1");
    const QByteArray before(doc.Data().lzAssignment, 256);
    auto outcome = Import(Bmf::Standard(1, 1, "a", ""));
    EXPECT_TRUE(outcome.lzAsked);
    EXPECT_FALSE(outcome.lzImported);
    EXPECT_EQ(messages.Texts().last(), "Möchten Sie die LZ-Daten einlesen ?");
    EXPECT_EQ(messages.Boxes().last().buttons, msg::YesNo);
    EXPECT_EQ(QByteArray(doc.Data().lzAssignment, 256), before);

    messages.Clear();
    doc.SetModifiedFlag(false);
    messages.FileNext(Write("texte.bmf", Bmf::Standard(1, 1, "a", "")));
    messages.AnswerNext(msg::IdOk);
    messages.AnswerNext(msg::IdYes);
    messages.FileNext(Write("codes.lz", "F\r\nab 123 S\r\n"));
    outcome = BmfImport::ImportBmf(doc, hooks);
    EXPECT_TRUE(outcome.lzImported);
    EXPECT_EQ(doc.Data().lzAssignment[0], 1);
    EXPECT_EQ(doc.Data().lzAssignment[1], 4);
    EXPECT_EQ(doc.Data().lzAssignment[12], 2);
    EXPECT_EQ(messages.Texts().last(), "Die LZ-Importierung ist beendet");
}

TEST_F(BmfImportTest, AKindWithoutRoomForText1IsRefusedBeforeAnyChange)
{
    Project(4, 1, "AT 1");
    doc.Data().groupDigits = 10;
    doc.Data().detectorDigits = 10;
    EXPECT_FALSE(Import(Bmf::Standard(1, 1, "a", "")).imported);
    ExpectUnchanged(4);
    EXPECT_EQ(messages.Texts().size(), 1);
}

} // namespace
