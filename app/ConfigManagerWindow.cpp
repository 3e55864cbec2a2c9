#include "ConfigManagerWindow.h"

#include "Alert.h"
#include "Dispatch.h"
#include "ListPage.h"
#include "Localizer.h"
#include "Prompter.h"
#include "Punctuation.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QShowEvent>
#include <QTableWidget>
#include <QVBoxLayout>

namespace pallstone {

namespace {

QString text(const char16_t* key)
{
    return Localizer::text(QString::fromUtf16(key));
}

// The system palette has no green of its own; this one reads on light and dark backgrounds.
const QColor kCurrentColor(0x2e, 0xa0, 0x43);

} // namespace

const QString ConfigManagerWindow::kCurrentMark = QStringLiteral("  \u23B7");

ConfigManagerWindow::ConfigManagerWindow(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("configManagerWindow"));
    setWindowTitle(text(u"Config Manager"));
    resize(560, 380);

    m_tableView = new QTableWidget(0, 2, this);
    m_tableView->setObjectName(QStringLiteral("tableView"));
    m_tableView->setHorizontalHeaderLabels(
        {Punctuation::withHints(text(u"Config Name"), {text(u"Double Click Change")}),
         text(u"Date")});
    m_tableView->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_tableView->setSelectionMode(QAbstractItemView::SingleSelection);
    m_tableView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_tableView->verticalHeader()->hide();
    m_tableView->setShowGrid(false);
    m_tableView->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    m_tableView->horizontalHeader()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    connect(m_tableView, &QTableWidget::itemSelectionChanged, this,
            &ConfigManagerWindow::tableViewSelectionDidChange);
    connect(m_tableView, &QTableWidget::itemDoubleClicked, this, [this](QTableWidgetItem* item) {
        selectRow(item->row());
        onEdit();
    });

    const auto button = [this](const char16_t* key, const char* name,
                               void (ConfigManagerWindow::*slot)()) {
        auto* b = new QPushButton(text(key), this);
        b->setObjectName(QString::fromLatin1(name));
        connect(b, &QPushButton::clicked, this, slot);
        return b;
    };
    m_saveCurConfigButton = button(u"Save Current Config", "saveCurConfigButton",
                                   &ConfigManagerWindow::onSaveCurrentConfig);
    m_setupButton = button(u"Switch", "setupButton", &ConfigManagerWindow::onSetup);
    m_exportButton =
        button(u"Export Select Config", "exportButton", &ConfigManagerWindow::onExportConfig);
    m_importButton = button(u"Import Config", "importButton", &ConfigManagerWindow::onImportConfig);
    m_deleteButton = button(u"Delete Config", "deleteButton", &ConfigManagerWindow::onDelete);

    m_indicator = new QProgressBar(this);
    m_indicator->setObjectName(QStringLiteral("indicator"));
    m_indicator->setRange(0, 0); // turning, without a percentage
    m_indicator->setTextVisible(false);
    m_indicator->setFixedWidth(80);
    m_indicator->hide();

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_saveCurConfigButton);
    buttons->addWidget(m_setupButton);
    buttons->addWidget(m_deleteButton);
    buttons->addStretch();
    buttons->addWidget(m_indicator);
    buttons->addWidget(m_importButton);
    buttons->addWidget(m_exportButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tableView);
    layout->addLayout(buttons);

    NotificationCenter::defaultCenter().addNotification(this, ListPage::kConfigChangeNotification);
    refresh();
}

ConfigManagerWindow::~ConfigManagerWindow()
{
    NotificationCenter::defaultCenter().removeAllNotification(this);
}

void ConfigManagerWindow::handleSignal(const pallstone::Notification& /*notification*/)
{
    refresh();
}

void ConfigManagerWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // The command line may have changed the profiles while the window was hidden.
    if (!event->spontaneous())
        refresh();
}

void ConfigManagerWindow::refresh()
{
    m_tableData = ProfileManager::list();
    const QString current = ProfileManager::currentName();
    const QSignalBlocker blocker(m_tableView);
    m_tableView->clearContents();
    m_tableView->setRowCount(int(m_tableData.size()));
    // A step below the names, as the dates are secondary.
    QFont dateFont = m_tableView->font();
    if (dateFont.pointSizeF() > 8)
        dateFont.setPointSizeF(dateFont.pointSizeF() - 1);
    for (int row = 0; row < m_tableView->rowCount(); ++row) {
        const ProfileManager::Profile& profile = m_tableData.at(row);
        const bool isCurrent = profile.name == current;
        auto* name = new QTableWidgetItem(isCurrent ? profile.name + kCurrentMark : profile.name);
        if (isCurrent)
            name->setForeground(kCurrentColor);
        auto* date = new QTableWidgetItem(profile.createDate);
        date->setFont(dateFont);
        date->setForeground(palette().color(QPalette::PlaceholderText));
        m_tableView->setItem(row, 0, name);
        m_tableView->setItem(row, 1, date);
    }
    m_tableView->clearSelection();
    m_tableView->setCurrentCell(-1, -1);
    m_selectItem = -1;
    tableViewSelectionDidChange();
    setWorking(m_working);
}

void ConfigManagerWindow::selectRow(int row)
{
    m_tableView->selectRow(row);
    tableViewSelectionDidChange();
}

void ConfigManagerWindow::tableViewSelectionDidChange()
{
    const QModelIndexList rows = m_tableView->selectionModel()->selectedRows();
    const int row = rows.isEmpty() ? -1 : rows.first().row();
    m_selectItem = row >= 0 && row < m_tableData.size() ? row : -1;
    const bool selected = m_selectItem >= 0;
    m_deleteButton->setEnabled(selected);
    m_setupButton->setEnabled(selected);
    m_exportButton->setEnabled(selected);
}

void ConfigManagerWindow::setWorking(bool working)
{
    m_working = working;
    m_indicator->setVisible(working);
}

void ConfigManagerWindow::startJob(Work work,
                                   std::function<void(const ProfileManager::Outcome&)> finished)
{
    if (!finished)
        finished = [](const ProfileManager::Outcome&) {};
    if (m_working) {
        Alert::alertWithMsg(text(u"Config Busy Heading"), text(u"Config Busy Tip"), this);
        return;
    }
    setWorking(true);
    QPointer<ConfigManagerWindow> self(this);
    Dispatch::enterWorker([work = std::move(work), finished = std::move(finished), self] {
        const ProfileManager::Outcome outcome = work();
        Dispatch::enterForeground([outcome, finished, self] {
            if (self)
                self->setWorking(false);
            finished(outcome);
            if (self) {
                self->refresh();
                self->showOutcome(outcome);
            }
        });
    });
}

void ConfigManagerWindow::showOutcome(const ProfileManager::Outcome& outcome)
{
    using Status = ProfileManager::Status;
    switch (outcome.status) {
    case Status::Done:
    case Status::NoSuchProfile: // gone meanwhile; the list shows it
        return;
    case Status::InvalidName:
        // The naming window refuses such names before they get here.
        return;
    case Status::NotAProfile:
        Alert::warning(text(u"Config File Error Heading"), text(u"Config File Error Tip"), this);
        return;
    case Status::Busy:
        Alert::alertWithMsg(text(u"Config Busy Heading"), text(u"Config Busy Tip"), this);
        return;
    case Status::Failed:
        Alert::warning(text(u"Config Failed Heading"),
                       text(u"Config Failed Tip").arg(outcome.error), this);
        return;
    }
}

void ConfigManagerWindow::onSaveCurrentConfig()
{
    // Refused before the name is asked for: a name typed for nothing would be lost.
    if (m_working) {
        Alert::alertWithMsg(text(u"Config Busy Heading"), text(u"Config Busy Tip"), this);
        return;
    }
    NameRequest request;
    request.title = text(u"Config Manager");
    request.tip = text(u"Input Config Name Tip");
    request.required = true;
    const std::optional<QString> name = Prompter::instance()->askName(request);
    if (!name)
        return;
    const QString chosen = *name;
    startJob([chosen] { return ProfileManager::save(chosen); }, {});
}

void ConfigManagerWindow::onSetup()
{
    if (m_selectItem < 0)
        return;
    if (m_working) {
        Alert::alertWithMsg(text(u"Config Busy Heading"), text(u"Config Busy Tip"), this);
        return;
    }
    const QString name = m_tableData.at(m_selectItem).name;
    if (!Alert::confirm(text(u"Setup Config Heading"), text(u"Setup Config Tip"), text(u"Switch"),
                        this))
        return;
    startJob([name] { return ProfileManager::switchTo(name); },
             [](const ProfileManager::Outcome& outcome) {
                 // The open editors reload whether or not this window is still there.
                 if (outcome.ok())
                     NotificationCenter::defaultCenter().postNotification(
                         ListPage::kConfigChangeNotification);
             });
}

void ConfigManagerWindow::onEdit()
{
    if (m_selectItem < 0)
        return;
    const QString oldName = m_tableData.at(m_selectItem).name;
    NameRequest request;
    request.title = text(u"Config Manager");
    request.tip = text(u"Input Config Name Tip");
    request.text = oldName;
    request.required = true;
    const std::optional<QString> name = Prompter::instance()->askName(request);
    if (!name || *name == oldName)
        return;
    const ProfileManager::Outcome outcome = ProfileManager::rename(oldName, *name);
    refresh();
    showOutcome(outcome);
}

void ConfigManagerWindow::onDelete()
{
    if (m_selectItem < 0)
        return;
    const ProfileManager::Outcome outcome =
        ProfileManager::remove(m_tableData.at(m_selectItem).name);
    refresh();
    showOutcome(outcome);
}

void ConfigManagerWindow::onExportConfig()
{
    if (m_selectItem < 0)
        return;
    const QString name = m_tableData.at(m_selectItem).name;
    OpenPanelRequest request;
    request.prompt = text(u"Save Config");
    request.canChooseFiles = false;
    request.canChooseDirectories = true;
    const std::optional<QStringList> chosen = Prompter::instance()->openPanel(request);
    if (!chosen || chosen->isEmpty())
        return;
    const QString folder = chosen->first();
    startJob([name, folder] { return ProfileManager::exportTo(name, folder); }, {});
}

void ConfigManagerWindow::onImportConfig()
{
    OpenPanelRequest request;
    request.prompt = text(u"Import Config");
    request.canChooseFiles = true;
    request.canChooseDirectories = false;
    const std::optional<QStringList> chosen = Prompter::instance()->openPanel(request);
    if (!chosen || chosen->isEmpty())
        return;
    const QString file = chosen->first();
    if (!ProfileManager::isProfileArchive(file)) {
        Alert::warning(text(u"Config File Error Heading"), text(u"Config File Error Tip"), this);
        return;
    }
    startJob([file] { return ProfileManager::importFrom(file); }, {});
}

} // namespace pallstone
