#include "AboutDialog.h"

#include "Launcher.h"
#include "Localizer.h"
#include "MenuIcons.h"
#include "Services.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

namespace pallstone {

namespace {

QString format(const QString& key, const QString& value)
{
    return Localizer::text(key).replace(QStringLiteral("%@"), QStringLiteral("%1")).arg(value);
}

QLabel* textLabel(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

} // namespace

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("aboutDialog"));
    const QString name = Localizer::displayName();
    setWindowTitle(format(QStringLiteral("Menu Abount"), name));

    auto* icon = new QLabel(this);
    icon->setPixmap(MenuIcons::resource(QStringLiteral("pro")).pixmap(QSize(64, 64)));
    icon->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

    auto* title = new QLabel(name, this);
    title->setObjectName(QStringLiteral("aboutName"));
    QFont big = title->font();
    big.setPointSizeF(big.pointSizeF() * 1.6);
    big.setBold(true);
    title->setFont(big);

    auto* version =
        textLabel(format(QStringLiteral("About Version"), QStringLiteral(PALLSTONE_VERSION)), this);
    version->setObjectName(QStringLiteral("aboutVersion"));
    auto* description = textLabel(Localizer::text(QStringLiteral("About Description")), this);

    const QString homepage = QStringLiteral(PALLSTONE_HOMEPAGE);
    auto* link =
        new QLabel(QStringLiteral("<a href=\"%1\">%2</a>")
                       .arg(homepage.toHtmlEscaped(),
                            QString(homepage).remove(QStringLiteral("https://")).toHtmlEscaped()),
                   this);
    link->setObjectName(QStringLiteral("aboutHomepage"));
    link->setTextFormat(Qt::RichText);
    link->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    link->setToolTip(homepage);
    connect(link, &QLabel::linkActivated, this,
            [](const QString& url) { Services::launcher()->openDefault(QUrl(url)); });

    auto* licence =
        textLabel(format(QStringLiteral("About Licence"), QStringLiteral(PALLSTONE_LICENSE)), this);
    licence->setObjectName(QStringLiteral("aboutLicence"));
    QPalette dim = licence->palette();
    dim.setColor(QPalette::WindowText, dim.color(QPalette::PlaceholderText));
    licence->setPalette(dim);

    auto* texts = new QVBoxLayout;
    texts->setSpacing(6);
    texts->addWidget(title);
    texts->addWidget(version);
    texts->addSpacing(8);
    texts->addWidget(description);
    texts->addWidget(link);
    texts->addSpacing(8);
    texts->addWidget(licence);
    texts->addStretch();

    auto* body = new QHBoxLayout;
    body->setSpacing(18);
    body->addWidget(icon);
    body->addLayout(texts, 1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    QPushButton* close = buttons->button(QDialogButtonBox::Close);
    close->setText(Localizer::text(QStringLiteral("Close")));
    close->setIcon(QIcon::fromTheme(QStringLiteral("window-close")));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 20, 20, 12);
    layout->addLayout(body);
    layout->addSpacing(12);
    layout->addWidget(buttons);
    setMinimumWidth(440);
}

AboutDialog::~AboutDialog() = default;

} // namespace pallstone
