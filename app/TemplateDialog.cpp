#include "TemplateDialog.h"

#include "Alert.h"
#include "FolderIconFile.h"
#include "Localizer.h"
#include "MenuIcons.h"
#include "MenuStore.h"
#include "Paths.h"
#include "Prompter.h"
#include "Punctuation.h"
#include "Strings.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QMimeDatabase>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

namespace pallstone {

namespace {

constexpr int kIconSize = 60;

QString label(const QString& key)
{
    return Punctuation::label(Localizer::text(key));
}

QString example(const QString& text)
{
    return Localizer::text(QStringLiteral("eg:")) + text;
}

} // namespace

TemplateDialog::TemplateDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("addFileWindow"));
    setWindowTitle(Localizer::text(QStringLiteral("Add File Type Title")));
    m_menuItem = MenuItem::create();
    m_menuItem->key = Strings::uuid();

    m_checkedSpecialFile = new QCheckBox(Localizer::text(QStringLiteral("Special File")), this);
    m_checkedSpecialFile->setChecked(m_menuItem->isSpecialFile);
    m_inputFileType = new QLineEdit(this);
    m_inputFileType->setPlaceholderText(example(Localizer::text(QStringLiteral("docx"))));
    m_inputFileName = new QLineEdit(Localizer::text(QStringLiteral("Untitled")), this);
    m_inputFileName->setPlaceholderText(example(Localizer::text(QStringLiteral("Untitled"))));
    m_inputExtension = new QLineEdit(this);
    m_inputExtension->setPlaceholderText(example(QStringLiteral("docx")));
    m_inputSpecialName = new QLineEdit(this);
    m_inputSpecialName->setPlaceholderText(
        Localizer::text(QStringLiteral("Special FileName Placeholder")));

    m_buttonIcon = new QPushButton(this);
    m_buttonIcon->setObjectName(QStringLiteral("buttonIcon"));
    m_buttonIcon->setFixedSize(kIconSize + 12, kIconSize + 12);
    m_buttonIcon->setIconSize(QSize(kIconSize, kIconSize));
    auto* iconRow = new QHBoxLayout;
    iconRow->addWidget(m_buttonIcon);
    auto* iconTip = new QLabel(Localizer::text(QStringLiteral("Modify Icon Tip")), this);
    iconTip->setWordWrap(true);
    iconRow->addWidget(iconTip, 1);

    // The button keeps one width whichever of its two titles it shows.
    m_buttonSelectTemplate = new QPushButton(this);
    m_buttonSelectTemplate->setObjectName(QStringLiteral("buttonSelectTemplate"));
    int buttonWidth = 0;
    for (const QString& key :
         {QStringLiteral("Select Template"), QStringLiteral("Modify Template")}) {
        m_buttonSelectTemplate->setText(Localizer::text(key));
        buttonWidth = qMax(buttonWidth, m_buttonSelectTemplate->sizeHint().width());
    }
    m_buttonSelectTemplate->setMinimumWidth(buttonWidth);
    m_labelTipSelected = new QLabel(this);
    m_labelTipSelected->setObjectName(QStringLiteral("labelTipSelected"));
    m_labelTipSelected->setWordWrap(true);
    auto* templateRow = new QVBoxLayout;
    templateRow->addWidget(m_buttonSelectTemplate, 0, Qt::AlignLeft);
    templateRow->addWidget(m_labelTipSelected);

    // One form: every field starts at the same place, and a row that does not apply is taken
    // out rather than left as a gap.
    m_form = new QFormLayout;
    m_form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    m_form->addRow(QString(), m_checkedSpecialFile);
    m_form->addRow(label(QStringLiteral("File Type")), m_inputFileType);
    m_form->addRow(label(QStringLiteral("Default Name")), m_inputFileName);
    m_form->addRow(label(QStringLiteral("Extension")), m_inputExtension);
    m_form->addRow(label(QStringLiteral("File Name")), m_inputSpecialName);
    m_form->addRow(label(QStringLiteral("File Icon")), iconRow);
    m_form->addRow(label(QStringLiteral("File Template")), templateRow);

    auto* hint = new QLabel(Localizer::text(QStringLiteral("Add to File Template Tip")), this);
    hint->setWordWrap(true);
    QPalette dim = hint->palette();
    dim.setColor(QPalette::WindowText, dim.color(QPalette::PlaceholderText));
    hint->setPalette(dim);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_sureBtn = buttons->button(QDialogButtonBox::Ok);
    m_sureBtn->setText(Localizer::text(QStringLiteral("OK")));
    m_sureBtn->setDefault(true);
    m_cancelBtn = buttons->button(QDialogButtonBox::Cancel);
    m_cancelBtn->setText(Localizer::text(QStringLiteral("Cancel")));

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(m_form);
    layout->addSpacing(6);
    layout->addWidget(hint);
    layout->addWidget(buttons);
    setMinimumWidth(540);

    connect(m_checkedSpecialFile, &QCheckBox::toggled, this, &TemplateDialog::refresh);
    for (QLineEdit* input :
         {m_inputFileType, m_inputFileName, m_inputExtension, m_inputSpecialName})
        connect(input, &QLineEdit::textChanged, this, &TemplateDialog::refresh);
    connect(m_buttonIcon, &QPushButton::clicked, this, &TemplateDialog::onSelectIcon);
    connect(m_buttonSelectTemplate, &QPushButton::clicked, this, &TemplateDialog::onSelectTemplate);
    connect(m_cancelBtn, &QPushButton::clicked, this, &TemplateDialog::onCancel);
    connect(m_sureBtn, &QPushButton::clicked, this, &TemplateDialog::onSure);
    refresh();
}

TemplateDialog::~TemplateDialog()
{
    if (!m_finished)
        removeWorkingFiles();
}

QString TemplateDialog::workingPath(const QString& suffix) const
{
    return MenuStore::cacheFolder() + u'/' + m_menuItem->key + suffix;
}

bool TemplateDialog::isAcceptableSpecialName(const QString& name)
{
    if (!Strings::isValid(name) || name.contains(u'/'))
        return false;
    const QString trimmed = Strings::trim(name);
    return trimmed.count(u'.') != trimmed.size();
}

bool TemplateDialog::canConfirm() const
{
    if (!Strings::isValid(m_inputFileType->text()))
        return false;
    if (m_checkedSpecialFile->isChecked())
        return isAcceptableSpecialName(m_inputSpecialName->text());
    const QString name = m_inputFileName->text();
    const QString ext = m_inputExtension->text();
    // Both end up in a file name: a "/" would put the new file somewhere else.
    return Strings::isValid(name) && Strings::isValid(ext) && !name.contains(u'/') &&
           !ext.contains(u'/') && Strings::trim(name) != u"." && Strings::trim(name) != u"..";
}

void TemplateDialog::refresh()
{
    const bool special = m_checkedSpecialFile->isChecked();
    m_form->setRowVisible(m_inputFileName, !special);
    m_form->setRowVisible(m_inputExtension, !special);
    m_form->setRowVisible(m_inputSpecialName, special);
    if (m_shownSpecial != special) {
        // The window takes the height of the rows it now has, rather than a gap where the hidden
        // ones were.
        m_shownSpecial = special;
        layout()->activate();
        resize(width(), sizeHint().height());
    }

    QIcon icon;
    if (Strings::isValid(m_iconPath) && QFileInfo(m_iconPath).isFile())
        icon = QIcon(m_iconPath);
    else
        icon = MenuIcons::icon(m_menuItem->menuIcon());
    if (icon.isNull())
        icon = MenuIcons::resource(QStringLiteral("file"));
    m_buttonIcon->setIcon(icon);

    const bool chosen =
        Strings::isValid(m_templatePath) || Strings::isValid(m_menuItem->templatePath);
    m_buttonSelectTemplate->setText(Localizer::text(chosen ? QStringLiteral("Modify Template")
                                                           : QStringLiteral("Select Template")));
    // Says what a new file will start as, now.
    m_labelTipSelected->setText(chosen ? Localizer::text(QStringLiteral("Template Chosen Tip"))
                                             .replace(QStringLiteral("%@"), QStringLiteral("%1"))
                                             .arg(m_templateName)
                                       : Localizer::text(QStringLiteral("No Template Tip")));
    m_sureBtn->setEnabled(canConfirm());
}

void TemplateDialog::onSelectTemplate()
{
    OpenPanelRequest request;
    request.canChooseFiles = true;
    request.canChooseDirectories = false;
    const std::optional<QStringList> paths = Prompter::instance()->openPanel(request);
    if (!paths || paths->isEmpty())
        return;
    selectTemplate(paths->first());
}

bool TemplateDialog::selectTemplate(const QString& path)
{
    const QFileInfo info(path);
    if (!info.isFile()) {
        Alert::warning(Localizer::text(QStringLiteral("Template Copy Failed Heading")),
                       Localizer::text(QStringLiteral("Template Copy Failed Tip")), this);
        return false;
    }
    // Copy first: a template that cannot be read must not be recorded.
    const QString copy = workingPath(QString());
    QFile::remove(copy);
    if (!QFile::copy(path, copy)) {
        Alert::warning(Localizer::text(QStringLiteral("Template Copy Failed Heading")),
                       Localizer::text(QStringLiteral("Template Copy Failed Tip")), this);
        return false;
    }
    QFile::setPermissions(copy, QFile::permissions(copy) | QFile::WriteOwner | QFile::ReadOwner);
    m_templatePath = copy;

    const QString fullName = info.fileName();
    const QString ext = Paths::pathExtension(path);
    if (m_checkedSpecialFile->isChecked()) {
        m_inputFileType->setText(fullName);
        m_inputSpecialName->setText(fullName);
    } else {
        m_inputFileType->setText(ext.toUpper());
        m_inputExtension->setText(ext.toLower());
    }
    m_templateName = fullName;

    static const QMimeDatabase mimes;
    const QMimeType type = mimes.mimeTypeForFile(info);
    QIcon fileIcon = QIcon::fromTheme(type.iconName(), QIcon::fromTheme(type.genericIconName()));
    if (fileIcon.isNull())
        fileIcon = MenuIcons::resource(QStringLiteral("file"));
    saveImage(fileIcon.pixmap(QSize(kIconSize, kIconSize)).toImage());
    refresh();
    return true;
}

void TemplateDialog::onSelectIcon()
{
    if (const std::optional<QString> path = FolderIconFile::askForPicture())
        selectIcon(*path);
}

bool TemplateDialog::selectIcon(const QString& path)
{
    // The desktop's panel may let "All files" through; anything else than a picture of the
    // offered types is refused aloud rather than leaving the old icon as if it had been taken.
    QImage image;
    if (FolderIconFile::pictureTypes().contains(Paths::pathExtension(path).toLower())) {
        QImageReader reader(path);
        reader.setAutoTransform(true);
        image = reader.read();
    }
    if (image.isNull() || !saveImage(image)) {
        Alert::warning(Localizer::text(QStringLiteral("Picture Unreadable Heading")),
                       Localizer::text(QStringLiteral("Picture Unreadable Tip")), this);
        return false;
    }
    refresh();
    return true;
}

bool TemplateDialog::saveImage(const QImage& image)
{
    if (image.isNull())
        return false;
    QImage canvas(kIconSize, kIconSize, QImage::Format_ARGB32_Premultiplied);
    canvas.fill(Qt::transparent);
    const QImage scaled =
        image.scaled(kIconSize, kIconSize, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    QPainter painter(&canvas);
    painter.drawImage((kIconSize - scaled.width()) / 2, (kIconSize - scaled.height()) / 2, scaled);
    painter.end();
    const QString path = workingPath(QStringLiteral(".png"));
    QFile::remove(path);
    if (!canvas.save(path, "PNG"))
        return false;
    m_iconPath = path;
    return true;
}

void TemplateDialog::removeWorkingFiles()
{
    // Only this window's own copies: other work may use the cache folder too.
    QFile::remove(workingPath(QString()));
    QFile::remove(workingPath(QStringLiteral(".png")));
    m_templatePath.clear();
    m_iconPath.clear();
}

void TemplateDialog::onCancel()
{
    removeWorkingFiles();
    m_finished = true;
    QDialog::reject();
}

void TemplateDialog::reject()
{
    onCancel();
}

void TemplateDialog::onSure()
{
    if (!canConfirm())
        return;
    MenuItem& item = *m_menuItem;
    item.displayName = m_inputFileType->text();
    item.isSpecialFile = m_checkedSpecialFile->isChecked();
    if (item.isSpecialFile) {
        item.fileName = m_inputSpecialName->text();
        item.ext = QString();
    } else {
        item.fileName = m_inputFileName->text();
        item.ext = m_inputExtension->text();
    }
    const QString folder = MenuStore::fileTemplateFolder();
    const auto moveIn = [&folder](const QString& from, QString& to) {
        if (!Strings::isValid(from))
            return true;
        const QString target = folder + u'/' + QFileInfo(from).fileName();
        QFile::remove(target);
        if (!QFile::rename(from, target))
            return false;
        to = target;
        return true;
    };
    if (!moveIn(m_templatePath, item.templatePath) || !moveIn(m_iconPath, item.iconPath)) {
        // A record must never point at a file that is not there.
        QFile::remove(item.templatePath);
        QFile::remove(item.iconPath);
        item.templatePath.clear();
        item.iconPath.clear();
        removeWorkingFiles();
        refresh();
        Alert::warning(Localizer::text(QStringLiteral("Template Copy Failed Heading")),
                       Localizer::text(QStringLiteral("Template Copy Failed Tip")), this);
        return;
    }
    m_templatePath.clear();
    m_iconPath.clear();
    m_finished = true;
    accept();
    if (addSuccessBlock)
        addSuccessBlock(m_menuItem);
}

} // namespace pallstone
