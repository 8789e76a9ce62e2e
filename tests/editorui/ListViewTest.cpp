#include "FrameFixture.h"

#include "CCellEdit.h"
#include "CListRowDelegate.h"

// Qt
#include <QHeaderView>
#include <QImage>
#include <QScrollBar>
#include <QStyle>
#include <QTimer>

namespace {

const QColor kYellow(255, 255, 0);

// Runs action on the popup menu that the next event opens, then lets it go.
void OnNextPopup(std::function<void(QMenu*)> action)
{
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, action] {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            timer->stop();
            timer->deleteLater();
            action(menu);
        }
    });
    timer->start();
}

} // namespace

class ListView : public FrameFixture
{
protected:
    QColor Pixel(int row, int column)
    {
        const QImage image = view()->viewport()->grab().toImage();
        const QRect r = cellRect(row, column);
        // Left edge, between the cell's margin and its text.
        return image.pixelColor(r.left() + 3, r.top() + 2);
    }

    // A project of one group with detectors 1 to count.
    void OpenDetectors(int count)
    {
        QList<TestRecord> many;
        static QList<QByteArray> numbers;
        for (int i = int(numbers.size()) + 1; i <= count; ++i)
            numbers << QByteArray::number(i);
        for (int i = 0; i < count; ++i)
            many.append({"0001", numbers[i].constData(), "Text", "Zwei"});
        Open(WriteProject("many.bmt", 2, PanelType::Aritech, many));
    }

    // Clicks a cell of the selected row and waits for the edit box.
    CCellEdit* EditCell(int row, int column)
    {
        view()->SelectRow(row);
        view()->edit(doc->Records().index(row, column));
        CCellEdit* edit = view()->CellEdit();
        EXPECT_NE(edit, nullptr);
        if (edit)
            edit->setFocus();
        return edit;
    }

    // Return ends the edit; the list stores it once the box has closed.
    void Enter(CCellEdit* edit)
    {
        QTest::keyClick(edit, Qt::Key_Return);
        QTRY_VERIFY_WITH_TIMEOUT(view()->CellEdit() == nullptr, 30000);
    }

    QStringList Row(int row)
    {
        QStringList out;
        for (int c = 1; c < 6; ++c)
            out << QString::fromLatin1(cell(row, c)).trimmed();
        return out;
    }
};

TEST_F(ListView, FormatMarksAndSelection)
{
    OpenStandard();
    view()->clearSelection();
    EXPECT_EQ(Pixel(0, Column::Group), kYellow);
    EXPECT_EQ(Pixel(0, Column::Text2), kYellow);
    view()->SelectRow(1);
    EXPECT_EQ(Pixel(1, Column::Group),
              view()->palette().color(QPalette::Active, QPalette::Highlight));
    EXPECT_EQ(Pixel(0, Column::Group), kYellow);
    TearDown();

    Open(WriteProject("pseudo.bmt", 3, PanelType::Aritech, {{"0001", "01", "a", "b", "0009"}}));
    view()->clearSelection();
    EXPECT_GT(view()->columnWidth(Column::PseudoGroup), 0) << "format 3 keeps its pseudo group";
    EXPECT_EQ(Pixel(0, Column::Group), view()->palette().color(QPalette::Base));
    EXPECT_EQ(Pixel(0, Column::PseudoGroup), kYellow);
    TearDown();

    Open(WriteProject("free.bmt", 4, PanelType::Aritech, {{"0001", "01", "a", "b"}}));
    view()->clearSelection();
    EXPECT_EQ(Pixel(0, Column::Detector), view()->palette().color(QPalette::Base));
    EXPECT_EQ(Pixel(0, Column::Text1), kYellow);
    EXPECT_TRUE(CListRowDelegate::Marked("F", Column::Text2));
    EXPECT_FALSE(CListRowDelegate::Marked("X", Column::Text2));
}

TEST_F(ListView, TextsCutWithDotsAndHiddenColumnsSnapBack)
{
    const QFontMetrics m(QFont("Courier"));
    EXPECT_EQ(CListEditView::FitTextToWidth("abc", 1000, m), "abc");
    const QString cut = CListEditView::FitTextToWidth("Halle Nord Erdgeschoss",
                                                      m.horizontalAdvance("Halle N..."), m);
    EXPECT_EQ(cut, "Halle N...");
    EXPECT_EQ(CListEditView::FitTextToWidth("Halle", 0, m), "");

    OpenStandard();
    EXPECT_EQ(view()->columnWidth(Column::Tag), 0);
    EXPECT_EQ(view()->columnWidth(Column::PseudoGroup), 0);
    view()->horizontalHeader()->resizeSection(Column::Tag, 40);
    view()->horizontalHeader()->resizeSection(Column::PseudoGroup, 40);
    view()->viewport()->repaint();
    EXPECT_EQ(view()->columnWidth(Column::Tag), 0);
    EXPECT_EQ(view()->columnWidth(Column::PseudoGroup), 0);
}

TEST_F(ListView, InPlaceEditOfEveryColumn)
{
    Open(WriteProject(
        "pseudo.bmt", 3, PanelType::Aritech,
        {{"0001", "01", "Halle", "EG", "0009"}, {"0002", "01", "Lager", "KG", "0010"}}));
    // Text 1 is stored padded with blanks and shown without them.
    CCellEdit* edit = EditCell(0, Column::Text1);
    ASSERT_TRUE(edit);
    EXPECT_EQ(edit->text(), "Halle");
    EXPECT_EQ(edit->GetLimitText(), doc->Data().text1Length);
    EXPECT_EQ(view()->EditColumn(), Column::Text1);
    QTest::keyClick(edit, Qt::Key_End);
    QTest::keyClicks(edit, " Nord");
    Enter(edit);
    EXPECT_EQ(cell(0, Column::Text1), "Halle Nord");
    EXPECT_EQ(view()->EditColumn(), -1);
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(view()->selectionModel()->selectedRows().value(0).row(), 0);

    edit = EditCell(0, Column::Text2);
    ASSERT_TRUE(edit);
    edit->selectAll();
    QTest::keyClicks(edit, "Erdgeschoss");
    Enter(edit);
    EXPECT_EQ(cell(0, Column::Text2), "Erdgeschoss");

    edit = EditCell(0, Column::PseudoGroup);
    ASSERT_TRUE(edit);
    edit->selectAll();
    QTest::keyClicks(edit, "12");
    Enter(edit);
    EXPECT_EQ(cell(0, Column::PseudoGroup), "0012");

    // A new detector number: the row is padded and stays in key order.
    edit = EditCell(0, Column::Detector);
    ASSERT_TRUE(edit);
    edit->selectAll();
    QTest::keyClicks(edit, "7");
    Enter(edit);
    EXPECT_EQ(cell(0, Column::Detector), "07");

    // A new group moves the row to its place, selected.
    edit = EditCell(0, Column::Group);
    ASSERT_TRUE(edit);
    edit->selectAll();
    QTest::keyClicks(edit, "3");
    Enter(edit);
    EXPECT_EQ(Row(0), (QStringList{"0002", "0010", "01", "Lager", "KG"}));
    EXPECT_EQ(Row(1), (QStringList{"0003", "0012", "07", "Halle Nord", "Erdgeschoss"}));
    EXPECT_EQ(view()->selectionModel()->selectedRows().value(0).row(), 1);
    EXPECT_TRUE(messages.Boxes().isEmpty());
}

TEST_F(ListView, NumberCellsTakeDigitsOnlyAndTheLimit)
{
    OpenStandard();
    CCellEdit* edit = EditCell(0, Column::Detector);
    ASSERT_TRUE(edit);
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClicks(edit, "a");
    EXPECT_EQ(messages.BeepCount(), 1);
    QTest::keyClicks(edit, "123");
    EXPECT_EQ(edit->text(), "12") << "no more than the detector digits";
    QTest::keyClick(edit, Qt::Key_Backspace);
    EXPECT_EQ(edit->text(), "1");
    QTest::keyClick(edit, Qt::Key_Escape);
    QTRY_VERIFY_WITH_TIMEOUT(view()->CellEdit() == nullptr, 30000);
    EXPECT_EQ(cell(0, Column::Detector), "01") << "Escape keeps the cell";
    EXPECT_EQ(view()->EditColumn(), -1);
}

TEST_F(ListView, ExistingKeyReplacesThatRowAndRefusedEditRestoresTheRow)
{
    OpenStandard();
    // Detector 02 of group 1 becomes 01: row 0 takes its texts, the edited row goes.
    CCellEdit* edit = EditCell(1, Column::Detector);
    ASSERT_TRUE(edit);
    edit->selectAll();
    QTest::keyClicks(edit, "1");
    Enter(edit);
    ASSERT_EQ(rows(), 3);
    EXPECT_EQ(Row(0), (QStringList{"0001", "", "01", "Halle Sued", "EG"}));

    // Group 0 is refused: the message, then the row exactly as it was, where it was.
    const QStringList before = Row(1);
    edit = EditCell(1, Column::Group);
    ASSERT_TRUE(edit);
    edit->selectAll();
    QTest::keyClicks(edit, "0");
    Enter(edit);
    EXPECT_EQ(messages.Texts(),
              QStringList{QString::fromUtf8("Die MelderGruppe 0 ist nicht zulässig !")});
    ASSERT_EQ(rows(), 3);
    EXPECT_EQ(Row(1), before);
    EXPECT_EQ(view()->selectionModel()->selectedRows().size(), 1);
    EXPECT_EQ(view()->selectionModel()->selectedRows().value(0).row(), 1);
}

TEST_F(ListView, UpAndDownEndTheEditAndMoveTabIsSwallowed)
{
    OpenStandard();
    CCellEdit* edit = EditCell(1, Column::Text2);
    ASSERT_TRUE(edit);
    edit->selectAll();
    QTest::keyClicks(edit, "OG");
    QTest::keyClick(edit, Qt::Key_Tab);
    EXPECT_EQ(view()->CellEdit(), edit) << "Tab does not leave the cell";
    QTest::keyClick(edit, Qt::Key_Down);
    EXPECT_EQ(cell(1, Column::Text2), "OG");
    EXPECT_EQ(view()->CellEdit(), nullptr);
    EXPECT_EQ(view()->currentIndex().row(), 2);
}

TEST_F(ListView, DeleteByKeyMenuAccessKeysAndContextMenu)
{
    OpenStandard();
    // Two rows with Ctrl and the Del key.
    QTest::mouseClick(view()->viewport(), Qt::LeftButton, {}, cellRect(0, 4).center());
    QTest::mouseClick(view()->viewport(), Qt::LeftButton, Qt::ControlModifier,
                      cellRect(2, 4).center());
    ASSERT_EQ(view()->selectionModel()->selectedRows().size(), 2);
    QTest::keyClick(view(), Qt::Key_Delete);
    ASSERT_EQ(rows(), 2);
    EXPECT_EQ(cell(0, Column::Text1).trimmed(), "Halle Sued");
    EXPECT_EQ(cell(1, Column::Text1).trimmed(), "Lager");
    EXPECT_EQ(frame->MessageCount(), 2);
    EXPECT_TRUE(doc->IsModified());

    // Alt+B, L: "Texte &löschen" from the menu.
    view()->SelectRow(1);
    QTest::keyClick(frame.get(), Qt::Key_B, Qt::AltModifier);
    QTRY_VERIFY_WITH_TIMEOUT(frame->Popup(1)->isVisible(), 30000);
    QTest::keyClick(frame->Popup(1), Qt::Key_L);
    ASSERT_EQ(rows(), 1);
    EXPECT_EQ(cell(0, Column::Text1).trimmed(), "Halle Sued");

    // The context menu: "Texte &einfügen", separator, "Texte &löschen"; the right click does
    // not change the selection.
    view()->SelectRow(0);
    QStringList entries;
    OnNextPopup([&](QMenu* menu) {
        for (QAction* a : menu->actions())
            entries << (a->isSeparator() ? QString("-") : a->text());
        QTest::keyClick(menu, Qt::Key_L);
    });
    const QPoint at = cellRect(0, 4).center();
    QTest::mousePress(view()->viewport(), Qt::RightButton, {}, at);
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, view()->viewport()->mapToGlobal(at));
    QApplication::sendEvent(view()->viewport(), &event);
    EXPECT_EQ(entries, (QStringList{QString::fromUtf8("Texte &einfügen"), "-",
                                    QString::fromUtf8("Texte &löschen")}));
    EXPECT_EQ(rows(), 0);
    EXPECT_EQ(frame->MessageCount(), 0);
}

TEST_F(ListView, TheFrameWidensByAScrollBarWhileRowsOverflow)
{
    OpenDetectors(30);
    EXPECT_GE(view()->CountPerPage(), 20);
    EXPECT_LT(view()->CountPerPage(), 30);
    const int extent = view()->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, view());
    QTRY_VERIFY_WITH_TIMEOUT(view()->ScrollBarWidened(), 30000);
    const int wide = frame->width();
    // Delete down to one page: the frame narrows again by the same width.
    view()->selectionModel()->select(
        QItemSelection(doc->Records().index(0, 0), doc->Records().index(14, 5)),
        QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    commands().Execute(Cmd::DeleteTexts);
    EXPECT_EQ(rows(), 15);
    QTRY_VERIFY_WITH_TIMEOUT(!view()->ScrollBarWidened(), 30000);
    EXPECT_EQ(frame->width(), wide - extent);
}

TEST_F(ListView, FirstSelectedLooksAtTheVisiblePageOnly)
{
    OpenDetectors(30);
    const int beyond = view()->CountPerPage() + 2;
    ASSERT_LT(beyond, 30);
    view()->clearSelection();
    EXPECT_EQ(view()->GetFirstSelected(), -1);
    const auto select = [this](int row) {
        view()->selectionModel()->select(doc->Records().index(row, 0),
                                         QItemSelectionModel::Select | QItemSelectionModel::Rows);
    };
    select(beyond);
    EXPECT_EQ(view()->GetFirstSelected(), -1) << "beyond the top row + a page + 1";
    view()->verticalScrollBar()->setValue(3);
    EXPECT_EQ(view()->TopIndex(), 3);
    EXPECT_EQ(view()->GetFirstSelected(), beyond);
    select(4);
    EXPECT_EQ(view()->GetFirstSelected(), 4);
}

TEST_F(ListView, TheSharedEntryCheckRefusesBeforeTheRowIsTouched)
{
    OpenStandard();
    CCellEdit* edit = EditCell(2, Column::Text1);
    ASSERT_TRUE(edit);
    // What typing cannot produce may still arrive as the box's text.
    edit->setText(QString::fromUtf8("Halle \u0101"));
    Enter(edit);
    ASSERT_EQ(messages.Boxes().size(), 1);
    EXPECT_EQ(messages.Boxes()[0].caption, "Hinweis");
    EXPECT_EQ(messages.BeepCount(), 1);
    EXPECT_EQ(Row(2), (QStringList{"0002", "", "00", "Buero", "1. OG"}));
    EXPECT_EQ(view()->selectionModel()->selectedRows().value(0).row(), 2);
    EXPECT_EQ(rows(), 4);

    // Room for a fifth digit, which only Minimax panels may fill above 9999.
    messages.Clear();
    doc->Data().groupDigits = 5;
    edit = EditCell(0, Column::Group);
    ASSERT_TRUE(edit);
    edit->setText(QStringLiteral("12345"));
    Enter(edit);
    ASSERT_EQ(messages.Boxes().size(), 1);
    EXPECT_TRUE(messages.Boxes()[0].text.contains("1 - 9999"));
    EXPECT_EQ(Row(0).first(), "0001");
}

TEST_F(ListView, HomeAndEndTakeTheSelectionAndDeleteTakesOnlyWhatIsSeen)
{
    OpenDetectors(60);
    auto selected = [this] {
        QList<int> out;
        for (const QModelIndex& index : view()->selectionModel()->selectedRows())
            out << index.row();
        std::sort(out.begin(), out.end());
        return out;
    };
    const struct
    {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        QList<int> rows;
    } cases[] = {{Qt::Key_Home, {}, {0}},
                 {Qt::Key_End, {}, {59}},
                 {Qt::Key_Home, Qt::ControlModifier, {0}},
                 {Qt::Key_End, Qt::ControlModifier, {59}},
                 {Qt::Key_Home, Qt::ShiftModifier, {0, 1, 2, 3, 4, 5}}};
    for (const auto& c : cases) {
        view()->SelectRow(0);
        for (int i = 0; i < 5; ++i)
            QTest::keyClick(view(), Qt::Key_Down);
        QTest::keyClick(view(), c.key, c.modifiers);
        EXPECT_EQ(view()->currentIndex().row(), c.rows.first() == 0 ? 0 : 59) << c.key;
        EXPECT_EQ(selected(), c.rows) << c.key << c.modifiers;
        const QRect current = view()->visualRect(view()->currentIndex());
        EXPECT_TRUE(view()->viewport()->rect().intersects(current)) << c.key;
    }

    // Row 59 stays selected out of sight below the page: Del deletes only row 0.
    view()->SelectRow(0);
    view()->selectionModel()->select(doc->Records().index(59, 0),
                                     QItemSelectionModel::Select | QItemSelectionModel::Rows);
    view()->scrollToTop();
    ASSERT_EQ(selected(), (QList<int>{0, 59}));
    QTest::keyClick(view(), Qt::Key_Delete);
    EXPECT_EQ(rows(), 59);
    EXPECT_EQ(selected(), (QList<int>{58}));
}
