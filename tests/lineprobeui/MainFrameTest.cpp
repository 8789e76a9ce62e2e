// Lineprobe's main window without a FAT: windows, menus, toolbar, keys, status bar, title,
// options, command line, about box and help.
#include "ShellFixture.h"

#include "CChildFrame.h"
#include "CCommandTable.h"
#include "CLineprobeAboutDlg.h"
#include "CLineprobeApp.h"
#include "CLineprobeHelp.h"
#include "CSerial.h"
#include "Settings.h"

// Qt
#include <QLabel>
#include <QLibraryInfo>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QStatusBar>
#include <QTextBrowser>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QTranslator>

using namespace LineprobeCommands;

namespace {

struct Item
{
    const char* text; // nullptr = separator
    int id;
};

// The menu's items in order: text and command id.
QList<QPair<QString, int>> MenuItems(QMenu* menu)
{
    QList<QPair<QString, int>> items;
    for (QAction* a : menu->actions())
        items.append({a->isSeparator() ? QStringLiteral("-") : a->text(),
                      a->isSeparator() ? 0 : a->data().toInt()});
    return items;
}

QList<QPair<QString, int>> Expected(std::initializer_list<Item> list)
{
    QList<QPair<QString, int>> items;
    for (const Item& i : list)
        items.append({i.text ? QString::fromUtf8(i.text) : QStringLiteral("-"), i.id});
    return items;
}

} // namespace

TEST_F(ShellTest, StartUpShowsBothTraceWindowsTiledOneAboveTheOther)
{
    const QList<QMdiSubWindow*> subs = frame->MdiArea()->subWindowList(QMdiArea::CreationOrder);
    ASSERT_EQ(subs.size(), 2);
    EXPECT_EQ(subs[0]->widget(), frame->AsciiView());
    EXPECT_EQ(subs[1]->widget(), frame->HexView());
    EXPECT_EQ(subs[0]->windowTitle(), QStringLiteral("ASCII - Zeichen"));
    EXPECT_EQ(subs[1]->windowTitle(), QStringLiteral("Hex - Werte"));
    // One above the other, each over the whole width.
    const QRect a = subs[0]->geometry();
    const QRect h = subs[1]->geometry();
    EXPECT_EQ(a.top(), 0);
    EXPECT_EQ(h.top(), a.bottom() + 1);
    EXPECT_EQ(a.width(), frame->MdiArea()->viewport()->width());
    EXPECT_EQ(h.width(), a.width());
    EXPECT_EQ(frame->Monitor(), nullptr);
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("Lineprobe"));
    EXPECT_EQ(frame->StatusText(), QStringLiteral("Lineprobe ist für eine Aufnahme bereit"));
    EXPECT_EQ(Doc()->recordingFlag, 0);
    EXPECT_TRUE(messages.Entries().isEmpty());
}

TEST_F(ShellTest, MenusCarryTheirTextsIdsAndSeparators)
{
    const QList<QAction*> top = frame->menuBar()->actions();
    QStringList titles;
    for (QAction* a : top)
        titles.append(a->text());
    EXPECT_EQ(titles, QStringList({"&Datei", "&Bearbeiten", "FA&T", "&Ansicht", "&Fenster", "&?"}));

    EXPECT_EQ(MenuItems(frame->Menu("&Datei")), Expected({{"Ö&ffnen", 57601},
                                                          {"&Speichern", 57603},
                                                          {nullptr, 0},
                                                          {"&Drucken...\tStrg+P", 57607},
                                                          {"Sei&tenansicht", 57609},
                                                          {"Drucker&einrichtung...", 57606},
                                                          {nullptr, 0},
                                                          {"&Beenden", 57665}}));
    EXPECT_EQ(MenuItems(frame->Menu("&Bearbeiten")),
              Expected({{"&Suchen...\tStrg+F", 57636},
                        {"&Weitersuchen\tF3", 57637},
                        {"&Rückwärts suchen\tUmschalt+F3", 32790},
                        {nullptr, 0},
                        {"&Gehe zu Zeit...\tStrg+G", 32791}}));
    EXPECT_EQ(MenuItems(frame->Menu("FA&T")), Expected({{"Aufzeichnung &starten", 32771},
                                                        {"Aufzeichnung &beenden", 32772},
                                                        {nullptr, 0},
                                                        {"&Daten speichern", 32777},
                                                        {nullptr, 0},
                                                        {"&Konfiguration", 32773},
                                                        {nullptr, 0},
                                                        {"&Expertenmodus", 32779}}));
    EXPECT_EQ(MenuItems(frame->Menu("&Ansicht")), Expected({{"&Symbolleiste", 59392},
                                                            {"S&tatusleiste", 59393},
                                                            {nullptr, 0},
                                                            {"&Zeitstempel", 32792}}));
    EXPECT_EQ(MenuItems(frame->Menu("&Fenster")).mid(0, 2),
              Expected({{"Über&lappend", 57650}, {"&Nebeneinander", 57651}}));
    EXPECT_EQ(MenuItems(frame->Menu("&?")), Expected({{"&Hilfethemen", 57667},
                                                      {nullptr, 0},
                                                      {"Inf&o über Lineprobe...", 57664},
                                                      {nullptr, 0},
                                                      {"&FAT Daten", 32776}}));
}

TEST_F(ShellTest, PromptsAndToolTipsOfTheProgramsCommands)
{
    const struct
    {
        int id;
        const char* status;
        const char* tip;
    } prompts[] = {
        {32771, "Hiermit wird die Aufzeichnung gestartet.", "Analyse start"},
        {32772, "Hiermit wird die Datenaufzeichnung beendet.", "Analyse stop"},
        {32773, "Hier kann die aktive Schnittstelle von COM1 - COM4 festgelegt werden", ""},
        {32777, "Hiermit kann die Datenspeicherung deaktiviert werden", ""},
        {32779, "Hier können die Schnittstellenparameter geändert werden", ""},
        {57600, "Erstellt eine neue Aufzeichnung.", "Neu"},
        {57601, "Öffnet eine bestehende Aufzeichnung.", "Öffnen"},
        {57603, "Speichert den Listeninhalt.", "Speichern"},
        {57607, "Druckt die aktive Ansicht.", "Drucken"},
        {57609, "Zeigt ganze Seiten an.", "Seitenansicht"},
        {32776, "", ""},
    };
    for (const auto& p : prompts) {
        SCOPED_TRACE(p.id);
        EXPECT_EQ(Action(p.id)->statusTip(), QString::fromUtf8(p.status));
        EXPECT_EQ(frame->Commands()->ToolTip(p.id), QString::fromUtf8(p.tip));
    }
    EXPECT_EQ(Action(32771)->toolTip(), QStringLiteral("Analyse start"));

    // The item chosen in an open menu shows its prompt in the first pane.
    QTest::keyClick(frame, Qt::Key_T, Qt::AltModifier);
    QMenu* fat = frame->Menu("FA&T");
    ASSERT_TRUE(WaitFor([fat] { return fat->isVisible(); }));
    if (fat->activeAction() != Action(32771))
        QTest::keyClick(fat, Qt::Key_Down);
    EXPECT_EQ(fat->activeAction(), Action(32771));
    EXPECT_EQ(frame->statusBar()->currentMessage(),
              QStringLiteral("Hiermit wird die Aufzeichnung gestartet."));
    QTest::keyClick(fat, Qt::Key_Escape);
    QTest::keyClick(frame->menuBar(), Qt::Key_Escape);
}

TEST_F(ShellTest, ToolbarHoldsItsButtonsInOrderWithToolTips)
{
    QToolBar* bar = frame->ToolBar();
    QList<int> ids;
    for (QAction* a : bar->actions())
        ids.append(a->isSeparator() ? 0 : a->data().toInt());
    EXPECT_EQ(ids, QList<int>({57601, 57603, 0, 32771, 32772, 0, 57664, 57669}));
    EXPECT_EQ(frame->toolBarArea(bar), Qt::TopToolBarArea);
    EXPECT_EQ(bar->allowedAreas(), Qt::AllToolBarAreas);
    EXPECT_EQ(bar->iconSize(), QSize(16, 16));
    for (QAction* a : bar->actions()) {
        if (!a->isSeparator()) {
            EXPECT_FALSE(a->icon().isNull()) << a->data().toInt();
        }
    }

    // "&Symbolleiste" hides and shows it; the check mark follows.
    EXPECT_TRUE(Action(ViewToolbar)->isChecked());
    MenuCommand(Qt::Key_A, Qt::Key_S);
    EXPECT_TRUE(bar->isHidden());
    EXPECT_FALSE(Enabled(ViewToolbar) && Action(ViewToolbar)->isChecked());
    MenuCommand(Qt::Key_A, Qt::Key_S);
    EXPECT_FALSE(bar->isHidden());
    MenuCommand(Qt::Key_A, Qt::Key_T);
    EXPECT_TRUE(frame->statusBar()->isHidden());
    MenuCommand(Qt::Key_A, Qt::Key_T);
    EXPECT_FALSE(frame->statusBar()->isHidden());
}

TEST_F(ShellTest, StatusPaneIsSizedForTheReadyText)
{
    auto* pane = frame->statusBar()->findChild<QLabel*>(QStringLiteral("statusPane101"));
    ASSERT_NE(pane, nullptr);
    EXPECT_GE(pane->width(), pane->fontMetrics().horizontalAdvance(
                                 QStringLiteral("Lineprobe ist für eine Aufnahme bereit   ")));
    frame->SetStatusText(QString(120, QLatin1Char('x')));
    EXPECT_EQ(frame->StatusText().size(), 100);
    // A menu's prompt is shown whole: the line's health makes room for it, and comes back.
    frame->resize(1280, frame->height());
    QStatusBar* bar = frame->statusBar();
    auto room = [bar] {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        int left = bar->width();
        for (const QWidget* w : bar->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            if (w->isVisible())
                left = qMin(left, w->x());
        return left;
    };
    for (const int id : frame->Commands()->Ids()) {
        const QString prompt = frame->Commands()->Prompt(id);
        bar->showMessage(prompt);
        EXPECT_GE(room(), bar->fontMetrics().horizontalAdvance(prompt)) << id;
        bar->clearMessage();
        EXPECT_TRUE(bar->findChild<QWidget*>(QStringLiteral("healthPane6"))->isVisible());
    }
}

TEST_F(ShellTest, NewAfterStartUpDoesNothing)
{
    CLineprobeView* ascii = frame->AsciiView();
    CLineprobeDoc* doc = Doc();
    QTest::keyClick(frame, Qt::Key_N, Qt::ControlModifier);
    EXPECT_TRUE(frame->Execute(FileNew));
    EXPECT_EQ(frame->MdiArea()->subWindowList().size(), 2);
    EXPECT_EQ(frame->AsciiView(), ascii);
    EXPECT_EQ(Doc(), doc);
}

TEST_F(ShellTest, CloseBoxOfAChildWindowIsIgnored)
{
    for (QMdiSubWindow* sub : frame->MdiArea()->subWindowList()) {
        EXPECT_FALSE(sub->close());
        EXPECT_TRUE(sub->isVisible());
        // Ctrl+F4, the system menu's close key.
        frame->MdiArea()->setActiveSubWindow(sub);
        QTest::keyClick(sub, Qt::Key_F4, Qt::ControlModifier);
        EXPECT_TRUE(sub->isVisible());
    }
    frame->MdiArea()->closeAllSubWindows();
    EXPECT_EQ(frame->MdiArea()->subWindowList().size(), 2);
    for (QMdiSubWindow* sub : frame->MdiArea()->subWindowList())
        EXPECT_TRUE(sub->isVisible());
}

TEST_F(ShellTest, WindowMenuCascadesAndTiles)
{
    const QList<QMdiSubWindow*> subs = frame->MdiArea()->subWindowList(QMdiArea::CreationOrder);
    MenuCommand(Qt::Key_F, Qt::Key_L); // Über&lappend
    EXPECT_NE(subs[0]->geometry().topLeft(), subs[1]->geometry().topLeft());
    EXPECT_GT(subs[1]->geometry().top(), subs[0]->geometry().top());
    EXPECT_LT(subs[1]->geometry().top(), subs[0]->geometry().bottom());
    MenuCommand(Qt::Key_F, Qt::Key_N); // &Nebeneinander
    EXPECT_EQ(subs[1]->geometry().top(), subs[0]->geometry().bottom() + 1);
    EXPECT_EQ(subs[0]->geometry().left(), 0);
    EXPECT_EQ(subs[1]->geometry().left(), 0);

    // The open windows follow in the menu and are reached by their numbers.
    MenuCommand(Qt::Key_F, Qt::Key_2);
    EXPECT_EQ(frame->MdiArea()->currentSubWindow(), subs[1]);
    QStringList texts;
    for (QAction* a : frame->Menu("&Fenster")->actions())
        texts.append(a->isSeparator() ? QStringLiteral("-") : a->text());
    EXPECT_EQ(texts, QStringList({"Über&lappend", "&Nebeneinander", "-", "&1 ASCII - Zeichen",
                                  "&2 Hex - Werte"}));
    EXPECT_TRUE(frame->Menu("&Fenster")->actions().last()->isChecked());
    MenuCommand(Qt::Key_F, Qt::Key_1);
    EXPECT_EQ(frame->MdiArea()->currentSubWindow(), subs[0]);
}

TEST_F(ShellTest, OptionsToggleTheirCheckMarks)
{
    EXPECT_TRUE(Action(SaveData)->isCheckable());
    EXPECT_TRUE(Action(SaveData)->isChecked());
    EXPECT_FALSE(Action(ExpertMode)->isChecked());
    MenuCommand(Qt::Key_T, Qt::Key_D);
    EXPECT_FALSE(frame->SaveDataChecked());
    EXPECT_FALSE(frame->Session()->Options().saveData);
    frame->Commands()->UpdateUi();
    EXPECT_FALSE(Action(SaveData)->isChecked());
    MenuCommand(Qt::Key_T, Qt::Key_E);
    EXPECT_TRUE(frame->ExpertModeChecked());
    EXPECT_TRUE(frame->Session()->Options().expertMode);
    frame->Commands()->UpdateUi();
    EXPECT_TRUE(Action(ExpertMode)->isChecked());
    MenuCommand(Qt::Key_T, Qt::Key_D);
    MenuCommand(Qt::Key_T, Qt::Key_E);
    EXPECT_TRUE(frame->Session()->Options().saveData);
    EXPECT_FALSE(frame->Session()->Options().expertMode);
}

TEST_F(ShellTest, IdleEnablingFollowsTheRecordingFlag)
{
    const QList<int> idleOnly = {StartRecording, SaveData, Configuration, ExpertMode};
    for (int id : idleOnly)
        EXPECT_TRUE(Enabled(id)) << id;
    EXPECT_FALSE(Enabled(StopRecording));
    EXPECT_TRUE(Enabled(FatData));
    Doc()->recordingFlag = 1;
    for (int id : idleOnly)
        EXPECT_FALSE(Enabled(id)) << id;
    EXPECT_TRUE(Enabled(StopRecording));
    EXPECT_TRUE(Enabled(FatData));
    // A disabled check mark cannot be toggled, by menu or otherwise.
    EXPECT_FALSE(frame->Execute(ExpertMode));
    EXPECT_FALSE(frame->ExpertModeChecked());
    Doc()->recordingFlag = 0;
}

TEST_F(ShellTest, PrintCommandsHaveTheirHandlersAndFollowTheActiveView)
{
    // Printing registers itself: with a trace view active all three are there.
    EXPECT_TRUE(Enabled(FilePrint));
    EXPECT_TRUE(Enabled(FilePrintPreview));
    EXPECT_TRUE(Enabled(FilePrintSetup));
    QList<CTraceListView*> printed;
    frame->Commands()->SetHandler(FilePrint, [&] { printed.append(frame->ActiveListView()); });
    EXPECT_TRUE(Enabled(FilePrint));
    QTest::keyClick(frame, Qt::Key_P, Qt::ControlModifier);
    Activate(frame->HexView());
    EXPECT_TRUE(frame->Execute(FilePrint));
    ASSERT_EQ(printed.size(), 2);
    EXPECT_EQ(printed[0], frame->AsciiView());
    EXPECT_EQ(printed[1], frame->HexView());
}

TEST_F(ShellTest, FatDataBeforeAConnectionRefusesFromEveryWindow)
{
    MenuCommand(Qt::Key_Question, Qt::Key_F);
    Activate(frame->HexView());
    EXPECT_TRUE(frame->Execute(FatData));
    EXPECT_EQ(messages.Texts(),
              QStringList({QStringLiteral("Sie müssen zuerst mit dem FAT Verbindung aufnehmen."),
                           QStringLiteral("Sie müssen zuerst mit dem FAT Verbindung aufnehmen.")}));
}

TEST_F(ShellTest, AboutBoxShowsTheVersion)
{
    QString title;
    QString version;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        title = dialog->windowTitle();
        if (auto* label = dialog->findChild<QLabel*>(QStringLiteral("version")))
            version = label->text();
        QTest::keyClick(dialog, Qt::Key_Return);
    });
    MenuCommand(Qt::Key_Question, Qt::Key_O);
    EXPECT_EQ(title, QStringLiteral("Info über Lineprobe"));
    EXPECT_EQ(version, QStringLiteral("Lineprobe Version 1.8"));
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(ShellTest, HelpShowsTheProgramsOwnGermanPages)
{
    ASSERT_FALSE(CLineprobeHelp::HelpDirectory().isEmpty());
    MenuCommand(Qt::Key_Question, Qt::Key_H);
    ASSERT_NE(frame->HelpWindow(), nullptr);
    EXPECT_TRUE(frame->HelpWindow()->isVisible());
    EXPECT_TRUE(frame->HelpWindow()->Browser()->source().toString().endsWith("index.html"));
    EXPECT_TRUE(
        frame->HelpWindow()->Browser()->toPlainText().contains(QStringLiteral("Aufzeichnung")));
    // Help on the active window: the hex view's topic.
    frame->activateWindow();
    Activate(frame->HexView());
    EXPECT_TRUE(frame->Execute(ContextHelp));
    EXPECT_EQ(frame->HelpWindow()->Browser()->source().fragment(), QStringLiteral("hex"));
    EXPECT_TRUE(messages.Texts().isEmpty());
}

TEST_F(ShellTest, CommandLineIsTheTracePathAndTheTitle)
{
    const QString base = dir.filePath(QStringLiteral("halle nord"));
    WriteFile(base + ".tvs", "    AB\r\n    CD\r\n");
    WriteFile(base + ".tvh", "    41 42 \r\n");
    Open(CLineprobeApp::CommandLinePath({"lineprobe", dir.filePath("halle"), "nord.tvs"}));
    EXPECT_EQ(Doc()->tracePath, base + ".tvs");
    EXPECT_EQ(Items(frame->AsciiView()), QStringList({"    AB", "    CD"}));
    EXPECT_EQ(Items(frame->HexView()), QStringList({"    41 42 "}));
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("Lineprobe - halle nord"));
    EXPECT_TRUE(messages.Texts().isEmpty());
}

TEST_F(ShellTest, TitleKeepsTheProgramPartAndTakesTheBaseName)
{
    Doc()->OpenDocument(QStringLiteral("/a/b/run-1.tvs"));
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("Lineprobe - run-1"));
    Doc()->OpenDocument(QStringLiteral("C:\\x\\run2.tds"));
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("Lineprobe - run2"));
}

TEST(LineprobeApp, CommandLineIsTakenWhole)
{
    EXPECT_EQ(CLineprobeApp::CommandLinePath({"lineprobe"}), QString());
    EXPECT_EQ(CLineprobeApp::CommandLinePath({"lineprobe", "/tmp/a b.tvs"}),
              QStringLiteral("/tmp/a b.tvs"));
    EXPECT_EQ(CLineprobeApp::CommandLinePath({"lineprobe", "/tmp/a", "b.tvs"}),
              QStringLiteral("/tmp/a b.tvs"));
}

TEST(LineprobeApp, QtSpeaksGerman)
{
    QCoreApplication* app = QCoreApplication::instance();
    ASSERT_TRUE(CLineprobeApp::LoadTranslations(*app));
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Abbrechen"));
    for (QTranslator* t : app->findChildren<QTranslator*>()) {
        QCoreApplication::removeTranslator(t);
        delete t;
    }
}

TEST_F(ShellTest, ConfigurationReachesThePortDialogFromEitherTraceWindow)
{
    int portDialogs = 0;
    CSerial::SetComPortDialog([&](int& port, const QString&) {
        ++portDialogs;
        port = 3;
        return true;
    });
    MenuCommand(Qt::Key_T, Qt::Key_K);
    EXPECT_EQ(portDialogs, 1);
    EXPECT_EQ(Recorder()->Serial().GetComPort(), 3);
    Activate(frame->HexView());
    EXPECT_TRUE(frame->Execute(Configuration));
    EXPECT_EQ(portDialogs, 2);
    CSerial::SetComPortDialog(CSerial::ComPortDialog());
    // The port number is kept in Lineprobe's settings when the program ends.
    delete frame;
    frame = nullptr;
    EXPECT_EQ(Settings::GetProfileInt(QStringLiteral("Lineprobe"), QStringLiteral("Settings"),
                                      QStringLiteral("ComPort"), 0),
              3);
}
