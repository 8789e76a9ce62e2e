#pragma once

// Qt
#include <QDialog>

class CLineprobeDoc;
class QLabel;

// "FAT Anpassung": the decoded identification of the connected FAT; OK only.
class CFatDataDlg : public QDialog
{
    Q_OBJECT

public:
    CFatDataDlg(const QString& fatVersion, const QString& maker, const QString& model,
                QWidget* parent = nullptr);

    // "&FAT Daten": the dialog on the document's identification, or the refusal before any
    // identification came.
    static void ShowIdentification(const CLineprobeDoc& doc, QWidget* parent);

    QString FatVersionText() const;
    QString MakerText() const;
    QString ModelText() const;

private:
    QLabel* m_version;
    QLabel* m_maker;
    QLabel* m_model;
};
