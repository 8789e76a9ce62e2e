#pragma once

#include "CLineIndex.h"
#include "CRecordingSession.h"
#include "CTraceSearch.h"

// Qt
#include <QTimer>
#include <QWidget>

class CTraceListView;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;

// The search bar under Lineprobe's trace views: a text in the ASCII list or a byte sequence
// in the active view's list, searched in steps so that the window stays alive and Esc stops
// it, and searched on as the recording brings lines. The match is selected in both views
// (they are coupled) and every match in sight is painted behind the text.
class CTraceSearchBar : public QWidget
{
    Q_OBJECT

public:
    // Rows searched in one turn of the event loop.
    enum { StepRows = 100000 };

    CTraceSearchBar(CRecordingSession& session, CTraceListView* ascii, CTraceListView* hex,
                    QWidget* parent = nullptr);

    // "&Suchen...": the bar shows with the typed text selected; active: the active view.
    void Open(CTraceListView* active);
    // F3 / Shift+F3: the next or previous match from the selected line on.
    void FindNext() { Find(+1); }
    void FindPrevious() { Find(-1); }
    // Esc: a running search stops; otherwise the bar closes and the marks go.
    void Cancel();
    // The bar closes, the marks go.
    void Close();

    QString StatusText() const { return m_status; }
    const CTraceSearch& Search() const { return m_search; }
    QLineEdit* Edit() const { return m_edit; }
    QComboBox* KindBox() const { return m_kind; }
    QCheckBox* IgnoreCaseBox() const { return m_ignoreCase; }

signals:
    // The text for the status bar ("Treffer 3 von 41").
    void StatusChanged(const QString& text);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Find(int direction);
    // The query of the bar's fields; false after the message of a bad entry.
    bool ReadQuery(CTraceSearch::Query& query, QString& error) const;
    void Restart(const CTraceSearch::Query& query, LineRules::View view);
    void Step();
    void Jump(int direction);
    void OnLinesAppended(LineRules::View view, const CLineIndex::Change& change);
    CTraceListView* SearchedView() const;
    void ShowCount();
    void SetStatus(const QString& text);

    CRecordingSession& m_session;
    CTraceListView* m_ascii;
    CTraceListView* m_hex;
    CTraceListView* m_active = nullptr;
    QLineEdit* m_edit;
    QComboBox* m_kind;
    QCheckBox* m_ignoreCase;
    CTraceSearch m_search;
    LineRules::View m_view = LineRules::View::Ascii;
    QTimer m_step;
    int m_pendingJump = 0; // direction of the jump that waits for the search
    qsizetype m_matchRow = -1;
    int m_matchColumn = -1;
    QString m_status;
};
