// The two trace views over one recording session under the offscreen platform: model, both
// lists fed once, selection coupling, red lines, dropped files, list files and the two
// dialogs.
#include "CFatDataDlg.h"
#include "CLineBreakDlg.h"
#include "CLineprobeDoc.h"
#include "CLineprobeHexView.h"
#include "CLineprobeView.h"
#include "CMessageRecorder.h"
#include "CRecordingSession.h"
#include "CTraceListModel.h"

// Qt
#include <QAbstractItemModelTester>
#include <QApplication>
#include <QFile>
#include <QFontInfo>
#include <QHeaderView>
#include <QImage>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMimeData>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include <gtest/gtest.h>

namespace {

QByteArray B(std::initializer_list<int> bytes)
{
    QByteArray out;
    for (int b : bytes)
        out.append(char(b));
    return out;
}

QList<QByteArray> Items(const CTraceListView& view)
{
    QList<QByteArray> out;
    for (int i = 0; i < view.ItemCount(); ++i)
        out.append(view.ItemText(i));
    return out;
}

QByteArray ReadFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// Closes the next modal dialog once it is shown and reports what it showed.
void AcceptNextModal(QString* title, QWidget** seen = nullptr)
{
    QTimer::singleShot(0, [title, seen] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal)
            return;
        *title = modal->windowTitle();
        if (seen)
            *seen = modal;
        if (auto* dialog = qobject_cast<QDialog*>(modal))
            dialog->accept();
    });
}

using L = QList<QByteArray>;

class TraceViewsTest : public ::testing::Test
{
protected:
    TraceViewsTest()
    {
        SetProgramTitle(QStringLiteral("Lineprobe"));
        ascii = new CLineprobeView(session);
        hex = new CLineprobeHexView(session);
        ascii->resize(600, 300);
        hex->resize(600, 300);
        ascii->show();
        hex->show();
    }
    ~TraceViewsTest() override
    {
        delete ascii;
        delete hex;
    }

    // What the recording does for one received chunk.
    void Receive(const QByteArray& chunk) { session.ShowChunk(chunk); }
    void SetPanel(int code) { session.TakePanelCode(code); }

    CMessageRecorder messages;
    CLineprobeDoc doc;
    CRecordingSession session{doc};
    CLineprobeView* ascii;
    CLineprobeHexView* hex;
    QTemporaryDir dir;
};

} // namespace

// A text line into lines, announced to the model as the session does.
void AppendText(CLineIndex& lines, CTraceListModel& model, const QByteArray& line)
{
    const CLineIndex::Change change{false, lines.Count()};
    lines.AppendText(line);
    model.Announce(change);
}

TEST(TraceListModel, AppendingTouchesOnlyTheEnd)
{
    CLineIndex lines;
    CTraceListModel model(lines, QStringLiteral("Empfangene Daten"));
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
    LineRules::Settings s;
    const auto chunk = [&](const QByteArray& bytes) {
        model.Announce(
            lines.AppendChunk(LineRules::View::Ascii, LineRules::Rule::LineFeed, s, bytes));
    };

    AppendText(lines, model, "----");
    inserted.clear();
    // A text line without line feed is continued by the line-feed rule.
    chunk("AB\nC");
    ASSERT_EQ(model.rowCount(), 2);
    EXPECT_EQ(model.ItemText(0), "----AB\n");
    EXPECT_EQ(model.ItemText(1), "C");
    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(changed.first().at(0).toModelIndex().row(), 0);
    changed.clear();
    inserted.clear();

    chunk("D\nE\nF");
    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(changed.first().at(0).toModelIndex().row(), 1);
    EXPECT_EQ(changed.first().at(1).toModelIndex().row(), 1);
    ASSERT_EQ(inserted.count(), 1);
    EXPECT_EQ(inserted.first().at(1).toInt(), 2);
    EXPECT_EQ(inserted.first().at(2).toInt(), 3);
    EXPECT_EQ(model.ItemText(1), "CD\n");
    EXPECT_EQ(model.data(model.index(1)).toString(), QStringLiteral("CD ")); // LF shown as blank
    EXPECT_EQ(model.headerData(0, Qt::Horizontal).toString(), QStringLiteral("Empfangene Daten"));
}

TEST(TraceListModel, MarkedLinesAreRed)
{
    CLineIndex lines;
    CTraceListModel model(lines, QStringLiteral("h"));
    for (const char* line : {".AB", "    .AB", "AB.", "    A."})
        AppendText(lines, model, line);
    EXPECT_EQ(model.data(model.index(0), Qt::ForegroundRole).value<QColor>(), QColor(255, 0, 0));
    EXPECT_EQ(model.data(model.index(1), Qt::ForegroundRole).value<QColor>(), QColor(255, 0, 0));
    EXPECT_FALSE(model.data(model.index(2), Qt::ForegroundRole).isValid());
    EXPECT_FALSE(model.data(model.index(3), Qt::ForegroundRole).isValid());
}

TEST_F(TraceViewsTest, LookOfBothViews)
{
    EXPECT_EQ(ascii->windowTitle(), QStringLiteral("ASCII - Zeichen"));
    EXPECT_EQ(hex->windowTitle(), QStringLiteral("Hex - Werte"));
    EXPECT_EQ(ascii->model()->headerData(0, Qt::Horizontal).toString(),
              QStringLiteral("Empfangene Daten"));
    EXPECT_EQ(hex->model()->headerData(0, Qt::Horizontal).toString(),
              QStringLiteral("Empfangene Hex Daten"));
    EXPECT_EQ(ascii->model()->columnCount(), 1);
    EXPECT_TRUE(QFontInfo(ascii->font()).fixedPitch());
    const QFontMetrics metrics(ascii->font());
    EXPECT_EQ(ascii->columnWidth(0), metrics.horizontalAdvance(QString(100, QLatin1Char(' '))));
    EXPECT_EQ(hex->columnWidth(0),
              QFontMetrics(hex->font()).horizontalAdvance(QString(300, QLatin1Char(' '))));
    EXPECT_FALSE(ascii->horizontalHeader()->sectionsClickable());
    EXPECT_EQ(ascii->selectionBehavior(), QAbstractItemView::SelectRows);
    // Wider than its column, the heading looks the same beyond it as just before its end.
    ascii->resize(ascii->columnWidth(0) + 300, 200);
    ascii->show();
    QHeaderView* header = ascii->horizontalHeader();
    const QImage heading = header->grab().toImage();
    const int y = heading.height() / 2;
    ASSERT_GT(heading.width(), ascii->columnWidth(0) + 100);
    EXPECT_EQ(heading.pixel(heading.width() - 20, y), heading.pixel(ascii->columnWidth(0) - 20, y));
}

TEST_F(TraceViewsTest, CaptionOfTheChildWindow)
{
    CLineprobeDoc other;
    CRecordingSession otherSession(other);
    QMdiArea area;
    auto* view = new CLineprobeHexView(otherSession);
    QMdiSubWindow* sub = area.addSubWindow(view);
    sub->setWindowTitle(QStringLiteral("x"));
    area.show();
    sub->show();
    EXPECT_EQ(sub->windowTitle(), QStringLiteral("Hex - Werte"));
}

TEST_F(TraceViewsTest, TextLinesAndChunksReachBothViews)
{
    SetPanel(5);
    session.ShowTextLines("----\r\n\r\nFAT-Version: 1\r\n\r\n");
    Receive(B({0x41, 0x42, 0xC1, 0xC2, 0x43}));
    EXPECT_EQ(Items(*ascii), L({"----", "", "FAT-Version: 1", "AB", ".AB", "C"}));
    EXPECT_EQ(Items(*hex), L({"----", "", "FAT-Version: 1", "41 42 ", ".41 42 ", "43 "}));

    session.ShowErrorText("Break Error");
    EXPECT_EQ(Items(*ascii).mid(6), L({"Break Error", ""}));
    EXPECT_EQ(Items(*hex).mid(6), L({"Break Error", ""}));
    EXPECT_TRUE(messages.Texts().isEmpty());
}

TEST_F(TraceViewsTest, UnsupportedPanelCodeIsRefusedInBothViews)
{
    SetPanel(0);
    EXPECT_FALSE(session.ShowChunk("AB"));
    EXPECT_EQ(messages.Texts(),
              QStringList({QStringLiteral("Diese Funktion wird noch nicht unterstützt"),
                           QStringLiteral("Diese Funktion wird in der Hex-Ansicht noch nicht "
                                          "unterstützt")}));
    EXPECT_EQ(ascii->ItemCount(), 0);
    EXPECT_EQ(hex->ItemCount(), 0);
    SetPanel(15);
    EXPECT_FALSE(session.ShowChunk("A"));
    EXPECT_EQ(hex->ItemCount(), 0);
}

TEST_F(TraceViewsTest, LengthRuleUsesTheLineSettingsOfTheOptions)
{
    SetPanel(1);
    session.Options().lines = {3, 0x0D};
    Receive("AB\rCDEFG");
    EXPECT_EQ(Items(*ascii), L({"AB\r", "CDE", "FG"}));
    EXPECT_EQ(Items(*hex), L({"41 42 0D ", "43 44 45 ", "46 47 "}));
}

TEST_F(TraceViewsTest, SelectionIsCoupledThroughTheDocument)
{
    SetPanel(9);
    for (int i = 0; i < 10; ++i)
        Receive(QByteArray::number(i) + "\n");
    ASSERT_EQ(hex->ItemCount(), 10);

    const QRect row7 = hex->visualRect(hex->model()->index(7, 0));
    ASSERT_TRUE(row7.isValid());
    QTest::mouseClick(hex->viewport(), Qt::LeftButton, {}, row7.center());
    ASSERT_EQ(hex->selectionModel()->selectedRows().size(), 1);
    EXPECT_EQ(hex->selectionModel()->selectedRows().first().row(), 7);
    ASSERT_EQ(ascii->selectionModel()->selectedRows().size(), 1);
    EXPECT_EQ(ascii->selectionModel()->selectedRows().first().row(), 7);

    ascii->selectRow(2);
    EXPECT_EQ(hex->selectionModel()->selectedRows().first().row(), 2);
    EXPECT_EQ(hex->selectionModel()->selectedRows().size(), 1);

    // An index beyond the other list leaves its selection alone: with break byte 0x20 the
    // ASCII view ends a line at 0x00 (written as a blank), the hex view does not.
    SetPanel(1);
    session.Options().lines.breakValue = 0x20;
    Receive(QByteArray("A\0B", 3));
    ASSERT_EQ(ascii->ItemCount(), 11);
    ASSERT_EQ(hex->ItemCount(), 10);
    ascii->selectRow(10);
    EXPECT_EQ(hex->selectionModel()->selectedRows().first().row(), 2);
}

TEST_F(TraceViewsTest, MarkedLinesArePaintedRed)
{
    SetPanel(5);
    Receive(B({0x41, 0x41, 0x41, 0xC1, 0xC1, 0xC1, 0xC1}));
    ascii->scrollToTop();
    QApplication::processEvents();
    const QImage image = ascii->viewport()->grab().toImage();
    auto redPixels = [&](int row) {
        const QRect r = ascii->visualRect(ascii->model()->index(row, 0));
        int count = 0;
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x < qMin(r.right(), image.width()); ++x) {
                const QColor c = image.pixelColor(x, y);
                if (c.red() > 200 && c.green() < 80 && c.blue() < 80)
                    ++count;
            }
        return count;
    };
    EXPECT_EQ(redPixels(0), 0);
    EXPECT_GT(redPixels(1), 0);
}

TEST_F(TraceViewsTest, DroppedListFileLoadsBothViews)
{
    const QString base = dir.filePath(QStringLiteral("run1"));
    WriteFile(base + ".tvs", "    AB\r\n    .CD\r\n");
    WriteFile(base + ".tvh", "    41 42 \r\n");
    session.ShowTextLines("old");

    auto drop = [](QWidget* target, const QList<QUrl>& urls) {
        QMimeData mime;
        mime.setUrls(urls);
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, {});
        QApplication::sendEvent(target, &enter);
        const bool accepted = enter.isAccepted();
        QDropEvent dropEvent(QPointF(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, {});
        QApplication::sendEvent(target, &dropEvent);
        return accepted;
    };
    // Capitals, other extensions and two files are ignored.
    EXPECT_FALSE(drop(ascii->viewport(), {QUrl::fromLocalFile(dir.filePath("RUN1.TVS"))}));
    EXPECT_FALSE(drop(ascii->viewport(), {QUrl::fromLocalFile(base + ".tds")}));
    EXPECT_FALSE(drop(ascii->viewport(),
                      {QUrl::fromLocalFile(base + ".tvs"), QUrl::fromLocalFile(base + ".tvh")}));
    EXPECT_EQ(Items(*ascii), L({"old"}));
    EXPECT_TRUE(doc.tracePath.isEmpty());

    EXPECT_TRUE(drop(ascii->viewport(), {QUrl::fromLocalFile(base + ".tvs")}));
    EXPECT_EQ(doc.tracePath, base + ".tvs");
    EXPECT_EQ(Items(*ascii), L({"    AB", "    .CD"}));
    EXPECT_EQ(Items(*hex), L({"    41 42 "}));
    EXPECT_TRUE(ascii->Model()->IsMarked(1));

    // Dropped on the hex view: both lists load all the same.
    WriteFile(base + ".tvs", "    XY\r\n");
    EXPECT_TRUE(drop(hex->viewport(), {QUrl::fromLocalFile(base + ".tvh")}));
    EXPECT_EQ(Items(*ascii), L({"    XY"}));
    EXPECT_TRUE(messages.Texts().isEmpty());
}

TEST_F(TraceViewsTest, OpenCommandLoadsBothListsAndReportsAMissingOne)
{
    const QString base = dir.filePath(QStringLiteral("run2"));
    WriteFile(base + ".tvs", "    A\r\n");
    messages.FileNext(base + ".tvs");
    session.ShowTextLines("keep");
    session.OpenListFile();
    EXPECT_EQ(Items(*ascii), L({"    A"}));
    // No .tvh beside it: the message, and the hex list stays.
    EXPECT_EQ(messages.Texts(), QStringList({QStringLiteral("File konnte nicht geöffnet werden")}));
    EXPECT_EQ(Items(*hex), L({"keep"}));
    ASSERT_FALSE(messages.Entries().isEmpty());
    EXPECT_EQ(messages.Entries().first().dialog.filter,
              QStringLiteral("Analyse - Dateien (.tvs) | *.tvs||"));
}

TEST_F(TraceViewsTest, SaveWhileRecordingWritesBothLists)
{
    SetPanel(9);
    Receive("A\r\nB");
    doc.recordingFlag = 1;
    const QString path = dir.filePath(QStringLiteral("save.tvs"));
    messages.FileNext(path);
    session.SaveLists(LineRules::View::Ascii);
    EXPECT_EQ(ReadFile(path), "    A\r\n\r\n    B\r\n");
    EXPECT_EQ(ReadFile(dir.filePath("save.tvh")), "    41 0D 0A \r\n    42 \r\n");
    EXPECT_EQ(messages.Entries().first().dialog.filter,
              QStringLiteral("Trace - Dateien (.tvs) | *.tvs||"));

    // From the hex view the partner path ends in "s".
    const QString hexPath = dir.filePath(QStringLiteral("other.tvh"));
    messages.FileNext(hexPath);
    session.SaveLists(LineRules::View::Hex);
    EXPECT_EQ(ReadFile(hexPath), "    41 0D 0A \r\n    42 \r\n");
    EXPECT_EQ(ReadFile(dir.filePath("other.tvs")), "    A\r\n\r\n    B\r\n");

    // Reloading the ASCII list gives the items with their four blanks, CR LF gone.
    doc.OpenDocument(path);
    session.LoadList(LineRules::View::Ascii);
    EXPECT_EQ(Items(*ascii), L({"    A", "    B"}));
}

TEST_F(TraceViewsTest, AStartEmptiesBothListsBeforeItAsksForTheTracePath)
{
    session.ShowTextLines("x");
    session.Control().OnStartRecording(); // the dialog is cancelled
    EXPECT_EQ(ascii->ItemCount(), 0);
    EXPECT_EQ(hex->ItemCount(), 0);
    ASSERT_EQ(messages.Entries().size(), 1);
    EXPECT_EQ(messages.Entries().first().kind, CMessageRecorder::SaveDialog);
    EXPECT_EQ(messages.Entries().first().dialog.filter,
              QStringLiteral("Trace - Dateien (.tds) | *.tds||"));
    EXPECT_EQ(doc.recordingFlag, 0);
}

TEST_F(TraceViewsTest, IdentificationDialogRefusesBeforeAConnection)
{
    CFatDataDlg::ShowIdentification(doc, hex);
    ASSERT_EQ(messages.Boxes().size(), 1);
    EXPECT_EQ(messages.Boxes().first().text,
              QStringLiteral("Sie müssen zuerst mit dem FAT Verbindung aufnehmen."));
    EXPECT_EQ(messages.Boxes().first().icon, msg::Information);

    QByteArray ident = "EFx0xxxxxxV1.23Axxxxxx";
    ident.append(char(0x18));
    ident.append(QByteArray(9, 'x'));
    doc.DecodeIdentification(ident);
    QString title;
    QWidget* seen = nullptr;
    QString version, maker;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<CFatDataDlg*>(QApplication::activeModalWidget());
        if (dialog) {
            version = dialog->FatVersionText();
            maker = dialog->MakerText();
        }
    });
    AcceptNextModal(&title, &seen);
    CFatDataDlg::ShowIdentification(doc, ascii);
    EXPECT_EQ(title, QStringLiteral("FAT Anpassung"));
    EXPECT_EQ(version, QStringLiteral("V1.23A"));
    EXPECT_EQ(maker, QStringLiteral("Esser"));
    EXPECT_EQ(messages.Boxes().size(), 1);
}

TEST(LineBreakDialog, ShowsTheSettings)
{
    CLineBreakDlg none(40, 1000);
    EXPECT_EQ(none.windowTitle(), QStringLiteral("Konfiguration"));
    EXPECT_EQ(none.LengthEdit()->text(), QStringLiteral("40"));
    EXPECT_EQ(none.BreakEdit()->text(), QStringLiteral("FFFF"));
    CLineBreakDlg cr(12, 0x0D);
    EXPECT_EQ(cr.BreakEdit()->text(), QStringLiteral("0D"));
    EXPECT_EQ(CLineBreakDlg::BreakText(0xAB), QStringLiteral("AB"));
    EXPECT_EQ(CLineBreakDlg::BreakText(0), QStringLiteral("00"));
}

TEST(LineBreakDialog, ValidatesOnOk)
{
    CMessageRecorder messages;
    SetProgramTitle(QStringLiteral("Lineprobe"));
    CLineBreakDlg dialog(40, 1000);
    dialog.show();
    auto* ok = dialog.findChild<QPushButton*>(QStringLiteral("ok"));
    ASSERT_NE(ok, nullptr);

    auto typeAndOk = [&](const QString& length, const QString& breakText) {
        dialog.LengthEdit()->clear();
        QTest::keyClicks(dialog.LengthEdit(), length);
        dialog.BreakEdit()->clear();
        QTest::keyClicks(dialog.BreakEdit(), breakText);
        dialog.setResult(0);
        QTest::mouseClick(ok, Qt::LeftButton);
        return dialog.result() == QDialog::Accepted;
    };

    EXPECT_FALSE(typeAndOk("0", "FFFF"));
    EXPECT_FALSE(typeAndOk("101", ""));
    EXPECT_FALSE(typeAndOk("abc", ""));
    EXPECT_FALSE(typeAndOk("5", "12345"));
    EXPECT_FALSE(typeAndOk("5", "zz"));
    EXPECT_FALSE(typeAndOk("5", " 5"));
    EXPECT_EQ(
        messages.Texts(),
        QStringList({QStringLiteral("Geben Sie bitte eine ganze Zahl zwischen 1 und 100 ein."),
                     QStringLiteral("Geben Sie bitte eine ganze Zahl zwischen 1 und 100 ein."),
                     QStringLiteral("Geben Sie bitte eine ganze Zahl zwischen 1 und 100 ein."),
                     QStringLiteral("Geben Sie bitte nicht mehr als 4 Zeichen ein."),
                     QStringLiteral("Geben Sie bitte zwei Hexadezimalziffern (0 bis 9, A "
                                    "bis F) ein."),
                     QStringLiteral("Geben Sie bitte zwei Hexadezimalziffern (0 bis 9, A "
                                    "bis F) ein.")}));
    EXPECT_EQ(messages.Boxes().first().caption, QStringLiteral("Lineprobe"));

    EXPECT_TRUE(typeAndOk("100", "0d"));
    EXPECT_EQ(dialog.LineLength(), 100);
    EXPECT_EQ(dialog.BreakValue(), 0x0D);
    dialog.show();
    EXPECT_TRUE(typeAndOk("1", "FFFF"));
    EXPECT_EQ(dialog.BreakValue(), 1000);
    dialog.show();
    EXPECT_TRUE(typeAndOk("7", "A"));
    EXPECT_EQ(dialog.LineLength(), 7);
    EXPECT_EQ(dialog.BreakValue(), 1000);
}

TEST_F(TraceViewsTest, LineBreakDialogStoresIntoTheOptionsOnOkOnly)
{
    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<CLineBreakDlg*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        dialog->LengthEdit()->setText(QStringLiteral("8"));
        dialog->BreakEdit()->setText(QStringLiteral("20"));
        dialog->accept();
    });
    LineRules::Settings& lines = session.Options().lines;
    EXPECT_TRUE(CLineBreakDlg::Edit(lines, ascii));
    EXPECT_EQ(lines.lineLength, 8);
    EXPECT_EQ(lines.breakValue, 0x20);

    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<CLineBreakDlg*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        dialog->LengthEdit()->setText(QStringLiteral("9"));
        dialog->reject();
    });
    EXPECT_FALSE(CLineBreakDlg::Edit(lines, ascii));
    EXPECT_EQ(lines.lineLength, 8);
}
