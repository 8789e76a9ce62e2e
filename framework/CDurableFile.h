#pragma once

#include "FileSystem.h"

// Qt
#include <QIODevice>
#include <QString>

// The one way both programs and fatsim write a file. Replace (the default): the bytes go to a
// temporary file beside the target, every write is checked, the file is synced, and only then
// does it take the target's place; any failure leaves the target as it was and no temporary
// file behind. A folder that refuses new files gets the existing file written in place, the
// space claimed first and every byte checked (hard links stay). Grow: the target itself,
// emptied at the start, for files that grow while a recording runs; every write is checked.
// Anything that is not a regular file is refused before it is opened.
class CDurableFile : public QIODevice
{
public:
    enum class Mode { Replace, Grow };

    explicit CDurableFile(const QString& path, Mode mode = Mode::Replace);
    ~CDurableFile() override;
    CDurableFile(const CDurableFile&) = delete;
    CDurableFile& operator=(const CDurableFile&) = delete;

    // Only for writing; false with the reason set.
    bool open(OpenMode mode = WriteOnly) override;
    // Replace: syncs and puts the file in the target's place. Grow: syncs and closes. False
    // (target untouched in Replace mode) when anything failed since open.
    bool Commit();
    // Replace, for a file that goes on growing: syncs and puts what was written so far in the
    // target's place now; later writes go on into the target, which Commit syncs and Cancel
    // keeps. False (target untouched) when anything failed since open.
    bool Place();
    bool IsPlaced() const { return m_placed; }
    // Drops the temporary file (Replace) or closes (Grow).
    void Cancel();
    void close() override { Cancel(); }

    QString Path() const { return m_path; }
    bool Failed() const { return !m_reason.isEmpty(); }
    // The German reason of the first failure ("Kein Speicherplatz mehr auf dem Datenträger").
    QString Reason() const { return m_reason; }
    // The file's name and the reason, for a message: "/pfad/halle.bmt: Die Datei ist zu groß".
    QString Describe() const;
    // What the open file is now (size, links 0 once its name was removed); an error number.
    int StatOpen(FileSystem::Status& status) const
    {
        return FileSystem::StatHandle(m_handle, status);
    }
    // True while writing goes to the file itself because its folder refuses new files.
    bool InPlace() const { return m_inPlace; }

    // Writes bytes as the whole new content of path; describe gets Describe() on failure.
    static bool WriteWhole(const QString& path, const QByteArray& bytes,
                           QString* describe = nullptr);
    // For readers, before they open: false with a reason when path exists but is not a regular
    // file, or holds more than maxSize bytes. A missing file passes (the open then reports).
    static bool CheckReadable(const QString& path, qint64 maxSize, QString* reason);
    // For readers whose read failed part way: "Die Datei /pfad/x.tvs konnte nicht vollständig
    // gelesen werden: Ein-/Ausgabefehler auf dem Datenträger".
    static QString ReadFailedText(const QString& path, int error);
    // The German text for a system error number; the system's own text for others.
    static QString ErrorText(int error);
    static QString NotRegularText();

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override;

private:
    bool Fail(int error);
    bool FailWith(const QString& reason);
    bool OpenTemporary(const FileSystem::Status& target);
    bool CommitInPlace(bool keepOpen);

    QString m_path;
    QString m_temporary;
    Mode m_mode;
    FileSystem::Handle m_handle = FileSystem::NoHandle;
    bool m_inPlace = false;
    bool m_placed = false;
    qint64 m_placedEnd = -1; // where a placed in-place file goes on; -1 = at the handle's end
    QByteArray m_pending;    // the content written in place at commit
    QString m_reason;
};
