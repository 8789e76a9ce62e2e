#include "CCellEdit.h"

#include "CMessages.h"
#include "CodePage.h"

// Qt
#include <QKeyEvent>
#include <QRegularExpressionValidator>

namespace {

// Accepts what typing could produce: digits in number cells, Windows-1252 characters in text
// cells. Pasted text passes the same test.
class CellValidator : public QValidator
{
public:
    CellValidator(const CCellEdit* edit, QObject* parent) : QValidator(parent), m_edit(edit) {}

    State validate(QString& input, int&) const override
    {
        for (const QChar c : std::as_const(input)) {
            if (m_edit->DigitsOnly() ? !(c >= QLatin1Char('0') && c <= QLatin1Char('9'))
                                     : (c < QLatin1Char(' ') || !IsCp1252(c)))
                return Invalid;
        }
        return Acceptable;
    }

private:
    const CCellEdit* m_edit;
};

} // namespace

CCellEdit::CCellEdit(QWidget* parent) : QLineEdit(parent)
{
    setFrame(true);
    setValidator(new CellValidator(this, this));
}

void CCellEdit::SetDigitsOnly(bool on)
{
    m_digitsOnly = on;
}

bool CCellEdit::IsListKey(int key)
{
    return key == Qt::Key_Up || key == Qt::Key_Down;
}

void CCellEdit::ForwardKey(int key)
{
    if (m_forward)
        m_forward(key);
}

void CCellEdit::keyPressEvent(QKeyEvent* event)
{
    const int key = event->key();
    if (key == Qt::Key_Tab || key == Qt::Key_Backtab) {
        event->accept();
        return;
    }
    if (IsListKey(key)) {
        event->accept();
        ForwardKey(key);
        return;
    }
    const QString text = event->text();
    const bool typed = !text.isEmpty() && text[0] >= QLatin1Char(' ') &&
                       !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
    if (typed) {
        int pos = 0;
        QString probe = text;
        if (validator()->validate(probe, pos) == QValidator::Invalid) {
            Messages().Beep();
            event->accept();
            return;
        }
    }
    QLineEdit::keyPressEvent(event);
}
