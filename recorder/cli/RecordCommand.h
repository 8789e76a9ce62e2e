#pragma once

// Qt
#include <QStringList>

// lineprobe-cli record: one recording without a window, through the same recording control
// as the program's ASCII view.
namespace LineprobeCli {

int Record(const QStringList& args);
QString RecordUsage();

} // namespace LineprobeCli
