#include "AppChooserDialog.h"

#include "Alert.h"
#include "Localizer.h"
#include "Prompter.h"

#include <QDialogButtonBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace pallstone {

AppChooserDialog::AppChooserDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("appChooser"));
    setWindowTitle(Localizer::text(QStringLiteral("Choose Application")));
    m_entries = DesktopApplications::all();

    m_search = new QLineEdit(this);
    m_search->setPlaceholderText(Localizer::text(QStringLiteral("Search")));
    m_search->setClearButtonEnabled(true);
    m_list = new QListWidget(this);
    m_list->setIconSize(QSize(24, 24));
    for (int i = 0; i < m_entries.size(); ++i) {
        auto* row = new QListWidgetItem(m_entries.at(i).qicon(), m_entries.at(i).name, m_list);
        row->setData(Qt::UserRole, i);
        row->setToolTip(m_entries.at(i).id);
    }

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* file = buttons->addButton(Localizer::text(QStringLiteral("Choose Desktop File")),
                                           QDialogButtonBox::ActionRole);
    buttons->addButton(Localizer::text(QStringLiteral("Cancel")), QDialogButtonBox::RejectRole);
    QPushButton* ok =
        buttons->addButton(Localizer::text(QStringLiteral("OK")), QDialogButtonBox::AcceptRole);
    ok->setDefault(true);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_search);
    layout->addWidget(m_list, 1);
    layout->addWidget(buttons);
    resize(460, 560);

    connect(m_search, &QLineEdit::textChanged, this, &AppChooserDialog::filter);
    connect(m_list, &QListWidget::itemDoubleClicked, this, &AppChooserDialog::acceptCurrent);
    connect(buttons, &QDialogButtonBox::accepted, this, &AppChooserDialog::acceptCurrent);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(file, &QPushButton::clicked, this, &AppChooserDialog::chooseFile);
}

AppChooserDialog::~AppChooserDialog() = default;

std::optional<DesktopApplications::Entry> AppChooserDialog::choose(QWidget* parent)
{
    AppChooserDialog dialog(parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.chosen();
}

void AppChooserDialog::filter(const QString& text)
{
    for (int i = 0; i < m_list->count(); ++i) {
        QListWidgetItem* row = m_list->item(i);
        row->setHidden(!text.isEmpty() && !row->text().contains(text, Qt::CaseInsensitive));
    }
}

void AppChooserDialog::acceptCurrent()
{
    QListWidgetItem* row = m_list->currentItem();
    if (!row || row->isHidden())
        return;
    m_chosen = m_entries.value(row->data(Qt::UserRole).toInt());
    accept();
}

void AppChooserDialog::chooseFile()
{
    OpenPanelRequest request;
    request.directory = QStringLiteral("/usr/share/applications");
    const std::optional<QStringList> paths = Prompter::instance()->openPanel(request);
    if (!paths || paths->isEmpty())
        return;
    m_chosen = DesktopApplications::fromFile(paths->first());
    if (!m_chosen) {
        Alert::warning(Localizer::text(QStringLiteral("Not Desktop File Heading")),
                       Localizer::text(QStringLiteral("Not Desktop File Tip")), this);
        return;
    }
    accept();
}

} // namespace pallstone
