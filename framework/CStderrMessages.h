#pragma once

#include "CMessages.h"

// Qt
#include <QList>

#include <functional>

// The sink of the command-line tools: every box becomes one line "Caption: text" on stderr,
// questions get a fixed answer and file dialogs take prepared paths in order.
class CStderrMessages : public CMessageSink
{
public:
    int Show(const QString& text, const QString& caption, msg::Icon icon,
             msg::Buttons buttons) override;
    void Beep() override {}
    bool SaveFileName(const msg::FileDialog& dialog, QString& path) override;
    bool OpenFileName(const msg::FileDialog& dialog, QString& path) override;

    // Answer for Yes/No questions (IdYes or IdNo); OK/Cancel questions get OK for Yes.
    void SetQuestionAnswer(int answer) { m_answer = answer; }
    void AddFileAnswer(const QString& path) { m_files.append(path); }
    // Where the lines go instead of stderr (each with its line end); empty: stderr again.
    void SetWriter(std::function<void(const QByteArray&)> write) { m_write = std::move(write); }

private:
    bool NextFile(QString& path);

    int m_answer = msg::IdNo;
    QList<QString> m_files;
    std::function<void(const QByteArray&)> m_write;
};
