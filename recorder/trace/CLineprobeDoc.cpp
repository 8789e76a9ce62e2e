#include "CLineprobeDoc.h"

#include "CMessages.h"
#include "CodePage.h"
#include "ListFile.h"
#include "PanelCatalogue.h"

namespace {

const QByteArray kRule(46, '-');
const QByteArray kCrLf = "\r\n";
const int kIdentChars = 32;
const int kMaxTracePath = 255;

} // namespace

CLineprobeDoc::CLineprobeDoc() : m_clock([] { return QDateTime::currentDateTime(); }) {}

QByteArray CLineprobeDoc::TimeStamp(const QDateTime& t)
{
    return t.toString(QStringLiteral("dd.MM.yy, HH:mm:ss.zzz")).toLatin1();
}

QByteArray CLineprobeDoc::TimeStamp() const
{
    return TimeStamp(m_clock());
}

void CLineprobeDoc::ClearIdentification()
{
    maker.clear();
    model.clear();
    fatVersion.clear();
}

QByteArray CLineprobeDoc::BaseName() const
{
    const int start = int(qMax(tracePath.lastIndexOf(QLatin1Char('/')),
                               tracePath.lastIndexOf(QLatin1Char('\\')))) +
                      1;
    QString name = tracePath.mid(start);
    const int dot = int(name.lastIndexOf(QLatin1Char('.')));
    if (dot >= 0)
        name.truncate(dot);
    return ToCp1252(name);
}

QByteArray CLineprobeDoc::AdaptationSuffix(int panelCode, unsigned char bits)
{
    if (panelCode != 12 && panelCode != 14)
        return QByteArray();
    QByteArray suffix;
    if (bits & 0x08)
        suffix += " , kein Summer";
    if (bits & 0x10)
        suffix += panelCode == 14 ? " , Erinnerungssummer ab" : " , JP5";
    if (bits & 0x20)
        suffix += " , JP6";
    if (bits & 0x40)
        suffix += " , JP7";
    if (bits & 0x80)
        suffix += " , Melderselektion";
    return suffix;
}

int CLineprobeDoc::DecodeIdentification(QByteArray& buffer)
{
    // Only the 32 characters count; a shorter buffer reads as NUL bytes beyond its end.
    QByteArray ident = buffer.left(kIdentChars);
    ident.append(QByteArray(kIdentChars - int(ident.size()), '\0'));

    int panelCode = PanelUnsupported;
    if (const PanelCatalogue::Maker* m = PanelCatalogue::MakerOf(ident.constData())) {
        const PanelCatalogue::Model* panel =
            PanelCatalogue::Select(PanelCatalogue::Reader::Trace, m->panelType, ident[3]);
        maker = m->traceName;
        model = panel ? panel->traceText : "";
        if (panel)
            panelCode = panel->panelCode;
    }
    // Every panel without a code gets the message, a known maker with an unknown model too.
    if (panelCode == PanelUnsupported) {
        MessageBox(QStringLiteral("Diese Funktion wird noch nicht unterstützt.\nSetzen Sie sich "
                                  "mit dem Hersteller in Verbindung."),
                   QString(), msg::Error);
    }
    fatVersion = ident.mid(10, 6);
    const QByteArray suffix = AdaptationSuffix(panelCode, static_cast<unsigned char>(ident[22]));

    const QByteArray para = kCrLf + kCrLf;
    QByteArray h;
    h += kRule + para;
    h += "Dateiname: " + BaseName() + para;
    h += "Aufzeichnung gestartet: " + TimeStamp() + para;
    h += QByteArray("FAT-Anpassung f\xFCr: ") + para;
    h += "Hersteller:  " + maker + kCrLf;
    h += "Zentrale:    " + model + kCrLf;
    h += "FAT-Version: " + fatVersion + suffix + kCrLf;
    h += "Lineprobe: " + programVersion + para;
    h += kRule + para;
    buffer = h;
    if (m_files.IsOpen())
        m_files.WriteText(h);
    return panelCode;
}

int CLineprobeDoc::ComposeExpertHeader(int baudRate, int parity, int dataBits, int stopBits,
                                       QByteArray& buffer)
{
    static const char* const stopTexts[] = {"1", "1.5", "2"};
    static const char* const parityTexts[] = {"keine", "ungerade", "gerade", "mark", "space"};
    const QByteArray para = kCrLf + kCrLf;
    QByteArray h;
    h += kRule + para;
    h += "Aufzeichnung gestartet: " + TimeStamp() + para;
    h += "Baudrate: " + QByteArray::number(baudRate) + kCrLf;
    h += "Datenbit: " + QByteArray::number(dataBits) + kCrLf;
    h += QByteArray("Stopbit:  ") + (stopBits >= 0 && stopBits <= 2 ? stopTexts[stopBits] : "") +
         kCrLf;
    h += QByteArray("Parit\xE4t:  ") + (parity >= 0 && parity <= 4 ? parityTexts[parity] : "") +
         kCrLf;
    h += QByteArray("keine Flu\xDF"
                    "kontrolle") +
         kCrLf;
    h += "Lineprobe: " + programVersion + para;
    h += kRule + para;
    fatVersion.clear();
    buffer = h;
    if (m_files.IsOpen())
        m_files.WriteText(h);
    return PanelExpert;
}

void CLineprobeDoc::ComposeFooter(QByteArray& buffer)
{
    const QByteArray para = kCrLf + kCrLf;
    QByteArray f = para;
    f += kRule + para;
    f += "Aufzeichnung beendet  : " + TimeStamp() + para;
    f += kRule;
    buffer = f;
    if (m_files.IsOpen()) {
        m_files.WriteText(f);
        m_files.Close();
    }
}

bool CLineprobeDoc::CreateTraceFiles()
{
    msg::FileDialog dialog;
    dialog.initialName = QStringLiteral("*.tds");
    dialog.defaultExt = QStringLiteral("tds");
    dialog.filter = QStringLiteral("Trace - Dateien (.tds) | *.tds||");
    dialog.overwritePrompt = true;
    QString path;
    if (!Messages().SaveFileName(dialog, path))
        return false;
    if (!TakeTracePath(path))
        return false;
    if (!m_files.Create(path))
        return false;
    SetPathName(path);
    UpdateTitle();
    return m_files.IsOpen();
}

bool CLineprobeDoc::AskListFile(QString& path)
{
    msg::FileDialog dialog;
    dialog.initialName = QStringLiteral("*.tvs");
    dialog.defaultExt = QStringLiteral("tvs");
    dialog.filter = QStringLiteral("Analyse - Dateien (.tvs) | *.tvs||");
    return Messages().OpenFileName(dialog, path);
}

bool CLineprobeDoc::OpenListFile()
{
    QString path;
    if (!AskListFile(path))
        return false;
    if (!TakeTracePath(path))
        return false;
    UpdateTitle();
    return true;
}

bool CLineprobeDoc::OpenDocument(const QString& path)
{
    if (!TakeTracePath(path))
        return false;
    UpdateTitle();
    return true;
}

bool CLineprobeDoc::TakeTracePath(const QString& path)
{
    // A longer path does not fit the trace path; a cut one would name another file.
    if (path.size() > kMaxTracePath) {
        MessageBox(QStringLiteral("File konnte nicht geöffnet werden"), QString(), msg::NoIcon);
        return false;
    }
    tracePath = path;
    return true;
}

void CLineprobeDoc::UpdateTitle()
{
    if (m_titleHook)
        m_titleHook();
}

QList<QByteArray> CLineprobeDoc::TextLines(const QByteArray& text)
{
    QList<QByteArray> lines;
    int start = 0;
    while (start <= text.size()) {
        const int lf = int(text.indexOf('\n', start));
        const int end = lf < 0 ? int(text.size()) : lf;
        QByteArray line = text.mid(start, end - start);
        const int cr = int(line.indexOf('\r'));
        if (cr >= 0)
            line.truncate(cr);
        if (lf < 0) {
            if (end > start)
                lines.append(line);
            break;
        }
        lines.append(line);
        start = lf + 1;
    }
    return lines;
}
