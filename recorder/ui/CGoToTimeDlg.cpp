#include "CGoToTimeDlg.h"

#include "CMessages.h"

// Qt
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QVBoxLayout>

namespace {

constexpr qint64 kDayMs = 24 * 3600 * 1000;

QString Stamp(CChunkTimes::Ms time)
{
    return CChunkTimes::ToDateTime(time).toString(QStringLiteral("dd.MM.yy, HH:mm:ss.zzz"));
}

} // namespace

CGoToTimeDlg::CGoToTimeDlg(CChunkTimes::Ms first, CChunkTimes::Ms last, CChunkTimes::Ms shown,
                           QWidget* parent)
    : QDialog(parent), m_edit(new QLineEdit(Stamp(shown), this)), m_first(first)
{
    setWindowTitle(QStringLiteral("Gehe zu Zeit"));
    auto* layout = new QVBoxLayout(this);
    auto* label =
        new QLabel(QStringLiteral("&Zeit (hh:mm:ss.mmm, davor auch das Datum tt.mm.jj):"), this);
    label->setBuddy(m_edit);
    layout->addWidget(label);
    layout->addWidget(m_edit);
    layout->addWidget(new QLabel(
        QStringLiteral("Aufzeichnung von %1 bis %2").arg(Stamp(first), Stamp(last)), this));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &CGoToTimeDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CGoToTimeDlg::reject);
    layout->addWidget(buttons);
    m_edit->selectAll();
}

std::optional<CChunkTimes::Ms> CGoToTimeDlg::Parse(const QString& text, CChunkTimes::Ms first)
{
    static const QRegularExpression pattern(QStringLiteral(
        R"(^\s*(?:(\d{1,2})\.(\d{1,2})\.(\d{2}),?\s+)?(\d{1,2}):(\d{2})(?::(\d{2})(?:[.,](\d{1,3}))?)?\s*$)"));
    const QRegularExpressionMatch m = pattern.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    const QTime time(m.captured(4).toInt(), m.captured(5).toInt(), m.captured(6).toInt(),
                     m.captured(7).leftJustified(3, QLatin1Char('0')).toInt());
    if (!time.isValid())
        return std::nullopt;
    if (!m.captured(1).isEmpty()) {
        const QDate date(2000 + m.captured(3).toInt(), m.captured(2).toInt(),
                         m.captured(1).toInt());
        if (!date.isValid())
            return std::nullopt;
        return CChunkTimes::FromDateTime(QDateTime(date, time));
    }
    // Without a date: that time of the first day, or of the next one when it came before
    // the recording began (a recording over midnight).
    CChunkTimes::Ms wanted = first - first % kDayMs + time.msecsSinceStartOfDay();
    if (wanted < first)
        wanted += kDayMs;
    return wanted;
}

void CGoToTimeDlg::accept()
{
    const std::optional<CChunkTimes::Ms> time = Parse(m_edit->text(), m_first);
    if (!time) {
        MessageBox(QStringLiteral("Geben Sie bitte eine Zeit wie 09:05:03 oder "
                                  "08.12.26, 09:05:03.042 ein."),
                   QString(), msg::Warning);
        m_edit->setFocus();
        m_edit->selectAll();
        return;
    }
    m_time = *time;
    QDialog::accept();
}
