#include "ImportCfg.h"
#include "ImportCmb.h"
#include "ImportKit.h"

namespace {

const QString kCheck =
    QStringLiteral("Kontrollieren Sie die importiereten Texte auf Ihre Richtigkeit !");
const QString kIncomplete = QStringLiteral(
    "Die Umwandlung konnte nicht komplett durchgeführt werden.\nÜberprüfen Sie Ihre Texte!");

QByteArray CfgEntry(const QByteArray& group, const QByteArray& detector, const QByteArray& text)
{
    return "Meldergruppe " + group + "\r\nElementnummer " + detector +
           "\r\nLCD Zeile 2 :  " + text + "\r\n";
}

class PanelImportTest : public ImportTest
{
protected:
    PanelImport::Outcome Import(const QByteArray& bytes, const char* name = "texte.cfg")
    {
        messages.FileNext(Write(name, bytes));
        return PanelImport::ImportPanelTexts(doc, hooks);
    }

    ImportHooks hooks;
    ProgressLog progress;
};

TEST_F(PanelImportTest, CfgEntrySplitsItsLineByTheProjectsLengths)
{
    Project(4, 0, "AC 1"); // Alarmcom, 2 x 20
    hooks.progress = &progress;
    const QByteArray bytes =
        "[Kopf]\r\n" + CfgEntry("12", "3", "ABCDEFGHIJKLMNOPQRSTUVWXY") + "Ende\r\n";
    const auto outcome = Import(bytes);
    EXPECT_TRUE(outcome.imported);
    EXPECT_FALSE(outcome.incomplete);
    ASSERT_EQ(Rows(), 1);
    EXPECT_EQ(Cell(0, 0), "F");
    EXPECT_EQ(Cell(0, 1), "0012");
    EXPECT_EQ(Cell(0, 3), "03");
    EXPECT_EQ(Cell(0, 4), "ABCDEFGHIJKLMNOPQRST");
    EXPECT_EQ(Cell(0, 5), "UVWXY");
    EXPECT_EQ(doc.Data().textFormat, 4); // the project keeps its format
    EXPECT_EQ(messages.Texts(), QStringList{kCheck});
    EXPECT_EQ(doc.ProjectPath(), "Unbenannt");
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(progress.texts, QStringList{"Texte werden übernommen"});
    EXPECT_EQ(progress.maxima, QList<qint64>{bytes.size() - 1});
    EXPECT_EQ(progress.positions.last(), bytes.size() - 1);
    EXPECT_EQ(progress.ends, 1);
    EXPECT_EQ(messages.Entries()[0].dialog.filter, "CFG - Dateien (.cfg) | *.cfg||");
}

TEST_F(PanelImportTest, CfgShortLineStaysInText1AndLongNumbersKeepTheirFirstDigits)
{
    Project(2, 7, "SI 2"); // AlgoRex: CFG
    ASSERT_EQ(doc.Data().panelVariant, 1);
    Import(CfgEntry("1234567", "987", "Kurz") + CfgEntry("5", "1", "Zweiter Eintrag mit Rest"));
    ASSERT_EQ(Rows(), 2);
    EXPECT_EQ(Cell(0, 1), "0005");
    EXPECT_EQ(Cell(0, 4), "Zweiter Eint");
    EXPECT_EQ(Cell(0, 5), "rag mit Rest");
    EXPECT_EQ(Cell(1, 1), "1234");
    EXPECT_EQ(Cell(1, 3), "98");
    EXPECT_EQ(Cell(1, 4), "Kurz");
    EXPECT_EQ(Cell(1, 5), "");
}

TEST_F(PanelImportTest, CfgWordsThatOnlyStartLikeAKeywordDoNotDisturb)
{
    Project(2, 0, "AC 1");
    Import("Melder Meldung M\r\nMeldergruppe X 42;\r\nEtwas\r\nMeldergruppe 9\r\n"
           "Elementnummer 07\r\nLCD Zeile 2 :  Treppe\r\n");
    ASSERT_EQ(Rows(), 1);
    // The second group keyword comes while the detector is expected: it is skipped.
    EXPECT_EQ(Cell(0, 1), "0042");
    EXPECT_EQ(Cell(0, 3), "07");
    EXPECT_EQ(Cell(0, 4), "Treppe");
}

TEST_F(PanelImportTest, CfgKeywordLetterNearTheEndMarksTheImportIncomplete)
{
    Project(2, 0, "AC 1");
    const auto outcome = Import(CfgEntry("1", "1", "a") + "Melder");
    EXPECT_TRUE(outcome.incomplete);
    EXPECT_EQ(Rows(), 1);
    EXPECT_EQ(messages.Texts(), (QStringList{kIncomplete, kCheck}));
}

TEST_F(PanelImportTest, CfgEntryWithoutItsLineEndIsNotImported)
{
    Project(2, 0, "AC 1");
    QByteArray bytes = CfgEntry("1", "1", "eins") + CfgEntry("2", "2", "zwei");
    bytes.chop(2);
    Import(bytes);
    ASSERT_EQ(Rows(), 1);
    EXPECT_EQ(Cell(0, 4), "eins");
}

TEST_F(PanelImportTest, PseudoFormatProjectsGetZeroPseudoGroups)
{
    Project(3, 8, "TW 1");
    Import("@Text\r\n01 5 0012 Wort 0123456789X\r\n", "texte.cmb");
    ASSERT_EQ(Rows(), 1);
    EXPECT_EQ(Cell(0, 0), "P");
    EXPECT_EQ(Cell(0, 2), "00000");
}

TEST_F(PanelImportTest, CmbLineGivesDetectorGroupAndTextWithoutItsLastByte)
{
    Project(2, 8, "TW 1");
    hooks.progress = &progress;
    const QByteArray bytes = "Kopf @Teil @Text\r\n01 5 0012 Wort 0123456789X\r\n"
                             "2 17 3 Wort  Lager ost!\r\n";
    Import(bytes, "texte.cmb");
    ASSERT_EQ(Rows(), 2);
    EXPECT_EQ(Cell(0, 1), "0003");
    EXPECT_EQ(Cell(0, 3), "17");
    EXPECT_EQ(Cell(0, 4), "Lager ost");
    EXPECT_EQ(Cell(1, 1), "0012");
    EXPECT_EQ(Cell(1, 3), "05");
    EXPECT_EQ(Cell(1, 4), "0123456789");
    EXPECT_EQ(messages.Texts(), QStringList{kCheck});
    EXPECT_EQ(messages.Entries()[0].dialog.filter, "CMB - Dateien (.cmb) | *.cmb||");
    EXPECT_EQ(progress.positions.last(), bytes.size() - 1);
}

TEST_F(PanelImportTest, CmbLineStartingWithABlankEndsTheEntries)
{
    Project(2, 8, "TW 1");
    Import("@Text\r\n01 1 1 W eins.\r\n 02 2 2 W zwei.\r\n03 3 3 W drei.\r\n", "texte.cmb");
    ASSERT_EQ(Rows(), 1);
    EXPECT_EQ(Cell(0, 4), "eins");
    EXPECT_EQ(messages.Texts(), QStringList{kCheck});
}

TEST_F(PanelImportTest, CmbWithoutMarkerImportsNothingButStillFinishes)
{
    Project(2, 8, "TW 1");
    EXPECT_TRUE(Import("01 5 0012 Wort 0123456789X\r\n", "texte.cmb").imported);
    EXPECT_EQ(Rows(), 0);
    EXPECT_EQ(messages.Texts(), QStringList{kCheck});
    EXPECT_EQ(doc.ProjectPath(), "Unbenannt");
}

TEST_F(PanelImportTest, EmptyOrUnreadableFileChangesNothing)
{
    Project(2, 0, "AC 1");
    EXPECT_FALSE(Import(QByteArray()).imported);
    EXPECT_EQ(messages.Texts(), QStringList{"In der Datei befinden sich keine Texte."});
    messages.FileNext(dir.filePath("fehlt.cfg"));
    EXPECT_FALSE(PanelImport::ImportPanelTexts(doc, hooks).imported);
    EXPECT_EQ(messages.Texts().last(), "Die Datei konnte nicht geöffnet werden");
    EXPECT_EQ(doc.ProjectPath(), dir.filePath("alt.bmt"));
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(doc.Records().ColumnsShown(), true);
}

TEST_F(PanelImportTest, CancelledSaveQuestionKeepsTheProject)
{
    Project(2, 0, "AC 1");
    MessageRecord rec;
    rec.formatTag = "S", rec.group = "7", rec.detector = "1", rec.text1 = "Alt";
    doc.Records().InsertRecord(rec);
    messages.Clear();
    doc.SetModifiedFlag(true);
    messages.AnswerNext(msg::IdCancel);
    EXPECT_FALSE(Import(CfgEntry("1", "1", "neu")).imported);
    ASSERT_EQ(Rows(), 1);
    EXPECT_EQ(Cell(0, 4), "Alt");
    EXPECT_EQ(messages.Entries().size(), 1); // the question, no file dialog
}

TEST_F(PanelImportTest, AFullProjectSaysSoOnce)
{
    Project(2, 8, "TW 1", 2);
    QByteArray bytes = "@Text\r\n";
    for (int i = 1; i <= 6; ++i)
        bytes += "01 1 " + QByteArray::number(i) + " W Text.\r\n";
    EXPECT_TRUE(Import(bytes, "texte.cmb").incomplete);
    EXPECT_EQ(Rows(), 2);
    EXPECT_EQ(messages.Texts(),
              (QStringList{"Es können nicht mehr als 2 Texte dargestellt werden !", kIncomplete,
                           kCheck}));
}

TEST_F(PanelImportTest, DispatchFollowsThePanel)
{
    ProjectData d{};
    d.panelType = 0, d.panelVariant = 0;
    EXPECT_EQ(PanelImport::ReaderFor(d), PanelImport::CfgReader);
    d.panelType = 7, d.panelVariant = 1;
    EXPECT_EQ(PanelImport::ReaderFor(d), PanelImport::CfgReader);
    d.panelType = 8, d.panelVariant = 0;
    EXPECT_EQ(PanelImport::ReaderFor(d), PanelImport::CmbReader);
    d.panelType = 0, d.panelVariant = 4;
    EXPECT_EQ(PanelImport::ReaderFor(d), PanelImport::NoReader);

    // A Siemens SIGMASYS has no panel text import: nothing is asked, nothing changes.
    Project(2, 7, "SI 1");
    EXPECT_FALSE(Import(CfgEntry("1", "1", "a")).imported);
    EXPECT_TRUE(messages.Entries().isEmpty());
    EXPECT_EQ(doc.ProjectPath(), dir.filePath("alt.bmt"));
}

} // namespace
