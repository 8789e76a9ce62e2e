#pragma once

#include "CHeadlessTransfer.h"
#include "CMessageRecorder.h"
#include "CQuillmarkDoc.h"
#include "CSerial.h"
#include "FatSimProcess.h"
#include "ProjectRules.h"
#include "TextProject.h"

#include <gtest/gtest.h>

// Qt
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstring>

// One transfer against a fatsim process on its own pseudo-terminal, through the real
// serial component, with every message recorded.
class LinkTest : public ::testing::Test
{
protected:
    // Timeouts for tests about the logic; the time-out tests use the real ones.
    static TransferTimeouts Quick() { return TransferTimeouts{1000, 500, 500}; }

    void StartFat(const QStringList& options = {}, const QByteArray& store = {})
    {
        if (!store.isEmpty()) {
            ASSERT_TRUE(m_fat.WriteStore(store));
        }
        ASSERT_FALSE(m_fat.Start(options).isEmpty()) << m_fat.ErrorOutput().toStdString();
        m_serial.SetPortName(m_fat.Device());
    }

    CHeadlessTransfer::Outcome Run(int mode, const TransferTimeouts& t = Quick(),
                                   const std::function<void()>& opened = {})
    {
        QElapsedTimer clock;
        clock.start();
        const auto outcome = CHeadlessTransfer::Run(mode, m_doc, m_serial, t, 0, opened);
        m_elapsed = clock.elapsed();
        m_fat.Stop();
        return outcome;
    }

    // A format-2 Bosch project of 40 display characters, 4 group and 2 detector digits.
    void MakeProject(int textFormat = FormatStandard, int panelType = PanelType::Bosch,
                     const char* panelId = "BO 1")
    {
        ASSERT_TRUE(MakeTextProject(m_doc, textFormat, panelType, panelId));
    }

    void AddRow(const char* tag, const char* group, const char* detector, const char* text1,
                const char* text2, const char* pseudo = "")
    {
        m_doc.Records().AddRecordAt(TextRecord(tag, group, detector, text1, text2, pseudo),
                                    m_doc.Records().GetCount());
    }

    void SetOffset(const char* text)
    {
        std::memset(m_doc.Data().groupOffset, 0, sizeof m_doc.Data().groupOffset);
        std::strncpy(m_doc.Data().groupOffset, text, sizeof m_doc.Data().groupOffset - 1);
    }

    // The one message box of the transfer, as "caption|text".
    QStringList Boxes() const
    {
        QStringList list;
        for (const auto& b : m_recorder.Boxes())
            list.append(b.caption + "|" + b.text);
        return list;
    }

    static QByteArray StoreJson(const QList<QByteArray>& records, qint32 offset = 0,
                                bool hasTexts = true)
    {
        QJsonObject o;
        o["hasTexts"] = hasTexts;
        o["groupOffset"] = offset;
        QJsonArray list;
        for (const QByteArray& r : records)
            list.append(QString::fromLatin1(r.toHex()));
        o["records"] = list;
        return QJsonDocument(o).toJson();
    }

    QJsonObject StoreAfter() const
    {
        QFile file(m_fat.StorePath());
        if (!file.open(QIODevice::ReadOnly))
            return QJsonObject();
        return QJsonDocument::fromJson(file.readAll()).object();
    }

    static QByteArray Hex(const char* hex) { return QByteArray::fromHex(hex); }

    static unsigned char Sum(const QByteArray& bytes)
    {
        unsigned s = 0;
        for (char c : bytes)
            s += static_cast<unsigned char>(c);
        return static_cast<unsigned char>(s);
    }

    // A wire "S" record of the standard layout (type, 4, 2, 12, 20).
    static QByteArray SRecord(const char* group, const char* detector, const char* text1,
                              const char* text2)
    {
        return QByteArray(1, char(0x88)) + group + detector +
               QByteArray(text1).leftJustified(12, ' ') + QByteArray(text2).leftJustified(20, ' ');
    }

    static const char* Ok() { return "Hinweis|Die Datenübertragung wurde erfolgreich beendet"; }
    static const char* OkWrite()
    {
        return "Hinweis|Die Datenübertragung wurde erfolgreich beendet.";
    }
    static const char* NoAnswer() { return "Hinweis|FAT antwortet nicht."; }

    FatSimProcess m_fat{QStringLiteral(FATSIM_PATH)};
    CMessageRecorder m_recorder;
    CQuillmarkDoc m_doc;
    CSerial m_serial;
    qint64 m_elapsed = 0;
};
