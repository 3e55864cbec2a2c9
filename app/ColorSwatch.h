#pragma once

#include <QAbstractButton>
#include <QColor>

namespace pallstone {

// A round colour sample that can be clicked, as the designer's tint choices are.
class ColorSwatch final : public QAbstractButton
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ColorSwatch)

public:
    explicit ColorSwatch(const QColor& color, QWidget* parent = nullptr);
    ~ColorSwatch() override;

    static constexpr int kSize = 20;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor m_color;
};

} // namespace pallstone
