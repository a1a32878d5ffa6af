#include "ui/qt/dialog_layout.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPixmap>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>

#include "ui/qt/picture_view.h"

namespace qtui {
namespace {

QString Utf8(const char* text) { return QString::fromUtf8(text); }

// A Windows check box or radio button takes a click anywhere in its rectangle, not only
// on its box and text.
template <class Button>
class WholeAreaButton : public Button {
public:
    using Button::Button;

protected:
    bool hitButton(const QPoint& pos) const override { return this->rect().contains(pos); }
};

QLabel* MakeText(QWidget& parent, const res::ControlTemplate& control, Qt::Alignment horizontal) {
    auto* label = new QLabel(&parent);
    label->setTextFormat(Qt::PlainText);
    label->setText(Utf8(control.text));
    // A Windows static wraps its text at the right edge and draws from the top.
    label->setWordWrap(true);
    label->setAlignment(horizontal | Qt::AlignTop);
    return label;
}

QGroupBox* MakeGroupBox(QWidget& parent, const res::ControlTemplate& control, const DialogBaseUnits& units) {
    auto* group = new QGroupBox(Utf8(control.text), &parent);
    // A Windows group box draws its frame through the middle of the title line, so the
    // controls laid out below the title sit clear of the frame.
    group->setStyleSheet(QStringLiteral("QGroupBox { border: 1px solid palette(mid); border-radius: 3px;"
                                        " margin-top: %1px; }"
                                        "QGroupBox::title { subcontrol-origin: margin; subcontrol-position: top left;"
                                        " left: %2px; padding: 0px 2px; }")
                             .arg(units.y / 2)
                             .arg(units.x));
    return group;
}

QComboBox* MakeCombo(QWidget& parent, const res::ControlTemplate& control, const DialogBaseUnits& units) {
    auto* combo = new QComboBox(&parent);
    combo->setEditable(false);
    // The template height is that of the dropped-down list, the closed box keeps its own.
    const int closed = combo->sizeHint().height();
    const int dropped = MapDialogRect(units, 0, 0, 0, control.height).height();
    const int itemHeight = std::max(1, combo->fontMetrics().height() + 2);
    combo->setMaxVisibleItems(std::max(1, (dropped - closed) / itemHeight));
    return combo;
}

QWidget* MakeControl(QWidget& parent, const res::ControlTemplate& control, const DialogBaseUnits& units) {
    switch (control.kind) {
    case res::ControlKind::Picture:
        return new PictureView(BitmapResource(control.resourceId), &parent);
    case res::ControlKind::LText:
        return MakeText(parent, control, Qt::AlignLeft);
    case res::ControlKind::RText:
        return MakeText(parent, control, Qt::AlignRight);
    case res::ControlKind::GroupBox:
        return MakeGroupBox(parent, control, units);
    case res::ControlKind::Combo:
        return MakeCombo(parent, control, units);
    case res::ControlKind::Radio: {
        auto* radio = new WholeAreaButton<QRadioButton>(Utf8(control.text), &parent);
        // Exclusivity follows the template's groups, handled by the window.
        radio->setAutoExclusive(false);
        return radio;
    }
    case res::ControlKind::Check:
        return new WholeAreaButton<QCheckBox>(Utf8(control.text), &parent);
    case res::ControlKind::Progress: {
        auto* bar = new QProgressBar(&parent);
        bar->setRange(0, 100);
        bar->setValue(0);
        bar->setTextVisible(false);
        return bar;
    }
    case res::ControlKind::PushButton: {
        auto* button = new QPushButton(Utf8(control.text), &parent);
        // Enter is routed by the window: a focused button takes it, otherwise it is OK.
        button->setAutoDefault(false);
        return button;
    }
    }
    return nullptr;
}

bool Contains(const res::ControlTemplate& outer, const res::ControlTemplate& inner) {
    return inner.x >= outer.x && inner.y >= outer.y && inner.x + inner.width <= outer.x + outer.width &&
           inner.y + inner.height <= outer.y + outer.height;
}

// How far right, in dialog units, control `index` may reach: the inside of the group box
// around it (or the dialog's margin), and short of any control beside it on its line.
int RightLimit(const res::DialogTemplate& dialog, std::size_t index) {
    constexpr int kMargin = 4;
    const res::ControlTemplate& self = dialog.controls[index];
    int limit = dialog.width - kMargin;
    for (std::size_t i = 0; i < dialog.controlCount; ++i) {
        const res::ControlTemplate& other = dialog.controls[i];
        if (i == index) continue;
        if (other.kind == res::ControlKind::GroupBox) {
            if (Contains(other, self)) limit = std::min(limit, other.x + other.width - kMargin);
            continue;
        }
        const bool sameLine = other.y < self.y + self.height && self.y < other.y + other.height;
        if (sameLine && other.x > self.x) limit = std::min(limit, other.x - 1);
    }
    return limit;
}

// A one-line text, check box or radio button whose text the stand-in font makes wider
// than its rectangle grows to the right where there is room, rather than wrap its end
// out of sight or cut it off.
void FitWidthToText(QWidget& widget, QRect& rect, const res::DialogTemplate& dialog, std::size_t index,
                    const DialogBaseUnits& units) {
    const res::ControlTemplate& control = dialog.controls[index];
    const bool oneLine = QString::fromUtf8(control.text).indexOf(QLatin1Char('\n')) < 0;
    int needed = 0;
    if (control.kind == res::ControlKind::LText && oneLine)
        needed = widget.fontMetrics().horizontalAdvance(QString::fromUtf8(control.text)) + 1;
    else if (control.kind == res::ControlKind::Check || control.kind == res::ControlKind::Radio)
        needed = widget.sizeHint().width();
    if (needed <= rect.width()) return;
    const int limit = MulDiv(RightLimit(dialog, index), units.x, 4);
    rect.setWidth(std::max(rect.width(), std::min(needed, limit - rect.x())));
}

}  // namespace

DialogLayout BuildDialogLayout(QWidget& window, const res::DialogTemplate& dialog) {
    window.setFont(DialogFont(dialog.fontName, dialog.fontPoints));
    DialogLayout layout;
    layout.units = MeasureBaseUnits(window.font());
    layout.clientSize = MapDialogRect(layout.units, 0, 0, dialog.width, dialog.height).size();
    window.setFixedSize(layout.clientSize);

    int group = 0;
    for (std::size_t i = 0; i < dialog.controlCount; ++i) {
        const res::ControlTemplate& control = dialog.controls[i];
        if (i > 0 && (control.flags & res::kFlagGroup)) ++group;
        QWidget* widget = MakeControl(window, control, layout.units);
        if (!widget) continue;
        QRect rect = MapDialogRect(layout.units, control.x, control.y, control.width, control.height);
        if (control.kind == res::ControlKind::Combo) rect.setHeight(widget->sizeHint().height());
        FitWidthToText(*widget, rect, dialog, i, layout.units);
        widget->setGeometry(rect);
        if (control.flags & res::kFlagHidden) widget->setHidden(true);
        if (control.id != -1) widget->setObjectName(QString::number(control.id));
        layout.controls.push_back({&control, widget, group});
    }
    return layout;
}

QPixmap BitmapResource(int id) { return QPixmap(QStringLiteral(":/bitmap/%1").arg(id)); }

QString IconResourcePath(int id) { return QStringLiteral(":/icon/%1").arg(id); }

}  // namespace qtui
