#pragma once
// The window the dialog lives in: its controls by id, message boxes, the wait cursor.
// The core drives the dialog only through this interface; a headless implementation
// serves tests and the scripted driver, the Qt and Win32 front-ends real windows.
// All text is in the system's ANSI code page.
#include <string>

namespace plat {

// Message box flags, as MB_* values.
inline constexpr unsigned kMbOk = 0x00;
inline constexpr unsigned kMbOkCancel = 0x01;
inline constexpr unsigned kMbYesNo = 0x04;
inline constexpr unsigned kMbIconExclamation = 0x30;
inline constexpr unsigned kMbIconInformation = 0x40;
inline constexpr unsigned kMbTypeMask = 0x0F;
inline constexpr unsigned kMbIconMask = 0xF0;

// Message box answers and dialog results, as ID* values.
inline constexpr int kIdOk = 1;
inline constexpr int kIdCancel = 2;
inline constexpr int kIdYes = 6;
inline constexpr int kIdNo = 7;

// Combo box "no item" (CB_ERR).
inline constexpr int kComboNone = -1;

class DialogHost {
public:
    virtual ~DialogHost() = default;

    virtual std::string GetText(int id) = 0;
    virtual void SetText(int id, const std::string& text) = 0;
    virtual bool IsEnabled(int id) = 0;
    virtual void Enable(int id, bool enabled) = 0;
    virtual bool IsVisible(int id) = 0;
    virtual void Show(int id, bool visible) = 0;
    // Check state of a radio button or check box: 0 unchecked, 1 checked.
    virtual int GetCheck(int id) = 0;
    virtual void SetCheck(int id, int state) = 0;

    // Combo boxes keep their items sorted (CBS_SORT).
    virtual void ResetContent(int id) = 0;
    // Inserts in sorted place; returns the index.
    virtual int AddString(int id, const std::string& item) = 0;
    // CB_FINDSTRINGEXACT from the start of the list; kComboNone when absent.
    virtual int FindStringExact(int id, const std::string& item) = 0;
    virtual int GetCount(int id) = 0;
    virtual int GetCurSel(int id) = 0;
    virtual void SetCurSel(int id, int index) = 0;
    virtual std::string GetItemText(int id, int index) = 0;

    virtual void SetProgressRange(int id, int low, int high) = 0;
    // Repaints the bar at once and lets the system see the window is alive, without
    // acting on user input.
    virtual void SetProgressPos(int id, int pos) = 0;

    // Returns kIdOk, kIdCancel, kIdYes or kIdNo.
    virtual int MessageBox(const std::string& text, unsigned flags) = 0;

    virtual void BeginWaitCursor() = 0;
    virtual void EndWaitCursor() = 0;
    // While a run is active the window refuses to close.
    virtual void SetRunActive(bool active) = 0;

    virtual void EndDialog(int result) = 0;
};

}  // namespace plat
