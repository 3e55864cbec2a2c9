#pragma once

#include "Prompter.h"

#include <QDialog>

#include <optional>

class QLabel;
class QLineEdit;
class QListWidget;

namespace pallstone {

// The palette: the menu of a selection as one filtered list. Typing filters (PaletteRequest::
// matching), the arrow keys move through what is left while the field keeps the focus, Enter
// chooses, Escape closes.
class PaletteWindow final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PaletteWindow)

public:
    explicit PaletteWindow(const PaletteRequest& request, QWidget* parent = nullptr);
    ~PaletteWindow() override;

    // The row of the request chosen with Enter or a click; nothing until then.
    std::optional<qsizetype> chosenRow() const { return m_chosen; }

    QLabel* header() const { return m_header; }
    QLineEdit* filterField() const { return m_filter; }
    QListWidget* list() const { return m_list; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void refilter(const QString& typed);
    void choose();

    PaletteRequest m_request;
    QLabel* m_header = nullptr;
    QLineEdit* m_filter = nullptr;
    QListWidget* m_list = nullptr;
    std::optional<qsizetype> m_chosen;
};

} // namespace pallstone
