// At start-up the window shows what the install record allows: drives, modes and the
// run buttons enabled or not, the drives of an earlier installation selected.
#include <QCheckBox>
#include <QComboBox>
#include <QProgressBar>
#include <QRadioButton>
#include <QTest>
#include <set>

#include "app/control_ids.h"
#include "res/resource_tables.h"
#include "tests/qt/installer_under_test.h"
#include "tests/qt/qt_suites.h"

namespace {

struct Record {
    bool present = false;
    QString path, cdPath, setupMode;
    unsigned installKoe = 0;
};

const QString kInstallDir = QStringLiteral("C:\\Program Files\\Velstra\\Mirel");

QStringList Items(QComboBox* combo) {
    QStringList items;
    for (int i = 0; i < combo->count(); ++i) items << combo->itemText(i);
    return items;
}

}  // namespace

Q_DECLARE_METATYPE(Record)

void StartupStateTest::controlsFollowTheInstallRecord_data() {
    QTest::addColumn<Record>("record");
    QTest::addColumn<int>("state");
    QTest::addColumn<QList<int>>("disabled");
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("destination");

    const QList<int> row0 = {IDC_UNINSTALL_RUN, IDC_KEEP_SAVEDATA, IDC_UNINSTALL_GROUP};
    const QList<int> row1 = {IDC_DEST_DRIVE,     IDC_SOURCE_DRIVE,  IDC_FREE_CAPTION, IDC_DEST_CAPTION, IDC_SOURCE_CAPTION,
                             IDC_INSTALL_GROUP, IDC_MODE_MIN,      IDC_SIZE_MIN,     IDC_FREE_SPACE};
    const QList<int> row2 = row1 + QList<int>{IDC_MODE_NORMAL, IDC_SIZE_NORMAL};
    const QList<int> row3 =
        row2 + QList<int>{IDC_INSTALL_RUN, IDC_MODE_FULL, IDC_SIZE_FULL, IDC_SHORTCUT_DESKTOP, IDC_SHORTCUT_PROGRAMS};

    // Nothing selected on a fresh system, so nothing to install to yet.
    QTest::newRow("fresh system") << Record{} << 0 << (row0 + QList<int>{IDC_INSTALL_RUN}) << QString() << QString();
    QTest::newRow("minimum") << Record{true, kInstallDir, "Q:\\Tazmel\\", "Setup_MIN", 0} << 1 << row1 << "Q" << "C";
    QTest::newRow("normal") << Record{true, kInstallDir, "Q:\\Tazmel\\", "Setup_MAX", 1} << 2 << row2 << "Q" << "C";
    // Once the full set is in, the record names the install folder as the source.
    QTest::newRow("full") << Record{true, kInstallDir, kInstallDir, "Setup_MAX", 1} << 3 << row3 << "C" << "C";
    // CB_FINDSTRINGEXACT ignores case.
    QTest::newRow("minimum, lower-case letters")
        << Record{true, "c:\\Program Files\\Velstra\\Mirel", "q:\\Tazmel\\", "Setup_MIN", 0} << 1 << row1 << "Q" << "C";
    // An installation on a drive that is gone leaves that box without a selection,
    // which a Qt combo box would not do by itself.
    QTest::newRow("minimum on a drive that is gone")
        << Record{true, "D:\\Program Files\\Velstra\\Mirel", "Q:\\Tazmel\\", "Setup_MIN", 0} << 1 << row1 << "Q"
        << QString();
}

void StartupStateTest::controlsFollowTheInstallRecord() {
    QFETCH(Record, record);
    QFETCH(int, state);
    QFETCH(QList<int>, disabled);
    QFETCH(QString, source);
    QFETCH(QString, destination);

    InstallerUnderTest installer;
    if (record.present)
        installer.WriteRecord(record.path.toStdString(), record.cdPath.toStdString(), record.setupMode.toStdString(),
                              record.installKoe);
    installer.Start();
    QCOMPARE(installer.dlg().m_nInstallState, state);

    const std::set<int> off(disabled.begin(), disabled.end());
    const res::DialogTemplate& dialog = res::MainDialogTemplate();
    for (std::size_t i = 0; i < dialog.controlCount; ++i) {
        const int id = dialog.controls[i].id;
        if (id == -1) continue;
        // Whether a recorded installation can grow depends on the free space of this machine.
        if (id == IDC_INSTALL_RUN && (state == 1 || state == 2)) continue;
        QWidget* widget = installer.window().Control(id);
        QVERIFY(widget);
        QVERIFY2(widget->isEnabled() == (off.count(id) == 0), qPrintable(QStringLiteral("control %1").arg(id)));
    }

    // Full is the mode offered, even where it cannot be chosen any more.
    QVERIFY(installer.control<QRadioButton>(IDC_MODE_FULL)->isChecked());
    QVERIFY(!installer.control<QRadioButton>(IDC_MODE_NORMAL)->isChecked());
    QVERIFY(!installer.control<QRadioButton>(IDC_MODE_MIN)->isChecked());
    for (int id : {IDC_SHORTCUT_PROGRAMS, IDC_SHORTCUT_DESKTOP, IDC_KEEP_SAVEDATA})
        QVERIFY(!installer.control<QCheckBox>(id)->isChecked());
    QVERIFY(installer.control<QProgressBar>(IDC_PROGRESS)->isHidden());

    auto* sourceBox = installer.control<QComboBox>(IDC_SOURCE_DRIVE);
    auto* destinationBox = installer.control<QComboBox>(IDC_DEST_DRIVE);
    const QStringList sources = Items(sourceBox);
    QVERIFY(sources.contains("C") && sources.contains("Q"));
    QVERIFY(std::is_sorted(sources.begin(), sources.end()));
    QVERIFY(Items(destinationBox).contains("C") && !Items(destinationBox).contains("Q"));
    QCOMPARE(sourceBox->currentText(), source);
    QCOMPARE(destinationBox->currentText(), destination);
    QCOMPARE(sourceBox->currentIndex() == -1, source.isEmpty());
    QCOMPARE(destinationBox->currentIndex() == -1, destination.isEmpty());
}
