#pragma once

// Qt
#include <QStringList>

#include <functional>

// quillmark-cli: the editor's operations without a window. Each command takes its arguments
// (after the command word) and returns the exit status.
namespace QuillmarkCli {

using Command = std::function<int(const QStringList& args)>;

// Registers a further command (the transfer commands add themselves this way).
void AddCommand(const QString& name, const QString& usage, Command command);

int Run(const QStringList& arguments);

int Show(const QStringList& args);
int Copy(const QStringList& args);
int Add(const QStringList& args);

} // namespace QuillmarkCli
