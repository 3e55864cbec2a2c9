#include "ColorPickerAction.h"

#include "ActionAlerts.h"
#include "ActionTable.h"

#include "Clipboard.h"
#include "Defaults.h"
#include "Localizer.h"
#include "MenuStore.h"
#include "Prompter.h"
#include "Services.h"

#include <QDebug>
#include <QRgba64>

namespace pallstone {

namespace {

// The service's own defaults, where the notice is remembered per user.
Defaults& ownDefaults()
{
    static Defaults defaults(MenuStore::programStorePath(MenuStore::Program::Extension));
    return defaults;
}

void showScreenRecordTipOnce()
{
    Defaults& defaults = ownDefaults();
    const QString key = ColorPickerAction::screenRecordTipKey();
    if (defaults.boolForKey(key))
        return;
    if (!defaults.setObject(Value(true), key))
        qWarning() << "cannot remember the magnifier notice in" << defaults.filePath();
    ActionAlerts::tip(Localizer::text(key));
}

// Integer arithmetic on the 16-bit components: a component of k/255 gives exactly k, where
// floating point could give k - 1 after truncation.
int truncated(quint16 component)
{
    return static_cast<int>(quint32(component) * 255 / 65535);
}

int rounded(quint16 component)
{
    return static_cast<int>((quint32(component) * 255 + 65535 / 2) / 65535);
}

} // namespace

ColorPickerAction::Texts ColorPickerAction::textsOf(const QColor& color, bool hashPrefix)
{
    const QRgba64 rgb = color.toRgb().rgba64();
    Texts texts;
    texts.hex = QStringLiteral("%1%2%3%4")
                    .arg(hashPrefix ? QStringLiteral("#") : QString())
                    .arg(truncated(rgb.red()), 2, 16, QLatin1Char('0'))
                    .arg(truncated(rgb.green()), 2, 16, QLatin1Char('0'))
                    .arg(truncated(rgb.blue()), 2, 16, QLatin1Char('0'))
                    .toUpper();
    texts.rgb = QStringLiteral("%1,%2,%3")
                    .arg(rounded(rgb.red()))
                    .arg(rounded(rgb.green()))
                    .arg(rounded(rgb.blue()));
    return texts;
}

void ColorPickerAction::colorPickerChange(const QColor& color)
{
    const Texts texts =
        textsOf(color, MenuStore::sharedDefaults().boolForKey(StoreKey::prefCheck(6)));
    const QString copy = Localizer::text(QStringLiteral("Copy"));
    AlertRequest alert;
    alert.style = AlertRequest::Style::Informational;
    // The colons are full-width, as the texts have always been shown.
    alert.informative = QStringLiteral("HEX\uFF1A%1\n\nRGB\uFF1A%2").arg(texts.hex, texts.rgb);
    alert.buttons = {copy + QStringLiteral(" HEX"), copy + QStringLiteral(" RGB")};
    const int answer = Prompter::instance()->alert(alert);
    // Closing the alert without a button copies nothing.
    if (answer != kAlertFirstButton && answer != kAlertSecondButton)
        return;
    const QString text = (answer == kAlertFirstButton ? texts.hex : texts.rgb).trimmed();
    if (!Services::clipboard()->setText(text))
        qWarning() << "the clipboard refused the colour" << text;
}

void ColorPickerAction::startColorPicker()
{
    // The pickers wait in local event loops, so a second click on the entry can arrive meanwhile:
    // the picker already on the screen answers it.
    static bool picking = false;
    if (picking)
        return;
    picking = true;
    struct Done
    {
        ~Done() { picking = false; }
    } done;

    Prompter* prompter = Prompter::instance();
    ColorPick pick = prompter->pickColor({ColorPicker::Desktop, {}});
    if (pick.status == ColorPick::Status::Unavailable) {
        pick = prompter->pickColor({ColorPicker::Magnifier, showScreenRecordTipOnce});
        if (pick.status == ColorPick::Status::Unavailable) {
            ActionAlerts::tip(Localizer::text(QStringLiteral("Color Picker Unavailable Tip")));
            return;
        }
    }
    if (pick.status != ColorPick::Status::Picked || !pick.color.isValid())
        return;
    colorPickerChange(pick.color);
}

namespace {

const bool registered = [] {
    ActionRow row;
    row.name = QStringLiteral("Color Picker");
    row.keys = {QStringLiteral("Color Picker")};
    row.anywhere = true;
    row.noFolderCheck = true;
    // It reads the screen, not the selection: only in the folder background's menu.
    row.shape = [](MenuItem&, const MenuContext& menu) { return !menu.request.isSelectURL; };
    row.run = [](const ActionCall&) { ColorPickerAction::startColorPicker(); };
    return ActionTable::add(std::move(row));
}();

} // namespace

} // namespace pallstone
