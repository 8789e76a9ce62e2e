#pragma once

#include "CChunkTimes.h"

// Qt
#include <QDialog>

#include <optional>

class QLineEdit;

// "Gehe zu Zeit": asks for a time of the recording ("09:05:03", with the date when the
// recording spans days). The result is the time the caller reads after OK.
class CGoToTimeDlg : public QDialog
{
    Q_OBJECT

public:
    // first, last: the recording's first and last stamp; shown: the time filled in.
    CGoToTimeDlg(CChunkTimes::Ms first, CChunkTimes::Ms last, CChunkTimes::Ms shown,
                 QWidget* parent = nullptr);

    CChunkTimes::Ms Time() const { return m_time; }
    QLineEdit* Edit() const { return m_edit; }

    // "hh:mm[:ss[.mmm]]", optionally after "tt.mm.jj"; a time without date is the first one
    // on or after the day of first that is not before first.
    static std::optional<CChunkTimes::Ms> Parse(const QString& text, CChunkTimes::Ms first);

public slots:
    void accept() override;

private:
    QLineEdit* m_edit;
    CChunkTimes::Ms m_first;
    CChunkTimes::Ms m_time = 0;
};
