#pragma once

#include "LineRules.h"

// Qt
#include <QStringList>

class CRecordingSession;

// lineprobe-cli: the recorder's decoding and rendering without a window.
namespace LineprobeCli {

int Run(const QStringList& arguments);
int Ident(const QStringList& args);
int Render(const QStringList& args);

// How render and search read a trace: the file and the line rule that cuts it.
struct TraceOptions
{
    QString trace;
    int panelCode = -1;
    LineRules::Settings settings;
};
// Takes the trace path, --panel-code, --line-length or --break at args[i] (moving i past a
// value): 1 when taken, 0 when args[i] is something else, -1 after the message of a bad value.
int TakeTraceOption(const QStringList& args, int& i, TraceOptions& options);
// Feeds the trace into both lists of session as a recording would; false after the message
// (unknown panel code, unreadable file).
bool LoadTrace(const TraceOptions& options, CRecordingSession& session);

} // namespace LineprobeCli
