#include "PreferencesPage.h"

#include "Alert.h"
#include "Clipboard.h"
#include "ConfigManagerWindow.h"
#include "LaunchPlan.h"
#include "Launcher.h"
#include "ListPage.h"
#include "Localizer.h"
#include "MenuStore.h"
#include "PaletteShortcut.h"
#include "Punctuation.h"
#include "Services.h"
#include "WindowPlacement.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeySequenceEdit>
#include <QLabel>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

namespace pallstone {

namespace {

struct Box
{
    const char16_t* title;
    int tag;
};
constexpr Box kBoxes[] = {
    {u"Check Hide MainMenu Icon", 1},    {u"Check Hide Set Menu", 2},
    {u"Check External Disks Enable", 3}, {u"Check Hide SubMenu Icon", 4},
    {u"Check Show Top StatusBar", 5},
};
constexpr int kExternalTag = 3;
constexpr int kStatusBarTag = 5;

} // namespace

const QString PreferencesPage::kSecondTerminalKey = QStringLiteral("second terminal");

PreferencesPage::PreferencesPage(QWidget* parent) : QWidget(parent)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(32, 24, 32, 24);
    layout->setSpacing(10);
    for (const Box& box : kBoxes) {
        auto* check = new QCheckBox(Localizer::text(QString::fromUtf16(box.title)), this);
        check->setObjectName(QStringLiteral("prefCheck%1").arg(box.tag));
        const int tag = box.tag;
        connect(check, &QCheckBox::toggled, this,
                [this, tag](bool checked) { onCheckAction(tag, checked); });
        m_checks.append(check);
        layout->addWidget(check);
        if (box.tag == kExternalTag) {
            auto* tip = new QLabel(
                Localizer::text(QStringLiteral("Check External Disks Enable Tip")), this);
            tip->setWordWrap(true);
            tip->setContentsMargins(24, 0, 0, 0);
            tip->setStyleSheet(QStringLiteral("color: palette(placeholder-text);"));
            layout->addWidget(tip);
        }
    }

    layout->addSpacing(12);
    auto* terminalRow = new QHBoxLayout;
    terminalRow->addWidget(
        new QLabel(Punctuation::label(Localizer::text(QStringLiteral("Second Terminal"))), this));
    m_secondTerminal = new QComboBox(this);
    m_secondTerminal->setObjectName(QStringLiteral("secondTerminal"));
    m_secondTerminal->addItem(Localizer::text(QStringLiteral("Second Terminal Default")),
                              QString());
    const QStringList candidates = LaunchPlan::terminalCandidates();
    for (const QString& candidate : candidates) {
        if (!LaunchPlan::findExecutable(candidate).isEmpty())
            m_secondTerminal->addItem(candidate, candidate);
    }
    connect(m_secondTerminal, &QComboBox::activated, this,
            &PreferencesPage::onSelectSecondTerminal);
    terminalRow->addWidget(m_secondTerminal);
    terminalRow->addStretch();
    layout->addLayout(terminalRow);
    auto* terminalTip = new QLabel(Localizer::text(QStringLiteral("Second Terminal Tip")), this);
    terminalTip->setWordWrap(true);
    terminalTip->setStyleSheet(QStringLiteral("color: palette(placeholder-text);"));
    layout->addWidget(terminalTip);

    layout->addSpacing(12);
    auto* shortcutRow = new QHBoxLayout;
    shortcutRow->addWidget(
        new QLabel(Punctuation::label(Localizer::text(QStringLiteral("Keyboard Shortcut"))), this));
    m_shortcut = new QKeySequenceEdit(this);
    m_shortcut->setObjectName(QStringLiteral("paletteShortcut"));
    m_shortcut->setClearButtonEnabled(true);
    m_shortcut->setMaximumWidth(m_secondTerminal->sizeHint().width() * 3 / 2);
    connect(m_shortcut, &QKeySequenceEdit::editingFinished, this,
            [this] { onPaletteShortcut(m_shortcut->keySequence()); });
    shortcutRow->addWidget(m_shortcut);
    shortcutRow->addStretch();
    layout->addLayout(shortcutRow);
    m_shortcutStatus = new QLabel(Localizer::text(QStringLiteral("Keyboard Shortcut Tip")), this);
    m_shortcutStatus->setObjectName(QStringLiteral("paletteShortcutStatus"));
    m_shortcutStatus->setWordWrap(true);
    // The keys are written the way the desktops write them: "<Super>space" is not markup.
    m_shortcutStatus->setTextFormat(Qt::PlainText);
    m_shortcutStatus->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_shortcutStatus->setStyleSheet(QStringLiteral("color: palette(placeholder-text);"));
    layout->addWidget(m_shortcutStatus);

    layout->addStretch();
    auto* buttons = new QHBoxLayout;
    m_configManagerBtn = new QPushButton(Localizer::text(QStringLiteral("Config Manager")), this);
    m_configManagerBtn->setObjectName(QStringLiteral("configManagerBtn"));
    connect(m_configManagerBtn, &QPushButton::clicked, this, &PreferencesPage::onConfigManager);
    auto* review = new QPushButton(Localizer::text(QStringLiteral("Go Review")), this);
    review->setObjectName(QStringLiteral("reviewBtn"));
    auto* recommend = new QPushButton(Localizer::text(QStringLiteral("Recommend it")), this);
    recommend->setObjectName(QStringLiteral("recommendBtn"));
    connect(review, &QPushButton::clicked, this, &PreferencesPage::onReview);
    connect(recommend, &QPushButton::clicked, this, &PreferencesPage::onRecommend);
    buttons->addWidget(m_configManagerBtn);
    buttons->addStretch();
    buttons->addWidget(review);
    buttons->addWidget(recommend);
    layout->addLayout(buttons);

    m_versionLabel = new QLabel(QStringLiteral("V%1").arg(QStringLiteral(PALLSTONE_VERSION)), this);
    m_versionLabel->setObjectName(QStringLiteral("versionLabel"));
    m_versionLabel->setAlignment(Qt::AlignRight);
    m_versionLabel->setStyleSheet(QStringLiteral("color: palette(placeholder-text);"));
    layout->addWidget(m_versionLabel);
    refresh();
    NotificationCenter::defaultCenter().addNotification(this, ListPage::kConfigChangeNotification);
}

PreferencesPage::~PreferencesPage()
{
    NotificationCenter::defaultCenter().removeAllNotification(this);
}

void PreferencesPage::handleSignal(const pallstone::Notification& /*notification*/)
{
    refresh();
}

ConfigManagerWindow* PreferencesPage::onConfigManager()
{
    if (!m_configManagerWinCtl) {
        m_configManagerWinCtl = new ConfigManagerWindow(this);
        WindowPlacement::overOwner(m_configManagerWinCtl, this);
    }
    m_configManagerWinCtl->show();
    m_configManagerWinCtl->raise();
    m_configManagerWinCtl->activateWindow();
    return m_configManagerWinCtl;
}

QCheckBox* PreferencesPage::checkBox(int tag) const
{
    return m_checks.value(tag - 1);
}

void PreferencesPage::refresh()
{
    Defaults& store = MenuStore::sharedDefaults();
    for (const Box& box : kBoxes) {
        QCheckBox* check = checkBox(box.tag);
        const QSignalBlocker blocker(check);
        check->setChecked(store.boolForKey(StoreKey::prefCheck(box.tag)));
    }
    const QString chosen = store.stringForKey(kSecondTerminalKey);
    int position = m_secondTerminal->findData(chosen);
    if (position < 0 && !chosen.isEmpty()) {
        // Chosen once, not installed now: shown, so the choice is not lost by looking.
        m_secondTerminal->addItem(chosen, chosen);
        position = m_secondTerminal->count() - 1;
    }
    m_secondTerminal->setCurrentIndex(qMax(0, position));
    const QSignalBlocker blocker(m_shortcut);
    m_shortcut->setKeySequence(QKeySequence::fromString(
        store.stringForKey(StoreKey::paletteShortcut), QKeySequence::PortableText));
}

void PreferencesPage::onCheckAction(int tag, bool checked)
{
    MenuStore::sharedDefaults().setObject(checked, StoreKey::prefCheck(tag));
    if (tag == kExternalTag && restartExtensionService)
        restartExtensionService();
    else if (tag == kStatusBarTag && createStatusBar)
        createStatusBar();
}

void PreferencesPage::onSelectSecondTerminal(int position)
{
    const QString chosen = m_secondTerminal->itemData(position).toString();
    MenuStore::sharedDefaults().setObject(chosen.isEmpty() ? Value() : Value(chosen),
                                          kSecondTerminalKey);
}

void PreferencesPage::onPaletteShortcut(const QKeySequence& keys)
{
    // One chord: the desktops bind single key combinations.
    const QKeySequence chord = keys.isEmpty() ? QKeySequence() : QKeySequence(keys[0]);
    if (chord != keys) {
        const QSignalBlocker blocker(m_shortcut);
        m_shortcut->setKeySequence(chord);
    }
    // Stored first: the service reads the key from the store when told it changed.
    MenuStore::sharedDefaults().setObject(
        chord.isEmpty() ? Value() : Value(chord.toString(QKeySequence::PortableText)),
        StoreKey::paletteShortcut);
    const PaletteShortcut::Outcome outcome = PaletteShortcut::apply(chord);
    m_shortcutStatus->setText(outcome.message.isEmpty()
                                  ? Localizer::text(QStringLiteral("Keyboard Shortcut Tip"))
                                  : outcome.message);
}

void PreferencesPage::onReview()
{
    Services::launcher()->openDefault(QUrl(QStringLiteral(PALLSTONE_HOMEPAGE)));
}

void PreferencesPage::onRecommend()
{
    if (Services::clipboard()->setText(QStringLiteral(PALLSTONE_HOMEPAGE)))
        Alert::alertWithMsg(
            Localizer::text(QStringLiteral("The address was copied to the clipboard")),
            QStringLiteral(PALLSTONE_HOMEPAGE), this);
}

} // namespace pallstone
