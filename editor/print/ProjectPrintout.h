#pragma once

#include "PageLayout.h"
#include "PrintMetrics.h"
#include "ProjectData.h"
#include "ProjectPrintFonts.h"

// Qt
#include <QDate>
#include <QString>

class CRecordList;

// The printout of a project as page layouts: page 1 is the cover page, the list pages follow
// with a fixed number of rows each. Each page reads only its own rows from the list.
class ProjectPrintout
{
public:
    ProjectPrintout(const ProjectData& data, const CRecordList& records,
                    const PrintMetrics& metrics, const ProjectPrintFonts& fonts,
                    const QString& pathName, const QDate& date);

    // Fixed when the job starts: 1 + the list pages, at least one list page.
    int LastPage() const { return m_lastPage; }
    // Page n from 1 to LastPage(); other numbers give an empty page.
    PageLayout Page(int n) const;

    static QString Title() { return QStringLiteral("FAT Versorgungstexte"); }
    // The panel model as the cover page names it; empty for a variant the panel lacks.
    static QString PanelModel(int panelType, int panelVariant);
    static QString FormatText(int textFormat);
    // dd.mm.yyyy
    static QString DateText(const QDate& date);
    // The number of list pages for rows at linesPerPage (at least 1).
    static int ListPages(int rows, int linesPerPage);

private:
    PageLayout CoverPage() const;
    PageLayout ListPage(int n) const;
    int LinesPerPage() const;
    QString CoverText(int index) const;

    const ProjectData& m_data;
    const CRecordList& m_records;
    PrintMetrics m_metrics;
    ProjectPrintFonts m_fonts;
    QString m_pathName;
    QDate m_date;
    int m_rows = 0;
    int m_lastPage = 2;
};
