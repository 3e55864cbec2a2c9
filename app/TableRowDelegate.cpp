#include "TableRowDelegate.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace pallstone {

namespace {

QStyle* styleOf(const QStyleOptionViewItem& option)
{
    return option.widget ? option.widget->style() : QApplication::style();
}

QPixmap tinted(const QPixmap& source, const QColor& colour)
{
    QPixmap result = source;
    QPainter painter(&result);
    painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
    painter.fillRect(result.rect(), colour);
    return result;
}

} // namespace

TableRowDelegate::TableRowDelegate(QObject* parent) : QStyledItemDelegate(parent) {}

TableRowDelegate::~TableRowDelegate() = default;

bool TableRowDelegate::isCheckOnly(const QModelIndex& index)
{
    return (index.flags() & Qt::ItemIsUserCheckable) &&
           index.data(Qt::DisplayRole).toString().isEmpty();
}

QRect TableRowDelegate::centredCheckRect(const QStyleOptionViewItem& option)
{
    QStyle* style = styleOf(option);
    const QSize size(style->pixelMetric(QStyle::PM_IndicatorWidth, &option, option.widget),
                     style->pixelMetric(QStyle::PM_IndicatorHeight, &option, option.widget));
    return QStyle::alignedRect(option.direction, Qt::AlignCenter, size, option.rect);
}

void TableRowDelegate::initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    // Rows are selected whole: a frame around one cell of the band only breaks it up.
    option->state &= ~QStyle::State_HasFocus;
    const auto* view = qobject_cast<const QAbstractItemView*>(option->widget);
    // A cell that is switched off cannot be selected, which would leave a hole in the band.
    if (view && view->selectionModel() &&
        view->selectionModel()->rowIntersectsSelection(index.row(), index.parent())) {
        option->state |= QStyle::State_Selected;
        const QPalette::ColorGroup group = view->hasFocus() ? QPalette::Active : QPalette::Inactive;
        for (QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText})
            option->palette.setColor(QPalette::Disabled, role, option->palette.color(group, role));
    }
}

bool TableRowDelegate::isSymbol(const QIcon& icon, const QSize& size) const
{
    const qint64 key = icon.cacheKey();
    const auto known = m_symbols.constFind(key);
    if (known != m_symbols.constEnd())
        return *known;
    // A symbol is drawn in one dark grey; a picture has colours or light parts.
    const QImage image = icon.pixmap(size).toImage().convertToFormat(QImage::Format_ARGB32);
    bool symbol = !image.isNull();
    for (int y = 0; symbol && y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(line[x]) < 32)
                continue;
            const QColor colour = QColor::fromRgba(line[x]);
            if (colour.hsvSaturation() > 60 || colour.value() > 150) {
                symbol = false;
                break;
            }
        }
    }
    m_symbols.insert(key, symbol);
    return symbol;
}

void TableRowDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const
{
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    QStyle* style = styleOf(opt);
    const bool selected = opt.state & QStyle::State_Selected;

    if (isCheckOnly(index)) {
        opt.features &= ~QStyleOptionViewItem::HasCheckIndicator;
        style->drawPrimitive(QStyle::PE_PanelItemViewItem, &opt, painter, opt.widget);
        QStyleOptionViewItem check = opt;
        check.rect = centredCheckRect(opt);
        check.state &= ~QStyle::State_HasFocus;
        check.state |= opt.checkState == Qt::Checked ? QStyle::State_On : QStyle::State_Off;
        style->drawPrimitive(QStyle::PE_IndicatorItemViewItemCheck, &check, painter, opt.widget);
        return;
    }

    if (selected && !opt.icon.isNull() && isSymbol(opt.icon, opt.decorationSize)) {
        const QColor text = opt.palette.color(
            opt.state & QStyle::State_Enabled
                ? (opt.state & QStyle::State_Active ? QPalette::Active : QPalette::Inactive)
                : QPalette::Disabled,
            QPalette::HighlightedText);
        opt.icon = QIcon(tinted(opt.icon.pixmap(opt.decorationSize), text));
    }
    style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, opt.widget);
}

bool TableRowDelegate::editorEvent(QEvent* event, QAbstractItemModel* model,
                                   const QStyleOptionViewItem& option, const QModelIndex& index)
{
    if (!isCheckOnly(index))
        return QStyledItemDelegate::editorEvent(event, model, option, index);
    if (!(index.flags() & Qt::ItemIsEnabled))
        return false;
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseButtonRelease: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() != Qt::LeftButton ||
            !centredCheckRect(option).contains(mouse->position().toPoint()))
            return false;
        if (event->type() != QEvent::MouseButtonRelease)
            return true;
        break;
    }
    case QEvent::KeyPress: {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key != Qt::Key_Space && key != Qt::Key_Select)
            return false;
        break;
    }
    default:
        return false;
    }
    const bool checked = index.data(Qt::CheckStateRole).toInt() == Qt::Checked;
    return model->setData(index, checked ? Qt::Unchecked : Qt::Checked, Qt::CheckStateRole);
}

} // namespace pallstone
