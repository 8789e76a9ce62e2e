#include "CMessageRecorder.h"

CMessageRecorder::CMessageRecorder()
{
    m_previous = SetMessages(this);
}

CMessageRecorder::~CMessageRecorder()
{
    SetMessages(m_previous);
}

int CMessageRecorder::Show(const QString& text, const QString& caption, msg::Icon icon,
                           msg::Buttons buttons)
{
    Entry e;
    e.kind = Box;
    e.text = text;
    e.caption = caption;
    e.icon = icon;
    e.buttons = buttons;
    m_entries.append(e);
    if (!m_answers.empty()) {
        const int answer = m_answers.front();
        m_answers.pop_front();
        return answer;
    }
    if (m_default)
        return m_default;
    switch (buttons) {
    case msg::Ok:
    case msg::OkCancel:
        return msg::IdOk;
    case msg::RetryCancel:
        return msg::IdCancel;
    case msg::YesNo:
    case msg::YesNoCancel:
        return msg::IdNo;
    }
    return msg::IdOk;
}

void CMessageRecorder::Beep()
{
    Entry e;
    e.kind = BeepSound;
    m_entries.append(e);
}

bool CMessageRecorder::NextFile(Kind kind, const msg::FileDialog& dialog, QString& path)
{
    Entry e;
    e.kind = kind;
    e.dialog = dialog;
    m_entries.append(e);
    if (m_files.empty())
        return false;
    path = m_files.front();
    m_files.pop_front();
    return !path.isEmpty();
}

bool CMessageRecorder::SaveFileName(const msg::FileDialog& dialog, QString& path)
{
    return NextFile(SaveDialog, dialog, path);
}

bool CMessageRecorder::OpenFileName(const msg::FileDialog& dialog, QString& path)
{
    return NextFile(OpenDialog, dialog, path);
}

QList<CMessageRecorder::Entry> CMessageRecorder::Boxes() const
{
    QList<Entry> boxes;
    for (const Entry& e : m_entries)
        if (e.kind == Box)
            boxes.append(e);
    return boxes;
}

QStringList CMessageRecorder::Texts() const
{
    QStringList texts;
    for (const Entry& e : m_entries)
        if (e.kind == Box)
            texts.append(e.text);
    return texts;
}

int CMessageRecorder::BeepCount() const
{
    int n = 0;
    for (const Entry& e : m_entries)
        n += e.kind == BeepSound;
    return n;
}
