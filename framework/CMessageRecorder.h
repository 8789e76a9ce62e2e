#pragma once

#include "CMessages.h"

// Qt
#include <QList>

#include <deque>

// Test sink: captures every message, beep and dialog in order and answers from a script.
// Installs itself on construction and restores the previous sink on destruction.
class CMessageRecorder : public CMessageSink
{
public:
    enum Kind { Box, BeepSound, SaveDialog, OpenDialog };
    struct Entry
    {
        Kind kind = Box;
        QString text;
        QString caption;
        msg::Icon icon = msg::NoIcon;
        msg::Buttons buttons = msg::Ok;
        msg::FileDialog dialog;
    };

    CMessageRecorder();
    ~CMessageRecorder() override;

    int Show(const QString& text, const QString& caption, msg::Icon icon,
             msg::Buttons buttons) override;
    void Beep() override;
    bool SaveFileName(const msg::FileDialog& dialog, QString& path) override;
    bool OpenFileName(const msg::FileDialog& dialog, QString& path) override;
    void BeginWaitCursor() override { ++m_waitDepth; }
    void EndWaitCursor() override { --m_waitDepth; }

    // Scripted answers, used in order; without one a box answers OK, Yes or Cancel... as below.
    void AnswerNext(int answer) { m_answers.push_back(answer); }
    // A file dialog takes the next path; an empty path cancels.
    void FileNext(const QString& path) { m_files.push_back(path); }
    // Answer used when the script is empty (default: IdOk for OK boxes, IdNo for questions).
    void SetDefaultAnswer(int answer) { m_default = answer; }

    const QList<Entry>& Entries() const { return m_entries; }
    // Only the boxes, without beeps and dialogs.
    QList<Entry> Boxes() const;
    QStringList Texts() const;
    int BeepCount() const;
    int WaitDepth() const { return m_waitDepth; }
    void Clear() { m_entries.clear(); }

private:
    bool NextFile(Kind kind, const msg::FileDialog& dialog, QString& path);

    CMessageSink* m_previous = nullptr;
    QList<Entry> m_entries;
    std::deque<int> m_answers;
    std::deque<QString> m_files;
    int m_default = 0;
    int m_waitDepth = 0;
};
