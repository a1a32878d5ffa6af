#include "res/resource_tables.h"

#include <iterator>

namespace res {
namespace {

struct StringEntry {
    unsigned id;
    const char* text;
};

#define MIREL_STRING(id, text) {id, text},
constexpr StringEntry kStrings[] = {
#include "res/strings.inc"
};
#undef MIREL_STRING

#define MIREL_F_NONE kFlagNone
#define MIREL_F_GROUP kFlagGroup
#define MIREL_F_BORDER kFlagBorder
#define MIREL_F_HIDDEN kFlagHidden
#define MIREL_KIND_LTEXT ControlKind::LText
#define MIREL_KIND_RTEXT ControlKind::RText
#define MIREL_KIND_GROUPBOX ControlKind::GroupBox
#define MIREL_KIND_COMBO ControlKind::Combo
#define MIREL_KIND_RADIO ControlKind::Radio
#define MIREL_KIND_CHECK ControlKind::Check
#define MIREL_KIND_PROGRESS ControlKind::Progress
#define MIREL_KIND_PUSHBUTTON ControlKind::PushButton
#define MIREL_DIALOG(id, width, height, caption, font, points)
#define MIREL_PICTURE(bitmap, x, y, width, height) {-1, ControlKind::Picture, "", x, y, width, height, kFlagNone, bitmap},
#define MIREL_CONTROL(id, kind, text, x, y, width, height, flags) \
    {id, MIREL_KIND_##kind, text, x, y, width, height, flags, 0},
constexpr ControlTemplate kControls[] = {
#include "res/dialog102.inc"
};
#undef MIREL_DIALOG
#undef MIREL_PICTURE
#undef MIREL_CONTROL
#define MIREL_DIALOG(id, width, height, caption, font, points) \
    constexpr DialogTemplate kDialog = {id, width, height, caption, font, points, kControls, std::size(kControls)};
#define MIREL_PICTURE(bitmap, x, y, width, height)
#define MIREL_CONTROL(id, kind, text, x, y, width, height, flags)
#include "res/dialog102.inc"
#undef MIREL_DIALOG
#undef MIREL_PICTURE
#undef MIREL_CONTROL

}  // namespace

const DialogTemplate& MainDialogTemplate() { return kDialog; }

const char* CompiledString(unsigned id) {
    for (const StringEntry& entry : kStrings) {
        if (entry.id == id) return entry.text;
    }
    return nullptr;
}

}  // namespace res
