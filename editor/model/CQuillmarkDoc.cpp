#include "CQuillmarkDoc.h"

#include "CDurableFile.h"
#include "CMessages.h"
#include "ProjectGuard.h"
#include "ProjectLimits.h"
#include "ProjectRules.h"
#include "TextFormats.h"

// Qt
#include <QFile>
#include <QFileInfo>
#include <QtEndian>

#include <cstring>
#include <optional>

namespace {

const char kMagic[] = "Korvalin GmbH";
const int kMagicSize = 13;
const int kHeaderSize = 171;

int32_t ReadInt(const char* p)
{
    return qFromLittleEndian<int32_t>(p);
}

void AppendInt(QByteArray& out, int32_t value)
{
    char b[4];
    qToLittleEndian<int32_t>(value, b);
    out.append(b, 4);
}

// Cut at the first NUL, as the fixed text fields hold C strings.
QByteArray CText(const QByteArray& bytes)
{
    const int nul = int(bytes.indexOf('\0'));
    return nul < 0 ? bytes : bytes.left(nul);
}

QByteArray FixedText(const QByteArray& text, int width)
{
    if (width <= 0)
        return QByteArray();
    if (text.size() >= width)
        return text.left(width);
    return text + QByteArray(width - int(text.size()), ' ');
}

void Report(const char* text)
{
    MessageBox(QString::fromUtf8(text), QString(), msg::Warning, msg::Ok);
}

} // namespace

CQuillmarkDoc::CQuillmarkDoc()
{
    std::memset(&m_data, 0, sizeof m_data);
    m_records.SetListCtrl(&m_list);
    m_records.SetSettings(&m_data);
    SetModifiedFlag(true);
}

void CQuillmarkDoc::OpenProjectPath(const QString& path)
{
    // A path too long for the settings block leaves it empty, so loading reports it.
    if (!SetProjectPath(path))
        std::memset(m_data.projectPath, 0, sizeof m_data.projectPath);
    SetPathName(path);
    m_data.textFormat = FormatFromFile;
    std::memset(m_data.groupOffset, 0, sizeof m_data.groupOffset);
}

QString CQuillmarkDoc::ProjectPath() const
{
    return QFile::decodeName(QByteArray(
        m_data.projectPath, int(qstrnlen(m_data.projectPath, sizeof m_data.projectPath))));
}

bool CQuillmarkDoc::SetProjectPath(const QString& path)
{
    const QByteArray bytes = QFile::encodeName(path);
    if (bytes.size() >= int(sizeof m_data.projectPath))
        return false;
    std::memset(m_data.projectPath, 0, sizeof m_data.projectPath);
    std::memcpy(m_data.projectPath, bytes.constData(), size_t(bytes.size()));
    return true;
}

void CQuillmarkDoc::MarkUntitled()
{
    SetProjectPath(QStringLiteral("Unbenannt"));
    SetPathName(QStringLiteral("Unbenannt"));
}

void CQuillmarkDoc::UpdateTitle()
{
    if (m_titleHook)
        m_titleHook();
}

bool CQuillmarkDoc::SetupListColumns()
{
    const int margin = m_list.GetStringWidth(QStringLiteral("WW"));
    m_list.SetLabelEdit(ProjectRules::LabelEditAllowed(m_data));

    m_data.text2Length = m_data.displayChars / 2;
    m_data.text1Length =
        ProjectRules::Text1LengthFor(m_data, m_data.textFormat, m_data.text1Length);

    m_list.InsertColumn(Column::Tag, QString(), 0);
    if (m_data.groupDigits > 10) {
        Report("Beim Auslesen ist ein Fehler aufgetreten.");
        return false;
    }

    const QString groupHeader = ProjectRules::GroupHeader(m_data);
    const int groupWidth =
        qMax(m_list.GetStringWidth(groupHeader),
             m_list.GetStringWidth(QString(qMax(0, m_data.groupDigits), QLatin1Char('W')))) +
        margin;
    m_list.InsertColumn(Column::Group, groupHeader, groupWidth);
    const QString pseudoHeader = QStringLiteral("Pseudo MG");
    m_list.InsertColumn(
        Column::PseudoGroup, pseudoHeader,
        m_data.textFormat == FormatPseudo ? m_list.GetStringWidth(pseudoHeader) + margin : 0);
    const QString detectorHeader = ProjectRules::DetectorHeader(m_data);
    m_list.InsertColumn(Column::Detector, detectorHeader,
                        m_list.GetStringWidth(detectorHeader) + margin);
    m_list.InsertColumn(
        Column::Text1, QStringLiteral("Text 1"),
        m_list.GetStringWidth(QString(qMax(0, m_data.text1Length), QLatin1Char('W'))) + margin);
    m_list.InsertColumn(
        Column::Text2, QStringLiteral("Text 2"),
        m_list.GetStringWidth(QString(qMax(0, m_data.text2Length), QLatin1Char('W'))) + margin);
    if (m_list.Viewport())
        m_list.Viewport()->ResizeFrameToFit();
    return true;
}

bool CQuillmarkDoc::LoadProject()
{
    if (m_data.panelType == PanelType::Bosch)
        ProjectRules::SetDefaultLzAssignment(m_data);
    std::memset(m_data.coverPage, 0, sizeof m_data.coverPage);

    if (m_data.textFormat != FormatFromFile) {
        const bool ok = SetupListColumns();
        SetModifiedFlag(false);
        return ok;
    }

    CWaitCursor wait;
    QFile file(ProjectPath());
    // A FIFO or device would hang the open or never end; no project is this big.
    QString why;
    if (ProjectPath().isEmpty() ||
        !CDurableFile::CheckReadable(ProjectPath(), 64 * 1024 * 1024, &why) ||
        !file.open(QIODevice::ReadOnly)) {
        MessageBox(QStringLiteral("Auf das Projekt konnte nicht zugegriffen werden !") +
                       (why.isEmpty() ? QString() : QLatin1Char('\n') + why),
                   QString(), msg::Warning, msg::Ok);
        return false;
    }
    return ReadProject(file, file.size());
}

bool CQuillmarkDoc::ReadProject(QIODevice& file, qint64 length)
{
    m_readCompletely = false;
    const QByteArray magic = file.read(kMagicSize);
    if (magic != QByteArray(kMagic, kMagicSize)) {
        Report("Unbekanntes Dateiformat");
        return false;
    }
    const QByteArray header = file.read(kHeaderSize - kMagicSize);
    if (header.size() != kHeaderSize - kMagicSize) {
        Report("Unbekanntes Dateiformat");
        return false;
    }
    const char* h = header.constData();
    ProjectData next = m_data;
    next.textFormat = ReadInt(h + 0);
    next.displayChars = ReadInt(h + 4);
    next.maxRecords = ReadInt(h + 8);
    next.groupDigits = ReadInt(h + 12);
    next.pseudoGroupDigits = ReadInt(h + 16);
    next.detectorDigits = ReadInt(h + 20);
    const int32_t offset = ReadInt(h + 24);

    // Values no project can hold would make the record widths meaningless or negative. More
    // group digits than the list can show are left to SetupListColumns, which reports them.
    ProjectData probe = next;
    probe.groupDigits = qMin(probe.groupDigits, int(ProjectLimits::MaxGroupDigits));
    const bool formatKnown = next.textFormat >= FormatStandard && next.textFormat <= FormatTwoLines;
    if (!formatKnown || !ProjectLimits::WithinLimits(probe)) {
        Report("Unbekanntes Dateiformat");
        return false;
    }

    std::memset(next.groupOffset, 0, sizeof next.groupOffset);
    const QByteArray offsetText = QByteArray::number(offset);
    std::memcpy(next.groupOffset, offsetText.constData(), size_t(offsetText.size()));
    std::memset(next.panelId, 0, sizeof next.panelId);
    std::memcpy(next.panelId, h + (141 - kMagicSize), 30);
    m_data = next;

    if (!ProjectRules::DecodePanelIdFile(m_data.panelId, m_data.panelType, m_data.panelVariant)) {
        Report("Benutzen Sie zum öffnen dieser Datei die Version mit der sie erstellt wurde "
               "oder eine höhere !");
        return false;
    }
    // A Bosch file without its table keeps the standard assignment, not zeros.
    if (m_data.panelType == PanelType::Bosch)
        ProjectRules::SetDefaultLzAssignment(m_data);
    m_list.DeleteAllColumns();
    if (!SetupListColumns())
        return false;

    const QByteArray tagOfFormat = ProjectRules::FormatTag(m_data.textFormat);
    const int groupWidth = ProjectRules::FileGroupWidth(m_data);
    qint64 remaining = length - kHeaderSize;
    // The rows arrive as one batch: a shown list is reset once, not told of every row.
    std::optional<CListBatch> batch(std::in_place, m_list);
    m_list.DeleteAllItems();
    while (remaining > 0) {
        const QByteArray tagByte = file.read(1);
        remaining -= 1;
        const char tag = tagByte.isEmpty() ? '\0' : tagByte[0];
        if (tag == 'L' &&
            (remaining <= 241 || (m_data.panelType == PanelType::Bosch && remaining <= 497))) {
            const QByteArray table = file.read(255);
            std::memcpy(m_data.lzAssignment, table.constData(), size_t(table.size()));
            m_data.lzAssignment[255] = 0;
            remaining -= 255;
            continue;
        }
        if (tag == 'D' && remaining <= 241) {
            for (int i = 0; i < 6; ++i) {
                const QByteArray text = CText(file.read(40));
                std::memset(m_data.coverPage[i], 0, sizeof m_data.coverPage[i]);
                std::memcpy(m_data.coverPage[i], text.constData(), size_t(text.size()));
            }
            remaining -= 240;
            continue;
        }
        if (tag == 'E' || remaining <= 1)
            break;

        MessageRecord rec;
        rec.formatTag = TextFormats::OfTag(tag) ? QByteArray(1, tag) : tagOfFormat;
        const bool pseudo = TextFormats::OfTag(rec.formatTag)->pseudoGroup;
        // The file may hold the group wider than the project's digits; the list, the keys
        // and the wire always have groupDigits characters.
        rec.group = CText(file.read(groupWidth));
        bool fits = true;
        const QByteArray group = CRecordList::FitNumber(rec.group, m_data.groupDigits, &fits);
        if (fits)
            rec.group = group;
        if (pseudo)
            rec.pseudoGroup = CText(file.read(m_data.pseudoGroupDigits));
        rec.detector = CText(file.read(m_data.detectorDigits));
        rec.text1 = CText(file.read(m_data.text1Length));
        rec.text2 = CText(file.read(m_data.text2Length));
        remaining -= groupWidth + (pseudo ? m_data.pseudoGroupDigits : 0) + m_data.detectorDigits +
                     m_data.text1Length + m_data.text2Length;
        // A record cut by the end of the file is dropped; the complete ones before it stay.
        if (remaining < 0)
            break;
        m_records.AddRecordAt(rec, m_list.GetItemCount(), false);
    }
    batch.reset();
    m_readCompletely = remaining >= 0;
    if (remaining < 0)
        Report("Dateiende konnte nicht gefunden werden");

    SetModifiedFlag(false);
    return true;
}

QByteArray CQuillmarkDoc::ProjectBytes()
{
    QByteArray out(kMagic, kMagicSize);
    AppendInt(out, m_data.textFormat);
    AppendInt(out, m_data.displayChars);
    AppendInt(out, m_data.maxRecords);
    AppendInt(out, m_data.groupDigits);
    AppendInt(out, m_data.pseudoGroupDigits);
    AppendInt(out, m_data.detectorDigits);
    const QByteArray offsetText =
        CText(QByteArray(m_data.groupOffset, int(sizeof m_data.groupOffset)));
    AppendInt(out, int32_t(CRecordList::DecimalValue(offsetText)));
    out.append('N');
    out.append(QByteArray(99, ' '));
    out.append(m_data.panelId, 30);

    const int groupWidth = ProjectRules::FileGroupWidth(m_data);
    const QByteArray formatTag = ProjectRules::FormatTag(m_data.textFormat);
    const char defaultTag = formatTag.isEmpty() ? 'S' : formatTag[0];
    MessageRecord rec;
    for (int row = 0; row < m_list.GetItemCount(); ++row) {
        m_records.GetRecord(rec, row);
        // The reader takes any other tag as the project's own, so write it as that: a
        // record must come back with the fields it was written with.
        const char own = rec.formatTag.isEmpty() ? '\0' : rec.formatTag[0];
        const char tag = TextFormats::OfTag(own) ? own : defaultTag;
        out.append(tag);
        out.append(CRecordList::FitNumber(rec.group, groupWidth));
        if (TextFormats::OfTag(tag)->pseudoGroup)
            out.append(CRecordList::FitNumber(rec.pseudoGroup, m_data.pseudoGroupDigits));
        out.append(CRecordList::FitNumber(rec.detector, m_data.detectorDigits));
        out.append(FixedText(rec.text1, m_data.text1Length));
        out.append(FixedText(rec.text2, m_data.text2Length));
    }

    if (m_data.panelType == PanelType::Bosch) {
        out.append('L');
        out.append(m_data.lzAssignment, 255);
    }
    bool cover = false;
    for (const auto& text : m_data.coverPage)
        cover = cover || text[0] != '\0';
    if (cover) {
        out.append('D');
        for (const auto& text : m_data.coverPage) {
            QByteArray field(text, int(qstrnlen(text, 40)));
            field.append(QByteArray(40 - int(field.size()), '\0'));
            out.append(field);
        }
    }
    out.append('E');
    return out;
}

bool CQuillmarkDoc::WriteProject(const QString& path, QString& why)
{
    // A failed write keeps the old file; why names the file and the reason.
    return CDurableFile::WriteWhole(path, ProjectBytes(), &why);
}

bool CQuillmarkDoc::SaveProject(int mode)
{
    if (mode == SaveAs)
        SetModifiedFlag(true);
    if (!IsModified())
        return true;

    if (mode == SaveIfWanted) {
        const int answer = MessageBox(QStringLiteral("Sollen die Änderungen gespeichert werden ?"),
                                      QString(), msg::Question, msg::YesNoCancel);
        if (answer == msg::IdCancel)
            return false;
        if (answer == msg::IdNo) {
            SetModifiedFlag(false);
            return true;
        }
    }

    QString path = ProjectPath();
    if (path.isEmpty() || QFileInfo(path).completeBaseName() == QLatin1String("Unbenannt") ||
        mode == SaveAs) {
        msg::FileDialog dialog;
        dialog.filter = QStringLiteral("Projektdateien (.bmt) | *.bmt||");
        dialog.initialName = QStringLiteral("*.bmt");
        dialog.defaultExt = QStringLiteral("bmt");
        dialog.overwritePrompt = true;
        QString chosen;
        if (!Messages().SaveFileName(dialog, chosen))
            return false;
        if (QFileInfo(chosen).suffix().isEmpty())
            chosen += QStringLiteral(".bmt");
        if (!SetProjectPath(chosen)) {
            Report("File konnte nicht angelegt werden");
            return false;
        }
        SetPathName(chosen);
        path = chosen;
    }

    if (m_data.panelType == PanelType::EffEff) {
        const char digit = m_data.panelId[3];
        if (digit != '1' && digit != '4' && digit != '5')
            m_data.panelId[3] = '1';
    }

    if (m_guard && !m_guard->MayWrite(path)) {
        UpdateTitle();
        return false;
    }
    bool written;
    QString why;
    {
        CWaitCursor wait;
        written = WriteProject(path, why);
    }
    if (!written) {
        MessageBox(QStringLiteral("File konnte nicht angelegt werden\n") + why, QString(),
                   msg::Warning, msg::Ok);
        UpdateTitle();
        return false;
    }
    if (m_guard)
        m_guard->Remember(path);
    SetModifiedFlag(false);
    UpdateTitle();
    return true;
}
