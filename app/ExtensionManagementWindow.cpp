#include "ExtensionManagementWindow.h"

#include "ExtensionManager.h"
#include "Localizer.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace pallstone {

namespace {

QLabel* stateLabel(bool yes, const QString& yesKey, const QString& noKey, QWidget* parent)
{
    auto* label = new QLabel(Localizer::text(yes ? yesKey : noKey), parent);
    if (!yes)
        label->setStyleSheet(QStringLiteral("color: palette(mid);"));
    return label;
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
    m_grid->setHorizontalSpacing(18);
    layout->addWidget(m_rows);
    layout->addStretch();

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->button(QDialogButtonBox::Close)->setText(Localizer::text(QStringLiteral("Close")));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    refresh();
    resize(640, 320);
}

ExtensionManagementWindow::~ExtensionManagementWindow() = default;

void ExtensionManagementWindow::refresh()
{
    while (QLayoutItem* item = m_grid->takeAt(0)) {
        if (QWidget* widget = item->widget())
            widget->deleteLater();
        delete item;
    }
    const QStringList headers = {QStringLiteral("File Manager"), QStringLiteral("Installed"),
                                 QStringLiteral("Bridge"), QStringLiteral("Use Pallstone"),
                                 QString()};
    for (int column = 0; column < headers.size(); ++column) {
        if (headers.at(column).isEmpty())
            continue;
        auto* header = new QLabel(u"<b>" + Localizer::text(headers.at(column)) + u"</b>", m_rows);
        m_grid->addWidget(header, 0, column);
    }
    const QList<ExtensionManager::FileManager> list = ExtensionManager::fileManagers();
    int row = 1;
    for (const ExtensionManager::FileManager& fm : list) {
        m_grid->addWidget(new QLabel(fm.name, m_rows), row, 0);
        m_grid->addWidget(stateLabel(fm.installed(), QStringLiteral("Yes"),
                                     QStringLiteral("Not Installed"), m_rows),
                          row, 1);
        QLabel* bridge = stateLabel(fm.bridgeInstalled(), QStringLiteral("Yes"),
                                    QStringLiteral("Not Installed"), m_rows);
        bridge->setToolTip(fm.bridgeInstalled() ? fm.bridgePath
                                                : fm.bridgeFolders.join(QLatin1Char('\n')));
        m_grid->addWidget(bridge, row, 2);

        auto* on = new QCheckBox(m_rows);
        on->setObjectName(QStringLiteral("switch_") + fm.id);
        on->setChecked(fm.switchedOn);
        const QString id = fm.id;
        connect(on, &QCheckBox::toggled, this, [this, id, on](bool checked) {
            // A switch that could not be written (a read-only configuration folder) shows
            // what the bridge still does.
            if (!ExtensionManager::setSwitchedOn(id, checked)) {
                const QSignalBlocker blocker(on);
                on->setChecked(!checked);
                return;
            }
            Q_EMIT switchesChanged();
        });
        m_grid->addWidget(on, row, 3);

        auto* restart =
            new QPushButton(Localizer::text(QStringLiteral("Restart File Manager")), m_rows);
        restart->setObjectName(QStringLiteral("restart_") + fm.id);
        restart->setEnabled(fm.installed());
        connect(restart, &QPushButton::clicked, this,
                [fm] { ExtensionManager::restartFileManager(fm); });
        m_grid->addWidget(restart, row, 4);
        ++row;
    }
}

} // namespace pallstone
