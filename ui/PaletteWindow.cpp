#include "PaletteWindow.h"

#include "Localizer.h"

#include <QFileInfo>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QVBoxLayout>

namespace pallstone {

namespace {

constexpr int kRowRole = Qt::UserRole + 1;
constexpr int kWidth = 560;
constexpr int kVisibleRows = 12;

QIcon iconFor(const QString& icon)
{
    if (icon.isEmpty())
        return {};
    if (QFileInfo(icon).isAbsolute())
        return QIcon(icon);
    return QIcon::fromTheme(icon);
}

} // namespace

PaletteWindow::PaletteWindow(const PaletteRequest& request, QWidget* parent)
    : QDialog(parent), m_request(request)
{
    setObjectName(QStringLiteral("paletteWindow"));
    setWindowTitle(Localizer::displayName());
    // It is called up from a shortcut while another program has the focus: it must come to the
    // front and take the keyboard.
    setWindowFlag(Qt::WindowStaysOnTopHint);

    m_header = new QLabel(request.header, this);
    m_header->setTextFormat(Qt::PlainText);
    m_header->setWordWrap(true);
    m_filter = new QLineEdit(this);
    m_filter->setClearButtonEnabled(true);
    m_filter->setPlaceholderText(Localizer::text(QStringLiteral("Palette Placeholder")));
    m_filter->installEventFilter(this);
    m_list = new QListWidget(this);
    m_list->setUniformItemSizes(true);
    m_list->setFocusPolicy(Qt::NoFocus);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_header);
    layout->addWidget(m_filter);
    layout->addWidget(m_list);

    connect(m_filter, &QLineEdit::textChanged, this, &PaletteWindow::refilter);
    connect(m_list, &QListWidget::itemActivated, this, [this] { choose(); });
    refilter({});
    const int rowHeight = std::max(m_list->sizeHintForRow(0), fontMetrics().height() + 6);
    resize(kWidth, m_header->sizeHint().height() + m_filter->sizeHint().height() +
                       rowHeight * kVisibleRows + 4 * layout->spacing() +
                       layout->contentsMargins().top() + layout->contentsMargins().bottom());
    m_filter->setFocus();
}

PaletteWindow::~PaletteWindow() = default;

void PaletteWindow::refilter(const QString& typed)
{
    m_list->clear();
    for (const qsizetype index : m_request.matching(typed)) {
        const PaletteRequest::Row& row = m_request.rows.at(index);
        auto* item = new QListWidgetItem(iconFor(row.icon), row.title, m_list);
        item->setToolTip(row.detail);
        item->setData(kRowRole, index);
    }
    m_list->setCurrentRow(m_list->count() > 0 ? 0 : -1);
}

void PaletteWindow::choose()
{
    const QListWidgetItem* item = m_list->currentItem();
    if (!item)
        return;
    m_chosen = item->data(kRowRole).value<qsizetype>();
    accept();
}

bool PaletteWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_filter || event->type() != QEvent::KeyPress)
        return QDialog::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    const int count = m_list->count();
    int row = m_list->currentRow();
    switch (key->key()) {
    case Qt::Key_Down:
        row = count == 0 ? -1 : (row + 1) % count;
        break;
    case Qt::Key_Up:
        row = count == 0 ? -1 : (row + count - 1) % count;
        break;
    case Qt::Key_PageDown:
        row = std::min(row + kVisibleRows, count - 1);
        break;
    case Qt::Key_PageUp:
        row = count == 0 ? -1 : std::max(row - kVisibleRows, 0);
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        choose();
        return true;
    default:
        return QDialog::eventFilter(watched, event);
    }
    m_list->setCurrentRow(row);
    return true;
}

} // namespace pallstone
