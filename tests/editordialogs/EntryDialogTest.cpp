#include "CEntryDlg.h"
#include "RecordEntry.h"
#include "CMaskEdit.h"
#include "DialogFixture.h"

// Qt
#include <QAbstractButton>
#include <QLabel>
#include <QSet>
#include <QPointer>
#include <QPushButton>

namespace {

class EntryDialogTest : public DialogFixture
{
protected:
    void TearDown() override
    {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (qobject_cast<CEntryDlg*>(w))
                delete w;
    }

    CEntryDlg* Open(int row = -1)
    {
        dlg = CEntryDlg::OpenForProject(doc, &frame, row);
        if (dlg)
            Activate(dlg);
        return dlg;
    }

    // Types into the field that the access key focuses.
    void Enter(Qt::Key key, const QString& text)
    {
        Alt(dlg, key);
        auto* field = qobject_cast<CMaskEdit*>(QApplication::focusWidget());
        ASSERT_NE(field, nullptr);
        field->selectAll();
        TypeFocused(text);
    }

    void Row(int row, const char* group, const char* detector, const char* text1, const char* text2,
             const char* tag, const char* pseudo = "")
    {
        EXPECT_EQ(Cell(row, Column::Group), QByteArray(group));
        EXPECT_EQ(Cell(row, Column::Detector), QByteArray(detector));
        EXPECT_EQ(Cell(row, Column::Text1), QByteArray(text1));
        EXPECT_EQ(Cell(row, Column::Text2), QByteArray(text2));
        EXPECT_EQ(Cell(row, Column::Tag), QByteArray(tag));
        EXPECT_EQ(Cell(row, Column::PseudoGroup), QByteArray(pseudo));
    }

    QPointer<CEntryDlg> dlg;
};

} // namespace

TEST_F(EntryDialogTest, KopierenStoresTheRecordAndAdvancesTheDetector)
{
    Project(FormatStandard);
    ASSERT_NE(Open(), nullptr);
    EXPECT_EQ(dlg->windowTitle(), QStringLiteral("Standardeingabe"));
    EXPECT_FALSE(doc.IsModified()); // opening changes nothing; each stored text does
    EXPECT_EQ(QApplication::focusWidget(), dlg->GroupField());

    Enter(Qt::Key_G, QStringLiteral("12"));
    Enter(Qt::Key_M, QStringLiteral("5"));
    Enter(Qt::Key_1, QStringLiteral("Halle Nord"));
    Enter(Qt::Key_2, QStringLiteral("Ebene 2 Raum 4"));
    Alt(dlg, Qt::Key_K);

    ASSERT_EQ(Rows(), 1);
    Row(0, "0012", "05", "Halle Nord", "Ebene 2 Raum 4", "S");
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(dlg->GroupField()->text(), QStringLiteral("12"));
    EXPECT_EQ(dlg->DetectorField()->text(), QStringLiteral("06"));
    EXPECT_EQ(dlg->Text1Field()->text(), QStringLiteral("Halle Nord")); // texts stay
    EXPECT_TRUE(dlg->isVisible());

    Alt(dlg, Qt::Key_K);
    ASSERT_EQ(Rows(), 2);
    Row(1, "0012", "06", "Halle Nord", "Ebene 2 Raum 4", "S");
    EXPECT_EQ(dlg->DetectorField()->text(), QStringLiteral("07"));
    EXPECT_TRUE(messages.Boxes().isEmpty());
}

TEST_F(EntryDialogTest, KopierenRunsIntoTheNextGroup)
{
    Project(FormatStandard);
    Open();
    Enter(Qt::Key_G, QStringLiteral("12"));
    Enter(Qt::Key_M, QStringLiteral("99"));
    Alt(dlg, Qt::Key_K);
    EXPECT_EQ(dlg->GroupField()->text(), QStringLiteral("13"));
    EXPECT_EQ(dlg->DetectorField()->text(), QStringLiteral("01"));

    Enter(Qt::Key_M, QStringLiteral("00"));
    Alt(dlg, Qt::Key_K);
    EXPECT_EQ(dlg->GroupField()->text(), QStringLiteral("14"));
    EXPECT_EQ(dlg->DetectorField()->text(), QStringLiteral("00"));
    ASSERT_EQ(Rows(), 2);
    Row(0, "0012", "99", "", "", "S");
    Row(1, "0013", "00", "", "", "S");
}

TEST_F(EntryDialogTest, KopierenPastTheLastGroupStoresAndKeepsTheGroup)
{
    Project(FormatStandard);
    Open();
    Enter(Qt::Key_G, QStringLiteral("9999"));
    Enter(Qt::Key_M, QStringLiteral("99"));
    Alt(dlg, Qt::Key_K);
    ASSERT_EQ(Rows(), 1);
    Row(0, "9999", "99", "", "", "S");
    EXPECT_EQ(dlg->GroupField()->text(), QStringLiteral("9999"));
    EXPECT_EQ(dlg->DetectorField()->text(), QStringLiteral("01"));
    ASSERT_EQ(messages.Boxes().size(), 1);
    const auto box = messages.Boxes().first();
    EXPECT_EQ(box.text, QStringLiteral("Es können keine höheren Meldergruppen eingefügt werden. "));
    EXPECT_EQ(box.caption, QStringLiteral("Fehler"));
    EXPECT_EQ(box.icon, msg::Error);
}

TEST_F(EntryDialogTest, OkStoresAndClosesTheDialog)
{
    Project(FormatStandard);
    Open();
    Enter(Qt::Key_G, QStringLiteral("7"));
    Enter(Qt::Key_M, QStringLiteral("3"));
    Enter(Qt::Key_1, QStringLiteral("Flur"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return); // the default button
    QTRY_VERIFY_WITH_TIMEOUT(dlg.isNull(), 30000);
    ASSERT_EQ(Rows(), 1);
    Row(0, "0007", "03", "Flur", "", "S");

    // The same key again replaces the texts of that row.
    Open(0);
    EXPECT_EQ(dlg->GroupField()->text(), QStringLiteral("0007"));
    Enter(Qt::Key_1, QStringLiteral("Keller"));
    dlg->OkButton()->click();
    QTRY_VERIFY_WITH_TIMEOUT(dlg.isNull(), 30000);
    ASSERT_EQ(Rows(), 1);
    Row(0, "0007", "03", "Keller", "", "S");
}

TEST_F(EntryDialogTest, ARefusedRecordKeepsEverythingTyped)
{
    Project(FormatStandard);
    Open();
    Enter(Qt::Key_G, QStringLiteral("12"));
    Enter(Qt::Key_1, QStringLiteral("Halle"));
    dlg->OkButton()->click();
    EXPECT_TRUE(dlg->isVisible());
    EXPECT_EQ(Rows(), 0);
    ASSERT_EQ(messages.Boxes().size(), 1);
    EXPECT_EQ(messages.Boxes().first().text,
              QStringLiteral("Das Feld Melder muß ausgefüllt werden !"));
    EXPECT_EQ(dlg->GroupField()->text(), QStringLiteral("12"));
    EXPECT_EQ(dlg->Text1Field()->text(), QStringLiteral("Halle"));

    Alt(dlg, Qt::Key_K); // a refused Kopieren advances nothing
    EXPECT_EQ(dlg->GroupField()->text(), QStringLiteral("12"));
    EXPECT_EQ(dlg->DetectorField()->text(), QString());
    EXPECT_EQ(dlg->Text1Field()->text(), QStringLiteral("Halle"));
}

TEST_F(EntryDialogTest, AFullListRefusesKopierenWithoutAdvancing)
{
    Project(FormatStandard);
    doc.Data().maxRecords = 1;
    Open();
    Enter(Qt::Key_G, QStringLiteral("1"));
    Enter(Qt::Key_M, QStringLiteral("1"));
    Alt(dlg, Qt::Key_K);
    Alt(dlg, Qt::Key_K);
    EXPECT_EQ(Rows(), 1);
    EXPECT_EQ(dlg->DetectorField()->text(), QStringLiteral("02"));
    ASSERT_EQ(messages.Boxes().size(), 1);
    EXPECT_EQ(messages.Boxes().first().text,
              QStringLiteral("Es können nicht mehr als 1 Texte dargestellt werden !"));
}

TEST_F(EntryDialogTest, GroupsAbove9999OnlyForMinimax)
{
    Project(FormatStandard);
    doc.Data().groupDigits = 5;
    Open();
    Enter(Qt::Key_G, QStringLiteral("12345"));
    Enter(Qt::Key_M, QStringLiteral("1"));
    dlg->OkButton()->click();
    EXPECT_EQ(Rows(), 0);
    ASSERT_EQ(messages.Boxes().size(), 1);
    EXPECT_EQ(messages.Boxes().first().text,
              QStringLiteral("Es sind nur Werte von 1 - 9999 für die MelderGruppe erlaubt !"));
}

TEST_F(EntryDialogTest, MinimaxGroupsAbove9999ByOkInAllDialogsByKopierenInStandardOnly)
{
    for (int format : {FormatStandard, FormatPseudo, FormatTwoLines}) {
        SCOPED_TRACE(format);
        doc.Records().DeleteAllItems();
        messages.Clear();
        Project(format, PanelType::Minimax, 0, 5, 2);
        Open();
        Enter(Qt::Key_G, QStringLiteral("12345"));
        if (format == FormatPseudo)
            Enter(Qt::Key_P, QStringLiteral("1"));
        Enter(Qt::Key_M, QStringLiteral("1"));
        Alt(dlg, Qt::Key_K);
        EXPECT_EQ(Rows(), format == FormatStandard ? 1 : 0);
        EXPECT_EQ(messages.Boxes().size(), format == FormatStandard ? 0 : 1);
        dlg->OkButton()->click();
        QTRY_VERIFY_WITH_TIMEOUT(dlg.isNull(), 30000);
        EXPECT_EQ(Cell(0, Column::Group), QByteArray("12345"));
    }
}

TEST_F(EntryDialogTest, PseudoGroupAdvancesWithTheGroup)
{
    Project(FormatPseudo);
    Open();
    EXPECT_EQ(dlg->windowTitle(), QStringLiteral("Pseudo Meldergruppe"));
    Enter(Qt::Key_G, QStringLiteral("12"));
    Enter(Qt::Key_P, QStringLiteral("7"));
    Enter(Qt::Key_M, QStringLiteral("00"));
    Enter(Qt::Key_1, QStringLiteral("Lager"));
    Alt(dlg, Qt::Key_K);
    ASSERT_EQ(Rows(), 1);
    Row(0, "0012", "00", "Lager", "", "P", "0007");
    EXPECT_EQ(dlg->GroupField()->text(), QStringLiteral("13"));
    EXPECT_EQ(dlg->PseudoField()->text(), QStringLiteral("8"));
    EXPECT_EQ(dlg->DetectorField()->text(), QStringLiteral("00"));

    dlg->PseudoField()->setText(QStringLiteral("9999"));
    Alt(dlg, Qt::Key_K);
    ASSERT_EQ(messages.Boxes().size(), 1);
    EXPECT_EQ(messages.Boxes().first().text,
              QStringLiteral("Es können keine höheren Pseudo Meldergruppen eingefügt werden. "));
    EXPECT_EQ(dlg->PseudoField()->text(), QStringLiteral("9999"));
    EXPECT_EQ(dlg->GroupField()->text(), QStringLiteral("14"));
}

TEST_F(EntryDialogTest, FreeTextCardGroupsRunFromDetector32ToTheNextCard)
{
    Project(FormatTwoLines, PanelType::Alarmcom, 1);
    Open();
    EXPECT_EQ(dlg->windowTitle(), QStringLiteral("2 x 20 Zeichen freier Text"));
    EXPECT_EQ(dlg->GroupField()->GetMode(), CMaskEdit::GroupOrCard);
    Enter(Qt::Key_G, QStringLiteral("+3"));
    Enter(Qt::Key_M, QStringLiteral("32"));
    Enter(Qt::Key_1, QStringLiteral("Eingang 3"));
    Alt(dlg, Qt::Key_K);
    ASSERT_EQ(Rows(), 1);
    Row(0, "+003", "32", "Eingang 3", "", "F");
    EXPECT_EQ(dlg->GroupField()->text(), QStringLiteral("+4"));
    EXPECT_EQ(dlg->DetectorField()->text(), QStringLiteral("01"));

    // A card group shows without its padding zeros when the row is edited.
    dlg->close();
    QTRY_VERIFY_WITH_TIMEOUT(dlg.isNull(), 30000);
    Open(0);
    EXPECT_EQ(dlg->GroupField()->text(), QStringLiteral("+3"));
    EXPECT_EQ(dlg->GroupField()->GetLimitText(), 2);
}

TEST_F(EntryDialogTest, FreeTextCardGroupsEndAtCardNine)
{
    Project(FormatTwoLines, PanelType::Alarmcom, 1);
    Open();
    Enter(Qt::Key_G, QStringLiteral("+9"));
    Enter(Qt::Key_M, QStringLiteral("32"));
    Alt(dlg, Qt::Key_K);
    EXPECT_EQ(Rows(), 1);
    EXPECT_EQ(dlg->GroupField()->text(), QStringLiteral("+9"));
    ASSERT_EQ(messages.Boxes().size(), 1);
    EXPECT_EQ(messages.Boxes().first().text,
              QStringLiteral("Es können keine höheren Meldergruppen eingefügt werden. "));
}

TEST_F(EntryDialogTest, NotifierNamesItsFieldsByPanelLoopAndAddress)
{
    Project(FormatTwoLines, PanelType::Notifier, 0, 4, 3);
    Open();
    const auto labels = dlg->findChildren<QLabel*>();
    QStringList texts;
    for (QLabel* l : labels)
        texts << l->text();
    EXPECT_TRUE(texts.contains(QStringLiteral("&Zentrale/Loop")));
    EXPECT_TRUE(texts.contains(QStringLiteral("&Adresse")));
    EXPECT_FALSE(texts.contains(QStringLiteral("/")));
    Enter(Qt::Key_Z, QStringLiteral("101"));
    Enter(Qt::Key_A, QStringLiteral("17"));
    Alt(dlg, Qt::Key_K);
    Row(0, "0101", "017", "", "", "F");
}

TEST_F(EntryDialogTest, OutputCardListsAreCleanedBeforeStoring)
{
    Project(FormatStandard, PanelType::EffEff, 4);
    Open();
    EXPECT_EQ(dlg->Text2Field()->GetMode(), CMaskEdit::CardList);
    Enter(Qt::Key_G, QStringLiteral("1"));
    Enter(Qt::Key_M, QStringLiteral("1"));
    Alt(dlg, Qt::Key_2);
    QTest::keyClick(dlg->Text2Field(), Qt::Key_Home);
    TypeFocused(QStringLiteral("105 ")); // 1/05 and the placeholder behind it
    EXPECT_EQ(dlg->Text2Field()->text(), QStringLiteral("1/05 0/00"));
    Alt(dlg, Qt::Key_K);
    Row(0, "0001", "01", "", "1/05", "S");
    EXPECT_EQ(dlg->Text2Field()->text(), QStringLiteral("1/05 0/00")); // the field keeps it

    dlg->Text2Field()->setText(QStringLiteral("1/05 2/00"));
    Alt(dlg, Qt::Key_K);
    Row(1, "0001", "02", "", "1/05", "S");
}

TEST(CardListCleaning, DropsPlaceholdersAndKeepsCompleteGroups)
{
    EXPECT_EQ(RecordEntry::CleanCardList(""), QByteArray(""));
    EXPECT_EQ(RecordEntry::CleanCardList("1/05"), QByteArray("1/05"));
    EXPECT_EQ(RecordEntry::CleanCardList("0/00"), QByteArray(""));
    EXPECT_EQ(RecordEntry::CleanCardList("1/05 0/00"), QByteArray("1/05"));
    EXPECT_EQ(RecordEntry::CleanCardList("0/05 2/07 3/00 4/32"), QByteArray("2/07 4/32"));
    // A complete third group at the end of a long Text 1 is kept too.
    EXPECT_EQ(RecordEntry::CleanCardList("1/01 2/02 3/03"), QByteArray("1/01 2/02 3/03"));
    EXPECT_EQ(RecordEntry::CleanCardList("1/01 2/0"), QByteArray("1/01"));
}

TEST_F(EntryDialogTest, AtMostOneDialogPerCaption)
{
    Project(FormatStandard);
    ASSERT_NE(Open(), nullptr);
    doc.SetModifiedFlag(false);
    EXPECT_EQ(CEntryDlg::OpenForProject(doc, &frame, -1), nullptr);
    EXPECT_FALSE(doc.IsModified()); // nothing opened, nothing marked
    EXPECT_EQ(CEntryDlg::FindOpen(QStringLiteral("Standardeingabe")), dlg.data());

    dlg->CancelButton()->click();
    QTRY_VERIFY_WITH_TIMEOUT(dlg.isNull(), 30000);
    EXPECT_EQ(Rows(), 0);
    EXPECT_NE(Open(), nullptr);
}

TEST_F(EntryDialogTest, NoDialogForAProjectFromTheFat)
{
    Project(FormatStandard);
    doc.Data().textFormat = FormatFromFat;
    EXPECT_EQ(CEntryDlg::OpenForProject(doc, &frame, -1), nullptr);
    EXPECT_FALSE(doc.IsModified());
}

TEST_F(EntryDialogTest, EscapeClosesWithoutStoring)
{
    Project(FormatStandard);
    Open();
    Enter(Qt::Key_G, QStringLiteral("5"));
    Enter(Qt::Key_M, QStringLiteral("5"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    QTRY_VERIFY_WITH_TIMEOUT(dlg.isNull(), 30000);
    EXPECT_EQ(Rows(), 0);
}

TEST_F(EntryDialogTest, FieldsFollowTheProjectLimits)
{
    Project(FormatStandard);
    Open();
    EXPECT_EQ(dlg->GroupField()->GetLimitText(), 4);
    EXPECT_EQ(dlg->DetectorField()->GetLimitText(), 2);
    EXPECT_EQ(dlg->Text1Field()->GetLimitText(), 12);
    EXPECT_EQ(dlg->Text2Field()->GetLimitText(), 20);
    Enter(Qt::Key_G, QStringLiteral("123456a"));
    EXPECT_EQ(dlg->GroupField()->text(), QStringLiteral("1234"));
    Enter(Qt::Key_1, QStringLiteral("abcdefghijklmnop"));
    EXPECT_EQ(dlg->Text1Field()->text(), QStringLiteral("abcdefghijkl"));
}

TEST_F(EntryDialogTest, EditingARowShowsItsTextsWithoutPadding)
{
    Project(FormatStandard);
    MessageRecord rec;
    rec.group = "0003";
    rec.detector = "04";
    rec.text1 = "Treppe      "; // padded to Text 1's length
    rec.text2 = "Ost";
    rec.formatTag = "S";
    doc.Records().AddRecordAt(rec, 0);
    Open(0);
    EXPECT_EQ(dlg->Text1Field()->text(), QStringLiteral("Treppe"));
    EXPECT_EQ(dlg->Text2Field()->text(), QStringLiteral("Ost"));
    EXPECT_EQ(dlg->DetectorField()->text(), QStringLiteral("04"));
}

namespace {

// The access keys of the visible labels and buttons of a window, as lower-case letters.
QStringList AccessKeys(QWidget* window)
{
    QStringList keys;
    auto add = [&keys](const QString& text) {
        for (int i = 0; i + 1 < text.size(); ++i) {
            if (text.at(i) != QLatin1Char('&'))
                continue;
            if (text.at(i + 1) != QLatin1Char('&'))
                keys << text.at(i + 1).toLower();
            ++i;
        }
    };
    for (QLabel* label : window->findChildren<QLabel*>())
        if (label->isVisibleTo(window))
            add(label->text());
    for (QAbstractButton* button : window->findChildren<QAbstractButton*>())
        if (button->isVisibleTo(window))
            add(button->text());
    return keys;
}

} // namespace

TEST_F(EntryDialogTest, EveryDialogHasDistinctAccessKeysForEveryField)
{
    struct Case
    {
        int format;
        int panelType;
        int variant;
        QStringList keys;
    };
    const Case cases[] = {
        {FormatStandard, PanelType::Bosch, 0, {"g", "m", "1", "2", "k"}},
        {FormatPseudo, PanelType::Bosch, 0, {"g", "p", "m", "1", "2", "k"}},
        {FormatTwoLines, PanelType::Bosch, 0, {"g", "m", "1", "2", "k"}},
        {FormatTwoLines, PanelType::Notifier, 0, {"z", "a", "1", "2", "k"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.format * 100 + c.panelType);
        Project(c.format, c.panelType, c.variant);
        Open();
        QStringList keys = AccessKeys(dlg);
        QStringList expected = c.keys;
        keys.sort();
        expected.sort();
        EXPECT_EQ(keys, expected);
        // Each label's key reaches a field of its own.
        QSet<QWidget*> fields;
        for (QLabel* label : dlg->findChildren<QLabel*>())
            if (label->buddy())
                fields.insert(label->buddy());
        EXPECT_EQ(fields.size(), c.format == FormatPseudo ? 5 : 4);
        delete dlg.data();
    }
}

TEST_F(EntryDialogTest, TheEntryCheckRefusesWhatTheListCouldNotHold)
{
    // A group with more digits than the project has, as a MINIMAX group above 9999 in a project
    // of four group digits: the shared entry check names it, nothing is stored.
    Project(FormatStandard, PanelType::Minimax, 0, 4, 2);
    Open();
    dlg->GroupField()->setText(QStringLiteral("12345"));
    dlg->DetectorField()->setText(QStringLiteral("1"));
    dlg->Text1Field()->setFocus();
    dlg->OkButton()->click();
    EXPECT_EQ(Rows(), 0);
    EXPECT_TRUE(dlg->isVisible());
    ASSERT_EQ(messages.Boxes().size(), 1);
    EXPECT_EQ(messages.Boxes().first().caption, QStringLiteral("Hinweis"));
    EXPECT_EQ(messages.BeepCount(), 1);
    EXPECT_EQ(QApplication::focusWidget(), dlg->GroupField());
    EXPECT_EQ(dlg->GroupField()->text(), QStringLiteral("12345"));
}

TEST_F(EntryDialogTest, KeysSelectAFieldWholeAndKopierenGoesToText2Selected)
{
    for (const int format : {FormatStandard, FormatPseudo, FormatTwoLines}) {
        SCOPED_TRACE(format);
        Project(format);
        ASSERT_NE(Open(), nullptr);
        CMaskEdit* text1 = dlg->Text1Field();
        CMaskEdit* text2 = dlg->Text2Field();
        if (dlg->PseudoField())
            dlg->PseudoField()->setText(QStringLiteral("7"));
        dlg->GroupField()->setText(QStringLiteral("12"));
        dlg->DetectorField()->setText(QStringLiteral("05"));
        text1->setText(QStringLiteral("Halle"));
        text2->setText(QStringLiteral("Erdgeschoss"));

        // Tab, Shift+Tab, the access key (also of the field that has the focus) and Ctrl+A.
        const struct
        {
            Qt::Key key;
            Qt::KeyboardModifiers modifiers;
            CMaskEdit* expected;
        } keys[] = {{Qt::Key_Tab, {}, text2},
                    {Qt::Key_Backtab, Qt::ShiftModifier, text1},
                    {Qt::Key_2, Qt::AltModifier, text2},
                    {Qt::Key_2, Qt::AltModifier, text2},
                    {Qt::Key_A, Qt::ControlModifier, text2}};
        text1->setFocus();
        for (const auto& k : keys) {
            auto* focused = qobject_cast<CMaskEdit*>(QApplication::focusWidget());
            ASSERT_NE(focused, nullptr);
            focused->setCursorPosition(1);
            QTest::keyClick(focused, k.key, k.modifiers);
            EXPECT_EQ(QApplication::focusWidget(), k.expected) << k.key;
            EXPECT_EQ(k.expected->selectedText(), k.expected->text()) << k.key;
        }

        // After "&Kopieren" typing replaces Text 2; a character beyond the limit beeps.
        text1->setFocus();
        Alt(dlg, Qt::Key_K);
        ASSERT_EQ(QApplication::focusWidget(), text2);
        EXPECT_EQ(text2->selectedText(), QStringLiteral("Erdgeschoss"));
        TypeFocused(QStringLiteral("Raum 2"));
        EXPECT_EQ(text2->text(), QStringLiteral("Raum 2"));
        text2->setText(QString(text2->GetLimitText(), QLatin1Char('x')));
        const int beeps = messages.BeepCount();
        TypeFocused(QStringLiteral("y"));
        EXPECT_EQ(messages.BeepCount(), beeps + 1);
        EXPECT_EQ(text2->text().size(), text2->GetLimitText());
        delete dlg;
    }
}
