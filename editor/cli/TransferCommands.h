#pragma once

// Qt
#include <QString>
#include <QStringList>

// The transfer commands of quillmark-cli. Each takes the arguments after the command word
// and returns the exit status: 0 exactly when the transfer's success message was shown.
namespace TransferCommands {

int RunSend(const QStringList& args);
int RunRead(const QStringList& args);
int RunSendLz(const QStringList& args);
int RunReadLz(const QStringList& args);

// The usage text after the command word, for the CLI's help.
QString SendUsage();
QString ReadUsage();
QString SendLzUsage();
QString LzUsage();

} // namespace TransferCommands
