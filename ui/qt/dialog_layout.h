#pragma once
// The controls of a dialog template as Qt widgets at their template positions.
#include <QSize>
#include <QWidget>
#include <vector>

#include "res/resource_tables.h"
#include "ui/qt/dialog_units.h"

namespace qtui {

struct LaidOutControl {
    const res::ControlTemplate* source;
    QWidget* widget;
    // Controls from one GROUP-flagged control up to the next share a number; auto radio
    // buttons are exclusive within it.
    int group;
};

struct DialogLayout {
    DialogBaseUnits units;
    QSize clientSize;
    std::vector<LaidOutControl> controls;  // in template order
};

// Creates every control of `dialog` as a child of `window` in template order (the
// template's tab and stacking order), places it, and fixes the window's client size.
// The window gets the template's font first, since the base units come from it.
DialogLayout BuildDialogLayout(QWidget& window, const res::DialogTemplate& dialog);

// The pixmap of bitmap resource `id`, the icon of icon resource `id`: built into the
// program from the files in res/.
QPixmap BitmapResource(int id);
QString IconResourcePath(int id);

}  // namespace qtui
