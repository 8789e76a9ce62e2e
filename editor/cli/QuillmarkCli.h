#pragma once

// Qt
#include <QMap>
#include <QStringList>

#include <functional>

class CQuillmarkDoc;
class ProjectGuard;

// quillmark-cli: the editor's operations without a window. Each command takes its arguments
// (after the command word) and returns the exit status.
namespace QuillmarkCli {

using Command = std::function<int(const QStringList& args)>;

// Registers a further command (the transfer commands add themselves this way).
void AddCommand(const QString& name, const QString& usage, Command command);

int Run(const QStringList& arguments);

// Opens the project file at path as "Öffnen" does; false after its message.
bool Load(CQuillmarkDoc& doc, const QString& path);
// Opens the project at path for a command that saves it back in place: waits a short while
// for another editor's lock, and refuses (after the reading message) a file that could be
// read only in part, so that the rows missing from it are not saved away.
bool LoadForChange(CQuillmarkDoc& doc, ProjectGuard& guard, const QString& path);
// Splits "--name value" options of the known names from the positional arguments; false on
// a malformed line (an unknown or repeated option, a missing value).
bool ParseOptions(const QStringList& args, const QStringList& known,
                  QMap<QString, QString>& options, QStringList& positional);

int Show(const QStringList& args);
int Copy(const QStringList& args);
int Add(const QStringList& args);

} // namespace QuillmarkCli
