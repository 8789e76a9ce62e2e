#pragma once

#include "ProjectData.h"

// Qt
#include <QDialog>

class CMaskEdit;
class QLabel;
class QRadioButton;

// The modal "Meldergruppenoffset" dialog: the detector group offset of a standard-format
// project as a sign and a number within the project's range. The offset is handed to the FAT
// with the texts and shown in the window title; stored group numbers never change.
//
// How the frame opens it: mark the document modified, then
// COffsetDlg(&doc.Data(), frame).exec(); on QDialog::Accepted groupOffset holds the new text
// and the frame repaints its title. Modal, so there is never more than one.
class COffsetDlg : public QDialog
{
    Q_OBJECT

public:
    explicit COffsetDlg(ProjectData* data, QWidget* parent = nullptr);

    // The range text for w digits: "- 9999 bis 9999." for w = 4.
    static QString RangeText(int width);

    CMaskEdit* ValueField() const { return m_value; }
    QRadioButton* PlusButton() const { return m_plus; }
    QRadioButton* MinusButton() const { return m_minus; }
    QLabel* RangeLabel() const { return m_range; }

public slots:
    void accept() override;

private:
    ProjectData* m_data;
    CMaskEdit* m_value = nullptr;
    QRadioButton* m_plus = nullptr;
    QRadioButton* m_minus = nullptr;
    QLabel* m_range = nullptr;
};
