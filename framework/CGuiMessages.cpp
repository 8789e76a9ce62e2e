#include "CGuiMessages.h"

// Qt
#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QMainWindow>
#include <QMessageBox>

namespace {

// While a box or dialog waits for the user, a wait cursor of the work behind it would say
// the program is busy: show the normal cursor until it closes.
class NormalCursorScope
{
public:
    NormalCursorScope() : m_active(QApplication::overrideCursor() != nullptr)
    {
        if (m_active)
            QApplication::setOverrideCursor(Qt::ArrowCursor);
    }
    ~NormalCursorScope()
    {
        if (m_active)
            QApplication::restoreOverrideCursor();
    }
    NormalCursorScope(const NormalCursorScope&) = delete;
    NormalCursorScope& operator=(const NormalCursorScope&) = delete;

private:
    bool m_active;
};

// The window a message speaks for: a running modal window (a transfer) owns its messages even
// when the main window was brought to the front; otherwise the active window, else the
// program's visible main window, so that no box stands alone in the middle of the screen.
QWidget* OwnerWindow()
{
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    if (QWidget* active = QApplication::activeWindow())
        return active;
    if (QWidget* focus = QApplication::focusWidget())
        return focus->window();
    const auto widgets = QApplication::topLevelWidgets();
    QWidget* fallback = nullptr;
    for (QWidget* w : widgets) {
        if (!w->isVisible() || w->windowType() == Qt::ToolTip || w->windowType() == Qt::Popup)
            continue;
        if (qobject_cast<QMainWindow*>(w))
            return w;
        if (!fallback)
            fallback = w;
    }
    return fallback;
}

} // namespace

int CGuiMessages::Show(const QString& text, const QString& caption, msg::Icon icon,
                       msg::Buttons buttons)
{
    // Owned by its window, the box stands centred on it.
    QMessageBox box(OwnerWindow());
    box.setText(text);
    box.setWindowTitle(caption);
    switch (icon) {
    case msg::NoIcon:
        break;
    case msg::Information:
        box.setIcon(QMessageBox::Information);
        break;
    case msg::Warning:
        box.setIcon(QMessageBox::Warning);
        break;
    case msg::Error:
        box.setIcon(QMessageBox::Critical);
        break;
    case msg::Question:
        box.setIcon(QMessageBox::Question);
        break;
    }
    switch (buttons) {
    case msg::Ok:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case msg::OkCancel:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        break;
    case msg::YesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        break;
    case msg::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
    case msg::RetryCancel:
        box.setStandardButtons(QMessageBox::Retry | QMessageBox::Cancel);
        break;
    }
    const NormalCursorScope cursor;
    switch (box.exec()) {
    case QMessageBox::Ok:
        return msg::IdOk;
    case QMessageBox::Yes:
        return msg::IdYes;
    case QMessageBox::No:
        return msg::IdNo;
    case QMessageBox::Retry:
        return msg::IdRetry;
    default:
        return msg::IdCancel;
    }
}

void CGuiMessages::Beep()
{
    QApplication::beep();
}

QString CGuiMessages::QtFilter(const QString& filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        const QString desc = parts[i].trimmed();
        const QString pattern = parts[i + 1].trimmed();
        if (desc.isEmpty() && pattern.isEmpty())
            continue;
        QString pat = pattern;
        pat.replace(QLatin1Char(';'), QLatin1Char(' '));
        out.append(desc.contains(pattern) ? desc : desc + QStringLiteral(" (") + pat + ')');
    }
    return out.join(QStringLiteral(";;"));
}

bool CGuiMessages::SaveFileName(const msg::FileDialog& dialog, QString& path)
{
    QFileDialog fd(OwnerWindow(), dialog.title, dialog.initialDir, QtFilter(dialog.filter));
    fd.setAcceptMode(QFileDialog::AcceptSave);
    fd.setFileMode(QFileDialog::AnyFile);
    if (!dialog.defaultExt.isEmpty())
        fd.setDefaultSuffix(dialog.defaultExt);
    if (!dialog.overwritePrompt)
        fd.setOption(QFileDialog::DontConfirmOverwrite);
    if (!dialog.initialName.isEmpty() && !dialog.initialName.contains(QLatin1Char('*')))
        fd.selectFile(dialog.initialName);
    const NormalCursorScope cursor;
    if (fd.exec() != QDialog::Accepted || fd.selectedFiles().isEmpty())
        return false;
    path = fd.selectedFiles().constFirst();
    return true;
}

bool CGuiMessages::OpenFileName(const msg::FileDialog& dialog, QString& path)
{
    QFileDialog fd(OwnerWindow(), dialog.title, dialog.initialDir, QtFilter(dialog.filter));
    fd.setAcceptMode(QFileDialog::AcceptOpen);
    fd.setFileMode(QFileDialog::ExistingFile);
    const NormalCursorScope cursor;
    if (fd.exec() != QDialog::Accepted || fd.selectedFiles().isEmpty())
        return false;
    path = fd.selectedFiles().constFirst();
    return true;
}

void CGuiMessages::BeginWaitCursor()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

void CGuiMessages::EndWaitCursor()
{
    QApplication::restoreOverrideCursor();
}
