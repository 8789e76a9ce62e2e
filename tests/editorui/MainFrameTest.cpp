#include "FrameFixture.h"

#include "CAboutDlg.h"
#include "CEntryDlg.h"
#include "CMaskEdit.h"
#include "CHelpWindow.h"
#include "CSerial.h"
#include "FatSimProcess.h"

// Qt
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMimeData>
#include <QStatusBar>
#include <QTextBrowser>
#include <QTimer>
#include <QToolBar>
#include <QUrl>

namespace {

QString U(const char* text)
{
    return QString::fromUtf8(text);
}

// Runs check on the modal window that the next command opens, then closes it.
void OnNextModal(std::function<void(QWidget*)> check)
{
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, check] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            timer->stop();
            timer->deleteLater();
            check(modal);
            if (auto* dialog = qobject_cast<QDialog*>(modal))
                dialog->reject();
        }
    });
    timer->start();
}

} // namespace

using MainFrame = FrameFixture;

TEST_F(MainFrame, MenusCarryEveryCommandWithItsTextsInOrder)
{
    OpenStandard();
    QStringList popups;
    for (QAction* a : frame->menuBar()->actions())
        popups << a->text();
    EXPECT_EQ(popups, (QStringList{"&Datei", "&Bearbeiten", "&FAT", "&System", "A&nalyse",
                                   "&Ansicht", "&?"}));
    EXPECT_EQ(menuTexts(0),
              (QStringList{"&Neu\tStrg+N", U("Ö&ffnen...\tStrg+O"), "S&peichern\tStrg+S",
                           "Speichern &unter...", "-", "&Exportieren", "-", "&Drucken...\tStrg+P",
                           "Sei&tenansicht", "-", "Letzte Datei", "-", "&Beenden"}));
    EXPECT_EQ(menuTexts(1),
              (QStringList{U("&Rückgängig\tStrg+Z"), "&Wiederherstellen\tStrg+Y", "-",
                           U("Texte &einfügen"), "-", U("Texte &löschen"), "-",
                           "&Suchen...\tStrg+F", "Weiters&uchen\tF3", "Erse&tzen...\tStrg+H", "-",
                           U("Eingabeformat &ändern"), "BMF - Dateien importieren",
                           "&CSV-Datei importieren...", "-", U("Zentralentexte übernehmen")}));
    EXPECT_EQ(menuTexts(4), (QStringList{"Line&probe starten"}));
    EXPECT_EQ(menuTexts(5), (QStringList{"&Symbolleiste", "S&tatusleiste"}));
    EXPECT_EQ(menuTexts(6),
              (QStringList{"&Hilfethemen", "-", U("Inf&o über Quillmark..."), "-", "&Zentrale"}));

    EXPECT_EQ(action(Cmd::FileSaveAs)->statusTip(),
              "Speichert das aktiveProjekt unter neuem Namen.");
    EXPECT_EQ(action(Cmd::ReadTexts)->toolTip(), "Daten auslesen");
    EXPECT_EQ(action(Cmd::Configuration)->statusTip(),
              "Hier kann die aktive Schnittstelle von COM1 - COM4 festgelegt werden");
    EXPECT_EQ(action(Cmd::FileOpen)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_O));
    EXPECT_EQ(action(Cmd::FilePrint)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_P));

    QList<int> toolbar;
    for (QAction* a : frame->ToolBar()->actions())
        toolbar << (a->isSeparator() ? 0 : a->data().toInt());
    EXPECT_EQ(toolbar, (QList<int>{57600, 57601, 57603, 0, 57607, 0, 32773, 32774, 0, 32771, 0,
                                   32772, 0, 57643, 57644, 0, 57664, 57669}));
}

TEST_F(MainFrame, UpdateMenusFollowsPanelTypeAndFormatAndIsStable)
{
    Open(WriteProject("bosch.bmt", 2, PanelType::Bosch, {{"0001", "01", "a", "b"}}));
    const QStringList fat{"Daten &senden",
                          "Daten &auslesen",
                          "Mit FAT &vergleichen",
                          "&Nach dem Senden vergleichen",
                          "-",
                          "LZ-Codierung s&enden",
                          "LZ-Codierung a&uslesen",
                          "-",
                          "&Konfiguration"};
    const QStringList system{"&Deckseite", "-", "&LZ - Zuweisung", "-", "&Offset"};
    EXPECT_EQ(menuTexts(2), fat);
    EXPECT_EQ(menuTexts(3), system);
    frame->UpdateMenus();
    frame->UpdateMenus();
    EXPECT_EQ(menuTexts(2), fat);
    EXPECT_EQ(menuTexts(3), system);

    // Another panel and format: the base menus, then only the offset.
    doc->Data().panelType = PanelType::Esser;
    frame->UpdateMenus();
    EXPECT_EQ(menuTexts(2), (QStringList{"Daten &senden", "Daten &auslesen", "Mit FAT &vergleichen",
                                         "&Nach dem Senden vergleichen", "-", "&Konfiguration"}));
    EXPECT_EQ(menuTexts(3), (QStringList{"&Deckseite", "-", "&Offset"}));
    doc->Data().textFormat = 3;
    frame->UpdateMenus();
    EXPECT_EQ(menuTexts(3), (QStringList{"&Deckseite"}));
    doc->Data().panelType = PanelType::Bosch;
    frame->UpdateMenus();
    frame->UpdateMenus();
    EXPECT_EQ(menuTexts(2), fat);
    EXPECT_EQ(menuTexts(3), (QStringList{"&Deckseite", "-", "&LZ - Zuweisung"}));
}

TEST_F(MainFrame, TitleCases)
{
    OpenStandard();
    EXPECT_EQ(frame->windowTitle(), "standard.bmt - Quillmark  [ Standardeingabe ]");
    ProjectData& d = doc->Data();
    std::strcpy(d.groupOffset, "-5");
    frame->UpdateTitle();
    EXPECT_EQ(frame->windowTitle(),
              "standard.bmt - Quillmark  [ Standardeingabe mit einem Offset von -5 ]");
    std::strcpy(d.groupOffset, "0");
    frame->UpdateTitle();
    EXPECT_EQ(frame->windowTitle(), "standard.bmt - Quillmark  [ Standardeingabe ]");
    d.textFormat = 3;
    frame->UpdateTitle();
    EXPECT_EQ(frame->windowTitle(), "standard.bmt - Quillmark  [ Pseudo Meldergruppe ]");
    d.textFormat = 4;
    frame->UpdateTitle();
    EXPECT_EQ(frame->windowTitle(), "standard.bmt - Quillmark  [ 2x20 Zeichen ]");
    d.textFormat = 1;
    frame->UpdateTitle();
    EXPECT_EQ(frame->windowTitle(), "standard.bmt - Quillmark  ");
    d.textFormat = 2;
    frame->MarkUntitled();
    frame->UpdateTitle();
    EXPECT_EQ(frame->windowTitle(), "Unbenannt - Quillmark  [ Standardeingabe ]");
    EXPECT_EQ(doc->GetPathName(), "Unbenannt");
    // The title follows the project by itself when the loop falls idle.
    doc->SetProjectPath("/tmp/halle.bmt");
    QTRY_COMPARE_WITH_TIMEOUT(frame->windowTitle(),
                              QString("halle.bmt - Quillmark  [ Standardeingabe ]"), 5000);
}

TEST_F(MainFrame, EnableRulesOverThePanelTypes)
{
    struct Case
    {
        int panelType;
        int variant;
        const char* id;
        bool convert, bmf, panelInfo, panelTexts;
    };
    const Case cases[] = {
        {PanelType::Alarmcom, 0, nullptr, true, true, true, true},
        {PanelType::Alarmcom, 1, nullptr, false, false, true, true},
        {PanelType::Aritech, 0, nullptr, true, true, true, false},
        {PanelType::Bosch, 0, nullptr, true, true, true, false},
        {PanelType::EffEff, 1, "EE 1", true, true, true, false},
        {PanelType::EffEff, 4, "EE 4", false, false, true, false},
        {PanelType::EffEff, 5, "EE 5", false, false, true, false},
        {PanelType::Esser, 0, nullptr, true, true, true, false},
        {PanelType::Minimax, 0, nullptr, true, true, true, false},
        {PanelType::Notifier, 0, nullptr, false, true, true, false},
        {PanelType::Siemens, 0, nullptr, true, true, true, false},
        {PanelType::Siemens, 1, nullptr, true, true, false, true},
        {PanelType::TotalWalther, 0, nullptr, true, true, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(QString("panel %1 variant %2").arg(c.panelType).arg(c.variant).toStdString());
        Open(WriteProject(QString("p%1%2.bmt").arg(c.panelType).arg(c.variant), 2, c.panelType,
                          {{"0001", "01", "a", "b"}}, c.variant, c.id));
        ASSERT_EQ(doc->Data().panelType, c.panelType);
        ASSERT_EQ(doc->Data().panelVariant, c.variant);
        frame->UpdateMenus();
        EXPECT_EQ(enabled(Cmd::ConvertFormat), c.convert);
        EXPECT_EQ(enabled(Cmd::ImportBmf), c.bmf);
        EXPECT_EQ(enabled(Cmd::PanelInfo), c.panelInfo);
        EXPECT_EQ(enabled(Cmd::ImportPanelTexts), c.panelTexts);
        EXPECT_TRUE(enabled(Cmd::FileSave));
        EXPECT_TRUE(enabled(Cmd::DeleteTexts));
        EXPECT_TRUE(enabled(Cmd::SendTexts));
        EXPECT_TRUE(enabled(Cmd::ReadTexts));
        EXPECT_TRUE(enabled(Cmd::StartLineprobe));
        EXPECT_TRUE(enabled(Cmd::Configuration));
        EXPECT_TRUE(enabled(Cmd::GroupOffset));
        TearDown();
    }
}

TEST_F(MainFrame, TextsStillToComeFromTheFatDisableTheProjectCommands)
{
    OpenStandard();
    doc->Data().textFormat = FormatFromFat;
    for (const int id : {Cmd::FileSave, Cmd::FileSaveAs, Cmd::InsertTexts, Cmd::DeleteTexts,
                         Cmd::SendTexts, Cmd::ConvertFormat, Cmd::ImportBmf, Cmd::PanelInfo})
        EXPECT_FALSE(enabled(id)) << id;
    for (const int id : {Cmd::FileNew, Cmd::FileOpen, Cmd::ReadTexts, Cmd::AppExit,
                         Cmd::StartLineprobe, Cmd::AppAbout, Cmd::HelpTopics})
        EXPECT_TRUE(enabled(id)) << id;
}

TEST_F(MainFrame, AnOpenPortDisablesWhatMustNotInterfere)
{
    Open(WriteProject("bosch.bmt", 2, PanelType::Bosch, {{"0001", "01", "a", "b"}}));
    FatSimProcess fat(QStringLiteral(FATSIM_PATH));
    ASSERT_FALSE(fat.Start().isEmpty());
    CSerial& serial = view()->Serial();
    serial.SetPortName(fat.Device());
    QObject receiver;
    ASSERT_TRUE(serial.Open(&receiver));
    for (const int id :
         {Cmd::Configuration, Cmd::GroupOffset, Cmd::SendLzCoding, Cmd::LzAssignment})
        EXPECT_FALSE(enabled(id)) << id;
    for (const int id : {Cmd::ReadTexts, Cmd::ReadLzCoding, Cmd::StartLineprobe, Cmd::SendTexts})
        EXPECT_TRUE(enabled(id)) << id;
    serial.Close();
    for (const int id :
         {Cmd::Configuration, Cmd::GroupOffset, Cmd::SendLzCoding, Cmd::LzAssignment})
        EXPECT_TRUE(enabled(id)) << id;
}

TEST_F(MainFrame, StatusPanesFollowSelectionAndRows)
{
    OpenStandard();
    EXPECT_EQ(frame->CountPaneText(), "Anzahl Meldungen: 4");
    EXPECT_EQ(frame->PositionPaneText(), "Position: 0");
    EXPECT_EQ(frame->MessagePaneText(), U("Drücken Sie F1, um Hilfe zu erhalten."));
    QTest::mouseClick(view()->viewport(), Qt::LeftButton, {}, cellRect(2, 4).center());
    EXPECT_EQ(frame->PositionPaneText(), "Position: 3")
        << cellRect(2, 4).center().y() << " " << view()->currentIndex().row();
    QTest::keyClick(view(), Qt::Key_Down);
    EXPECT_EQ(frame->CurrentPosition(), 4);
    auto* count = frame->findChild<QLabel*>("ID_INDICATOR_COUNT");
    auto* position = frame->findChild<QLabel*>("ID_INDICATOR_POSITION");
    ASSERT_TRUE(count && position);
    QTRY_COMPARE_WITH_TIMEOUT(position->text(), QString("Position: 4"), 30000);
    EXPECT_EQ(count->text(), "Anzahl Meldungen: 4");
    // The prompt of a highlighted command replaces the idle text while it is shown.
    frame->statusBar()->showMessage(action(Cmd::FileNew)->statusTip());
    EXPECT_EQ(frame->MessagePaneText(), "Erstellt ein neues Projekt.");
}

TEST_F(MainFrame, ViewCommandsHideAndShowToolbarAndStatusBar)
{
    OpenStandard();
    EXPECT_TRUE(action(Cmd::ViewToolbar)->isCheckable());
    commands().Execute(Cmd::ViewToolbar);
    EXPECT_FALSE(frame->ToolBar()->isVisible());
    commands().UpdateUi();
    EXPECT_FALSE(action(Cmd::ViewToolbar)->isChecked());
    commands().Execute(Cmd::ViewStatusBar);
    EXPECT_FALSE(frame->statusBar()->isVisible());
    commands().Execute(Cmd::ViewToolbar);
    commands().Execute(Cmd::ViewStatusBar);
    EXPECT_TRUE(frame->ToolBar()->isVisible());
    EXPECT_TRUE(frame->statusBar()->isVisible());
}

TEST_F(MainFrame, PanelInfoAboutBoxAndLineprobe)
{
    Open(WriteProject("bosch.bmt", 2, PanelType::Bosch, {{"0001", "01", "a", "b"}}));
    EXPECT_TRUE(commands().Execute(Cmd::PanelInfo));
    ASSERT_EQ(messages.Boxes().size(), 1);
    EXPECT_EQ(messages.Boxes()[0].text,
              "Hersteller: Bosch\nZentrale: UEZ1000 / UEZ2000 / BZ500 / UGM");
    EXPECT_EQ(messages.Boxes()[0].icon, msg::Information);

    ProjectData d{};
    d.panelType = PanelType::EffEff;
    std::strcpy(d.panelId, "EE 5");
    EXPECT_EQ(CMainFrame::PanelInfoText(d), "Hersteller: eff eff\nWINMAG");
    d.panelType = PanelType::Siemens;
    d.panelVariant = 1;
    EXPECT_EQ(CMainFrame::PanelInfoText(d), "Hersteller: Siemens\nZentrale: AlgoRex 1115");
    d.panelType = PanelType::None;
    EXPECT_TRUE(CMainFrame::PanelInfoText(d).startsWith("Hersteller: "));

    QString seen;
    OnNextModal([&](QWidget* modal) {
        seen = modal->windowTitle();
        auto* version = modal->findChild<QLabel*>("version");
        EXPECT_TRUE(version && version->text() == "Quillmark Version 1.4.8");
    });
    EXPECT_TRUE(commands().Execute(Cmd::AppAbout));
    EXPECT_EQ(seen, U("Info über Quillmark"));

    // No lineprobe in the folder: nothing happens, no message.
    messages.Clear();
    EXPECT_FALSE(CMainFrame::StartLineprobe(m_dir.path()));
    EXPECT_TRUE(messages.Entries().isEmpty());
    // One there: started without arguments, not waited for.
    QFile script(m_dir.filePath("lineprobe"));
    ASSERT_TRUE(script.open(QIODevice::WriteOnly));
    script.write("#!/bin/sh\necho \"$#\" > \"$(dirname \"$0\")/started\"\n");
    script.close();
    script.setPermissions(script.permissions() | QFileDevice::ExeOwner);
    EXPECT_TRUE(CMainFrame::StartLineprobe(m_dir.path()));
    const auto argumentCount = [this] {
        QFile started(m_dir.filePath("started"));
        return started.open(QIODevice::ReadOnly) ? started.readAll().trimmed() : QByteArray();
    };
    QTRY_COMPARE_WITH_TIMEOUT(argumentCount(), QByteArray("0"), 10000);
}

TEST_F(MainFrame, NewOpenSaveAndTheRecentFiles)
{
    const QString other = WriteProject("other.bmt", 3, PanelType::Aritech,
                                       {{"0007", "01", "Pumpe", "Keller", "0002"}});
    OpenStandard();
    EXPECT_EQ(frame->RecentFiles().Entries().value(0),
              QFileInfo(m_dir.filePath("standard.bmt")).absoluteFilePath());

    // Strg+N: an empty untitled project of the same format; nothing is asked, nothing changed.
    QTest::keyClick(view(), Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(rows(), 0);
    EXPECT_EQ(frame->windowTitle(), "Unbenannt.bmt - Quillmark  [ Standardeingabe ]");
    EXPECT_TRUE(messages.Boxes().isEmpty());

    // Strg+O with the file dialog answered.
    messages.FileNext(other);
    QTest::keyClick(view(), Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(rows(), 1);
    EXPECT_EQ(doc->Data().textFormat, 3);
    EXPECT_EQ(frame->windowTitle(), "other.bmt - Quillmark  [ Pseudo Meldergruppe ]");
    EXPECT_EQ(frame->RecentFiles().Entries().size(), 2);
    emit frame->Popup(0)->aboutToShow();
    EXPECT_TRUE(menuTexts(0).contains(
        "&1 " + QDir::toNativeSeparators(QFileInfo(other).absoluteFilePath())));
    EXPECT_FALSE(menuTexts(0).contains("Letzte Datei"));

    // A file that cannot be read keeps the project shown as it was.
    const QString broken = m_dir.filePath("broken.bmt");
    QFile file(broken);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("nothing of a project");
    file.close();
    EXPECT_FALSE(frame->OpenDocument(broken));
    ASSERT_EQ(messages.Texts(), QStringList{"Unbekanntes Dateiformat"});
    EXPECT_EQ(rows(), 1);
    EXPECT_EQ(cell(0, Column::Text1).trimmed(), "Pumpe");
    EXPECT_EQ(doc->Data().textFormat, 3);
    EXPECT_EQ(frame->windowTitle(), "other.bmt - Quillmark  [ Pseudo Meldergruppe ]");

    // Strg+S writes the project where it came from.
    doc->SetModifiedFlag(true);
    QTest::keyClick(view(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_FALSE(doc->IsModified());
}

TEST_F(MainFrame, DroppedFileOpensLikeOpen)
{
    const QString other = WriteProject("dropped.bmt", 4, PanelType::Aritech,
                                       {{"0001", "01", "eins", "zwei"}, {"0001", "02", "a", "b"}});
    OpenStandard();
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(other)});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(frame.get(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(frame.get(), &drop);
    QTRY_COMPARE_WITH_TIMEOUT(rows(), 2, 30000);
    EXPECT_EQ(frame->windowTitle(), "dropped.bmt - Quillmark  [ 2x20 Zeichen ]");
}

TEST_F(MainFrame, HelpOpensTheProgramsOwnPages)
{
    OpenStandard();
    ASSERT_FALSE(CHelpWindow::HelpDirectory().isEmpty()) << "help pages beside the program";
    commands().Execute(Cmd::HelpTopics);
    ASSERT_NE(frame->HelpWindow(), nullptr);
    EXPECT_TRUE(frame->HelpWindow()->isVisible());
    EXPECT_TRUE(frame->HelpWindow()->Browser()->source().toString().endsWith("index.html"));
    EXPECT_TRUE(frame->HelpWindow()->Browser()->toPlainText().contains("Quillmark"));
    // F1 on the list: the page about entering texts.
    frame->activateWindow();
    view()->setFocus();
    QTRY_VERIFY_WITH_TIMEOUT(QApplication::activeWindow() == frame.get(), 30000);
    QTest::keyClick(view(), Qt::Key_F1);
    EXPECT_TRUE(frame->HelpWindow()->Browser()->source().toString().endsWith("eingabe.html"));
    // Shift+F1, then a click on a toolbar button: that command's entry.
    QTest::keyClick(view(), Qt::Key_F1, Qt::ShiftModifier);
    QWidget* send = frame->ToolBar()->widgetForAction(action(Cmd::SendTexts));
    ASSERT_NE(send, nullptr);
    QTest::mouseClick(send, Qt::LeftButton);
    EXPECT_EQ(frame->HelpWindow()->Browser()->source().fragment(), "cmd32773");
    EXPECT_TRUE(messages.Boxes().isEmpty()) << "the click explained, not carried out";
    for (const QString& page :
         {"projekt.html", "zentralen.html", "uebertragung.html", "schnittstellen.html",
          "befehle.html", "importieren.html", "drucken.html"})
        EXPECT_TRUE(frame->HelpWindow()->ShowPage(page)) << page.toStdString();
}

TEST_F(MainFrame, EntryDialogFromTheMenuStoresAndAdvances)
{
    OpenStandard();
    QTest::keyClick(frame.get(), Qt::Key_B, Qt::AltModifier);
    QTRY_VERIFY_WITH_TIMEOUT(frame->Popup(1)->isVisible(), 30000);
    QTest::keyClick(frame->Popup(1), Qt::Key_E);
    CEntryDlg* dialog = nullptr;
    QTRY_VERIFY_WITH_TIMEOUT((dialog = CEntryDlg::FindOpen("Standardeingabe")) != nullptr, 30000);
    QTRY_VERIFY_WITH_TIMEOUT(QApplication::activeWindow() == dialog, 30000);
    EXPECT_EQ(QApplication::focusWidget(), dialog->GroupField());
    QTest::keyClicks(dialog->GroupField(), "12");
    QTest::keyClick(dialog, Qt::Key_M, Qt::AltModifier);
    ASSERT_EQ(QApplication::focusWidget(), dialog->DetectorField());
    QTest::keyClicks(dialog->DetectorField(), "5");
    QTest::keyClick(dialog, Qt::Key_1, Qt::AltModifier);
    QTest::keyClicks(QApplication::focusWidget(), "Halle Ost");
    QTest::keyClick(dialog, Qt::Key_2, Qt::AltModifier);
    QTest::keyClicks(QApplication::focusWidget(), "OG");
    QTest::keyClick(dialog, Qt::Key_K, Qt::AltModifier);
    ASSERT_EQ(rows(), 5);
    EXPECT_EQ(cell(4, Column::Group), "0012");
    EXPECT_EQ(cell(4, Column::Detector), "05");
    EXPECT_EQ(cell(4, Column::Text1).trimmed(), "Halle Ost");
    EXPECT_EQ(dialog->GroupField()->text(), "12");
    EXPECT_EQ(dialog->DetectorField()->text(), "06");
    EXPECT_EQ(frame->MessageCount(), 5);
    // The menu command does nothing while that dialog is open.
    EXPECT_TRUE(commands().Execute(Cmd::InsertTexts));
    EXPECT_EQ(CEntryDlg::FindOpen("Standardeingabe"), dialog);
    dialog->reject();
}

TEST_F(MainFrame, DoubleClickOpensTheRowOrAnEmptyDialog)
{
    OpenStandard();
    QTest::mouseDClick(view()->viewport(), Qt::LeftButton, {}, cellRect(1, Column::Text1).center());
    CEntryDlg* dialog = nullptr;
    QTRY_VERIFY_WITH_TIMEOUT((dialog = CEntryDlg::FindOpen("Standardeingabe")) != nullptr, 30000);
    EXPECT_EQ(dialog->DetectorField()->text(), "02");
    EXPECT_EQ(dialog->Text1Field()->text(), "Halle Sued");
    dialog->reject();
    QTRY_VERIFY_WITH_TIMEOUT(CEntryDlg::FindOpen("Standardeingabe") == nullptr, 30000);
    // Below the last row: empty.
    QTest::mouseDClick(view()->viewport(), Qt::LeftButton, {},
                       QPoint(20, view()->viewport()->height() - 5));
    QTRY_VERIFY_WITH_TIMEOUT((dialog = CEntryDlg::FindOpen("Standardeingabe")) != nullptr, 30000);
    EXPECT_EQ(dialog->GroupField()->text(), "");
    EXPECT_EQ(dialog->Text1Field()->text(), "");
    dialog->reject();
}
