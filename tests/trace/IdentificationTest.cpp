#include "CLineprobeDoc.h"
#include "CMessageRecorder.h"

#include <gtest/gtest.h>

namespace {

const QDateTime kFixed(QDate(2001, 3, 6), QTime(9, 5, 3, 42));

// 32 identification characters: maker code, model digit at 3, version at 10..15, bits at 22.
QByteArray Ident(const char* maker, char digit, const char* version = "V1.23a",
                 unsigned char bits = 0)
{
    QByteArray id(32, 'x');
    id[0] = maker[0];
    id[1] = maker[1];
    id[3] = digit;
    id.replace(10, 6, QByteArray(version, 6));
    id[22] = char(bits);
    return id;
}

class IdentificationTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        doc.SetClock([] { return kFixed; });
    }
    CMessageRecorder messages;
    CLineprobeDoc doc;
};

} // namespace

TEST(TimeStamp, TwoDigitFieldsAndMilliseconds)
{
    EXPECT_EQ(CLineprobeDoc::TimeStamp(kFixed), "06.03.01, 09:05:03.042");
    EXPECT_EQ(CLineprobeDoc::TimeStamp(QDateTime(QDate(2026, 12, 31), QTime(23, 59, 59, 999))),
              "31.12.26, 23:59:59.999");
}

TEST_F(IdentificationTest, PanelCodesOfTheMakerTable)
{
    struct Case
    {
        const char* maker;
        char digit;
        int code;
        const char* makerText;
        const char* model;
    };
    const Case cases[] = {
        {"EE", '4', 3, "eff eff", "BMC 1024, BMC 1016, BMC 664 mit Ausgangskarte"},
        {"EE", '5', 4, "eff eff", "WINMAG"},
        {"EE", '0', 2, "eff eff", "BMC 1024, BMC 1016, BMC 664"},
        {"EF", '9', 14, "Esser", "800x"},
        {"BO", '1', 5, "BOSCH", "UEZ 1000/2000, BZ 500 und UGM"},
        {"SI", '1', 6, "Siemens", "Sigmasys C/M"},
        {"SI", '2', 7, "Siemens", "AlgoRex CS1115"},
        {"TW", '1', 8, "Total Walther", "FAST 2000"},
        {"AC", '1', 10, "Alarmcom", "FC 330A"},
        {"AC", '2', 11, "Alarmcom", "FC 330A mit Eingangskarte"},
        {"AT", '1', 9, "Aritech", "Reihe FP 2000"},
        {"MM", '1', 12, "MINIMAX", "Minimax Protokoll Nr. 2"},
        {"NF", '1', 13, "NOTIFIER", "NF1000"},
    };
    for (const Case& c : cases) {
        doc.ClearIdentification();
        QByteArray buffer = Ident(c.maker, c.digit);
        EXPECT_EQ(doc.DecodeIdentification(buffer), c.code) << c.maker << c.digit;
        EXPECT_EQ(doc.maker, c.makerText);
        EXPECT_EQ(doc.model, c.model);
        EXPECT_EQ(doc.fatVersion, "V1.23a");
    }
    EXPECT_TRUE(messages.Entries().isEmpty());
}

TEST_F(IdentificationTest, AdaptationSuffixes)
{
    EXPECT_EQ(CLineprobeDoc::AdaptationSuffix(14, 0x18), " , kein Summer , Erinnerungssummer ab");
    EXPECT_EQ(CLineprobeDoc::AdaptationSuffix(12, 0x18), " , kein Summer , JP5");
    EXPECT_EQ(CLineprobeDoc::AdaptationSuffix(5, 0x18), "");
    EXPECT_EQ(CLineprobeDoc::AdaptationSuffix(12, 0xFF),
              " , kein Summer , JP5 , JP6 , JP7 , Melderselektion");
    EXPECT_EQ(CLineprobeDoc::AdaptationSuffix(14, 0x07), "");
}

TEST_F(IdentificationTest, HeaderByteForByte)
{
    doc.tracePath = "/daten/messung/run1.tds";
    QByteArray buffer = Ident("EF", '1', "2.10 B", 0x18);
    EXPECT_EQ(doc.DecodeIdentification(buffer), 14);
    const QByteArray expected = "----------------------------------------------\r\n\r\n"
                                "Dateiname: run1\r\n\r\n"
                                "Aufzeichnung gestartet: 06.03.01, 09:05:03.042\r\n\r\n"
                                "FAT-Anpassung f\xFCr: \r\n\r\n"
                                "Hersteller:  Esser\r\n"
                                "Zentrale:    800x\r\n"
                                "FAT-Version: 2.10 B , kein Summer , Erinnerungssummer ab\r\n"
                                "Lineprobe: 1.8\r\n\r\n"
                                "----------------------------------------------\r\n\r\n";
    EXPECT_EQ(buffer, expected);
    EXPECT_EQ(doc.fatVersion, "2.10 B") << "the version alone, without the suffix";
}

TEST_F(IdentificationTest, UnknownMakerStillGivesAHeader)
{
    doc.maker = "alt";
    doc.ClearIdentification();
    QByteArray buffer = Ident("XX", '1');
    EXPECT_EQ(doc.DecodeIdentification(buffer), 0);
    ASSERT_EQ(messages.Boxes().size(), 1);
    EXPECT_EQ(messages.Boxes()[0].text, "Diese Funktion wird noch nicht unterstützt.\nSetzen Sie "
                                        "sich mit dem Hersteller in Verbindung.");
    EXPECT_EQ(messages.Boxes()[0].icon, msg::Error);
    EXPECT_TRUE(buffer.contains("Hersteller:  \r\nZentrale:    \r\n"));
    EXPECT_TRUE(buffer.contains("Dateiname: \r\n")) << "no trace path";
}

TEST_F(IdentificationTest, ShortIdentificationIsReadWithinItsBounds)
{
    QByteArray buffer = "EF";
    EXPECT_EQ(doc.DecodeIdentification(buffer), 14);
    EXPECT_EQ(doc.fatVersion, QByteArray(6, '\0'));
}

TEST_F(IdentificationTest, ExpertHeaderByteForByte)
{
    doc.fatVersion = "V1.23a";
    QByteArray buffer;
    EXPECT_EQ(doc.ComposeExpertHeader(19200, 2, 7, 1, buffer), 1);
    const QByteArray expected = "----------------------------------------------\r\n\r\n"
                                "Aufzeichnung gestartet: 06.03.01, 09:05:03.042\r\n\r\n"
                                "Baudrate: 19200\r\n"
                                "Datenbit: 7\r\n"
                                "Stopbit:  1.5\r\n"
                                "Parit\xE4t:  gerade\r\n"
                                "keine Flu\xDFkontrolle\r\n"
                                "Lineprobe: 1.8\r\n\r\n"
                                "----------------------------------------------\r\n\r\n";
    EXPECT_EQ(buffer, expected);
    EXPECT_TRUE(doc.fatVersion.isEmpty());
    doc.ComposeExpertHeader(9600, 7, 8, 5, buffer);
    EXPECT_TRUE(buffer.contains("Stopbit:  \r\nParit\xE4t:  \r\n"));
}

TEST_F(IdentificationTest, FooterByteForByte)
{
    QByteArray buffer;
    doc.ComposeFooter(buffer);
    EXPECT_EQ(buffer, "\r\n\r\n"
                      "----------------------------------------------\r\n\r\n"
                      "Aufzeichnung beendet  : 06.03.01, 09:05:03.042\r\n\r\n"
                      "----------------------------------------------");
}

TEST(TextLines, CutsAtLineFeedsAndEndsAtCarriageReturns)
{
    using L = QList<QByteArray>;
    EXPECT_EQ(CLineprobeDoc::TextLines("a\r\n\r\nb\r\n"), (L{"a", "", "b"}));
    EXPECT_EQ(CLineprobeDoc::TextLines("\r\n\r\nrule"), (L{"", "", "rule"}));
    EXPECT_EQ(CLineprobeDoc::TextLines("x\ry\nz"), (L{"x", "z"}));
    EXPECT_EQ(CLineprobeDoc::TextLines(""), L{});
    EXPECT_EQ(CLineprobeDoc::TextLines("\n"), L{""});
}

TEST_F(IdentificationTest, AlarmcomWithAnUnknownModelIsAnUnsupportedPanelWithItsMessage)
{
    for (const char digit : {'0', '3', 'x'}) {
        messages.Clear();
        doc.ClearIdentification();
        QByteArray buffer = Ident("AC", digit);
        EXPECT_EQ(doc.DecodeIdentification(buffer), 0) << digit;
        EXPECT_EQ(doc.maker, "Alarmcom");
        EXPECT_EQ(doc.model, "");
        ASSERT_EQ(messages.Boxes().size(), 1) << digit;
        EXPECT_EQ(messages.Boxes().first().text,
                  QStringLiteral("Diese Funktion wird noch nicht unterstützt.\nSetzen Sie sich mit "
                                 "dem Hersteller in Verbindung."));
        EXPECT_EQ(messages.Boxes().first().icon, msg::Error);
    }
}
