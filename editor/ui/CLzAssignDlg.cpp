#include "CLzAssignDlg.h"

#include "ProjectData.h"
#include "ProjectRules.h"

// Qt
#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QTableWidget>
#include <QVBoxLayout>

#include <cstring>

namespace {

const char* const kStateNames[CLzAssignDlg::StateCount] = {"nicht Auswerten", "Feuer Alarm", "Ruhe",
                                                           "Abschaltung", "Störung"};

} // namespace

CLzAssignDlg::CLzAssignDlg(char* lzAssignment, QWidget* parent)
    : QDialog(parent), m_target(lzAssignment)
{
    setWindowTitle(QStringLiteral("LZ - Zuweisung"));
    std::memcpy(m_work.data(), lzAssignment, EntryCount);
    m_work[EntryCount] = 0;

    m_combo = new QComboBox(this);
    for (int i = 0; i < StateCount; ++i)
        m_combo->addItem(StateName(i), i);
    m_combo->setCurrentIndex(0);

    m_list = new QTableWidget(0, 2, this);
    m_list->setHorizontalHeaderLabels({QStringLiteral("LZ-Nummer"), QStringLiteral("Zuweisung")});
    m_list->horizontalHeaderItem(0)->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_list->horizontalHeaderItem(1)->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_list->horizontalHeader()->setSectionsClickable(false);
    m_list->horizontalHeader()->setSortIndicatorShown(false);
    m_list->horizontalHeader()->setStretchLastSection(true);
    m_list->verticalHeader()->hide();
    // Rows as high as a line of text, as in a report list.
    m_list->verticalHeader()->setMinimumSectionSize(m_list->fontMetrics().height() + 4);
    m_list->verticalHeader()->setDefaultSectionSize(m_list->fontMetrics().height() + 4);
    // Each column as wide as its longest text, heading or name, in the list's own fonts.
    const QFontMetrics rows = m_list->fontMetrics();
    const QFontMetrics heads = m_list->horizontalHeader()->fontMetrics();
    const int margin = 2 * m_list->style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 16;
    int nameWidth = heads.horizontalAdvance(QStringLiteral("Zuweisung"));
    for (int i = 0; i < StateCount; ++i)
        nameWidth = qMax(nameWidth, rows.horizontalAdvance(StateName(i)));
    const int numberWidth = qMax(80, heads.horizontalAdvance(QStringLiteral("LZ-Nummer")) + margin);
    nameWidth = qMax(100, nameWidth + margin);
    m_list->setColumnWidth(0, numberWidth);
    m_list->setColumnWidth(1, nameWidth);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setShowGrid(false);
    m_list->setWordWrap(false);
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    FillList();

    // Exactly 12 rows show, the scroll bar beside them.
    const int rowHeight = m_list->verticalHeader()->defaultSectionSize();
    const int frame = 2 * m_list->frameWidth();
    m_list->setFixedSize(numberWidth + nameWidth + m_list->verticalScrollBar()->sizeHint().width() +
                             frame,
                         m_list->horizontalHeader()->sizeHint().height() + 12 * rowHeight + frame);

    auto* comboLabel = new QLabel(QStringLiteral("&Zuweisung:"), this);
    comboLabel->setBuddy(m_combo);
    auto* listLabel = new QLabel(QStringLiteral("&LZ-Nummern:"), this);
    listLabel->setBuddy(m_list);

    auto* standard = new QPushButton(QStringLiteral("&Standard LZ-Zuweisung"), this);
    auto* buttons = new QDialogButtonBox(Qt::Vertical, this);
    buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole)->setDefault(true);
    buttons->addButton(QStringLiteral("Abbrechen"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &CLzAssignDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* left = new QVBoxLayout;
    left->addWidget(comboLabel);
    left->addWidget(m_combo);
    left->addSpacing(6);
    left->addWidget(listLabel);
    left->addWidget(m_list);
    auto* right = new QVBoxLayout;
    right->addWidget(buttons);
    right->addStretch(1);
    right->addWidget(standard);
    auto* top = new QHBoxLayout(this);
    top->addLayout(left);
    top->addLayout(right);
    top->setSizeConstraint(QLayout::SetFixedSize);

    connect(m_list, &QTableWidget::itemClicked, this, &CLzAssignDlg::OnClickList);
    connect(m_list, &QTableWidget::itemSelectionChanged, this, &CLzAssignDlg::OnClickList);
    connect(m_combo, qOverload<int>(&QComboBox::activated), this, &CLzAssignDlg::OnSelchangeCombo);
    connect(standard, &QPushButton::clicked, this, &CLzAssignDlg::OnStandard);
    setTabOrder(m_combo, m_list);
    // The choice box shows the state of the selected row from the start.
    m_list->selectRow(0);
    m_combo->setFocus();
}

QString CLzAssignDlg::StateName(int value)
{
    return value >= 0 && value < StateCount ? QString::fromUtf8(kStateNames[value]) : QString();
}

int CLzAssignDlg::StateValue(const QString& name)
{
    for (int i = 0; i < StateCount; ++i)
        if (name == StateName(i))
            return i;
    return UnknownState;
}

void CLzAssignDlg::FillList()
{
    m_list->clearContents();
    m_list->setRowCount(EntryCount);
    for (int i = 0; i < EntryCount; ++i) {
        auto* number = new QTableWidgetItem(QString::number(i));
        number->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        m_list->setItem(i, 0, number);
        const int value = m_work[i];
        // A value no name stands for (read from a FAT or a file) shows as its number.
        const QString name =
            value < StateCount ? StateName(value) : QStringLiteral("Wert %1").arg(value);
        m_list->setItem(i, 1, new QTableWidgetItem(name));
    }
}

void CLzAssignDlg::OnClickList()
{
    const auto rows = m_list->selectionModel()->selectedRows();
    if (rows.isEmpty())
        return;
    int first = rows.first().row();
    for (const QModelIndex& index : rows)
        first = qMin(first, index.row());
    const QString text = m_list->item(first, 1)->text();
    const int value = StateValue(text);
    m_combo->setCurrentIndex(value < StateCount ? value : -1);
}

void CLzAssignDlg::OnSelchangeCombo(int index)
{
    if (index < 0 || index >= StateCount)
        return;
    const auto rows = m_list->selectionModel()->selectedRows();
    for (const QModelIndex& row : rows)
        m_list->item(row.row(), 1)->setText(StateName(index));
}

void CLzAssignDlg::OnStandard()
{
    ProjectData standard{};
    ProjectRules::SetDefaultLzAssignment(standard);
    std::memcpy(m_work.data(), standard.lzAssignment, EntryCount);
    FillList();
    OnClickList();
}

void CLzAssignDlg::accept()
{
    for (int i = 0; i < EntryCount; ++i)
        m_target[i] = char(StateValue(m_list->item(i, 1)->text()));
    m_target[EntryCount] = 0;
    QDialog::accept();
}
