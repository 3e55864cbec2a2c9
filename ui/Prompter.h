#pragma once

#include <QColor>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <functional>
#include <optional>

namespace pallstone {

// What an alert shows. The first button answers 1000, the second 1001, the third 1002.
struct AlertRequest
{
    enum class Style
    {
        Informational,
        Warning,
        Critical
    };
    Style style = Style::Informational;
    QString message;
    QString informative;
    QStringList buttons; // empty: one localised "OK"
    // Shown window-modal on this window (a sheet) when set, application-modal otherwise.
    QPointer<QWidget> parent;
};

// The answer to an alert that was dismissed without a button (window closed, Escape, no answer).
inline constexpr int kAlertDismissed = 0;
inline constexpr int kAlertFirstButton = 1000;
inline constexpr int kAlertSecondButton = 1001;
inline constexpr int kAlertThirdButton = 1002;

struct SavePanelRequest
{
    enum class Accessory
    {
        None,
        Password,
        TypeChooser
    };
    QString title;
    QString message;
    QString directory; // where the panel starts
    QString fileName;  // proposed name
    QString prompt;    // the confirm button's title; empty: the toolkit's default
    Accessory accessory = Accessory::None;
    QStringList types; // TypeChooser: the entries offered, in order
    int selectedType = 0;
    // Added to a chosen name that has no extension ("zip"), before the panel asks about
    // replacing an existing file.
    QString defaultSuffix;
};

struct SavePanelResult
{
    QString path;     // absolute
    QString password; // Password accessory: what was typed (may be empty)
    int type = -1;    // TypeChooser: the index chosen
};

struct OpenPanelRequest
{
    QString title;
    QString message;
    QString prompt; // the confirm button's title; empty: the toolkit's default
    QString directory;
    bool canChooseFiles = true;
    bool canChooseDirectories = false;
    bool allowsMultipleSelection = false;
    // Extensions without the dot ("png"), matched in any case; empty: every file.
    QStringList fileTypes;
};

struct NameRequest
{
    QString title;
    QString tip;           // text above the field
    QString text;          // what the field starts with
    QString placeholder;   // shown while the field is empty
    bool required = false; // OK stays disabled while the field is blank
};

struct EmbedRequest
{
    QString name; // proposed folder name
    int mode = 0; // 0: everything into the folder; 1: one subfolder per extension
};

struct EmbedResult
{
    QString name;
    int mode = 0;
};

// Which of the two ways of picking a colour from the screen is asked for.
enum class ColorPicker
{
    Desktop,  // the desktop's own picker (the screenshot portal)
    Magnifier // our magnifier over a screen grab (X11)
};

struct ColorPickRequest
{
    ColorPicker picker = ColorPicker::Desktop;
    // Called on the main thread once the picker is known to open, before it does (for a notice
    // the person should read first). A picker that cannot open never calls it.
    std::function<void()> beforeOpening;
};

struct ColorPick
{
    enum class Status
    {
        Picked,
        Cancelled,  // the person closed the picker without picking
        Unavailable // this picker cannot run here (no portal or it refused; no X11 screen)
    };
    Status status = Status::Cancelled;
    QColor color; // Picked: the colour, in sRGB

    // The colour of components from 0 to 1, kept to 16 bits each so that a component of k/255
    // reads back as exactly k; invalid when a component is out of range or not a number.
    static QColor fromComponents(double red, double green, double blue);
};

// The state of the progress window, as the long actions report it.
struct ProgressEvent
{
    enum class State
    {
        Open,
        Percent,
        Success,
        Close
    };
    State state = State::Open;
    double percent = 0; // Percent: 0 to 100
    QString text;       // Open: the title; Success: the message
    // Open: called (on the main thread) when the person asks to stop the job.
    std::function<void()> onCancel;
    // Success: called (on the main thread) once the window has closed itself, so the action can
    // tidy up after the person has seen the message.
    std::function<void()> onClosed;
    // Which job's window: 0 is the one window shared by the actions that show one at a time;
    // any other value (from nextJob()) is a window of that job's own.
    quint64 job = 0;

    // A job number no other job of this process uses.
    static quint64 nextJob();
};

// The palette: a filter field over the entries of a menu, one row each.
struct PaletteRequest
{
    struct Row
    {
        QString title;     // what the row shows
        QString detail;    // shown smaller beside it
        QString icon;      // a theme icon name or an absolute image path; empty for none
        QStringList names; // what typing is matched against (TextMatcher)
    };
    QString header; // what the entries act on
    QList<Row> rows;

    // The rows what was typed finds, best first; every row, in order, while nothing is typed.
    // The window and the script filter alike through this.
    QList<qsizetype> matching(const QString& typed) const;
};

// Everything an action asks of a person goes through here: the real windows, or the answers of a
// script (tests and `pallstone-extension run --answers`). Calls are modal: they return once the
// person (or the script) has answered.
class Prompter
{
public:
    virtual ~Prompter() = default;

    // 1000, 1001 or 1002 by the position of the button chosen; kAlertDismissed otherwise.
    virtual int alert(const AlertRequest& request) = 0;
    virtual std::optional<SavePanelResult> savePanel(const SavePanelRequest& request) = 0;
    // The chosen paths (absolute), or nothing when cancelled.
    virtual std::optional<QStringList> openPanel(const OpenPanelRequest& request) = 0;
    virtual std::optional<QString> askName(const NameRequest& request) = 0;
    virtual std::optional<EmbedResult> askEmbed(const EmbedRequest& request) = 0;
    virtual ColorPick pickColor(const ColorPickRequest& request) = 0;
    // The index of the row chosen in the palette, or nothing when it was closed.
    virtual std::optional<qsizetype> choosePaletteRow(const PaletteRequest& request) = 0;
    // The progress window; a Close after Success is sent by the window itself one second later.
    virtual void progress(const ProgressEvent& event) = 0;

    // The prompter the programs use; never null (a widget prompter until one is installed).
    static Prompter* instance();
    // Not owned; nullptr restores the default.
    static void setInstance(Prompter* prompter);
};

} // namespace pallstone
