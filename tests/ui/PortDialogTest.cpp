// The port dialog's device side: the device list, assigning a device to a port, OK and Cancel.
#include "ui/dialogs/PortDialog.h"
#include "ScratchState.h"
#include "platform/PortAssignments.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <gtest/gtest.h>

using namespace kap;
using namespace kap::test;

namespace {

struct FakeDevices : SerialDeviceSource {
    QList<SerialDeviceInfo> list{{"/dev/ttyUSB0", "USB-Serial Controller", "Prolific", "A1B2"},
                                 {"/dev/ttyS0", "", "", ""},
                                 {"/dev/ttyACM0", "Modem", "Acme", "0042"}};
    QList<SerialDeviceInfo> devices() const override { return list; }
};

template <typename T>
T* child(QWidget* w, const QString& name)
{
    T* found = w->findChild<T*>(name);
    EXPECT_NE(found, nullptr) << name.toStdString();
    return found;
}

std::string rowsOf(QTreeWidget* list)
{
    QStringList rows;
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = list->topLevelItem(i);
        rows << QStringList{item->text(0), item->text(1), item->text(2), item->text(3)}.join('|');
    }
    return rows.join(' ').toStdString();
}

class PortDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        before = portAssignments().fileName();
        portAssignments().useFile(dir.filePath("ports.ini"));
        clean.portName = "COM1";
    }
    void TearDown() override
    {
        portAssignments().useFile(before);
        qunsetenv("KAP_COM4");
    }
    QString before;
    // What the next run finds in the file.
    std::string saved(const QString& port) const
    {
        return QSettings(dir.filePath("ports.ini"), QSettings::IniFormat)
            .value("Ports/" + port)
            .toString()
            .toStdString();
    }

    QTemporaryDir dir;
    FakeDevices fake;
    ScratchState clean;
};

}  // namespace

TEST_F(PortDialogTest, ListsTheDevicesAndFollowsPlugAndUnplug)
{
    PortDialog p(clean, nullptr, &fake);
    child<QTimer>(&p, "Tim_DeviceScan")->setInterval(10);
    p.show();
    auto* list = child<QTreeWidget>(&p, "Lst_Devices");
    auto* field = child<QLineEdit>(&p, "Txt_Device");
    EXPECT_EQ(rowsOf(list), "/dev/ttyACM0|Modem|Acme|0042 /dev/ttyS0||| "
                            "/dev/ttyUSB0|USB-Serial Controller|Prolific|A1B2");
    list->setCurrentItem(list->topLevelItem(2));
    EXPECT_EQ(field->text().toStdString(), "/dev/ttyUSB0");
    field->setText("/dev/pts/5");
    // Nothing changed: the rows are not rebuilt.
    list->topLevelItem(0)->setData(0, Qt::UserRole, "kept");
    p.refreshDevices();
    EXPECT_EQ(list->topLevelItem(0)->data(0, Qt::UserRole).toString().toStdString(), "kept");

    // An adapter plugged in, the modem pulled out; the scan runs by itself while shown.
    fake.list.removeAt(2);
    fake.list.append({"/dev/ttyUSB1", "FT232R", "FTDI", "X9"});
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            return list->topLevelItemCount() == 3
                   && list->topLevelItem(2)->text(0) == "/dev/ttyUSB1";
        },
        2000));
    EXPECT_EQ(rowsOf(list), "/dev/ttyS0||| /dev/ttyUSB0|USB-Serial Controller|Prolific|A1B2 "
                            "/dev/ttyUSB1|FT232R|FTDI|X9");
    ASSERT_NE(list->currentItem(), nullptr);
    EXPECT_EQ(list->currentItem()->text(0).toStdString(), "/dev/ttyUSB0") << "the selection stays";
    EXPECT_EQ(field->text().toStdString(), "/dev/pts/5") << "typed text stays";
}

TEST_F(PortDialogTest, AssignmentsAreSavedAtOkAndDroppedAtCancel)
{
    enum How { Button, DoubleClick, Enter, Default };
    struct Case {
        int port;
        How how;
        const char* device;  // typed, or the listed path double-clicked
        bool ok;
        const char* shown;   // the port's label once assigned
        const char* stored;  // in the file afterwards; COM2 starts with /dev/ttyUSB9
    };
    const Case cases[] = {
        {3, Button, "/dev/ttyUSB0", true, "/dev/ttyUSB0", "/dev/ttyUSB0"},
        {3, Button, "/dev/ttyUSB0", false, "/dev/ttyUSB0", ""},
        {3, DoubleClick, "/dev/ttyACM0", true, "/dev/ttyACM0", "/dev/ttyACM0"},
        {3, Enter, "/dev/pts/5", true, "/dev/pts/5", "/dev/pts/5"},
        {3, Button, "/dev/ttyS2", true, "/dev/ttyS2 (default)", ""},  // the default by name
        {2, Default, "", true, "/dev/ttyS1 (default)", ""},
        {2, Default, "", false, "/dev/ttyS1 (default)", "/dev/ttyUSB9"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "COM" << c.port << " how " << c.how << " ok " << c.ok);
        portAssignments().assign(3, QString());
        portAssignments().assign(2, "/dev/ttyUSB9");
        const QString port = "COM" + QString::number(c.port);
        const QString label = "Lbl_Device_" + QString::number(c.port - 1);
        {
            PortDialog p(clean, nullptr, &fake);
            p.show();
            QTest::mouseClick(child<QRadioButton>(&p, "Opt_1_" + QString::number(c.port - 1)),
                              Qt::LeftButton);
            auto* field = child<QLineEdit>(&p, "Txt_Device");
            auto* list = child<QTreeWidget>(&p, "Lst_Devices");
            if (c.how == Button) {
                field->setText(c.device);
                QTest::mouseClick(child<QPushButton>(&p, "Cmd_Assign"), Qt::LeftButton);
            } else if (c.how == DoubleClick) {
                const QPoint at =
                    list->visualItemRect(list->findItems(c.device, {}).value(0)).center();
                // A real double-click starts with a press: the view ignores one without.
                QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
                QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
            } else if (c.how == Enter) {
                QTest::keyClicks(field, c.device);
                QTest::keyClick(field, Qt::Key_Return);
                EXPECT_TRUE(p.isVisible()) << "Enter in the field does not press OK";
            } else {
                QTest::mouseClick(child<QPushButton>(&p, "Cmd_Default"), Qt::LeftButton);
            }
            EXPECT_EQ(child<QLabel>(&p, label)->text().toStdString(), c.shown);
            QTest::mouseClick(child<QPushButton>(&p, c.ok ? "OKButton" : "CancelButton"),
                              Qt::LeftButton);
        }
        EXPECT_EQ(saved(port), c.stored);
        const std::string fallback = defaultDevicePath(c.port).toStdString();
        EXPECT_EQ(devicePathFor(port).toStdString(), *c.stored ? c.stored : fallback);
        PortDialog again(clean, nullptr, &fake);
        EXPECT_EQ(child<QLabel>(&again, label)->text().toStdString(),
                  *c.stored ? c.stored : fallback + " (default)");
    }
}

TEST_F(PortDialogTest, AnEnvironmentDeviceCannotBeChangedHere)
{
    portAssignments().assign(4, "/dev/ttyUSB3");
    qputenv("KAP_COM4", "/dev/pts/9");
    clean.portName = "COM4";
    PortDialog p(clean, nullptr, &fake);
    p.show();
    child<QLineEdit>(&p, "Txt_Device")->setText("/dev/ttyUSB0");
    EXPECT_EQ(child<QLabel>(&p, "Lbl_Device_3")->text().toStdString(),
              "/dev/pts/9 (set by KAP_COM4)");
    EXPECT_FALSE(child<QPushButton>(&p, "Cmd_Assign")->isEnabled());
    EXPECT_FALSE(child<QPushButton>(&p, "Cmd_Default")->isEnabled());
    // Another port can still be assigned.
    QTest::mouseClick(child<QRadioButton>(&p, "Opt_1_4"), Qt::LeftButton);
    EXPECT_TRUE(child<QPushButton>(&p, "Cmd_Assign")->isEnabled());
}

TEST_F(PortDialogTest, TakesNetworkAddressesAndTestsThePort)
{
    QTcpServer listening;
    ASSERT_TRUE(listening.listen(QHostAddress::LocalHost, 0));
    const quint16 nobody = [] {
        QTcpServer probe;
        probe.listen(QHostAddress::LocalHost, 0);
        return probe.serverPort();
    }();
    const QString open = QStringLiteral("tcp://127.0.0.1:%1").arg(listening.serverPort());
    const QString refused = QStringLiteral("tcp://127.0.0.1:%1").arg(nobody);
    const struct {
        QString typed;
        const char* error;  // shown under the field; empty: assignable
        const char* test;   // beside the port after Test
    } cases[] = {
        {open, "", "connected"},
        {refused, "", "connection refused"},
        {"rfc2217://10.0.0.5", "rfc2217://10.0.0.5: port missing (HOST:PORT)", nullptr},
        {"tcp://[::1:4001", "tcp://[::1:4001: IPv6 address without its closing \"]\"", nullptr},
        {"/dev/kap-no-such-tty", "", "no such device"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        PortDialog p(clean, nullptr, &fake);
        p.show();
        QTest::mouseClick(child<QRadioButton>(&p, "Opt_1_5"), Qt::LeftButton);
        child<QLineEdit>(&p, "Txt_Device")->setText(c.typed);
        auto* error = child<QLabel>(&p, "Lbl_DeviceError");
        EXPECT_EQ(error->text().toStdString(), c.error);
        EXPECT_EQ(error->isVisible(), *c.error != 0);
        auto* assign = child<QPushButton>(&p, "Cmd_Assign");
        EXPECT_EQ(assign->isEnabled(), *c.error == 0);
        if (!c.test)
            continue;
        QTest::mouseClick(assign, Qt::LeftButton);
        EXPECT_EQ(child<QLabel>(&p, "Lbl_Device_5")->text(), c.typed);
        QTest::mouseClick(child<QPushButton>(&p, "Cmd_Test"), Qt::LeftButton);
        auto* tested = child<QLabel>(&p, "Lbl_Test_5");
        // The result is checked below: a test that never ends shows "testing..." there.
        (void)QTest::qWaitFor([&] { return tested->text() != PortDialog::tr("testing..."); }, 4000);
        EXPECT_EQ(tested->text().toStdString(), c.test);
        EXPECT_EQ(child<QLabel>(&p, "Lbl_Test_0")->text().toStdString(), "")
            << "beside its own port only";
        QTest::mouseClick(child<QPushButton>(&p, "OKButton"), Qt::LeftButton);
        EXPECT_EQ(saved("COM6"), c.typed.toStdString());
    }
}
