#pragma once
// The product's resources compiled into the program: the string table and the layout
// of dialog 102, read from the same sources the Windows resource script includes.
#include <cstddef>

namespace res {

enum class ControlKind { Picture, LText, RText, GroupBox, Combo, Radio, Check, Progress, PushButton };

inline constexpr unsigned kFlagNone = 0;
inline constexpr unsigned kFlagGroup = 1;   // starts a group of radio buttons or check boxes
inline constexpr unsigned kFlagBorder = 2;
inline constexpr unsigned kFlagHidden = 4;  // not visible at start

struct ControlTemplate {
    int id;  // -1 for controls the code never addresses
    ControlKind kind;
    const char* text;  // UTF-8
    int x, y, width, height;
    unsigned flags;
    int resourceId;  // bitmap of a picture, 0 otherwise
};

struct DialogTemplate {
    int id;
    int width, height;
    const char* caption;
    const char* fontName;
    int fontPoints;
    const ControlTemplate* controls;
    std::size_t controlCount;
};

const DialogTemplate& MainDialogTemplate();

// The string-table entry `id` as UTF-8, or null when the table has none.
const char* CompiledString(unsigned id);

}  // namespace res
