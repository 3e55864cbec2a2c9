#include "SetupBanner.h"

#include "Localizer.h"
#include "Punctuation.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace pallstone {

SetupBanner::SetupBanner(QWidget* parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("setupBanner"));
    setFrameShape(QFrame::StyledPanel);
    setAutoFillBackground(true);
    QPalette tinted = palette();
    tinted.setColor(QPalette::Window, QColor(0xff, 0xf4, 0xd6));
    tinted.setColor(QPalette::WindowText, QColor(0x3c, 0x2f, 0x00));
    setPalette(tinted);

    m_text = new QLabel(this);
    m_text->setObjectName(QStringLiteral("setupBannerText"));
    m_text->setWordWrap(true);
    m_text->setTextFormat(Qt::RichText);
    // The commands are meant to be copied into a terminal.
    m_text->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);

    auto* setUp = new QPushButton(Localizer::text(QStringLiteral("Open System Preferences")), this);
    setUp->setObjectName(QStringLiteral("setupBannerSetUp"));
    connect(setUp, &QPushButton::clicked, this, &SetupBanner::setUpRequested);
    m_restart = new QPushButton(Localizer::text(QStringLiteral("Restart File Manager")), this);
    m_restart->setObjectName(QStringLiteral("setupBannerRestart"));
    connect(m_restart, &QPushButton::clicked, this,
            [] { ExtensionManager::restartFileManagers(); });

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(setUp);
    buttons->addWidget(m_restart);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_text);
    layout->addLayout(buttons);
    hide();
}

SetupBanner::~SetupBanner() = default;

void SetupBanner::showFor(ExtensionManager::State state,
                          const QList<ExtensionManager::FileManager>& found)
{
    if (state == ExtensionManager::State::Active) {
        hide();
        return;
    }
    const bool off = state == ExtensionManager::State::SwitchedOff;
    QString html = QStringLiteral("<b>%1</b><br>%2")
                       .arg(Localizer::text(off ? QStringLiteral("Extension Switched Off Heading")
                                                : QStringLiteral("Extension Not Installed Heading"))
                                .toHtmlEscaped(),
                            Localizer::text(off ? QStringLiteral("Extension Switched Off Tip")
                                                : QStringLiteral("Setup Banner Tip"))
                                .toHtmlEscaped());
    bool anyInstalled = false;
    if (!off) {
        QString steps;
        for (const ExtensionManager::FileManager& fm : found) {
            if (!fm.installed())
                continue;
            anyInstalled = true;
            const QString step = ExtensionManager::installStep(fm);
            if (step.isEmpty())
                continue;
            steps += QStringLiteral("<li>%1 <code>%2</code></li>")
                         .arg(Punctuation::label(Localizer::text(fm.name)).toHtmlEscaped(),
                              step.toHtmlEscaped());
        }
        if (anyInstalled)
            html += QStringLiteral("<ul>") + steps + QStringLiteral("</ul>");
        else
            html += QStringLiteral("<br>") +
                    Localizer::text(QStringLiteral("Setup Banner No File Manager")).toHtmlEscaped();
    }
    m_text->setText(html);
    m_restart->setVisible(anyInstalled);
    QFrame::show();
}

} // namespace pallstone
