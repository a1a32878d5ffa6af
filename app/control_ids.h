#pragma once
// Control and resource identifiers of the main dialog. Its OK and Cancel buttons have
// the ids of the answers of those names, plat::kIdOk and plat::kIdCancel.
#include "platform/dialog_host.h"

// Resources.
inline constexpr int IDD_INSTALLER_DIALOG = 102;
inline constexpr int IDR_MAINFRAME = 128;

// Controls of dialog 102.
inline constexpr int IDC_DEST_DRIVE = 1001;
inline constexpr int IDC_FREE_SPACE = 1002;
inline constexpr int IDC_SOURCE_DRIVE = 1003;
inline constexpr int IDC_SHORTCUT_PROGRAMS = 1004;
inline constexpr int IDC_SHORTCUT_DESKTOP = 1005;
inline constexpr int IDC_KEEP_SAVEDATA = 1007;
inline constexpr int IDC_UNINSTALL_RUN = 1009;
inline constexpr int IDC_INSTALL_RUN = 1010;
inline constexpr int IDC_PROGRESS = 1011;
inline constexpr int IDC_INSTALL_GROUP = 1012;
inline constexpr int IDC_SOURCE_CAPTION = 1013;
inline constexpr int IDC_DEST_CAPTION = 1014;
inline constexpr int IDC_FREE_CAPTION = 1015;
inline constexpr int IDC_UNINSTALL_GROUP = 1017;
inline constexpr int IDC_MODE_MIN = 1018;
inline constexpr int IDC_MODE_NORMAL = 1019;
inline constexpr int IDC_MODE_FULL = 1020;
inline constexpr int IDC_SIZE_MIN = 1021;
inline constexpr int IDC_SIZE_NORMAL = 1022;
inline constexpr int IDC_SIZE_FULL = 1023;

// Notification codes routed by the dialog, with the values of a button's click and a
// combo box's selection change in WM_COMMAND.
inline constexpr int kNotifyClicked = 0;
inline constexpr int kNotifySelectionChange = 1;
