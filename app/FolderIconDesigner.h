#pragma once

#include "GlyphModel.h"
#include "MenuItem.h"

#include <QColor>
#include <QDialog>
#include <QImage>

#include <array>
#include <functional>

class QLabel;
class QLineEdit;
class QListView;
class QPushButton;

namespace pallstone {

class ColorSwatch;
class GlyphDelegate;

// The window in which a folder icon is composed: the theme's folder picture, tinted with one of
// eight colours, with a symbol of an icon font (in a colour of the person's) or a small picture
// of theirs on it. OK stores the picture as the new entry's PNG and hands the entry to
// addSuccessBlock. The window is kept between openings, so what was chosen stays until the
// reset button.
class FolderIconDesigner final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FolderIconDesigner)

public:
    explicit FolderIconDesigner(QWidget* parent = nullptr);
    ~FolderIconDesigner() override;

    // What a swatch shows, and the tint its click applies.
    struct Swatch
    {
        QColor color;
        QColor tint;
    };
    static const std::array<Swatch, 8>& swatches();
    // The side of the folder picture.
    static constexpr int kFolderSize = 128;
    // The side of the square the symbol or picture is drawn into.
    static constexpr int kOverlaySize = 52;
    // The symbol font used until the person chooses another: Debian's Font Awesome.
    static QString defaultFontPath();
    // The folder picture with every pixel's colour multiplied by the tint, its shape kept.
    static QImage tinted(const QImage& base, const QColor& tint);

    std::function<void(const MenuItemPtr&)> addSuccessBlock;

    // Replaces the symbol set with the glyphs of the font file; false (and the set kept) when it
    // cannot be read as a font.
    bool loadIcons(const QString& path);
    void setFolderColor(const QColor& tint);
    void setSymbolColor(const QColor& color);
    void onReset();
    void onSelectLocalIcon();
    void onSure();
    void onCancel();

    const QImage& folderImage() const { return m_folderImage; }
    const QImage& preview() const { return m_preview; }
    QString localIconPath() const { return m_localIconPath; }
    quint32 currentGlyph() const { return m_currentGlyph; }
    const GlyphModel* glyphModel() const { return m_glyphs; }
    QListView* collectionView() const { return m_collectionView; }
    QLineEdit* displayNameField() const { return m_displayNameField; }
    ColorSwatch* swatch(int index) const { return m_swatches.at(size_t(index)); }

private:
    void refreshFolderImage();
    void onGlyphSelected();
    void onColorWell();
    void showSymbolColor();
    static QImage themeFolderPicture();

    GlyphModel* m_glyphs = nullptr;
    GlyphDelegate* m_delegate = nullptr;
    quint32 m_currentGlyph = 0;
    QImage m_folderBase; // untinted: every tint starts from it
    QImage m_folderImage;
    QImage m_preview;
    QString m_localIconPath;
    QColor m_symbolColor;

    QWidget* m_boxView = nullptr;
    std::array<ColorSwatch*, 8> m_swatches{};
    QLineEdit* m_displayNameField = nullptr;
    QLabel* m_mainImageView = nullptr;
    QListView* m_collectionView = nullptr;
    QPushButton* m_colorWell = nullptr;
    QPushButton* m_selectLocalIconBtn = nullptr;
    QPushButton* m_cancelBtn = nullptr;
    QPushButton* m_sureBtn = nullptr;
    QPushButton* m_resetBtn = nullptr;
};

} // namespace pallstone
