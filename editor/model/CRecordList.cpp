#include "CRecordList.h"

#include "CodePage.h"
#include "ProjectRules.h"
#include "ProjectTypes.h"

// Qt
#include <QStringList>

#include <cstring>

namespace {

QByteArray WithoutTrailingBlanks(QByteArray text)
{
    while (text.endsWith(' '))
        text.chop(1);
    return text;
}

QByteArray& Cell(MessageRecord& rec, int column)
{
    switch (column) {
    case Column::Tag:
        return rec.formatTag;
    case Column::Group:
        return rec.group;
    case Column::PseudoGroup:
        return rec.pseudoGroup;
    case Column::Detector:
        return rec.detector;
    case Column::Text1:
        return rec.text1;
    }
    return rec.text2;
}

const QByteArray& Cell(const MessageRecord& rec, int column)
{
    return Cell(const_cast<MessageRecord&>(rec), column);
}

// Compares the keys group + detector byte by byte as if each were one string, without
// building them.
int CompareKeys(const QByteArray& g1, const QByteArray& d1, const QByteArray& g2,
                const QByteArray& d2)
{
    if (g1.size() == g2.size()) {
        const int c = std::memcmp(g1.constData(), g2.constData(), size_t(g1.size()));
        return c != 0 ? c : d1.compare(d2);
    }
    const qsizetype n1 = g1.size() + d1.size();
    const qsizetype n2 = g2.size() + d2.size();
    for (qsizetype i = 0; i < n1 && i < n2; ++i) {
        const auto a = uchar(i < g1.size() ? g1[i] : d1[i - g1.size()]);
        const auto b = uchar(i < g2.size() ? g2[i] : d2[i - g2.size()]);
        if (a != b)
            return a < b ? -1 : 1;
    }
    return n1 < n2 ? -1 : n1 > n2 ? 1 : 0;
}

int CompareRows(const MessageRecord& a, const MessageRecord& b)
{
    return CompareKeys(a.group, a.detector, b.group, b.detector);
}

} // namespace

CRecordList::CRecordList(const ProjectData& data, QObject* parent)
    : QAbstractTableModel(parent), m_data(data)
{
}

CRecordList::~CRecordList()
{
    for (MessageRecord* rec : m_rows)
        delete rec;
}

int CRecordList::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : GetCount();
}

int CRecordList::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : CellCount;
}

QVariant CRecordList::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= GetCount() || index.column() >= CellCount)
        return QVariant();
    const QByteArray& cell = Cell(At(index.row()), index.column());
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return FromCp1252(cell);
    case BytesRole:
        return cell;
    }
    return QVariant();
}

QVariant CRecordList::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= CellCount)
        return QVariant();
    const bool shown = m_columnsShown && section != Column::Tag;
    QString header;
    QStringList samples;
    const auto letters = [](int count) { return QString(qMax(0, count), QLatin1Char('W')); };
    switch (shown ? section : -1) {
    case Column::Group:
        header = ProjectRules::GroupHeader(m_data);
        samples = QStringList{header, letters(m_data.groupDigits)};
        break;
    case Column::PseudoGroup:
        header = QStringLiteral("Pseudo MG");
        if (m_data.textFormat == FormatPseudo)
            samples = QStringList{header};
        break;
    case Column::Detector:
        header = ProjectRules::DetectorHeader(m_data);
        samples = QStringList{header};
        break;
    case Column::Text1:
        header = QStringLiteral("Text 1");
        samples = QStringList{letters(m_data.text1Length)};
        break;
    case Column::Text2:
        header = QStringLiteral("Text 2");
        samples = QStringList{letters(m_data.text2Length)};
        break;
    }
    if (role == Qt::DisplayRole)
        return header;
    if (role == WidthSamplesRole)
        return samples;
    return QVariant();
}

Qt::ItemFlags CRecordList::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    // Where the project allows it, cells can be edited in place.
    const Qt::ItemFlags editable =
        ProjectRules::LabelEditAllowed(m_data) ? Qt::ItemIsEditable : Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | editable;
}

void CRecordList::ColumnsChanged(bool shown)
{
    m_columnsShown = shown;
    emit headerDataChanged(Qt::Horizontal, 0, CellCount - 1);
}

long long CRecordList::DecimalValue(const QByteArray& text)
{
    int i = 0;
    const int n = int(text.size());
    while (i < n && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r')))
        ++i;
    bool negative = false;
    if (i < n && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    long long value = 0;
    for (; i < n && text[i] >= '0' && text[i] <= '9'; ++i)
        if (value < 1000000000000LL) // enough for every digit count; no overflow
            value = value * 10 + (text[i] - '0');
    return negative ? -value : value;
}

QByteArray CRecordList::PadZeros(const QByteArray& source, int width)
{
    if (width <= 0)
        return QByteArray();
    if (source.size() >= width)
        return source.right(width);
    return QByteArray(width - int(source.size()), '0') + source;
}

QByteArray CRecordList::FitNumber(const QByteArray& text, int width, bool* fits)
{
    if (fits)
        *fits = true;
    if (width <= 0)
        return QByteArray();
    const bool card = text.startsWith('+');
    QByteArray digits = card ? text.mid(1) : text;
    const int room = card ? width - 1 : width;
    while (digits.size() > room && digits.startsWith('0'))
        digits.remove(0, 1);
    if (digits.size() > room && fits)
        *fits = false;
    if (!card)
        return PadZeros(digits, width);
    return room > 0 ? '+' + PadZeros(digits, room) : QByteArray("+").left(width);
}

void CRecordList::IncrementNumber(QByteArray& digits)
{
    for (int i = int(digits.size()) - 1; i >= 0; --i) {
        const char c = digits[i];
        if (c >= '0' && c <= '8') {
            digits[i] = char(c + 1);
            return;
        }
        if (c != '9') {
            // A sign or card mark ends the number: the carry makes it one digit longer here.
            digits.insert(i + 1, '1');
            return;
        }
        digits[i] = '0';
    }
    digits.prepend('1');
}

InsertResult CRecordList::InsertRecord(const MessageRecord& in)
{
    InsertResult result;
    if (GetCount() >= m_data.maxRecords) {
        result.refusal = {QStringLiteral("Es können nicht mehr als ") +
                              QString::number(m_data.maxRecords) +
                              QStringLiteral(" Texte dargestellt werden !"),
                          QStringLiteral("Fehler")};
        return result;
    }
    MessageRecord rec;
    result.refusal = RecordEntry::Admit(m_data, in, rec);
    if (result.refusal)
        return result;

    bool equal = false;
    const int row = FindPlace(rec.group, rec.detector, &equal);
    if (equal) {
        MessageRecord& existing = *m_rows[size_t(row)];
        result.replaced = true;
        result.previous = existing;
        existing.pseudoGroup = rec.pseudoGroup;
        existing.text1 = rec.text1;
        existing.text2 = rec.text2;
        existing.formatTag = rec.formatTag;
        RowChanged(row, Column::Tag, Column::Text2);
        result.row = row;
        return result;
    }
    // In key order the order stays as it was: ascending rows stay ascending.
    const Order order = m_order;
    InsertRow(row, new MessageRecord(std::move(rec)));
    m_order = order;
    result.row = row;
    return result;
}

int CRecordList::FindPlace(const QByteArray& group, const QByteArray& detector, bool* equal) const
{
    *equal = false;
    const int count = GetCount();
    if (count == 0 || CompareKeys(group, detector, At(count - 1).group, At(count - 1).detector) > 0)
        return count;
    if (IsAscending()) {
        // Ascending keys: the first row not below the key, by halving.
        int low = 0;
        int high = count;
        while (low < high) {
            const int mid = low + (high - low) / 2;
            if (CompareKeys(At(mid).group, At(mid).detector, group, detector) < 0)
                low = mid + 1;
            else
                high = mid;
        }
        *equal = low < count && CompareKeys(At(low).group, At(low).detector, group, detector) == 0;
        return low;
    }
    // Rows from a file or the FAT may stand in any order: the first equal or greater key wins.
    for (int r = 0; r < count; ++r) {
        const int c = CompareKeys(At(r).group, At(r).detector, group, detector);
        if (c >= 0) {
            *equal = c == 0;
            return r;
        }
    }
    return count;
}

bool CRecordList::IsAscending() const
{
    if (m_order == Unknown) {
        m_order = Ascending;
        for (int r = 1; r < GetCount() && m_order == Ascending; ++r)
            if (CompareRows(At(r - 1), At(r)) >= 0)
                m_order = Unsorted;
    }
    return m_order == Ascending;
}

void CRecordList::KeyChangedAt(int row)
{
    if (m_order != Ascending) {
        // A changed key may have mended the order; a new row never does.
        return;
    }
    const bool afterPrevious = row == 0 || CompareRows(At(row - 1), At(row)) < 0;
    const bool beforeNext = row + 1 >= GetCount() || CompareRows(At(row), At(row + 1)) < 0;
    m_order = afterPrevious && beforeNext ? Ascending : Unsorted;
}

void CRecordList::InsertRow(int row, MessageRecord* rec)
{
    row = qBound(0, row, GetCount());
    if (!InBatch())
        beginInsertRows(QModelIndex(), row, row);
    m_rows.insert(m_rows.begin() + row, rec);
    if (!InBatch())
        endInsertRows();
    KeyChangedAt(row);
}

int CRecordList::AddRecordAt(const MessageRecord& rec, int row)
{
    row = qBound(0, row, GetCount());
    InsertRow(row, new MessageRecord(rec));
    return row;
}

void CRecordList::GetRecord(MessageRecord& rec, int row) const
{
    if (row < 0 || row >= GetCount())
        return;
    rec = At(row);
}

void CRecordList::GetRecordForEdit(MessageRecord& rec, int row) const
{
    if (row == -1) {
        rec.group.clear();
        rec.detector.clear();
        rec.pseudoGroup.clear();
        rec.text1.clear();
        rec.text2.clear();
        return;
    }
    GetRecord(rec, row);
    if (rec.text1.size() == m_data.text1Length)
        rec.text1 = WithoutTrailingBlanks(rec.text1);
    if (rec.text2.size() == m_data.text2Length)
        rec.text2 = WithoutTrailingBlanks(rec.text2);
}

bool CRecordList::SetRecord(int row, const MessageRecord& rec)
{
    if (row < 0 || row >= GetCount())
        return false;
    *m_rows[size_t(row)] = rec;
    if (m_order == Unsorted)
        m_order = Unknown;
    KeyChangedAt(row);
    RowChanged(row, Column::Tag, Column::Text2);
    return true;
}

QByteArray CRecordList::GetItemText(int row, int column) const
{
    if (row < 0 || row >= GetCount() || column < 0 || column >= CellCount)
        return QByteArray();
    return Cell(At(row), column);
}

bool CRecordList::SetItemText(int row, int column, const QByteArray& text)
{
    if (row < 0 || row >= GetCount() || column < 0 || column >= CellCount)
        return false;
    Cell(*m_rows[size_t(row)], column) = text;
    if (column == Column::Group || column == Column::Detector) {
        if (m_order == Unsorted)
            m_order = Unknown;
        KeyChangedAt(row);
    }
    RowChanged(row, column, column);
    return true;
}

void CRecordList::RowChanged(int row, int first, int last)
{
    if (!InBatch())
        emit dataChanged(index(row, first), index(row, last));
}

bool CRecordList::DeleteItem(int row)
{
    if (row < 0 || row >= GetCount())
        return false;
    if (!InBatch())
        beginRemoveRows(QModelIndex(), row, row);
    delete m_rows[size_t(row)];
    m_rows.erase(m_rows.begin() + row);
    if (!InBatch())
        endRemoveRows();
    // Ascending rows stay ascending; unsorted ones may have lost their only misfit.
    if (m_order == Unsorted)
        m_order = Unknown;
    return true;
}

void CRecordList::DeleteAllItems()
{
    if (!InBatch())
        beginResetModel();
    for (MessageRecord* rec : m_rows)
        delete rec;
    m_rows.clear();
    m_order = Ascending;
    if (!InBatch())
        endResetModel();
}

void CRecordList::BeginBatch()
{
    if (m_batchDepth++ == 0)
        beginResetModel();
}

void CRecordList::EndBatch()
{
    if (m_batchDepth > 0 && --m_batchDepth == 0)
        endResetModel();
}
