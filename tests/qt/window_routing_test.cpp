// What the user does to the window reaches the dialog as Windows would deliver it: drive
// choices, clicks, Enter, Escape and the close button; the runs end the dialog; a close
// request during a run is refused.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <algorithm>
#include <filesystem>

#include "app/control_ids.h"
#include "res/resource_tables.h"
#include "tests/qt/installer_under_test.h"
#include "tests/qt/qt_suites.h"
#include "tests/support/fixtures/host_files.h"

namespace {

const std::string kInstallDir = "C:\\Program Files\\Velstra\\Mirel";

std::string Windows(const std::string& slashed) {
    std::string path = slashed;
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

// Every shortcut file below drive C, as paths relative to it.
std::vector<std::string> Shortcuts(InstallerUnderTest& installer) {
    std::vector<std::string> links;
    const std::filesystem::path drive = installer.HostPath("C:\\");
    for (const auto& entry : std::filesystem::recursive_directory_iterator(drive)) {
        if (entry.path().extension() == ".lnk") links.push_back(entry.path().lexically_relative(drive).string());
    }
    std::sort(links.begin(), links.end());
    return links;
}

// A user's click, near the left where a box or radio button has its mark.
void Click(QWidget* widget) {
    QVERIFY(widget && widget->isVisible() && widget->isEnabled());
    QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, QPoint(6, widget->height() / 2));
}

// Chooses a drive the way a user does with the keyboard: its letter in the closed box.
void ChooseDrive(QComboBox* combo, const char* letter) {
    QTest::keyClicks(combo, letter);
    QCOMPARE(combo->currentText(), QString::fromLatin1(letter));
}

void SelectDrivesAndFullMode(InstallerUnderTest& installer) {
    ChooseDrive(installer.control<QComboBox>(IDC_SOURCE_DRIVE), "Q");
    ChooseDrive(installer.control<QComboBox>(IDC_DEST_DRIVE), "C");
    Click(installer.control<QRadioButton>(IDC_MODE_FULL));
}

// Files of an installation, as an earlier run would have left them.
void PlantInstallation(InstallerUnderTest& installer) {
    installer.WriteRecord(kInstallDir, kInstallDir, "Setup_MAX", 1);
    for (const char* file : {"KARVEX34.EXE", "KARVEX34.DAT", "CUR\\A.DAT", "KOE\\V.DAT", "BGM\\M.DAT", "SAV\\S.DAT"})
        QVERIFY(testsupport::WriteHostFile(installer.HostPath(kInstallDir + "\\" + file), "data"));
}

std::string String(unsigned id) { return res::CompiledString(id); }

}  // namespace

void WindowRoutingTest::fullInstallClickedThrough() {
    InstallerUnderTest installer;
    const testsupport::SampleDisc disc = installer.InsertDisc();
    installer.Start();

    SelectDrivesAndFullMode(installer);
    Click(installer.control<QCheckBox>(IDC_SHORTCUT_PROGRAMS));
    Click(installer.control<QCheckBox>(IDC_SHORTCUT_DESKTOP));
    QVERIFY(installer.control<QCheckBox>(IDC_SHORTCUT_PROGRAMS)->isChecked());
    QVERIFY(installer.control<QCheckBox>(IDC_SHORTCUT_DESKTOP)->isChecked());
    auto* install = installer.control<QPushButton>(IDC_INSTALL_RUN);
    QVERIFY(install->isEnabled());

    installer.answers().Queue({plat::kIdOk});
    Click(install);

    QVERIFY(installer.host().Ended());
    QCOMPARE(installer.host().EndResult(), plat::kIdOk);
    QVERIFY(!installer.window().isVisible());
    QCOMPARE(installer.answers().Messages().size(), std::size_t{1});
    QCOMPARE(installer.answers().Messages()[0].text, String(116));
    QCOMPARE(installer.answers().Messages()[0].flags, 0x40u);
    QVERIFY(!installer.answers().Messages()[0].shown);
    auto* bar = installer.control<QProgressBar>(IDC_PROGRESS);
    QVERIFY(!bar->isHidden());
    QCOMPARE(bar->value(), 100);
    QCOMPARE(installer.host().WaitCursorDepth(), 0);
    QVERIFY(!QApplication::overrideCursor());

    int copied = 0;
    for (const testsupport::SampleDiscFile& file : disc.files) {
        if (file.path == "install.ini" || file.insideDotFolder) continue;
        const std::string installed = installer.HostPath(kInstallDir + "\\" + Windows(file.path));
        QVERIFY2(testsupport::HostFileExists(installed), file.path.c_str());
        QVERIFY2(testsupport::ReadHostFile(installed) == testsupport::ReadHostFile(disc.hostRoot + "/" + file.path),
                 file.path.c_str());
        ++copied;
    }
    QVERIFY(copied > 10);
    QVERIFY(testsupport::HostFolderExists(installer.HostPath(kInstallDir + "\\SAV")));

    const std::map<std::string, std::string> record = installer.ReadRecord();
    QCOMPARE(record.at("Path"), kInstallDir);
    QCOMPARE(record.at("CDPath"), kInstallDir);
    QCOMPARE(record.at("SetupMode"), std::string("Setup_MAX"));
    QCOMPARE(record.at("Install KOE"), std::string("dword:1"));

    const std::vector<std::string> links = Shortcuts(installer);
    QCOMPARE(links.size(), std::size_t{2});
    const std::string title = String(102) + ".lnk";
    QVERIFY(std::any_of(links.begin(), links.end(), [&](const std::string& link) {
        return link.find("/Desktop/" + title) != std::string::npos;
    }));
    QVERIFY(std::any_of(links.begin(), links.end(), [&](const std::string& link) {
        return link.find("/Programs/Velstra/" + String(102) + "/" + title) != std::string::npos;
    }));
}

void WindowRoutingTest::closeDuringARunIsRefused() {
    InstallerUnderTest installer;
    installer.InsertDisc();
    installer.Start();
    SelectDrivesAndFullMode(installer);

    // The window manager's close request arrives while the run lets the system in.
    bool firedDuringRun = false;
    bool closed = true;
    bool stillShown = false;
    QTimer::singleShot(0, &installer.window(), [&] {
        firedDuringRun = installer.window().RunActive();
        closed = installer.window().windowHandle()->close();
        stillShown = installer.window().isVisible();
    });
    installer.answers().Queue({plat::kIdOk});
    Click(installer.control<QPushButton>(IDC_INSTALL_RUN));

    QVERIFY(firedDuringRun);
    QVERIFY(!closed);
    QVERIFY(stillShown);
    // The run went on to its end and the dialog ended through it, not through Cancel.
    QCOMPARE(installer.answers().Messages().size(), std::size_t{1});
    QCOMPARE(installer.answers().Messages()[0].text, String(116));
    QCOMPARE(installer.host().EndResult(), plat::kIdOk);
    QCOMPARE(installer.ReadRecord().at("CDPath"), kInstallDir);
    QVERIFY(!installer.window().RunActive());
}

void WindowRoutingTest::closeWhenIdleIsCancel() {
    InstallerUnderTest installer;
    installer.InsertDisc();
    installer.Start();
    SelectDrivesAndFullMode(installer);
    installer.window().windowHandle()->close();
    QVERIFY(installer.host().Ended());
    QCOMPARE(installer.host().EndResult(), plat::kIdCancel);
    QVERIFY(!installer.window().isVisible());
    QVERIFY(installer.answers().Messages().empty());
    QVERIFY(!testsupport::HostFolderExists(installer.HostPath(kInstallDir)));
}

void WindowRoutingTest::escapeIsCancel() {
    InstallerUnderTest installer;
    installer.Start();
    auto* source = installer.control<QComboBox>(IDC_SOURCE_DRIVE);
    source->setFocus();
    QTest::keyClick(source, Qt::Key_Escape);
    QVERIFY(installer.host().Ended());
    QCOMPARE(installer.host().EndResult(), plat::kIdCancel);
}

void WindowRoutingTest::enterAwayFromTheButtonsIsOk() {
    InstallerUnderTest installer;
    installer.InsertDisc();
    installer.Start();
    SelectDrivesAndFullMode(installer);
    // With the install button ready, Enter in a drive box still is OK, not "install".
    auto* destination = installer.control<QComboBox>(IDC_DEST_DRIVE);
    destination->setFocus();
    QCOMPARE(installer.window().focusWidget(), destination);
    QTest::keyClick(destination, Qt::Key_Return);
    QVERIFY(installer.host().Ended());
    QCOMPARE(installer.host().EndResult(), plat::kIdOk);
    QVERIFY(installer.answers().Messages().empty());
    QVERIFY(!testsupport::HostFolderExists(installer.HostPath(kInstallDir)));
}

void WindowRoutingTest::enterOnAFocusedButtonClicksIt() {
    InstallerUnderTest installer;
    installer.Start();
    auto* cancel = installer.control<QPushButton>(plat::kIdCancel);
    cancel->setFocus();
    QCOMPARE(installer.window().focusWidget(), cancel);
    QTest::keyClick(cancel, Qt::Key_Return);
    QVERIFY(installer.host().Ended());
    QCOMPARE(installer.host().EndResult(), plat::kIdCancel);
}

void WindowRoutingTest::radioClicksAreExclusiveInTheirGroup() {
    InstallerUnderTest installer;
    installer.Start();
    auto* minimum = installer.control<QRadioButton>(IDC_MODE_MIN);
    auto* normal = installer.control<QRadioButton>(IDC_MODE_NORMAL);
    auto* full = installer.control<QRadioButton>(IDC_MODE_FULL);
    auto* programs = installer.control<QCheckBox>(IDC_SHORTCUT_PROGRAMS);
    Click(programs);

    struct Step {
        QRadioButton* clicked;
        bool min, normal, full;
    };
    // A click on the checked one keeps it checked; the check boxes are a group of their own.
    const Step steps[] = {{normal, false, true, false}, {normal, false, true, false}, {minimum, true, false, false},
                          {full, false, false, true}};
    for (const Step& step : steps) {
        Click(step.clicked);
        QCOMPARE(minimum->isChecked(), step.min);
        QCOMPARE(normal->isChecked(), step.normal);
        QCOMPARE(full->isChecked(), step.full);
        QVERIFY(programs->isChecked());
    }
    // The core sets one button without touching the others, as BM_SETCHECK does.
    installer.host().SetCheck(IDC_MODE_MIN, 1);
    QVERIFY(minimum->isChecked() && full->isChecked());
    installer.host().SetCheck(IDC_MODE_FULL, 0);
    QVERIFY(!full->isChecked());
}

void WindowRoutingTest::arrowKeysMoveTheModeChoice() {
    InstallerUnderTest installer;
    installer.WriteRecord(kInstallDir, "Q:\\Tazmel\\", "Setup_MIN", 0);
    installer.Start();
    // Minimum is disabled after a minimum install: the arrows pass over it.
    auto* normal = installer.control<QRadioButton>(IDC_MODE_NORMAL);
    auto* full = installer.control<QRadioButton>(IDC_MODE_FULL);
    full->setFocus();
    QTest::keyClick(full, Qt::Key_Up);
    QVERIFY(normal->isChecked() && !full->isChecked());
    QCOMPARE(installer.window().focusWidget(), normal);
    QTest::keyClick(normal, Qt::Key_Up);
    QVERIFY(full->isChecked() && !normal->isChecked());
    QVERIFY(!installer.control<QRadioButton>(IDC_MODE_MIN)->isChecked());
    QTest::keyClick(full, Qt::Key_Down);
    QVERIFY(normal->isChecked());
}

void WindowRoutingTest::uninstallAnsweredNoKeepsTheDialog() {
    InstallerUnderTest installer;
    PlantInstallation(installer);
    installer.Start();
    installer.answers().Queue({plat::kIdNo});
    Click(installer.control<QPushButton>(IDC_UNINSTALL_RUN));
    QVERIFY(!installer.host().Ended());
    QVERIFY(installer.window().isVisible());
    QCOMPARE(installer.answers().Messages().size(), std::size_t{1});
    QCOMPARE(installer.answers().Messages()[0].text, String(119));
    QCOMPARE(installer.answers().Messages()[0].flags, 0x44u);
    QVERIFY(installer.control<QPushButton>(IDC_UNINSTALL_RUN)->isEnabled());
    QVERIFY(testsupport::HostFileExists(installer.HostPath(kInstallDir + "\\KARVEX34.EXE")));
    QVERIFY(!installer.ReadRecord().empty());
}

void WindowRoutingTest::uninstallAnsweredYesRemovesTheInstallation() {
    InstallerUnderTest installer;
    PlantInstallation(installer);
    installer.Start();
    installer.answers().Queue({plat::kIdYes, plat::kIdOk});
    Click(installer.control<QPushButton>(IDC_UNINSTALL_RUN));
    QVERIFY(installer.host().Ended());
    QCOMPARE(installer.host().EndResult(), plat::kIdOk);
    QCOMPARE(installer.answers().Messages().size(), std::size_t{2});
    QCOMPARE(installer.answers().Messages()[1].text, String(120));
    QCOMPARE(installer.answers().Messages()[1].flags, 0x40u);
    QVERIFY(!testsupport::HostFolderExists(installer.HostPath(kInstallDir)));
    QVERIFY(installer.ReadRecord().empty());
    QCOMPARE(installer.host().WaitCursorDepth(), 0);
}
