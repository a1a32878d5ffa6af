#pragma once
// The suites of the Qt window tests; qt_tests_main.cpp runs them all.
#include <QObject>

class WindowLayoutTest : public QObject {
    Q_OBJECT
private slots:
    void conversionIsWindowsArithmetic_data();
    void conversionIsWindowsArithmetic();
    void mulDivRoundsHalfAwayFromZero();
    void baseUnitsOfTheStandInFont();
    void controlsCarryTheTemplateTexts();
    void controlsSitWhereTheTemplatePutsThem();
    void controlsStayInsideTheirFramesAndApart();
    void oneLineTextsShowWhole();
    void stylesFollowTheTemplate();
    void artIsBuiltIn();
};

class StartupStateTest : public QObject {
    Q_OBJECT
private slots:
    void controlsFollowTheInstallRecord_data();
    void controlsFollowTheInstallRecord();
};

class WindowRoutingTest : public QObject {
    Q_OBJECT
private slots:
    void fullInstallClickedThrough();
    void closeDuringARunIsRefused();
    void closeWhenIdleIsCancel();
    void escapeIsCancel();
    void enterAwayFromTheButtonsIsOk();
    void enterOnAFocusedButtonClicksIt();
    void radioClicksAreExclusiveInTheirGroup();
    void arrowKeysMoveTheModeChoice();
    void uninstallAnsweredNoKeepsTheDialog();
    void uninstallAnsweredYesRemovesTheInstallation();
};

class MessageBoxTest : public QObject {
    Q_OBJECT
private slots:
    void flagsGiveIconAndButtons_data();
    void flagsGiveIconAndButtons();
};
