#include "CRecordList.h"

#include "CListCtrl.h"
#include "CMessages.h"

namespace {

int Refuse(const QString& text, const QString& caption)
{
    BeepMessageBox(text, caption, msg::Warning);
    return -1;
}

QByteArray WithoutTrailingBlanks(QByteArray text)
{
    while (text.endsWith(' '))
        text.chop(1);
    return text;
}

} // namespace

void CRecordList::SetListCtrl(CListCtrl* list)
{
    if (list)
        m_list = list;
}

void CRecordList::SetSettings(ProjectData* data)
{
    if (data)
        m_data = data;
}

int CRecordList::GetCount() const
{
    return m_list ? m_list->GetItemCount() : 0;
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

int CRecordList::InsertRecord(const MessageRecord& in, bool ensureVisible)
{
    if (!m_list || !m_data)
        return -1;
    const ProjectData& d = *m_data;

    if (m_list->GetItemCount() >= d.maxRecords)
        return Refuse(QStringLiteral("Es können nicht mehr als ") + QString::number(d.maxRecords) +
                          QStringLiteral(" Texte dargestellt werden !"),
                      QStringLiteral("Fehler"));
    if (in.group.isEmpty())
        return Refuse(QStringLiteral("Das Feld MelderGruppe muß ausgefüllt werden !"),
                      QStringLiteral("Hinweis"));
    const bool card = in.group.startsWith('+');
    if (in.group == "+")
        return Refuse(QStringLiteral("Die Kartennummer fehlt noch !"), QStringLiteral("Hinweis"));
    if (DecimalValue(in.group) == 0)
        return Refuse(QStringLiteral("Die MelderGruppe 0 ist nicht zulässig !"),
                      QStringLiteral("Hinweis"));
    if (card) {
        const long long det = DecimalValue(in.detector);
        if (det < 1 || det > 32)
            return Refuse(QStringLiteral("Der Eingabebereich für \"Melder\" geht von 1 - 32 !"),
                          QStringLiteral("Hinweis"));
    }
    if (in.formatTag == "P" && in.pseudoGroup.isEmpty())
        return Refuse(QStringLiteral("Das Feld Pseudo MelderGruppe muß ausgefüllt werden !"),
                      QStringLiteral("Hinweis"));
    if (in.detector.isEmpty())
        return Refuse(QStringLiteral("Das Feld Melder muß ausgefüllt werden !"),
                      QStringLiteral("Hinweis"));

    MessageRecord rec = in;
    rec.detector = PadZeros(rec.detector, d.detectorDigits);
    if (card) {
        QByteArray digits = rec.group;
        digits[0] = '0';
        rec.group = PadZeros(digits, d.groupDigits);
        if (!rec.group.isEmpty())
            rec.group[0] = '+';
    } else {
        rec.group = PadZeros(rec.group, d.groupDigits);
    }
    if (rec.formatTag == "P")
        rec.pseudoGroup = PadZeros(rec.pseudoGroup, d.pseudoGroupDigits);

    const QByteArray key = rec.group + rec.detector;
    const int count = m_list->GetItemCount();
    auto keyOf = [this](int row) {
        return m_list->GetItemText(row, Column::Group) + m_list->GetItemText(row, Column::Detector);
    };
    int row = count;
    if (count > 0 && !(key > keyOf(count - 1))) {
        for (int r = 0; r < count; ++r) {
            const QByteArray existing = keyOf(r);
            if (existing == key) {
                m_list->SetItemText(r, Column::PseudoGroup, rec.pseudoGroup);
                m_list->SetItemText(r, Column::Text1, rec.text1);
                m_list->SetItemText(r, Column::Text2, rec.text2);
                m_list->SetItemText(r, Column::Tag, rec.formatTag);
                return r;
            }
            if (existing > key) {
                row = r;
                break;
            }
        }
    }
    return AddRecordAt(rec, row, ensureVisible);
}

int CRecordList::AddRecordAt(const MessageRecord& rec, int row, bool ensureVisible)
{
    if (!m_list)
        return -1;
    // One notification for the whole row; the cells go in column order.
    static_assert(Column::Tag == 0 && Column::Group == 1 && Column::PseudoGroup == 2 &&
                  Column::Detector == 3 && Column::Text1 == 4 && Column::Text2 == 5);
    row = m_list->InsertItem(
        row, {rec.formatTag, rec.group, rec.pseudoGroup, rec.detector, rec.text1, rec.text2});
    if (ensureVisible)
        m_list->EnsureVisible(row);
    return row;
}

void CRecordList::GetRecord(MessageRecord& rec, int row) const
{
    if (!m_list)
        return;
    rec.formatTag = m_list->GetItemText(row, Column::Tag);
    rec.group = m_list->GetItemText(row, Column::Group);
    rec.pseudoGroup = m_list->GetItemText(row, Column::PseudoGroup);
    rec.detector = m_list->GetItemText(row, Column::Detector);
    rec.text1 = m_list->GetItemText(row, Column::Text1);
    rec.text2 = m_list->GetItemText(row, Column::Text2);
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
    if (m_data && rec.text1.size() == m_data->text1Length)
        rec.text1 = WithoutTrailingBlanks(rec.text1);
    if (m_data && rec.text2.size() == m_data->text2Length)
        rec.text2 = WithoutTrailingBlanks(rec.text2);
}

int CRecordList::GetFirstSelected() const
{
    if (!m_list)
        return -1;
    const int top = m_list->GetTopIndex();
    const int last = qMin(m_list->GetItemCount() - 1, top + m_list->GetCountPerPage() + 1);
    for (int r = qMax(0, top); r <= last; ++r)
        if (m_list->IsSelected(r))
            return r;
    return -1;
}
