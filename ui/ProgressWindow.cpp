#include "ProgressWindow.h"

#include "Dispatch.h"
#include "Localizer.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>

namespace pallstone {

namespace {
// The bar works in thousandths so that one decimal of a percent shows.
constexpr int kBarMaximum = 1000;
} // namespace

ProgressWindow::ProgressWindow(QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::WindowStaysOnTopHint)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("progressWindow"));
    setMinimumWidth(320);

    m_mark = new QLabel(this);
    m_mark->setObjectName(QStringLiteral("successMark"));
    m_mark->setAlignment(Qt::AlignCenter);
    m_mark->setPixmap(
        QIcon::fromTheme(QStringLiteral("emblem-ok-symbolic"),
                         QIcon::fromTheme(QStringLiteral("emblem-default"),
                                          style()->standardIcon(QStyle::SP_DialogApplyButton)))
            .pixmap(32, 32));
    m_mark->hide();
    m_tip = new QLabel(this);
    m_tip->setObjectName(QStringLiteral("tipLabel"));
    m_tip->setAlignment(Qt::AlignCenter);
    m_bar = new QProgressBar(this);
    m_bar->setTextVisible(false);
    m_cancel = new QPushButton(Localizer::text(QStringLiteral("Cancel")), this);
    m_cancel->setObjectName(QStringLiteral("cancelButton"));
    connect(m_cancel, &QPushButton::clicked, this, &ProgressWindow::cancel);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_mark);
    layout->addWidget(m_tip);
    layout->addWidget(m_bar);
    layout->addLayout(buttons);
}

void ProgressWindow::open(const QString& title, std::function<void()> onCancel)
{
    setWindowTitle(title.isEmpty() ? Localizer::displayName() : title);
    // The window may still be showing an earlier job's success: that job's pending close must not
    // take this job's window away, and this job can be cancelled again.
    ++m_generation;
    m_succeeded = false;
    m_mark->hide();
    m_tip->setText(Localizer::text(QStringLiteral("Please Wait Tip")));
    m_bar->setRange(0, 0);
    m_cancel->hide();
    m_onCancel = std::move(onCancel);
    show();
    raise();
    activateWindow();
}

void ProgressWindow::setPercent(double percent)
{
    const double clamped = std::clamp(percent, 0.0, 100.0);
    m_bar->setRange(0, kBarMaximum);
    m_bar->setValue(static_cast<int>(clamped * kBarMaximum / 100.0));
    m_tip->setText(percentText(clamped));
    m_cancel->setVisible(!m_succeeded);
}

void ProgressWindow::showSuccess(const QString& message, std::function<void()> onClosed)
{
    m_succeeded = true;
    m_onCancel = nullptr;
    m_onClosed = std::move(onClosed);
    m_bar->setRange(0, kBarMaximum);
    m_bar->setValue(kBarMaximum);
    m_tip->setText(message);
    m_cancel->hide();
    m_mark->show();
    if (!isVisible())
        show();
    // Through the dispatch queue, so the headless CLI waits for the window to go.
    QPointer<ProgressWindow> self(this);
    const quint64 generation = ++m_generation;
    Dispatch::enterForegroundWithDelay(1, [self, generation] {
        if (self && self->m_generation == generation) {
            self->m_mark->hide();
            self->close();
        }
    });
}

QString ProgressWindow::tipText() const
{
    return m_tip->text();
}

bool ProgressWindow::isCancelVisible() const
{
    return !m_cancel->isHidden();
}

bool ProgressWindow::hasSucceeded() const
{
    return m_succeeded;
}

bool ProgressWindow::isSuccessMarkVisible() const
{
    return !m_mark->isHidden();
}

QString ProgressWindow::percentText(double percent)
{
    return QString::asprintf("%.1f%%", percent);
}

void ProgressWindow::closeEvent(QCloseEvent* event)
{
    // The handlers run once, whichever way the window goes.
    m_onCancel = nullptr;
    if (auto onClosed = std::exchange(m_onClosed, nullptr))
        onClosed();
    event->accept();
}

void ProgressWindow::cancel()
{
    if (auto onCancel = std::exchange(m_onCancel, nullptr))
        onCancel();
    close();
}

} // namespace pallstone
