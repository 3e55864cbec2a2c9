#include "ExtensionManagementWindow.h"

#include "ExtensionManager.h"
#include "Localizer.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace pallstone {

namespace {

// A dot in the colour of the state: readable at a glance, whatever the icon theme.
QPixmap stateDot(const QColor& colour, int size, qreal ratio)
{
    QPixmap dot(QSize(size, size) * ratio);
    dot.setDevicePixelRatio(ratio);
    dot.fill(Qt::transparent);
    QPainter painter(&dot);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawEllipse(QRectF(1, 1, size - 2, size - 2));
    return dot;
}

struct RowState
{
    QString key;
    QColor colour;
};

RowState stateOf(const ExtensionManager::FileManager& fm)
{
    if (!fm.installed())
        return {QStringLiteral("File Manager Absent"), QColor(0x9a, 0x9a, 0x9a)};
    if (!fm.bridgeInstalled())
        return {QStringLiteral("Plug-in Not Installed"), QColor(0xe0, 0x8a, 0x1e)};
    if (!fm.switchedOn)
        return {QStringLiteral("Menu Switched Off"), QColor(0xc0, 0x39, 0x2b)};
    return {QStringLiteral("Menu Active"), QColor(0x2e, 0xa0, 0x43)};
}

} // namespace

ExtensionManagementWindow::ExtensionManagementWindow(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("extensionManagementWindow"));
    setWindowTitle(Localizer::text(QStringLiteral("File Manager Extensions")));
    auto* layout = new QVBoxLayout(this);
    auto* intro = new QLabel(Localizer::text(QStringLiteral("File Manager Extensions Tip")), this);
    intro->setWordWrap(true);
    layout->addWidget(intro);

    m_rows = new QWidget(this);
    m_grid = new QGridLayout(m_rows);
    m_grid->setContentsMargins(0, 8, 0, 8);
    m_grid->setHorizontalSpacing(24);
    m_grid->setVerticalSpacing(10);
    m_grid->setColumnStretch(1, 1);
    layout->addWidget(m_rows);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->button(QDialogButtonBox::Close)->setText(Localizer::text(QStringLiteral("Close")));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    // As tall as its rows: no empty band under them.
    layout->setSizeConstraint(QLayout::SetMinimumSize);
    setMinimumWidth(640);
    refresh();
}

ExtensionManagementWindow::~ExtensionManagementWindow() = default;

void ExtensionManagementWindow::refresh()
{
    while (QLayoutItem* item = m_grid->takeAt(0)) {
        if (QWidget* widget = item->widget())
            widget->deleteLater();
        delete item;
    }
    const QStringList headers = {QStringLiteral("File Manager"), QStringLiteral("State"),
                                 QStringLiteral("Use Pallstone"), QString()};
    for (int column = 0; column < headers.size(); ++column) {
        if (headers.at(column).isEmpty())
            continue;
        auto* header = new QLabel(Localizer::text(headers.at(column)), m_rows);
        QFont bold = header->font();
        bold.setBold(true);
        header->setFont(bold);
        m_grid->addWidget(header, 0, column, column == 2 ? Qt::AlignHCenter : Qt::Alignment());
    }
    const QList<ExtensionManager::FileManager> list = ExtensionManager::fileManagers();
    const int dotSize = fontMetrics().height() * 2 / 3;
    int row = 1;
    for (const ExtensionManager::FileManager& fm : list) {
        auto* name = new QLabel(Localizer::text(fm.name), m_rows);
        if (fm.installed())
            name->setToolTip(fm.binary);
        m_grid->addWidget(name, row, 0);

        auto* cell = new QWidget(m_rows);
        cell->setObjectName(QStringLiteral("state_") + fm.id);
        auto* cellLayout = new QHBoxLayout(cell);
        cellLayout->setContentsMargins(0, 0, 0, 0);
        auto* dot = new QLabel(cell);
        auto* text = new QLabel(cell);
        text->setObjectName(QStringLiteral("stateText"));
        cellLayout->addWidget(dot);
        cellLayout->addWidget(text, 1);
        // The step that installs a missing plug-in, as the main window's note gives it.
        const QString step = ExtensionManager::installStep(fm);
        cell->setToolTip(fm.bridgeInstalled()
                             ? fm.bridgePath
                             : (step.isEmpty() ? QString() : step + QStringLiteral("\n\n")) +
                                   Localizer::text(QStringLiteral("Plug-in Folders Tip")) + u'\n' +
                                   fm.bridgeFolders.join(QLatin1Char('\n')));
        const qreal ratio = devicePixelRatioF();
        const auto show = [dot, text, dotSize, ratio](const ExtensionManager::FileManager& now) {
            const RowState state = stateOf(now);
            dot->setPixmap(stateDot(state.colour, dotSize, ratio));
            text->setText(Localizer::text(state.key));
        };
        show(fm);
        m_grid->addWidget(cell, row, 1);

        auto* on = new QCheckBox(m_rows);
        on->setObjectName(QStringLiteral("switch_") + fm.id);
        on->setChecked(fm.switchedOn);
        on->setEnabled(fm.installed());
        connect(on, &QCheckBox::toggled, this, [this, fm, on, show](bool checked) {
            // A switch that could not be written (a read-only configuration folder) shows
            // what the bridge still does.
            if (!ExtensionManager::setSwitchedOn(fm.id, checked)) {
                const QSignalBlocker blocker(on);
                on->setChecked(!checked);
                return;
            }
            ExtensionManager::FileManager now = fm;
            now.switchedOn = checked;
            show(now);
            Q_EMIT switchesChanged();
        });
        m_grid->addWidget(on, row, 2, Qt::AlignHCenter);

        auto* restart =
            new QPushButton(Localizer::text(QStringLiteral("Restart File Manager")), m_rows);
        restart->setObjectName(QStringLiteral("restart_") + fm.id);
        restart->setEnabled(fm.installed());
        restart->setIcon(QIcon::fromTheme(QStringLiteral("view-refresh")));
        connect(restart, &QPushButton::clicked, this,
                [fm] { ExtensionManager::restartFileManager(fm); });
        m_grid->addWidget(restart, row, 3);
        ++row;

        // What its plug-in interface lets a menu show, so that missing icons are not taken for
        // a fault of ours.
        auto* abilities =
            new QLabel(Localizer::text(QStringLiteral("Menu Abilities ") + fm.id), m_rows);
        abilities->setObjectName(QStringLiteral("abilities_") + fm.id);
        abilities->setWordWrap(true);
        abilities->setStyleSheet(QStringLiteral("color: palette(placeholder-text);"));
        m_grid->addWidget(abilities, row, 0, 1, headers.size());
        ++row;
    }
    auto* palette = new QLabel(Localizer::text(QStringLiteral("Menu Abilities Palette")), m_rows);
    palette->setObjectName(QStringLiteral("abilitiesPalette"));
    palette->setWordWrap(true);
    m_grid->addWidget(palette, row, 0, 1, headers.size());
}

} // namespace pallstone
