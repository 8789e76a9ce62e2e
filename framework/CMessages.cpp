#include "CMessages.h"
#include "CStderrMessages.h"

namespace {

CStderrMessages& FallbackSink()
{
    static CStderrMessages sink;
    return sink;
}

CMessageSink* g_sink = nullptr;
QString g_title = QStringLiteral("Quillmark");

} // namespace

CMessageSink& Messages()
{
    return g_sink ? *g_sink : FallbackSink();
}

CMessageSink* SetMessages(CMessageSink* sink)
{
    CMessageSink* old = g_sink;
    g_sink = sink;
    return old;
}

int MessageBox(const QString& text, const QString& caption, msg::Icon icon, msg::Buttons buttons)
{
    return Messages().Show(text, caption.isEmpty() ? g_title : caption, icon, buttons);
}

int BeepMessageBox(const QString& text, const QString& caption, msg::Icon icon,
                   msg::Buttons buttons)
{
    Messages().Beep();
    return MessageBox(text, caption, icon, buttons);
}

void SetProgramTitle(const QString& title)
{
    g_title = title;
}

QString ProgramTitle()
{
    return g_title;
}
