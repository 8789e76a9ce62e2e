#include "CSerial.h"
#include "ChangeComParameter.h"
#include "ChangeComPort.h"
#include "ComDialogs.h"
#include "ComPortSettings.h"
#include "CommReceiver.h"
#include "PtyPair.h"

#include "Settings.h"

// Qt
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

constexpr int kWaitMs = 30000;

// Receives the messages as a window would.
class CommWindow : public QDialog
{
public:
    QList<CommReceiver::Message> messages;

protected:
    bool event(QEvent* e) override
    {
        if (e->type() == CommRxCharMessage() || e->type() == CommErrorMessage()) {
            messages.append({e->type(), static_cast<CCommEvent*>(e)->wParam()});
            return true;
        }
        return QDialog::event(e);
    }
};

QPushButton* Button(QDialog& dialog, QDialogButtonBox::StandardButton which)
{
    return dialog.findChild<QDialogButtonBox*>()->button(which);
}

// Runs fn on the next modal dialog once it shows.
void OnModal(std::function<void(QDialog*)> fn)
{
    QTimer::singleShot(0, [fn] {
        if (!QTest::qWaitFor([] { return QApplication::activeModalWidget() != nullptr; }, kWaitMs))
            return;
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
            fn(dialog);
    });
}

// Each run starts from empty settings of the program under test.
QString FreshProgram(const QString& program)
{
    QSettings(QString::fromLatin1(Settings::kMaker), program).clear();
    return program;
}

} // namespace

TEST(ChangeComPortDialog, ChoosesPortAndTypedDevice)
{
    const QString program = FreshProgram(QStringLiteral("PortDialog"));
    ComPortSettings::SetDevice(program, 2, QStringLiteral("/dev/ttyUSB7"));
    ChangeComPort dialog(2, program);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));

    auto* port2 = dialog.findChild<QRadioButton*>("port2");
    auto* port3 = dialog.findChild<QRadioButton*>("port3");
    auto* device2 = dialog.findChild<QComboBox*>("device2");
    auto* device3 = dialog.findChild<QComboBox*>("device3");
    ASSERT_TRUE(port2 && port3 && device2 && device3);
    EXPECT_TRUE(port2->isChecked());
    EXPECT_EQ(device2->currentText(), "/dev/ttyUSB7");
    EXPECT_EQ(device3->currentText(), "/dev/ttyS2");

    QTest::mouseClick(port3, Qt::LeftButton);
    device3->lineEdit()->selectAll();
    QTest::keyClicks(device3->lineEdit(), "/dev/ttyACM0");
    QTest::mouseClick(Button(dialog, QDialogButtonBox::Ok), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.Port(), 3);
    EXPECT_EQ(dialog.Device(3), "/dev/ttyACM0");
    dialog.StoreDevices();
    EXPECT_EQ(ComPortSettings::Device(program, 3), "/dev/ttyACM0");
    EXPECT_EQ(ComPortSettings::Device(program, 2), "/dev/ttyUSB7");
    EXPECT_EQ(ComPortSettings::Device(program, 1), "/dev/ttyS0");
}

TEST(ChangeComPortDialog, CSerialShowsItAndKeepsTheChoice)
{
    InstallComDialogs();
    const QString program = FreshProgram(QStringLiteral("PortDialogThroughSerial"));
    CSerial serial;
    serial.SetProgram(program);
    serial.SetComPort(1);

    OnModal([](QDialog* dialog) {
        QTest::mouseClick(dialog->findChild<QRadioButton*>("port4"), Qt::LeftButton);
        auto* device = dialog->findChild<QComboBox*>("device4");
        device->lineEdit()->selectAll();
        QTest::keyClicks(device->lineEdit(), "/dev/ttyUSB1");
        QTest::keyClick(dialog, Qt::Key_Return);
    });
    EXPECT_EQ(serial.ChangeComPort(), 1);
    EXPECT_EQ(serial.GetComPort(), 4);
    EXPECT_EQ(serial.PortName(), "/dev/ttyUSB1");

    OnModal([](QDialog* dialog) {
        QTest::mouseClick(dialog->findChild<QRadioButton*>("port2"), Qt::LeftButton);
        QTest::keyClick(dialog, Qt::Key_Escape);
    });
    EXPECT_EQ(serial.ChangeComPort(), 0);
    EXPECT_EQ(serial.GetComPort(), 4) << "cancel keeps the port";
}

TEST(ChangeComParameterDialog, EditsEveryField)
{
    ComParameter start;
    ChangeComParameter dialog(start);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    EXPECT_EQ(dialog.Parameter(), ComParameter::Standard());

    auto* baud = dialog.findChild<QComboBox*>("baudRate");
    auto* parity = dialog.findChild<QComboBox*>("parity");
    auto* dataBits = dialog.findChild<QComboBox*>("dataBits");
    auto* stopBits = dialog.findChild<QComboBox*>("stopBits");
    ASSERT_TRUE(baud && parity && dataBits && stopBits);
    EXPECT_EQ(baud->currentText(), "9600");
    EXPECT_EQ(parity->currentText(), "Keine");

    baud->lineEdit()->selectAll();
    QTest::keyClicks(baud->lineEdit(), "19200");
    parity->setFocus();
    QTest::keyClick(parity, Qt::Key_Down);
    QTest::keyClick(parity, Qt::Key_Down); // "Gerade"
    dataBits->setFocus();
    QTest::keyClick(dataBits, Qt::Key_Up); // 7
    stopBits->setFocus();
    QTest::keyClick(stopBits, Qt::Key_End); // 2
    QTest::mouseClick(Button(dialog, QDialogButtonBox::Ok), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);

    const ComParameter p = dialog.Parameter();
    EXPECT_EQ(p.baudRate, 19200);
    EXPECT_EQ(p.parity, 2);
    EXPECT_EQ(p.dataBits, 7);
    EXPECT_EQ(p.stopBits, 2);
}

TEST(ChangeComParameterDialog, ShowsTheGivenValuesAndRefusesAnEmptyRate)
{
    ComParameter start;
    start.baudRate = 1200;
    start.parity = 3;
    start.dataBits = 5;
    start.stopBits = 1;
    ChangeComParameter dialog(start);
    EXPECT_EQ(dialog.Parameter(), start);
    EXPECT_EQ(dialog.findChild<QComboBox*>("parity")->currentText(), "Markierung");
    EXPECT_EQ(dialog.findChild<QComboBox*>("stopBits")->currentText(), "1,5");

    auto* baud = dialog.findChild<QComboBox*>("baudRate");
    baud->lineEdit()->selectAll();
    QTest::keyClick(baud->lineEdit(), Qt::Key_Delete);
    EXPECT_FALSE(Button(dialog, QDialogButtonBox::Ok)->isEnabled());
    QTest::keyClicks(baud->lineEdit(), "abc");
    EXPECT_TRUE(baud->currentText().isEmpty()) << "only digits can be typed";
    QTest::keyClicks(baud->lineEdit(), "300");
    EXPECT_TRUE(Button(dialog, QDialogButtonBox::Ok)->isEnabled());
}

TEST(ChangeComParameterDialog, CSerialShowsItAndCancelKeepsTheParameters)
{
    InstallComDialogs();
    CSerial serial;
    ComParameter p;
    OnModal([](QDialog* dialog) {
        auto* baud = dialog->findChild<QComboBox*>("baudRate");
        baud->lineEdit()->selectAll();
        QTest::keyClicks(baud->lineEdit(), "57600");
        QTest::keyClick(dialog, Qt::Key_Return);
    });
    EXPECT_EQ(serial.ChangeComParameter(&p), 1);
    EXPECT_EQ(p.baudRate, 57600);

    OnModal([](QDialog* dialog) {
        auto* baud = dialog->findChild<QComboBox*>("baudRate");
        baud->lineEdit()->selectAll();
        QTest::keyClicks(baud->lineEdit(), "110");
        QTest::keyClick(dialog, Qt::Key_Escape);
    });
    EXPECT_EQ(serial.ChangeComParameter(&p), 0);
    EXPECT_EQ(p.baudRate, 57600);
    ComParameter current;
    serial.GetComParameter(&current);
    EXPECT_EQ(current.baudRate, 57600);
}

TEST(CommWindow, ModalWindowThatOpenedThePortGetsTheMessagesWhileItRuns)
{
    PtyPair pty;
    CSerial serial;
    serial.SetPortName(pty.SlavePath());
    CommWindow window;
    ASSERT_TRUE(serial.Open(&window));

    QByteArray received;
    QTimer::singleShot(0, [&] { pty.Write("FAT"); });
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (!window.messages.isEmpty() && serial.GetDataToRead() == 3) {
            received.resize(3);
            serial.ReadData(received.data(), 3);
            window.accept();
        }
    });
    poll.start(5);
    QTimer::singleShot(kWaitMs, &window, &QDialog::reject);
    EXPECT_EQ(window.exec(), QDialog::Accepted);
    EXPECT_EQ(received, "FAT");
    EXPECT_EQ(window.messages.first().type, CommRxCharMessage());
    pty.CloseMaster();
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.messages.last().type == CommErrorMessage(); },
                                kWaitMs));
    EXPECT_EQ(window.messages.last().wParam, CommIoError);
}
