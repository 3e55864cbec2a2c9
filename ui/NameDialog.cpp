#include "NameDialog.h"

#include "Localizer.h"
#include "Strings.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace pallstone {

NameDialog::NameDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("nameDialog"));
    setWindowTitle(Localizer::displayName());

    auto* layout = new QVBoxLayout(this);
    m_tipLabel = new QLabel(this);
    m_tipLabel->setWordWrap(true);
    layout->addWidget(m_tipLabel);

    m_aliasTextField = new QLineEdit(this);
    m_aliasTextField->setObjectName(QStringLiteral("nameField"));
    m_aliasTextField->setMinimumWidth(320);
    layout->addWidget(m_aliasTextField);

    m_refusedLabel = new QLabel(Localizer::text(QStringLiteral("Name Not Allowed Tip")), this);
    m_refusedLabel->setWordWrap(true);
    m_refusedLabel->setStyleSheet(QStringLiteral("color: #c0392b;"));
    m_refusedLabel->hide();
    layout->addWidget(m_refusedLabel);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    m_cancelBtn = new QPushButton(Localizer::text(QStringLiteral("Cancel")), this);
    m_okBtn = new QPushButton(Localizer::text(QStringLiteral("OK")), this);
    m_okBtn->setDefault(true);
    m_okBtn->setObjectName(QStringLiteral("okButton"));
    m_cancelBtn->setObjectName(QStringLiteral("cancelButton"));
    buttons->addWidget(m_cancelBtn);
    buttons->addWidget(m_okBtn);
    layout->addLayout(buttons);

    connect(m_okBtn, &QPushButton::clicked, this, &NameDialog::onSure);
    connect(m_cancelBtn, &QPushButton::clicked, this, &NameDialog::onCancel);
    connect(m_aliasTextField, &QLineEdit::textChanged, this, &NameDialog::updateState);

    setTipLabelString(QString());
    setTipPlaceholder(QString());
    updateState();
}

NameDialog::~NameDialog() = default;

void NameDialog::setDefaultAlias(const QString& alias)
{
    m_defaultAlias = alias;
    m_aliasTextField->setText(Strings::isValid(alias) ? alias : QString());
    m_aliasTextField->selectAll();
}

void NameDialog::setTipLabelString(const QString& tip)
{
    m_tipLabelString =
        tip.isNull() ? Localizer::text(QStringLiteral("Please enter a display name")) : tip;
    m_tipLabel->setText(m_tipLabelString);
    m_tipLabel->setVisible(!m_tipLabelString.isEmpty());
}

void NameDialog::setTipPlaceholder(const QString& placeholder)
{
    m_placeholder = placeholder;
    showPlaceholder();
}

void NameDialog::showPlaceholder()
{
    // "Leave empty" only where an empty name is accepted.
    if (!m_placeholder.isNull())
        m_aliasTextField->setPlaceholderText(m_placeholder);
    else if (m_required)
        m_aliasTextField->setPlaceholderText(QString());
    else
        m_aliasTextField->setPlaceholderText(
            Localizer::text(QStringLiteral("Without Display Name Tip")));
}

void NameDialog::setRequired(bool required)
{
    m_required = required;
    showPlaceholder();
    updateState();
}

bool NameDialog::isUnsafeName(const QString& text)
{
    const QString trimmed = text.trimmed();
    return text.contains(u'/') || trimmed == u"." || trimmed == u"..";
}

bool NameDialog::acceptsName(const QString& text) const
{
    if (isUnsafeName(text))
        return false;
    return !m_required || Strings::isValid(text);
}

void NameDialog::updateState()
{
    const QString text = m_aliasTextField->text();
    m_refusedLabel->setVisible(isUnsafeName(text));
    m_okBtn->setEnabled(acceptsName(text));
}

void NameDialog::onSure()
{
    const QString text = m_aliasTextField->text();
    if (!acceptsName(text))
        return;
    // The text goes out as typed: what a blank name means is the caller's decision.
    if (editHandler)
        editHandler(text);
    accept();
}

void NameDialog::onCancel()
{
    QDialog::reject();
    if (cancelHandler)
        cancelHandler();
}

void NameDialog::reject()
{
    // Escape and the window's close button are a Cancel.
    onCancel();
}

} // namespace pallstone
