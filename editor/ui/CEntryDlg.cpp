#include "CEntryDlg.h"

#include "CEditHistory.h"
#include "CMaskEdit.h"
#include "CMessages.h"
#include "CQuillmarkDoc.h"
#include "CodePage.h"
#include "ProjectRules.h"
#include "ProjectTypes.h"
#include "RecordEntry.h"
#include "TextFormats.h"

// Qt
#include <QAbstractItemView>
#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QShortcutEvent>
#include <QTimer>
#include <QVBoxLayout>

#include <cstring>

namespace {

// A push button whose access key clicks at once, without the pressed-look delay of a
// shortcut click, so that holding or repeating Alt+K stores one record per key.
class CImmediateButton : public QPushButton
{
public:
    using QPushButton::QPushButton;

protected:
    bool event(QEvent* e) override
    {
        if (e->type() == QEvent::Shortcut && isEnabled() &&
            !static_cast<QShortcutEvent*>(e)->isAmbiguous()) {
            click();
            return true;
        }
        return QPushButton::event(e);
    }
};

// A label whose access key selects its field's whole text even when the field has the focus
// already, so that Alt+2 after "&Kopieren" replaces Text 2 instead of appending to it.
class CAccessLabel : public QLabel
{
public:
    using QLabel::QLabel;

protected:
    bool event(QEvent* e) override
    {
        if (e->type() == QEvent::Shortcut)
            if (auto* field = qobject_cast<CMaskEdit*>(buddy()); field && field->hasFocus())
                field->SelectWhole();
        return QLabel::event(e);
    }
};

QLabel* Label(const QString& text, QWidget* buddy, QWidget* parent)
{
    auto* label = new CAccessLabel(text, parent);
    label->setBuddy(buddy);
    return label;
}

} // namespace

CEntryDlg::CEntryDlg(Kind kind, ProjectData* data, CRecordList* records, QWidget* parent)
    : QDialog(parent), m_kind(kind), m_data(data), m_records(*records)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    setWindowTitle(Caption(kind));
    BuildLayout();
}

QString CEntryDlg::Caption(Kind kind)
{
    return QString::fromLatin1(TextFormats::Of(kind)->fullName);
}

bool CEntryDlg::KindOfFormat(int textFormat, Kind& kind)
{
    if (!TextFormats::Of(textFormat))
        return false;
    kind = Kind(textFormat);
    return true;
}

CEntryDlg* CEntryDlg::FindOpen(const QString& caption)
{
    const auto widgets = QApplication::topLevelWidgets();
    for (QWidget* w : widgets) {
        auto* dlg = qobject_cast<CEntryDlg*>(w);
        if (dlg && dlg->isVisible() && dlg->windowTitle() == caption)
            return dlg;
    }
    return nullptr;
}

CEntryDlg::Layout CEntryDlg::LayoutOf(const ProjectData& d)
{
    return {d.textFormat,  d.groupDigits, d.pseudoGroupDigits, d.detectorDigits,
            d.text1Length, d.text2Length, d.panelType,         d.panelVariant};
}

bool CEntryDlg::Layout::operator==(const Layout& o) const
{
    return textFormat == o.textFormat && groupDigits == o.groupDigits &&
           pseudoGroupDigits == o.pseudoGroupDigits && detectorDigits == o.detectorDigits &&
           text1Length == o.text1Length && text2Length == o.text2Length &&
           panelType == o.panelType && panelVariant == o.panelVariant;
}

bool CEntryDlg::FitsProject() const
{
    return m_layout == LayoutOf(*m_data);
}

void CEntryDlg::CloseStale()
{
    const auto widgets = QApplication::topLevelWidgets();
    for (QWidget* w : widgets) {
        auto* dlg = qobject_cast<CEntryDlg*>(w);
        if (dlg && dlg->isVisible() && !dlg->FitsProject())
            dlg->reject();
    }
}

CEntryDlg* CEntryDlg::OpenForProject(CQuillmarkDoc& doc, QWidget* frame, int row,
                                     QAbstractItemView* rows)
{
    Kind kind;
    if (!KindOfFormat(doc.Data().textFormat, kind) || FindOpen(Caption(kind)))
        return nullptr;
    auto* dlg = new CEntryDlg(kind, &doc.Data(), &doc.Records(), frame);
    dlg->m_history = &doc.History();
    dlg->m_rows = rows;
    dlg->Fill(row);
    dlg->PlaceBesideRows();
    dlg->show();
    dlg->raise();
    dlg->activateWindow();
    return dlg;
}

void CEntryDlg::BuildLayout()
{
    const bool notifier = m_kind == TwoLines && m_data->panelType == PanelType::Notifier;

    // Created in tab order: group, pseudo group, detector, Text 1, Text 2, the buttons.
    m_group = new CMaskEdit(this);
    if (m_kind == Pseudo)
        m_pseudo = new CMaskEdit(this);
    m_detector = new CMaskEdit(this);
    m_text1 = new CMaskEdit(this);
    m_text2 = new CMaskEdit(this);
    m_ok = new QPushButton(QStringLiteral("OK"), this);
    m_copy = new CImmediateButton(QStringLiteral("&Kopieren"), this);
    m_cancel = new QPushButton(QStringLiteral("Abbrechen"), this);
    m_ok->setDefault(true);

    m_groupLabel =
        Label(notifier ? QStringLiteral("&Zentrale/Loop") : QStringLiteral("Melder&Gruppe"),
              m_group, this);
    m_detectorLabel =
        Label(notifier ? QStringLiteral("&Adresse") : QStringLiteral("&Melder"), m_detector, this);
    m_separator = new QLabel(notifier ? QStringLiteral(" ") : QStringLiteral("/"), this);
    const bool spaced = m_kind == Standard;
    QLabel* text1Label =
        Label(spaced || m_kind == TwoLines ? QStringLiteral("Text &1") : QStringLiteral("Text&1"),
              m_text1, this);
    QLabel* text2Label =
        Label(spaced || m_kind == TwoLines ? QStringLiteral("Text &2") : QStringLiteral("Text&2"),
              m_text2, this);

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(6);
    switch (m_kind) {
    case Standard:
        grid->addWidget(m_groupLabel, 0, 0);
        grid->addWidget(m_detectorLabel, 0, 2);
        grid->addWidget(text1Label, 0, 3);
        grid->addWidget(m_group, 1, 0);
        grid->addWidget(m_separator, 1, 1);
        grid->addWidget(m_detector, 1, 2);
        grid->addWidget(m_text1, 1, 3);
        grid->addWidget(text2Label, 2, 0, 1, 4);
        grid->addWidget(m_text2, 3, 0, 1, 4);
        break;
    case Pseudo:
        grid->addWidget(m_groupLabel, 0, 0);
        grid->addWidget(m_group, 1, 0);
        m_pseudoLabel = Label(QStringLiteral("&PseudoMG"), m_pseudo, this);
        grid->addWidget(m_pseudoLabel, 2, 0);
        grid->addWidget(m_detectorLabel, 2, 2);
        grid->addWidget(text1Label, 2, 3);
        grid->addWidget(m_pseudo, 3, 0);
        grid->addWidget(m_separator, 3, 1);
        grid->addWidget(m_detector, 3, 2);
        grid->addWidget(m_text1, 3, 3);
        grid->addWidget(text2Label, 4, 0, 1, 4);
        grid->addWidget(m_text2, 5, 0, 1, 4);
        break;
    case TwoLines:
        grid->addWidget(m_groupLabel, 0, 0);
        grid->addWidget(m_detectorLabel, 0, 2);
        grid->addWidget(m_group, 1, 0);
        grid->addWidget(m_separator, 1, 1);
        grid->addWidget(m_detector, 1, 2);
        grid->addWidget(text1Label, 2, 0, 1, 4);
        grid->addWidget(m_text1, 3, 0, 1, 4);
        grid->addWidget(text2Label, 4, 0, 1, 4);
        grid->addWidget(m_text2, 5, 0, 1, 4);
        break;
    }
    grid->setColumnStretch(3, 1);
    grid->setRowStretch(grid->rowCount(), 1);

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(m_ok);
    buttons->addWidget(m_copy);
    buttons->addWidget(m_cancel);
    buttons->addStretch(1);

    auto* top = new QHBoxLayout(this);
    top->addLayout(grid, 1);
    top->addSpacing(8);
    top->addLayout(buttons);
    top->setSizeConstraint(QLayout::SetFixedSize);

    connect(m_ok, &QPushButton::clicked, this, &CEntryDlg::OnOK);
    connect(m_copy, &QPushButton::clicked, this, &CEntryDlg::OnCopy);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void CEntryDlg::SizeToChars(CMaskEdit* field, int chars, bool fixed, const QLabel* label)
{
    // Room for the limit in the fixed-pitch font, plus the frame and a caret's width; a number
    // field is as wide as its label above it, so the separator stands right beside it.
    const QFontMetrics fm(field->font());
    int width = fm.horizontalAdvance(QString(qMax(2, chars) + 1, QLatin1Char('W'))) + 12;
    if (label)
        width = qMax(width, label->sizeHint().width());
    if (fixed)
        field->setFixedWidth(width);
    else
        field->setMinimumWidth(width);
}

void CEntryDlg::Fill(int row)
{
    const ProjectData& d = *m_data;
    m_layout = LayoutOf(d);
    MessageRecord rec;
    m_records.GetRecordForEdit(rec, row);

    QByteArray group = rec.group;
    int groupLimit = d.groupDigits;
    if (m_kind == TwoLines && group.startsWith('+')) {
        // A card group shows as "+" and its card digit, without the padding zeros.
        QByteArray digits = group.mid(1);
        while (digits.size() > 1 && digits.startsWith('0'))
            digits.remove(0, 1);
        group = "+" + digits;
        groupLimit = 2;
    }
    m_group->setText(FromCp1252(group));
    m_detector->setText(FromCp1252(rec.detector));
    m_text1->setText(FromCp1252(rec.text1));
    m_text2->setText(FromCp1252(rec.text2));
    if (m_pseudo)
        m_pseudo->setText(FromCp1252(rec.pseudoGroup));

    m_group->SetLimitText(groupLimit);
    m_group->SetGroupDigits(d.groupDigits);
    m_detector->SetLimitText(d.detectorDigits);
    m_text1->SetLimitText(d.text1Length);
    m_text2->SetLimitText(d.text2Length);
    if (m_pseudo)
        m_pseudo->SetLimitText(d.pseudoGroupDigits);

    const bool cards = m_kind == TwoLines && ProjectRules::CardGroupsAllowed(d);
    m_group->SetMode(cards ? CMaskEdit::GroupOrCard : CMaskEdit::Digits);
    m_detector->SetMode(CMaskEdit::Digits);
    if (m_pseudo)
        m_pseudo->SetMode(CMaskEdit::Digits);
    const int textMode = m_kind == Standard && ProjectRules::OutputCardLists(d)
                             ? CMaskEdit::CardList
                             : CMaskEdit::Text;
    m_text1->SetMode(textMode);
    m_text2->SetMode(textMode);

    SizeToChars(m_group, cards ? qMax(d.groupDigits, 2) : d.groupDigits, true, m_groupLabel);
    SizeToChars(m_detector, d.detectorDigits, true, m_detectorLabel);
    if (m_pseudo) {
        // The pseudo group stands under the group: one column, one width.
        SizeToChars(m_pseudo, d.pseudoGroupDigits, true, m_pseudoLabel);
        const int width = qMax(m_pseudo->minimumWidth(), m_group->minimumWidth());
        m_pseudo->setFixedWidth(width);
        m_group->setFixedWidth(width);
    }
    SizeToChars(m_text1, d.text1Length, m_kind != TwoLines);
    SizeToChars(m_text2, d.text2Length, false);

    m_group->setFocus();
    m_group->SelectWhole();
}

bool CEntryDlg::ReadChecked(Button button, MessageRecord& rec)
{
    const ProjectData& d = *m_data;
    RecordInput input;
    input.group = m_group->text();
    input.detector = m_detector->text();
    input.text1 = m_text1->text();
    input.text2 = m_text2->text();
    if (m_pseudo)
        input.pseudoGroup = m_pseudo->text();
    input.copying = button == Button::Copy;

    // Every rule of typed fields, before the list sees the bytes.
    int column = -1;
    const RecordRefusal problem = RecordEntry::Check(d, input, rec, &column);
    if (problem) {
        if (!problem.beep) {
            MessageBox(problem.text, problem.caption);
            return false;
        }
        BeepMessageBox(problem.text, problem.caption);
        CMaskEdit* field = column == Column::Group         ? m_group
                           : column == Column::PseudoGroup ? m_pseudo
                           : column == Column::Detector    ? m_detector
                           : column == Column::Text1       ? m_text1
                           : column == Column::Text2       ? m_text2
                                                           : nullptr;
        if (field)
            field->setFocus();
        return false;
    }
    // The dialog decides tag and pseudo group, even should the project's format have changed
    // while it was open.
    rec.formatTag = TextFormats::Of(m_kind)->Tag();
    rec.pseudoGroup = m_pseudo ? ToCp1252(input.pseudoGroup) : QByteArray();
    return true;
}

void CEntryDlg::OnOK()
{
    MessageRecord rec;
    if (!ReadChecked(Button::Ok, rec))
        return;
    if (!Store(rec, true))
        return; // everything typed stays
    accept();
}

void CEntryDlg::OnCopy()
{
    MessageRecord rec;
    if (!ReadChecked(Button::Copy, rec))
        return;
    if (!Store(rec, m_kind != Pseudo))
        return;
    Advance(rec);
    CMaskEdit* next = NextFieldAfterCopy();
    next->setFocus(Qt::OtherFocusReason);
    next->SelectWhole();
}

CMaskEdit* CEntryDlg::NextFieldAfterCopy() const
{
    // Along a run the numbers advance by themselves and Text 1 (in the numbered formats the
    // rest of the number line, in "2 x 20" the first line) names the area the run shares;
    // Text 2, the line of its own, names each detector's place: Text 2 in all three dialogs.
    return m_text2;
}

void CEntryDlg::PlaceBesideRows()
{
    QWidget* frame = parentWidget();
    if (!frame)
        return;
    QScreen* screen = frame->screen();
    const QRect area = screen ? screen->availableGeometry() : QRect();
    const QRect outer = frame->frameGeometry();
    const QRect rows =
        m_rows ? QRect(m_rows->viewport()->mapToGlobal(QPoint(0, 0)), m_rows->viewport()->size())
               : frame->geometry();
    adjustSize();
    const QSize size = frameGeometry().size();
    const int gap = 4;
    const int top = qMax(area.top(), qMin(rows.top(), area.bottom() + 1 - size.height()));
    // A wide window leaves room right of the columns, inside the list.
    const int columnsRight = m_rows ? rows.left() + m_rows->sizeHint().width() : rows.right();
    const QList<QPoint> candidates{
        {outer.right() + 1 + gap, top},                // right of the window
        {outer.left() - gap - size.width(), top},      // left of it
        {rows.left(), outer.bottom() + 1 + gap},       // below it
        {qMin(columnsRight, rows.right()) + gap, top}, // right of the columns
    };
    for (const QPoint& at : candidates) {
        const QRect place(at, size);
        const bool insideRows = at == candidates.last();
        if ((area.isEmpty() || area.contains(place)) &&
            (!insideRows || rows.contains(place.topRight()))) {
            move(at);
            return;
        }
    }
    // No room around the window: over the lowest rows, so the upper rows stay in sight.
    const int bottom = qMin(rows.bottom(), area.bottom());
    move(qMax(area.left(), qMin(rows.left(), area.right() + 1 - size.width())),
         qMax(area.top(), bottom + 1 - size.height()));
}

void CEntryDlg::KeepRowAbove(int row)
{
    if (!m_rows || !m_rows->model())
        return;
    // After the list's own scrolling, which runs once the event loop turns.
    QTimer::singleShot(0, this, [this, row] {
        if (!m_rows || !isVisible() || row >= m_rows->model()->rowCount())
            return;
        const QModelIndex index = m_rows->model()->index(row, 0);
        QWidget* viewport = m_rows->viewport();
        const int dialogTop = viewport->mapFromGlobal(frameGeometry().topLeft()).y();
        const QRect dialog(viewport->mapFromGlobal(frameGeometry().topLeft()),
                           frameGeometry().size());
        const QRect cell = m_rows->visualRect(index);
        if (!dialog.intersects(QRect(0, cell.top(), viewport->width(), cell.height())))
            return;
        const int rowHeight = qMax(1, cell.height());
        const int rowsAbove = dialogTop / rowHeight;
        QScrollBar* bar = m_rows->verticalScrollBar();
        const bool perItem = m_rows->verticalScrollMode() == QAbstractItemView::ScrollPerItem;
        const int wanted = perItem ? row - (rowsAbove - 1) : (row - (rowsAbove - 1)) * rowHeight;
        if (rowsAbove >= 1 && wanted <= bar->maximum()) {
            bar->setValue(qMax(0, wanted));
            return;
        }
        // The last rows cannot move up that far: the dialog moves up instead, over the rows
        // above the stored one.
        m_rows->scrollTo(index);
        const QRect shown = m_rows->visualRect(index);
        const QPoint rowsTop = viewport->mapToGlobal(QPoint(0, 0));
        if (shown.top() >= frameGeometry().height())
            move(x(), rowsTop.y());
    });
}

bool CEntryDlg::Store(const MessageRecord& rec, bool show)
{
    // Each stored text ("OK" or "Kopieren") is one step of its own.
    const InsertResult result = m_history
                                    ? m_history->StoreRecord(QStringLiteral("Texte einfügen"), rec)
                                    : m_records.InsertRecord(rec);
    if (result.refusal) {
        BeepMessageBox(result.refusal.text, result.refusal.caption);
        return false;
    }
    if (show) {
        emit RecordPlaced(result.row);
        KeepRowAbove(result.row);
    }
    return true;
}

void CEntryDlg::Advance(const MessageRecord& typed)
{
    const ProjectData& d = *m_data;
    QByteArray detector = typed.detector;
    QByteArray group = typed.group;
    QByteArray pseudo = typed.pseudoGroup;
    const QByteArray zeros(qMax(0, d.detectorDigits), '0');

    bool nextGroup = false;
    if (detector == zeros) {
        nextGroup = true;
    } else {
        CRecordList::IncrementNumber(detector);
        const bool cardRange =
            m_kind == TwoLines && d.panelVariant == 1 && CRecordList::DecimalValue(detector) > 32;
        if (detector.size() > d.detectorDigits || cardRange) {
            nextGroup = true;
            detector = zeros;
            CRecordList::IncrementNumber(detector);
        }
        // Shown with its leading zeros, as the list stores it: a typed 5 advances to 06.
        detector = CRecordList::PadZeros(detector, d.detectorDigits);
    }
    m_detector->setText(FromCp1252(detector));
    if (!nextGroup)
        return;

    CRecordList::IncrementNumber(group);
    // A card group has one card digit: after +9 there is no higher card.
    const bool pastCards = group.startsWith('+') && group.size() > 2;
    if (group.size() > d.groupDigits || pastCards)
        MessageBox(QStringLiteral("Es können keine höheren Meldergruppen eingefügt werden. "),
                   QStringLiteral("Fehler"), msg::Error);
    else
        m_group->setText(FromCp1252(group));

    if (m_kind == Pseudo) {
        CRecordList::IncrementNumber(pseudo);
        if (pseudo.size() > d.pseudoGroupDigits)
            MessageBox(
                QStringLiteral("Es können keine höheren Pseudo Meldergruppen eingefügt werden. "),
                QStringLiteral("Fehler"), msg::Error);
        else
            m_pseudo->setText(FromCp1252(pseudo));
    }
}

void CEntryDlg::done(int result)
{
    QWidget* frame = parentWidget();
    QDialog::done(result);
    if (frame)
        frame->activateWindow();
}
