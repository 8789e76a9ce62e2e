#include "CQuillmarkDoc.h"

#include "CDurableFile.h"
#include "CMessages.h"
#include "ProjectFile.h"
#include "ProjectGuard.h"
#include "ProjectRules.h"

// Qt
#include <QFile>
#include <QFileInfo>

#include <cstring>

namespace {

void Report(const QString& text)
{
    MessageBox(text, QString(), msg::Warning, msg::Ok);
}

void Report(const char* text)
{
    Report(QString::fromUtf8(text));
}

} // namespace

CQuillmarkDoc::CQuillmarkDoc()
{
    std::memset(&m_data, 0, sizeof m_data);
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
    m_data.text2Length = m_data.displayChars / 2;
    m_data.text1Length =
        ProjectRules::Text1LengthFor(m_data, m_data.textFormat, m_data.text1Length);
    if (m_data.groupDigits > 10) {
        m_records.ColumnsChanged(false);
        Report("Beim Auslesen ist ein Fehler aufgetreten.");
        return false;
    }
    m_records.ColumnsChanged(true);
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
    ProjectData next = m_data;
    const QString problem = ProjectFile::ReadHeader(file, next);
    if (!problem.isEmpty()) {
        Report(problem);
        return false;
    }
    m_data = next;

    if (!ProjectRules::DecodePanelIdFile(m_data.panelId, m_data.panelType, m_data.panelVariant)) {
        Report("Benutzen Sie zum öffnen dieser Datei die Version mit der sie erstellt wurde "
               "oder eine höhere !");
        return false;
    }
    // A Bosch file without its table keeps the standard assignment, not zeros.
    if (m_data.panelType == PanelType::Bosch)
        ProjectRules::SetDefaultLzAssignment(m_data);
    if (!SetupListColumns())
        return false;

    m_readCompletely =
        ProjectFile::ReadBody(file, length - ProjectFile::HeaderSize, m_data, m_records);
    if (!m_readCompletely)
        Report("Dateiende konnte nicht gefunden werden");

    SetModifiedFlag(false);
    return true;
}

QByteArray CQuillmarkDoc::ProjectBytes() const
{
    return ProjectFile::Bytes(m_data, m_records);
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
