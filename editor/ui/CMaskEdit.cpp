#include "CMaskEdit.h"

#include "CMessages.h"

// Qt
#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>

namespace {

bool IsUmlautChar(QChar c)
{
    static const QString umlauts = QStringLiteral("äöüÄÖÜ");
    return umlauts.contains(c);
}

// The character a key event types, as the classic character message carries it: control
// characters for Ctrl+letter and backspace, the event's text otherwise; null for keys that
// type nothing (arrows, delete, function keys) and for Alt and Meta combinations, which
// belong to the dialog's access keys.
QChar CharOf(const QKeyEvent* e)
{
    const Qt::KeyboardModifiers mods = e->modifiers();
    const int key = e->key();
    if (key == Qt::Key_Backspace)
        return QChar(8);
    const QString text = e->text();
    const bool printable =
        !text.isEmpty() && text.at(0).unicode() >= 32 && text.at(0).unicode() != 127;
    // AltGr arrives as Ctrl+Alt on Windows; what it types ("@", "€") is a character like any.
    if ((mods & Qt::ControlModifier) && (mods & Qt::AltModifier))
        return printable ? text.at(0) : QChar();
    if ((mods & Qt::ControlModifier) && !(mods & Qt::AltModifier)) {
        if (key >= Qt::Key_A && key <= Qt::Key_Z)
            return QChar(key - Qt::Key_A + 1);
        return QChar();
    }
    if (mods & (Qt::AltModifier | Qt::MetaModifier))
        return QChar();
    return printable ? text.at(0) : QChar();
}

} // namespace

CMaskEdit::CMaskEdit(QWidget* parent) : QLineEdit(parent)
{
    // Dropped text and composed input would bypass the key rules.
    setAcceptDrops(false);
    setAttribute(Qt::WA_InputMethodEnabled, false);
    SetMode(Text);
}

int CMaskEdit::SetMode(int mode)
{
    QFont f = font();
    f.setFamily(QStringLiteral("Courier"));
    f.setStyleHint(QFont::TypeWriter);
    f.setFixedPitch(true);
    setFont(f);
    if (mode < Digits || mode > NoInput)
        return -1;
    const int previous = m_mode;
    m_mode = mode;
    return previous;
}

void CMaskEdit::SetLimitText(int limit)
{
    m_limit = limit > 0 ? limit : 32767;
}

bool CMaskEdit::IsCardListNavigation(int key)
{
    switch (key) {
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_End:
    case Qt::Key_Home:
    case Qt::Key_Left:
    case Qt::Key_Up:
    case Qt::Key_Right:
        return true;
    default:
        return false;
    }
}

void CMaskEdit::Beep()
{
    if (m_quiet)
        ++m_refusals;
    else
        Messages().Beep();
}

void CMaskEdit::keyPressEvent(QKeyEvent* e)
{
    const int key = e->key();
    m_umlautKey =
        key == Qt::Key_Adiaeresis || key == Qt::Key_Odiaeresis || key == Qt::Key_Udiaeresis;

    // The dialog's own keys: default button, cancel and the focus chain.
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        QLineEdit::keyPressEvent(e);
        return;
    default:
        break;
    }

    // Selecting everything changes nothing, so it keeps its shortcut in every mode.
    if (e->matches(QKeySequence::SelectAll)) {
        selectAll();
        e->accept();
        return;
    }

    const QChar c = CharOf(e);
    if (m_mode == CardList) {
        // Only caret movement keeps its default; characters follow the pattern, every other
        // key (delete, cut, undo) is swallowed so the pattern cannot be broken.
        if (IsCardListNavigation(key) && c.isNull()) {
            QLineEdit::keyPressEvent(e);
            return;
        }
        if ((e->modifiers() & (Qt::AltModifier | Qt::MetaModifier)) &&
            !(e->modifiers() & Qt::ControlModifier)) {
            e->ignore();
            return;
        }
        if (!c.isNull())
            TypeChar(c, true);
        e->accept();
        return;
    }

    if (c.isNull()) {
        if (e->matches(QKeySequence::Paste)) { // Shift+Insert
            PasteFiltered(QGuiApplication::clipboard()->text());
            e->accept();
            return;
        }
        QLineEdit::keyPressEvent(e);
        return;
    }
    // Backspace edits as usual; copying cannot change the field, so it keeps its shortcut.
    if (c.unicode() == 8 || e->matches(QKeySequence::Copy)) {
        QLineEdit::keyPressEvent(e);
        return;
    }
    TypeChar(c, true);
    e->accept();
}

void CMaskEdit::keyReleaseEvent(QKeyEvent* e)
{
    if (m_mode != CardList) {
        QLineEdit::keyReleaseEvent(e);
        return;
    }
    if (IsCardListNavigation(e->key())) {
        QLineEdit::keyReleaseEvent(e);
        return;
    }
    if (e->key() == Qt::Key_Delete && !e->isAutoRepeat())
        DeleteLastCardGroup();
    e->accept();
}

void CMaskEdit::focusInEvent(QFocusEvent* e)
{
    QLineEdit::focusInEvent(e);
    if (m_mode == CardList && (text().isEmpty() || text() == QLatin1String("0/00"))) {
        setText(QStringLiteral("0/00"));
        setCursorPosition(0);
        return;
    }
    // Reached by the keyboard, the field's text is replaced by what is typed next, as in
    // every dialog; a part selected earlier does not count.
    const Qt::FocusReason reason = e->reason();
    if (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason ||
        reason == Qt::ShortcutFocusReason)
        SelectWhole();
}

void CMaskEdit::SelectWhole()
{
    // The caret stays at the start, so that a long text shows its beginning.
    setSelection(int(text().size()), -int(text().size()));
}

void CMaskEdit::mouseReleaseEvent(QMouseEvent* e)
{
    // The middle button pastes the X selection: through the rules like every paste.
    if (e->button() == Qt::MiddleButton && QGuiApplication::clipboard()->supportsSelection()) {
        if (!isReadOnly()) {
            deselect();
            PasteFiltered(QGuiApplication::clipboard()->text(QClipboard::Selection));
        }
        e->accept();
        return;
    }
    QLineEdit::mouseReleaseEvent(e);
}

void CMaskEdit::contextMenuEvent(QContextMenuEvent* e)
{
    // Our own menu, in German, whose paste goes through the rules; a card list changes only
    // group by group, so cutting, deleting and undoing are not offered there.
    const bool editable = !isReadOnly();
    const bool pattern = m_mode == CardList;
    const bool selected = hasSelectedText();
    QMenu menu(this);
    auto add = [&](const QString& text, const char* name, bool enabled, auto slot) {
        QAction* action = menu.addAction(text, this, slot);
        action->setObjectName(QLatin1String(name));
        action->setEnabled(enabled);
        return action;
    };
    add(QStringLiteral("&Rückgängig"), "edit-undo", editable && !pattern && isUndoAvailable(),
        [this] { undo(); });
    add(QStringLiteral("&Wiederherstellen"), "edit-redo", editable && !pattern && isRedoAvailable(),
        [this] { redo(); });
    menu.addSeparator();
    add(QStringLiteral("&Ausschneiden"), "edit-cut", editable && !pattern && selected,
        [this] { cut(); });
    add(QStringLiteral("&Kopieren"), "edit-copy", selected, [this] { copy(); });
    add(QStringLiteral("E&infügen"), "edit-paste",
        editable && m_mode != NoInput && !QGuiApplication::clipboard()->text().isEmpty(),
        [this] { PasteFiltered(QGuiApplication::clipboard()->text()); });
    add(QStringLiteral("&Löschen"), "edit-delete", editable && !pattern && selected,
        [this] { del(); });
    menu.addSeparator();
    add(QStringLiteral("Alles &markieren"), "select-all", !text().isEmpty(),
        [this] { selectAll(); });
    menu.exec(e->globalPos());
}

void CMaskEdit::inputMethodEvent(QInputMethodEvent* e)
{
    // Composed text must pass the same rules as typed text.
    const QString commit = e->commitString();
    for (QChar c : commit)
        TypeChar(c, true);
    e->accept();
}

void CMaskEdit::PasteFiltered(const QString& text)
{
    if (isReadOnly())
        return;
    m_quiet = true;
    m_refusals = 0;
    for (QChar c : text) {
        // The slashes of a pasted card list are the pattern's own; the caret jumps them.
        if (m_mode == CardList && c == QLatin1Char('/'))
            continue;
        m_umlautKey = IsUmlautChar(c);
        TypeChar(c, false);
    }
    m_umlautKey = false;
    m_quiet = false;
    if (m_refusals > 0)
        Messages().Beep();
    m_refusals = 0;
}

bool CMaskEdit::InsertWithinLimit(QChar c, int limit)
{
    const int length = int(text().size()) - int(selectedText().size()) + 1;
    if (length > limit || length > maxLength())
        return false;
    insert(QString(c));
    return true;
}

CMaskEdit::Outcome CMaskEdit::TypeChar(QChar c, bool beep)
{
    const bool wasQuiet = m_quiet;
    m_quiet = wasQuiet || !beep;
    Outcome outcome = Outcome::Silent;
    const ushort u = c.unicode();
    switch (m_mode) {
    case Digits:
        if (u >= '0' && u <= '9')
            outcome = InsertWithinLimit(c, m_limit) ? Outcome::Accepted : Outcome::Full;
        else
            outcome = Outcome::Refused;
        break;
    case Text:
        if ((u >= 32 && u <= 126) || (m_umlautKey && IsUmlautChar(c)))
            outcome = InsertWithinLimit(c, m_limit) ? Outcome::Accepted : Outcome::Full;
        else
            outcome = Outcome::Silent; // dropped without a beep
        break;
    case CardList:
        outcome = TypeCardList(c);
        break;
    case GroupOrCard:
        outcome = TypeGroupOrCard(c);
        break;
    default:
        outcome = Outcome::Silent;
        break;
    }
    // A character the limit keeps out is refused like any other.
    if (outcome == Outcome::Refused || outcome == Outcome::Full)
        Beep();
    m_quiet = wasQuiet;
    return outcome;
}

CMaskEdit::Outcome CMaskEdit::TypeGroupOrCard(QChar c)
{
    const QString t = text();
    const bool digit = c >= QLatin1Char('0') && c <= QLatin1Char('9');
    const bool plus = c == QLatin1Char('+');
    const int numberLimit = qMax(1, qMin(5, m_groupDigits));
    auto insertNumber = [&] {
        m_limit = 5;
        return InsertWithinLimit(c, qMin(m_limit, numberLimit)) ? Outcome::Accepted : Outcome::Full;
    };
    auto insertCard = [&] {
        m_limit = 2;
        return InsertWithinLimit(c, m_limit) ? Outcome::Accepted : Outcome::Full;
    };

    const bool whole = t.isEmpty() || (selectionStart() == 0 && selectedText().size() == t.size());
    if (whole) {
        if (digit)
            return insertNumber();
        if (plus)
            return insertCard();
        return Outcome::Refused;
    }
    if (plus) {
        if (cursorPosition() == 0 && !t.startsWith(QLatin1Char('+')))
            return insertCard();
        return Outcome::Refused;
    }
    if (digit) {
        if (t.startsWith(QLatin1Char('+'))) {
            m_limit = 2;
            if (c == QLatin1Char('0'))
                return Outcome::Refused;
            return insertCard();
        }
        return insertNumber();
    }
    return Outcome::Refused;
}

CMaskEdit::Outcome CMaskEdit::TypeCardList(QChar c)
{
    const QString t = text().left(20);
    const int n = int(t.size());
    const int p = cursorPosition();
    auto replaceAt = [&](int pos) {
        QString next = text();
        if (pos < next.size())
            next[pos] = c;
        else
            next += c;
        setText(next);
    };
    auto caretTo = [&](int pos) { setCursorPosition(qMin(pos, int(text().size()))); };

    switch (p) {
    case 0:
    case 5:
    case 10:
    case 15: // card digit
        if (c >= QLatin1Char('1') && c <= QLatin1Char('9')) {
            replaceAt(p);
            caretTo(p + 2);
            return Outcome::Accepted;
        }
        return Outcome::Refused;
    case 2:
    case 7:
    case 12:
    case 17: // first digit of the number 01..32
        if (c >= QLatin1Char('0') && c <= QLatin1Char('3')) {
            replaceAt(p);
            caretTo(p + 1);
            return Outcome::Accepted;
        }
        if (c >= QLatin1Char('4') && c <= QLatin1Char('9'))
            return Outcome::Silent;
        return Outcome::Refused;
    case 3:
    case 8:
    case 13:
    case 18: { // second digit of the number
        if (!(c >= QLatin1Char('0') && c <= QLatin1Char('9')))
            return Outcome::Refused;
        const QChar before = p - 1 < n ? t.at(p - 1) : QChar();
        const bool bad = (before == QLatin1Char('0') && c == QLatin1Char('0')) ||
                         (before == QLatin1Char('3') && c > QLatin1Char('2'));
        if (!bad)
            replaceAt(p);
        caretTo(p + 1);
        return bad ? Outcome::Refused : Outcome::Accepted;
    }
    case 4:
    case 9:
    case 14: { // the blank that opens the next group
        const bool complete =
            p == n && t.at(p - 4) != QLatin1Char('0') && t.mid(p - 2, 2) != QLatin1String("00");
        // The new group must fit the limit; behind the second group the limit must also
        // leave room for the blank the cleaning appends before it cuts the list into groups.
        const bool fits = n + 5 <= m_limit && (p != 9 || m_limit >= 15);
        if (c == QLatin1Char(' ') && complete && fits) {
            setText(t + QStringLiteral(" 0/00"));
            caretTo(p + 1);
            return Outcome::Accepted;
        }
        return Outcome::Refused;
    }
    default: // slashes, and no fifth group
        return Outcome::Refused;
    }
}

void CMaskEdit::DeleteLastCardGroup()
{
    const QString t = text();
    const int n = int(t.size());
    const int start = selectionStart();
    const int length = int(selectedText().size());
    if (n == 4) {
        if (start == 0 && length == 4)
            setText(QString());
        return;
    }
    if (n == 9 || n == 14 || n == 19) {
        if (start == n - 4 && length == 4) {
            setText(t.left(n - 5));
            setCursorPosition(n - 5);
        }
        return;
    }
    Beep();
}
