#pragma once

// Qt
#include <QLineEdit>

// The filtering single-line field of the entry dialogs: group and detector fields take digits,
// text fields printable characters, a group field of a card panel the card form "+" digit, and
// the text fields of output-card panels a list of card/number pairs "D/NN D/NN ...". Shown in
// "Courier" so that texts look as on the FAT's character display.
//
// The owner sets the text limit with SetLimitText (not QLineEdit::setMaxLength: a limit never
// cuts a text that is already there) and the mode with SetMode. Pasting goes through the same
// rules as typing; dropping text onto the field is switched off.
class CMaskEdit : public QLineEdit
{
    Q_OBJECT

public:
    enum Mode { Digits = 0, Text = 1, CardList = 2, GroupOrCard = 3, NoInput = 4 };

    explicit CMaskEdit(QWidget* parent = nullptr);

    // Returns the previous mode; a mode outside 0..4 is refused with -1. Every call sets the
    // "Courier" face on the field's font.
    int SetMode(int mode);
    int GetMode() const { return m_mode; }

    // The most characters typing or pasting may produce; a longer text set by the owner stays.
    void SetLimitText(int limit);
    int GetLimitText() const { return m_limit; }
    // In mode 3 a plain group number may take 5 digits, but never more than the project's
    // group digits (a longer number would lose its first digits when padded).
    void SetGroupDigits(int digits) { m_groupDigits = digits; }

    // Whether the last key pressed is one of the keys that type ä, ö or ü.
    bool UmlautKey() const { return m_umlautKey; }

    // Selects the whole text, the caret at its start.
    void SelectWhole();

    // Inserts text at the caret as if it were typed, dropping what typing could not produce;
    // one beep when anything was dropped. Used by every paste path.
    void PasteFiltered(const QString& text);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;

private:
    // Refused beeps; Silent drops without a beep; Full is a character the limit kept out.
    enum class Outcome { Accepted, Refused, Silent, Full };

    // One typed character through the rules of the current mode. beep false: a refusal is
    // only reported, for paste.
    Outcome TypeChar(QChar c, bool beep);
    Outcome TypeCardList(QChar c);
    Outcome TypeGroupOrCard(QChar c);
    // Inserts c in place of the selection when the limit allows; false when it does not.
    bool InsertWithinLimit(QChar c, int limit);
    void DeleteLastCardGroup();
    void Beep();
    static bool IsCardListNavigation(int key);

    int m_mode = Text;
    int m_limit = 32767;
    int m_groupDigits = 5;
    bool m_umlautKey = false;
    bool m_quiet = false; // set while pasting: refusals are counted, not beeped
    int m_refusals = 0;
};
