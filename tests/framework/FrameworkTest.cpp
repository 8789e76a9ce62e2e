#include "CDocument.h"
#include "CMessageRecorder.h"
#include "CodePage.h"
#include "Settings.h"

#include <gtest/gtest.h>

namespace {

struct RecordingView : CView
{
    QList<long> hints;
    QList<CView*> senders;
    void OnUpdate(CView* sender, long hint, const QVariant&) override
    {
        hints.append(hint);
        senders.append(sender);
    }
};

} // namespace

TEST(CodePage, RoundTripsEveryByteThatWindows1252Defines)
{
    QByteArray all;
    for (int b = 0x20; b < 0x100; ++b)
        if (b != 0x81 && b != 0x8D && b != 0x8F && b != 0x90 && b != 0x9D)
            all.append(char(b));
    EXPECT_EQ(ToCp1252(FromCp1252(all)), all);
    EXPECT_EQ(FromCp1252(QByteArray("\x80\xE4\xF6\xFC\xDF")), QString::fromUtf8("€äöüß"));
    EXPECT_EQ(ToCp1252(QString::fromUtf8("Melder läßt")), QByteArray("Melder l\xE4\xDFt"));
}

TEST(Messages, RecorderCapturesInOrderAndAnswersFromScript)
{
    CMessageRecorder rec;
    rec.AnswerNext(msg::IdCancel);
    EXPECT_EQ(BeepMessageBox("eins", "Fehler"), msg::IdCancel);
    EXPECT_EQ(MessageBox("zwei", QString(), msg::Question, msg::YesNo), msg::IdNo);
    ASSERT_EQ(rec.Entries().size(), 3);
    EXPECT_EQ(rec.Entries()[0].kind, CMessageRecorder::BeepSound);
    EXPECT_EQ(rec.Entries()[1].caption, "Fehler");
    EXPECT_EQ(rec.Entries()[2].caption, ProgramTitle());
    EXPECT_EQ(rec.Texts(), QStringList({"eins", "zwei"}));

    QString path;
    rec.FileNext("/tmp/a.bmt");
    rec.FileNext(QString());
    EXPECT_TRUE(Messages().SaveFileName({}, path));
    EXPECT_EQ(path, "/tmp/a.bmt");
    EXPECT_FALSE(Messages().SaveFileName({}, path));
    EXPECT_FALSE(Messages().OpenFileName({}, path)) << "an empty script cancels";
}

TEST(Messages, RecorderRestoresThePreviousSink)
{
    CMessageRecorder outer;
    {
        CMessageRecorder inner;
        MessageBox("innen");
        EXPECT_EQ(inner.Texts().size(), 1);
    }
    MessageBox("außen");
    EXPECT_EQ(outer.Texts(), QStringList({"außen"}));
}

TEST(Settings, StoresPerProgramUnderTheMakerKey)
{
    Settings::WriteProfileInt("Quillmark", "Settings", "ComPort", 3);
    Settings::WriteProfileInt("Lineprobe", "Settings", "ComPort", 2);
    EXPECT_EQ(Settings::GetProfileInt("Quillmark", "Settings", "ComPort", 0), 3);
    EXPECT_EQ(Settings::GetProfileInt("Lineprobe", "Settings", "ComPort", 0), 2);
    EXPECT_EQ(Settings::GetProfileInt("Quillmark", "Settings", "Fehlt", 7), 7);
}

TEST(Document, NotifiesEveryViewButTheSenderInOrder)
{
    CDocument doc;
    RecordingView a, b, c;
    doc.AddView(&a);
    doc.AddView(&b);
    doc.AddView(&c);
    doc.UpdateAllViews(&b, 5, QVariant(QByteArray("x")));
    EXPECT_EQ(a.hints, QList<long>({5}));
    EXPECT_TRUE(b.hints.isEmpty());
    EXPECT_EQ(c.hints, QList<long>({5}));
    EXPECT_EQ(c.senders.first(), &b);
    doc.UpdateAllViews(nullptr, 7);
    EXPECT_EQ(b.hints, QList<long>({7}));
}

TEST(Document, ViewLeavesItsDocumentWhenDestroyed)
{
    CDocument doc;
    RecordingView a;
    {
        RecordingView gone;
        doc.AddView(&gone);
        doc.AddView(&a);
    }
    EXPECT_EQ(doc.Views().size(), 1);
    doc.UpdateAllViews(nullptr, 1);
    EXPECT_EQ(a.hints.size(), 1);
}
