#pragma once

// Qt
#include <QDialog>
#include <QList>
#include <QPair>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

// "Suchen" and "Ersetzen": the modeless dialog beside the main window that holds the search
// text, the replacement, the column searched and whether case matters. It only asks; the
// commands that own it search and replace.
class CFindReplaceDlg : public QDialog
{
    Q_OBJECT

public:
    explicit CFindReplaceDlg(QWidget* owner);

    // The columns offered besides "Ganze Zeile" as (Column, heading), in the list's order.
    void SetColumns(const QList<QPair<int, QString>>& columns);
    // Shows the replacement and its buttons ("Ersetzen") or not ("Suchen").
    void SetReplaceMode(bool replace);
    bool ReplaceMode() const { return m_replaceMode; }

    QString FindText() const;
    QString ReplaceText() const;
    // RecordSearch::WholeRow or a Column.
    int Scope() const;
    bool MatchCase() const;

    // Places the dialog beside owner (global frame rectangle) on its screen: right of it, else
    // left, below or above it, else over it where it leaves row (global) uncovered.
    void PlaceBeside(const QRect& owner, const QRect& row);
    // Moves the dialog off row when it covers it.
    void KeepClearOf(const QRect& row);

signals:
    void findNext(bool forward);
    void replaceOne();
    void replaceAll();

private:
    void UpdateButtons();

    QLineEdit* m_find = nullptr;
    QLabel* m_replaceLabel = nullptr;
    QLineEdit* m_replace = nullptr;
    QComboBox* m_scope = nullptr;
    QCheckBox* m_matchCase = nullptr;
    QPushButton* m_next = nullptr;
    QPushButton* m_previous = nullptr;
    QPushButton* m_replaceOne = nullptr;
    QPushButton* m_replaceAll = nullptr;
    bool m_replaceMode = false;
};
