#include "FrameFixture.h"

#include "CCellEdit.h"
#include "FatSimProcess.h"

// Qt
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

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
