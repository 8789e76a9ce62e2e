#include "ProjectData.h"

// Qt
#include <QApplication>
#include <QAbstractButton>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLibrary>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSet>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWizard>

#include <gtest/gtest.h>

#include <cstring>
#include <functional>

namespace {

using WizardEntry = unsigned char (*)(ProjectData*);

class WizardTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        library.setFileName(QStringLiteral(WIZARD_LIBRARY));
        ASSERT_TRUE(library.load()) << library.errorString().toStdString();
        entry = reinterpret_cast<WizardEntry>(library.resolve("Wizard"));
        ASSERT_NE(entry, nullptr);
        std::memset(&data, 0, sizeof data);
    }

    // Calls the entry while drive works the assistant the way a user would.
    unsigned char Run(std::function<void(QWizard*)> drive)
    {
        bool driven = false;
        QTimer::singleShot(0, [&] {
            auto* wizard = qobject_cast<QWizard*>(QApplication::activeModalWidget());
            if (!wizard) {
                ADD_FAILURE() << "no assistant shown";
                return;
            }
            wizard->activateWindow();
            EXPECT_TRUE(QTest::qWaitForWindowActive(wizard));
            drive(wizard);
            driven = true;
            // Whatever the drive left open is cancelled, so the test never hangs.
            if (wizard->isVisible())
                wizard->reject();
        });
        const unsigned char result = entry(&data);
        EXPECT_TRUE(driven);
        return result;
    }

    template <typename T> static T* Child(QWizard* w, const char* name)
    {
        T* child = w->findChild<T*>(QLatin1String(name));
        EXPECT_NE(child, nullptr) << name;
        return child;
    }

    static void Next(QWizard* w) { w->button(QWizard::NextButton)->click(); }

    // An access key clicks its button after the short pressed look: wait for the check.
    static void Choose(QWizard* w, Qt::Key key, const char* radio)
    {
        QTest::keyClick(w, key, Qt::AltModifier);
        auto* button = Child<QRadioButton>(w, radio);
        EXPECT_TRUE(QTest::qWaitFor([button] { return button->isChecked(); }, 30000)) << radio;
    }

    QLibrary library;
    WizardEntry entry = nullptr;
    ProjectData data;
};

} // namespace

TEST_F(WizardTest, CancelReturnsZeroAndLeavesTheBlock)
{
    const unsigned char result = Run([](QWizard* w) {
        EXPECT_EQ(w->button(QWizard::CancelButton)->text(), QStringLiteral("Abbrechen"));
        EXPECT_EQ(w->button(QWizard::NextButton)->text(), QStringLiteral("&Weiter >"));
        QTest::keyClick(w, Qt::Key_Escape);
    });
    EXPECT_EQ(result, 0);
    ProjectData zero;
    std::memset(&zero, 0, sizeof zero);
    EXPECT_EQ(std::memcmp(&data, &zero, sizeof data), 0);
}

TEST_F(WizardTest, TextsFromTheFatNeedNoSettings)
{
    const unsigned char result = Run([](QWizard* w) {
        EXPECT_FALSE(w->button(QWizard::FinishButton)->isVisible());
        Choose(w, Qt::Key_T, "fromFat");
        Next(w);
        ASSERT_TRUE(w->button(QWizard::FinishButton)->isVisible());
        w->button(QWizard::FinishButton)->click();
    });
    EXPECT_EQ(result, 1);
    EXPECT_EQ(data.textFormat, FormatFromFat);
}

TEST_F(WizardTest, AnExistingProjectGivesFormatZeroAndItsPath)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Halle Nord.bmt"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();

    const unsigned char result = Run([&](QWizard* w) {
        Choose(w, Qt::Key_B, "openProject");
        Next(w);
        auto* field = Child<QLineEdit>(w, "path");
        field->setText(dir.filePath(QStringLiteral("fehlt.bmt")));
        EXPECT_FALSE(w->button(QWizard::FinishButton)->isEnabled());
        EXPECT_EQ(Child<QLabel>(w, "pathProblem")->text(),
                  QStringLiteral("Die Datei gibt es nicht."));
        field->setText(path);
        ASSERT_TRUE(w->button(QWizard::FinishButton)->isEnabled());
        w->button(QWizard::FinishButton)->click();
    });
    EXPECT_EQ(result, 1);
    EXPECT_EQ(data.textFormat, FormatFromFile);
    EXPECT_EQ(QFile::decodeName(data.projectPath), path);
}

TEST_F(WizardTest, ANewBoschProjectTakesTheDefaults)
{
    const unsigned char result = Run([](QWizard* w) {
        Next(w);
        auto* maker = Child<QComboBox>(w, "maker");
        maker->setCurrentIndex(maker->findText(QStringLiteral("Bosch")));
        EXPECT_EQ(Child<QComboBox>(w, "format")->count(), 3);
        Next(w);
        EXPECT_EQ(Child<QLabel>(w, "lengths")->text(),
                  QStringLiteral("Text 1: 12 Zeichen, Text 2: 20 Zeichen"));
        ASSERT_TRUE(w->button(QWizard::FinishButton)->isEnabled());
        w->button(QWizard::FinishButton)->click();
    });
    ASSERT_EQ(result, 1);
    EXPECT_EQ(data.textFormat, FormatStandard);
    EXPECT_EQ(data.displayChars, 40);
    EXPECT_EQ(data.maxRecords, 1000);
    EXPECT_EQ(data.groupDigits, 4);
    EXPECT_EQ(data.detectorDigits, 2);
    EXPECT_EQ(data.text1Length, 12);
    EXPECT_EQ(data.text2Length, 20);
    EXPECT_EQ(data.panelType, 2);
    EXPECT_EQ(data.panelVariant, 0);
    EXPECT_EQ(QByteArray(data.panelId), QByteArray("BO 1"));
    EXPECT_EQ(data.lzAssignment[14], 1);
    EXPECT_EQ(data.lzAssignment[12], 4);
    EXPECT_EQ(data.lzAssignment[0], 2);
    EXPECT_EQ(data.projectPath[0], 0);
}

TEST_F(WizardTest, PanelModelsSetVariantIdentificationAndFormats)
{
    struct Case
    {
        const char* maker;
        const char* model;
        int formats;
        int type;
        int variant;
        const char* id;
        int groupDigits;
        int detectorDigits;
    };
    const Case cases[] = {
        {"Alarmcom", "FC 330A mit Eingangskarte", 1, 0, 1, "AC 2", 4, 2},
        {"eff eff", "FAT mit Ausgangskarten", 1, 3, 4, "EE 4", 4, 2},
        {"MINIMAX", "FMZ 4100", 3, 5, 0, "MM 1", 5, 2},
        {"NOTIFIER", "NF 1000", 1, 6, 0, "NF 1", 4, 3},
        {"Siemens", "AlgoRex 1115", 3, 7, 1, "SI 2", 4, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.maker);
        std::memset(&data, 0, sizeof data);
        const unsigned char result = Run([&](QWizard* w) {
            Next(w);
            auto* maker = Child<QComboBox>(w, "maker");
            maker->setCurrentIndex(maker->findText(QLatin1String(c.maker)));
            auto* model = Child<QComboBox>(w, "model");
            model->setCurrentIndex(model->findText(QString::fromUtf8(c.model)));
            ASSERT_GE(model->currentIndex(), 0);
            EXPECT_EQ(Child<QComboBox>(w, "format")->count(), c.formats);
            Next(w);
            w->button(QWizard::FinishButton)->click();
        });
        ASSERT_EQ(result, 1);
        EXPECT_EQ(data.panelType, c.type);
        EXPECT_EQ(data.panelVariant, c.variant);
        EXPECT_EQ(QByteArray(data.panelId), QByteArray(c.id));
        EXPECT_EQ(data.groupDigits, c.groupDigits);
        EXPECT_EQ(data.detectorDigits, c.detectorDigits);
        if (c.formats == 1) {
            EXPECT_EQ(data.textFormat, c.type == 3 ? FormatStandard : FormatTwoLines);
        }
    }
}

TEST_F(WizardTest, ALayoutOutsideTheLimitsCannotBeFinished)
{
    const unsigned char result = Run([](QWizard* w) {
        Next(w);
        Next(w);
        // Seven characters a line leave no room for group, detector and separators.
        Child<QSpinBox>(w, "lineChars")->setValue(7);
        EXPECT_FALSE(w->button(QWizard::FinishButton)->isEnabled());
        EXPECT_FALSE(Child<QLabel>(w, "problem")->text().isEmpty());
        Child<QSpinBox>(w, "lineChars")->setValue(40);
        Child<QSpinBox>(w, "records")->setValue(5000);
        EXPECT_TRUE(w->button(QWizard::FinishButton)->isEnabled());
        EXPECT_TRUE(Child<QLabel>(w, "problem")->text().isEmpty());
        w->button(QWizard::FinishButton)->click();
    });
    ASSERT_EQ(result, 1);
    EXPECT_EQ(data.displayChars, 80);
    EXPECT_EQ(data.maxRecords, 5000);
    EXPECT_EQ(data.text2Length, 40);
}

TEST_F(WizardTest, GoingBackKeepsWhatTheUserChanged)
{
    const unsigned char result = Run([](QWizard* w) {
        Next(w);
        Next(w);
        Child<QSpinBox>(w, "groupDigits")->setValue(6);
        w->back();
        Next(w);
        EXPECT_EQ(Child<QSpinBox>(w, "groupDigits")->value(), 6);
        w->button(QWizard::FinishButton)->click();
    });
    ASSERT_EQ(result, 1);
    EXPECT_EQ(data.groupDigits, 6);
}

namespace {

// The access keys of the visible labels and buttons of the assistant's current page and of its
// own buttons.
QStringList AccessKeys(QWizard* w)
{
    QStringList keys;
    auto add = [&keys](const QString& text) {
        for (int i = 0; i + 1 < text.size(); ++i) {
            if (text.at(i) != QLatin1Char('&'))
                continue;
            if (text.at(i + 1) != QLatin1Char('&'))
                keys << text.at(i + 1).toLower();
            ++i;
        }
    };
    for (QLabel* label : w->currentPage()->findChildren<QLabel*>())
        if (label->isVisible())
            add(label->text());
    for (QAbstractButton* button : w->currentPage()->findChildren<QAbstractButton*>())
        if (button->isVisible())
            add(button->text());
    for (auto which :
         {QWizard::BackButton, QWizard::NextButton, QWizard::FinishButton, QWizard::CancelButton})
        if (w->button(which)->isVisible())
            add(w->button(which)->text());
    return keys;
}

void ExpectDistinct(const QStringList& keys)
{
    EXPECT_EQ(QSet<QString>(keys.begin(), keys.end()).size(), keys.size())
        << keys.join(',').toStdString();
}

} // namespace

TEST_F(WizardTest, EveryPageHasDistinctAccessKeys)
{
    Run([](QWizard* w) {
        ExpectDistinct(AccessKeys(w));
        Next(w);
        ExpectDistinct(AccessKeys(w));
        auto* maker = Child<QComboBox>(w, "maker");
        maker->setCurrentIndex(maker->findText(QStringLiteral("NOTIFIER")));
        Next(w);
        ExpectDistinct(AccessKeys(w));
        EXPECT_TRUE(AccessKeys(w).contains(QStringLiteral("l"))); // "Zentrale / &Loop"
        w->back();
        w->back();
        Child<QRadioButton>(w, "openProject")->setChecked(true);
        Next(w);
        ExpectDistinct(AccessKeys(w));
        w->back();
        Child<QRadioButton>(w, "fromFat")->setChecked(true);
        Next(w);
        ExpectDistinct(AccessKeys(w));
    });
}
