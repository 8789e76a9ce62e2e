#pragma once

#include "CDocument.h"
#include "CEditHistory.h"
#include "CRecordList.h"
#include "ProjectData.h"

// Qt
#include <QByteArray>

#include <functional>

class ProjectGuard;
class QIODevice;

// The editor's document: the project settings block for the whole run, the store of the
// records bound to it, the undo history of both and the project file. The changed mark is
// the history's: a project is changed when it is not in the state last saved.
class CQuillmarkDoc : public CDocument
{
public:
    enum SaveMode { SaveIfWanted = 0, SaveAs = 1, Save = 2 };

    CQuillmarkDoc();

    ProjectData& Data() { return m_data; }
    const ProjectData& Data() const { return m_data; }
    CRecordList& Records() { return m_records; }
    const CRecordList& Records() const { return m_records; }
    CEditHistory& History() { return m_history; }

    bool IsModified() const override { return m_history.IsModified(); }
    void SetModifiedFlag(bool modified = true) override { m_history.SetModified(modified); }

    // Sets the path the project is read from (the command line or "Öffnen"): format 0 and
    // no offset, so that the next LoadProject reads the file.
    void OpenProjectPath(const QString& path);
    QString ProjectPath() const;
    // false (and projectPath unchanged) when the path does not fit the settings block.
    bool SetProjectPath(const QString& path);
    // Names the project "Unbenannt" (projectPath and path name), so the next save asks for a
    // file name and the file the texts came from stays as it was.
    void MarkUntitled();

    bool LoadProject();
    // Reads a project from an open device of the given length; the same as LoadProject after
    // the file was opened.
    bool ReadProject(QIODevice& file, qint64 length);
    // False (rows read so far kept) when the last read ended early or failed.
    bool ReadCompletely() const { return m_readCompletely; }
    bool SaveProject(int mode);
    // Asked before every save and told after it (lock, change on disk); not owned.
    void SetGuard(ProjectGuard* guard) { m_guard = guard; }
    // Derives the text lengths and tells the list's views of the new columns; false (after
    // the message) for more than 10 group digits.
    bool SetupListColumns();

    // The editor window composes the title; the document asks it through this hook.
    void SetTitleHook(std::function<void()> hook) { m_titleHook = std::move(hook); }
    void UpdateTitle();

    // The project file's bytes for the settings and rows as they are now.
    QByteArray ProjectBytes() const;

private:
    bool WriteProject(const QString& path, QString& why);

    ProjectData m_data;
    CRecordList m_records{m_data};
    CEditHistory m_history{*this};
    std::function<void()> m_titleHook;
    ProjectGuard* m_guard = nullptr;
    bool m_readCompletely = false;
};
