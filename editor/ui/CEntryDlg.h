#pragma once

#include "CRecordList.h"
#include "MessageRecord.h"
#include "ProjectData.h"

// Qt
#include <QDialog>
#include <QPointer>

class CEditHistory;
class CMaskEdit;
class CQuillmarkDoc;
class QAbstractItemView;
class QLabel;
class QPushButton;

// The three modeless entry dialogs, one per text format: "Standardeingabe",
// "Pseudo Meldergruppe" and "2 x 20 Zeichen freier Text". "OK" stores the record through
// CRecordList::InsertRecord and closes; "&Kopieren" stores it and advances the detector (or
// the group) so that long runs of detectors are typed quickly. A refused record keeps the
// dialog open with everything typed.
//
// How the frame opens one: CEntryDlg::OpenForProject(doc, frame, row, rows) with the document,
// the main window as parent (the dialog stays above it and activates it when it closes), the
// row to edit (-1 for an empty record) and the view that shows the rows. It picks the dialog
// of the project's text format, opens nothing when a dialog of that caption is already open
// (at most one per caption) and otherwise shows the new dialog modeless beside or below the
// rows and marks the document modified. The dialog works on the document's ProjectData and
// record list only; the row a stored record should be seen at is told with RecordPlaced, for
// the list view to scroll to, and where the dialog has to cover the rows, it keeps the stored
// row visible above itself.
class CEntryDlg : public QDialog
{
    Q_OBJECT

public:
    // One dialog per text format; the kind is the format's number.
    enum Kind { Standard = FormatStandard, Pseudo = FormatPseudo, TwoLines = FormatTwoLines };

    CEntryDlg(Kind kind, ProjectData* data, CRecordList* records, QWidget* parent = nullptr);

    static CEntryDlg* OpenForProject(CQuillmarkDoc& doc, QWidget* frame, int row,
                                     QAbstractItemView* rows = nullptr);
    // The open dialog with this caption, or nullptr.
    static CEntryDlg* FindOpen(const QString& caption);
    static QString Caption(Kind kind);
    // The dialog kind of a text format; false for formats without an entry dialog.
    static bool KindOfFormat(int textFormat, Kind& kind);
    // Closes the open entry dialogs that were built for another project layout (text format,
    // digit counts, text lengths, panel): after "Neu", "Öffnen", reading from the FAT or a
    // format change their fields, limits and record tag no longer fit the list.
    static void CloseStale();
    bool FitsProject() const;

    // Fills the fields from row (-1: empty), sets limits and modes, focuses the group field.
    void Fill(int row);

    // A card list "D/NN D/NN" without its placeholder and unfinished groups.

    Kind GetKind() const { return m_kind; }
    CMaskEdit* GroupField() const { return m_group; }
    CMaskEdit* PseudoField() const { return m_pseudo; }
    CMaskEdit* DetectorField() const { return m_detector; }
    CMaskEdit* Text1Field() const { return m_text1; }
    CMaskEdit* Text2Field() const { return m_text2; }
    QPushButton* OkButton() const { return m_ok; }
    QPushButton* CopyButton() const { return m_copy; }
    QPushButton* CancelButton() const { return m_cancel; }

public slots:
    void OnOK();
    void OnCopy();

signals:
    // A record was stored at row and should be seen there.
    void RecordPlaced(int row);

protected:
    void done(int result) override;

private:
    enum class Button { Ok, Copy };

    void BuildLayout();
    // Reads the fields into rec and runs the checks before the list's own; false when a
    // message was shown (the dialog stays as it is).
    bool ReadChecked(Button button, MessageRecord& rec);
    // Inserts rec; a refusal is shown and gives false.
    bool Store(const MessageRecord& rec, bool show);
    void Advance(const MessageRecord& typed);
    // The field a technician changes between two detectors of a run.
    CMaskEdit* NextFieldAfterCopy() const;
    // Beside the frame, else below it, else over the lower part of the rows.
    void PlaceBesideRows();
    // Scrolls the list so that row stands above the dialog where the dialog covers it.
    void KeepRowAbove(int row);
    static void SizeToChars(CMaskEdit* field, int chars, bool fixed, const QLabel* label = nullptr);

    // The project layout the fields were built for.
    struct Layout
    {
        int textFormat, groupDigits, pseudoGroupDigits, detectorDigits, text1Length, text2Length,
            panelType, panelVariant;
        bool operator==(const Layout& o) const;
    };
    static Layout LayoutOf(const ProjectData& d);

    Kind m_kind;
    ProjectData* m_data;
    Layout m_layout{};
    CRecordList& m_records;
    // The project's history, through which each stored text becomes a step (none: stored
    // without one).
    CEditHistory* m_history = nullptr;
    QPointer<QAbstractItemView> m_rows;
    CMaskEdit* m_group = nullptr;
    CMaskEdit* m_pseudo = nullptr;
    CMaskEdit* m_detector = nullptr;
    CMaskEdit* m_text1 = nullptr;
    CMaskEdit* m_text2 = nullptr;
    QLabel* m_groupLabel = nullptr;
    QLabel* m_detectorLabel = nullptr;
    QLabel* m_pseudoLabel = nullptr;
    QLabel* m_separator = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_copy = nullptr;
    QPushButton* m_cancel = nullptr;
};
