#pragma once

#include <QColor>
#include <QString>

namespace pallstone {

// Picks the colour of a pixel on the screen and offers it as a hexadecimal and an RGB text: the
// desktop's own picker where there is one, our magnifier where there is not.
class ColorPickerAction final
{
public:
    struct Texts
    {
        QString hex; // "FF0000", "#FF0000" with the prefix preference
        QString rgb; // "255,0,0"
    };

    static void startColorPicker();
    // Shows the colour's texts with a copy button for each and copies the one chosen.
    static void colorPickerChange(const QColor& color);

    // Hexadecimal components are truncated (0.5 gives 7F), RGB ones rounded (0.5 gives 128).
    static Texts textsOf(const QColor& color, bool hashPrefix);

    // Where the one-time notice before the first magnifier is remembered.
    static QString screenRecordTipKey() { return QStringLiteral("Screen Record Tip"); }

private:
    ColorPickerAction() = delete;
};

} // namespace pallstone
