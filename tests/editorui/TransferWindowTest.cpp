#include "FrameFixture.h"

#include "CCellEdit.h"
#include "FatSimProcess.h"

// Qt
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

namespace {

// One text of a Bosch FAT as the simulator stores it: type 0x88, group, detector, 12 + 20
// characters.
QString StoredRecord(const char* group, const char* detector, const char* text1, const char* text2)
{
    const QByteArray bytes = QByteArray(group) + detector +
                             QByteArray(text1).leftJustified(12, ' ', true) +
                             QByteArray(text2).leftJustified(20, ' ', true);
    return "88" + QString::fromLatin1(bytes.toHex());
}

} // namespace

using TransferWindow = FrameFixture;

TEST_F(TransferWindow, ReadTheFatIntoTheWindowThenSendItBack)
{
    FatSimProcess fat(QStringLiteral(FATSIM_PATH));
    QJsonObject store;
    store["hasTexts"] = true;
    store["groupOffset"] = 0;
    store["records"] = QJsonArray{StoredRecord("0001", "01", "Halle Nord", "Erdgeschoss"),
                                  StoredRecord("0001", "02", "Halle Sued", "Erdgeschoss"),
                                  StoredRecord("0002", "00", "Buero", "1. Obergeschoss")};
    ASSERT_TRUE(fat.WriteStore(QJsonDocument(store).toJson()));
    ASSERT_FALSE(fat.Start().isEmpty());

    OpenStandard(PanelType::Aritech);
    view()->Serial().SetPortName(fat.Device());
    messages.SetDefaultAnswer(msg::IdNo); // the save question before reading
    ASSERT_TRUE(commands().Execute(Cmd::ReadTexts));
    EXPECT_EQ(messages.Texts(),
              QStringList{QString::fromUtf8("Die Datenübertragung wurde erfolgreich beendet")});
    ASSERT_EQ(rows(), 3);
    EXPECT_EQ(cell(2, Column::Text1).trimmed(), "Buero");
    EXPECT_EQ(frame->MessageCount(), 3);
    EXPECT_EQ(doc->Data().panelType, PanelType::Bosch);
    // The menus follow the FAT's panel: the LZ entries are there now.
    EXPECT_TRUE(frame->Popup(2)->actions().contains(action(Cmd::SendLzCoding)));
    EXPECT_EQ(frame->windowTitle(), "Unbenannt - Quillmark  [ Standardeingabe ]");
    EXPECT_FALSE(view()->PortOpen());

    // Change a text in place and send everything back.
    view()->SelectRow(0);
    view()->edit(doc->Records().index(0, Column::Text1));
    ASSERT_NE(view()->CellEdit(), nullptr);
    view()->CellEdit()->selectAll();
    QTest::keyClicks(view()->CellEdit(), "Halle West");
    QTest::keyClick(view()->CellEdit(), Qt::Key_Return);
    QTRY_VERIFY_WITH_TIMEOUT(view()->CellEdit() == nullptr, 30000);
    messages.Clear();
    ASSERT_TRUE(commands().Execute(Cmd::SendTexts));
    EXPECT_TRUE(messages.Texts().contains(
        QString::fromUtf8("Die Datenübertragung wurde erfolgreich beendet.")))
        << messages.Texts().join(" | ").toStdString();
    fat.Stop();
    QFile file(fat.StorePath());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QJsonArray records =
        QJsonDocument::fromJson(file.readAll()).object()["records"].toArray();
    ASSERT_EQ(records.size(), 3);
    EXPECT_EQ(records[0].toString(), StoredRecord("0001", "01", "Halle West", "Erdgeschoss"));
}

// The CSV import's report and the comparison with the FAT, each answered by its buttons and
// keys as a technician would.
TEST_F(TransferWindow, ReportAndComparisonDialogsByTheirButtons)
{
    FatSimProcess fat(QStringLiteral(FATSIM_PATH));
    QJsonObject store;
    store["hasTexts"] = true;
    store["groupOffset"] = 0;
    store["records"] = QJsonArray{StoredRecord("0001", "01", "Halle Nord", "EG")};
    ASSERT_TRUE(fat.WriteStore(QJsonDocument(store).toJson()));
    ASSERT_FALSE(fat.Start().isEmpty());
    OpenStandard(PanelType::Bosch);
    view()->Serial().SetPortName(fat.Device());
    const QString csv = m_dir.filePath("texte.csv");
    QFile file(csv);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("MelderGruppe;Melder;Text 1;Text 2\r\n9;1;Neu;Text\r\n9;x;Falsch;\r\n");
    file.close();

    const auto key = [](Qt::Key k) { return [k](QDialog* d) { QTest::keyClick(d, k); }; };
    const struct
    {
        const char* name;
        int command;
        const char* dialog;
        std::function<void(QDialog*)> answer;
        QString summary; // the dialog's first label
        int rows;
        QStringList boxes;
    } cases[] = {
        {"report left with Esc",
         Cmd::ImportCsv,
         "CCsvReportDlg",
         key(Qt::Key_Escape),
         QString::fromUtf8("Zeilen der Datei abgelehnt: 1, gültig: 1. Es wurde noch nichts "
                           "importiert."),
         4,
         {}},
        {"report: valid rows taken",
         Cmd::ImportCsv,
         "CCsvReportDlg",
         [](QDialog* d) {
             for (QPushButton* b : d->findChildren<QPushButton*>())
                 if (b->text() == QString::fromUtf8("Gültige Zeilen übernehmen"))
                     QTest::mouseClick(b, Qt::LeftButton);
         },
         QString::fromUtf8("Zeilen der Datei abgelehnt: 1, gültig: 1. Es wurde noch nichts "
                           "importiert."),
         5,
         {QString::fromUtf8("CSV-Import: 1 hinzugefügt, 0 ersetzt.")}},
        {"comparison closed with Return",
         Cmd::VerifyTexts,
         "CVerifyResultDlg",
         key(Qt::Key_Return),
         QString::fromUtf8("Projekt und FAT unterscheiden sich in 4 Punkten:"),
         5,
         {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        messages.Clear();
        messages.FileNext(csv);
        QString summary;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (!dialog || !dialog->inherits(c.dialog))
                return;
            poll.stop();
            summary = dialog->findChild<QLabel*>()->text();
            c.answer(dialog);
        });
        poll.start(10);
        ASSERT_TRUE(commands().Execute(c.command));
        EXPECT_EQ(summary, c.summary);
        EXPECT_EQ(rows(), c.rows);
        EXPECT_EQ(messages.Texts(), c.boxes);
    }
}
