#include "FolderIconDesigner.h"

#include "Alert.h"
#include "ColorSwatch.h"
#include "FolderIconFile.h"
#include "GlyphDelegate.h"
#include "Localizer.h"
#include "MenuIcons.h"
#include "Paths.h"
#include "Prompter.h"
#include "Strings.h"

#include <QColorDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPainter>
#include <QPushButton>
#include <QStandardPaths>
#include <QVBoxLayout>

namespace pallstone {

namespace {

// Font files chosen in "Select Icon" replace the symbol set instead of becoming the picture.
const QStringList kFontTypes = {QStringLiteral("ttf"), QStringLiteral("otf")};

QColor rgb(double red, double green, double blue)
{
    return QColor::fromRgbF(float(red), float(green), float(blue));
}

QImage fittedOverlay(const QString& path)
{
    QImageReader reader(path);
    reader.setAutoTransform(true);
    const QImage picture = reader.read();
    if (picture.isNull())
        return {};
    const int side = FolderIconDesigner::kOverlaySize;
    return picture.scaled(side, side, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

} // namespace

const std::array<FolderIconDesigner::Swatch, 8>& FolderIconDesigner::swatches()
{
    static const std::array<Swatch, 8> table = {{
        {rgb(0.457, 0.199, 0.0), rgb(1.0, 0.151, 0.0)},
        {rgb(0.132, 0.265, 0.324), rgb(0.263, 0.263, 0.258)},
        {rgb(0.07, 0.65, 0.256), rgb(0.204, 0.78, 0.349)}, // the desktop's usual green
        {rgb(0.451, 0.796, 0.007), rgb(0.995, 0.989, 0.016)},
        {rgb(0.455, 0.461, 0.536), rgb(0.997, 0.491, 0.473)},
        {rgb(0.401, 0.493, 0.985), rgb(0.845, 0.515, 1.0)},
        {rgb(0.457, 0.471, 0.002), rgb(1.0, 0.584, 0.0)}, // the desktop's usual orange
        {rgb(0.277, 0.318, 0.006), rgb(0.58, 0.324, 0.0)},
    }};
    return table;
}

QString FolderIconDesigner::defaultFontPath()
{
    for (const QString& relative :
         {QStringLiteral("fonts/truetype/font-awesome/fontawesome-webfont.ttf"),
          QStringLiteral("fonts/opentype/font-awesome/FontAwesome.otf")}) {
        const QString path = QStandardPaths::locate(QStandardPaths::GenericDataLocation, relative);
        if (!path.isEmpty())
            return path;
    }
    return {};
}

QImage FolderIconDesigner::tinted(const QImage& base, const QColor& tint)
{
    // Multiplying premultiplied colour by the tint keeps the alpha, so the area around the folder
    // stays transparent instead of taking the tint.
    QImage image = base.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const uint red = uint(tint.red());
    const uint green = uint(tint.green());
    const uint blue = uint(tint.blue());
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = line[x];
            line[x] = qRgba(int(qRed(p) * red / 255), int(qGreen(p) * green / 255),
                            int(qBlue(p) * blue / 255), qAlpha(p));
        }
    }
    return image;
}

QImage FolderIconDesigner::themeFolderPicture()
{
    const QSize size(kFolderSize, kFolderSize);
    QImage picture(size, QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::transparent);
    // A theme may offer only smaller sizes: the largest is drawn up to the full square.
    const QPixmap pixmap = MenuIcons::resource(QStringLiteral("folder")).pixmap(size, 1.0);
    if (!pixmap.isNull()) {
        QPainter painter(&picture);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawPixmap(QRect(QPoint(), size), pixmap);
    }
    return picture;
}

FolderIconDesigner::FolderIconDesigner(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("addIconWinCtl"));
    setWindowTitle(Localizer::text(QStringLiteral("Make Folder Icon")));

    m_mainImageView = new QLabel(this);
    m_mainImageView->setObjectName(QStringLiteral("mainImageView"));
    m_mainImageView->setFixedSize(kFolderSize + 16, kFolderSize + 16);
    m_mainImageView->setAlignment(Qt::AlignCenter);

    m_boxView = new QWidget(this);
    m_boxView->setObjectName(QStringLiteral("boxView"));
    auto* swatchGrid = new QGridLayout(m_boxView);
    swatchGrid->setContentsMargins(0, 0, 0, 0);
    swatchGrid->setSpacing(31 - ColorSwatch::kSize);
    for (size_t i = 0; i < swatches().size(); ++i) {
        auto* swatch = new ColorSwatch(swatches().at(i).color, m_boxView);
        swatch->setObjectName(QStringLiteral("swatch%1").arg(i));
        const QColor tint = swatches().at(i).tint;
        connect(swatch, &ColorSwatch::clicked, this, [this, tint] { setFolderColor(tint); });
        swatchGrid->addWidget(swatch, int(i / 4), int(i % 4));
        m_swatches.at(i) = swatch;
    }

    m_colorWell = new QPushButton(this);
    m_colorWell->setObjectName(QStringLiteral("colorWell"));
    m_colorWell->setFixedSize(44, 24);
    connect(m_colorWell, &QPushButton::clicked, this, &FolderIconDesigner::onColorWell);

    m_displayNameField = new QLineEdit(this);
    m_displayNameField->setObjectName(QStringLiteral("displayNameField"));
    m_displayNameField->setPlaceholderText(Localizer::text(QStringLiteral("Display Name")));

    m_glyphs = new GlyphModel(this);
    m_delegate = new GlyphDelegate(m_glyphs, this);
    m_collectionView = new QListView(this);
    m_collectionView->setObjectName(QStringLiteral("collectionView"));
    m_collectionView->setViewMode(QListView::IconMode);
    m_collectionView->setMovement(QListView::Static);
    m_collectionView->setResizeMode(QListView::Adjust);
    m_collectionView->setUniformItemSizes(true);
    m_collectionView->setGridSize(
        QSize(GlyphDelegate::kCellSize + 4, GlyphDelegate::kCellSize + 4));
    m_collectionView->setSelectionMode(QAbstractItemView::SingleSelection);
    m_collectionView->setMouseTracking(true);
    m_collectionView->setMinimumSize(440, 220);
    m_collectionView->setModel(m_glyphs);
    m_collectionView->setItemDelegate(m_delegate);
    connect(m_collectionView->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &FolderIconDesigner::onGlyphSelected);

    m_resetBtn = new QPushButton(Localizer::text(QStringLiteral("Recover")), this);
    m_resetBtn->setObjectName(QStringLiteral("resetBtn"));
    connect(m_resetBtn, &QPushButton::clicked, this, &FolderIconDesigner::onReset);
    m_selectLocalIconBtn = new QPushButton(Localizer::text(QStringLiteral("Select Icon")), this);
    m_selectLocalIconBtn->setObjectName(QStringLiteral("selectLocalIconBtn"));
    connect(m_selectLocalIconBtn, &QPushButton::clicked, this,
            &FolderIconDesigner::onSelectLocalIcon);
    m_cancelBtn = new QPushButton(Localizer::text(QStringLiteral("Cancel")), this);
    m_cancelBtn->setObjectName(QStringLiteral("cancelBtn"));
    connect(m_cancelBtn, &QPushButton::clicked, this, &FolderIconDesigner::onCancel);
    m_sureBtn = new QPushButton(Localizer::text(QStringLiteral("OK")), this);
    m_sureBtn->setObjectName(QStringLiteral("sureBtn"));
    m_sureBtn->setDefault(true);
    connect(m_sureBtn, &QPushButton::clicked, this, &FolderIconDesigner::onSure);

    auto* controls = new QGridLayout;
    controls->addWidget(new QLabel(Localizer::text(QStringLiteral("Folder Color")), this), 0, 0);
    controls->addWidget(m_boxView, 0, 1, Qt::AlignLeft);
    controls->addWidget(new QLabel(Localizer::text(QStringLiteral("Symbol Color")), this), 1, 0);
    controls->addWidget(m_colorWell, 1, 1, Qt::AlignLeft);
    controls->addWidget(new QLabel(Localizer::text(QStringLiteral("Display Name")), this), 2, 0);
    controls->addWidget(m_displayNameField, 2, 1);
    controls->setColumnStretch(1, 1);

    auto* top = new QHBoxLayout;
    top->addWidget(m_mainImageView);
    top->addSpacing(12);
    top->addLayout(controls, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_resetBtn);
    buttons->addWidget(m_selectLocalIconBtn);
    buttons->addStretch();
    buttons->addWidget(m_cancelBtn);
    buttons->addWidget(m_sureBtn);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_collectionView, 1);
    layout->addLayout(buttons);
    resize(520, 520);

    onReset();
    loadIcons(defaultFontPath());
}

FolderIconDesigner::~FolderIconDesigner() = default;

void FolderIconDesigner::onReset()
{
    m_collectionView->clearSelection();
    m_localIconPath.clear();
    m_currentGlyph = 0;
    m_displayNameField->clear();
    setSymbolColor(rgb(0.333, 0.333, 0.333));
    m_folderBase = themeFolderPicture();
    m_folderImage = m_folderBase;
    refreshFolderImage();
}

bool FolderIconDesigner::loadIcons(const QString& path)
{
    const IconFont font = IconFont::load(path);
    if (!font.isValid())
        return false;
    m_glyphs->setFont(font);
    m_currentGlyph = 0;
    refreshFolderImage();
    return true;
}

void FolderIconDesigner::setFolderColor(const QColor& tint)
{
    m_folderImage = tinted(m_folderBase, tint);
    refreshFolderImage();
}

void FolderIconDesigner::setSymbolColor(const QColor& color)
{
    m_symbolColor = color;
    m_delegate->setColor(color);
    m_collectionView->viewport()->update();
    showSymbolColor();
    refreshFolderImage();
}

void FolderIconDesigner::showSymbolColor()
{
    m_colorWell->setStyleSheet(QStringLiteral("QPushButton { background-color: %1; }")
                                   .arg(m_symbolColor.name(QColor::HexRgb)));
}

void FolderIconDesigner::onColorWell()
{
    const QColor color = QColorDialog::getColor(m_symbolColor, this,
                                                Localizer::text(QStringLiteral("Symbol Color")));
    if (color.isValid())
        setSymbolColor(color);
}

void FolderIconDesigner::refreshFolderImage()
{
    if (m_folderImage.isNull())
        return;
    const int width = m_folderImage.width();
    const int height = m_folderImage.height();
    m_preview = m_folderImage.copy();
    QPainter painter(&m_preview);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    if (Strings::isValid(m_localIconPath)) {
        // The picture sits a little below the middle, on the folder's front rather than its tab.
        const QImage picture = fittedOverlay(m_localIconPath);
        if (!picture.isNull())
            painter.drawImage(
                QPoint((width - picture.width()) / 2, (height - picture.height()) / 2 + 3),
                picture);
    } else {
        const QImage symbol = m_glyphs->font().render(m_currentGlyph, m_symbolColor, width);
        painter.drawImage(QRect((width - kOverlaySize) / 2, (height - kOverlaySize) / 2,
                                kOverlaySize, kOverlaySize),
                          symbol);
    }
    painter.end();
    m_mainImageView->setPixmap(QPixmap::fromImage(m_preview));
}

void FolderIconDesigner::onGlyphSelected()
{
    const QModelIndexList selected = m_collectionView->selectionModel()->selectedIndexes();
    if (selected.isEmpty())
        return;
    m_localIconPath.clear();
    m_currentGlyph = m_glyphs->glyphAt(selected.first().row());
    const QString name = m_glyphs->font().glyphName(m_currentGlyph);
    if (!name.isEmpty())
        m_displayNameField->setText(name);
    refreshFolderImage();
}

void FolderIconDesigner::onSelectLocalIcon()
{
    OpenPanelRequest request;
    request.canChooseFiles = true;
    request.canChooseDirectories = false;
    request.fileTypes = FolderIconFile::pictureTypes() + kFontTypes;
    const std::optional<QStringList> paths = Prompter::instance()->openPanel(request);
    if (!paths || paths->isEmpty())
        return;
    const QString path = paths->first();
    if (kFontTypes.contains(Paths::pathExtension(path).toLower())) {
        if (!loadIcons(path))
            Alert::warning(Localizer::text(QStringLiteral("Font Unreadable Heading")),
                           Localizer::text(QStringLiteral("Font Unreadable Tip")), this);
        return;
    }
    if (fittedOverlay(path).isNull()) {
        Alert::warning(Localizer::text(QStringLiteral("Picture Unreadable Heading")),
                       Localizer::text(QStringLiteral("Picture Unreadable Tip")), this);
        return;
    }
    m_localIconPath = path;
    // The picture replaces the symbol: no cell stays marked as chosen.
    m_collectionView->clearSelection();
    m_displayNameField->setText(Paths::deletingPathExtension(Paths::lastPathComponent(path)));
    refreshFolderImage();
}

void FolderIconDesigner::onSure()
{
    MenuItemPtr item = MenuItem::create();
    item->key = Strings::uuid();
    item->displayName = m_displayNameField->text();
    const QImage picture = m_preview.scaled(FolderIconFile::kSize, FolderIconFile::kSize,
                                            Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    const QString failure = FolderIconFile::write(picture, item->key);
    if (!failure.isEmpty()) {
        Alert::warning(Localizer::text(QStringLiteral("Folder Icon Save Failed Heading")),
                       Localizer::text(QStringLiteral("Folder Icon Save Failed Tip")), this);
        return;
    }
    item->iconPath = FolderIconFile::pathForKey(item->key);
    if (addSuccessBlock)
        addSuccessBlock(item);
    accept();
}

void FolderIconDesigner::onCancel()
{
    reject();
}

} // namespace pallstone
