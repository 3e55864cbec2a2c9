#include "WidgetPrompter.h"

#include "Dispatch.h"
#include "JobsWindow.h"
#include "Localizer.h"
#include "NameDialog.h"
#include "PaletteWindow.h"
#include "PortalColorPicker.h"
#include "ProgressWindow.h"
#include "ScreenMagnifier.h"
#include "Transcript.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QEventLoop>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QThread>
#include <QVBoxLayout>

#include <type_traits>

namespace pallstone {

namespace {

bool canShowWidgets()
{
    return qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr;
}

// Widgets live on the main thread; a call from elsewhere waits there for the answer.
template <typename Function>
auto onMainThread(Function&& function) -> std::invoke_result_t<Function>
{
    QCoreApplication* app = QCoreApplication::instance();
    if (!app || QThread::currentThread() == app->thread())
        return function();
    if constexpr (std::is_void_v<std::invoke_result_t<Function>>) {
        QMetaObject::invokeMethod(app, function, Qt::BlockingQueuedConnection);
    } else {
        std::invoke_result_t<Function> result{};
        QMetaObject::invokeMethod(
            app, [&] { result = function(); }, Qt::BlockingQueuedConnection);
        return result;
    }
}

QWidget* windowOf(const QPointer<QWidget>& widget)
{
    return widget ? widget->window() : nullptr;
}

// Adds a labelled row under Qt's own file dialog's widgets.
void addDialogRow(QFileDialog& dialog, QLabel* label, QWidget* field)
{
    auto* grid = qobject_cast<QGridLayout*>(dialog.layout());
    if (!grid) {
        dialog.layout()->addWidget(label);
        dialog.layout()->addWidget(field);
        return;
    }
    const int row = grid->rowCount();
    grid->addWidget(label, row, 0);
    grid->addWidget(field, row, 1, 1, qMax(1, grid->columnCount() - 1));
}

QDialogButtonBox* okCancelButtons(QDialog* dialog)
{
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
    QPushButton* ok = buttons->button(QDialogButtonBox::Ok);
    ok->setText(Localizer::text(QStringLiteral("OK")));
    ok->setObjectName(QStringLiteral("okButton"));
    QPushButton* cancel = buttons->button(QDialogButtonBox::Cancel);
    cancel->setText(Localizer::text(QStringLiteral("Cancel")));
    cancel->setObjectName(QStringLiteral("cancelButton"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}

bool isBlank(const QString& text)
{
    return text.trimmed().isEmpty();
}

} // namespace

WidgetPrompter::WidgetPrompter(Transcript* transcript) : m_transcript(transcript) {}

WidgetPrompter::~WidgetPrompter()
{
    // After the application object is gone the window may no longer be touched.
    if (!QCoreApplication::instance())
        return;
    delete m_progress.data();
    delete m_jobsWindow.data();
}

QString WidgetPrompter::startFolder(const QString& asked) const
{
    // Where the caller asked, else where the person was last, else home; never the working
    // folder the program happened to be started in.
    for (const QString& folder : {asked, m_lastFolder}) {
        if (!folder.isEmpty() && QFileInfo(folder).isDir())
            return folder;
    }
    return QDir::homePath();
}

ProgressWindow* WidgetPrompter::progressWindow() const
{
    return m_progress.data();
}

int WidgetPrompter::alert(const AlertRequest& request)
{
    if (m_transcript)
        m_transcript->recordAlert(request);
    if (!canShowWidgets())
        return kAlertDismissed;
    return onMainThread([&] { return showAlert(request); });
}

int WidgetPrompter::showAlert(const AlertRequest& request)
{
    QMessageBox box(windowOf(request.parent));
    box.setObjectName(QStringLiteral("alert"));
    box.setWindowTitle(Localizer::displayName());
    QString iconName;
    QStyle::StandardPixmap fallback = QStyle::SP_MessageBoxInformation;
    switch (request.style) {
    case AlertRequest::Style::Informational:
        iconName = QStringLiteral("dialog-information");
        break;
    case AlertRequest::Style::Warning:
        iconName = QStringLiteral("dialog-warning");
        fallback = QStyle::SP_MessageBoxWarning;
        break;
    case AlertRequest::Style::Critical:
        iconName = QStringLiteral("dialog-error");
        fallback = QStyle::SP_MessageBoxCritical;
        break;
    }
    // The desktop's icon theme first, as its own dialogs show them.
    QStyle* style = box.style();
    const int iconSize = style->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, &box);
    const QIcon icon = QIcon::fromTheme(iconName, style->standardIcon(fallback, nullptr, &box));
    box.setIconPixmap(icon.pixmap(QSize(iconSize, iconSize), box.devicePixelRatioF()));

    // The heading says what happened, in bold; the text below what it means. The extension's
    // alerts carry the generic "Tip" as their heading: that says nothing, so their text stands
    // alone.
    const bool generic = isBlank(request.message) ||
                         request.message == Localizer::text(QStringLiteral("Tip")) ||
                         request.message == QLatin1String("Tip");
    const QString heading = generic ? request.informative : request.message;
    const QString details = generic ? QString() : request.informative;
    box.setTextFormat(Qt::RichText);
    box.setText(QStringLiteral("<p style=\"font-weight:600\">%1</p>")
                    .arg(heading.toHtmlEscaped().replace(u'\n', QStringLiteral("<br>"))));
    box.setInformativeText(details);
    // Wide enough that a short sentence stays on one line and a long one wraps into a few lines
    // of comfortable length, not a column of five words. QMessageBox wraps the heading only when
    // it is wider than the box would be: a minimum width on a longer heading keeps it from
    // wrapping and cuts off its end, so the heading is held only to a width it fits on one line,
    // measured in its bold face.
    const int comfortable = QFontMetrics(box.font()).averageCharWidth() * 64;
    const auto widen = [&](const char* name, const QString& text, const QFont& font, bool wraps) {
        auto* label = box.findChild<QLabel*>(QLatin1String(name));
        if (!label || text.isEmpty())
            return;
        const QFontMetrics metrics(font);
        int widest = 0;
        for (const QString& line : text.split(u'\n'))
            widest = qMax(widest, metrics.horizontalAdvance(line) + metrics.averageCharWidth());
        if (widest > comfortable && !wraps)
            return;
        label->setMinimumWidth(qMin(widest, comfortable));
    };
    QFont bold = box.font();
    bold.setWeight(QFont::DemiBold);
    widen("qt_msgbox_label", heading, bold, false);
    widen("qt_msgbox_informativelabel", details, box.font(), true);

    const QStringList titles = request.buttons.isEmpty()
                                   ? QStringList{Localizer::text(QStringLiteral("OK"))}
                                   : request.buttons;
    const QString cancelTitle = Localizer::text(QStringLiteral("Cancel"));
    QList<QAbstractButton*> buttons;
    for (const QString& title : titles) {
        // One role for all keeps them in the order given, whatever the desktop's button layout.
        QPushButton* button = box.addButton(title, QMessageBox::ActionRole);
        buttons.append(button);
        // Escape answers the button that cancels, as people expect; without one it does nothing
        // (or, with a single button, presses it).
        if (title == cancelTitle || title == QLatin1String("Cancel"))
            box.setEscapeButton(button);
    }
    box.setDefaultButton(qobject_cast<QPushButton*>(buttons.first()));
    box.setWindowModality(request.parent ? Qt::WindowModal : Qt::ApplicationModal);
    box.exec();
    const qsizetype index = buttons.indexOf(box.clickedButton());
    return index < 0 ? kAlertDismissed : kAlertFirstButton + static_cast<int>(index);
}

std::optional<SavePanelResult> WidgetPrompter::savePanel(const SavePanelRequest& request)
{
    if (m_transcript)
        m_transcript->recordSavePanel(request);
    if (!canShowWidgets())
        return std::nullopt;
    return onMainThread([&] { return showSavePanel(request); });
}

std::optional<SavePanelResult> WidgetPrompter::showSavePanel(const SavePanelRequest& request)
{
    QFileDialog dialog(nullptr, request.title.isEmpty() ? request.message : request.title);
    dialog.setObjectName(QStringLiteral("savePanel"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDirectory(startFolder(request.directory));
    if (!request.fileName.isEmpty())
        dialog.selectFile(request.fileName);
    if (!request.prompt.isEmpty())
        dialog.setLabelText(QFileDialog::Accept, request.prompt);
    if (!request.defaultSuffix.isEmpty())
        dialog.setDefaultSuffix(request.defaultSuffix);

    QLineEdit* password = nullptr;
    QComboBox* types = nullptr;
    if (request.accessory != SavePanelRequest::Accessory::None) {
        // The desktop's own dialog takes no extra widgets.
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        if (!request.message.isEmpty() && !request.title.isEmpty()) {
            auto* message = new QLabel(request.message, &dialog);
            message->setWordWrap(true);
            addDialogRow(dialog, new QLabel(&dialog), message);
        }
        if (request.accessory == SavePanelRequest::Accessory::Password) {
            password = new QLineEdit(&dialog);
            password->setObjectName(QStringLiteral("passwordField"));
            password->setEchoMode(QLineEdit::Password);
            password->setPlaceholderText(Localizer::text(QStringLiteral("Enter Password Tip")));
            addDialogRow(dialog, new QLabel(Localizer::text(QStringLiteral("Password")), &dialog),
                         password);
        } else {
            types = new QComboBox(&dialog);
            types->setObjectName(QStringLiteral("typeChooser"));
            types->addItems(request.types);
            types->setCurrentIndex(request.selectedType);
            addDialogRow(dialog, new QLabel(Localizer::text(QStringLiteral("Type")), &dialog),
                         types);
        }
    }

    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    const QString chosen = dialog.selectedFiles().value(0);
    if (chosen.isEmpty())
        return std::nullopt;
    SavePanelResult result;
    result.path = QFileInfo(chosen).absoluteFilePath();
    m_lastFolder = QFileInfo(chosen).absolutePath();
    if (password)
        result.password = password->text();
    if (types)
        result.type = types->currentIndex();
    return result;
}

std::optional<QStringList> WidgetPrompter::openPanel(const OpenPanelRequest& request)
{
    if (m_transcript)
        m_transcript->recordOpenPanel(request);
    if (!canShowWidgets())
        return std::nullopt;
    return onMainThread([&] { return showOpenPanel(request); });
}

std::optional<QStringList> WidgetPrompter::showOpenPanel(const OpenPanelRequest& request)
{
    QFileDialog dialog(nullptr, request.title.isEmpty() ? request.message : request.title);
    dialog.setObjectName(QStringLiteral("openPanel"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setDirectory(startFolder(request.directory));
    if (!request.prompt.isEmpty())
        dialog.setLabelText(QFileDialog::Accept, request.prompt);
    if (request.canChooseDirectories && !request.canChooseFiles) {
        dialog.setFileMode(QFileDialog::Directory);
        dialog.setOption(QFileDialog::ShowDirsOnly);
        if (request.allowsMultipleSelection) {
            // Directory mode picks one folder; Qt's own dialog picks several once its views allow
            // an extended selection.
            dialog.setOption(QFileDialog::DontUseNativeDialog);
            const auto views = dialog.findChildren<QAbstractItemView*>();
            for (QAbstractItemView* view : views)
                view->setSelectionMode(QAbstractItemView::ExtendedSelection);
        }
    } else {
        // Files (and, when asked for both, files: a folder opens rather than being chosen).
        dialog.setFileMode(request.allowsMultipleSelection ? QFileDialog::ExistingFiles
                                                           : QFileDialog::ExistingFile);
        if (!request.fileTypes.isEmpty()) {
            // Qt's own dialog matches without regard to case; the desktop's may not, so the
            // upper-case form is named too ("ICONS.TTF" for "ttf").
            QStringList patterns;
            for (const QString& type : request.fileTypes) {
                patterns.append(QStringLiteral("*.") + type.toLower());
                patterns.append(QStringLiteral("*.") + type.toUpper());
            }
            patterns.removeDuplicates();
            dialog.setNameFilter(patterns.join(u' '));
        }
    }
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    QStringList paths;
    const QStringList chosen = dialog.selectedFiles();
    for (const QString& path : chosen)
        paths.append(QFileInfo(path).absoluteFilePath());
    if (paths.isEmpty())
        return std::nullopt;
    m_lastFolder = QFileInfo(paths.first()).absolutePath();
    return paths;
}

std::optional<QString> WidgetPrompter::askName(const NameRequest& request)
{
    if (m_transcript)
        m_transcript->recordNameRequest(request);
    if (!canShowWidgets())
        return std::nullopt;
    return onMainThread([&] { return showNameDialog(request); });
}

std::optional<qsizetype> WidgetPrompter::choosePaletteRow(const PaletteRequest& request)
{
    if (m_transcript)
        m_transcript->recordPalette(request);
    if (!canShowWidgets())
        return std::nullopt;
    return onMainThread([&] { return showPalette(request); });
}

std::optional<qsizetype> WidgetPrompter::showPalette(const PaletteRequest& request)
{
    PaletteWindow window(request);
    window.show();
    window.raise();
    window.activateWindow();
    window.exec();
    return window.chosenRow();
}

std::optional<QString> WidgetPrompter::showNameDialog(const NameRequest& request)
{
    NameDialog dialog;
    if (!request.title.isEmpty())
        dialog.setWindowTitle(request.title);
    dialog.setTipLabelString(request.tip);
    dialog.setTipPlaceholder(request.placeholder);
    dialog.setRequired(request.required);
    dialog.setDefaultAlias(request.text);
    std::optional<QString> answer;
    dialog.editHandler = [&answer](const QString& text) { answer = text; };
    dialog.exec();
    return answer;
}

std::optional<EmbedResult> WidgetPrompter::askEmbed(const EmbedRequest& request)
{
    if (m_transcript)
        m_transcript->recordEmbedRequest(request);
    if (!canShowWidgets())
        return std::nullopt;
    return onMainThread([&] { return showEmbedDialog(request); });
}

std::optional<EmbedResult> WidgetPrompter::showEmbedDialog(const EmbedRequest& request)
{
    QDialog dialog;
    dialog.setObjectName(QStringLiteral("embedDialog"));
    dialog.setWindowTitle(Localizer::text(QStringLiteral("Embed in Folder")));
    auto* layout = new QVBoxLayout(&dialog);
    auto* field = new QLineEdit(request.name, &dialog);
    field->setObjectName(QStringLiteral("nameField"));
    field->setMinimumWidth(300);
    field->selectAll();
    layout->addWidget(field);

    auto* all = new QRadioButton(Localizer::text(QStringLiteral("Embed Mode All")), &dialog);
    all->setObjectName(QStringLiteral("embedModeAll"));
    auto* byType = new QRadioButton(Localizer::text(QStringLiteral("Embed Mode By Type")), &dialog);
    byType->setObjectName(QStringLiteral("embedModeByType"));
    auto* modes = new QButtonGroup(&dialog);
    modes->addButton(all, 0);
    modes->addButton(byType, 1);
    (request.mode == 1 ? byType : all)->setChecked(true);
    layout->addWidget(all);
    layout->addWidget(byType);

    QDialogButtonBox* buttons = okCancelButtons(&dialog);
    layout->addWidget(buttons);
    QPushButton* ok = buttons->button(QDialogButtonBox::Ok);
    const auto update = [ok, field] { ok->setEnabled(!isBlank(field->text())); };
    QObject::connect(field, &QLineEdit::textChanged, ok, update);
    update();

    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return EmbedResult{field->text(), modes->checkedId() == 1 ? 1 : 0};
}

ColorPick WidgetPrompter::pickColor(const ColorPickRequest& request)
{
    const ColorPick pick = onMainThread([&] {
        return request.picker == ColorPicker::Desktop ? pickWithPortal()
                                                      : pickWithMagnifier(request);
    });
    if (m_transcript)
        m_transcript->recordColorPick(request.picker, pick);
    return pick;
}

// The waits below are local event loops: D-Bus calls (the file managers' menus) are still answered
// while the person picks.
ColorPick WidgetPrompter::pickWithPortal()
{
    if (m_transcript)
        m_transcript->recordColorPanel(ColorPicker::Desktop);
    PortalColorPicker portal;
    QEventLoop loop;
    QObject::connect(&portal, &PortalColorPicker::finished, &loop, &QEventLoop::quit);
    portal.start();
    if (!portal.isFinished())
        loop.exec();
    return portal.result();
}

ColorPick WidgetPrompter::pickWithMagnifier(const ColorPickRequest& request)
{
    ColorPick pick;
    // The magnifier reads the screen through X11; elsewhere (Wayland without the portal, no
    // screen at all) it cannot.
    if (!canShowWidgets() || QGuiApplication::platformName() != u"xcb") {
        pick.status = ColorPick::Status::Unavailable;
        return pick;
    }
    if (request.beforeOpening)
        request.beforeOpening();
    if (m_transcript)
        m_transcript->recordColorPanel(ColorPicker::Magnifier);
    ScreenMagnifier magnifier;
    QEventLoop loop;
    QObject::connect(&magnifier, &ScreenMagnifier::picked, &loop, [&](const QColor& color) {
        pick.status = ColorPick::Status::Picked;
        pick.color = color;
        loop.quit();
    });
    QObject::connect(&magnifier, &ScreenMagnifier::cancelled, &loop, &QEventLoop::quit);
    magnifier.start();
    loop.exec();
    return pick;
}

void WidgetPrompter::progress(const ProgressEvent& event)
{
    if (m_transcript)
        m_transcript->recordProgress(event);
    if (!canShowWidgets()) {
        // Nobody sees the window, but the action still waits for it to close after success.
        if (event.state == ProgressEvent::State::Success && event.onClosed)
            Dispatch::enterForeground(event.onClosed);
        return;
    }
    onMainThread([&] { showProgress(event); });
}

void WidgetPrompter::showProgress(const ProgressEvent& event)
{
    if (event.job != 0) {
        // A job's own window: other jobs' events never reach it.
        QPointer<ProgressWindow>& window = m_jobWindows[event.job];
        // Every job's row in one window, made when the first job opens and gone with the last.
        const auto row = [this] {
            if (!m_jobsWindow)
                m_jobsWindow = new JobsWindow; // deletes itself when closed
            return m_jobsWindow->addRow();
        };
        switch (event.state) {
        case ProgressEvent::State::Open:
            if (!window)
                window = row();
            if (!event.text.isEmpty())
                m_jobsWindow->setWindowTitle(event.text);
            window->open(event.text, event.onCancel);
            return;
        case ProgressEvent::State::Percent:
            if (window)
                window->setPercent(event.percent);
            return;
        case ProgressEvent::State::Success:
            if (!window)
                window = row();
            window->showSuccess(event.text, event.onClosed);
            m_jobWindows.remove(event.job);
            return;
        case ProgressEvent::State::Close:
            if (window)
                window->close();
            m_jobWindows.remove(event.job);
            return;
        }
    }
    switch (event.state) {
    case ProgressEvent::State::Open:
        // A window still showing the last job's success closes on its own a second later; the
        // new job gets a window of its own.
        if (!m_progress || m_progress->hasSucceeded())
            m_progress = new ProgressWindow; // deletes itself when closed
        m_progress->open(event.text, event.onCancel);
        break;
    case ProgressEvent::State::Percent:
        if (m_progress)
            m_progress->setPercent(event.percent);
        break;
    case ProgressEvent::State::Success:
        if (!m_progress)
            m_progress = new ProgressWindow;
        m_progress->showSuccess(event.text, event.onClosed);
        break;
    case ProgressEvent::State::Close:
        if (m_progress)
            m_progress->close();
        break;
    }
}

} // namespace pallstone
