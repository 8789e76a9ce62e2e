#pragma once

// Qt
#include <QStringList>

// lineprobe-cli record: one recording without a window, through the same recording session
// as the program's window.
namespace LineprobeCli {

int Record(const QStringList& args);
QString RecordUsage();

} // namespace LineprobeCli
